#include <gtest/gtest.h>

#include <string>

#include "dialogs/geometry_setup.h"
#include "settings/settings.h"
#include "settings/settings_file.h"
#include "test_support.h"

namespace obrix {
namespace {

class GeometrySetupForm : public ::testing::Test {
 protected:
  test::DataRootFixture root_;
};

TEST_F(GeometrySetupForm, OffsetsShowInTheStoredUnits) {
  struct Case {
    double metres;
    int units;
    const char* shown;
  } const cases[] = {
      {-0.3, 0, "-0.30"}, {-0.3, 1, "-30.00"}, {0.3048, 2, "1.00"}, {0.3048, 3, "12.00"}, {1.5, 7, "1.50"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shown);
    EXPECT_EQ(OffsetText(c.metres, c.units), c.shown);
  }
}

TEST_F(GeometrySetupForm, OkReadsTheFieldsInTheUnitsChosenLast) {
  struct Case {
    const char* name;
    int storedUnits;
    double storedLateral;
    int chosenUnits;
    const char* lateralText;  // nullptr: as shown
    double lateral;
  } const cases[] = {
      {"unchanged centimetres", 1, -0.3, 1, nullptr, -0.3},
      {"metres field read as centimetres", 0, -0.3, 1, nullptr, -0.003},
      {"inches", 0, 0.0, 3, "12", 0.3048},
      {"feet", 0, 0.0, 2, "-2.5", -0.762},
      {"not a number", 0, -0.3, 0, "abc", 0.0},
      {"infinite", 0, -0.3, 0, "1e999", 0.0},
      {"unchanged feet keep the metres", 2, -0.3, 2, nullptr, -0.3},  // shown as -0.98
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResetSettings();
    Config().geometryUnits = c.storedUnits;
    Config().lateralOffset = c.storedLateral;
    const GeometryForm opened = OpenGeometryForm();
    GeometryForm f = opened;
    f.units = c.chosenUnits;
    if (c.lateralText) f.lateralOffset = c.lateralText;
    ApplyGeometryForm(f, opened);
    EXPECT_EQ(Config().geometryUnits, c.chosenUnits);
    EXPECT_DOUBLE_EQ(Config().lateralOffset, c.lateral);
  }
}

TEST_F(GeometrySetupForm, AlongOffsetSwathEdgesAndFileFollowOk) {
  Config().mapUnits = 1;  // feet map: the edges are in feet, the offsets stay metres
  Config().swathWidthIndex = 3;  // 2 map units
  const GeometryForm opened = OpenGeometryForm();
  GeometryForm f = opened;
  f.lateralOffset = "0.3048";
  f.alongOffset = "-1.25";
  ApplyGeometryForm(f, opened);
  EXPECT_DOUBLE_EQ(Config().alongOffset, -1.25);
  EXPECT_DOUBLE_EQ(Drv().AlongOffsetInUse, -1.25);
  EXPECT_DOUBLE_EQ(Drv().SwathLeft, 2.0);   // 0.5 x 2 + 1 ft
  EXPECT_DOUBLE_EQ(Drv().SwathRight, 0.0);
  ResetSettings();
  SaveLoadSettings(Load);
  EXPECT_DOUBLE_EQ(Config().lateralOffset, 0.3048);
  EXPECT_DOUBLE_EQ(Config().alongOffset, -1.25);
}

}  // namespace
}  // namespace obrix
