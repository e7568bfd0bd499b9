#include "sim/replay_stream.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace obrix::sim {
namespace {

ReplayEvent Reading(const std::string& field, int64_t tick, int segment = 0) {
  return {ReplayKind::Reading, field, tick, segment};
}
ReplayEvent Sentence(const std::string& text, int64_t tick, int segment = 0) {
  return {ReplayKind::Sentence, text, tick, segment};
}
ReplayEvent Raw(const std::string& text, int64_t tick, int segment = 0) {
  return {ReplayKind::RawLine, text, tick, segment};
}

std::vector<uint64_t> Offsets(const ReplayTimeline& t) {
  std::vector<uint64_t> out;
  for (const ReplayItem& i : t.items) out.push_back(i.offsetMs);
  return out;
}

TEST(ReplayTimelineTest, InstrumentFieldsGoOutAsTheyCame) {
  struct Case {
    std::string field, wire;
  };
  const Case cases[] = {
      {"T$00250     ", "T$00250"},           // a 7-character record padded to 12 in the file
      {"T$0025000000", "T$0025000000"},      // a 12-character record
      {"T 00250     ", "T 00250"},           // status byte that is a space
      {"T$00250  1  ", "T$00250  1  "},      // not padding: kept whole
      {"T$00250", "T$00250"},
      {"T$002500000099", "T$0025000000"},    // never more than the field holds
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReplayInstrumentRecord(c.field), c.wire) << c.field;
  }
  ReplayTimeline t = BuildReplayTimeline({Reading("T$00250     ", 10), Sentence("$GPGGA,1*00", 10), Raw("junk", 10)});
  ASSERT_EQ(t.items.size(), 3u);
  EXPECT_EQ(t.items[0].bytes, "T$00250\r");
  EXPECT_EQ(t.items[1].bytes, "$GPGGA,1*00\r\n");
  EXPECT_EQ(t.items[2].bytes, "junk\r\n");
}

TEST(ReplayTimelineTest, OffsetsFromTheEarliestTickAcrossSegmentsAndWraps) {
  struct Case {
    const char* name;
    std::vector<ReplayEvent> events;
    std::vector<uint64_t> offsets;
    uint64_t endMs;
    uint64_t gapsShortened = 0;
  };
  const int64_t wrap = int64_t{1} << 32;
  const Case cases[] = {
      {"spacing kept, zero at the earliest of either kind",
       {Reading("T1", 1072), Sentence("$A", 1000), Reading("T2", 1144)},
       {0, 72, 144},
       144},
      {"groups written after a later reading are put in tick order",
       {Reading("T1", 500), Reading("T2", 572), Sentence("$A", 530), Reading("T3", 644)},
       {0, 30, 72, 144},
       144},
      {"unwrapped ticks across the 32-bit wrap",
       {Reading("T1", wrap - 100), Sentence("$A", wrap - 40), Reading("T2", wrap + 20)},
       {0, 60, 120},
       120},
      {"a later segment continues 1 s after the last item before it",
       {Reading("T1", 5000), Sentence("$A", 5500), Reading("T2", 90, 1), Sentence("$B", 300, 1),
        Reading("T3", 70000, 2)},
       {0, 500, 1500, 1710, 2710},
       2710},
      {"a segment with nothing to replay adds no gap",
       {Reading("T1", 5000), Reading("", 9000, 1), Reading("T2", 100, 2)},
       {0, 1000},
       1000},
      {"nothing at all", {Reading("", 5)}, {}, 0},
      {"an hour without items is cut to 10 s, for both kinds alike",
       {Reading("T1", 1000), Sentence("$A", 1000 + 3600000), Reading("T2", 1072 + 3600000)},
       {0, 10000, 10072},
       10072,
       1},
      {"a gap of exactly 10 s is kept, a longer one cut",
       {Reading("T1", 0), Reading("T2", 10000), Reading("T3", 30001), Reading("T4", 30073)},
       {0, 10000, 20000, 20072},
       20072,
       1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ReplayTimeline t = BuildReplayTimeline(c.events);
    EXPECT_EQ(Offsets(t), c.offsets);
    EXPECT_EQ(t.endMs, c.endMs);
    EXPECT_EQ(t.gapsShortened, c.gapsShortened);
    EXPECT_EQ(ReplayItemsFor(t, true).gapsShortened, c.gapsShortened);
  }
}

TEST(ReplayTimelineTest, EachDeviceGetsItsItemsOnTheCommonTimeline) {
  ReplayTimeline all = BuildReplayTimeline(
      {Sentence("$A", 100), Reading("T1", 150), Raw("x", 200), Reading("T2", 250), Sentence("$B", 400)});
  ReplayTimeline em = ReplayItemsFor(all, true), gps = ReplayItemsFor(all, false);
  EXPECT_EQ(Offsets(em), (std::vector<uint64_t>{50, 150}));
  EXPECT_EQ(Offsets(gps), (std::vector<uint64_t>{0, 100, 300}));
  EXPECT_EQ(em.endMs, 300u);
  EXPECT_EQ(gps.endMs, 300u);
}

ReplayTimeline Every(uint64_t stepMs, int count) {
  std::vector<ReplayEvent> e;
  for (int i = 0; i < count; ++i) e.push_back(Reading("T" + std::to_string(i), 1000 + i * stepMs));
  return BuildReplayTimeline(e);
}

// Generate calls at the given real times after the start, and the records each returns.
struct Step {
  uint32_t atMs;
  std::string out;
};

void RunSteps(ReplayStream& s, uint32_t start, const std::vector<Step>& steps) {
  for (const Step& step : steps) {
    std::string out;
    s.Generate(start + step.atMs, &out);
    EXPECT_EQ(out, step.out) << "at " << step.atMs;
  }
}

TEST(ReplayStreamTest, SendsItemsWhenDueAtTheChosenSpeed) {
  struct Case {
    const char* name;
    double speed;
    uint32_t start;
    std::vector<Step> steps;
  };
  const Case cases[] = {
      {"original spacing", 1.0, 0, {{0, "T0\r"}, {99, ""}, {100, "T1\r"}, {250, "T2\r"}, {400, "T3\rT4\r"}}},
      {"twice as fast", 2.0, 0, {{0, "T0\r"}, {49, ""}, {50, "T1\r"}, {100, "T2\r"}, {200, "T3\rT4\r"}}},
      {"ten times slower", 0.1, 0, {{0, "T0\r"}, {999, ""}, {1000, "T1\r"}, {2000, "T2\r"}}},
      {"speed beyond the range is clamped", 1000.0, 0, {{0, "T0\r"}, {1, "T1\r"}, {2, "T2\r"}}},
      {"the clock wraps during the replay", 1.0, 0xFFFFFF9Cu, {{0, "T0\r"}, {100, "T1\r"}, {200, "T2\r"}}},
      {"a clock stepping back sends nothing", 1.0, 1000, {{0, "T0\r"}, {-50u, ""}, {100, "T1\r"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ReplayStream s(Every(100, 5), c.speed, false, c.start);
    RunSteps(s, c.start, c.steps);
  }
}

TEST(ReplayStreamTest, EndsAfterTheLastItemOrStartsOver) {
  ReplayStream once(Every(100, 3), 1.0, false, 0);
  RunSteps(once, 0, {{0, "T0\r"}, {150, "T1\r"}});
  EXPECT_FALSE(once.Done());
  RunSteps(once, 0, {{200, "T2\r"}});
  EXPECT_TRUE(once.Done());
  RunSteps(once, 0, {{5000, ""}});
  EXPECT_EQ(once.itemsSent(), 3u);

  // Looping: the pass is 200 ms long, the next one starts 1 s after its end.
  ReplayStream loop(Every(100, 3), 1.0, true, 0);
  RunSteps(loop, 0, {{0, "T0\r"}, {200, "T1\rT2\r"}, {1199, ""}, {1200, "T0\r"}, {1400, "T1\rT2\r"}, {2400, "T0\r"}});
  EXPECT_FALSE(loop.Done());
  EXPECT_EQ(loop.passes(), 2u);

  ReplayStream empty(ReplayTimeline{}, 1.0, true, 0);
  RunSteps(empty, 0, {{0, ""}, {5000, ""}});
  EXPECT_TRUE(empty.Done());
}

TEST(ReplayStreamTest, SkipsTheBacklogAfterAStall) {
  // Generate at `atMs`: `count` records come out, the last of them `last`.
  struct Burst {
    uint32_t atMs;
    size_t count;
    const char* last;
  };
  struct Case {
    const char* name;
    double speed;
    bool loop;
    std::vector<Burst> steps;
    uint64_t skipped;
  };
  const Case cases[] = {
      {"a stall of 2 s is caught up", 1.0, false, {{0, 1, "T0"}, {2050, 20, "T20"}, {2100, 1, "T21"}}, 0},
      {"a longer stall sends only the item due last", 1.0, false, {{0, 1, "T0"}, {3050, 1, "T30"}, {3100, 1, "T31"}},
       29},
      {"the stall is measured in real time", 4.0, false, {{0, 1, "T0"}, {1900, 76, "T76"}, {4000, 1, "T160"}}, 83},
      {"a stall past the end of a pass while looping", 1.0, true, {{0, 1, "T0"}, {25000, 1, "T41"}, {25100, 1, "T42"}},
       240},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ReplayStream s(Every(100, 200), c.speed, c.loop, 0);
    for (const Burst& b : c.steps) {
      std::string out;
      s.Generate(b.atMs, &out);
      const std::vector<std::string> records = [&] {
        std::vector<std::string> r;
        size_t from = 0, cr;
        while ((cr = out.find('\r', from)) != std::string::npos) r.push_back(out.substr(from, cr - from)), from = cr + 1;
        return r;
      }();
      ASSERT_EQ(records.size(), b.count) << "at " << b.atMs;
      EXPECT_EQ(records.back(), b.last) << "at " << b.atMs;
    }
    EXPECT_EQ(s.itemsSkipped(), c.skipped);
  }
}

}  // namespace
}  // namespace obrix::sim
