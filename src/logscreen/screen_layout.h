#pragma once
// Geometry of the logging screen: panes, the main, pause and navigation buttons, and the areas of the
// readouts, the instrument summary and the pause prompt, for the landscape and portrait layouts with and
// without the map.
#include <array>

#include "platform/canvas.h"

namespace obrix {

// Main buttons by layout slot: slot 0 "E&xit" (462), 1 "Map &Size"/"&QLine" (461), 2 "&Menu" (463),
// 3 "&File"/"&Go" (460).
inline constexpr std::array<int, 4> kMainButtonIdOfSlot = {462, 461, 463, 460};
inline constexpr int kFirstMainButtonId = 460;
inline constexpr int kFirstNavButtonId = 470;
inline constexpr int kNavButtonCount = 9;

struct ScreenGeometry {
  int width = 0;       // client size of the main window
  int height = 0;
  int lineHeight = 18; // LineHeight
  bool portrait = false;
  bool mapVisible = false;
  bool gpsInput = true;
  int titleHeight = 0;  // text height of the map title, drawn above the panes
};

struct ScreenLayout {
  Rect map;        // empty when the map is hidden
  Rect speedBar;   // empty without GPS input
  Rect profile;
  Rect condBars;
  Rect inphBars;
  Rect numbers;
  std::array<Rect, 4> mainButtons{};  // by layout slot
  Rect pauseButton;
  std::array<Rect, kNavButtonCount> navButtons{};  // 470..478; "Enter Rev&iew" and "&Exit Review" share a place
  Rect pausePrompt;
  Rect readouts;   // band of the readout rows
  Point summary;   // top left of "Selected for file :"
  bool wideReadouts = true;  // two readout columns side by side, else one column
  int rightColumnWidth = 110;
};

// Right column of the bar and numbers panes: 110 wide at x = W - 130.
inline constexpr int kRightColumnWidth = 110;
inline constexpr int kRightColumnOffset = 130;

ScreenLayout ComputeScreenLayout(const ScreenGeometry& g);

}  // namespace obrix
