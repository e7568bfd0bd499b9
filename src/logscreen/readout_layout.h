#pragma once
// Field rectangles of the readout rows, measured from their template texts.
#include <functional>
#include <string_view>

#include "platform/canvas.h"

namespace obrix {

// Text widths in the label font and in the value font, and the heights of their text cells.
struct ReadoutMetrics {
  std::function<int(std::string_view)> labelWidth;
  std::function<int(std::string_view)> valueWidth;
  int labelHeight = 16;
  int valueHeight = 16;
};

// A value field and the place of the label drawn before it.
struct LabelledField {
  Point label;
  Rect value;
};

struct ReadoutRects {
  Rect fileName;  // "File: %s" drawn whole in it
  LabelledField line, station, totalReadings, totalTime;
  LabelledField positions, dop, satellites, east, north, zone, speed;
  Rect fixQuality;
  Point indicator;     // top left of the two indicator circles
  Rect frames[2];      // rounded frames around the counter group and the GPS group
  Rect writeWarning;   // the write-error warning row
};

// What the labels read, which sets the measured widths.
struct ReadoutLabels {
  std::string_view dop = "PDOP:";
  std::string_view east = "Lon:";
  std::string_view north = "Lat:";
  bool grid = false;  // grid coordinates (template "-88888888.88 USft") instead of geodetic ones
};

// Lays the rows out in `area`: the file row across it, then the counter column and the GPS column side by
// side (`wide`, when the GPS column fits across `area`) or one under the other.
ReadoutRects LayoutReadoutRows(const Rect& area, bool wide, const ReadoutMetrics& m, const ReadoutLabels& labels);

// Template texts of the fields.
inline constexpr const char* kStatusTemplate = "Monitoring (Manual)";
inline constexpr const char* kMapCaptionTemplate = "Map Size: 99999 meters";
inline constexpr const char* kStationTemplate = "-8888888.88";
inline constexpr const char* kTotalReadingsTemplate = "# of Stns:888999";
inline constexpr const char* kTotalTimeTemplate = "Tot Time:  00:00:00";
inline constexpr const char* kPositionsTemplate = "88888";
inline constexpr const char* kFixQualityTemplate = "PHASE";
inline constexpr const char* kGeodeticTemplate = "W-888 88 88.888888";
inline constexpr const char* kGridTemplate = "-88888888.88 USft";
inline constexpr const char* kZoneTemplate = "33";
inline constexpr const char* kSpeedTemplate = "Speed: 88.56 ft/s";
inline constexpr const char* kSatellitesTemplate = "88";

}  // namespace obrix
