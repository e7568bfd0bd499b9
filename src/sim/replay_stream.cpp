#include "sim/replay_stream.h"

#include <algorithm>
#include <cmath>

namespace obrix::sim {

std::string ReplayInstrumentRecord(const std::string& field) {
  std::string r = field.substr(0, 12);
  if (r.size() > 7 && r.find_first_not_of(' ', 7) == std::string::npos) r.resize(7);
  return r;
}

ReplayTimeline BuildReplayTimeline(const std::vector<ReplayEvent>& events) {
  ReplayTimeline t;
  bool any = false;           // an item was placed before the current segment
  uint64_t base = 0;          // offset of the current segment's earliest tick
  size_t i = 0;
  while (i < events.size()) {
    // One segment: the run of events with the same segment number.
    size_t end = i;
    int64_t earliest = INT64_MAX;
    for (; end < events.size() && events[end].segment == events[i].segment; ++end)
      if (!events[end].text.empty()) earliest = std::min(earliest, events[end].tick);
    if (earliest != INT64_MAX) {
      if (any) base = t.endMs + kReplaySegmentGapMs;
      for (; i < end; ++i) {
        const ReplayEvent& e = events[i];
        if (e.text.empty()) continue;
        ReplayItem item;
        item.offsetMs = base + static_cast<uint64_t>(e.tick - earliest);
        item.kind = e.kind;
        item.bytes = e.kind == ReplayKind::Reading ? ReplayInstrumentRecord(e.text) + "\r" : e.text + "\r\n";
        t.endMs = any ? std::max(t.endMs, item.offsetMs) : item.offsetMs;
        any = true;
        t.items.push_back(std::move(item));
      }
    }
    i = end;
  }
  // Groups are written in the order they were completed, not always in tick order.
  std::stable_sort(t.items.begin(), t.items.end(),
                   [](const ReplayItem& a, const ReplayItem& b) { return a.offsetMs < b.offsetMs; });
  uint64_t cut = 0, previous = 0;
  for (size_t k = 0; k < t.items.size(); ++k) {
    const uint64_t recorded = t.items[k].offsetMs;
    if (k > 0 && recorded - previous > kReplayMaxGapMs) {
      cut += recorded - previous - kReplayMaxGapMs;
      ++t.gapsShortened;
    }
    previous = recorded;
    t.items[k].offsetMs = recorded - cut;
  }
  if (!t.items.empty()) t.endMs = t.items.back().offsetMs;
  return t;
}

ReplayTimeline ReplayItemsFor(const ReplayTimeline& all, bool readings) {
  ReplayTimeline t;
  t.endMs = all.endMs;
  t.gapsShortened = all.gapsShortened;
  for (const ReplayItem& item : all.items)
    if ((item.kind == ReplayKind::Reading) == readings) t.items.push_back(item);
  return t;
}

ReplayStream::ReplayStream(ReplayTimeline timeline, double speed, bool loop, uint32_t startMs)
    : t_(std::move(timeline)),
      speed_(std::isfinite(speed) ? std::clamp(speed, kReplayMinSpeed, kReplayMaxSpeed) : 1.0),
      loop_(loop),
      period_(t_.endMs + kReplaySegmentGapMs),
      last_(startMs) {}

uint64_t ReplayStream::DueAt(uint64_t pass, size_t index) const { return pass * period_ + t_.items[index].offsetMs; }

bool ReplayStream::Done() const { return next_ >= t_.items.size() && !(loop_ && !t_.items.empty()); }

void ReplayStream::SkipTo(double pos) {
  const size_t n = t_.items.size();
  uint64_t pass = 0;
  double within = pos;
  if (loop_) {
    pass = static_cast<uint64_t>(std::floor(pos / static_cast<double>(period_)));
    within = pos - static_cast<double>(pass) * static_cast<double>(period_);
  }
  auto after = std::upper_bound(t_.items.begin(), t_.items.end(), within,
                                [](double p, const ReplayItem& item) { return p < static_cast<double>(item.offsetMs); });
  size_t index = static_cast<size_t>(after - t_.items.begin());
  if (index == 0) {
    if (pass == 0) return;  // nothing due yet
    --pass;
    index = n;
  }
  --index;  // the last item due
  const uint64_t from = pass_ * n + next_, to = pass * n + index;
  if (to <= from) return;
  skipped_ += to - from;
  pass_ = pass;
  next_ = index;
}

void ReplayStream::Generate(uint32_t nowMs, std::string* out) {
  elapsed_ += AdvanceTicks(&last_, nowMs);
  const size_t n = t_.items.size();
  if (n == 0) return;
  const double pos = static_cast<double>(elapsed_) * speed_;
  auto wrap = [&] {
    if (loop_ && next_ == n) {
      next_ = 0;
      ++pass_;
    }
  };
  wrap();
  if (next_ < n) {
    const double due = static_cast<double>(DueAt(pass_, next_));
    if (due <= pos && (pos - due) / speed_ > static_cast<double>(kReplayStallMs)) SkipTo(pos);
  }
  while (next_ < n && static_cast<double>(DueAt(pass_, next_)) <= pos) {
    *out += t_.items[next_].bytes;
    ++next_;
    ++sent_;
    wrap();
  }
}

}  // namespace obrix::sim
