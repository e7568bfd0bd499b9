#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>

#include "dialogs/qt/dialog_test_support.h"
#include "dialogs/qt/system_setup_dialog.h"
#include "platform/qt/scripted_prompts.h"
#include "settings/settings.h"

namespace obrix {
namespace {

class SystemSetupDialogTest : public ::testing::Test {
 protected:
  test::DataRootFixture root_;
  ScopedScriptedPrompts prompts_;
};

TEST_F(SystemSetupDialogTest, BothTemplatesCarryTheSameControls) {
  for (bool narrow : {false, true}) {
    SCOPED_TRACE(narrow);
    SystemSetupDialog d(nullptr, narrow);
    EXPECT_EQ(d.objectName(), narrow ? "SYSTEMNARROW" : "SYSTEM");
    EXPECT_EQ(d.windowTitle(), "System Setup");
    EXPECT_EQ(FindControl<QLabel>(&d, 1001)->text().remove(QChar(u'&')), "EM38 State:");
    EXPECT_EQ(FindControl<QLabel>(&d, 1002)->text().remove(QChar(u'&')), "EM38 Port:");
    EXPECT_FALSE(FindControl(&d, 1003)->isVisibleTo(&d));
    EXPECT_FALSE(FindControl(&d, 1121)->isVisibleTo(&d));
    for (int id : {1125, 1134}) {
      auto* ports = FindControl<QComboBox>(&d, id);
      ASSERT_EQ(ports->count(), 99);
      EXPECT_EQ(ports->itemText(0), "COM1:");
      EXPECT_EQ(ports->itemText(98), "COM99:");
    }
    EXPECT_EQ(FindControl<QComboBox>(&d, 1125)->currentText(), "COM4:");
    EXPECT_EQ(FindControl<QComboBox>(&d, 1134)->currentText(), "COM6:");
  }
}

TEST_F(SystemSetupDialogTest, OkStoresTheListIndices) {
  prompts_ << PromptAnswer::RunDialog({ControlValue::Text(1126, "Disabled"), ControlValue::Text(1125, "COM12:"),
                                       ControlValue::Text(1134, "COM1:"), ControlValue::Text(1136, "<P>"),
                                       ControlValue::Text(1138, "mph"), ControlValue::Text(1244, "UTM US Feet"),
                                       ControlValue::Checked(603, false), ControlValue::Checked(601, false)},
                                      DialogEnd::ClickOk(), "SYSTEM");
  EXPECT_EQ(RunSystemSetupDialog(nullptr, false), 1);
  const Settings& s = Config();
  EXPECT_EQ(s.instrumentEnabled, 0);
  EXPECT_EQ(s.instrumentPort, 11);
  EXPECT_EQ(s.gpsPort, 0);
  EXPECT_EQ(s.pauseKey, 3);
  EXPECT_EQ(s.speedUnits, 3);
  EXPECT_EQ(s.coordinatesDisplay, 3);
  EXPECT_EQ(s.audioTicks, 0);
  EXPECT_EQ(s.disconnectAlarm, 0);
  EXPECT_EQ(test::SettingsFileLine(8), "11");
  EXPECT_EQ(test::SettingsFileLine(4), "0");
}

}  // namespace
}  // namespace obrix
