// The profile pane: scrolling, the new columns and grid stubs, runs of each channel, repaint.
#include <gtest/gtest.h>

#include <array>
#include <limits>

#include "panes/pane_paint.h"
#include "panes/profile_pane.h"
#include "platform/canvas.h"
#include "settings/settings.h"
#include "state/palette.h"
#include "survey/pane_scales.h"
#include "survey/pane_state.h"

namespace obrix {
namespace {

constexpr int kW = 60, kH = 50;
constexpr int kX = kW - 10;  // column of the newest point
constexpr Colour kJunk = Rgb(9, 9, 9);
constexpr Colour kCond = Rgb(200, 0, 0), kInph = Rgb(0, 0, 220);

using Rows = std::array<int, 8>;
using Present = std::array<int, 8>;

class ProfilePaneTest : public ::testing::Test {
 protected:
  ProfilePaneTest() {
    ResetSettings();
    ResetPaneState();
    Drv().ProfileChannelCount = 4;
    Config().traceColour = {kCond, Rgb(0, 150, 0), kInph, Rgb(120, 0, 120), 0, 0, 0, 0};
    Config().traceThickness = {3, 1, 1, 1, 1, 1, 1, 1};
    CreateSharedPens();
    Panes().ProfileWidth = kW;
    Panes().ProfileHeight = kH;
    UpdatePaneScales();  // conductivity 0..500: fixed grid 39, 29, 19, 9
  }
  ~ProfilePaneTest() override {
    ResetSettings();
    ResetPaneState();
  }
  // A reading of one channel at a row.
  void Reading(int channel, int row) {
    Rows rows{};
    Present present{};
    rows[channel] = row;
    present[channel] = 1;
    ScrollProfile(dc, rows, present);
  }
  Canvas dc{kW, kH};
};

TEST_F(ProfilePaneTest, ScrollShiftsTwoLeftAndOpensThreeWhiteColumnsWithGridStubs) {
  dc.Clear(kJunk);
  dc.SetPixel(30, 45, kCond);
  ScrollProfile(dc, Rows{}, Present{});
  EXPECT_EQ(dc.GetPixel(28, 45), kCond);
  EXPECT_EQ(dc.GetPixel(30, 45), kJunk);
  for (int y = 0; y < kH; ++y) {
    const bool grid = y == 39 || y == 29 || y == 19 || y == 9;
    SCOPED_TRACE(y);
    EXPECT_EQ(dc.GetPixel(kX - 1, y), grid ? kGridGrey : kWhite);
    EXPECT_EQ(dc.GetPixel(kX, y), grid ? kGridGrey : kWhite);
    EXPECT_EQ(dc.GetPixel(kX + 1, y), kWhite);  // lines exclude their last point
    EXPECT_EQ(dc.GetPixel(kX + 2, y), kJunk);   // the margin is never drawn
  }
  // Stubs of successive steps join into a continuous grid line.
  ScrollProfile(dc, Rows{}, Present{});
  for (int x = kX - 3; x <= kX; ++x) EXPECT_EQ(dc.GetPixel(x, 29), kGridGrey) << x;
}

TEST_F(ProfilePaneTest, ZeroLineStubIsThickWhenTheGridScaleSpansZero) {
  Config().profileGridChannel = 1;  // inphase -25..25 on 50 rows: zero line at 25
  UpdatePaneScales();
  ScrollProfile(dc, Rows{}, Present{});
  EXPECT_EQ(dc.GetPixel(kX - 1, 24), kGridGrey);
  EXPECT_EQ(dc.GetPixel(kX - 1, 25), kGridGrey);
  EXPECT_EQ(dc.GetPixel(kX - 1, 26), kWhite);
}

TEST_F(ProfilePaneTest, RunsStartWithADotAndJoinThePreviousPoint) {
  Reading(0, 10);
  EXPECT_EQ(dc.GetPixel(kX, 10), kCond);  // the run starts with a dot of the 3-pixel pen
  EXPECT_EQ(dc.GetPixel(kX - 1, 25), kWhite);
  Reading(0, 40);
  EXPECT_EQ(dc.GetPixel(kX - 2, 10), kCond);  // the first point, shifted
  EXPECT_EQ(dc.GetPixel(kX - 1, 25), kCond);  // the line between them
  EXPECT_EQ(dc.GetPixel(kX, 40), kCond);
  EXPECT_EQ(Panes().ProfileLastRow[0], 40);
}

TEST_F(ProfilePaneTest, AbsentChannelKeepsItsStateAndRejoinsItsLastRow) {
  struct {
    const char* name;
    bool resetBeforeReturn;
    Colour between;  // the pixel half way between the last row and the new one
  } cases[] = {{"continued", false, kCond}, {"after Go", true, kWhite}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    dc.Clear();
    ResetProfileContinuity();
    Reading(0, 10);
    Reading(2, 45);  // only the inphase channel in this record
    EXPECT_EQ(Panes().ProfileLastRow[0], 10);
    if (c.resetBeforeReturn) ResetProfileContinuity();
    Reading(0, 40);
    EXPECT_EQ(dc.GetPixel(kX - 1, 25), c.between);
    EXPECT_EQ(dc.GetPixel(kX, 40), kCond);
  }
}

// A new pane height (Toggle View) starts a new run: the last row was for the old height, joining it would draw a
// spike across the pane. A new width alone keeps the run.
TEST_F(ProfilePaneTest, NewHeightStartsANewRun) {
  struct {
    const char* name;
    int height;
    Colour between;
  } cases[] = {{"same height", kH, kCond}, {"taller", kH + 30, kWhite}, {"lower", kH - 20, kWhite}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SetProfileSize(kW, kH);
    dc.Clear();
    ResetProfileContinuity();
    Reading(0, 10);
    SetProfileSize(kW, c.height);
    EXPECT_EQ(Panes().ProfileHeight, c.height);
    Reading(0, 20);
    EXPECT_EQ(dc.GetPixel(kX - 1, 15), c.between);
    EXPECT_EQ(dc.GetPixel(kX, 20), kCond);
  }
  SetProfileSize(kW + 40, kH);
  Reading(0, 30);
  SetProfileSize(kW, kH);
  Reading(0, 40);
  EXPECT_EQ(dc.GetPixel(kX - 1, 35), kCond);
}

TEST_F(ProfilePaneTest, OnlyTheFirstFourChannelsAreDrawn) {
  Rows rows;
  rows.fill(20);
  Present present;
  present.fill(1);
  Config().traceColour[4] = Rgb(1, 1, 1);
  Config().traceThickness[4] = 4;
  CreateSharedPens();
  ScrollProfile(dc, rows, present);
  EXPECT_EQ(Panes().ProfileContinued[4], 0);
}

TEST_F(ProfilePaneTest, ExtremeRowsAndAnUnplacedPaneAreClipped) {
  Reading(0, std::numeric_limits<int>::min());
  Reading(0, std::numeric_limits<int>::max());
  EXPECT_EQ(dc.GetPixel(kX - 1, kH - 1), kCond);  // the line crosses the whole pane
  Panes().ProfileWidth = 0;
  Canvas unplaced;
  ScrollProfile(unplaced, Rows{}, Present{1});
  PaintProfilePane(unplaced);
}

// A canvas of the pane's size moves its picture without copying it; one row taller, it takes the plain block
// move. Both show the same pixels after every step of a long walk with thick traces, gaps and a new run.
TEST_F(ProfilePaneTest, MovingThePictureInPlaceMatchesTheBlockMove) {
  Config().traceThickness = {5, 1, 2, 1, 1, 1, 1, 1};
  CreateSharedPens();
  Canvas block(kW, kH + 1);
  for (Canvas* c : {&dc, &block}) {
    c->Clear(kJunk);
    PaintProfilePane(*c);
  }
  unsigned seed = 7;
  const auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 16; };
  for (int step = 0; step < 600; ++step) {
    Rows rows{};
    Present present{};
    for (int c = 0; c < 4; ++c) {
      rows[c] = int(next() % (kH + 10)) - 5;
      present[c] = next() % 5 != 0 ? 1 : 0;
    }
    if (step == 300) ResetProfileContinuity();
    const PaneState was = Panes();
    ScrollProfile(dc, rows, present);
    Panes() = was;  // the same continuity for the second canvas
    ScrollProfile(block, rows, present);
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x)
        ASSERT_EQ(dc.GetPixel(x, y), block.GetPixel(x, y)) << "step " << step << " at " << x << "," << y;
  }
}

TEST_F(ProfilePaneTest, RepaintLeavesOnlyTheGrid) {
  for (int i = 0; i < 20; ++i) Reading(i % 2 ? 0 : 2, 5 + i * 2);
  PaintPanes({.profile = &dc}, kProfilePane);
  for (int y = 0; y < kH; ++y) {
    const bool grid = y == 39 || y == 29 || y == 19 || y == 9;
    for (int x = 0; x < kW; ++x) ASSERT_EQ(dc.GetPixel(x, y), grid ? kGridGrey : kWhite) << x << "," << y;
  }
  Config().instrumentEnabled = 0;
  PaintPanes({.profile = &dc}, kProfilePane);
  EXPECT_EQ(dc.GetPixel(5, 39), kWhite);
}

}  // namespace
}  // namespace obrix
