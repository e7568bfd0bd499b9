// Byte images of every record kind.
#include <gtest/gtest.h>

#include <string>

#include "datafile/records.h"
#include "settings/settings.h"

namespace obrix {
namespace {

LocalTime At(int y, int mo, int d, int h, int mi, int s, int ms) {
  LocalTime t;
  t.year = y;
  t.month = mo;
  t.day = d;
  t.hour = h;
  t.minute = mi;
  t.second = s;
  t.millisecond = ms;
  return t;
}

// Expected text of offsets 0..25 (padded here with spaces to 26) and the line feed.
std::string Rec(std::string text) {
  text.resize(26, ' ');
  return text + "\n";
}

std::string Sp(size_t n) { return std::string(n, ' '); }

struct Case {
  const char* name;
  std::string actual;
  std::string expected;
};

class RecordImageTest : public testing::TestWithParam<Case> {};

TEST_P(RecordImageTest, MatchesByteForByte) {
  const Case& c = GetParam();
  ASSERT_EQ(c.actual.size(), 27u) << c.name;
  EXPECT_EQ(c.actual, c.expected) << c.name;
  EXPECT_EQ(c.actual.find('\r'), std::string::npos);
}

Settings Survey() {
  Settings s;
  s.gpsInput = 1;
  s.mapUnits = 2;
  s.dipoleMode = 1;
  s.loggingMode = 0;
  s.component = 1;
  s.modelOption = 0;
  s.instrumentEnabled = 1;
  s.lateralOffset = 0.3;
  s.alongOffset = -1.25;
  s.rtsUnits = 1;
  s.slamPseudoGga = 0;
  s.nmeaFormat = 6;
  return s;
}

Settings GroundOnly() {
  Settings s = Survey();
  s.gpsInput = 0;
  s.instrumentEnabled = 0;
  s.mapUnits = 0;
  return s;
}

const LocalTime kT = At(2026, 3, 1, 9, 5, 7, 42);

INSTANTIATE_TEST_SUITE_P(
    Kinds, RecordImageTest,
    testing::Values(
        Case{"identifier", IdentifierRecord(Survey(), 0), Rec("OBX38   W215GPS21010 1")},
        Case{"identifier on append", IdentifierRecord(Survey(), 1), Rec("oBX38   W215GPS21010 1")},
        Case{"identifier GPS off", IdentifierRecord(GroundOnly(), -1), Rec("OBX38   W215GRD01010 0")},
        Case{"file name", FileNameRecord("260301_000", 0.2), Rec("H260301_000  0.200     0")},
        Case{"file name of 15 keeps 10", FileNameRecord("ABCDEFGHIJKLMNO", 1.5), Rec("HABCDEFGHIJ  1.500     0")},
        Case{"file name short", FileNameRecord("A", 0.2), Rec("HA           0.200     0")},
        Case{"settings", SettingsRecord(Survey()), Rec("G  0.300 -1.250 71061")},
        Case{"origin easting", OriginEastingRecord(617001.25, 17), Rec("G    617001.250 17")},
        Case{"origin easting zone 5", OriginEastingRecord(0.0, 5), Rec("G         0.000 05")},
        Case{"origin easting no zone", OriginEastingRecord(0.0, -9), Rec("G         0.000 -9")},
        Case{"origin easting too wide", OriginEastingRecord(1.0e15, 123), Rec("G10000000000000 12")},
        Case{"origin northing", OriginNorthingRecord(4828123.4567), Rec("G   4828123.457")},
        Case{"line", LineRecord("North 7", false, ""), Rec("LNorth 7")},
        Case{"line 13 characters cut", LineRecord("ABCDEFGHIJKLM", false, ""), Rec("LABCDEFGHIJKL")},
        Case{"line with overflow", LineRecord("1", true, "KLMNO"), Rec("L1" + Sp(11) + "KLMNO")},
        Case{"line narrowed", LineRecord("Z\xC3\xBCrich \xCE\xA9", false, ""), Rec("LZ\xFCrich ?")},
        Case{"start station", StartStationRecord(-12.5), Rec("B     -12.50")},
        Case{"direction", DirectionRecord(3, -0.25), Rec("AE           -0.250")},
        Case{"direction north", DirectionRecord(2, 1.0), Rec("AN            1.000")},
        Case{"date", DateRecord(kT), Rec("Z01032026 09:05:07")},
        Case{"time mark", TimeMarkRecord(kT, 4294967295u), Rec("*09:05:07.042" + Sp(3) + "4294967295")},
        Case{"time mark small tick", TimeMarkRecord(kT, 7), Rec("*09:05:07.042" + Sp(12) + "7")},
        Case{"station", StationRecord(12.345, kT), Rec("S" + Sp(6) + "12.35" + Sp(2) + "09:05:07.042")},
        Case{"reading 7", ReadingRecord("T<-0123", 123456), Rec("T<-0123" + Sp(13) + "123456")},
        Case{"reading 12", ReadingRecord("T#00500abcde", 1), Rec("T#00500abcde" + Sp(13) + "1")},
        Case{"event", EventRecord('X', "$STARTED", 99), Rec("X$STARTED" + Sp(15) + "99")},
        Case{"event 12 keeps 11", EventRecord('X', "GPS CONN BRK", 5), Rec("XGPS CONN BR" + Sp(13) + "5")},
        Case{"empty comment", EventRecord('C', "", 10), Rec("C" + Sp(23) + "10")},
        Case{"swath start", SwathBlock('{', 0, 1, 2, 3, 4), Rec("{0         0.000")},
        Case{"swath value", SwathRecord('{', 'c', -617001.25), Rec("{c   -617001.250")}));

TEST(SwathBlock, CornerSetsUseTheirSubKinds) {
  std::string set1 = SwathBlock('{', 1, 1.0, 2.0, 3.0, 4.0);
  std::string set2 = SwathBlock('{', 2, 5.0, 6.0, 7.0, 8.0);
  EXPECT_EQ(set1, Rec("{a         1.000") + Rec("{b         2.000") + Rec("{c         3.000") + Rec("{d         4.000"));
  EXPECT_EQ(set2, Rec("{e         5.000") + Rec("{f         6.000") + Rec("{g         7.000") + Rec("{h         8.000"));
  EXPECT_EQ(SwathBlock('{', 3, 0, 0, 0, 0), "");
  EXPECT_EQ(SwathBlock('{', -1, 0, 0, 0, 0), "");
}

TEST(SentenceGroup, SplitsIntoLinesOf25WithTrailer) {
  const std::string trailerP = Rec("!000042p" + Sp(14) + "1000");
  const std::string trailer = Rec("!000042" + Sp(15) + "1000");
  std::string s25(25, 'a');
  std::string s26 = s25 + "b";
  std::string s50 = s25 + std::string(25, 'c');
  struct {
    std::string text;
    char fix;
    std::string expected;
  } cases[] = {
      {"", ' ', Rec("@") + trailer},
      {"$GPGGA,1", 'p', Rec("@$GPGGA,1") + trailerP},
      {s25, ' ', "@" + s25 + "\n" + trailer},
      {s26, ' ', "@" + s25 + "\n" + Rec("#b") + trailer},
      {s50, ' ', "@" + s25 + "\n#" + std::string(25, 'c') + "\n" + trailer},
  };
  for (const auto& c : cases)
    EXPECT_EQ(SentenceGroup(c.text, 1000, '@', '#', '!', c.fix, 42), c.expected) << c.text.size();
  EXPECT_EQ(SentenceGroup(s26, 7, '?', '"', '!', ' ', 3), "?" + s25 + "\n" + Rec("\"b") + Rec("!000003" + Sp(18) + "7"));
}

}  // namespace
}  // namespace obrix
