#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <cstdlib>
#include <functional>
#include <memory>
#include <sys/stat.h>

#include "app/qt/setup_window.h"
#include "dialogs/qt/dialog_test_support.h"
#include "dialogs/qt/geometry_setup_dialog.h"
#include "dialogs/qt/gps_setup_dialog.h"
#include "dialogs/qt/survey_setup_dialog.h"
#include "dialogs/qt/system_setup_dialog.h"
#include "platform/qt/scripted_prompts.h"
#include "settings/settings.h"
#include "settings/settings_file.h"
#include "settings/settings_image.h"
#include "state/session.h"

namespace obrix {
namespace {

struct DialogKind {
  const char* templateName;
  std::function<void()> run;
  std::function<std::unique_ptr<QDialog>()> make;
  std::vector<ControlValue> everyField;
};

std::vector<DialogKind> Dialogs() {
  return {
      {"SURVEYSETUP38", [] { RunSurveySetupDialog(nullptr); },
       [] { return std::make_unique<SurveySetupDialog>(nullptr); },
       {ControlValue::Text(1117, "5"), ControlValue::Text(1118, "2"), ControlValue::Text(1113, "Z"),
        ControlValue::Text(1114, "3"), ControlValue::Index(1115, 1), ControlValue::Index(1116, 0),
        ControlValue::Text(1111, "9"), ControlValue::Index(1172, 1), ControlValue::Index(1173, 1)}},
      {"SYSTEM", [] { RunSystemSetupDialog(nullptr, false); },
       [] { return std::make_unique<SystemSetupDialog>(nullptr, false); },
       {ControlValue::Index(1126, 0), ControlValue::Index(1125, 20), ControlValue::Index(1134, 30),
        ControlValue::Index(1136, 2), ControlValue::Index(1138, 2), ControlValue::Index(1244, 2),
        ControlValue::Checked(603, false), ControlValue::Checked(601, false)}},
      {"ARRAYGEOMETRY38", [] { RunGeometrySetupDialog(nullptr); },
       [] { return std::make_unique<GeometrySetupDialog>(nullptr); },
       {ControlValue::Text(1151, "7"), ControlValue::Text(1152, "8"), ControlValue::Checked(1158, true)}},
      {"GPSINPUT", [] { RunGpsSetupDialog(nullptr, false); },
       [] { return std::make_unique<GpsSetupDialog>(nullptr, false); },
       {ControlValue::Index(1163, 0), ControlValue::Index(1165, 40), ControlValue::Index(1166, 5),
        ControlValue::Index(1167, 2), ControlValue::Index(1168, 0), ControlValue::Index(1169, 1),
        ControlValue::Index(1246, 0), ControlValue::Index(1248, 4), ControlValue::Text(1247, "9.9"),
        ControlValue::Index(1249, 9), ControlValue::Checked(602, false),
        // The total-station format disables the mask and enables its own controls.
        ControlValue::Index(1164, 7), ControlValue::Checked(1306, true), ControlValue::Index(1170, 1)}},
  };
}

class SetupDialogsA : public ::testing::Test {
 protected:
  void SetUp() override { ResetSession(); }
  void TearDown() override { ResetSession(); }
  test::DataRootFixture root_;
};

TEST_F(SetupDialogsA, CancelAndEscapeLeaveSettingsAndFileUntouched) {
  for (const DialogKind& k : Dialogs()) {
    for (DialogEnd end : {DialogEnd::ClickCancel(), DialogEnd::Press(Qt::Key_Escape)}) {
      SCOPED_TRACE(std::string(k.templateName) + (end.how == DialogEnd::Cancel ? " Cancel" : " Esc"));
      ResetSettings();
      SaveLoadSettings(Save);
      struct stat before {};
      ::stat(SettingsPath().c_str(), &before);
      const std::string file = test::ReadFile(SettingsPath());
      const std::string image = SettingsImage();
      {
        ScopedScriptedPrompts prompts;
        prompts << PromptAnswer::RunDialog(k.everyField, end, k.templateName);
        k.run();
        ASSERT_EQ(prompts.Calls().size(), 1u);
        EXPECT_EQ(prompts.Calls()[0].result, 0);
      }
      EXPECT_EQ(SettingsImage(), image);
      EXPECT_EQ(test::ReadFile(SettingsPath()), file);
      struct stat after {};
      ::stat(SettingsPath().c_str(), &after);
      EXPECT_EQ(after.st_ino, before.st_ino);
      EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
      EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
    }
  }
}

TEST_F(SetupDialogsA, LetterCClosesOnlyWhenNoControlTakesIt) {
  struct Case {
    size_t dialog;
    int focused;
    bool closes;
  } const cases[] = {
      {0, 1117, false},  // edit: "C12" is typed into it
      {0, 1111, false},
      {2, 1151, false},
      {3, 1247, false},
      {0, 1172, false},  // a list takes letters to choose an entry
      {1, 603, true},    // a check box does not
      {2, 1155, true},   // nor a radio button
      {3, 602, false},   // GPS Port Setup has no such rule: its edits stay
      {3, 1163, false},
      {0, 1, true},      // nor the OK button
  };
  const std::vector<DialogKind> kinds = Dialogs();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(kinds[c.dialog].templateName) + " " + std::to_string(c.focused));
    std::unique_ptr<QDialog> d = kinds[c.dialog].make();
    d->show();
    QWidget* control = FindControl(d.get(), c.focused);
    ASSERT_NE(control, nullptr);
    control->setFocus();
    auto* edit = qobject_cast<QLineEdit*>(control);
    if (edit) edit->clear();
    test::Type(control, Qt::Key_C, "C");
    if (d->isVisible()) {
      test::Type(control, Qt::Key_1, "1");
      test::Type(control, Qt::Key_2, "2");
    }
    EXPECT_EQ(!d->isVisible(), c.closes);
    if (!c.closes) {
      EXPECT_EQ(d->result(), 0);
    }
    if (edit) {
      EXPECT_EQ(edit->text(), "C12");
    }
  }
}

TEST_F(SetupDialogsA, SetupCommandsOpenTheTemplateForTheClientWidth) {
  struct Case {
    int width;
    int command;
    const char* templateName;
  } const cases[] = {
      {1280, 1, "SURVEYSETUP38"}, {1280, 2, "SYSTEM"},         {640, 2, "SYSTEM"},
      {639, 2, "SYSTEMNARROW"},   {1280, 3, "ARRAYGEOMETRY38"}, {600, 4, "GPSINPUT"},
      {599, 4, "GPSINPUTNARROW"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.templateName) + " " + std::to_string(c.width));
    SetupWindow w(QSize(c.width, 700));
    ScopedScriptedPrompts prompts;
    prompts << PromptAnswer::RunDialog({}, DialogEnd::ClickCancel(), c.templateName);
    w.RunCommand(c.command);
    ASSERT_EQ(prompts.Calls().size(), 1u);
    EXPECT_EQ(prompts.Calls()[0].templateName, c.templateName);
  }
}

// Every template, narrow ones included, lays out its texts unclipped inside the dialog. With OBRIX_SHOTS set to a
// folder, each rendering is also saved there as <template>.png.
TEST_F(SetupDialogsA, TextsFitTheirControlsInEveryTemplate) {
  Config().nmeaFormat = 4;  // the longest dilution label, "Quality [m]"
  const std::vector<std::pair<const char*, std::function<std::unique_ptr<QDialog>()>>> templates = {
      {"SURVEYSETUP38", [] { return std::make_unique<SurveySetupDialog>(nullptr); }},
      {"SYSTEM", [] { return std::make_unique<SystemSetupDialog>(nullptr, false); }},
      {"SYSTEMNARROW", [] { return std::make_unique<SystemSetupDialog>(nullptr, true); }},
      {"ARRAYGEOMETRY38", [] { return std::make_unique<GeometrySetupDialog>(nullptr); }},
      {"GPSINPUT", [] { return std::make_unique<GpsSetupDialog>(nullptr, false); }},
      {"GPSINPUTNARROW", [] { return std::make_unique<GpsSetupDialog>(nullptr, true); }},
  };
  const char* shots = std::getenv("OBRIX_SHOTS");
  for (const auto& [name, make] : templates) {
    SCOPED_TRACE(name);
    std::unique_ptr<QDialog> d = make();
    EXPECT_EQ(d->objectName(), name);
    d->show();
    for (int i = 0; i < 3; ++i) QApplication::processEvents();  // combo sizes settle after the first layout
    const QRect inside = d->rect();
    for (QWidget* w : d->findChildren<QWidget*>()) {
      if (!w->isVisible() || w->inherits("QComboBoxPrivateContainer") || w->window() != d.get()) continue;
      const QRect r(w->mapTo(d.get(), QPoint(0, 0)), w->size());
      EXPECT_TRUE(inside.contains(r)) << w->metaObject()->className() << " " << ControlId(w);
      auto* label = qobject_cast<QLabel*>(w);
      const bool sized = (label && !label->wordWrap()) || qobject_cast<QAbstractButton*>(w);
      if (sized)
        EXPECT_GE(w->width(), w->sizeHint().width()) << w->metaObject()->className() << " " << ControlId(w);
    }
    if (shots) d->grab().save(QDir(shots).filePath(QString(name) + ".png"));
  }
}

}  // namespace
}  // namespace obrix
