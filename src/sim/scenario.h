#pragma once
// The simulated survey shared by both simulators: a walk along parallel lines from an origin, and a
// ground field with one conductive anomaly. Both simulators compute the position from the same clock, so
// the EM38 values follow the receiver's position without any link between the two processes.
#include <string>

namespace obrix::sim {

struct Scenario {
  // Walk: `lines` parallel lines of `lineLength` metres, `lineSpacing` apart, walked back and forth at
  // `speed` m/s, starting at the origin and heading `headingDeg` (clockwise from north) along line 1; the
  // lines step to the right of the heading. At the end of the last line the walk goes back the same way.
  double originLat = 43.6099;    // degrees, north positive
  double originLon = -79.6107;   // degrees, east positive
  double headingDeg = 0.0;
  double lineLength = 40.0;
  double lineSpacing = 1.0;
  int lines = 20;
  double speed = 1.2;
  double startTime = 0.0;        // Unix time (s) the walk starts; 0 = the walk runs on Unix time itself

  // Field: a background plus a Gaussian anomaly centred at (anomalyEast, anomalyNorth) metres from the origin.
  double backgroundCond = 20.0;  // mS/m
  double anomalyCond = 180.0;    // peak added at the centre, mS/m
  double backgroundInph = 1.5;   // ppt
  double anomalyInph = 8.0;      // ppt
  double anomalyEast = 4.0;
  double anomalyNorth = 20.0;
  double anomalyRadius = 6.0;    // metres at which the anomaly has fallen to 1/e
};

struct WalkPoint {
  double east = 0;     // metres from the origin
  double north = 0;
  double courseDeg = 0;  // direction of travel, clockwise from north
  double speed = 0;      // m/s
};

// Position `seconds` after the start of the walk (any real number; the walk repeats).
WalkPoint WalkAt(const Scenario& s, double seconds);
// Seconds into the walk for a Unix time, by the scenario's start time.
double WalkSeconds(const Scenario& s, double unixTime);

// Field values at a point: conductivity in mS/m, inphase in ppt.
double ConductivityAt(const Scenario& s, double east, double north);
double InphaseAt(const Scenario& s, double east, double north);

// Geographic position of a point (local flat-earth approximation, good over a survey site).
void LocalToGeo(const Scenario& s, double east, double north, double* lat, double* lon);

// Scenario files: "key = value" lines, '#' comments; unknown keys and bad numbers are errors (with the line
// number in *error), missing keys keep their defaults.
bool ParseScenario(const std::string& text, Scenario* s, std::string* error);
bool LoadScenario(const std::string& path, Scenario* s, std::string* error);
std::string FormatScenario(const Scenario& s);
bool SaveScenario(const std::string& path, const Scenario& s, std::string* error);

}  // namespace obrix::sim
