#pragma once
// The steps of loading and removing background files that need no dialog: the refusals of the two commands,
// and the load of a chosen source file into the next slot (names, temporary file, conversion, drawing).
#include <array>
#include <optional>
#include <string>

#include "background/background_list.h"
#include "settings/settings.h"

namespace obrix {

class Canvas;

struct BgMessage {
  std::string title, text;
  friend bool operator==(const BgMessage&, const BgMessage&) = default;
};

// Why Enter Background Files cannot run now, in the order checked; none when it can.
std::optional<BgMessage> BackgroundEntryRefusal(bool mapVisible, bool mapStarted, int gpsInput, int loadedCount);
// Why Remove Background Files cannot run.
std::optional<BgMessage> BackgroundRemovalRefusal(int loadedCount);

struct BgLoadOutcome {
  int result = 0;                   // 1 loaded, 0 refused or failed
  std::optional<BgMessage> message; // to show (a warning may come with a successful load)
  std::string folder;               // the source's folder, the new backgroundFolder
  int skipped = 0;                  // points not drawn: unreadable or out of range in the source, beyond the map
};

// Loads `sourcePath` with the background settings of `s` into slot BackgroundCount: the column checks, the
// source opened (a data file recognised), its temporary file created empty in the scratch folder, converted and
// drawn. A drawn file joins the list with the style and file type and widens TrackExtent by the points drawn
// (those inside the page limits); otherwise the slot stays empty, its temporary file is deleted and the extent
// is left as it was.
BgLoadOutcome LoadBackgroundFile(const std::string& sourcePath, const Settings& s);

// After the remove dialog's OK: the flagged entries and their temporary files go, the list is compacted, the
// map pane cleared, one busy-indicator step, the base layers rebuilt (tracks kept) and the remaining files
// drawn again. Returns the number removed (nothing else happens when none was flagged).
int RemoveBackgroundsAndRedraw(Canvas& pane, const std::array<bool, MaxBackgroundFiles>& remove);

}  // namespace obrix
