#pragma once
// Process-wide state of the map origin set by the first valid fix of a logging screen (window thread only).

namespace obrix {

struct MapPoint {
  double easting = 0.0;
  double northing = 0.0;
};

struct FixState {
  int MapStarted = 0;   // 0 until the first valid fix of the logging screen set the origin
  MapPoint MapOrigin;   // the first valid fix, in map units
};

FixState& Fix();
void ResetFix();

}  // namespace obrix
