#pragma once
// Direction of travel between two positions in map units, shared by the live swath, the data-file background
// import and the export, so all three place the sensor the same way.
#include <cmath>

namespace obrix {

struct TravelDirection {
  double x = 0.0, y = 0.0;  // unit vector, east and north components
  bool valid = false;       // false for no move (or positions that are not finite)
};

inline TravelDirection DirectionOfTravel(double fromE, double fromN, double toE, double toN) {
  const double dx = toE - fromE, dy = toN - fromN;
  const double len = std::hypot(dx, dy);
  if (!(len > 0.0) || !std::isfinite(len)) return {};
  return {dx / len, dy / len, true};
}

}  // namespace obrix
