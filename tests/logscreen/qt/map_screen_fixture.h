#pragma once
// The logging screen with its map pane and no devices, for tests that hand fixes to the screen directly.
// Prompts are scripted and any unscripted one fails the test.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/qt/setup_window.h"
#include "datafile/data_file.h"
#include "gps/fix_state.h"
#include "logscreen/qt/log_window.h"
#include "map/map_frame.h"
#include "map/map_view_state.h"
#include "platform/key_input.h"
#include "platform/qt/scripted_prompts.h"
#include "settings/settings.h"
#include "state/session.h"
#include "test_support.h"

namespace obrix::test {

class MapScreenFixture : public ::testing::Test {
 protected:
  static constexpr double kE0 = 500000.0, kN0 = 4000000.0;

  MapScreenFixture() {
    ScriptedPrompts::SetFailureHandler([](const std::string& m) { ADD_FAILURE() << m; });
    ResetSession();
    ResetFix();
    ResetFrameState();
    ResetMapViewState();
    window_ = std::make_unique<SetupWindow>(QSize(1280, 762));
    window_->show();
    log_ = static_cast<LogWindow*>(window_->loggingScreen());
    Config().instrumentEnabled = 1;
    Config().gpsInput = 1;
    Sess().MapVisible = true;
    Sess().LoggingState = NoFile;
    Sess().ActiveScreen = 1;
    log_->PrepareForSession();
    log_->ResetMapForSession();
    log_->ResetMapView();
    log_->EnterScreen();
    log_->EnableFileButtons();
    log_->Repaint();
    log_->PrepareMapPane();
  }
  ~MapScreenFixture() override {
    window_.reset();
    ResetDataFile();
    ScriptedPrompts::SetFailureHandler(nullptr);
  }

  // A fix at (kE0 + de, kN0 + dn) as the fix handler hands it over; the first one sets the origin.
  void FixAt(double de, double dn) {
    FixState& f = Fix();
    if (f.MapStarted == 0) {
      f.MapOrigin = {kE0 + de, kN0 + dn};
      f.TrackExtent = {kE0 + de, kE0 + de, kN0 + dn, kN0 + dn};
      f.MapStarted = 1;
    }
    log_->UpdateMapPosition(Sess().LoggingState, kN0 + dn, kE0 + de, 0.0);
  }
  void Key(int code, KeyInput::Kind kind = KeyInput::KeyDown) { log_->HandleInput({kind, code}); }
  void Command(int id) { log_->HandleInput({KeyInput::Command, id}); }

  DataRootFixture root_;
  ScopedScriptedPrompts prompts_;
  std::unique_ptr<SetupWindow> window_;
  LogWindow* log_ = nullptr;
};

}  // namespace obrix::test
