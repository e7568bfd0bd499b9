// The map pane of the logging screen: fixes drawn on the pane, and the map commands on a screen without
// devices (fixes are handed to the screen directly).
#include <gtest/gtest.h>

#include <memory>

#include "app/qt/setup_window.h"
#include "app/session.h"
#include "app/settings.h"
#include "gps/fix_state.h"
#include "logscreen/qt/log_window.h"
#include "map/map_frame.h"
#include "map/map_view_state.h"
#include "platform/qt/canvas_text.h"
#include "platform/qt/scripted_prompts.h"
#include "test_support.h"

namespace obrix {
namespace {

constexpr double kE0 = 500000.0, kN0 = 4000000.0;

class LogMapTest : public ::testing::Test {
 protected:
  LogMapTest() {
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
  ~LogMapTest() override {
    window_.reset();
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
  // True when the cursor cross is drawn around pane pixel p.
  bool CursorAt(Point p) {
    const Canvas& pane = log_->mapCanvas();
    const int s = Drv().CursorHalfSize;
    const Colour c = Config().cursorColour;
    return pane.GetPixel(p.x - s, p.y) == c && pane.GetPixel(p.x + s, p.y) == c && pane.GetPixel(p.x, p.y - s) == c &&
           pane.GetPixel(p.x, p.y + s) == c;
  }

  test::DataRootFixture root_;
  ScopedScriptedPrompts prompts_;
  std::unique_ptr<SetupWindow> window_;
  LogWindow* log_ = nullptr;
};

TEST_F(LogMapTest, FixesMoveTheCursorOnThePane) {
  ASSERT_GT(PageWidth(), 100);
  FixAt(0, 0);
  const Point first = Frame().CursorPos;
  EXPECT_TRUE(CursorAt(first));
  // 40 pixels east and 30 north of the first fix.
  const double unitsPerPx = 1.0 / MapState().PixelsPerUnit;
  FixAt(40 * unitsPerPx, 30 * unitsPerPx);
  const Point second = Frame().CursorPos;
  EXPECT_NEAR(second.x - first.x, 40, 1);
  EXPECT_NEAR(first.y - second.y, 30, 1);
  EXPECT_TRUE(CursorAt(second));
  EXPECT_FALSE(CursorAt(first)) << "the pane was not composed again";
}

}  // namespace
}  // namespace obrix
