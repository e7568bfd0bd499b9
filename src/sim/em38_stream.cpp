#include "sim/em38_stream.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace obrix::sim {

uint32_t Em38PeriodMs(int length) { return length == 12 ? 91u : 72u; }

unsigned char Em38StatusByte(const Em38Options& o, bool marker) {
  unsigned s = 0;
  if (marker) s |= 64;
  if (o.vertical) s |= 32;
  if (o.divide8) s |= 16;
  if (o.spareBit) s |= 8;
  if (o.conductivity) s |= 4;
  if (o.range1000) s |= 3;
  return static_cast<unsigned char>(s);
}

int Em38Counts(const Em38Options& o, double value) {
  double scale = o.conductivity ? (o.range1000 ? -1.0 : -0.1) : (o.range1000 ? -0.0288 : -0.00288);
  scale /= o.divide8 ? 8.0 : 1.0;
  double counts = value / scale;
  if (!std::isfinite(counts)) return 0;
  return static_cast<int>(std::lround(std::clamp(counts, -9999.0, 99999.0)));
}

std::string FormatEm38Record(const Em38Options& o, double value, bool marker) {
  int counts = Em38Counts(o, value);
  char digits[16];
  if (counts < 0)
    std::snprintf(digits, sizeof digits, "-%04d", -counts);
  else
    std::snprintf(digits, sizeof digits, "%05d", counts);
  std::string r = "T";
  r += static_cast<char>(Em38StatusByte(o, marker));
  r += digits;
  if (o.length == 12) r += "00000";
  r += '\r';
  return r;
}

Em38Stream::Em38Stream(const Em38Options& o, const Scenario& scenario, uint32_t startMs, double walkSecondsAtStart)
    : o_(o), scenario_(scenario), last_(startMs), walkAtStart_(walkSecondsAtStart), period_(Em38PeriodMs(o.length)) {}

double Em38Stream::ValueAt(uint64_t elapsedMs) const {
  const double t = elapsedMs / 1000.0;
  switch (o_.source) {
    case ValueSource::Constant:
      return o_.value;
    case ValueSource::Ramp: {
      if (!(o_.rampSeconds > 0)) return o_.rampFrom;
      double f = std::fmod(t, o_.rampSeconds) / o_.rampSeconds;
      return o_.rampFrom + (o_.rampTo - o_.rampFrom) * f;
    }
    case ValueSource::Scenario: {
      WalkPoint w = WalkAt(scenario_, walkAtStart_ + t);
      return o_.conductivity ? ConductivityAt(scenario_, w.east, w.north) : InphaseAt(scenario_, w.east, w.north);
    }
  }
  return o_.value;
}

bool Em38Stream::MarkerAt(uint64_t elapsedMs) const {
  if (pressed_ && elapsedMs - pressFrom_ < o_.markerHoldMs) return true;
  if (o_.markerEverySeconds > 0) {
    const uint64_t every = static_cast<uint64_t>(std::llround(o_.markerEverySeconds * 1000));
    if (every > 0 && elapsedMs >= every && elapsedMs % every < o_.markerHoldMs) return true;
  }
  return false;
}

void Em38Stream::PressMarker() {
  pressed_ = true;
  pressFrom_ = elapsed_;
}

void Em38Stream::Generate(uint32_t nowMs, std::string* out) {
  elapsed_ += AdvanceTicks(&last_, nowMs);
  const uint64_t due = elapsed_ / period_ + 1;  // records 0 .. due-1 are due
  if (due > next_ + 2000 / period_) next_ = due - 1;  // stalled: skip the backlog, send the current one
  for (; next_ < due; ++next_) {
    const uint64_t at = next_ * period_;
    *out += FormatEm38Record(o_, ValueAt(at), MarkerAt(at));
  }
}

}  // namespace obrix::sim
