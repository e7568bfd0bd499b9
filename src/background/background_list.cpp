#include "background/background_list.h"

#include <cstdio>

#include "app/message_box.h"
#include "platform/files.h"
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

}  // namespace obrix
