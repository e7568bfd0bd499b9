#pragma once
// The accepted fixes of one uninterrupted stretch of a survey (no pause, line change or new session inside),
// and the sensor point of a reading placed between them by its tick, with the antenna offsets applied.
#include <cstddef>
#include <cstdint>
#include <deque>

namespace obrix {

struct TrackFix {
  int64_t tick64 = 0;
  double easting = 0.0, northing = 0.0;  // antenna, map units
  bool north = true;                     // northern hemisphere (geographic fixes)
  double utcSeconds = 0.0;               // time field of the sentence, seconds of the UTC day
  int quality = 0, satellites = 0;
  double dop = 0.0;
  double cum = 0.0;                      // path length from the first fix kept (map units)
};

enum class PlaceResult { Before, Placed, After, NoHeading, Empty };

struct Placement {
  PlaceResult result = PlaceResult::Empty;
  double easting = 0.0, northing = 0.0;  // sensor point
  bool gap = false;                      // the fixes around it are more than the gap apart
  const TrackFix* nearer = nullptr;      // the nearer fix (the first or last one outside the stretch)
};

class FixRun {
 public:
  void Clear() { fixes_.clear(); }
  bool empty() const { return fixes_.empty(); }
  size_t size() const { return fixes_.size(); }
  const TrackFix& front() const { return fixes_.front(); }
  const TrackFix& back() const { return fixes_.back(); }

  // Appends a fix; a fix at the tick of the last one replaces it, an earlier one (or one off the map) is dropped
  // (false).
  bool Add(TrackFix f);
  // Drops old fixes that no reading from `oldestTick` on needs, keeping `history` map units of track behind it.
  void Trim(int64_t oldestTick, double history);

  // The sensor point at `tick`: the antenna interpolated between the fixes around it, moved `along` back along
  // the track (ahead when negative) and `lateral` to the left of travel. Before the first or after the last
  // fix nothing is placed; with offsets and no move at or before it, there is no heading.
  Placement Place(int64_t tick, double lateral, double along, int64_t gapMs) const;

 private:
  std::deque<TrackFix> fixes_;
};

}  // namespace obrix
