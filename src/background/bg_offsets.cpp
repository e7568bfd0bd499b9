#include "background/bg_offsets.h"

#include <cmath>

#include "gps/travel_direction.h"

namespace obrix {

BgOffsetPlacer::BgOffsetPlacer(double lateral, double along)
    : lateral_(lateral), along_(along), method_(along > 0.0 ? 1 : along < 0.0 ? -1 : 0) {}

bool BgOffsetPlacer::Place(double easting, double northing, BgOutPoint& out) {
  return method_ == 1 ? History(easting, northing, out) : Direct(easting, northing, out);
}

bool BgOffsetPlacer::Direct(double e, double n, BgOutPoint& out) {
  if (!havePrevious_) {
    havePrevious_ = true;
    prevE_ = e;
    prevN_ = n;
    return false;
  }
  const TravelDirection u = DirectionOfTravel(prevE_, prevN_, e, n);
  if (!u.valid) return false;  // no move: the direction is unknown, the previous position stays
  prevE_ = e;
  prevN_ = n;
  // Method -1 starts from the point the (negative) along offset ahead.
  const double baseE = method_ == -1 ? e - along_ * u.x : e;
  const double baseN = method_ == -1 ? n - along_ * u.y : n;
  out = {baseE - lateral_ * u.y, baseN + lateral_ * u.x};
  return true;
}

void BgOffsetPlacer::DropBefore(int first) {
  if (first <= 0 || first >= count_) return;
  const double base = history_[first].cum;
  for (int i = first; i < count_; ++i) {
    history_[i - first] = history_[i];
    history_[i - first].cum -= base;
  }
  count_ -= first;
  length_ = history_[count_ - 1].cum;
}

bool BgOffsetPlacer::History(double e, double n, BgOutPoint& out) {
  if (count_ == 0) {
    history_[0] = {e, n, 0.0};
    count_ = 1;
    length_ = 0.0;
    return false;
  }
  const Entry& last = history_[count_ - 1];
  const double step = std::hypot(e - last.e, n - last.n);
  if (count_ == 1 && !(step > 0.0)) return false;  // the first move gives the direction
  history_[count_] = {e, n, last.cum + step};
  ++count_;
  length_ = history_[count_ - 1].cum;
  if (count_ > kBgHistorySize - 1) DropBefore(11);

  double sensorE, sensorN;
  TravelDirection u;
  if (along_ > length_) {
    // The recorded track is shorter than the offset: extend it backwards from its first segment.
    const Entry& q0 = history_[0];
    const Entry& q1 = history_[1];
    u = DirectionOfTravel(q0.e, q0.n, q1.e, q1.n);
    const double back = along_ - length_;
    sensorE = q0.e - back * u.x;
    sensorN = q0.n - back * u.y;
  } else {
    int i = 1;
    while (i < count_ - 1 && length_ - history_[i].cum > along_) ++i;
    const Entry a = history_[i - 1];
    const Entry b = history_[i];
    const double rest = along_ - (length_ - b.cum);
    const double v = std::hypot(b.e - a.e, b.n - a.n);
    u = DirectionOfTravel(a.e, a.n, b.e, b.n);
    sensorE = a.e + (v - rest) * u.x;
    sensorN = a.n + (v - rest) * u.y;
    if (i >= 12) DropBefore(i - 1);
  }
  if (!u.valid) return false;
  out = {sensorE - lateral_ * u.y, sensorN + lateral_ * u.x};
  return true;
}

}  // namespace obrix
