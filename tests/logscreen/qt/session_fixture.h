#pragma once
// A whole logging session on the real setup window for tests: devices stream over pseudo-terminals (set up by
// the test) while the screen is driven by keys; prompts are scripted and any unscripted one fails the test.
#include <QApplication>
#include <QPushButton>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "app/qt/setup_window.h"
#include "datafile/data_file.h"
#include "logscreen/qt/log_window.h"
#include "platform/control_ids.h"
#include "platform/key_input.h"
#include "platform/qt/scripted_prompts.h"
#include "platform/sound.h"
#include "platform/ticks.h"
#include "serial/port_access.h"
#include "serial/reader_state.h"
#include "settings/settings.h"
#include "state/session.h"
#include "test_support.h"

namespace obrix::test {

// Runs the event loop until `done` holds (true) or `timeoutMs` passes (false).
inline bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
  const uint32_t start = TickMs();
  while (!done()) {
    if (TickDiff(TickMs(), start) > static_cast<uint32_t>(timeoutMs)) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 10);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

inline void PumpFor(int ms) {
  const uint32_t start = TickMs();
  PumpUntil([&] { return TickDiff(TickMs(), start) >= static_cast<uint32_t>(ms); }, ms + 1000);
}

inline void Key(LogWindow& log, char letter) { log.HandleInput({KeyInput::KeyDown, VirtualKeyOfLetter(letter)}); }

class LoggingSessionFixture : public ::testing::Test {
 protected:
  LoggingSessionFixture() {
    ScriptedPrompts::SetFailureHandler([](const std::string& m) { ADD_FAILURE() << m; });
    ResetSession();
    ResetReaderValues();
    ResetDataFile();
    Config().dataFolder = root_.dir().path();
  }
  ~LoggingSessionFixture() override {
    window_.reset();
    ResetPorts();
    ResetDataFile();
    ScriptedPrompts::SetFailureHandler(nullptr);
  }
  void Open() {
    window_ = std::make_unique<SetupWindow>(QSize(1280, 762));
    window_->show();
    log_ = static_cast<LogWindow*>(window_->loggingScreen());
  }
  // "Logging" from the setup screen, then waits for the first fix (the file button enabled).
  void StartSession() {
    window_->RunCommand(0);
    ASSERT_TRUE(log_->isVisible());
    ASSERT_EQ(Sess().LoggingState.load(), NoFile);
    ASSERT_TRUE(PumpUntil([&] { return log_->mainButton(1, 3)->isEnabled(); }, 5000)) << "no first fix";
  }
  // A new data file with the proposed name, then Go.
  void OpenFileAndGo() {
    prompts_ << PromptAnswer::AcceptSuggested();
    Key(*log_, 'F');
    ASSERT_EQ(Sess().LoggingState.load(), StandBy);
    ASSERT_TRUE(DataFileIsOpen());
    path_ = DataFile().DataFilePath;
    Key(*log_, 'G');
    ASSERT_EQ(Sess().LoggingState.load(), Logging);
  }
  void PauseAndExit() {
    log_->HandleInput({KeyInput::KeyDown, VK_SPACE});  // any key pauses
    ASSERT_EQ(Sess().LoggingState.load(), StandBy);
    prompts_ << PromptAnswer::Press(IDOK, "MESSAGEYESNO");
    Key(*log_, 'X');
    EXPECT_EQ(Sess().LoggingState.load(), Closed);
    EXPECT_FALSE(log_->isVisible());
    EXPECT_FALSE(DataFileIsOpen());
    EXPECT_TRUE(window_->button(0)->isVisible());
    EXPECT_EQ(Sess().ActiveScreen, 0);
  }

  DataRootFixture root_;
  ScopedScriptedPrompts prompts_;
  RecordingSound sound_;
  ScopedSound scopedSound_{sound_};
  std::unique_ptr<SetupWindow> window_;
  LogWindow* log_ = nullptr;
  std::string path_;  // the data file OpenFileAndGo created
};

}  // namespace obrix::test
