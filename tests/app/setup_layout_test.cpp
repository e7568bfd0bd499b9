#include <gtest/gtest.h>

#include "app/setup_layout.h"
#include "comma_locale.h"
#include "settings/settings.h"

namespace obrix {
namespace {

TEST(MainWindow, SizeAndCentring) {
  struct Case { int sw, sh; WindowPlacement expected; };
  const Case cases[] = {
      {1920, 1080, {320, 140, 1280, 762, false}},  // landscape cap
      {600, 1024, {0, 0, 640, 986, true}},         // portrait minimum, negative left clamped
      {1024, 768, {0, 0, 1024, 730, false}},      // inside the landscape limits
      {1280, 800, {0, 0, 1280, 762, false}},
      {800, 1280, {0, 0, 800, 1242, true}},
      {700, 700, {0, 50, 800, 562, false}},        // 700 x 662 is landscape and too narrow
  };
  for (const Case& c : cases) {
    WindowPlacement p = ComputeMainWindow(c.sw, c.sh);
    EXPECT_EQ(p.width, c.expected.width) << c.sw << "x" << c.sh;
    EXPECT_EQ(p.height, c.expected.height) << c.sw << "x" << c.sh;
    EXPECT_EQ(p.left, c.expected.left) << c.sw << "x" << c.sh;
    EXPECT_EQ(p.top, c.expected.top) << c.sw << "x" << c.sh;
    EXPECT_EQ(p.portrait, c.expected.portrait) << c.sw << "x" << c.sh;
  }
}

TEST(MainWindow, SquareCountsAsPortraitAndLargeScreenRule) {
  EXPECT_TRUE(ComputePortrait(800, 800));
  EXPECT_FALSE(ComputeLargeScreen(true, 800, 1000));
  EXPECT_TRUE(ComputeLargeScreen(true, 800, 1001));
  EXPECT_TRUE(ComputeLargeScreen(false, 1025, 600));
  EXPECT_FALSE(ComputeLargeScreen(false, 1024, 900));
}

TEST(SetupButtons, ThreeLayouts) {
  // Landscape wide: two columns of five.
  auto r = LayoutSetupButtons(false, 1280, 762);
  const int w = 1280 / 6, x1 = 1280 - 2 * w - 33, h = (762 - 172) / 5;
  EXPECT_EQ(r[0], (Rect{x1, 30, x1 + w, 30 + h}));
  EXPECT_EQ(r[5].left, x1 + w + 3);
  EXPECT_EQ(r[4].top, 30 + 4 * (h + 3));
  // Narrow landscape: one column of ten, h at least 36.
  r = LayoutSetupButtons(false, 800, 562);
  EXPECT_EQ(r[9], (Rect{600, 30 + 9 * 39, 770, 30 + 9 * 39 + 36}));
  // Portrait: Exit below Survey Setup, Logging spanning three columns.
  r = LayoutSetupButtons(true, 640, 986);
  const int pw = (640 - 49) / 4, top = static_cast<int>(0.55 * 986), ph = std::max(36, (986 - top - 36) / 3);
  EXPECT_EQ(r[1], (Rect{20, top, 20 + pw, top + ph}));
  EXPECT_EQ(r[9].left, 20);
  EXPECT_EQ(r[9].top, top + 2 * (ph + 3));
  EXPECT_EQ(r[0].left, 20 + pw + 3);
  EXPECT_EQ(r[0].right - r[0].left, 3 * pw + 6);
  EXPECT_EQ(r[8].left, 20 + 3 * (pw + 3));
}

TEST(SetupKeys, NavigationWrapsAndLettersRunCommands) {
  int focused = 0;
  for (int i = 0; i < 10; ++i) EXPECT_EQ(DecodeSetupKey(40, focused), -1);
  EXPECT_EQ(focused, 0);  // Down ten times returns to Logging
  EXPECT_EQ(DecodeSetupKey(38, focused), -1);
  EXPECT_EQ(focused, 9);
  EXPECT_EQ(DecodeSetupKey(9, focused), -1);
  EXPECT_EQ(focused, 0);
  DecodeSetupKey(39, focused);
  EXPECT_EQ(DecodeSetupKey(13, focused), 1);
  const char* letters = "LSTEGOMPRX";
  for (int i = 0; i < 10; ++i) EXPECT_EQ(DecodeSetupKey(letters[i], focused), i);
  EXPECT_EQ(DecodeSetupKey('Q', focused), -1);
  EXPECT_EQ(DecodeSetupKey(0, focused), -1);
}

TEST(Summary, RowsFollowSettings) {
  Settings s;
  Derived d;
  d.StationIncrementInUse = 0.5;
  auto rows = SummaryRows(s, d);
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[0].leftValue, "5.00 Hz");
  EXPECT_EQ(rows[0].rightValue, "Conductivity");
  EXPECT_EQ(rows[2].leftValue, "1.00");
  EXPECT_EQ(rows[3].leftValue, "0.000");
  EXPECT_EQ(rows[4].leftValue, "0.500");
  EXPECT_EQ(rows[4].rightValue, "GGA");

  s.instrumentEnabled = 0;
  rows = SummaryRows(s, d);
  EXPECT_EQ(rows[0].leftValue, "N/A");
  EXPECT_EQ(rows[0].rightValue, "Disabled");
  EXPECT_EQ(rows[3].rightValue, "Auto");

  s.gpsInput = 0;
  rows = SummaryRows(s, d);
  EXPECT_EQ(rows[3].rightValue, "Disabled");
  EXPECT_EQ(rows[4].rightValue, "N/A");
}

// A desktop with a decimal comma: the summary still shows the numbers as the dialogs and the settings file do.
TEST(Summary, NumbersKeepTheDecimalPointUnderACommaLocale) {
  test::CommaLocale comma;
  if (!comma.active()) GTEST_SKIP() << "no numeric locale with a decimal comma";
  Settings s;
  s.startStation = -12.25;
  Derived d;
  d.StationIncrementInUse = 0.5;
  const auto rows = SummaryRows(s, d);
  EXPECT_EQ(rows[0].leftValue, "5.00 Hz");
  EXPECT_EQ(rows[2].leftValue, "1.00");
  EXPECT_EQ(rows[3].leftValue, "-12.250");
  EXPECT_EQ(rows[4].leftValue, "0.500");
}

TEST(Summary, NmeaFormatNames) {
  const char* expected[] = {"GGA/GSA", "GGA", "POS", "LLK", "LLQ", "GLL", "GGK", "Pseudo GGA", "Pseudo GLL"};
  for (int f = 0; f < 9; ++f) EXPECT_EQ(NmeaFormatName(f, 0), expected[f]);
  EXPECT_EQ(NmeaFormatName(7, 1), "p-GGA SLAM");
  EXPECT_EQ(NmeaFormatName(1, 1), "GGA");
  EXPECT_EQ(NmeaFormatName(42, 0), "");
}

TEST(Summary, ColumnsKeepTheirMinimumsAndFit) {
  SummaryColumns c = ComputeSummaryColumns(20, 800, false, 70, 90);
  EXPECT_EQ(c.centre, 410);
  EXPECT_EQ(c.leftX, 410 - 40 - 230);
  EXPECT_EQ(c.rightX, 450);
  c = ComputeSummaryColumns(20, 500, true, 70, 90);
  EXPECT_EQ(c.leftX, 40);
  EXPECT_EQ(c.rightX, 500 - 220);  // moved left so the value fits
}

TEST(Sketch, ScaleRule) {
  SketchScale k = ComputeSketchScale(-0.3, 0.0, 400, 300);
  EXPECT_DOUBLE_EQ(k.acrossExtent, 0.325);
  EXPECT_DOUBLE_EQ(k.alongExtent, 1.0);
  EXPECT_DOUBLE_EQ(k.pixelsPerMetre, std::min(0.6 * 400 / 0.325, 0.6 * 300 / 1.0));
  k = ComputeSketchScale(0.01, -2.0, 400, 300);
  EXPECT_DOUBLE_EQ(k.acrossExtent, 0.05);
  EXPECT_DOUBLE_EQ(k.alongExtent, 2.5);
}

}  // namespace
}  // namespace obrix
