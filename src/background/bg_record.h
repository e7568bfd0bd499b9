#pragma once
// The 38-byte records of a background temporary file: easting and northing in map units ("%14.3f" each), the
// label length and a five-character label, separated by commas and ended by a line feed at byte 37.
#include <string>
#include <string_view>

namespace obrix {

inline constexpr int kBgRecordBytes = 38;
inline constexpr int kBgLabelChars = 5;
// Coordinates are kept within +-1e9 map units (far beyond any map); the break mark lies outside that range, so
// no point, negative local grids included, can be taken for a break.
inline constexpr double kBgCoordinateLimit = 1e9;
inline constexpr double kBgBreakValue = 9999999999.0;

struct BgPoint {
  double easting = 0.0, northing = 0.0;
  int labelLength = 0;
  char label[kBgLabelChars + 1] = {' ', ' ', ' ', ' ', ' ', '\0'};
  // The break mark ends the polyline when drawn.
  bool IsBreak() const { return easting >= kBgCoordinateLimit; }
  std::string_view Label() const { return {label, static_cast<size_t>(labelLength)}; }
};

// The record of a point; empty when a coordinate is not finite or reaches kBgCoordinateLimit either way.
// The label is cut to five bytes and padded with spaces.
std::string BgRecord(double easting, double northing, std::string_view label = {});
// The break record: 9999999999.000 twice, length 0, five spaces.
std::string BgBreakRecord();
// Reads one record; false when the bytes do not have the layout above.
bool ParseBgRecord(std::string_view bytes, BgPoint& out);

}  // namespace obrix
