#pragma once
// Logic of the map display options: value rules, unit labels, the copies kept for Cancel and RedrawFlags.
#include <string>
#include <string_view>

#include "settings/settings.h"

namespace obrix {

// Stored lines angle: (90, 180] less 180, then [-180, -90] plus 180, then beyond +-180 becomes 0. The result
// lies in (-90, 90] for any input up to +-180; NaN becomes 0.
double NormaliseLinesAngle(double degrees);
// The number truncated to an integer, at least 1 (text that is no number gives 1).
int MapSizeFromText(std::string_view text);
// The number, at least 0.5.
double GridIntervalFromText(std::string_view text);

// Unit label of the map size and the swath ("metres", "feet", "US feet") and of the grid interval ("m", "feet",
// "USft") for mapUnits 0..2.
const char* MapSizeUnitLabel(int mapUnits);
const char* GridUnitLabel(int mapUnits);
// "Grid Interval:" for gridStyle 0, "Lines Interval:" for 1.
const char* GridIntervalLabel(int gridStyle);

// Vertical spacing of the preview's parallel lines in pixels for the angle: 1000 / |a| up to 5 degrees,
// 1200 / |a| up to 15 degrees, else 40; 50 for the angle 0 (vertical lines).
double PreviewLineSpacing(double angleDeg);
// Spacing of the preview's sample position marks for positionSize: denser for the three smallest sizes.
int PreviewMarkSpacing(int positionSize);

// The values the dialog may change while open, kept at opening.
struct MapOptionsCopy {
  int mapSize = 0;
  double linesAngleDeg = 0;
  double gridInterval = 0;
  int gridStyle = 0;
  int mapUnits = 0;
  Colour cursorColour = 0;
  Colour positionColour = 0;
  int cursorSize = 0;
  int positionSize = 0;
  int mapColourView = 0;

  static MapOptionsCopy Of(const Settings& s);
  // Cancel: puts back the values changed while the dialog was open.
  void RestoreOpenChanges(Settings& s) const;
};

// RedrawFlags bits for what differs between the copy and the settings now; 0 when nothing changed.
int ComputeRedrawFlags(const MapOptionsCopy& before, const Settings& after);

// What the dialog's controls hold at OK.
struct MapOptionsEntry {
  int mapUnits = 0;
  int mapColourView = 0;
  std::string mapSize;
  int swathWidthIndex = 0;
  int gridStyle = 0;
  std::string gridInterval;
  std::string linesAngle;
};

// OK: stores the entries with their rules, recomputes the pixels per unit and the swath edges, saves the
// settings file and sets RedrawFlags against the copy.
void ApplyMapOptions(const MapOptionsEntry& entry, const MapOptionsCopy& before);

}  // namespace obrix
