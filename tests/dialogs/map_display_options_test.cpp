// Value rules of the map display options and the redraw flags they produce.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "dialogs/map_display_options.h"
#include "map/map_view_state.h"
#include "platform/paths.h"
#include "settings/settings.h"
#include "settings/settings_image.h"
#include "test_support.h"

namespace obrix {
namespace {

TEST(DisplayOptions31Test, LinesAngleIsKeptAboveMinus90UpTo90) {
  const struct { double in, out; } cases[] = {
      {135, -45}, {-90, 90}, {200, 0}, {90, 90}, {-20, -20}, {180, 0}, {-180, 0},
      {-135, 45}, {90.5, -89.5}, {-200, 0}, {NAN, 0}, {INFINITY, 0},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(NormaliseLinesAngle(c.in), c.out) << c.in;
}

TEST(DisplayOptions31Test, MapSizeAndGridIntervalMinimums) {
  const struct { const char* text; int size; } sizes[] = {
      {"0", 1}, {"abc", 1}, {"", 1}, {"-7", 1}, {"25.9", 25}, {"40", 40}, {"1e30", INT32_MAX}};
  for (const auto& c : sizes) EXPECT_EQ(MapSizeFromText(c.text), c.size) << c.text;
  const struct { const char* text; double interval; } intervals[] = {
      {"0.2", 0.5}, {"0.5", 0.5}, {"2.5", 2.5}, {"x", 0.5}, {"inf", 0.5}, {"nan", 0.5}, {"-3", 0.5}};
  for (const auto& c : intervals) EXPECT_DOUBLE_EQ(GridIntervalFromText(c.text), c.interval) << c.text;
}

TEST(DisplayOptions31Test, UnitAndGridLabels) {
  const char* size[] = {"metres", "feet", "US feet"};
  const char* grid[] = {"m", "feet", "USft"};
  for (int u = 0; u < 3; ++u) {
    EXPECT_STREQ(MapSizeUnitLabel(u), size[u]);
    EXPECT_STREQ(GridUnitLabel(u), grid[u]);
  }
  EXPECT_STREQ(GridIntervalLabel(0), "Grid Interval:");
  EXPECT_STREQ(GridIntervalLabel(1), "Lines Interval:");
}

TEST(DisplayOptions31Test, PreviewLineSpacingByAngle) {
  const struct { double angle, spacing; } cases[] = {
      {0, 50}, {2, 500}, {-5, 200}, {6, 200}, {-15, 80}, {15.5, 40}, {-80, 40}};
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(PreviewLineSpacing(c.angle), c.spacing) << c.angle;
}

TEST(DisplayOptions31Test, EachChangedValueSetsItsRedrawFlag) {
  const struct {
    const char* what;
    void (*change)(Settings&);
    int flags;
  } cases[] = {
      {"nothing", [](Settings&) {}, 0},
      {"position size", [](Settings& s) { s.positionSize = 1; }, 2},
      {"position colour", [](Settings& s) { s.positionColour = 0x00FF00; }, 4},
      {"colour view", [](Settings& s) { s.mapColourView = 0; }, 8},
      {"grid style", [](Settings& s) { s.gridStyle = 1; }, 32},
      {"grid interval", [](Settings& s) { s.gridInterval = 5; }, 64},
      {"lines angle", [](Settings& s) { s.linesAngleDeg = 10; }, 128},
      {"map size", [](Settings& s) { s.mapSize = 80; }, 256},
      {"map units", [](Settings& s) { s.mapUnits = 1; }, 512},
      {"cursor only", [](Settings& s) { s.cursorSize = 0, s.cursorColour = 0xFF; }, 0},
      {"size and units", [](Settings& s) { s.mapSize = 10, s.mapUnits = 2; }, 256 | 512},
  };
  for (const auto& c : cases) {
    Settings s;
    s.mapColourView = 1;
    MapOptionsCopy before = MapOptionsCopy::Of(s);
    c.change(s);
    EXPECT_EQ(ComputeRedrawFlags(before, s), c.flags) << c.what;
  }
}

class DisplayOptions31ApplyTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetMapViewState();
    Config().mapColourView = 1;
    Drv().MapPaneWidth = 402;
  }
  void TearDown() override { ResetMapViewState(); }
  MapOptionsEntry Entry() {
    const Settings& s = Config();
    MapOptionsEntry e;
    e.mapUnits = s.mapUnits;
    e.mapColourView = s.mapColourView;
    e.mapSize = std::to_string(s.mapSize);
    e.swathWidthIndex = s.swathWidthIndex;
    e.gridStyle = s.gridStyle;
    e.gridInterval = "2.00";
    e.linesAngle = "-20.00";
    return e;
  }
  test::DataRootFixture root_;
};

TEST_F(DisplayOptions31ApplyTest, OkStoresTheRulesRecomputesTheMapAndSaves) {
  Config().lateralOffset = -0.3;
  MapOptionsCopy before = MapOptionsCopy::Of(Config());
  MapOptionsEntry e = Entry();
  e.mapSize = "0";
  e.gridInterval = "0.2";
  e.linesAngle = "135";
  e.swathWidthIndex = 3;  // 2 map units
  ApplyMapOptions(e, before);
  const Settings& s = Config();
  EXPECT_EQ(s.mapSize, 1);
  EXPECT_DOUBLE_EQ(s.gridInterval, 0.5);
  EXPECT_DOUBLE_EQ(s.linesAngleDeg, -45);
  EXPECT_DOUBLE_EQ(MapState().PixelsPerUnit, 400.0);
  EXPECT_DOUBLE_EQ(Drv().SwathLeft, 0.7);
  EXPECT_DOUBLE_EQ(Drv().SwathRight, 1.3);
  EXPECT_EQ(MapState().RedrawFlags, 256 | 64 | 128);
  EXPECT_EQ(test::ReadFile(SettingsPath()), SettingsImage());
}

TEST_F(DisplayOptions31ApplyTest, ColourViewNeedsTheInstrument) {
  Config().instrumentEnabled = 0;
  MapOptionsCopy before = MapOptionsCopy::Of(Config());
  ApplyMapOptions(Entry(), before);
  EXPECT_EQ(Config().mapColourView, 0);
  EXPECT_EQ(MapState().RedrawFlags, 8);
}

TEST(DisplayOptions31Test, CancelPutsBackWhatChangedWhileOpen) {
  Settings s;
  MapOptionsCopy before = MapOptionsCopy::Of(s);
  s.linesAngleDeg = 33, s.gridStyle = 1, s.cursorColour = 1, s.positionColour = 2;
  s.cursorSize = 0, s.positionSize = 0, s.mapColourView = 0;
  before.RestoreOpenChanges(s);
  EXPECT_EQ(ComputeRedrawFlags(before, s), 0);
  EXPECT_EQ(s.cursorSize, before.cursorSize);
  EXPECT_EQ(s.cursorColour, before.cursorColour);
}

TEST(DisplayOptions31Test, CursorSizes) {
  const struct { int choice, half, full; } cases[] = {{0, 3, 7}, {3, 6, 13}, {4, 7, 15}, {5, 9, 19}};
  for (const auto& c : cases) {
    Config().cursorSize = c.choice;
    UpdateCursorSizes();
    EXPECT_EQ(Drv().CursorHalfSize, c.half) << c.choice;
    EXPECT_EQ(MapState().CursorFullSize, c.full) << c.choice;
  }
  ResetSettings();
  ResetMapViewState();
}

}  // namespace
}  // namespace obrix
