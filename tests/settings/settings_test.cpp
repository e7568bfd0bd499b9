#include <gtest/gtest.h>

#include "settings/settings.h"

namespace obrix {
namespace {

TEST(ReadingsPerInterval, FollowsInstrumentPeriod) {
  struct Case { double interval; double period; int expected; };
  const Case cases[] = {{0.2, 72, 3}, {0.2, 91, 2}, {0.01, 72, 1}, {0.01, 91, 1}, {1.0, 72, 14}, {0.0, 72, 1}};
  for (const Case& c : cases) {
    EXPECT_EQ(ComputeReadingsPerInterval(c.interval, c.period), c.expected) << c.interval << " / " << c.period;
  }
}

TEST(Units, UsSurveyFeet) {
  EXPECT_NEAR(MapUnitsToMetres(100.0, 2), 30.4800609601219, 1e-12);
  EXPECT_DOUBLE_EQ(MapUnitsToMetres(1.0, 1), 0.3048);
}

TEST(SwathEdges, OffsetShiftsBothEdges) {
  SwathEdges e = ComputeSwathEdges(1, -0.3);  // width 0.5
  EXPECT_DOUBLE_EQ(e.left, -0.05);
  EXPECT_DOUBLE_EQ(e.right, 0.55);
  e = ComputeSwathEdges(7, 0.0);
  EXPECT_DOUBLE_EQ(e.left, 5.0);
  EXPECT_DOUBLE_EQ(e.right, 5.0);
}

TEST(SwathEdges, OffsetInMetresStaysMetresOnFeetMap) {
  ResetSettings();
  Config().mapUnits = 1;
  Config().swathWidthIndex = 2;  // 1 ft
  Config().lateralOffset = 0.3048;  // one foot
  UpdateSwathEdges();
  EXPECT_NEAR(Drv().SwathLeft, 1.5, 1e-12);
  EXPECT_NEAR(Drv().SwathRight, -0.5, 1e-12);
  ResetSettings();
}

TEST(CursorSizes, HalfSizeAndBand) {
  EXPECT_EQ(CursorHalfSizeFor(0), 3);
  EXPECT_EQ(CursorHalfSizeFor(4), 7);
  EXPECT_EQ(CursorHalfSizeFor(5), 9);
  EXPECT_EQ(CursorBandPixels(1, 500), 75);
  EXPECT_EQ(CursorBandPixels(0, 333), 33);
}

}  // namespace
}  // namespace obrix
