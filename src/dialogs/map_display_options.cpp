#include "dialogs/map_display_options.h"

#include <algorithm>
#include <cmath>

#include "map/map_view_state.h"
#include "platform/numbers.h"
#include "settings/settings_file.h"
#include "settings/survey_inputs.h"

namespace obrix {

double NormaliseLinesAngle(double a) {
  if (std::isnan(a)) return 0.0;
  if (a > 90.0 && a <= 180.0) a -= 180.0;
  if (a >= -180.0 && a <= -90.0) a += 180.0;
  if (a < -180.0 || a > 180.0) a = 0.0;
  return a;
}

int MapSizeFromText(std::string_view text) { return std::max(1, TruncToInt(ParseRealC(text))); }

double GridIntervalFromText(std::string_view text) {
  double v = ParseRealC(text);
  return (std::isfinite(v) && v >= 0.5) ? v : 0.5;
}

const char* MapSizeUnitLabel(int mapUnits) {
  static const char* const kLabels[3] = {"metres", "feet", "US feet"};
  return kLabels[std::clamp(mapUnits, 0, 2)];
}

const char* GridUnitLabel(int mapUnits) {
  static const char* const kLabels[3] = {"m", "feet", "USft"};
  return kLabels[std::clamp(mapUnits, 0, 2)];
}

const char* GridIntervalLabel(int gridStyle) { return gridStyle == 1 ? "Lines Interval:" : "Grid Interval:"; }

double PreviewLineSpacing(double angleDeg) {
  double a = std::fabs(angleDeg);
  if (a == 0.0) return 50.0;
  if (a <= 5.0) return 1000.0 / a;
  if (a <= 15.0) return 1200.0 / a;
  return 40.0;
}

int PreviewMarkSpacing(int positionSize) { return positionSize <= 2 ? 6 : 12; }

MapOptionsCopy MapOptionsCopy::Of(const Settings& s) {
  return {s.mapSize,        s.linesAngleDeg, s.gridInterval, s.gridStyle,    s.mapUnits,
          s.cursorColour,   s.positionColour, s.cursorSize,  s.positionSize, s.mapColourView};
}

void MapOptionsCopy::RestoreOpenChanges(Settings& s) const {
  s.linesAngleDeg = linesAngleDeg;
  s.gridStyle = gridStyle;
  s.cursorColour = cursorColour;
  s.positionColour = positionColour;
  s.cursorSize = cursorSize;
  s.positionSize = positionSize;
  s.mapColourView = mapColourView;
}

int ComputeRedrawFlags(const MapOptionsCopy& b, const Settings& s) {
  int flags = 0;
  if (s.positionSize != b.positionSize) flags |= kRedrawPositionSize;
  if (s.positionColour != b.positionColour) flags |= kRedrawPositionColour;
  if (s.mapColourView != b.mapColourView) flags |= kRedrawColourView;
  if (s.gridStyle != b.gridStyle) flags |= kRedrawGridStyle;
  if (s.gridInterval != b.gridInterval) flags |= kRedrawGridInterval;
  if (s.linesAngleDeg != b.linesAngleDeg) flags |= kRedrawLinesAngle;
  if (s.mapSize != b.mapSize) flags |= kRedrawMapSize;
  if (s.mapUnits != b.mapUnits) flags |= kRedrawMapUnits;
  return flags;
}

void ApplyMapOptions(const MapOptionsEntry& e, const MapOptionsCopy& before) {
  Settings& s = Config();
  s.mapUnits = std::clamp(e.mapUnits, 0, 2);
  s.mapColourView = !UsesInstrument(s) ? 0 : std::clamp(e.mapColourView, 0, 1);
  s.mapSize = MapSizeFromText(e.mapSize);
  UpdatePixelsPerUnit();
  s.swathWidthIndex = std::clamp(e.swathWidthIndex, 0, 7);
  UpdateSwathEdges();
  s.gridStyle = e.gridStyle == 1 ? 1 : 0;
  s.gridInterval = GridIntervalFromText(e.gridInterval);
  s.linesAngleDeg = NormaliseLinesAngle(ParseRealC(e.linesAngle));
  SaveLoadSettings(Save);
  MapState().RedrawFlags = ComputeRedrawFlags(before, s);
}

}  // namespace obrix
