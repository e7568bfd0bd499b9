// Commands of the logging screen that need no devices: refusals with their information texts, the popup
// menu in its two forms, the default button and the state texts in the status line.
#include <QPushButton>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/qt/setup_window.h"
#include "logscreen/logging_input.h"
#include "logscreen/qt/log_window.h"
#include "platform/control_ids.h"
#include "platform/qt/buttons.h"
#include "platform/qt/canvas_text.h"
#include "platform/qt/scripted_prompts.h"
#include "settings/settings.h"
#include "state/session.h"
#include "test_support.h"

namespace obrix {
namespace {

class LogCommandsTest : public ::testing::Test {
 protected:
  LogCommandsTest() {
    ScriptedPrompts::SetFailureHandler([](const std::string& m) { ADD_FAILURE() << m; });
    ResetSession();
  }
  ~LogCommandsTest() override {
    window_.reset();
    ScriptedPrompts::SetFailureHandler(nullptr);
  }
  // The logging screen shown in a state, as the Logging command leaves it (without ports).
  LogWindow& Screen(int state, int instrumentEnabled, int gpsInput) {
    window_.reset();
    window_ = std::make_unique<SetupWindow>(QSize(1280, 762));
    window_->show();
    Config().instrumentEnabled = instrumentEnabled;
    Config().gpsInput = gpsInput;
    LogWindow& log = *static_cast<LogWindow*>(window_->loggingScreen());
    Sess().MapVisible = gpsInput == 1;
    Sess().LoggingState = state;
    Sess().ActiveScreen = 1;
    log.PrepareForSession();
    log.EnterScreen();
    log.EnableFileButtons();
    if (state != NoFile) log.ShowButtonSet(ButtonSet::B);
    log.Repaint();
    return log;
  }

  test::DataRootFixture root_;
  ScopedScriptedPrompts prompts_;
  std::unique_ptr<SetupWindow> window_;
};

TEST_F(LogCommandsTest, RefusedOptionsShowTheirInformation) {
  struct Case {
    const char* name;
    int instrumentEnabled, gpsInput, state;
    KeyInput input;
    const char* text;
  } cases[] = {
      {"speed bar without GPS", 1, 0, NoFile, {KeyInput::Command, kMenuScaleSpeedBar}, "Option avaiable only when GPS is enabled"},
      {"map size without GPS", 1, 0, NoFile, {KeyInput::KeyDown, 'S'}, "Option avaiable only when GPS is enabled"},
      {"GPS mask without GPS", 1, 0, StandBy, {KeyInput::KeyDown, 'W'}, "Option avaiable only when GPS is enabled"},
      {"quick line without instrument", 0, 1, StandBy, {KeyInput::Command, 461}, "Option avaiable only when Instrument is enabled"},
      {"new line without instrument", 0, 1, StandBy, {KeyInput::Command, kMenuNewLine}, "Option avaiable only when Instrument is enabled"},
      {"new station without instrument", 0, 1, StandBy, {KeyInput::KeyDown, 'N'}, "Option avaiable only when Instrument is enabled"},
      {"profile options without instrument", 0, 1, NoFile, {KeyInput::KeyDown, 'O'}, "Option avaiable only when Instrument is enabled"},
      {"map display options, map hidden", 1, 1, NoFile, {KeyInput::KeyDown, 'Y'}, "Option avaiable only when map is visible"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LogWindow& log = Screen(c.state, c.instrumentEnabled, c.gpsInput);
    if (std::string(c.name).find("map hidden") != std::string::npos) Sess().MapVisible = false;
    prompts_.ClearCalls();
    prompts_ << PromptAnswer::Press(IDOK, "MESSAGEOK");
    log.HandleInput(c.input);
    ASSERT_EQ(prompts_.Calls().size(), 1u);
    EXPECT_EQ(prompts_.Calls()[0].title, "INFORMATION");
    EXPECT_EQ(prompts_.Calls()[0].text, c.text);
    EXPECT_EQ(Sess().LoggingState.load(), c.state);
  }
}

TEST_F(LogCommandsTest, MenuFormsAndMenuMode) {
  for (int state : {NoFile, StandBy}) {
    LogWindow& log = Screen(state, 1, 1);
    prompts_.ClearCalls();
    prompts_ << PromptAnswer::Choose(0);
    log.HandleInput({KeyInput::KeyDown, 'M'});
    ASSERT_EQ(prompts_.Calls().size(), 1u);
    const PromptCall& call = prompts_.Calls()[0];
    EXPECT_EQ(call.kind, PromptCall::Menu);
    ASSERT_FALSE(call.menuItems.empty());
    EXPECT_EQ(call.menuItems.front().text, state == NoFile ? "Map &Size" : "New Lin&e");
    EXPECT_EQ(call.menuItems.back().text, "&Hide Menu");
    const QPoint origin = window_->window()->geometry().topLeft();
    EXPECT_EQ(call.position, origin + QPoint(190, 120));
    EXPECT_TRUE(Sess().MenuMode);
    // Hide Menu clears it again.
    prompts_ << PromptAnswer::Choose(kMenuHideMenu);
    log.HandleInput({KeyInput::Command, 463});
    EXPECT_FALSE(Sess().MenuMode);
  }
}

TEST_F(LogCommandsTest, ButtonSetsFollowTheState) {
  LogWindow& log = Screen(NoFile, 1, 1);
  EXPECT_TRUE(log.mainButton(1, 3)->isVisible());
  EXPECT_EQ(log.mainButton(1, 3)->text(), "&File");
  EXPECT_TRUE(HasDefaultLook(log.mainButton(1, 3)));
  EXPECT_FALSE(log.mainButton(2, 3)->isVisible());
  // Tab moves the default style to the next main button (461, "Map &Size").
  log.HandleInput({KeyInput::KeyDown, VK_TAB});
  EXPECT_TRUE(HasDefaultLook(log.mainButton(1, 1)));
  EXPECT_FALSE(HasDefaultLook(log.mainButton(1, 3)));
  log.ShowButtonSet(ButtonSet::B);
  EXPECT_EQ(log.mainButton(2, 3)->text(), "&Go");
  EXPECT_TRUE(HasDefaultLook(log.mainButton(2, 3)));
  log.ShowButtonSet(ButtonSet::Pause);
  EXPECT_TRUE(log.pauseButton()->isVisible());
  EXPECT_TRUE(HasDefaultLook(log.pauseButton()));
  EXPECT_FALSE(log.mainButton(2, 3)->isVisible());
  // With GPS File and Map Size wait for the first fix; Exit and Menu work at once.
  Sess().LoggingState = NoFile;
  log.EnterScreen();
  EXPECT_TRUE(log.mainButton(1, 0)->isEnabled());   // Exit
  EXPECT_FALSE(log.mainButton(1, 1)->isEnabled());  // Map Size
  EXPECT_TRUE(log.mainButton(1, 2)->isEnabled());   // Menu
  EXPECT_FALSE(log.mainButton(1, 3)->isEnabled());  // File
  log.EnableFileButtons();
  for (int slot = 0; slot < 4; ++slot) EXPECT_TRUE(log.mainButton(1, slot)->isEnabled()) << slot;
}

TEST_F(LogCommandsTest, ExitByTouchBeforeTheFirstFix) {
  LogWindow& log = Screen(NoFile, 1, 1);
  log.EnterScreen();
  ASSERT_FALSE(log.mainButton(1, 3)->isEnabled());
  // File is refused by key too until the fix.
  log.HandleInput({KeyInput::KeyDown, 'F'});
  EXPECT_EQ(Sess().LoggingState.load(), NoFile);
  log.mainButton(1, 0)->click();
  EXPECT_FALSE(log.isVisible());
  EXPECT_EQ(Sess().ActiveScreen, 0);
}

TEST_F(LogCommandsTest, NavigationButtonsOnlyWithTheMap) {
  LogWindow& log = Screen(NoFile, 1, 1);
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(log.navButton(i)->isVisible()) << i;
  EXPECT_TRUE(log.navButton(7)->isVisible());
  EXPECT_FALSE(log.navButton(8)->isVisible());
  for (int i = 0; i < kNavButtonCount; ++i) EXPECT_FALSE(log.navButton(i)->isEnabled()) << i;
  // Toggle View hides the map and the navigation buttons.
  log.HandleInput({KeyInput::Command, kMenuToggleView});
  EXPECT_FALSE(Sess().MapVisible);
  EXPECT_FALSE(log.mapPane()->isVisible());
  for (int i = 0; i < kNavButtonCount; ++i) EXPECT_FALSE(log.navButton(i)->isVisible()) << i;
  log.HandleInput({KeyInput::Command, kMenuToggleView});
  EXPECT_TRUE(Sess().MapVisible);
  EXPECT_TRUE(log.mapPane()->isVisible());
}

}  // namespace
}  // namespace obrix
