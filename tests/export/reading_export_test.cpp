#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fcntl.h>
#include <map>
#include <stdexcept>
#include <unistd.h>
#include <vector>

#include "export/survey_export.h"
#include "export/sim_survey.h"
#include "gps/length_units.h"
#include "sim/scenario.h"
#include "test_support.h"

namespace obrix {
namespace {

class ReadingExportTest : public ::testing::Test {
 protected:
  std::vector<ExportRow> Export(const std::string& path, ExportSummary* summary = nullptr, ExportOptions options = {}) {
    std::vector<ExportRow> rows;
    const int fd = ::open(path.c_str(), O_RDONLY);
    EXPECT_GE(fd, 0);
    EXPECT_EQ(CheckSurveyFile(fd), SurveyFileCheck::Ok);
    ExportSummary s = ExportSurvey(fd, [&rows](const ExportRow& r) { rows.push_back(r); }, options);
    ::close(fd);
    if (summary) *summary = s;
    return rows;
  }
  std::map<uint32_t, test::SimReading> ByTick(const test::SimSurvey& s) {
    std::map<uint32_t, test::SimReading> m;
    for (const auto& r : s.readings) m[r.tick] = r;
    return m;
  }
  // Distance in metres from a row's sensor point to the expected one (map units converted back).
  double Miss(const test::SimSurvey& s, const ExportRow& row, const test::SimReading& want) {
    const UtmCoordinates u = s.Utm(want.east, want.north);
    const double e = LengthUnitToMetres(row.easting, row.mapUnits), n = LengthUnitToMetres(row.northing, row.mapUnits);
    return std::hypot(e - u.easting, n - u.northing);
  }
  std::string Path() { return root_.dir().file("survey.T38"); }

  void SetUp() override { ResetDataFile(); }
  void TearDown() override { ResetDataFile(); }
  test::DataRootFixture root_;
};

TEST_F(ReadingExportTest, ReadingsLieOnTheSensorPathWithTheirValuesAndTimes) {
  test::SimSurvey s;
  s.markerEvery = 7;
  s.Open(Path());
  s.Run(90000);  // past two line ends
  s.Close();
  ExportSummary summary;
  const std::vector<ExportRow> rows = Export(Path(), &summary);
  ASSERT_EQ(rows.size(), s.readings.size());
  EXPECT_EQ(summary.skippedRecords, 0);
  EXPECT_EQ(summary.counts.fixes, 90);
  const auto want = ByTick(s);
  int checked = 0;
  for (size_t i = 0; i < rows.size(); ++i) {
    const ExportRow& row = rows[i];
    SCOPED_TRACE(i);
    ASSERT_TRUE(want.count(row.tick));
    const test::SimReading& w = want.at(row.tick);
    EXPECT_NEAR(row.value, w.value, 0.051);
    EXPECT_EQ(row.value, std::round(row.value * 10) / 10);  // 0.1 mS/m steps, printed without binary noise
    EXPECT_EQ(row.marker, w.marker);
    EXPECT_TRUE(row.conductivity);
    EXPECT_EQ(row.dipole, 'V');
    EXPECT_EQ(row.line, "L1");
    EXPECT_DOUBLE_EQ(row.station, static_cast<double>(i));
    const int64_t elapsed = row.tick - s.startTick;
    ASSERT_TRUE(row.hasLocal);
    EXPECT_EQ(DayText(row.localDay), "2024-05-17");
    EXPECT_EQ(row.localMs, 14 * 3600000 + elapsed);
    ASSERT_TRUE(row.hasUtc);
    EXPECT_NEAR(row.utcSeconds, s.utcStart + elapsed / 1000.0, 0.0011);
    EXPECT_TRUE(row.hasFix);
    EXPECT_EQ(row.quality, s.gnss.quality);
    EXPECT_EQ(row.satellites, s.gnss.satellites);
    EXPECT_DOUBLE_EQ(row.dop, s.gnss.hdop);
    if (i + 1 < rows.size()) {
      // Every reading but those after the last fix is placed.
      if (row.tick <= s.startTick + 89000) {
        ASSERT_TRUE(row.positioned);
        EXPECT_EQ(row.flags, 0u);
        EXPECT_EQ(row.zone, 17);
        // Between fixes the track is straight; at a line end it cuts the corner by at most half a step.
        EXPECT_LT(Miss(s, row, w), w.turning ? 0.7 : 0.5);
        ASSERT_TRUE(row.hasGeo);
        double lat = 0, lon = 0;
        sim::LocalToGeo(s.scenario, w.east, w.north, &lat, &lon);
        const double de = (row.longitude - lon) * 111320.0 * std::cos(lat * M_PI / 180.0);
        const double dn = (row.latitude - lat) * 110900.0;
        EXPECT_LT(std::hypot(de, dn), w.turning ? 0.7 : 0.5);
        ++checked;
      }
    }
  }
  EXPECT_GT(checked, 1200);
  EXPECT_FALSE(rows.back().positioned);
  EXPECT_EQ(rows.back().flags, static_cast<unsigned>(kFlagAfterLastFix));
}

TEST_F(ReadingExportTest, OffsetsAndUnitsMoveThePointsAsTheSensorMoves) {
  struct Case {
    const char* name;
    double lateral, along;
    int mapUnits;
    double heading;
  } cases[] = {
      {"across and behind", 0.3, 1.0, 0, 0.0},
      {"across and behind, feet", 0.3, 1.0, 1, 0.0},
      {"across and behind, US feet, heading north-east", 0.3, 1.0, 2, 45.0},
      {"ahead of the antenna", 0.0, -0.8, 0, 90.0},
      {"to the right, far behind", -0.5, 3.0, 0, 0.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::SimSurvey s;
    s.lateral = c.lateral;
    s.along = c.along;
    s.mapUnits = c.mapUnits;
    s.scenario.headingDeg = c.heading;
    s.Open(Path());
    s.Run(45000);
    s.Close();
    const std::vector<ExportRow> rows = Export(Path());
    const auto want = ByTick(s);
    int checked = 0;
    for (const ExportRow& row : rows) {
      const test::SimReading& w = want.at(row.tick);
      if (!row.positioned || w.turning) continue;
      // The first seconds along a trailing offset lie on the track extended backwards, like the walk.
      EXPECT_EQ(row.mapUnits, c.mapUnits);
      // On a straight stretch the interpolation is exact: an offset missed or turned the wrong way shows.
      EXPECT_LT(Miss(s, row, w), 0.1) << row.tick;
      ++checked;
    }
    EXPECT_GT(checked, 400);
  }
}

TEST_F(ReadingExportTest, GridFormatsKeepGridCoordinatesWithoutLatitude) {
  test::SimSurvey s;
  s.gnss.format = 3;  // local grid in metres
  s.lateral = 0.3;
  s.Open(Path());
  s.Run(20000);
  s.Close();
  const std::vector<ExportRow> rows = Export(Path());
  const auto want = ByTick(s);
  int checked = 0;
  for (const ExportRow& row : rows) {
    if (!row.positioned) continue;
    const test::SimReading& w = want.at(row.tick);
    EXPECT_FALSE(row.hasGeo);
    EXPECT_EQ(row.zone, 0);
    if (w.turning) continue;
    EXPECT_NEAR(row.easting, s.gnss.gridEastOrigin + w.east, 0.05);
    EXPECT_NEAR(row.northing, s.gnss.gridNorthOrigin + w.north, 0.05);
    ++checked;
  }
  EXPECT_GT(checked, 200);
}

TEST_F(ReadingExportTest, FlagsBeforeTheFirstFixInGapsAcrossPausesAndLines) {
  test::SimSurvey s;
  s.Open(Path());
  s.Run(2000, false);  // readings before the receiver is heard
  s.Run(6001);         // fixes at 2 s .. 8 s
  s.Run(4999, false);  // no sentences for 5 s: fixes 8 s and 13 s are 5 s apart
  s.Run(3001);         // fixes 13 s .. 16 s
  s.Run(500, false);
  s.Pause(3000);       // logging again at 19.501 s
  s.Run(499, false);
  s.Run(2001);         // fixes 20 s .. 22 s
  s.Run(400, false);
  s.NewLine("L2");     // at 22.401 s
  s.Run(599, false);
  s.Run(3001);         // fixes 23 s .. 26 s
  s.Run(500, false);
  s.Close();
  const std::vector<ExportRow> rows = Export(Path());
  ASSERT_EQ(rows.size(), s.readings.size());

  auto at = [&](double seconds) -> int64_t { return s.startTick + static_cast<int64_t>(seconds * 1000); };
  struct Span {
    const char* name;
    double from, to;  // seconds after the start, inclusive
    unsigned flags;
    bool positioned;
    const char* line;
  } spans[] = {
      {"before the first fix", 0, 1.999, kFlagBeforeFirstFix, false, "L1"},
      {"between fixes", 2, 8, 0, true, "L1"},
      {"inside the gap", 8.001, 12.999, kFlagGap, true, "L1"},
      {"after the gap", 13, 16, 0, true, "L1"},
      {"before the pause", 16.001, 16.5, kFlagPause, false, "L1"},
      {"after the pause", 19.501, 19.999, kFlagPause, false, "L1"},
      {"after the resumption", 20, 22, 0, true, "L1"},
      {"before the new line", 22.001, 22.4, kFlagLineChange, false, "L1"},
      {"on the new line before its fix", 22.401, 22.999, kFlagLineChange, false, "L2"},
      {"on the new line", 23, 26, 0, true, "L2"},
      {"after the last fix", 26.001, 30, kFlagAfterLastFix, false, "L2"},
  };
  std::map<const char*, int> seen;
  for (const ExportRow& row : rows) {
    const Span* span = nullptr;
    for (const Span& sp : spans)
      if (row.tick64 >= at(sp.from) && row.tick64 <= at(sp.to)) span = &sp;
    ASSERT_NE(span, nullptr) << row.tick64 - s.startTick;
    SCOPED_TRACE(span->name);
    EXPECT_EQ(row.flags, span->flags) << ExportFlagText(row.flags) << " at " << row.tick64 - s.startTick;
    EXPECT_EQ(row.positioned, span->positioned);
    EXPECT_EQ(row.line, span->line);
    ++seen[span->name];
  }
  EXPECT_EQ(seen.size(), std::size(spans));
  // The new line restarts its stations.
  const auto first = std::find_if(rows.begin(), rows.end(), [](const ExportRow& r) { return r.line == "L2"; });
  ASSERT_NE(first, rows.end());
  EXPECT_DOUBLE_EQ(first->station, 0.0);
}

TEST_F(ReadingExportTest, LagMovesReadingsBackAlongTheTrackBySpeedTimesLag) {
  test::SimSurvey s;
  s.lateral = 0.3;
  s.Open(Path());
  s.Run(12001);    // fixes at 0 s .. 12 s, walking north at 1.2 m/s
  s.Pause(3000);   // logging again at 15.001 s
  s.Run(6000);     // fixes at 16 s .. 21 s
  s.Close();
  const std::vector<ExportRow> now = Export(Path());
  ExportOptions options;
  options.lagMs = 500;
  const std::vector<ExportRow> lagged = Export(Path(), nullptr, options);
  ASSERT_EQ(now.size(), lagged.size());
  const auto want = ByTick(s);
  int moved = 0;
  for (size_t i = 0; i < now.size(); ++i) {
    const ExportRow &a = now[i], &b = lagged[i];
    SCOPED_TRACE(a.tick64 - s.startTick);
    EXPECT_EQ(a.tick, b.tick);
    EXPECT_EQ(a.localMs, b.localMs);  // times stay those of the record
    EXPECT_NEAR(a.utcSeconds, b.utcSeconds, 1e-9);
    const double t = (a.tick64 - s.startTick) / 1000.0;
    if (t < 0.5 || (t > 15 && t < 16.5)) {
      // Moved before the first fix of the file or of the stretch after the pause: not placed, flagged as such.
      EXPECT_FALSE(b.positioned);
      EXPECT_EQ(b.flags, t < 0.5 ? kFlagBeforeFirstFix : kFlagPause) << ExportFlagText(b.flags);
      continue;
    }
    ASSERT_TRUE(a.positioned && b.positioned);
    EXPECT_EQ(b.flags, 0u);
    if (want.at(a.tick).turning || i == 0 || !now[i - 1].positioned) continue;
    // Back by 0.6 m along the direction of travel (grid north turned by the zone's convergence).
    const double de = a.easting - b.easting, dn = a.northing - b.northing;
    const double te = a.easting - now[i - 1].easting, tn = a.northing - now[i - 1].northing;
    EXPECT_NEAR(std::hypot(de, dn), 1.2 * 0.5, 0.015);
    EXPECT_NEAR((de * tn - dn * te) / std::hypot(de, dn) / std::hypot(te, tn), 0.0, 0.03);
    EXPECT_GT(dn, 0.55);
    ++moved;
  }
  EXPECT_GT(moved, 150);
}

TEST_F(ReadingExportTest, OverlappedExportGivesTheSameOrderAndStopsWithAFailingWriter) {
  test::SimSurvey s;
  s.Open(Path());
  s.Run(60000);
  s.NewLine("L2");
  s.Run(20000);
  s.Close();
  // Rows and fixes in one sequence, as a writer sees them.
  struct Recorder : ExportWriter {
    std::vector<std::string> seen;
    size_t throwAt = SIZE_MAX;
    void Begin() override { seen.push_back("begin"); }
    void Row(const ExportRow& r) override {
      if (seen.size() == throwAt) throw std::runtime_error("disk full");
      seen.push_back("row " + std::to_string(r.record) + " " + NumberText(r.easting));
    }
    void Fix(const ExportFix& f) override { seen.push_back("fix " + std::to_string(f.tick64) + " " + f.line); }
    void End() override { seen.push_back("end"); }
  };
  Recorder plain, overlapped;
  int fd = ::open(Path().c_str(), O_RDONLY);
  const ExportSummary a = ExportSurvey(fd, plain);
  const ExportSummary b = ExportSurveyOverlapped(fd, overlapped);
  EXPECT_EQ(overlapped.seen, plain.seen);
  EXPECT_EQ(a.counts.readings, b.counts.readings);
  EXPECT_EQ(a.counts.fixes, 80);
  EXPECT_EQ(b.counts.fixes, 80);
  EXPECT_GT(plain.seen.size(), 2 * 512u);  // more than one batch

  Recorder failing;
  failing.throwAt = 900;
  EXPECT_THROW(ExportSurveyOverlapped(fd, failing), std::runtime_error);  // the reader stops and is joined
  EXPECT_EQ(failing.seen.size(), 900u);
  ::close(fd);
}

TEST_F(ReadingExportTest, LateReadingsAndTickWrapsGiveTheSamePoints) {
  auto survey = [&](uint32_t startTick, uint32_t lag) {
    test::SimSurvey s;
    s.startTick = startTick;
    s.readingLagMs = lag;
    s.lateral = 0.3;
    s.along = 1.0;
    s.Open(Path());
    s.Run(20000);
    s.Close();
    std::vector<ExportRow> rows = Export(Path());
    for (ExportRow& r : rows) r.tick -= startTick;  // ticks relative to the start
    return rows;
  };
  const std::vector<ExportRow> plain = survey(100000, 0);
  struct Case {
    const char* name;
    uint32_t start, lag;
  } cases[] = {{"readings written 1.5 s late", 100000, 1500}, {"ticks wrap", 0xFFFFC000u, 0},
               {"late across the wrap", 0xFFFFC000u, 700}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<ExportRow> rows = survey(c.start, c.lag);
    ASSERT_EQ(rows.size(), plain.size());
    for (size_t i = 0; i < rows.size(); ++i) {
      EXPECT_EQ(rows[i].tick, plain[i].tick) << i;  // file order of the readings kept
      EXPECT_EQ(rows[i].positioned, plain[i].positioned) << i;
      EXPECT_EQ(rows[i].flags, plain[i].flags) << i;
      EXPECT_NEAR(rows[i].easting, plain[i].easting, 1e-6) << i;
      EXPECT_NEAR(rows[i].northing, plain[i].northing, 1e-6) << i;
      EXPECT_NEAR(rows[i].utcSeconds, plain[i].utcSeconds, 1e-6) << i;
    }
  }
}

TEST_F(ReadingExportTest, ReadingsWaitForTheNextFixOnlyWithinBounds) {
  // A receiver silent for 11 minutes: readings more than 10 minutes before the next fix come out unplaced.
  test::SimSurvey s;
  s.Open(Path());
  s.Run(2001);
  s.Run(11 * 60 * 1000 - 1, false);
  s.Run(2001);
  s.Close();
  const std::vector<ExportRow> rows = Export(Path());
  ASSERT_EQ(rows.size(), s.readings.size());
  const int64_t next = s.startTick + 2000 + 11 * 60 * 1000;
  int unplaced = 0, placed = 0;
  for (size_t i = 0; i < rows.size(); ++i) {
    const ExportRow& r = rows[i];
    if (i > 0) {
      EXPECT_GT(r.record, rows[i - 1].record);  // still in file order
    }
    if (r.tick64 <= s.startTick + 2000 || r.tick64 >= next) {
      EXPECT_EQ(r.flags, 0u);
      continue;
    }
    EXPECT_TRUE(r.flags & kFlagGap) << r.tick64 - s.startTick;
    if (r.tick64 < next - 10 * 60 * 1000 - 200) {
      EXPECT_FALSE(r.positioned) << r.tick64 - s.startTick;
      ++unplaced;
    } else if (r.tick64 > next - 10 * 60 * 1000 + 200) {
      EXPECT_TRUE(r.positioned) << r.tick64 - s.startTick;
      ++placed;
    }
  }
  EXPECT_GT(unplaced, 700);
  EXPECT_GT(placed, 8000);

  // A ground survey (no receiver): every reading at once, unplaced.
  test::SimSurvey g;
  g.gpsInput = 0;
  g.Open(Path());
  g.Run(3000, false);
  g.Close();
  const std::vector<ExportRow> ground = Export(Path());
  ASSERT_EQ(ground.size(), g.readings.size());
  for (const ExportRow& r : ground) {
    EXPECT_FALSE(r.positioned);
    EXPECT_EQ(r.flags, static_cast<unsigned>(kFlagBeforeFirstFix));
    EXPECT_TRUE(r.hasLocal);
  }
}

TEST_F(ReadingExportTest, AnAppendedSessionStartsAfreshWithTicksOfItsOwn) {
  {
    test::SimSurvey s;
    s.startTick = 4000000000u;
    s.Open(Path());
    s.Run(3500);
    s.Close();
  }
  test::SimSurvey s2;
  s2.startTick = 9000;  // after a restart of the computer
  s2.lateral = 0.3;
  s2.Open(Path(), "L9", true);
  s2.Run(200, false);
  s2.Run(3001);  // fixes at 1 s, 2 s and 3 s
  s2.Close();
  const std::vector<ExportRow> rows = Export(Path());
  size_t first = 0, second = 0;
  for (const ExportRow& r : rows) {
    const bool later = r.segment == 1;
    (later ? second : first)++;
    const int64_t t = r.tick64 - (later ? 9000 : 4000000000ll);
    unsigned want = 0;
    if (later && t < 1000) want = kFlagBeforeFirstFix;
    if (t > 3000) want = kFlagAfterLastFix;
    EXPECT_EQ(r.flags, want) << r.segment << " " << t;
    EXPECT_EQ(r.line, later ? "L9" : "L1");
    EXPECT_EQ(r.positioned, want == 0);
  }
  EXPECT_EQ(first + second, rows.size());
  EXPECT_GT(first, 40u);
  EXPECT_GT(second, 40u);
}

TEST_F(ReadingExportTest, LocalDatesFollowTheClockPastMidnight) {
  test::SimSurvey s;
  s.localStartMs = 86400000ull - 2500;  // 23:59:57.500
  s.Open(Path());
  s.Run(2000);
  s.NewLine("L2");  // its date record says 17 May, its time mark 23:59:59.5
  s.Run(3000);      // the readings pass midnight
  s.NewLine("L3");  // a line block written on the 18th
  s.Run(1000);
  s.Close();
  const std::vector<ExportRow> rows = Export(Path());
  ASSERT_EQ(rows.size(), s.readings.size());
  for (const ExportRow& r : rows) {
    const int64_t local = static_cast<int64_t>(s.localStartMs) + (r.tick64 - s.startTick);
    ASSERT_TRUE(r.hasLocal);
    EXPECT_EQ(DayText(r.localDay), local < 86400000 ? "2024-05-17" : "2024-05-18") << local;
    EXPECT_EQ(r.localMs, local % 86400000) << local;
  }
}

TEST_F(ReadingExportTest, ForeignAndEmptyFilesAreRecognised) {
  struct Case {
    const char* name;
    std::string bytes;
    SurveyFileCheck check;
  } cases[] = {
      {"empty", "", SurveyFileCheck::Empty},
      {"text file", "hello world\n", SurveyFileCheck::Foreign},
      {"other identifier", "EM38   W215GPS000000 1   \n", SurveyFileCheck::Foreign},
      {"identifier without its line feed", "OBX38   W215GPS000000 1    ", SurveyFileCheck::Foreign},
      {"appended identifier", "oBX38   W215GPS000000 1   \n", SurveyFileCheck::Ok},
  };
  for (const Case& c : cases) {
    test::WriteFile(Path(), c.bytes);
    const int fd = ::open(Path().c_str(), O_RDONLY);
    EXPECT_EQ(CheckSurveyFile(fd), c.check) << c.name;
    ::close(fd);
  }
}

}  // namespace
}  // namespace obrix
