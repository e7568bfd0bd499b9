#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "dialogs/qt/dialog_test_support.h"
#include "dialogs/qt/gps_setup_dialog.h"
#include "platform/qt/scripted_prompts.h"
#include "settings/settings.h"
#include "state/session.h"

namespace obrix {
namespace {

class GpsSetupDialogTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetSession(); }
  void TearDown() override { ResetSession(); }
  test::DataRootFixture root_;
  ScopedScriptedPrompts prompts_;
};

QString LabelText(QWidget* d, int id) { return FindControl<QLabel>(d, id)->text(); }
bool Enabled(QWidget* d, int id) { return FindControl(d, id)->isEnabled(); }

TEST_F(GpsSetupDialogTest, MaskAndTotalStationControlsFollowTheNmeaData) {
  struct Case {
    const char* format;
    bool mask;
    const char* dilution;
    bool totalStation;
  } const cases[] = {
      {"GLL", false, "N/A", false},         {"RTS pseudo-GGA", false, "N/A", true},
      {"pseudo-GLL", false, "N/A", false},  {"GGA/GSA", true, "PDOP", false},
      {"GGA", true, "HDOP", false},         {"LLQ", true, "Quality[m]", false},
  };
  Config().rtsUnits = 1;
  GpsSetupDialog d(nullptr, false);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format);
    test::Choose(&d, 1164, c.format);
    for (int id : {1246, 1248, 1247, 1249}) EXPECT_EQ(Enabled(&d, id), c.mask) << id;
    EXPECT_EQ(LabelText(&d, 1255), c.mask ? "Warning" : "N/A");
    EXPECT_EQ(LabelText(&d, 1240), c.mask ? "Quality" : "N/A");
    EXPECT_EQ(LabelText(&d, 1241), c.mask ? "Satellites" : "N/A");
    EXPECT_EQ(LabelText(&d, 1254), c.dilution);
    for (int id : {1306, 1170, 1307}) EXPECT_EQ(Enabled(&d, id), c.totalStation) << id;
    if (c.totalStation) EXPECT_EQ(FindControl<QComboBox>(&d, 1170)->currentText(), "US Survey Feet");
  }
}

TEST_F(GpsSetupDialogTest, OpeningAppliesTheStoredFormat) {
  Config().nmeaFormat = 4;
  Config().gpsMaskDilution = 2.5;
  GpsSetupDialog d(nullptr, false);
  EXPECT_EQ(d.objectName(), "GPSINPUT");
  EXPECT_EQ(d.windowTitle(), "GPS Port Setup");
  EXPECT_EQ(LabelText(&d, 1254), "Quality [m]");
  EXPECT_EQ(FindControl<QLineEdit>(&d, 1247)->text(), "2.5");
  EXPECT_FALSE(Enabled(&d, 1170));
  EXPECT_EQ(FindControl<QComboBox>(&d, 1249)->count(), 10);
}

TEST_F(GpsSetupDialogTest, OkStoresSatellitesAndTheMapFlag) {
  prompts_ << PromptAnswer::RunDialog({ControlValue::Text(1249, "7"), ControlValue::Text(1247, "1.5"),
                                       ControlValue::Text(1163, "Disabled"),
                                       ControlValue::Text(1164, "RTS pseudo-GGA"), ControlValue::Checked(1306, true)},
                                      DialogEnd::ClickOk(), "GPSINPUT");
  Sess().MapVisible = true;
  EXPECT_EQ(RunGpsSetupDialog(nullptr, false), 1);
  EXPECT_EQ(Config().gpsMaskSatellites, 7);
  EXPECT_EQ(Config().gpsInput, 0);
  EXPECT_EQ(Config().nmeaFormat, 7);
  EXPECT_EQ(Config().slamPseudoGga, 1);
  EXPECT_DOUBLE_EQ(Config().gpsMaskDilution, 1.5);
  EXPECT_FALSE(Sess().MapVisible);
  EXPECT_EQ(test::SettingsFileLine(72), "7");
}

TEST_F(GpsSetupDialogTest, NarrowTemplateKeepsTheSlamValue) {
  Config().slamPseudoGga = 1;
  Config().nmeaFormat = 7;
  {
    GpsSetupDialog d(nullptr, true);
    EXPECT_EQ(d.objectName(), "GPSINPUTNARROW");
    EXPECT_EQ(FindControl(&d, 1306), nullptr);
    EXPECT_EQ(FindControl(&d, 1307), nullptr);
    EXPECT_TRUE(Enabled(&d, 1170));
  }
  prompts_ << PromptAnswer::RunDialog({ControlValue::Text(1164, "GGA")}, DialogEnd::ClickOk(), "GPSINPUTNARROW");
  EXPECT_EQ(RunGpsSetupDialog(nullptr, true), 1);
  EXPECT_EQ(Config().slamPseudoGga, 1);
  EXPECT_EQ(Config().nmeaFormat, 1);
}

}  // namespace
}  // namespace obrix
