#include <gtest/gtest.h>

#include <QLineEdit>
#include <QRadioButton>

#include "dialogs/qt/dialog_test_support.h"
#include "dialogs/qt/geometry_setup_dialog.h"
#include "platform/qt/scripted_prompts.h"
#include "settings/settings.h"

namespace obrix {
namespace {

class GeometrySetupDialogTest : public ::testing::Test {
 protected:
  test::DataRootFixture root_;
  ScopedScriptedPrompts prompts_;
};

TEST_F(GeometrySetupDialogTest, ShowsTheOffsetsInTheStoredUnits) {
  Config().geometryUnits = 1;
  Config().lateralOffset = -0.3;
  Config().alongOffset = 0.5;
  GeometrySetupDialog d(nullptr);
  EXPECT_EQ(d.objectName(), "ARRAYGEOMETRY38");
  EXPECT_EQ(FindControl<QLineEdit>(&d, 1151)->text(), "-30.00");
  EXPECT_EQ(FindControl<QLineEdit>(&d, 1152)->text(), "50.00");
  for (int i = 0; i < 4; ++i) EXPECT_EQ(FindControl<QRadioButton>(&d, 1155 + i)->isChecked(), i == 1) << i;
}

TEST_F(GeometrySetupDialogTest, OkReadsTheFieldsInTheCheckedUnits) {
  struct Case {
    const char* name;
    int storedUnits;
    std::vector<ControlValue> values;
    double lateral;
    int units;
  } const cases[] = {
      {"centimetres untouched", 1, {}, -0.3, 1},
      {"metres field, centimetres checked", 0, {ControlValue::Checked(1156, true)}, -0.003, 1},
      {"12 inches", 0, {ControlValue::Text(1151, "12"), ControlValue::Checked(1158, true)}, 0.3048, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResetSettings();
    Config().geometryUnits = c.storedUnits;
    Config().lateralOffset = -0.3;
    prompts_ << PromptAnswer::RunDialog(c.values, DialogEnd::ClickOk(), "ARRAYGEOMETRY38");
    EXPECT_EQ(RunGeometrySetupDialog(nullptr), 1);
    EXPECT_DOUBLE_EQ(Config().lateralOffset, c.lateral);
    EXPECT_EQ(Config().geometryUnits, c.units);
  }
}

}  // namespace
}  // namespace obrix
