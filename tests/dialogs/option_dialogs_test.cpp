// Logic of the small option dialogs: coordinates units, GPS mask labels, map size, readings and speed scales.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/gps_options.h"
#include "dialogs/map_size_options.h"
#include "dialogs/scale_options.h"
#include "map/map_view_state.h"
#include "platform/paths.h"
#include "settings/settings.h"
#include "settings/settings_image.h"
#include "survey/pane_state.h"
#include "test_support.h"

namespace obrix {
namespace {

TEST(CoordinatesUnitsTest, GridFormatsHaveNoGeodeticEntry) {
  const struct {
    int format;
    size_t entries;
    int display, index, back;
  } cases[] = {
      {4, 3, 0, 0, 1},  // LLQ: geodetic shows as meters
      {4, 3, 3, 2, 3},  {3, 3, 2, 1, 2}, {7, 3, 1, 0, 1},
      {1, 4, 0, 0, 0},  // GGA keeps geodetic
      {0, 4, 3, 3, 3},  {5, 4, 2, 2, 2},
  };
  for (const auto& c : cases) {
    std::vector<std::string> e = CoordinateUnitEntries(c.format);
    EXPECT_EQ(e.size(), c.entries) << c.format;
    const int index = CoordinateUnitIndex(c.format, c.display);
    EXPECT_EQ(index, c.index) << c.format << " " << c.display;
    EXPECT_EQ(CoordinatesDisplayFromIndex(c.format, index), c.back) << c.format << " " << c.display;
  }
  EXPECT_EQ(CoordinateUnitEntries(4)[0], "meters");
  EXPECT_EQ(CoordinateUnitEntries(1)[0], "Geodetic Lat/Lon");
}

TEST(GpsMaskTest, LabelsFollowTheFormat) {
  const struct { int format; const char *warning, *dilution; } cases[] = {
      {0, "Warning", "PDOP"}, {1, "Warning", "HDOP"}, {2, "Warning", "PDOP"}, {3, "Warning", "GDOP"},
      {4, "Warning", "Quality (m)"}, {5, "N/A", "N/A"}, {6, "Warning", "DOP"}, {7, "N/A", "N/A"},
      {8, "N/A", "N/A"},
  };
  for (const auto& c : cases) {
    GpsMaskLabels l = GpsMaskLabelsFor(c.format);
    EXPECT_STREQ(l.warning, c.warning) << c.format;
    EXPECT_STREQ(l.quality, std::string(c.warning) == "N/A" ? "N/A" : "Quality") << c.format;
    EXPECT_STREQ(l.satellites, "Satellites");
    EXPECT_STREQ(l.dilution, c.dilution) << c.format;
  }
}

class MapScaleTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetMapViewState();
    Drv().MapPaneWidth = 402;
    Config().mapSize = 40;
    Config().gridInterval = 2;
    Config().cursorBandIndex = 1;
    UpdatePixelsPerUnit();
    Drv().CursorBandPx = CursorBandPixels(1, 402);
    MapState().RedrawFlags = 999;
    SaveMapSizeCopies();
  }
  void TearDown() override { ResetMapViewState(); }
  test::DataRootFixture root_;
};

TEST_F(MapScaleTest, OkFlagsWhatChanged) {
  const struct {
    MapSizeEntry entry;
    int flags, size;
    double ppu;
  } cases[] = {
      {{"40", "2.00", 1}, 0, 40, 10.0},
      {{"80", "2.00", 1}, 256, 80, 5.0},
      {{"0", "2", 1}, 256, 1, 400.0},
      {{"40", "0.2", 1}, 64, 40, 10.0},  // the minimum is the logging screen's
      {{"20.7", "3", 1}, 256 | 64, 20, 20.0},
  };
  for (const auto& c : cases) {
    CancelMapSize();
    ApplyMapSize(c.entry);
    EXPECT_EQ(MapState().RedrawFlags, c.flags) << c.entry.mapSize << " " << c.entry.gridInterval;
    EXPECT_EQ(Config().mapSize, c.size) << c.entry.mapSize;
    EXPECT_DOUBLE_EQ(MapState().PixelsPerUnit, c.ppu) << c.entry.mapSize;
  }
  EXPECT_DOUBLE_EQ(Config().gridInterval, 3);
}

TEST_F(MapScaleTest, BandAndCancel) {
  ApplyMapSize({"60", "4", 6});
  EXPECT_EQ(Config().cursorBandIndex, 6);
  EXPECT_EQ(Drv().CursorBandPx, 160);  // 40 % of 402
  CancelMapSize();
  EXPECT_EQ(MapState().RedrawFlags, 0);
  EXPECT_EQ(Config().mapSize, 40);
  EXPECT_DOUBLE_EQ(Config().gridInterval, 2);
  EXPECT_EQ(Config().cursorBandIndex, 1);
  EXPECT_EQ(Drv().CursorBandPx, 60);
  EXPECT_DOUBLE_EQ(MapState().PixelsPerUnit, 10.0);
}

TEST(MapScaleEditTest, SizeOfZeroOrLessIsPutBack) {
  const struct { const char* text; bool reset; } cases[] = {
      {"0", true}, {"-5", true}, {"", false}, {"-", false}, {"7", false}, {"12", false}, {"0.5", true}};
  for (const auto& c : cases) EXPECT_EQ(MapSizeTextNeedsReset(c.text), c.reset) << c.text;
  EXPECT_STREQ(MapScaleUnitLabel(0), "meters");
  EXPECT_STREQ(MapScaleUnitLabel(2), "US feet");
}

class ReadingScale31Test : public testing::Test {
 protected:
  void SetUp() override {
    ResetMapViewState();
    ResetPaneState();
  }
  void TearDown() override {
    ResetMapViewState();
    ResetPaneState();
  }
  test::DataRootFixture root_;
};

TEST_F(ReadingScale31Test, MinimumNotBelowMaximumGetsAMaximumOf100More) {
  const struct { double min, max, outMin, outMax; } cases[] = {
      {30, 20, 30, 130}, {5, 5, 5, 105}, {-25, 25, -25, 25}, {0, 500, 0, 500}};
  for (const auto& c : cases) {
    ScaleLimits l = FixScaleLimits(c.min, c.max);
    EXPECT_DOUBLE_EQ(l.min, c.outMin);
    EXPECT_DOUBLE_EQ(l.max, c.outMax);
  }
  ReadingScaleCopy before = ReadingScaleCopy::OfSettings();
  ApplyReadingScales({"30", "20", "-10", "-10"}, before);
  EXPECT_DOUBLE_EQ(Config().condScaleMin, 30);
  EXPECT_DOUBLE_EQ(Config().condScaleMax, 130);
  EXPECT_DOUBLE_EQ(Config().inphScaleMin, -10);
  EXPECT_DOUBLE_EQ(Config().inphScaleMax, 90);
  EXPECT_EQ(test::ReadFile(SettingsPath()), SettingsImage());
}

TEST_F(ReadingScale31Test, RedrawOnlyWhenTheMapColoursChange) {
  const struct {
    int component, view;
    ReadingScaleEntry entry;
    int flags;
  } cases[] = {
      {0, 1, {"0", "400", "-25", "25"}, 8},
      {0, 1, {"0", "500", "-20", "25"}, 0},  // inphase limits do not colour a conductivity map
      {1, 1, {"0", "500", "-20", "25"}, 8},
      {1, 1, {"0", "400", "-25", "25"}, 0},
      {0, 0, {"0", "400", "-25", "25"}, 0},
      {0, 1, {"0", "500", "-25", "25"}, 0},
  };
  for (const auto& c : cases) {
    ResetSettings();
    Config().component = c.component;
    Config().mapColourView = c.view;
    MapState().RedrawFlags = 777;
    ApplyReadingScales(c.entry, ReadingScaleCopy::OfSettings());
    EXPECT_EQ(MapState().RedrawFlags, c.flags) << c.component << " " << c.view << " " << c.entry.condMax;
  }
}

TEST_F(ReadingScale31Test, TypedLimitsAreTakenWhileTheyFit) {
  const struct {
    ScaleLimit which;
    const char* text;
    bool taken;
  } cases[] = {
      {ScaleLimit::CondMin, "100", true},  {ScaleLimit::CondMin, "500", false},
      {ScaleLimit::CondMin, "0", false},   // unchanged
      {ScaleLimit::CondMax, "-1", false},  {ScaleLimit::CondMax, "250", true},
      {ScaleLimit::InphMin, "-", false},   {ScaleLimit::InphMin, "-30", true},
      {ScaleLimit::InphMax, "-25", false}, {ScaleLimit::InphMax, "abc", false},
  };
  for (const auto& c : cases) {
    ResetSettings();
    EXPECT_EQ(TakeLiveScaleLimit(c.which, c.text), c.taken) << c.text;
  }
  ResetSettings();
  ReadingScaleCopy before = ReadingScaleCopy::OfSettings();
  TakeLiveScaleLimit(ScaleLimit::CondMax, "250");
  MapState().RedrawFlags = 8;
  CancelReadingScales(before);
  EXPECT_DOUBLE_EQ(Config().condScaleMax, 500);
  EXPECT_EQ(MapState().RedrawFlags, 0);
}

TEST(SpeedScaleTest, FullScaleMustBeAboveTheBarMinimum) {
  test::DataRootFixture root;
  ResetPaneState();
  Panes().SpeedBarWidth = 300;
  const struct { const char* text; bool accepted; } cases[] = {
      {"0", false}, {"-2", false}, {"abc", false}, {"nan", false}, {"inf", false}, {"7.5", true}};
  for (const auto& c : cases) {
    Config().speedScaleMax = 5;
    EXPECT_EQ(ApplySpeedScale(c.text, 2), c.accepted) << c.text;
    EXPECT_DOUBLE_EQ(Config().speedScaleMax, c.accepted ? 7.5 : 5) << c.text;
  }
  EXPECT_EQ(Config().speedUnits, 2);
  EXPECT_DOUBLE_EQ(Panes().SpeedBarScale, 40.0);
  ResetPaneState();
}

}  // namespace
}  // namespace obrix
