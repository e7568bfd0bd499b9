#include "datafile/file_naming.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "datafile/data_file.h"
#include "datafile/writers.h"
#include "platform/files.h"
#include "platform/numbers.h"
#include "platform/text.h"
#include "settings/settings.h"
#include "settings/settings_file.h"
#include "settings/survey_inputs.h"
#include "state/session.h"

namespace obrix {
namespace {

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

// The number n of a name "<prefix>nnn.<ext>" (extension in any case), or -1.
int CandidateNumber(std::string_view name, std::string_view prefix, std::string_view ext) {
  if (name.size() != prefix.size() + 3 + 1 + ext.size()) return -1;
  if (name.substr(0, prefix.size()) != prefix) return -1;
  std::string_view digits = name.substr(prefix.size(), 3);
  for (char c : digits)
    if (c < '0' || c > '9') return -1;
  if (name[prefix.size() + 3] != '.') return -1;
  if (!SameIgnoringCase(name.substr(prefix.size() + 4), ext)) return -1;
  return (digits[0] - '0') * 100 + (digits[1] - '0') * 10 + (digits[2] - '0');
}

bool OpensForReadWrite(const std::string& path) {
  int fd = OpenExclusive(path, OpenMode::ReadWriteExisting);
  if (fd < 0) return false;
  CloseFile(fd);
  return true;
}

std::string Reason(int err) {
  if (err == EWOULDBLOCK) return "The file is in use by another program.";
  return std::strerror(err);
}

}  // namespace

std::string DataFileExtension(int instrumentEnabled) { return instrumentEnabled ? "T38" : "GXY"; }

std::string ProposeDataFileName(const std::string& folder, const LocalTime& date, int instrumentEnabled) {
  // Only the last level is created, like the folder dialog of the system would.
  std::string dir = folder;
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  ::mkdir(dir.c_str(), 0755);

  std::string prefix = FormatC("%02d%02d%02d_", date.year % 100, date.month, date.day);
  std::string ext = instrumentEnabled ? "T38" : "gxy";

  // Names of each number present in the folder, in whatever letter case their extension has.
  std::vector<std::vector<std::string>> present(1000);
  if (DIR* d = ::opendir(dir.c_str())) {
    while (dirent* e = ::readdir(d)) {
      int n = CandidateNumber(e->d_name, prefix, ext);
      if (n >= 0) present[static_cast<size_t>(n)].push_back(e->d_name);
    }
    ::closedir(d);
  }
  std::string base = dir == "/" ? dir : dir + "/";
  for (int n = 0; n < 1000; ++n) {
    bool taken = false;
    for (const std::string& name : present[static_cast<size_t>(n)])
      if (OpensForReadWrite(base + name)) {
        taken = true;
        break;
      }
    if (!taken) return prefix + FormatC("%03d", n);
  }
  return prefix + "999." + ext;
}

std::string ProposeDataFileName() {
  return ProposeDataFileName(Config().dataFolder, LocalNow(), Config().instrumentEnabled);
}

std::string DataFileBaseNameOf(const std::string& path) {
  size_t slash = path.rfind('/');
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  size_t dot = name.find('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

SaveDialogRequest DataFileDialogRequest() {
  const Settings& s = Config();
  SaveDialogRequest r;
  r.title = "Create Data File";
  r.initialFolder = s.dataFolder;
  r.suggestedName = ProposeDataFileName();
  r.defaultExtension = DataFileExtension(s.instrumentEnabled);
  if (!UsesInstrument(s)) {
    r.filter = "OBXGXY Files (*.GXY)";
    r.filterPattern = "*.GXY";
  }
  return r;
}

CreateOutcome CreateDataFileFromChoice(const SaveDialogRequest& request, const std::optional<std::string>& chosen,
                                       const ForeignFileQuestion& addToForeignFile) {
  CreateOutcome out;
  if (!chosen || chosen->empty()) return out;  // cancelled: nothing opened

  std::string path = *chosen;
  if (path.front() != '/') path = request.initialFolder + path;
  std::string name = path.substr(path.rfind('/') + 1);
  if (name.empty()) {
    out.errorText = "Cannot open the data file\r\n" + path + "\r\nThe name is a folder, not a file.";
    return out;
  }
  if (name.find('.') == std::string::npos && !request.defaultExtension.empty())
    path += "." + request.defaultExtension;

  DataFileState& f = DataFile();
  f.DataFileBaseName = NarrowLatin1(DataFileBaseNameOf(path));
  struct stat st{};
  const bool existed = ::stat(path.c_str(), &st) == 0;
  f.DataFilePath = path;

  int fd = OpenExclusive(path, OpenMode::AppendCreate);
  if (fd < 0) {
    int err = errno;
    out.errorText = "Cannot open the data file\r\n" + path + "\r\n" + Reason(err);
    return out;
  }
  off_t originalSize = 0;
  if (::fstat(fd, &st) == 0) originalSize = st.st_size;

  out.result = existed ? CreateResult::Existing : CreateResult::New;
  if (existed) {
    char head[5];
    ssize_t n = ::pread(fd, head, sizeof head, 0);
    if (n == 5 && std::memcmp(head, kDataFileMagic, 5) != 0) out.result = CreateResult::Foreign;
  }
  if (out.result == CreateResult::Foreign && !(addToForeignFile && addToForeignFile())) {
    out.result = CreateResult::Cancelled;
    CloseFile(fd);  // declined: nothing was written
    return out;
  }

  std::string previousFolder = Config().dataFolder;
  Config().dataFolder = FolderOf(path);
  AttachDataFile(fd);
  if (out.result == CreateResult::Existing) return out;

  bool ok = WriteHeaderBlock(0);
  ok = WriteLineBlock() && ok;
  ok = WriteTimeMark() && ok;
  ok = ok && SyncDataFile();
  if (!ok) {
    int err = LastDataFileError();
    // Leave the disk as it was: a file made here goes again, a foreign file gets its old length back.
    if (out.result == CreateResult::New) {
      ::unlink(path.c_str());
    } else if (::ftruncate(DataFile().DataFileHandle, originalSize) != 0) {
      // a device or a read-only medium: nothing more can be done
    }
    CloseDataFile();
    Config().dataFolder = previousFolder;
    out.result = CreateResult::Cancelled;
    out.errorText = "Cannot write the data file\r\n" + path + "\r\n" + Reason(err ? err : EIO);
    return out;
  }
  SaveLoadSettings(Save);
  Sess().LoggingState = StandBy;
  return out;
}

}  // namespace obrix
