#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>

#include "dialogs/qt/dialog_test_support.h"
#include "dialogs/qt/survey_setup_dialog.h"
#include "platform/message_box.h"
#include "platform/qt/scripted_prompts.h"
#include "settings/settings.h"
#include "settings/settings_file.h"

namespace obrix {
namespace {

class SurveySetupDialogTest : public ::testing::Test {
 protected:
  test::DataRootFixture root_;
  ScopedScriptedPrompts prompts_;
};

TEST_F(SurveySetupDialogTest, ShowsTheSettingsInItsControls) {
  Config().readingInterval = 0.25;
  Config().lineName = "L7";
  Config().lineDirection = 1;
  Drv().SurveyStartStation = -2;
  SurveySetupDialog d(nullptr);
  EXPECT_EQ(d.objectName(), "SURVEYSETUP38");
  EXPECT_EQ(d.windowTitle(), "Survey Setup");
  const struct {
    int id;
    const char* text;
  } shown[] = {{1111, "4.00"}, {1113, "L7"},          {1114, "1.00"},     {1117, "-2.000"}, {1118, "1.000"},
               {1115, "Alternate"}, {1116, "South"}, {1172, "Conductivity"}, {1173, "Vertical"}};
  for (const auto& c : shown) {
    SCOPED_TRACE(c.id);
    QWidget* w = FindControl(&d, c.id);
    ASSERT_NE(w, nullptr);
    if (auto* e = qobject_cast<QLineEdit*>(w))
      EXPECT_EQ(e->text().toStdString(), c.text);
    else
      EXPECT_EQ(qobject_cast<QComboBox*>(w)->currentText().toStdString(), c.text);
  }
  EXPECT_EQ(FindControl<QLineEdit>(&d, 1113)->maxLength(), 15);
}

TEST_F(SurveySetupDialogTest, OkTakesTheTypedValuesAndSaves) {
  prompts_ << PromptAnswer::RunDialog({ControlValue::Text(1111, "5"), ControlValue::Text(1113, "ABCDEFGHIJKLMNOP"),
                                       ControlValue::Text(1118, "0"), ControlValue::Text(1117, "100"),
                                       ControlValue::Text(1172, "Inphase"), ControlValue::Text(1116, "East")},
                                      DialogEnd::ClickOk(), "SURVEYSETUP38");
  RunSurveySetupDialog(nullptr);
  ASSERT_EQ(prompts_.Calls().size(), 1u);
  EXPECT_EQ(prompts_.Calls()[0].result, 1);
  EXPECT_DOUBLE_EQ(Config().readingInterval, 0.2);
  EXPECT_EQ(Drv().readingIntervalMs, 200);
  EXPECT_EQ(Config().lineName, "ABCDEFGHIJKLMNO");  // the edit refused the 16th character
  EXPECT_DOUBLE_EQ(Drv().StationIncrementInUse, 1.0);
  EXPECT_EQ(Config().component, 1);
  EXPECT_EQ(Config().lineDirection, 3);
  EXPECT_EQ(test::SettingsFileLine(54), "0.200000");
  EXPECT_EQ(test::SettingsFileLine(55), "ABCDEFGHIJKLMNO");
  EXPECT_EQ(test::SettingsFileLine(59), "100.000000");
}

TEST_F(SurveySetupDialogTest, NegativeOrTooFastRateIsRefusedAndTheDialogStaysOpen) {
  struct {
    const char* rate;
    const char* text;
  } cases[] = {{"-5", kRateRefusedText}, {"50", kRateTooHighText}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.rate);
    prompts_.ClearCalls();
    prompts_ << std::move(PromptAnswer::RunDialog({ControlValue::Text(1111, c.rate)}, DialogEnd::ClickOk())
                              .Then({ControlValue::Text(1111, "2")}, DialogEnd::ClickOk()))
             << PromptAnswer::Press(IDOK, kMessageOk);
    RunSurveySetupDialog(nullptr);
    ASSERT_EQ(prompts_.Calls().size(), 2u);
    EXPECT_EQ(prompts_.Calls()[1].kind, PromptCall::Message);
    EXPECT_EQ(prompts_.Calls()[1].title, kRateRefusedTitle);
    EXPECT_EQ(prompts_.Calls()[1].text, c.text);
    EXPECT_DOUBLE_EQ(Config().readingInterval, 0.5);
  }
}

TEST_F(SurveySetupDialogTest, CancelKeepsTheSurveyIncrementInUse) {
  Drv().SurveyStationIncrement = 0.25;
  Drv().StationIncrementInUse = 2.0;
  prompts_ << PromptAnswer::RunDialog({ControlValue::Text(1118, "9")}, DialogEnd::ClickCancel());
  RunSurveySetupDialog(nullptr);
  EXPECT_DOUBLE_EQ(Drv().StationIncrementInUse, 0.25);
  EXPECT_DOUBLE_EQ(Drv().SurveyStationIncrement, 0.25);
}

}  // namespace
}  // namespace obrix
