#pragma once
// Drawing whole background files from their temporary records: the file just converted (with the outcome and
// the message the screen shows) and every file of the list again after a re-render of the map.
#include <string>
#include <string_view>

#include "gps/fix_state.h"

namespace obrix {

struct BgDrawOutcome {
  int result = -1;      // 1 kept, 255 every point invalid, -1 no records
  int invalid = 0;      // points beyond the map
  int drawn = 0;        // points drawn
  TrackExtentBox extent;  // of the points drawn (meaningful when drawn > 0)
  bool readError = false;
  std::string title;    // message box to show, empty for none
  std::string text;
};

// Draws the first `recordCount` records of the temporary file (positioned reads from its start) in the style:
// 0..8 symbols (labels for file type 2), 9..11 a polyline broken at break records and invalid points.
BgDrawOutcome DrawNewBackground(int temporaryFd, int recordCount, int positionsStyle, int fileType,
                                std::string_view displayName);
// Draws every entry of the background list again from its temporary file, silently.
void RedrawAllBackgrounds();

}  // namespace obrix
