// The map and profile display options dialogs driven through the prompt script.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <map>

#include "dialogs/qt/map_display_options_dialog.h"
#include "dialogs/qt/profile_display_options_dialog.h"
#include "map/map_view_state.h"
#include "platform/message_box.h"
#include "platform/qt/buttons.h"
#include "platform/qt/scripted_prompts.h"
#include "settings/settings.h"
#include "state/session.h"
#include "survey/pane_state.h"
#include "test_support.h"

namespace obrix {
namespace {

class DisplayOptions31DialogTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetSession();
    ResetMapViewState();
    ResetPaneState();
    Config().mapColourView = 1;  // the start-up value
  }
  void TearDown() override {
    ResetSession();
    ResetMapViewState();
    ResetPaneState();
  }
  test::DataRootFixture root_;
};

TEST_F(DisplayOptions31DialogTest, OkStoresTheNormalisedValues) {
  ScopedScriptedPrompts prompts;
  prompts << PromptAnswer::RunDialog({ControlValue::Checked(1009, true), ControlValue::Text(1012, "135"),
                                      ControlValue::Text(1014, "0"), ControlValue::Text(1010, "0.2"),
                                      ControlValue::Text(1260, "feet")},
                                     DialogEnd::ClickOk(), "DISPLAYOPTIONS31");
  EXPECT_EQ(RunMapDisplayOptionsDialog(nullptr, false), 1);
  const Settings& s = Config();
  EXPECT_EQ(s.gridStyle, 1);
  EXPECT_DOUBLE_EQ(s.linesAngleDeg, -45);
  EXPECT_EQ(s.mapSize, 1);
  EXPECT_DOUBLE_EQ(s.gridInterval, 0.5);
  EXPECT_EQ(s.mapUnits, 1);
  EXPECT_EQ(MapState().RedrawFlags, 32 | 64 | 128 | 256 | 512);
  EXPECT_EQ(MapState().SavedMapSize, 40);  // the copy taken at opening
  ASSERT_EQ(prompts.Calls().size(), 1u);
  EXPECT_EQ(prompts.Calls()[0].title, "Map Display Options");
}

TEST_F(DisplayOptions31DialogTest, UnitsAndSwathAreGreyedDuringASession) {
  const struct { int state; bool enabled; } cases[] = {
      {Closed, true}, {NoFile, false}, {StandBy, false}, {Logging, false}};
  for (bool narrow : {false, true}) {
    for (const auto& c : cases) {
      Sess().LoggingState = c.state;
      MapDisplayOptionsDialog d(nullptr, narrow);
      EXPECT_EQ(d.objectName(), narrow ? "DISPLAYOPTIONS31NARROW" : "DISPLAYOPTIONS31");
      EXPECT_EQ(FindControl(&d, 1260)->isEnabled(), c.enabled) << c.state;
      EXPECT_EQ(FindControl(&d, 1258)->isEnabled(), c.enabled) << c.state;
      EXPECT_TRUE(FindControl(&d, 1014)->isEnabled());
    }
  }
}

TEST_F(DisplayOptions31DialogTest, OnlyThePositionColourChanged) {
  ScopedScriptedPrompts prompts;
  prompts << PromptAnswer::Pick(0x00FF00);
  MapDisplayOptionsDialog d(nullptr, false);
  d.show();
  FindControl<QPushButton>(&d, 1211)->click();
  ASSERT_EQ(prompts.Calls().size(), 1u);
  EXPECT_EQ(prompts.Calls()[0].initialColour, std::optional<Colour>(0xFF0000));  // preset with the current one
  EXPECT_EQ(Config().positionColour, 0x00FF00u);  // at once
  FindControl<QPushButton>(&d, IDOK)->click();
  EXPECT_EQ(d.result(), 1);
  EXPECT_EQ(MapState().RedrawFlags, 4);
}

TEST_F(DisplayOptions31DialogTest, CancelRestoresWhatChangedWhileOpen) {
  ScopedScriptedPrompts prompts;
  prompts << PromptAnswer::CancelColour();
  MapState().RedrawFlags = 4;
  MapDisplayOptionsDialog d(nullptr, true);
  d.show();
  FindControl<QPushButton>(&d, 1210)->click();  // a cancelled chooser keeps the colour
  EXPECT_EQ(Config().cursorColour, 0u);
  FindControl<QAbstractButton>(&d, 1214)->click();
  FindControl<QAbstractButton>(&d, 1230)->click();
  FindControl<QAbstractButton>(&d, 1009)->click();
  EXPECT_EQ(Config().cursorSize, 0);
  EXPECT_EQ(Drv().CursorHalfSize, 3);
  EXPECT_EQ(Config().positionSize, 5);
  EXPECT_EQ(Config().gridStyle, 1);
  EXPECT_EQ(FindControl<QLabel>(&d, 1011)->text(), "Lines Interval:");
  EXPECT_TRUE(FindControl(&d, 1012)->isEnabled());
  FindControl<QPushButton>(&d, IDCANCEL)->click();
  EXPECT_EQ(d.result(), 0);
  EXPECT_EQ(Config().cursorSize, 3);
  EXPECT_EQ(Drv().CursorHalfSize, 6);
  EXPECT_EQ(Config().positionSize, 4);
  EXPECT_EQ(Config().gridStyle, 0);
  EXPECT_EQ(MapState().RedrawFlags, 0);
}

// Alt+O and Alt+C belong to OK and Cancel, and to no other control of the dialog (an ambiguous mnemonic would
// only move the focus).
TEST_F(DisplayOptions31DialogTest, OkAndCancelHaveTheirAltKeys) {
  for (bool narrow : {false, true}) {
    MapDisplayOptionsDialog d(nullptr, narrow);
    std::map<QKeySequence, QStringList> owners;
    for (QAbstractButton* b : d.findChildren<QAbstractButton*>()) owners[QKeySequence::mnemonic(b->text())] << b->text();
    for (QLabel* l : d.findChildren<QLabel*>()) owners[QKeySequence::mnemonic(l->text())] << l->text();
    EXPECT_EQ(owners[QKeySequence(Qt::ALT | Qt::Key_O)], QStringList{"&OK"});
    EXPECT_EQ(owners[QKeySequence(Qt::ALT | Qt::Key_C)], QStringList{"&Cancel"});
    EXPECT_EQ(FindControl<QPushButton>(&d, IDOK)->text(), "&OK");
    EXPECT_EQ(FindControl<QPushButton>(&d, IDCANCEL)->text(), "&Cancel");
  }
}

TEST_F(DisplayOptions31DialogTest, UnitLabelsFollowTheList) {
  MapDisplayOptionsDialog d(nullptr, false);
  const struct { int units; const char *size, *grid; } cases[] = {
      {1, "feet", "feet"}, {2, "US feet", "USft"}, {0, "metres", "m"}};
  for (const auto& c : cases) {
    FindControl<QComboBox>(&d, 1260)->setCurrentIndex(c.units);
    EXPECT_EQ(FindControl<QLabel>(&d, 1015)->text(), c.size);
    EXPECT_EQ(FindControl<QLabel>(&d, 1259)->text(), c.size);
    EXPECT_EQ(FindControl<QLabel>(&d, 1013)->text(), c.grid);
  }
  EXPECT_EQ(Config().mapUnits, 0);  // taken on OK only
}

TEST_F(DisplayOptions31DialogTest, ColourMapNeedsTheInstrument) {
  Config().instrumentEnabled = 0;
  Config().mapColourView = 0;
  ScopedScriptedPrompts prompts;
  prompts << PromptAnswer::RunDialog({ControlValue::Index(1016, 1)}, DialogEnd::ClickOk())
          << PromptAnswer::Press(IDOK, kMessageOk);
  EXPECT_EQ(RunMapDisplayOptionsDialog(nullptr, false), 1);
  ASSERT_EQ(prompts.Calls().size(), 2u);
  EXPECT_EQ(prompts.Calls()[1].title, "WARNING");
  EXPECT_EQ(prompts.Calls()[1].text, "Only sensor position avaiable for GXY format");
  EXPECT_EQ(Config().mapColourView, 0);
}

class DisplaySetup31DialogTest : public DisplayOptions31DialogTest {};

TEST_F(DisplaySetup31DialogTest, ThicknessAndGridChannel) {
  ScopedScriptedPrompts prompts;
  prompts << PromptAnswer::RunDialog({ControlValue::Text(668, "2 pixels"), ControlValue::Text(1202, "Inphase")},
                                     DialogEnd::ClickOk(), "DISPLAYSETUP31");
  Panes().Cond.Drawn = 1;
  EXPECT_EQ(RunProfileDisplayOptionsDialog(nullptr), 1);
  EXPECT_EQ(Config().traceThickness[2], 2);
  EXPECT_EQ(Config().profileGridChannel, 1);
  EXPECT_EQ(Panes().Cond.Drawn, 0);
  EXPECT_EQ(prompts.Calls()[0].title, "Setup Display Options");
}

TEST_F(DisplaySetup31DialogTest, ColourButtonsStartAtTheCurveColourAndCancelRestores) {
  ScopedScriptedPrompts prompts;
  prompts << PromptAnswer::Pick(0x123456) << PromptAnswer::CancelColour();
  ProfileDisplayOptionsDialog d(nullptr);
  d.show();
  FindControl<QPushButton>(&d, 659)->click();
  FindControl<QPushButton>(&d, 661)->click();
  ASSERT_EQ(prompts.Calls().size(), 2u);
  EXPECT_EQ(prompts.Calls()[0].initialColour, std::optional<Colour>(0x00FF00));
  EXPECT_EQ(Config().traceColour[1], 0x123456u);
  EXPECT_EQ(Config().traceColour[3], 0xFF00FFu);  // a cancelled chooser keeps it
  FindControl<QComboBox>(&d, 666)->setCurrentIndex(3);
  EXPECT_EQ(Config().traceThickness[0], 4);
  FindControl<QPushButton>(&d, IDCANCEL)->click();
  EXPECT_EQ(Config().traceColour[1], 0x00FF00u);
  EXPECT_EQ(Config().traceThickness[0], 2);
}

}  // namespace
}  // namespace obrix
