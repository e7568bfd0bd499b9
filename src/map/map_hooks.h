#pragma once
// What the map asks of the logging screen beyond its canvas: texts drawn with fonts, the busy indicator, the
// map-limit notification and the redraw of the background files. The screen installs them; unset ones do
// nothing.
#include <functional>

namespace obrix {

class Canvas;

struct MapHooks {
  std::function<void(Canvas& pane)> ShowPleaseWait;       // "Please Wait" (only while the map is visible)
  std::function<void(Canvas& pane)> ShowWaitingForFix;    // "Waiting for the first valid GPS position"
  std::function<void()> AdvanceBusyIndicator;             // long redraws, about every 750 ms
  std::function<void()> ShowMapSizeCaption;               // after the map size changed
  std::function<void()> MapLimitReached;                  // UWM_MAP_LIMIT, sent once per overflow
  std::function<void()> RedrawBackgroundFiles;            // after pages lost their base drawings
  std::function<void()> RefreshProfilePane;               // the profile redrawn from the data file
  std::function<void()> RepaintScreen;                    // the logging screen repainted (buttons, readouts)
};

MapHooks& MapScreenHooks();
void ResetMapHooks();

}  // namespace obrix
