#include "background/bg_load.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>

#include "background/ascii_import.h"
#include "background/background_list.h"
#include "background/bg_file_draw.h"
#include "background/data_import.h"
#include "gps/fix_state.h"
#include "map/map_hooks.h"
#include "map/map_pages.h"
#include "platform/files.h"
#include "platform/message_box.h"
#include "platform/paths.h"

namespace obrix {

std::optional<BgMessage> BackgroundEntryRefusal(bool mapVisible, bool mapStarted, int gpsInput, int loadedCount) {
  if (!mapVisible) return BgMessage{"INFORMATION", "Option avaiable only when map is visible"};
  if (!mapStarted && gpsInput == 1)
    return BgMessage{"WARNING", "Valid GPS position must be \r\nreceived to use this option."};
  if (loadedCount > MaxBackgroundFiles - 1)
    return BgMessage{"INFORMATION", "Maximum 10 background files already loaded"};
  return std::nullopt;
}

std::optional<BgMessage> BackgroundRemovalRefusal(int loadedCount) {
  if (loadedCount <= 0) return BgMessage{"WARNING", "No background files to remove"};
  return std::nullopt;
}

BgLoadOutcome LoadBackgroundFile(const std::string& sourcePath, const Settings& s) {
  BgLoadOutcome out;
  BackgroundListState& list = Backgrounds();
  if (list.BackgroundCount < 0 || list.BackgroundCount >= MaxBackgroundFiles) {
    out.message = BgMessage{"INFORMATION", "Maximum 10 background files already loaded"};
    return out;
  }
  if (std::optional<std::string> m = BgColumnCheckMessage(s)) {
    out.message = BgMessage{"COORDINATES ERROR", *m};
    return out;
  }
  const int source = ::open(sourcePath.c_str(), O_RDONLY | O_CLOEXEC);
  std::optional<BgSource> kind;
  if (s.bgFileType == 0) {
    if (source >= 0) kind = InspectBgSource(source);
    if (!kind) {
      if (source >= 0) ::close(source);
      out.message = BgMessage{"FILE ERROR", "Format not supported"};
      return out;
    }
  }
  const std::string_view name = BgFileNameOf(sourcePath);
  out.folder = sourcePath.substr(0, sourcePath.size() - name.size());

  const int slot = list.BackgroundCount;
  BackgroundEntry entry;
  entry.displayName = CutToChars(name, kBgNameChars);
  entry.temporaryName = NextBgTemporaryName(name);
  entry.positionsStyle = s.bgPositionsStyle;
  entry.fileType = s.bgFileType;

  MakeFolders(ScratchFolder());
  const std::string tempPath = BgTemporaryPath(entry.temporaryName);
  const int temp = ::open(tempPath.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  BgConvertResult converted;
  if (temp >= 0) {
    converted = s.bgFileType == 0 ? ConvertProgramDataBackground(source, temp, *kind, s.mapUnits)
                                  : ConvertAsciiBackground(source, temp, BgImportOptions::From(s));
  }
  if (source >= 0) ::close(source);

  const BgDrawOutcome drawn = DrawNewBackground(temp, converted.records, s.bgPositionsStyle, s.bgFileType,
                                                entry.displayName);
  if (temp >= 0) ::close(temp);
  if (!drawn.title.empty()) out.message = BgMessage{drawn.title, drawn.text};
  out.skipped = converted.skipped + drawn.invalid;
  if (drawn.result == 1) {
    list.BackgroundList[slot] = std::move(entry);
    list.BackgroundCount = slot + 1;
    TrackExtentBox& x = Fix().TrackExtent;
    x.minEasting = std::min(x.minEasting, drawn.extent.minEasting);
    x.maxEasting = std::max(x.maxEasting, drawn.extent.maxEasting);
    x.minNorthing = std::min(x.minNorthing, drawn.extent.minNorthing);
    x.maxNorthing = std::max(x.maxNorthing, drawn.extent.maxNorthing);
    out.result = 1;
  } else {
    list.BackgroundList[slot] = BackgroundEntry{};
    RemoveFile(tempPath);
  }
  return out;
}

int RemoveBackgroundsAndRedraw(Canvas& pane, const std::array<bool, MaxBackgroundFiles>& remove) {
  const int removed = RemoveBackgroundEntries(remove);
  if (removed == 0) return 0;
  ClearMapPane(pane);
  if (MapScreenHooks().AdvanceBusyIndicator) MapScreenHooks().AdvanceBusyIndicator();
  RebuildPages(0);
  if (Backgrounds().BackgroundCount > 0) RedrawAllBackgrounds();
  return removed;
}

}  // namespace obrix
