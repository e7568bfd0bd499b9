// Scale factors, baselines and grid rows of the bar and profile panes; bar placement; value rows.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "settings/settings.h"
#include "settings/settings_file.h"
#include "state/colour_scale.h"
#include "survey/pane_scales.h"
#include "survey/pane_state.h"
#include "test_support.h"

namespace obrix {
namespace {

std::vector<int> Rows(const GridRows& r) { return std::vector<int>(r.begin() + 1, r.begin() + 1 + r[0]); }

struct GridCase {
  const char* name;
  int height;
  double min, max;
  int baseline;
  std::vector<int> rows;
};

TEST(ComputeGridRows, WorkedScales) {
  const GridCase cases[] = {
      {"inphase -25..25: ratio 1, step 6.25", 180, -25, 25, 0, {90, 67, 45, 22, 112, 135, 157}},
      {"conductivity 0..500: fixed grid", 180, 0, 500, 1, {143, 107, 71, 35}},
      {"-10..100: ratio 10, step 20, nothing below", 110, -10, 100, 0, {100, 80, 60, 40, 20}},
      {"max at 0: bars hang from the top", 180, -50, 0, -1, {143, 107, 71, 35}},
      {"ratio 1 on the small upper side: nine entries", 180, -107, 73, 0, {73, 54, 36, 18, 91, 109, 127, 146, 164}},
      {"ratio 3: step from the large side", 180, -135, 45, 0, {45, 90, 135}},
      // The zero row truncates to 0: the ratio has no finite value, so the fixed grid with baseline 0.
      {"zero line at the top edge (r = 0)", 180, -1000, 0.1, 0, {143, 107, 71, 35}},
  };
  for (const GridCase& c : cases) {
    SCOPED_TRACE(c.name);
    GridRows rows;
    rows.fill(-7);
    const double f = c.height / (c.max - c.min);
    EXPECT_EQ(ComputeGridRows(rows, c.height, c.min, c.max, f), c.baseline);
    EXPECT_EQ(Rows(rows), c.rows);
    EXPECT_LE(rows[0], 9);
  }
}

TEST(ComputeGridRows, ThickZeroLineOnlyWhereTheGridStartsWithIt) {
  EXPECT_TRUE(GridHasZeroLine(180, -25, 25, 3.6));
  EXPECT_FALSE(GridHasZeroLine(180, 0, 500, 0.36));
  EXPECT_FALSE(GridHasZeroLine(180, -1000, 0.1, 180 / 1000.1));  // fixed grid: its first row is not 0
}

class PaneScalesTest : public ::testing::Test {
 protected:
  PaneScalesTest() {
    ResetSettings();
    ResetPaneState();
    PaneState& p = Panes();
    p.ProfileWidth = 600;
    p.ProfileHeight = 180;
    p.BarHeight = 100;
    p.SpeedBarWidth = 200;
  }
  ~PaneScalesTest() override {
    ResetSettings();
    ResetPaneState();
    OnScaleLimitsLoaded = nullptr;
  }
};

TEST_F(PaneScalesTest, UpdateComputesFactorsBaselinesAndTables) {
  Settings& s = Config();
  s.condScaleMin = -10;
  s.condScaleMax = 40;
  s.inphScaleMin = 5;
  s.inphScaleMax = 30;
  s.profileGridChannel = 1;
  UpdatePaneScales();
  const PaneState& p = Panes();
  EXPECT_DOUBLE_EQ(p.CondProfileFactor, 3.6);
  EXPECT_DOUBLE_EQ(p.InphProfileFactor, 7.2);
  EXPECT_DOUBLE_EQ(p.CondBarFactor, 2.0);
  EXPECT_DOUBLE_EQ(p.InphBarFactor, 4.0);
  EXPECT_EQ(p.CondBaseline, BaselineZero);
  EXPECT_EQ(p.InphBaseline, BaselineBottom);
  EXPECT_EQ(p.CondBarZeroRow, 80);
  EXPECT_EQ(Rows(p.ProfileGridRows), (std::vector<int>{143, 107, 71, 35}));  // the inphase scale's grid
  EXPECT_EQ(p.CondBarGridRows[1], 80);
  EXPECT_EQ(Rows(p.InphBarGridRows), (std::vector<int>{79, 59, 39, 19}));

  s.profileGridChannel = 0;
  UpdateProfileGrid();
  EXPECT_EQ(p.ProfileGridRows[1], 144);  // zero line of -10..40 on 180 rows
}

TEST_F(PaneScalesTest, ScaleWithoutRangeGivesNoFactor) {
  Config().condScaleMin = 50;
  Config().condScaleMax = 50;
  UpdatePaneScales();
  EXPECT_EQ(Panes().CondProfileFactor, 0.0);
  EXPECT_EQ(ToDisplayPixels(std::array<double, 8>{1e300}).profileRows[0], 0);
}

TEST_F(PaneScalesTest, StartUpStateUsesTheDefaultScales) {
  Config().condScaleMax = 100;
  Config().profileGridChannel = 1;
  InitPaneScales();
  EXPECT_DOUBLE_EQ(Panes().CondProfileFactor, 0.36);
  EXPECT_DOUBLE_EQ(Panes().InphBarFactor, 2.0);
  EXPECT_EQ(Rows(Panes().ProfileGridRows), (std::vector<int>{143, 107, 71, 35}));
  EXPECT_EQ(Config().condScaleMax, 100);  // the settings stay as loaded
}

TEST_F(PaneScalesTest, LoadingTheSettingsRecomputesTheFactors) {
  test::DataRootFixture root;
  PaneState& p = Panes();
  p.ProfileHeight = 180;
  p.BarHeight = 100;
  Config().condScaleMax = 90;
  SaveLoadSettings(Save);
  Config().condScaleMax = 500;
  InitPaneScales();
  EXPECT_DOUBLE_EQ(p.CondProfileFactor, 0.36);
  SaveLoadSettings(Load);
  EXPECT_EQ(Config().condScaleMax, 90);
  EXPECT_DOUBLE_EQ(p.CondProfileFactor, 2.0);
}

TEST_F(PaneScalesTest, BarPlacement) {
  struct {
    int column, width, x0, x1, pane;
  } cases[] = {{110, 22, 2, 27, 54}, {233, 49, 5, 59, 115}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.column);
    PlaceBars(c.column);
    EXPECT_EQ(Panes().BarWidth, c.width);
    EXPECT_EQ(Panes().BarX[0], c.x0);
    EXPECT_EQ(Panes().BarX[1], c.x1);
    EXPECT_EQ(Panes().BarPaneWidth, c.pane);
  }
  EXPECT_EQ(BarGridWidthFor(kInitialRightColumnWidth), 56);
}

TEST_F(PaneScalesTest, ProfileGridChannelAtEntryFollowsTheComponent) {
  struct {
    int component, before, after;
  } cases[] = {{1, 0, 1}, {2, 1, 0}, {0, 1, 1}, {0, 0, 0}};
  for (const auto& c : cases) {
    Config().component = c.component;
    Config().profileGridChannel = c.before;
    ApplyProfileGridChannelAtEntry();
    EXPECT_EQ(Config().profileGridChannel, c.after) << "component " << c.component;
  }
}

TEST_F(PaneScalesTest, DisplayPixelsOfAllChannels) {
  Config().condScaleMin = 0;
  Config().condScaleMax = 100;   // profile 1.8, bars 1.0
  Config().inphScaleMin = -20;
  Config().inphScaleMax = 20;    // profile 4.5, bars 2.5
  UpdatePaneScales();
  const DisplayPixels px = ToDisplayPixels(std::array<double, 8>{50, 150, -10, 0});
  EXPECT_EQ(px.profileRows[0], 90);
  EXPECT_EQ(px.profileRows[1], -90);  // above the scale: outside the pane
  EXPECT_EQ(px.profileRows[2], 135);
  EXPECT_EQ(px.profileRows[3], 90);
  EXPECT_EQ(px.condBarRows, (std::array<int, 2>{50, -50}));
  EXPECT_EQ(px.inphBarRows, (std::array<int, 2>{75, 50}));
  // trunc toward zero for rows on both sides
  EXPECT_EQ(ToDisplayPixels(std::array<double, 8>{99.5, 100.5}).condBarRows, (std::array<int, 2>{0, 0}));
}

TEST_F(PaneScalesTest, SpeedBarScaleAndEmptyWidth) {
  Config().speedScaleMax = 4;
  UpdateSpeedBarScale();
  EXPECT_DOUBLE_EQ(Panes().SpeedBarScale, 50);
  EXPECT_EQ(SpeedBarEmptyWidth(1.0), 150);
  EXPECT_EQ(SpeedBarEmptyWidth(6.0), -100);
  Config().speedScaleMax = 0;
  UpdateSpeedBarScale();
  EXPECT_EQ(Panes().SpeedBarScale, 0);
}

TEST(ColourScale, FollowsTheComponent) {
  Settings s;
  s.condScaleMin = 0;
  s.condScaleMax = 500;
  s.inphScaleMin = -25;
  s.inphScaleMax = 25;
  struct {
    int component;
    double min, max, step;
  } cases[] = {{0, 0, 500, 10}, {1, -25, 25, 1}, {2, 0, 500, 10}};
  for (const auto& c : cases) {
    s.component = c.component;
    const ColourScale scale = ColourScaleFor(s);
    EXPECT_EQ(scale.min, c.min);
    EXPECT_EQ(scale.max, c.max);
    EXPECT_DOUBLE_EQ(ColourStep(scale), c.step);
  }
  const ColourScale inph{-25, 25};
  struct {
    double value;
    int index;
  } values[] = {{-25, 0}, {-24.5, 0}, {0.5, 25}, {23.9, 48}, {24.99, 49}, {25, 49}, {1e300, 49}, {-1e300, 0}};
  for (const auto& v : values) EXPECT_EQ(ColourIndexOf(v.value, inph, 1.0), v.index) << v.value;
  EXPECT_EQ(ColourIndexOf(3.0, {5, 5}, 0.0), 0);
}

}  // namespace
}  // namespace obrix
