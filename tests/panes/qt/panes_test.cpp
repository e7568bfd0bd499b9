// The pane widgets: names and identifiers, placement, readings drawn into their canvases and shown as they are.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QScreen>
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
#include "survey/screen_sink.h"
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

// What the window shows where a pane lies: the pixels of the window's backing store once pending updates ran.
QImage OnScreen(QWidget& window, QWidget* pane) {
  QCoreApplication::processEvents();
  const QRect r(pane->mapTo(&window, QPoint()), pane->size());
  return window.screen()
      ->grabWindow(window.winId(), r.x(), r.y(), r.width(), r.height())
      .toImage()
      .convertToFormat(QImage::Format_RGB32);
}

// The profile moved on screen, with wide traces over a zero line, a sibling pane over part of it, a break in the
// curves and several steps between window updates: after each update the window shows what a full repaint of
// the pane shows.
TEST_F(PaneWidgetsTest, ScrolledProfileShowsWhatAFullRepaintShows) {
  Settings& s = Config();
  s.condScaleMin = -50;
  s.condScaleMax = 100;
  s.profileGridChannel = 1;
  s.traceThickness = {1, 3, 9, 2, 1, 1, 1, 1};
  RecreateTracePens();
  UpdatePaneScales();
  host.show();
  panes.curve->show();
  InvalidateLogPanes(kProfilePane);
  std::array<int, 8> present{1, 1, 1, 1};
  std::array<double, 8> v{};
  int compared = 0;
  for (int i = 0; i < 150; ++i) {
    if (i == 40) ShowColourBar(true);
    if (i == 90) ShowColourBar(false);
    if (i == 60) {
      present[1] = 0;
      ResetProfileContinuity();
    }
    if (i == 70) present[1] = 1;
    v[0] = 50 + 45 * std::sin(i / 7.0);
    v[1] = 20 * std::sin(i / 3.0 + 1);
    v[2] = 60 * std::cos(i / 11.0);
    v[3] = -30 + 10 * std::cos(i / 5.0);
    ScrollProfilePane(ToDisplayPixels(v), present);
    if (i < 20 || i % 4 == 3) {
      const QImage live = OnScreen(host, panes.curve);
      panes.curve->repaint();
      ASSERT_EQ(live, OnScreen(host, panes.curve)) << "step " << i;
      ++compared;
    }
  }
  EXPECT_GT(compared, 40);
  // The grab shows the pane, whose newest column holds traces.
  bool trace = false;
  const Canvas& curve = panes.curve->canvas();
  for (int y = 0; y < curve.height() && !trace; ++y)
    for (int c = 0; c < 4; ++c) trace = trace || curve.GetPixel(589, y) == s.traceColour[c];
  EXPECT_TRUE(trace);
  EXPECT_EQ(OnScreen(host, panes.curve), CanvasImage(curve));
}

// Readouts shown one after another, in the pane and in the window: a line at a time shows what erasing the
// pane and drawing every line shows, through new values and markers, warnings coming and going, a new
// background, and an erase of the pane in between.
TEST_F(PaneWidgetsTest, NumbersShownLineByLineMatchAFullRepaint) {
  const QFont font = SystemFont(14, 700);
  const int lineHeight = TextHeight(SystemFont(14, 400)) + 2;
  struct Readout {
    const char* value;
    const char* marker;
    bool dipoleWarning;
    bool valueWarning;
    ReadoutBackground background;
    bool eraseFirst;
  };
  const Readout run[] = {
      {"", "", false, false, ReadoutBackground::Idle, false},
      {"Cond: 12.34", "", false, false, ReadoutBackground::Normal, false},
      {"Cond: 12.36", "", false, false, ReadoutBackground::Normal, false},
      {"Cond: 112.9", "Mark 1", false, false, ReadoutBackground::Normal, false},
      {"Cond: -3.07", "Mark 1", true, false, ReadoutBackground::Normal, false},
      {"Cond: -3.07", "Mark 1", true, true, ReadoutBackground::Normal, false},
      {"Cond: 8.8", "Mark 2", false, true, ReadoutBackground::Warning, false},
      {"Cond: 8.9", "Mark 2", false, false, ReadoutBackground::Warning, false},
      {"Cond: 9.9", "Mark 2", false, false, ReadoutBackground::Normal, true},
      {"Cond: 10.1 yg", "", false, false, ReadoutBackground::Normal, false},
      {"Cond: 10.1", "", false, false, ReadoutBackground::Normal, false},
  };
  auto show = [&](const Readout& r) {
    const std::array<NumbersLine, kNumbersLines> lines = {{{"Dipole: Vertical", r.dipoleWarning},
                                                           {"Gain: 1.000", false},
                                                           {r.value, r.valueWarning},
                                                           {r.marker, false}}};
    ShowNumbers(lines, ReadoutBackgroundColour(r.background), font, lineHeight);
  };
  host.show();
  panes.numbers->show();
  InvalidateLogPanes(kNumbersPane);
  for (std::size_t i = 0; i < std::size(run); ++i) {
    if (run[i].eraseFirst) InvalidateLogPanes(kNumbersPane);
    show(run[i]);
    const QImage live = CanvasImage(panes.numbers->canvas()).copy();
    ASSERT_EQ(OnScreen(host, panes.numbers), live) << "readout " << i;
    InvalidateLogPanes(kNumbersPane);
    show(run[i]);
    ASSERT_EQ(CanvasImage(panes.numbers->canvas()), live) << "readout " << i;
  }
  // The last readout is on screen: dark text on the normal background in the value line.
  const QImage shown = OnScreen(host, panes.numbers);
  bool text = false;
  const int y0 = 4 + 2 * lineHeight;
  for (int y = y0; y < y0 + lineHeight && !text; ++y)
    for (int x = 6; x < 60 && !text; ++x) text = shown.pixel(x, y) == QColor(Qt::black).rgb();
  EXPECT_TRUE(text);
}

}  // namespace
}  // namespace obrix
