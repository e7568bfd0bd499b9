// The pane widgets: names and identifiers, placement, readings drawn into their canvases and shown as they are.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QWidget>
#include <array>
#include <cmath>
#include <cstdlib>

#include "panes/pane_paint.h"
#include "panes/profile_pane.h"
#include "panes/qt/panes.h"
#include "settings/settings.h"
#include "state/palette.h"
#include "survey/pane_scales.h"
#include "survey/pane_state.h"

namespace obrix {
namespace {

class PaneWidgetsTest : public ::testing::Test {
 protected:
  PaneWidgetsTest() {
    ResetSettings();
    ResetPaneState();
    ApplyStartupValues();
    CreateSharedPens();
    host.resize(800, 300);
    panes = CreateLogPanes(&host);
    PanePlacement place;
    place.profile = QRect(20, 20, 600, 180);
    place.condBars = QRect(670, 40, 54, 150);
    place.inphBars = QRect(726, 40, 54, 150);
    place.numbers = QRect(670, 210, 110, 60);
    place.speedBar = QRect(20, 230, 600, 8);
    place.rightColumnWidth = 110;
    PlaceLogPanes(place);
  }
  ~PaneWidgetsTest() override {
    UseLogPanes({});
    ResetSettings();
    ResetPaneState();
  }
  QWidget host;
  LogPaneWidgets panes;
};

// The widget shows its canvas pixel for pixel.
bool ShowsItsCanvas(CanvasWidget* w) {
  const QImage shown = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
  return shown == CanvasImage(w->canvas());
}

TEST_F(PaneWidgetsTest, PanesCarryTheirClassNamesAndIdentifiers) {
  struct {
    const char* name;
    int id;
  } want[] = {{"DecayWnd", 610}, {"CurveWnd", 600}, {"BarQWnd", 620}, {"BarIWnd", 630},
              {"NumbersWnd", 650}, {"SpeedWnd", 651}, {"ColorBarWnd", 653}};
  for (const auto& w : want) {
    auto* pane = host.findChild<QWidget*>(w.name);
    ASSERT_NE(pane, nullptr) << w.name;
    EXPECT_EQ(pane->property("controlId").toInt(), w.id);
    EXPECT_TRUE(pane->isHidden());
  }
  EXPECT_EQ(panes.colourBar->geometry(), QRect(40, 25, 142, 296));
  const PaneState& p = Panes();
  EXPECT_EQ(p.BarGridWidth, 56);
  EXPECT_EQ(p.ProfileWidth, 600);
  EXPECT_EQ(p.BarHeight, 150);
  EXPECT_EQ(p.BarX, (std::array<int, 2>{2, 27}));
  EXPECT_EQ(p.SpeedBarScale, 120);
  EXPECT_EQ(panes.curve->canvas().width(), 600);
}

// A minute of readings at 5 per second with a pause: a strip chart of four curves and four bars.
TEST_F(PaneWidgetsTest, AMinuteOfReadings) {
  Settings& s = Config();
  s.condScaleMin = 0;
  s.condScaleMax = 100;
  s.profileGridChannel = 1;
  UpdatePaneScales();
  for (CanvasWidget* w : {panes.curve, panes.barQ, panes.barI, panes.numbers, panes.speed}) w->show();
  InvalidateLogPanes(kAllPanes);
  std::array<int, 8> present{1, 1, 1, 1};
  std::array<double, 8> v{};
  for (int i = 0; i < 300; ++i) {
    v[0] = 50 + 30 * std::sin(i / 20.0);
    v[1] = 40 + 20 * std::sin(i / 13.0 + 1);
    v[2] = 10 * std::sin(i / 25.0);
    v[3] = -8 + 6 * std::cos(i / 17.0);
    const DisplayPixels px = ToDisplayPixels(v);
    const bool recording = i < 150 || i >= 170;
    if (i == 170) ResetProfileContinuity();
    if (recording) ScrollProfilePane(px, present);
    UpdateBarPanes(px);
  }
  ShowSpeedOnBar(2.3);

  // Curves reached the left part of the pane and the newest column; bars stand in both panes.
  const Canvas& curve = panes.curve->canvas();
  auto columnHas = [&](int x, Colour c) {
    for (int y = 0; y < curve.height(); ++y)
      if (curve.GetPixel(x, y) == c) return true;
    return false;
  };
  EXPECT_TRUE(columnHas(40, s.traceColour[0]));  // 280 steps: the oldest point at 590 - 2 x 279
  EXPECT_FALSE(columnHas(20, s.traceColour[0]));
  EXPECT_TRUE(columnHas(590, s.traceColour[2]));
  EXPECT_EQ(panes.barQ->canvas().GetPixel(2 + 10, 149), s.traceColour[0]);
  EXPECT_EQ(panes.speed->canvas().GetPixel(100, 4), kSpeedBarBlue);
  EXPECT_EQ(panes.speed->canvas().GetPixel(300, 4), kWhite);
  for (CanvasWidget* w : {panes.curve, panes.barQ, panes.barI, panes.speed}) EXPECT_TRUE(ShowsItsCanvas(w));

  if (const char* dir = std::getenv("OBRIX_SHOTS_DIR")) {
    QDir().mkpath(dir);
    host.grab().save(QString(dir) + "/panes_minute.png");
  }

  // A repaint of the bar panes keeps the bars; of the profile, only its grid.
  const QImage bars = CanvasImage(panes.barQ->canvas()).copy();
  InvalidateBars();
  EXPECT_EQ(CanvasImage(panes.barQ->canvas()), bars);
  InvalidateLogPanes(kProfilePane);
  EXPECT_FALSE(columnHas(590, s.traceColour[2]));
  EXPECT_EQ(curve.GetPixel(300, Panes().ProfileGridRows[2]), kGridGrey);
}

TEST_F(PaneWidgetsTest, ColourBarIsPaintedWhenShown) {
  ShowColourBar(true);
  EXPECT_FALSE(panes.colourBar->isHidden());
  EXPECT_EQ(panes.colourBar->canvas().GetPixel(85, 275), ColourTable[0]);
  // Labels were drawn left of the ticks.
  bool text = false;
  for (int y = 260; y < 285 && !text; ++y)
    for (int x = 5; x < 60 && !text; ++x) text = panes.colourBar->canvas().GetPixel(x, y) != kWhite;
  EXPECT_TRUE(text);
  if (const char* dir = std::getenv("OBRIX_SHOTS_DIR")) panes.colourBar->grab().save(QString(dir) + "/colour_bar.png");
  ShowColourBar(false);
  EXPECT_TRUE(panes.colourBar->isHidden());
}

}  // namespace
}  // namespace obrix
