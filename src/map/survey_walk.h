#pragma once
// A synthetic survey for the map benchmark and the map picture tool: fixes at 1 Hz walking north-south lines
// back and forth, with readings of a conductivity field that has a conductive anomaly.
#include <functional>

namespace obrix {

struct SurveyWalk {
  double lineLength = 700.0;   // map units
  double lineSpacing = 5.0;
  double speed = 1.0;          // map units per fix
  int readingsPerFix = 5;
  double originE = 500000.0, originN = 5000000.0;
};

// The position of fix `i` (0-based) and the reading value (mS/m) of reading `k` of that fix.
void WalkFix(const SurveyWalk& w, int i, double& easting, double& northing);
double WalkReading(const SurveyWalk& w, int i, int k);

// Calls `fix` for fixes first..last-1 with the distance from the previous one (0 for fix 0).
void FeedWalk(const SurveyWalk& w, int first, int last,
              const std::function<void(int i, double e, double n, double d)>& fix);

}  // namespace obrix
