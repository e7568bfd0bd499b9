#pragma once
// Placing background points from recorded antenna positions with the antenna offsets of the source file:
// directly from the travel direction (method 0 on the antenna line, -1 ahead of it) or along the recorded track
// history when the sensor trails the antenna (method 1).
namespace obrix {

inline constexpr int kBgHistorySize = 41;

struct BgOutPoint {
  double easting = 0.0, northing = 0.0;
};

class BgOffsetPlacer {
 public:
  // Offsets in map units: `lateral` to the left of travel, `along` behind the antenna; the method is the sign of
  // `along`.
  BgOffsetPlacer(double lateral, double along);
  int method() const { return method_; }
  // Takes the next decoded antenna position; true with the sensor point when one is placed (not for the first
  // position, nor while the direction of travel is unknown).
  bool Place(double easting, double northing, BgOutPoint& out);

 private:
  struct Entry {
    double e, n, cum;
  };
  bool Direct(double e, double n, BgOutPoint& out);
  bool History(double e, double n, BgOutPoint& out);
  void DropBefore(int first);

  double lateral_, along_;
  int method_;
  bool havePrevious_ = false;
  double prevE_ = 0.0, prevN_ = 0.0;
  Entry history_[kBgHistorySize] = {};
  int count_ = 0;
  double length_ = 0.0;
};

}  // namespace obrix
