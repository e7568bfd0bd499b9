#include "dialogs/map_size_options.h"

#include <algorithm>
#include <cmath>

#include "dialogs/map_display_options.h"
#include "map/map_view_state.h"
#include "platform/numbers.h"
#include "settings/settings.h"

namespace obrix {

const char* MapScaleUnitLabel(int mapUnits) {
  static const char* const kLabels[3] = {"meters", "feet", "US feet"};
  return kLabels[std::clamp(mapUnits, 0, 2)];
}

void SaveMapSizeCopies() {
  MapViewState& m = MapState();
  m.SavedMapSize = Config().mapSize;
  m.SavedPixelsPerUnit = m.PixelsPerUnit;
  m.SavedGridInterval = Config().gridInterval;
  m.SavedCursorBandIndex = Config().cursorBandIndex;
  m.SavedCursorBandPx = Drv().CursorBandPx;
}

bool MapSizeTextNeedsReset(const std::string& text) {
  return text.find_first_of("0123456789") != std::string::npos && TruncToInt(ParseRealC(text)) <= 0;
}

void ApplyMapSize(const MapSizeEntry& e) {
  Settings& s = Config();
  MapViewState& m = MapState();
  m.RedrawFlags = 0;
  s.mapSize = MapSizeFromText(e.mapSize);
  UpdatePixelsPerUnit();
  double interval = ParseRealC(e.gridInterval);
  s.gridInterval = std::isfinite(interval) ? interval : 0.0;
  s.cursorBandIndex = std::clamp(e.cursorBandIndex, 0, kCursorBandChoices - 1);
  Drv().CursorBandPx = CursorBandPixels(s.cursorBandIndex, Drv().MapPaneWidth);
  if (s.mapSize != m.SavedMapSize) m.RedrawFlags += kRedrawMapSize;
  if (s.gridInterval != m.SavedGridInterval) m.RedrawFlags += kRedrawGridInterval;
}

void CancelMapSize() {
  Settings& s = Config();
  MapViewState& m = MapState();
  m.RedrawFlags = 0;
  s.mapSize = m.SavedMapSize;
  m.PixelsPerUnit = m.SavedPixelsPerUnit;
  s.gridInterval = m.SavedGridInterval;
  s.cursorBandIndex = m.SavedCursorBandIndex;
  Drv().CursorBandPx = m.SavedCursorBandPx;
}

}  // namespace obrix
