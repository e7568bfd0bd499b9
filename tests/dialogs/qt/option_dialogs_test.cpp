// The small option dialogs of the logging screen driven through the prompt script.
#include <gtest/gtest.h>

#include <memory>

#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "dialogs/qt/audio_options_dialog.h"
#include "dialogs/qt/comment_dialog.h"
#include "dialogs/qt/coordinates_units_dialog.h"
#include "dialogs/qt/gps_mask_dialog.h"
#include "dialogs/qt/map_size_dialog.h"
#include "dialogs/qt/new_line_dialog.h"
#include "dialogs/qt/new_station_dialog.h"
#include "dialogs/qt/readings_scale_dialog.h"
#include "dialogs/qt/speed_scale_dialog.h"
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

class OptionDialogsTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetSession();
    ResetMapViewState();
    ResetPaneState();
  }
  void TearDown() override {
    ResetSession();
    ResetMapViewState();
    ResetPaneState();
  }
  test::DataRootFixture root_;
};

// Every dialog: its template and caption, and Cancel changes nothing.
TEST_F(OptionDialogsTest, TemplatesCaptionsAndCancel) {
  const struct {
    int (*run)(QWidget*);
    const char *templ, *caption;
  } cases[] = {
      {RunAudioOptionsDialog, "AUDIOFUNCTIONS", "Audio Options"},
      {RunGpsMaskDialog, "GPSMASK", "GPS Warning Mask"},
      {RunCoordinatesUnitsDialog, "COORDINATESUNITS", "Set Coordinates Display Units"},
      {RunMapSizeDialog, "MAPSCALE", "Map Size"},
      {RunReadingsScaleDialog, "READINGSCALE31", "Conductivity/Inphase Readings Scales"},
      {RunSpeedScaleDialog, "SPEEDSCALE", "Set New Speed Bar Scale"},
      {RunNewStationDialog, "NEWSTATION", "New Station"},
      {RunCommentDialog, "COMMENT", "Enter Comment"},
  };
  for (const auto& c : cases) {
    ScopedScriptedPrompts prompts;
    prompts << PromptAnswer::RunDialog({}, DialogEnd::ClickCancel(), c.templ);
    Settings before = Config();
    EXPECT_EQ(c.run(nullptr), 0) << c.templ;
    ASSERT_EQ(prompts.Calls().size(), 1u);
    EXPECT_EQ(prompts.Calls()[0].title, c.caption);
    EXPECT_EQ(Config().mapSize, before.mapSize);
    EXPECT_EQ(Config().speedScaleMax, before.speedScaleMax);
    EXPECT_EQ(Config().condScaleMax, before.condScaleMax);
    EXPECT_EQ(Config().audioTicks, before.audioTicks);
  }
}

TEST_F(OptionDialogsTest, AudioOptionsStoreTheChecks) {
  ScopedScriptedPrompts prompts;
  prompts << PromptAnswer::RunDialog({ControlValue::Checked(1005, false), ControlValue::Checked(1007, false)});
  EXPECT_EQ(RunAudioOptionsDialog(nullptr), 1);
  EXPECT_EQ(Config().audioTicks, 0);
  EXPECT_EQ(Config().disconnectAlarm, 1);
  EXPECT_EQ(Config().gpsAudioWarning, 0);
}

TEST_F(OptionDialogsTest, GpsMaskLabelsAndValues) {
  Config().nmeaFormat = 5;  // GLL
  {
    GpsMaskDialog d(nullptr);
    EXPECT_EQ(FindControl<QLabel>(&d, 1255)->text(), "N/A");
    EXPECT_EQ(FindControl<QLabel>(&d, 1240)->text(), "N/A");
    EXPECT_EQ(FindControl<QLabel>(&d, 1241)->text(), "Satellites");
    EXPECT_TRUE(FindControl(&d, 1250)->isEnabled());
  }
  Config().nmeaFormat = 4;  // LLQ
  ScopedScriptedPrompts prompts;
  prompts << PromptAnswer::RunDialog({ControlValue::Text(1253, "7"), ControlValue::Text(1252, "2.5"),
                                      ControlValue::Text(1251, "RTK 4"), ControlValue::Text(1250, "Disabled")});
  EXPECT_EQ(RunGpsMaskDialog(nullptr), 1);
  EXPECT_EQ(Config().gpsMaskSatellites, 7);
  EXPECT_DOUBLE_EQ(Config().gpsMaskDilution, 2.5);
  EXPECT_EQ(Config().gpsMaskQuality, 3);
  EXPECT_EQ(Config().gpsMaskWarning, 0);
}

TEST_F(OptionDialogsTest, CoordinateUnitsOfGridData) {
  Config().nmeaFormat = 4;  // LLQ
  Config().coordinatesDisplay = 0;
  {
    CoordinatesUnitsDialog d(nullptr);
    auto* list = FindControl<QComboBox>(&d, 1004);
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->currentText(), "meters");
    EXPECT_EQ(Config().coordinatesDisplay, 1);  // changed as the dialog opens
  }
  ScopedScriptedPrompts prompts;
  prompts << PromptAnswer::RunDialog({ControlValue::Text(1004, "US Survey Feet")});
  EXPECT_EQ(RunCoordinatesUnitsDialog(nullptr), 1);
  EXPECT_EQ(Config().coordinatesDisplay, 3);
  Config().nmeaFormat = 1;  // GGA
  prompts << PromptAnswer::RunDialog({ControlValue::Text(1004, "Geodetic Lat/Lon")});
  EXPECT_EQ(RunCoordinatesUnitsDialog(nullptr), 1);
  EXPECT_EQ(Config().coordinatesDisplay, 0);
}

TEST_F(OptionDialogsTest, MapSizeOfZeroIsPutBackAtOnce) {
  Drv().MapPaneWidth = 402;
  Config().gridStyle = 1;
  MapSizeDialog d(nullptr);
  EXPECT_EQ(FindControl<QLabel>(&d, 1018)->text(), "&Guide Lines Interval:");
  auto* size = FindControl<QLineEdit>(&d, 1204);
  size->selectAll();
  size->insert("0");
  EXPECT_EQ(size->text(), "1");
  size->selectAll();
  size->insert("80");
  FindControl<QPushButton>(&d, IDOK)->click();
  EXPECT_EQ(Config().mapSize, 80);
  EXPECT_EQ(MapState().RedrawFlags, 256);
  EXPECT_DOUBLE_EQ(MapState().PixelsPerUnit, 5.0);
}

TEST_F(OptionDialogsTest, ReadingsScaleMaximumBelowMinimum) {
  ScopedScriptedPrompts prompts;
  prompts << PromptAnswer::RunDialog({ControlValue::Text(1174, "30"), ControlValue::Text(1177, "20")});
  EXPECT_EQ(RunReadingsScaleDialog(nullptr), 1);
  EXPECT_DOUBLE_EQ(Config().condScaleMin, 30);
  EXPECT_DOUBLE_EQ(Config().condScaleMax, 130);
  EXPECT_DOUBLE_EQ(Config().inphScaleMin, -25);
  EXPECT_DOUBLE_EQ(Config().inphScaleMax, 25);
}

TEST_F(OptionDialogsTest, SpeedScaleNotAboveZeroIsRefused) {
  ScopedScriptedPrompts prompts;
  prompts << PromptAnswer::RunDialog({ControlValue::Text(1192, "0")}, DialogEnd::ClickOk(), "SPEEDSCALE")
                 .Then({ControlValue::Text(1192, "12.5"), ControlValue::Text(1193, "km/h")})
          << PromptAnswer::Press(IDOK, kMessageOk);
  // The refusal comes while the dialog is open, before its second step.
  EXPECT_EQ(RunSpeedScaleDialog(nullptr), 1);
  ASSERT_EQ(prompts.Calls().size(), 2u);
  EXPECT_EQ(prompts.Calls()[1].templateName, kMessageOk);
  EXPECT_DOUBLE_EQ(Config().speedScaleMax, 12.5);
  EXPECT_EQ(Config().speedUnits, 2);
}

TEST_F(OptionDialogsTest, NewLineAlternateProposalAndNameLength) {
  Config().lineName = "1";
  Config().lineIncrement = 1;
  Config().lineSequence = 0;
  Config().lineDirection = 2;
  Drv().StationValue = 47.5;
  Drv().StationIncrementInUse = 0.5;
  {
    NewLineDialog d(nullptr);
    EXPECT_EQ(FindControl<QLineEdit>(&d, 1182)->text(), "1");
    EXPECT_EQ(FindControl<QLineEdit>(&d, 1184)->text(), "47.500");
    EXPECT_EQ(FindControl<QLineEdit>(&d, 1106)->text(), "2.00");
    EXPECT_EQ(FindControl<QLineEdit>(&d, 1108)->text(), "47.500");
    EXPECT_EQ(FindControl<QLineEdit>(&d, 1109)->text(), "-0.500");
    EXPECT_EQ(FindControl<QComboBox>(&d, 1180)->currentText(), "South");
    EXPECT_EQ(FindControl<QLineEdit>(&d, 1106)->maxLength(), 15);
  }
  EXPECT_EQ(Config().lineName, "2.00");  // replaced at opening, also when cancelled
  ScopedScriptedPrompts prompts;
  prompts << PromptAnswer::RunDialog({ControlValue::Text(1106, "NORTHFIELD-014")}, DialogEnd::ClickOk(),
                                     "GETNEWLINE");
  EXPECT_EQ(RunNewLineDialog(nullptr), 1);
  EXPECT_EQ(Config().lineName, "NORTHFIELD-0");
  EXPECT_EQ(Config().lineDirection, 1);  // the proposal: South for the North line
  EXPECT_DOUBLE_EQ(Drv().StationIncrementInUse, -0.5);
  EXPECT_DOUBLE_EQ(Config().startStation, 47.5);
}

// A "C" that reaches the dialog itself (no edit took it) closes only the new line dialog.
TEST_F(OptionDialogsTest, NewLineClosesOnCOthersDoNot) {
  const struct {
    std::unique_ptr<SetupDialog> (*make)();
    bool closes;
  } cases[] = {
      {[]() -> std::unique_ptr<SetupDialog> { return std::make_unique<NewLineDialog>(nullptr); }, true},
      {[]() -> std::unique_ptr<SetupDialog> { return std::make_unique<NewStationDialog>(nullptr); }, false},
      {[]() -> std::unique_ptr<SetupDialog> { return std::make_unique<AudioOptionsDialog>(nullptr); }, false},
      {[]() -> std::unique_ptr<SetupDialog> { return std::make_unique<MapSizeDialog>(nullptr); }, false},
  };
  for (const auto& c : cases) {
    std::unique_ptr<SetupDialog> d = c.make();
    d->show();
    QKeyEvent key(QEvent::KeyPress, Qt::Key_C, Qt::NoModifier, "c");
    QCoreApplication::sendEvent(d.get(), &key);
    EXPECT_EQ(d->isVisible(), !c.closes) << d->objectName().toStdString();
  }
}

// Each dialog opens with its first field focused, an edit's text selected, so typing replaces the value.
TEST_F(OptionDialogsTest, FirstFieldIsFocusedAtOpening) {
  const struct {
    std::unique_ptr<SetupDialog> (*make)();
    int first;
  } cases[] = {
      {[]() -> std::unique_ptr<SetupDialog> { return std::make_unique<MapSizeDialog>(nullptr); }, 1204},
      {[]() -> std::unique_ptr<SetupDialog> { return std::make_unique<CoordinatesUnitsDialog>(nullptr); }, 1004},
      {[]() -> std::unique_ptr<SetupDialog> { return std::make_unique<GpsMaskDialog>(nullptr); }, 1250},
      {[]() -> std::unique_ptr<SetupDialog> { return std::make_unique<ReadingsScaleDialog>(nullptr); }, 1174},
      {[]() -> std::unique_ptr<SetupDialog> { return std::make_unique<AudioOptionsDialog>(nullptr); }, 1005},
      {[]() -> std::unique_ptr<SetupDialog> { return std::make_unique<SpeedScaleDialog>(nullptr); }, 1192},
      {[]() -> std::unique_ptr<SetupDialog> { return std::make_unique<NewLineDialog>(nullptr); }, 1106},
      {[]() -> std::unique_ptr<SetupDialog> { return std::make_unique<NewStationDialog>(nullptr); }, 1188},
      {[]() -> std::unique_ptr<SetupDialog> { return std::make_unique<CommentDialog>(nullptr); }, 1190},
  };
  for (const auto& c : cases) {
    std::unique_ptr<SetupDialog> d = c.make();
    d->show();
    SCOPED_TRACE(d->objectName().toStdString());
    ASSERT_NE(d->focusWidget(), nullptr);
    EXPECT_EQ(d->focusWidget(), FindControl(d.get(), c.first));
    if (auto* edit = qobject_cast<QLineEdit*>(d->focusWidget())) EXPECT_EQ(edit->selectedText(), edit->text());
  }
  // Map Size: "60" and Return take 60 instead of keeping the size.
  MapSizeDialog d(nullptr);
  d.show();
  for (const char* key : {"6", "0"}) {
    QKeyEvent press(QEvent::KeyPress, key[0] == '6' ? Qt::Key_6 : Qt::Key_0, Qt::NoModifier, key);
    QCoreApplication::sendEvent(d.focusWidget(), &press);
  }
  FindControl<QPushButton>(&d, IDOK)->click();
  EXPECT_EQ(d.result(), 1);
  EXPECT_EQ(Config().mapSize, 60);
}

TEST_F(OptionDialogsTest, CommentClosesWithZeroAfterOk) {
  ScopedScriptedPrompts prompts;
  prompts << PromptAnswer::RunDialog({ControlValue::Text(1190, "WET PATCH NEAR DITCH")});
  EXPECT_EQ(RunCommentDialog(nullptr), 0);
  EXPECT_EQ(prompts.Calls()[0].result, 0);
}

}  // namespace
}  // namespace obrix
