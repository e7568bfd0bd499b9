#include "map/map_view_state.h"

#include <algorithm>

#include "settings/settings.h"

namespace obrix {

namespace {
MapViewState g_map;
}

MapViewState& MapState() { return g_map; }
void ResetMapViewState() { g_map = MapViewState{}; }

int MapPageWidthPx() { return std::max(0, Drv().MapPaneWidth - 2); }

void UpdatePixelsPerUnit() {
  g_map.PixelsPerUnit = static_cast<double>(MapPageWidthPx()) / std::max(1, Config().mapSize);
}

int CursorFullSizeFor(int cursorSize) { return cursorSize >= 5 ? 19 : 2 * cursorSize + 7; }

void UpdateCursorSizes() {
  Drv().CursorHalfSize = CursorHalfSizeFor(Config().cursorSize);
  g_map.CursorFullSize = CursorFullSizeFor(Config().cursorSize);
}

}  // namespace obrix
