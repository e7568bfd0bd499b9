#include <gtest/gtest.h>

#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

#include "background/background_list.h"
#include "background/bg_record.h"
#include "background/data_import.h"
#include "datafile/data_file.h"
#include "datafile/writers.h"
#include "gps/fix_state.h"
#include "gps/projection.h"
#include "platform/files.h"
#include "platform/numbers.h"
#include "settings/settings.h"
#include "state/session.h"
#include "test_support.h"

namespace obrix {
namespace {

TEST(DataBackgroundSource, KindsAndRecordLengths) {
  struct Case {
    const char* head;
    int kind;
  } kinds[] = {{"EM38xxxx", 0}, {"xxPROxxx", 0}, {"QL12 PRO", 0}, {"QL12    ", 1},
               {"TRN1    ", 2}, {"OBX38   ", 3}, {"oBX38   ", -1}, {"XXXXXXOB", 3}, {"XXXXXXXXOB", -1}};
  for (const Case& c : kinds) EXPECT_EQ(BgSourceKindOf(c.head), c.kind) << c.head;
  EXPECT_EQ(BgRecordLengthOf(std::string(26, 'x') + "\n"), 27);
  EXPECT_EQ(BgRecordLengthOf(std::string(36, 'x') + "\n"), 0);

  struct Sel {
    int kind;
    char digit;
    BgSentence sentence;
  } selections[] = {{0, 'x', BgSentence::Gga},     {3, '1', BgSentence::Gga},  {3, '2', BgSentence::Pos},
                    {3, '6', BgSentence::Ggk},     {3, '7', BgSentence::RtsGga}, {3, '8', BgSentence::Gll},
                    {3, '9', BgSentence::None},    {2, '8', BgSentence::None}, {2, '9', BgSentence::RtsMark},
                    {1, '8', BgSentence::Gll},     {1, '9', BgSentence::RtsMark}, {3, ' ', BgSentence::None}};
  for (const Sel& s : selections) EXPECT_EQ(BgSentenceFor(s.kind, s.digit), s.sentence) << s.kind << s.digit;
}

TEST(DataBackgroundSource, InspectRejectsUnsupportedFiles) {
  test::TempDir dir;
  struct Case {
    const char* name;
    std::string bytes;
    bool supported;
  } cases[] = {
      {"short", "OBX38\n", false},
      {"no line feed in 36 bytes", "OBX38" + std::string(40, ' ') + "\n", false},
      {"records beyond the record buffer", "OBX38" + std::string(26, ' ') + "\n", false},
      {"unknown identifier", "ZZX38" + std::string(21, ' ') + "\n" + std::string(27, ' '), false},
      {"own file", "OBX38" + std::string(21, ' ') + "\n", true},
  };
  for (const Case& c : cases) {
    const std::string path = dir.file("f.T38");
    test::WriteFile(path, c.bytes);
    const int fd = ::open(path.c_str(), O_RDONLY);
    EXPECT_EQ(InspectBgSource(fd).has_value(), c.supported) << c.name;
    ::close(fd);
  }
}

TEST(DataBackgroundSource, DecodesEachSentenceKind) {
  int zone = 0;
  const UtmCoordinates sw = GeoToUtm(-(10 + 30.0 / 60), -(3 + 15.0 / 60), zone, 0);
  struct Case {
    const char* sentence;
    BgSentence kind;
    int units, mapUnits;
    bool ok;
    double e, n;
  } cases[] = {
      {"$GPGGA,1,1030.000,S,00315.000,W,1,8", BgSentence::Gga, 0, 0, true, sw.easting, sw.northing},
      {"$GPGLL,1030.000,S,00315.000,W,1", BgSentence::Gll, 0, 0, true, sw.easting, sw.northing},
      {"$GPGGA,1,1030.000,,00315.000,W,1,8", BgSentence::Gga, 0, 0, false, 0, 0},
      {"$GPGGA,1,1030.000,S,00315.000", BgSentence::Gga, 0, 0, false, 0, 0},
      {"$GPGGA,1,10x0.000,S,00315.000,W", BgSentence::Gga, 0, 0, false, 0, 0},
      {"$GPLLQ,1,2,304.8,M,609.6,M", BgSentence::Llq, 0, 1, true, 1000, 2000},
      {"$GPGGA,1,1000.0,N,2000.0,E,1,8,1,0,F", BgSentence::RtsGga, 1, 0, true, 2000 * 0.304800609601219,
       1000 * 0.304800609601219},
      {"$GPGGA,1,1000.0,N,2000.0,E,1,8,1,0,M", BgSentence::RtsGga, 0, 1, true, 2000 * 3.28084, 1000 * 3.28084},
      {">RTS,37=100.5,38=200.25,X*1F", BgSentence::RtsMark, 1, 0, true, 200.25 * 0.3048, 100.5 * 0.3048},
      {">RTS,37=100.5,X", BgSentence::RtsMark, 0, 0, false, 0, 0},
  };
  for (const Case& c : cases) {
    double e = 0, n = 0;
    EXPECT_EQ(DecodeBgSentence(c.sentence, c.kind, c.units, c.mapUnits, e, n), c.ok) << c.sentence;
    if (!c.ok) continue;
    EXPECT_NEAR(e, c.e, 1e-6) << c.sentence;
    EXPECT_NEAR(n, c.n, 1e-6) << c.sentence;
  }
}

// A survey file made with the real writers: GGA groups walking east along the equator, 0.01 minute apart,
// between a GSA group and a raw line group that must be ignored.
class DataBackgroundFile : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetFix();
    ResetBackgrounds();
    ResetDataFile();
  }
  void TearDown() override { ResetDataFile(); }

  std::string Gga(int i) {
    return FormatC("$GPGGA,120000.00,0000.0000,N,003%07.4f,E,1,08,0.9,10.0,M,0.0,M,,*47", 0.01 * i);
  }
  UtmCoordinates Position(int i) {
    int zone = 0;
    return GeoToUtm(0.0, 3.0 + 0.01 * i / 60.0, zone, 0);
  }
  std::string MakeSurvey(double lateral, double along, int positions) {
    Config().lateralOffset = lateral;
    Config().alongOffset = along;
    Config().nmeaFormat = 1;
    const std::string path = root_.dir().file("survey.T38");
    RemoveFile(path);
    AttachDataFile(OpenExclusive(path, OpenMode::AppendCreate));
    DataFile().DataFileBaseName = "survey";
    EXPECT_TRUE(WriteHeaderBlock(0));
    EXPECT_TRUE(WriteLineBlock());
    for (int i = 0; i < positions; ++i) {
      EXPECT_TRUE(WriteGpsSentence(Gga(i), 1000 + i, '@', '#', '!', ' ', i + 1));
      EXPECT_TRUE(WriteGpsSentence("$GPGSA,A,3,04,05,,,,,,,,,,,2.5,1.3,2.1*39", 1000 + i, '@', '#', '!', ' ', i + 1));
      EXPECT_TRUE(WriteGpsSentence("$GPGGA,garbled", 1000 + i, '?', '"', '!', ' ', i + 1));
    }
    ResetDataFile();
    return path;
  }
  std::vector<BgPoint> Convert(const std::string& path, int mapUnits, BgSource* seen = nullptr) {
    const int in = ::open(path.c_str(), O_RDONLY);
    std::optional<BgSource> source = InspectBgSource(in);
    EXPECT_TRUE(source.has_value());
    if (!source) return {};
    if (seen) *seen = *source;
    const std::string temp = root_.dir().file("surveyT38.$00");
    const int out = OpenExclusive(temp, OpenMode::CreateAlways);
    const BgConvertResult r = ConvertProgramDataBackground(in, out, *source, mapUnits);
    ::close(in);
    CloseFile(out);
    EXPECT_FALSE(r.writeFailed);
    EXPECT_EQ(Backgrounds().BgRecordCount, r.records);
    const std::string bytes = test::ReadFile(temp);
    EXPECT_EQ(bytes.size(), size_t(r.records) * kBgRecordBytes);
    std::vector<BgPoint> points;
    for (size_t at = 0; at + kBgRecordBytes <= bytes.size(); at += kBgRecordBytes) {
      BgPoint p;
      EXPECT_TRUE(ParseBgRecord(std::string_view(bytes).substr(at, kBgRecordBytes), p));
      EXPECT_EQ(p.labelLength, 0);
      points.push_back(p);
    }
    return points;
  }
  test::DataRootFixture root_;
};

TEST_F(DataBackgroundFile, PositionsPlacedWithTheRecordedOffsets) {
  // Travel is east, so "left" is north; the along offset moves the point behind (west) or ahead (east).
  struct Case {
    const char* name;
    double lateral, along;
    int mapUnits;
    int method;
    double dE, dN;  // expected shift from each recorded position, map units
  } cases[] = {
      {"lateral only", 0.3, 0.0, 0, 0, 0.0, 0.3},
      {"trailing sensor on the track", 0.3, 2.0, 0, 1, -2.0, 0.3},
      {"sensor ahead", 0.0, -1.5, 0, -1, 1.5, 0.0},
      {"feet map", 0.3, 0.0, 1, 0, 0.0, 0.3 / 0.3048},
  };
  const int positions = 6;
  for (const Case& c : cases) {
    ResetFix();
    const std::string path = MakeSurvey(c.lateral, c.along, positions);
    BgSource source;
    const std::vector<BgPoint> points = Convert(path, c.mapUnits, &source);
    EXPECT_EQ(source.kind, 3) << c.name;
    EXPECT_EQ(source.offsetMethod, c.method) << c.name;
    // The first position only gives the direction.
    ASSERT_EQ(points.size(), size_t(positions - 1)) << c.name;
    const double perUnit = c.mapUnits == 1 ? 0.3048 : 1.0;
    for (int i = 1; i < positions; ++i) {
      const UtmCoordinates u = Position(i);
      EXPECT_NEAR(points[i - 1].easting, u.easting / perUnit + c.dE, 2e-3) << c.name << " " << i;
      EXPECT_NEAR(points[i - 1].northing, u.northing / perUnit + c.dN, 2e-3) << c.name << " " << i;
    }
    EXPECT_EQ(Fix().TrackExtent.maxEasting, 0.0) << c.name << ": only a kept file widens the extent";
  }
}

TEST_F(DataBackgroundFile, LongTrailingOffsetExtendsTheTrackBackwards) {
  // 18.5 m between positions, 50 m behind: the first points lie beyond the start of the recorded track.
  const std::string path = MakeSurvey(0.0, 50.0, 4);
  const std::vector<BgPoint> points = Convert(path, 0);
  ASSERT_EQ(points.size(), 3u);
  for (int i = 1; i < 4; ++i) EXPECT_NEAR(points[i - 1].easting, Position(i).easting - 50.0, 2e-3) << i;
}

}  // namespace
}  // namespace obrix
