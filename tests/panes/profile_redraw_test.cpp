// Redraw of the profile pane from a data file written by the real writers.
#include <gtest/gtest.h>

#include <string>
#include <unistd.h>
#include <vector>

#include "datafile/data_file.h"
#include "datafile/writers.h"
#include "panes/profile_redraw.h"
#include "platform/canvas.h"
#include "platform/files.h"
#include "platform/ticks.h"
#include "settings/settings.h"
#include "state/palette.h"
#include "survey/pane_scales.h"
#include "survey/pane_state.h"
#include "test_support.h"

namespace obrix {
namespace {

constexpr int kW = 60, kH = 50;
constexpr Colour kCond = Rgb(200, 0, 0), kInph = Rgb(0, 0, 220), kJunk = Rgb(9, 9, 9);
// EM38 records: conductivity vertical, range 100 (-0.1 mS/m per count), and inphase vertical.
const std::string kCond50 = "T$-0500";   // 50 mS/m: row 25 on 0..100 over 50 rows
const std::string kCond80 = "T$-0800";   // 80 mS/m: row 10
const std::string kInph10 = "T -3472";   // 10 ppt: row 15 on -25..25 over 50 rows

class ProfileRedrawTest : public ::testing::Test {
 protected:
  ProfileRedrawTest() {
    ResetDataFile();
    ResetPaneState();
    SetLocalClock([] { return LocalTime{2026, 3, 1, 14, 2, 3, 4, 0}; });
    Config().condScaleMax = 100;
    Config().traceColour = {kCond, Rgb(0, 150, 0), kInph, Rgb(120, 0, 120), 0, 0, 0, 0};
    Config().traceThickness = {1, 1, 1, 1, 1, 1, 1, 1};
    CreateSharedPens();
    Panes().ProfileWidth = kW;
    Panes().ProfileHeight = kH;
    UpdatePaneScales();
    AttachDataFile(OpenExclusive(root_.dir().file("survey.T38"), OpenMode::AppendCreate));
    DataFile().DataFileBaseName = "survey";
    EXPECT_TRUE(WriteHeaderBlock(0));
    EXPECT_TRUE(WriteLineBlock());
  }
  ~ProfileRedrawTest() override {
    ResetDataFile();
    ResetPaneState();
    SetLocalClock(nullptr);
  }
  void Readings(const std::string& record, int n) {
    for (int i = 0; i < n; ++i) ASSERT_TRUE(WriteReadingRecord(record, 1000 + i));
  }
  // Columns of row `y` in colour `c`.
  std::vector<int> Columns(int y, Colour c) const {
    std::vector<int> xs;
    for (int x = 0; x < kW; ++x)
      if (dc.GetPixel(x, y) == c) xs.push_back(x);
    return xs;
  }
  static std::vector<int> Span(int from, int to) {
    std::vector<int> xs;
    for (int x = from; x <= to; ++x) xs.push_back(x);
    return xs;
  }

  test::DataRootFixture root_;
  Canvas dc{kW, kH, kJunk};
};

TEST_F(ProfileRedrawTest, StationAndPauseBreakTheCurvesAndTheLineStartEndsTheWalk) {
  Readings(kCond80, 3);          // an earlier line: not drawn
  ASSERT_TRUE(WriteLineBlock());
  Readings(kCond50, 3);          // x 34, 32, 30
  ASSERT_TRUE(WriteStationRecord(12.0));
  ASSERT_TRUE(WriteTimeMark());
  Readings(kCond50, 3);          // x 42, 40, 38
  ASSERT_TRUE(WriteEventRecord("PAUSED", 'X'));
  ASSERT_TRUE(WriteEventRecord("$STARTED", 'X'));
  Readings(kCond50, 2);          // x 50, 48, a comment between them
  ASSERT_TRUE(WriteEventRecord("note", 'C'));
  Readings(kCond50, 1);
  const int fd = DataFile().DataFileHandle;
  const off_t before = ::lseek(fd, 0, SEEK_CUR);

  RedrawProfileFromData(dc);

  // Each run is a polyline from the newest point back; a 1-pixel line leaves out its last point.
  std::vector<int> want = Span(31, 34);
  for (int x : Span(39, 42)) want.push_back(x);
  for (int x : Span(47, 50)) want.push_back(x);
  EXPECT_EQ(Columns(25, kCond), want);
  EXPECT_TRUE(Columns(10, kCond).empty());
  EXPECT_EQ(dc.GetPixel(5, 39), kGridGrey);  // the pane was repainted with its grid first
  EXPECT_EQ(dc.GetPixel(5, 38), kWhite);
  EXPECT_EQ(::lseek(fd, 0, SEEK_CUR), before);
}

TEST_F(ProfileRedrawTest, MissingReadingsSplitARunAndSinglePointsShowAsDots) {
  Config().traceThickness = {3, 1, 3, 1, 1, 1, 1, 1};
  CreateSharedPens();
  Readings(kCond50, 1);  // x 44
  Readings(kInph10, 1);   // x 46
  Readings(kCond50, 2);  // x 48, 50
  RedrawProfileFromData(dc);
  // Channel 0: the part 50..48 (3-pixel pen: 47..51) and a dot at 44 (43..45), nothing across the gap.
  std::vector<int> want = Span(43, 45);
  for (int x : Span(47, 51)) want.push_back(x);
  EXPECT_EQ(Columns(25, kCond), want);
  EXPECT_EQ(dc.GetPixel(46, 15), kInph);
  EXPECT_EQ(dc.GetPixel(45, 15), kInph);
}

TEST_F(ProfileRedrawTest, ALongLineFillsThePaneToItsLeftEdge) {
  Readings(kCond50, 200);
  RedrawProfileFromData(dc);
  EXPECT_EQ(Columns(25, kCond), Span(1, 50));  // points 50, 48, .. 0
}

TEST_F(ProfileRedrawTest, NothingWithoutAnOpenFile) {
  Readings(kCond50, 3);
  CloseDataFile();
  RedrawProfileFromData(dc);
  EXPECT_EQ(dc.GetPixel(50, 25), kJunk);
}

}  // namespace
}  // namespace obrix
