#include "background/background_list.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>

#include "platform/files.h"
#include "platform/message_box.h"
#include "platform/paths.h"

namespace obrix {
namespace {

BackgroundListState g_backgrounds;

bool NameInUse(const std::string& name) {
  const BackgroundListState& b = g_backgrounds;
  for (int i = 0; i < b.BackgroundCount && i < MaxBackgroundFiles; ++i)
    if (b.BackgroundList[i].temporaryName == name) return true;
  return false;
}

}  // namespace

BackgroundListState& Backgrounds() { return g_backgrounds; }

void ResetBackgrounds() { g_backgrounds = BackgroundListState{}; }

std::string_view BgFileNameOf(std::string_view path) {
  const size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string BgTemporaryName(std::string_view sourceName, int slot) {
  std::string stem(sourceName);
  const size_t n = sourceName.size();
  if (n >= 4 && sourceName[n - 4] == '.') stem = std::string(sourceName.substr(0, n - 4)) + std::string(sourceName.substr(n - 3));
  char number[8];
  std::snprintf(number, sizeof number, ".$%02d", slot < 0 ? 0 : slot % 100);
  return CutToChars(stem, kBgNameChars - 4) + number;
}

std::string NextBgTemporaryName(std::string_view sourceName) {
  const int slot = g_backgrounds.BackgroundCount;
  std::string name = BgTemporaryName(sourceName, slot);
  for (int k = 0; k < 100 && NameInUse(name); ++k) name = BgTemporaryName(sourceName, k);
  return name;
}

std::string BgTemporaryPath(std::string_view temporaryName) { return ScratchFolder() + std::string(temporaryName); }

int RemoveBackgroundEntries(const std::array<bool, MaxBackgroundFiles>& remove) {
  BackgroundListState& b = g_backgrounds;
  const int count = b.BackgroundCount < MaxBackgroundFiles ? b.BackgroundCount : MaxBackgroundFiles;
  int kept = 0;
  for (int i = 0; i < count; ++i) {
    if (remove[i]) {
      if (!b.BackgroundList[i].temporaryName.empty()) RemoveFile(BgTemporaryPath(b.BackgroundList[i].temporaryName));
      continue;
    }
    if (kept != i) b.BackgroundList[kept] = std::move(b.BackgroundList[i]);
    ++kept;
  }
  for (int i = kept; i < MaxBackgroundFiles; ++i) b.BackgroundList[i] = BackgroundEntry{};
  b.BackgroundCount = kept;
  return count - kept;
}

void DeleteAllBackgroundFiles() {
  std::array<bool, MaxBackgroundFiles> all{};
  all.fill(true);
  RemoveBackgroundEntries(all);
}

namespace {

bool IsTemporaryName(std::string_view name) {
  const size_t n = name.size();
  return n > 4 && name[n - 4] == '.' && name[n - 3] == '$' && std::isdigit(static_cast<unsigned char>(name[n - 2])) &&
         std::isdigit(static_cast<unsigned char>(name[n - 1]));
}

// The scratch folder this process holds, and the descriptor of its lock file (kept open while it is held).
std::string g_heldScratch;
int g_scratchLock = -1;

}  // namespace

int ClaimScratchFolder() {
  const std::string folder = ScratchFolder();
  if (g_heldScratch != folder) {
    if (g_scratchLock >= 0) ::close(g_scratchLock);
    g_heldScratch.clear();
    g_scratchLock = ::open((folder + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (g_scratchLock < 0) return 0;
    if (::flock(g_scratchLock, LOCK_EX | LOCK_NB) != 0) {  // another program uses the folder now
      ::close(g_scratchLock);
      g_scratchLock = -1;
      return 0;
    }
    g_heldScratch = folder;
  }
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return 0;
  int removed = 0;
  while (const dirent* e = ::readdir(dir)) {
    if (!IsTemporaryName(e->d_name)) continue;
    struct stat st{};
    const std::string path = folder + e->d_name;
    if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && RemoveFile(path)) ++removed;
  }
  ::closedir(dir);
  return removed;
}

}  // namespace obrix
