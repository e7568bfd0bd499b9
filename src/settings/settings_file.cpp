#include "settings/settings_file.h"

#include <cerrno>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

#include "platform/files.h"
#include "platform/paths.h"
#include "settings/settings_image.h"

namespace obrix {

std::function<void()> OnScaleLimitsLoaded;

namespace {

// Reads lines up to LF from a descriptor; a CR before the LF is dropped and at most kSettingsMaxLine bytes of a
// line are kept.
class LineReader {
 public:
  explicit LineReader(int fd) : fd_(fd) {}

  // False at the end of the file when no byte of a further line is left.
  bool Next(SettingsLine& line) {
    line.text.clear();
    line.overlong = false;
    size_t length = 0;  // bytes of the line seen so far, kept or not
    char last = 0;
    bool any = false;
    for (;;) {
      if (pos_ == end_ && !Fill()) break;
      char c = buffer_[pos_++];
      any = true;
      if (c == '\n') break;
      if (line.text.size() <= kSettingsMaxLine) line.text.push_back(c);  // one spare byte for a CR
      last = c;
      ++length;
    }
    if (!any) return false;
    if (length > 0 && last == '\r') {
      --length;
      if (line.text.size() > length) line.text.resize(length);
    }
    if (length > kSettingsMaxLine) {
      line.overlong = true;
      line.text.resize(kSettingsMaxLine);
    }
    return true;
  }

 private:
  bool Fill() {
    ssize_t n;
    do {
      n = ::read(fd_, buffer_, sizeof buffer_);
    } while (n < 0 && errno == EINTR);
    pos_ = 0;
    end_ = n > 0 ? static_cast<size_t>(n) : 0;
    return end_ > 0;
  }

  int fd_;
  char buffer_[4096];
  size_t pos_ = 0;
  size_t end_ = 0;
};

// Creates (or replaces) the file with the current values; the settings folder is made when missing. The image is
// written beside the file and renamed over it once it is complete on disk, so a crash or a full disk during a save
// leaves the previous file whole instead of a cut one.
void WriteSettingsFile() {
  MakeFolders(SettingsFolder());
  const std::string path = SettingsPath();
  const std::string next = path + ".new";
  // The file's own lock keeps the "no sharing" rule: a file another opener holds is left alone.
  const int held = OpenExclusive(path, OpenMode::AppendCreate);
  if (held < 0) return;
  const int fd = OpenExclusive(next, OpenMode::CreateAlways);
  if (fd >= 0) {
    const std::string image = SettingsImage();
    const bool written = WriteAllOnce(fd, image.data(), image.size()) && ::fdatasync(fd) == 0;
    CloseFile(fd);
    if (!written || ::rename(next.c_str(), path.c_str()) != 0) RemoveFile(next);
  }
  CloseFile(held);
}

enum class ReadResult { Read, Missing, OtherVersion };

ReadResult ReadSettings(const std::string& path) {
  int fd = OpenExclusive(path, OpenMode::ReadExisting);
  if (fd < 0) return ReadResult::Missing;
  LineReader reader(fd);
  SettingsLine first;
  if (!reader.Next(first) || !IsCurrentVersionLine(first)) {
    CloseFile(fd);
    return ReadResult::OtherVersion;
  }
  std::vector<SettingsLine> values;
  values.reserve(kSettingsLineCount - 1);
  SettingsLine line;
  while (values.size() < kSettingsLineCount - 1 && reader.Next(line)) values.push_back(line);
  CloseFile(fd);
  ApplySettingsLines(values);
  return ReadResult::Read;
}

void LoadSettingsFile() {
  const std::string path = SettingsPath();
  switch (ReadSettings(path)) {
    case ReadResult::Read: return;
    case ReadResult::OtherVersion: RemoveFile(path); break;
    case ReadResult::Missing: break;
  }
  WriteSettingsFile();
}

void DeleteSettingsFile() {
  const std::string path = SettingsPath();
  int fd = OpenExclusive(path, OpenMode::ReadExisting);
  if (fd < 0) {
    WriteSettingsFile();
    return;
  }
  CloseFile(fd);
  RemoveFile(path);
}

}  // namespace

bool ReadSettingsFile() { return ReadSettings(SettingsPath()) == ReadResult::Read; }

void SaveLoadSettings(SettingsMode mode) {
  switch (mode) {
    case Load: LoadSettingsFile(); break;
    case Save: WriteSettingsFile(); break;
    case Delete: DeleteSettingsFile(); break;
    default: break;
  }
}

}  // namespace obrix
