#include "sim/em38_stream.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "em38/em38_record.h"
#include "sim/stream_split.h"

namespace obrix::sim {
namespace {

// Records of `bytes`; nothing may follow the last CR.
std::vector<std::string> SplitRecords(const std::string& bytes) {
  size_t rest = 0;
  std::vector<std::string> out = test::SplitCrRecords(bytes, &rest);
  EXPECT_EQ(rest, 0u) << "bytes after the last CR";
  return out;
}


// Every record the simulator makes must read back, through the program's own decoder, as what was asked for.
TEST(Em38StreamTest, RecordsDecodeToTheChosenStatusAndValue) {
  struct Case {
    const char* name;
    bool cond, vertical, r1000, div8, marker;
    double value;
    int channel;
    short range;
  };
  const Case cases[] = {
      {"cond V 100", true, true, false, false, false, 25.0, kCondVertical, 100},
      {"cond H 1000 marker", true, false, true, false, true, 512.0, kCondHorizontal, 1000},
      {"cond V div8 small", true, true, false, true, false, 1.5375, kCondVertical, 100},
      {"inph V 1000", false, true, true, false, false, -14.4, kInphVertical, 1000},
      {"inph H 100 marker", false, false, false, false, true, 3.0, kInphHorizontal, 100},
      {"cond negative reading", true, true, false, false, false, -12.3, kCondVertical, 100},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Em38Options o;
    o.conductivity = c.cond;
    o.vertical = c.vertical;
    o.range1000 = c.r1000;
    o.divide8 = c.div8;
    for (int length : {7, 12}) {
      o.length = length;
      std::string rec = FormatEm38Record(o, c.value, c.marker);
      ASSERT_EQ(rec.size(), static_cast<size_t>(length) + 1);
      ASSERT_EQ(rec.back(), '\r');
      Em38Reading r = ParseEm38Record(std::string_view(rec).substr(0, length));
      EXPECT_EQ(r.channel, c.channel);
      EXPECT_EQ(r.range, c.range);
      EXPECT_EQ(r.marker, c.marker ? 'M' : 'N');
      EXPECT_EQ(r.dipole, c.vertical ? 'V' : 'H');
      // One count of resolution at most.
      double scale = (c.cond ? (c.r1000 ? 1.0 : 0.1) : (c.r1000 ? 0.0288 : 0.00288)) / (c.div8 ? 8 : 1);
      EXPECT_NEAR(r.value, c.value, scale * 0.51);
    }
  }
}

TEST(Em38StreamTest, CountsAreClampedToFiveCharacters) {
  Em38Options o;  // conductivity, range 100: counts = value / -0.1
  EXPECT_EQ(FormatEm38Record(o, 5000.0, false).substr(2, 5), "-9999");
  EXPECT_EQ(FormatEm38Record(o, -1e9, false).substr(2, 5), "99999");
  EXPECT_EQ(FormatEm38Record(o, NAN, false).substr(2, 5), "00000");
  EXPECT_EQ(FormatEm38Record(o, 0.0, false).substr(2, 5), "00000");
}

// The framing of a reader relies on CR and LF appearing only as terminators.
TEST(Em38StreamTest, StatusByteNeverLooksLikeATerminatorOrNul) {
  for (int bits = 0; bits < 32; ++bits) {
    Em38Options o;
    o.conductivity = bits & 1;
    o.vertical = bits & 2;
    o.range1000 = bits & 4;
    o.divide8 = bits & 8;
    const bool marker = bits & 16;
    unsigned char s = Em38StatusByte(o, marker);
    EXPECT_NE(s, '\r') << bits;
    EXPECT_NE(s, '\n') << bits;
    EXPECT_NE(s, 0) << bits;
  }
}

TEST(Em38StreamTest, RecordsFollowThePeriodOfTheirLength) {
  struct Case {
    int length;
    uint32_t start;
    uint32_t runMs;
    size_t expected;
  };
  const Case cases[] = {
      {7, 1000, 720, 11},         // records at 0, 72, ..., 720
      {12, 1000, 910, 11},        // records at 0, 91, ..., 910
      {7, 0xFFFFFF00u, 1440, 21}, // across the wrap of the tick counter
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.length);
    Em38Options o;
    o.length = c.length;
    Em38Stream stream(o, Scenario{}, c.start);
    std::string bytes;
    // Polled every 5 ms, as the simulator does; nothing is sent twice or lost.
    for (uint32_t t = 0; t <= c.runMs; t += 5) stream.Generate(c.start + t, &bytes);
    stream.Generate(c.start + c.runMs, &bytes);
    auto records = SplitRecords(bytes);
    EXPECT_EQ(records.size(), c.expected);
    for (const auto& r : records) EXPECT_EQ(r.size(), static_cast<size_t>(c.length));
  }
}

TEST(Em38StreamTest, StallSkipsTheBacklog) {
  Em38Stream stream(Em38Options{}, Scenario{}, 0);
  std::string bytes;
  stream.Generate(0, &bytes);
  bytes.clear();
  stream.Generate(10000, &bytes);  // ten seconds late: one record, not 139
  EXPECT_EQ(SplitRecords(bytes).size(), 1u);
  bytes.clear();
  stream.Generate(10000 + 72, &bytes);
  EXPECT_EQ(SplitRecords(bytes).size(), 1u);
}

TEST(Em38StreamTest, ValueSourcesAndMarkers) {
  Em38Options o;
  o.source = ValueSource::Ramp;
  o.rampFrom = 10;
  o.rampTo = 30;
  o.rampSeconds = 10;
  Em38Stream ramp(o, Scenario{}, 0);
  EXPECT_DOUBLE_EQ(ramp.ValueAt(0), 10);
  EXPECT_DOUBLE_EQ(ramp.ValueAt(5000), 20);
  EXPECT_DOUBLE_EQ(ramp.ValueAt(12500), 15);  // repeats

  Scenario s;
  s.speed = 1.0;
  s.headingDeg = 0;
  s.anomalyEast = 0;
  s.anomalyNorth = 20;  // on line 1, reached after 20 s
  o.source = ValueSource::Scenario;
  Em38Stream field(o, s, 0, 0.0);
  EXPECT_NEAR(field.ValueAt(20000), s.backgroundCond + s.anomalyCond, 1e-9);
  EXPECT_LT(field.ValueAt(0), s.backgroundCond + 1.0);

  o.source = ValueSource::Constant;
  o.markerEverySeconds = 2;
  o.markerHoldMs = 300;
  Em38Stream marks(o, Scenario{}, 0);
  EXPECT_FALSE(marks.MarkerAt(0));
  EXPECT_TRUE(marks.MarkerAt(2000));
  EXPECT_TRUE(marks.MarkerAt(2299));
  EXPECT_FALSE(marks.MarkerAt(2300));
  EXPECT_TRUE(marks.MarkerAt(4100));

  Em38Stream pressed(Em38Options{}, Scenario{}, 0);
  std::string bytes;
  pressed.Generate(1000, &bytes);
  pressed.PressMarker();
  EXPECT_TRUE(pressed.MarkerAt(1000));
  EXPECT_TRUE(pressed.MarkerAt(1299));
  EXPECT_FALSE(pressed.MarkerAt(1300));
}

}  // namespace
}  // namespace obrix::sim
