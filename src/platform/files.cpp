#include "platform/files.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace obrix {

int OpenExclusive(const std::string& path, OpenMode mode) {
  int flags = O_CLOEXEC;
  switch (mode) {
    case OpenMode::ReadExisting: flags |= O_RDONLY; break;
    case OpenMode::ReadWriteExisting: flags |= O_RDWR; break;
    case OpenMode::CreateAlways: flags |= O_WRONLY | O_CREAT; break;
    case OpenMode::AppendExisting: flags |= O_RDWR | O_APPEND; break;
    case OpenMode::AppendCreate: flags |= O_RDWR | O_APPEND | O_CREAT; break;
  }
  int fd = ::open(path.c_str(), flags, 0644);
  if (fd < 0) return -1;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    int saved = errno;
    ::close(fd);
    errno = saved;
    return -1;
  }
  // Truncate only once the lock is held, so a refused open never damages another holder's file.
  if (mode == OpenMode::CreateAlways && ::ftruncate(fd, 0) != 0) {
    int saved = errno;
    ::close(fd);
    errno = saved;
    return -1;
  }
  return fd;
}

void CloseFile(int fd) {
  if (fd < 0) return;
  ::flock(fd, LOCK_UN);
  ::close(fd);
}

bool WriteAllOnce(int fd, const void* data, size_t size) {
  if (fd < 0) return false;
  ssize_t n;
  do {
    n = ::write(fd, data, size);
  } while (n < 0 && errno == EINTR);
  return n == static_cast<ssize_t>(size);
}

namespace {

const char* FileKind(mode_t mode) {
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISFIFO(mode)) return "a FIFO";
  if (S_ISCHR(mode)) return "a character device";
  if (S_ISBLK(mode)) return "a block device";
  if (S_ISSOCK(mode)) return "a socket";
  return "not a file";
}

int RefuseOpen(std::string* why, std::string text) {
  if (why) *why = std::move(text);
  return -1;
}

}  // namespace

int OpenRegularFileForReading(const std::string& path, std::string* why) {
  struct stat st{};
  if (::stat(path.c_str(), &st) != 0) return RefuseOpen(why, std::strerror(errno));
  if (!S_ISREG(st.st_mode)) return RefuseOpen(why, std::string("not a regular file (") + FileKind(st.st_mode) + ")");
  // Non-blocking, so a path swapped for a FIFO after the check cannot block the open either.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return RefuseOpen(why, std::strerror(errno));
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return RefuseOpen(why, std::string("not a regular file (") + FileKind(st.st_mode) + ")");
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}

bool FileExists(const std::string& path) {
  struct stat st{};
  return ::stat(path.c_str(), &st) == 0;
}

bool RemoveFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

}  // namespace obrix
