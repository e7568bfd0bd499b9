#include "map/survey_walk.h"

#include <cmath>

namespace obrix {

void WalkFix(const SurveyWalk& w, int i, double& easting, double& northing) {
  const int perLine = int(w.lineLength / w.speed);
  const int line = i / perLine, step = i % perLine;
  easting = w.originE + line * w.lineSpacing;
  const double along = step * w.speed;
  northing = w.originN + (line % 2 == 0 ? along : w.lineLength - along);
}

double WalkReading(const SurveyWalk& w, int i, int k) {
  double e0, n0, e1, n1;
  WalkFix(w, i, e0, n0);
  WalkFix(w, i + 1, e1, n1);
  const double f = double(k) / w.readingsPerFix;
  const double e = e0 + f * (e1 - e0) - w.originE, n = n0 + f * (n1 - n0) - w.originN;
  // A gentle trend plus an anomaly near a quarter of the way up the first lines.
  const double de = e - 60.0, dn = n - w.lineLength * 0.25;
  return 60.0 + 0.2 * n * 100.0 / w.lineLength + 300.0 * std::exp(-(de * de + dn * dn) / (2 * 25.0 * 25.0));
}

void FeedWalk(const SurveyWalk& w, int first, int last, const std::function<void(int, double, double, double)>& fix) {
  double pe = 0, pn = 0;
  if (first > 0) WalkFix(w, first - 1, pe, pn);
  for (int i = first; i < last; ++i) {
    double e, n;
    WalkFix(w, i, e, n);
    fix(i, e, n, i == first && first == 0 ? 0.0 : std::hypot(e - pe, n - pn));
    pe = e;
    pn = n;
  }
}

}  // namespace obrix
