#include "panes/qt/panes.h"

#include <QString>
#include <QVariant>
#include <QWidget>
#include <algorithm>
#include <array>
#include <optional>

#include "panes/bar_panes.h"
#include "panes/colour_bar.h"
#include "panes/pane_paint.h"
#include "panes/profile_pane.h"
#include "panes/profile_redraw.h"
#include "panes/speed_bar.h"
#include "state/palette.h"
#include "survey/pane_state.h"
#include "survey/screen_sink.h"

namespace obrix {

namespace {

LogPaneWidgets g_panes;
std::optional<QFont> g_labelFont;

// What the numbers pane shows; `canvas` is null when the pane was erased or never drawn.
struct ShownNumbers {
  const Canvas* canvas = nullptr;
  int width = 0;
  int height = 0;
  Colour background = kWhite;
  QFont font;
  int lineHeight = 0;
  std::array<NumbersLine, kNumbersLines> lines;
};
ShownNumbers g_numbers;

CanvasWidget* MakePane(QWidget* parent, const char* className, int id) {
  auto* pane = new CanvasWidget(parent, kWhite);
  pane->setObjectName(QString::fromLatin1(className));
  pane->setProperty("controlId", id);
  pane->setFocusPolicy(Qt::NoFocus);
  pane->hide();
  return pane;
}

Canvas* CanvasOf(CanvasWidget* w) { return w ? &w->canvas() : nullptr; }

void Show(CanvasWidget* w) {
  if (w) w->update();
}

// Shows the part of a pane that changed.
void ShowPart(CanvasWidget* w, const Rect& r) {
  if (r.left < r.right && r.top < r.bottom) w->update(ToQRect(r));
}

int NumbersLineTop(int i, int lineHeight) { return 4 + i * lineHeight; }

void DrawNumbersLine(Canvas& dc, int i, const NumbersLine& line, const QFont& font, int lineHeight) {
  const int y = NumbersLineTop(i, lineHeight);
  DrawText(dc, 6, y, line.text, font, TextStyle{kWindowText});
  if (line.warning) {
    dc.SelectPen(NullPen());
    dc.SelectBrush(SolidBrush(kWarningDotColour));
    dc.Ellipse(dc.width() - 12, y + lineHeight / 2 - 4, dc.width() - 4, y + lineHeight / 2 + 4);
  }
}

// The rows that belong to line i: from the top of its cell to the top of the next line's (the first from the
// top of the pane, the last to its bottom).
Rect NumbersBand(const Canvas& dc, int i, int lineHeight) {
  const int top = i == 0 ? 0 : NumbersLineTop(i, lineHeight);
  const int bottom = i == kNumbersLines - 1 ? dc.height() : NumbersLineTop(i + 1, lineHeight);
  return {0, top, dc.width(), bottom};
}

// Whether every line draws inside its own band, so that one line can be drawn again alone.
bool LinesKeepToTheirBands(const QFont& font, int lineHeight) {
  return TextHeight(font) <= lineHeight && lineHeight >= 8;
}

const QFont& LabelFont() {
  if (!g_labelFont) g_labelFont = SystemFont(14, 400);
  return *g_labelFont;
}

}  // namespace

LogPaneWidgets CreateLogPanes(QWidget* logScreen) {
  LogPaneWidgets p;
  p.decay = MakePane(logScreen, "DecayWnd", kDecayPaneId);
  p.curve = MakePane(logScreen, "CurveWnd", kCurvePaneId);
  p.barQ = MakePane(logScreen, "BarQWnd", kBarQPaneId);
  p.barI = MakePane(logScreen, "BarIWnd", kBarIPaneId);
  p.numbers = MakePane(logScreen, "NumbersWnd", kNumbersPaneId);
  p.speed = MakePane(logScreen, "SpeedWnd", kSpeedPaneId);
  p.colourBar = MakePane(logScreen, "ColorBarWnd", kColourBarPaneId);
  p.colourBar->setGeometry(kColourBarPaneX, kColourBarPaneY, kColourBarPaneWidth, kColourBarPaneHeight);
  Panes().BarGridWidth = BarGridWidthFor(kInitialRightColumnWidth);
  g_panes = p;
  g_numbers.canvas = nullptr;
  return p;
}

LogPaneWidgets& LogPanes() { return g_panes; }
void UseLogPanes(const LogPaneWidgets& panes) {
  g_panes = panes;
  g_numbers.canvas = nullptr;
}

void PlaceLogPanes(const PanePlacement& placement) {
  const LogPaneWidgets& w = g_panes;
  if (w.curve) w.curve->setGeometry(placement.profile);
  if (w.barQ) w.barQ->setGeometry(placement.condBars);
  if (w.barI) w.barI->setGeometry(placement.inphBars);
  if (w.numbers) w.numbers->setGeometry(placement.numbers);
  if (w.speed) w.speed->setGeometry(placement.speedBar);
  SetProfileSize(placement.profile.width(), placement.profile.height());
  PaneState& p = Panes();
  p.BarHeight = placement.condBars.height();
  p.SpeedBarWidth = placement.speedBar.width();
  PlaceBars(placement.rightColumnWidth);
  UpdateSpeedBarScale();
}

void InvalidateLogPanes(unsigned mask) {
  const LogPaneWidgets& w = g_panes;
  PaintPanes({CanvasOf(w.curve), CanvasOf(w.barQ), CanvasOf(w.barI), CanvasOf(w.numbers), CanvasOf(w.speed)},
             mask);
  if (mask & kNumbersPane) g_numbers.canvas = nullptr;
  if (mask & kProfilePane) Show(w.curve);
  if (mask & kCondBarPane) Show(w.barQ);
  if (mask & kInphBarPane) Show(w.barI);
  if (mask & kNumbersPane) Show(w.numbers);
  if (mask & kSpeedBarPane) Show(w.speed);
}

void InvalidateBars() { InvalidateLogPanes(kCondBarPane | kInphBarPane); }

void ScrollProfilePane(const DisplayPixels& pixels, std::span<const int, kProfileChannels> present) {
  CanvasWidget* w = g_panes.curve;
  if (!w) return;
  const ProfileStep step = ScrollProfile(w->canvas(), pixels.profileRows, present);
  // The pixels on screen move with the canvas (the widget is opaque, so Qt moves them in its backing store and
  // repaints only what it could not move); the new columns are copied from the canvas.
  if (step.moved.left < step.moved.right) w->scroll(step.dx, 0, ToQRect(step.moved));
  ShowPart(w, step.drawn);
}

void UpdateBarPanes(const DisplayPixels& pixels) {
  if (g_panes.barQ) ShowPart(g_panes.barQ, DrawConductivityBars(g_panes.barQ->canvas(), pixels.condBarRows));
  if (g_panes.barI) ShowPart(g_panes.barI, DrawInphaseBars(g_panes.barI->canvas(), pixels.inphBarRows));
}

void ShowSpeedOnBar(double shownSpeed) {
  if (!g_panes.speed) return;
  DrawSpeedBar(g_panes.speed->canvas(), SpeedBarEmptyWidth(shownSpeed));
  Show(g_panes.speed);
}

void RedrawProfilePaneFromData() {
  if (!g_panes.curve) return;
  RedrawProfileFromData(g_panes.curve->canvas());
  Show(g_panes.curve);
}

void ShowNumbers(std::span<const NumbersLine, kNumbersLines> lines, Colour background, const QFont& font,
                 int lineHeight) {
  CanvasWidget* w = g_panes.numbers;
  if (!w) return;
  Canvas& dc = w->canvas();
  ShownNumbers& shown = g_numbers;
  const bool sameFrame = shown.canvas == &dc && shown.width == dc.width() && shown.height == dc.height() &&
                         shown.background == background && shown.lineHeight == lineHeight && shown.font == font &&
                         LinesKeepToTheirBands(font, lineHeight);
  if (!sameFrame) {
    dc.Clear(background);
    for (int i = 0; i < kNumbersLines; ++i) DrawNumbersLine(dc, i, lines[i], font, lineHeight);
    w->update();
  } else {
    for (int i = 0; i < kNumbersLines; ++i) {
      const NumbersLine& was = shown.lines[i];
      if (was.text == lines[i].text && was.warning == lines[i].warning) continue;
      const Rect band = NumbersBand(dc, i, lineHeight);
      dc.FillRect(band, background);
      DrawNumbersLine(dc, i, lines[i], font, lineHeight);
      ShowPart(w, band);
    }
  }
  shown.canvas = &dc;
  shown.width = dc.width();
  shown.height = dc.height();
  shown.background = background;
  shown.font = font;
  shown.lineHeight = lineHeight;
  std::copy(lines.begin(), lines.end(), shown.lines.begin());
}

void ShowColourBar(bool show) {
  CanvasWidget* w = g_panes.colourBar;
  if (!w) return;
  if (!show) {
    w->hide();
    return;
  }
  Canvas& dc = w->canvas();
  dc.Clear(kWhite);
  const QFont& font = LabelFont();
  PaintColourBar(dc, [&font](Canvas& c, const ColourBarLabel& l) {
    DrawText(c, l.x, l.y, QString::fromLatin1(l.text.c_str()), font);
  });
  w->show();
  w->raise();
  w->update();
}

void SetPaneLabelFont(const QFont& font) {
  g_labelFont = font;
}

void ResetPaneLabelFont() { g_labelFont.reset(); }

}  // namespace obrix
