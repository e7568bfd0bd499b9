#pragma once
// Exclusive ("no sharing") file opens: open + flock(LOCK_EX|LOCK_NB). A lock refusal is a failed open.
#include <string>

namespace obrix {

enum class OpenMode {
  ReadExisting,     // existing file, read only
  ReadWriteExisting,// existing file, read and write
  CreateAlways,     // create or truncate, write only
  AppendExisting,   // existing file, O_APPEND write (and read)
  AppendCreate,     // created when absent, O_APPEND write (and read)
};

// Returns a descriptor (>= 0) holding an exclusive lock, or -1 with errno set (EWOULDBLOCK when locked).
int OpenExclusive(const std::string& path, OpenMode mode);
// Releases the lock and closes; ignores -1.
void CloseFile(int fd);
// Writes all of `size` bytes in one write() call; returns true only when every byte was written.
bool WriteAllOnce(int fd, const void* data, size_t size);
// Opens `path` read only when it is a regular file, checked before the open (a FIFO would block the open, a
// device or a folder is never a file to read). Returns the descriptor, or -1 with *why set to a readable reason
// ("not a regular file (a folder)", or the system's text).
int OpenRegularFileForReading(const std::string& path, std::string* why);
bool FileExists(const std::string& path);
bool RemoveFile(const std::string& path);

}  // namespace obrix
