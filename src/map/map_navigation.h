#pragma once
// Moving and scaling the map by hand: pan steps, zoom, fit all, the map size change, the display options
// change and review (window thread only).
#include <vector>

#include "gps/fix_state.h"
#include "map/map_frame.h"
#include "map/map_redraw.h"

namespace obrix {

class Canvas;

inline constexpr double kPanFactor = 0.05;
inline constexpr double kZoomFactor = 0.05;

enum MapCommand : int {
  kMapPanWest = 113, kMapPanEast = 114, kMapPanNorth = 115, kMapPanSouth = 116,
  kMapZoomIn = 117, kMapZoomOut = 118, kMapFitAll = 119,
};

// trunc((PanFactor + 1) * band * 0.1 - 0.5) pixels.
int PanStep(int cursorBandPx);
// The map size after one zoom step (in: never below 1; out: no upper limit).
int ZoomedMapSize(int mapSize, bool zoomIn);
// trunc((span + 0.5) * (1 + (cursorBandIndex + 1) * 5 / 100) + 10).
int FitAllMapSize(double span, int cursorBandIndex);
// The review view holding the extent at the current scale, centred in the pane.
MapView FitAllView(const TrackExtentBox& extent, int w, int h);

// Moves `view` by one pan step; false (nothing changed) when the block would leave the used pages.
// `dX`, `dY` receive the world-pixel move for the live bounds.
bool PanView(MapView& view, int code, int step, const PageRange& used, int w, int h);
// True when the pages of the extent corners at the current scale lie within the page limits.
bool ExtentFitsPages(const TrackExtentBox& extent);

// The commands 113..119; any other code does nothing.
void MapNavigate(Canvas& pane, int code);

// Full re-render at the current scale: pages rebuilt, background files and the survey drawn again.
void RerenderMap(Canvas& pane);

// After the Map Size dialog closed: the messages to show in order (a refused size restores the saved copies).
std::vector<MapMessage> ApplyMapSizeChange(Canvas& pane);
// After the Map Display Options dialog closed.
std::vector<MapMessage> ApplyDisplayOptionsChange(Canvas& pane);

void EnterReviewMap(Canvas& pane);
void ExitReviewMap(Canvas& pane);

}  // namespace obrix
