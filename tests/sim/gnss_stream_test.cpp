#include "sim/gnss_stream.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "gps/line_assembler.h"
#include "gps/nmea_decode.h"
#include "gps/nmea_fields.h"
#include "gps/nmea_table.h"
#include "sim/stream_split.h"

namespace obrix::sim {
namespace {

Scenario WalkNorth() {
  Scenario s;
  s.originLat = 43.6099;
  s.originLon = -79.6107;
  s.headingDeg = 0;
  s.speed = 1.0;
  return s;
}

// Each format's sentence is taken, checked and decoded by the program's own table into the walk's position.
TEST(GnssStreamTest, EveryFormatDecodesToTheWalkPosition) {
  struct Case {
    int format;
    bool slam;
    bool geographic;
    bool checksum;
    const char* tag;
    bool feet;
  };
  const Case cases[] = {
      {0, false, true, true, "GGA", false}, {1, false, true, true, "GGA", false},
      {2, false, true, true, "POS", false}, {3, false, false, true, "LLK", false},
      {4, false, false, true, "LLQ", false}, {5, false, true, true, "GLL", false},
      {6, false, true, true, "GGK", false}, {7, false, false, false, "GGA", false},
      {7, true, false, true, "GGA", false}, {7, false, false, false, "GGA", true},
      {8, false, true, false, "GLL", false},
  };
  const Scenario s = WalkNorth();
  const double walkSeconds = 7.5;
  const WalkPoint w = WalkAt(s, walkSeconds);
  double lat = 0, lon = 0;
  LocalToGeo(s, w.east, w.north, &lat, &lon);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "format " << c.format << (c.slam ? " slam" : "") << (c.feet ? " feet" : ""));
    GnssOptions o;
    o.format = c.format;
    o.slam = c.slam;
    o.rtsFeet = c.feet;
    o.quality = 2;
    o.satellites = 9;
    GnssStream stream(o, s, 0, 0, 0);
    auto lines = test::AssembleNmeaLines(stream.Epoch(walkSeconds, 12 * 3600 + 34 * 60 + 56.78));
    ASSERT_EQ(lines.size(), c.format == 0 ? 2u : 1u);
    const NmeaTable table = MakeNmeaTable(c.format, c.slam ? 1 : 0);
    const std::string& pos = lines[0];
    EXPECT_TRUE(NmeaHasTag(pos, table.NmeaPositionTag));
    EXPECT_TRUE(NmeaHasTag(pos, c.tag));
    EXPECT_EQ(JudgeLine(pos, table.NmeaChecksumRequired), table.NmeaChecksumRequired ? LineVerdict::Checked
                                                                                      : LineVerdict::Unchecked);
    EXPECT_EQ(pos.find('*') != std::string::npos, c.checksum);
    if (c.checksum) {
      EXPECT_TRUE(NmeaChecksumOk(pos));
    }

    FixDecode d = DecodeFixSentence(pos, CurrentFixValues{}, table, FixDecodeOptions{});
    EXPECT_EQ(d.fix.FixValid, 1);
    EXPECT_EQ(d.geographic, c.geographic);
    if (c.geographic) {
      EXPECT_NEAR(d.latitude, lat, 1e-6);
      EXPECT_NEAR(d.longitude, lon, 1e-6);
    } else {
      EXPECT_NEAR(d.gridNorthing, o.gridNorthOrigin + w.north, 0.002);
      EXPECT_NEAR(d.gridEasting, o.gridEastOrigin + w.east, 0.002);
    }
    EXPECT_NEAR(d.fixTime, 12 * 3600 + 34 * 60 + 56.78, 0.006);
    if (c.format == 0) {
      EXPECT_TRUE(NmeaHasTag(lines[1], "GSA"));
      EXPECT_TRUE(NmeaChecksumOk(lines[1]));
      GsaDecode g = DecodeGsaDop(lines[1], 0);
      EXPECT_TRUE(g.hasDop);
      EXPECT_DOUBLE_EQ(g.FixDop, o.pdop);
    }
  }
}

TEST(GnssStreamTest, SatellitesAndQualityReachTheFix) {
  GnssOptions o;
  o.format = 1;
  o.quality = 0;  // no fix
  o.satellites = 4;
  GnssStream stream(o, WalkNorth(), 0, 0, 0);
  auto lines = test::AssembleNmeaLines(stream.Epoch(0, 0));
  ASSERT_EQ(lines.size(), 1u);
  FixDecode d = DecodeFixSentence(lines[0], CurrentFixValues{}, MakeNmeaTable(1, 0), FixDecodeOptions{});
  EXPECT_EQ(d.fix.FixSatellites, 4);
  EXPECT_EQ(d.fix.FixQuality, 0);
  EXPECT_EQ(d.fix.FixValid, 0);
}

TEST(GnssStreamTest, EpochsFollowTheRate) {
  struct Case {
    int rate;
    uint32_t runMs;
    size_t epochs;
  };
  const Case cases[] = {{1, 2999, 3}, {5, 1000, 6}, {3, 1000, 4}, {10, 990, 10}, {25, 1000, 11}};  // 25 -> 10 Hz
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rate);
    GnssOptions o;
    o.rateHz = c.rate;
    GnssStream stream(o, WalkNorth(), 0xFFFFFE00u, 0, 0);
    std::string bytes;
    for (uint32_t t = 0; t <= c.runMs; t += 5) stream.Generate(0xFFFFFE00u + t, &bytes);
    stream.Generate(0xFFFFFE00u + c.runMs, &bytes);
    EXPECT_EQ(test::AssembleNmeaLines(bytes).size(), c.epochs);
  }
}

TEST(GnssStreamTest, SilenceWindowsSendNothing) {
  GnssOptions o;
  o.rateHz = 10;
  GnssStream stream(o, WalkNorth(), 0, 0, 0);
  stream.AddSilence(1000, 3100);
  std::string bytes;
  stream.Generate(950, &bytes);
  EXPECT_EQ(test::AssembleNmeaLines(bytes).size(), 10u);
  bytes.clear();
  for (uint32_t t = 950; t < 4100; t += 50) stream.Generate(t, &bytes);
  EXPECT_TRUE(bytes.empty());
  stream.Generate(4100, &bytes);
  EXPECT_EQ(test::AssembleNmeaLines(bytes).size(), 1u);

  bytes.clear();
  stream.SilenceNow(500);
  stream.Generate(4550, &bytes);
  EXPECT_TRUE(bytes.empty());
  stream.Generate(4600, &bytes);
  EXPECT_EQ(test::AssembleNmeaLines(bytes).size(), 1u);
}

TEST(GnssStreamTest, FaultsReachTheLineRulesAsRejectedLines) {
  GnssOptions o;
  o.format = 0;  // GGA and GSA: two checksummed sentences an epoch
  o.rateHz = 10;
  o.badChecksumEvery = 3;
  o.garbageEvery = 1;
  GnssStream stream(o, WalkNorth(), 0, 0, 0);
  std::string bytes;
  stream.Generate(200, &bytes);  // three epochs
  int checked = 0, rejected = 0, long_ = 0;
  for (const std::string& line : test::AssembleNmeaLines(bytes)) {
    if (JudgeLine(line, true) == LineVerdict::Checked)
      ++checked;
    else
      ++rejected;
    if (line.size() > 200) ++long_;
  }
  // Six sentences, two with a broken checksum; three garbage lines, none taken (of the 250-character line only
  // the tail after the restart arrives).
  EXPECT_EQ(checked, 4);
  EXPECT_EQ(rejected, 2 + 3);
  EXPECT_EQ(long_, 0);
}

TEST(GnssStreamTest, FieldTexts) {
  struct Case {
    double value;
    bool latitude;
    const char* text;
  };
  const Case cases[] = {
      {43.0 + 36.594 / 60, true, "4336.59400"},
      {-79.0 - 36.6403 / 60, false, "07936.64030"},
      {9.9999999999, true, "1000.00000"},  // minutes round up into the next degree
      {0.0, false, "00000.00000"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.latitude ? NmeaLatitude(c.value) : NmeaLongitude(c.value), c.text) << c.value;
  EXPECT_EQ(NmeaTime(12 * 3600 + 34 * 60 + 56.789), "123456.79");
  EXPECT_EQ(NmeaTime(86399.999), "000000.00");
  EXPECT_EQ(NmeaTime(-1.0), "235959.00");
  EXPECT_EQ(NmeaFinish("$GPGSA,A,3,01,07,08,11,13,17,27,28,30,,,,3.6,2.0,3.0", true),
            "$GPGSA,A,3,01,07,08,11,13,17,27,28,30,,,,3.6,2.0,3.0*30\r\n");
  EXPECT_FALSE(NmeaChecksumOk(NmeaFinish("$GPGGA,1", true, true)));
}

}  // namespace
}  // namespace obrix::sim
