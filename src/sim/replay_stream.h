#pragma once
// Replay of a recorded survey: the readings and sentence groups of a data file laid out on one timeline, and
// a stream that sends them on the injected clock with their original spacing, faster or slower by a factor.
#include <cstdint>
#include <string>
#include <vector>

#include "sim/sim_clock.h"

namespace obrix::sim {

enum class ReplayKind { Reading, Sentence, RawLine };

// One reading or sentence group as stored, in file order.
struct ReplayEvent {
  ReplayKind kind = ReplayKind::Reading;
  std::string text;   // instrument field, or the reassembled sentence / raw line
  int64_t tick = 0;   // reception tick, unwrapped within its segment
  int segment = 0;    // append session of the file, 0 for the first
};

// One item to send: `offsetMs` after the start of the replay.
struct ReplayItem {
  uint64_t offsetMs = 0;
  ReplayKind kind = ReplayKind::Reading;
  std::string bytes;  // a reading with its CR, a sentence or raw line with CR LF
};

struct ReplayTimeline {
  std::vector<ReplayItem> items;  // ordered by offset (file order among equal offsets)
  uint64_t endMs = 0;             // offset of the last item of the whole file, of any kind
  uint64_t gapsShortened = 0;     // recorded gaps between items longer than kReplayMaxGapMs, cut to it
};

// Gap put after the last item of a segment before the next segment (and before a loop starts over).
inline constexpr uint64_t kReplaySegmentGapMs = 1000;
// A longer recorded gap between two items (a receiver switched off for an hour, a damaged tick) is cut to this.
inline constexpr uint64_t kReplayMaxGapMs = 10000;
// Items that fell due longer ago than this (in real time) are skipped after a stall.
inline constexpr uint64_t kReplayStallMs = 2000;
inline constexpr double kReplayMinSpeed = 0.1;
inline constexpr double kReplayMaxSpeed = 100.0;

// The instrument field as it went over the wire: cut to 12 characters, and to 7 when the rest is padding.
std::string ReplayInstrumentRecord(const std::string& field);

// Lays the events out: the first segment starts at its earliest tick, every later one 1 s after the last item
// before it; a gap between items longer than kReplayMaxGapMs is cut to it. Events with an empty text are left
// out.
ReplayTimeline BuildReplayTimeline(const std::vector<ReplayEvent>& events);

// The items of one device: readings (the EM38), or sentences and raw lines (the receiver). The end of the
// whole file is kept, so that two streams started together stay in step, also when they loop.
ReplayTimeline ReplayItemsFor(const ReplayTimeline& all, bool readings);

class ReplayStream {
 public:
  // `speed` is clamped to 0.1 .. 100. With `loop` the timeline starts over 1 s after its end.
  ReplayStream(ReplayTimeline timeline, double speed, bool loop, uint32_t startMs);

  // Appends the bytes of the items due up to `nowMs` (ticks, modulo 2^32). After a stall of more than 2 s
  // the backlog is skipped: only the item due last is sent.
  void Generate(uint32_t nowMs, std::string* out);
  // Everything was sent (never while looping over a non-empty timeline).
  bool Done() const;

  uint64_t itemsSent() const { return sent_; }
  uint64_t itemsSkipped() const { return skipped_; }
  uint64_t passes() const { return pass_; }  // loops started over so far

 private:
  uint64_t DueAt(uint64_t pass, size_t index) const;
  // Moves the cursor to the last item due at `pos`, counting the ones passed over as skipped.
  void SkipTo(double pos);

  ReplayTimeline t_;
  double speed_;
  bool loop_;
  uint64_t period_;  // length of one pass when looping
  uint32_t last_;
  uint64_t elapsed_ = 0;  // real milliseconds since the start
  uint64_t pass_ = 0;
  size_t next_ = 0;
  uint64_t sent_ = 0, skipped_ = 0;
};

}  // namespace obrix::sim
