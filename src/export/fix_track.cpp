#include "export/fix_track.h"

#include <algorithm>
#include <cmath>

#include "gps/travel_direction.h"

namespace obrix {

bool FixRun::Add(TrackFix f) {
  if (!std::isfinite(f.easting) || !std::isfinite(f.northing)) return false;
  if (!fixes_.empty()) {
    const TrackFix& last = fixes_.back();
    if (f.tick64 < last.tick64) return false;
    if (f.tick64 == last.tick64) fixes_.pop_back();
  }
  if (fixes_.empty()) {
    f.cum = 0.0;
  } else {
    const TrackFix& last = fixes_.back();
    f.cum = last.cum + std::hypot(f.easting - last.easting, f.northing - last.northing);
  }
  fixes_.push_back(f);
  return true;
}

void FixRun::Trim(int64_t oldestTick, double history) {
  if (fixes_.size() < 64) return;
  // The last fix not after the oldest tick still needed; the track behind it must stay.
  auto it = std::upper_bound(fixes_.begin(), fixes_.end(), oldestTick,
                             [](int64_t t, const TrackFix& f) { return t < f.tick64; });
  if (it == fixes_.begin()) return;
  const double keepFrom = std::prev(it)->cum - std::max(history, 0.0) - 1.0;
  size_t drop = 0;
  const size_t limit = static_cast<size_t>(std::distance(fixes_.begin(), it)) - 1;
  while (drop + 1 < limit && fixes_[drop + 1].cum < keepFrom) ++drop;
  if (drop > 0) fixes_.erase(fixes_.begin(), fixes_.begin() + static_cast<std::ptrdiff_t>(drop));
}

Placement FixRun::Place(int64_t tick, double lateral, double along, int64_t gapMs) const {
  Placement p;
  if (fixes_.empty()) return p;
  if (tick < fixes_.front().tick64) {
    p.result = PlaceResult::Before;
    p.nearer = &fixes_.front();
    return p;
  }
  if (tick > fixes_.back().tick64) {
    p.result = PlaceResult::After;
    p.nearer = &fixes_.back();
    return p;
  }
  const auto at = std::lower_bound(fixes_.begin(), fixes_.end(), tick,
                                   [](const TrackFix& f, int64_t t) { return f.tick64 < t; });
  const size_t b = static_cast<size_t>(std::distance(fixes_.begin(), at));
  const size_t a = fixes_[b].tick64 == tick ? b : b - 1;
  const TrackFix& fa = fixes_[a];
  const TrackFix& fb = fixes_[b];
  const int64_t span = fb.tick64 - fa.tick64;
  const double frac = span > 0 ? static_cast<double>(tick - fa.tick64) / static_cast<double>(span) : 0.0;
  double e = fa.easting + frac * (fb.easting - fa.easting);
  double n = fa.northing + frac * (fb.northing - fa.northing);
  p.gap = span > gapMs;
  p.nearer = tick - fa.tick64 <= fb.tick64 - tick ? &fa : &fb;
  p.result = PlaceResult::Placed;
  if (lateral == 0.0 && along == 0.0) {
    p.easting = e;
    p.northing = n;
    return p;
  }

  // Direction of travel at the antenna: the segment it lies on, else the last move before it. Later fixes are
  // not looked at, so the point does not depend on how many of them are known yet.
  TravelDirection u = DirectionOfTravel(fa.easting, fa.northing, fb.easting, fb.northing);
  for (size_t k = a; !u.valid && k-- > 0;)
    u = DirectionOfTravel(fixes_[k].easting, fixes_[k].northing, fa.easting, fa.northing);
  if (!u.valid) {
    p.result = PlaceResult::NoHeading;
    return p;
  }

  if (along > 0.0) {
    // Back along the recorded track; beyond its start, straight on along its first move.
    double rest = along;
    double ce = e, cn = n;
    bool done = false;
    for (size_t j = a + 1; j-- > 0;) {
      const TrackFix& f = fixes_[j];
      const double d = std::hypot(ce - f.easting, cn - f.northing);
      if (d > 0.0 && d >= rest) {
        const TravelDirection s = DirectionOfTravel(f.easting, f.northing, ce, cn);
        e = ce - rest * s.x;
        n = cn - rest * s.y;
        u = s;
        done = true;
        break;
      }
      rest -= d;
      ce = f.easting;
      cn = f.northing;
    }
    if (!done) {
      TravelDirection first;
      for (size_t k = 1; !first.valid && k < fixes_.size(); ++k)
        first = DirectionOfTravel(fixes_[0].easting, fixes_[0].northing, fixes_[k].easting, fixes_[k].northing);
      if (first.valid) u = first;
      e = ce - rest * u.x;
      n = cn - rest * u.y;
    }
  } else if (along < 0.0) {
    e -= along * u.x;
    n -= along * u.y;
  }
  p.easting = e - lateral * u.y;
  p.northing = n + lateral * u.x;
  return p;
}

}  // namespace obrix
