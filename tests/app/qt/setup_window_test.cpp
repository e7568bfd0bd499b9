#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QPushButton>
#include <QCoreApplication>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "app/qt/setup_window.h"
#include "platform/files.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/qt/buttons.h"
#include "platform/qt/scripted_prompts.h"
#include "platform/ticks.h"
#include "settings/settings.h"
#include "settings/settings_file.h"
#include "state/session.h"
#include "test_support.h"

namespace obrix {
namespace {

class SetupWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetSession(); }
  void TearDown() override { ResetSession(); }

  void Press(QWidget& w, int qtKey, const QString& text = {}) {
    QKeyEvent down(QEvent::KeyPress, qtKey, Qt::NoModifier, text);
    QCoreApplication::sendEvent(&w, &down);
  }

  test::DataRootFixture root_;
};

TEST_F(SetupWindowTest, CreatesButtonsChildrenAndSettingsFile) {
  SetupWindow w(QSize(1280, 762));
  EXPECT_EQ(w.objectName(), "Obrix");
  EXPECT_EQ(w.windowTitle(), "Obrix38");
  for (int i = 0; i < kSetupButtonCount; ++i) {
    auto* b = FindControl<QPushButton>(&w, 420 + i);
    ASSERT_NE(b, nullptr) << i;
    EXPECT_EQ(b->text(), kSetupButtonCaptions[i]);
    EXPECT_EQ(b->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(HasDefaultLook(b), i == 0);
  }
  ASSERT_NE(w.loggingScreen(), nullptr);
  EXPECT_EQ(w.loggingScreen()->objectName(), "ScreenLogWnd");
  EXPECT_EQ(ControlId(w.loggingScreen()), 4);
  EXPECT_FALSE(w.loggingScreen()->isVisibleTo(&w));
  EXPECT_EQ(w.gpsMonitor()->objectName(), "MonitorGPSWnd");
  EXPECT_EQ(ControlId(w.gpsMonitor()), 780);
  // The first start writes a settings file holding the start-up values.
  EXPECT_TRUE(test::ReadFile(SettingsPath()).rfind("Ver2.15\r\n", 0) == 0);
  EXPECT_DOUBLE_EQ(Config().lateralOffset, -0.3);
  EXPECT_EQ(Config().mapColourView, 1);
  EXPECT_TRUE(Sess().MapVisible);
  EXPECT_TRUE(FileExists(ScratchFolder()));
}

// Temporary background copies an earlier run left behind go at start, unless another running program holds the
// scratch folder; other files there stay.
TEST_F(SetupWindowTest, StartRemovesTemporaryFilesLeftByAnEarlierRun) {
  MakeFolders(ScratchFolder());
  const std::string left = ScratchFolder() + "LINESTXT.$03", other = ScratchFolder() + "notes.txt";
  const std::string notTemporary = ScratchFolder() + "LINES.$3";
  for (const std::string& p : {left, other, notTemporary}) test::WriteFile(p, "x");
  {
    // Another program holds the folder: nothing is removed.
    const int lock = ::open((ScratchFolder() + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    ASSERT_EQ(::flock(lock, LOCK_EX | LOCK_NB), 0);
    { SetupWindow w(QSize(1280, 762)); }
    EXPECT_TRUE(FileExists(left));
    ::close(lock);
  }
  SetupWindow w(QSize(1280, 762));
  EXPECT_FALSE(FileExists(left));
  EXPECT_TRUE(FileExists(other));
  EXPECT_TRUE(FileExists(notTemporary));
}

TEST_F(SetupWindowTest, KeysMoveTheDefaultLookAndTabStaysWithTheScreen) {
  SetupWindow w(QSize(1280, 762));
  for (int i = 0; i < 10; ++i) Press(w, Qt::Key_Down);
  EXPECT_EQ(Sess().SetupFocusedButton, 0);
  Press(w, Qt::Key_Tab, "\t");
  EXPECT_EQ(Sess().SetupFocusedButton, 1);
  EXPECT_TRUE(HasDefaultLook(w.button(1)));
  EXPECT_FALSE(HasDefaultLook(w.button(0)));
  Press(w, Qt::Key_Up);
  Press(w, Qt::Key_Left);
  EXPECT_EQ(Sess().SetupFocusedButton, 9);
  EXPECT_TRUE(HasDefaultLook(w.button(9)));
}

TEST_F(SetupWindowTest, LoggingReportsConfigurationProblemsBeforeAnyPort) {
  SetupWindow w(QSize(1280, 762));
  ScopedScriptedPrompts prompts;
  Config().instrumentPort = 3;
  Config().gpsPort = 3;
  prompts << PromptAnswer::Press(IDOK, kMessageOk);
  Press(w, Qt::Key_L, "l");
  ASSERT_EQ(prompts.Calls().size(), 1u);
  EXPECT_EQ(prompts.Calls()[0].title, "Serial Port Issue");
  EXPECT_EQ(prompts.Calls()[0].text,
            "Serial Port COM4 Assigned to Instrument and GPS, please change port selection.");

  Config().instrumentEnabled = 0;
  Config().gpsInput = 0;
  prompts << PromptAnswer::Press(IDOK, kMessageOk);
  w.RunCommand(0);
  ASSERT_EQ(prompts.Calls().size(), 2u);
  EXPECT_EQ(prompts.Calls()[1].title, "EM AND GPS DISABLED");
  EXPECT_EQ(prompts.Calls()[1].text, "Instrument Disabled and GPS Disabled");
  EXPECT_EQ(Sess().LoggingState, Closed);
}

TEST_F(SetupWindowTest, ResetToDefaultDeletesTheFileAndTheNextStartWritesDefaults) {
  {
    SetupWindow w(QSize(1280, 762));
    w.show();
    Config().lineName = "77";
    SaveLoadSettings(Save);
    ScopedScriptedPrompts prompts;
    prompts << PromptAnswer::Press(IDCANCEL, kMessageOkCancel);
    Press(w, Qt::Key_R, "r");
    EXPECT_TRUE(FileExists(SettingsPath()));
    EXPECT_TRUE(w.isVisible());
    prompts << PromptAnswer::Press(IDOK, kMessageOkCancel);
    w.RunCommand(8);
    EXPECT_EQ(prompts.Calls().back().title, "Reset to Default Setting");
    EXPECT_FALSE(FileExists(SettingsPath()));
    EXPECT_FALSE(w.isVisible());  // closed
  }
  ResetSettings();
  SetupWindow again(QSize(1280, 762));
  EXPECT_EQ(Config().lineName, "1");
  EXPECT_TRUE(FileExists(SettingsPath()));
}

TEST_F(SetupWindowTest, ExitKeyClosesTheWindow) {
  SetupWindow w(QSize(800, 562));
  w.show();
  ASSERT_TRUE(w.isVisible());
  Press(w, Qt::Key_X, "x");
  EXPECT_FALSE(w.isVisible());
}

TEST_F(SetupWindowTest, UptimeBeyondTwentyDaysStopsTheProgramAfterThePaint) {
  ManualClock clock;
  clock.Set(1728000001u);
  clock.Install();
  ScopedScriptedPrompts prompts;
  prompts << PromptAnswer::Press(IDOK, kMessageOk);
  SetupWindow w(QSize(1280, 762));
  w.show();
  QCoreApplication::processEvents();
  ManualClock::Uninstall();
  ASSERT_EQ(prompts.Calls().size(), 1u);
  EXPECT_EQ(prompts.Calls()[0].title, "Program Stop");
  EXPECT_NE(prompts.Calls()[0].text.find("Use RESTART not SHUT DOWN."), std::string::npos);
  EXPECT_FALSE(w.isVisible());
}

TEST_F(SetupWindowTest, NoUptimeWarningAtExactlyTwentyDays) {
  ManualClock clock;
  clock.Set(1728000000u);
  clock.Install();
  SetupWindow w(QSize(1280, 762));
  w.show();
  QCoreApplication::processEvents();
  ManualClock::Uninstall();
  EXPECT_TRUE(w.isVisible());
  EXPECT_FALSE(Drv().UptimeWarning);
}

}  // namespace
}  // namespace obrix
