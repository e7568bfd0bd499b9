#include "panes/qt/panes.h"

#include <QString>
#include <QVariant>
#include <QWidget>
#include <optional>

#include "panes/bar_panes.h"
#include "panes/colour_bar.h"
#include "panes/pane_paint.h"
#include "panes/profile_pane.h"
#include "panes/profile_redraw.h"
#include "panes/speed_bar.h"
#include "survey/pane_state.h"

namespace obrix {

namespace {

LogPaneWidgets g_panes;
std::optional<QFont> g_labelFont;

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
  if (r.left < r.right && r.top < r.bottom) w->update(QRect(r.left, r.top, r.right - r.left, r.bottom - r.top));
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
  return p;
}

LogPaneWidgets& LogPanes() { return g_panes; }
void UseLogPanes(const LogPaneWidgets& panes) { g_panes = panes; }

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
  if (mask & kProfilePane) Show(w.curve);
  if (mask & kCondBarPane) Show(w.barQ);
  if (mask & kInphBarPane) Show(w.barI);
  if (mask & kNumbersPane) Show(w.numbers);
  if (mask & kSpeedBarPane) Show(w.speed);
}

void InvalidateBars() { InvalidateLogPanes(kCondBarPane | kInphBarPane); }

void ScrollProfilePane(const DisplayPixels& pixels, std::span<const int, kProfileChannels> present) {
  if (!g_panes.curve) return;
  ScrollProfile(g_panes.curve->canvas(), pixels.profileRows, present);
  Show(g_panes.curve);
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
