#include "settings/settings.h"

#include <climits>
#include <cmath>

namespace obrix {
namespace {
Settings g_settings;
Derived g_derived;
}  // namespace

Settings& Config() { return g_settings; }
Derived& Drv() { return g_derived; }

void ResetSettings() {
  g_settings = Settings();
  g_derived = Derived();
}

void ApplyStartupValues() {
  Settings& s = g_settings;
  s.lateralOffset = -0.3;
  g_derived.AlongOffsetInUse = 0.0;
  s.swathWidthIndex = 1;
  s.mapColourView = 1;
  s.traceThickness = {3, 2, 3, 2, 2, 2, 2, 2};
  g_derived.InstrumentBaudIndex = 0;
  g_derived.ProfileChannelCount = 4;
  g_derived.EnableFileAtFirstFix = true;
}

int ComputeReadingsPerInterval(double readingInterval, double instrumentPeriodMs) {
  if (!(instrumentPeriodMs > 0)) return 1;
  double n = std::trunc(readingInterval * 1000.0 / instrumentPeriodMs + 0.5);
  if (!(n >= 1)) return 1;
  if (n > 1e6) return 1000000;
  return static_cast<int>(n);
}

void UpdateReadingsPerInterval() {
  g_derived.ReadingsPerInterval =
      ComputeReadingsPerInterval(g_settings.readingInterval, g_derived.InstrumentPeriodMs);
}

SwathEdges ComputeSwathEdges(int swathWidthIndex, double lateralOffsetMapUnits) {
  int i = swathWidthIndex < 0 ? 0 : (swathWidthIndex > 7 ? 7 : swathWidthIndex);
  double w = kSwathWidths[i];
  double left = 0.5 * w + lateralOffsetMapUnits;
  return {left, w - left};
}

void UpdateSwathEdges() {
  SwathEdges e = ComputeSwathEdges(g_settings.swathWidthIndex,
                                   MetresToMapUnits(g_settings.lateralOffset, g_settings.mapUnits));
  g_derived.SwathLeft = e.left;
  g_derived.SwathRight = e.right;
}

double MetresPerMapUnit(int mapUnits) {
  if (mapUnits < 0 || mapUnits > 2) return 1.0;
  return kMetresPerMapUnit[mapUnits];
}

double StoredStationIncrement(const Settings& s, int mode) {
  switch (mode) {
    case 1: return s.stationIncWheel;
    case 2: return s.stationIncManual;
    default: return s.stationIncAuto;
  }
}

int CursorHalfSizeFor(int cursorSize) { return (cursorSize >= 5) ? 9 : cursorSize + 3; }

int CursorBandPixels(int cursorBandIndex, int mapPaneWidth) {
  // Wide arithmetic so that any stored index (no range check on load) cannot overflow.
  __int128 px = (static_cast<__int128>(cursorBandIndex) * 5 + 10) * mapPaneWidth / 100;
  if (px > INT_MAX) return INT_MAX;
  if (px < INT_MIN) return INT_MIN;
  return static_cast<int>(px);
}

}  // namespace obrix
