#pragma once
// Process-wide state of the GPS fixes of a logging screen: the current and previous fix, the map origin set by
// the first valid fix, the track extent, the blinking indicator and the position count (window thread only).

namespace obrix {

struct MapPoint {
  double easting = 0.0;
  double northing = 0.0;
};

struct TrackExtentBox {
  double minEasting = 0.0, maxEasting = 0.0;
  double minNorthing = 0.0, maxNorthing = 0.0;
};

inline constexpr int kGpsPositionLimit = 28800;

struct FixState {
  int MapStarted = 0;   // 0 until the first valid fix of the logging screen set the origin
  MapPoint MapOrigin;   // the first valid fix, in map units

  // Decoded values of the last position sentence.
  int FixValid = 0;
  int FixSatellites = 0;
  int FixQuality = 0;
  double FixDop = 0.0;
  bool SatellitesReported = true;  // false: the last count was empty or 0 beside a fix (not reported)

  // Current and previous valid fix (map units, seconds of the UTC day) and the speed between them.
  double FixEasting = 0.0;
  double FixNorthing = 0.0;
  double PrevEasting = 0.0;
  double PrevNorthing = 0.0;
  double FixTime = 0.0;
  double PrevFixTime = 0.0;
  double GpsSpeed = 0.0;  // map units per second

  TrackExtentBox TrackExtent;     // set to the origin at the first fix, widened by the map
  char GpsIndicatorPhase = '/';   // '/' or '\\', toggled at every position sentence
  int GpsPositionCount = 0;       // position sentences received while recording
  int GpsPositionLimit = kGpsPositionLimit;
  // Set when the count reached the limit: the screen stops the readers and ends the program once the
  // sentence handler has returned.
  bool PositionLimitExitPending = false;
};

FixState& Fix();
void ResetFix();

}  // namespace obrix
