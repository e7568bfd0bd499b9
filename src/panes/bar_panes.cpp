#include "panes/bar_panes.h"

#include <algorithm>

#include "panes/profile_pane.h"
#include "platform/canvas.h"
#include "settings/settings.h"
#include "settings/survey_inputs.h"
#include "state/palette.h"
#include "survey/pane_scales.h"
#include "survey/pane_state.h"

namespace obrix {

namespace {

// What differs between the two panes.
struct BarPane {
  BarPaneState& state;
  const GridRows& gridRows;
  int baseline;
  int zeroRow;
  double min, max, factor;
  int firstColour;  // trace colour of bar 0; bar 1 uses the next one
};

BarPane Conductivity() {
  PaneState& p = Panes();
  const Settings& s = Config();
  return {p.Cond, p.CondBarGridRows, p.CondBaseline, p.CondBarZeroRow, s.condScaleMin, s.condScaleMax,
          p.CondBarFactor, 0};
}

BarPane Inphase() {
  PaneState& p = Panes();
  const Settings& s = Config();
  return {p.Inph, p.InphBarGridRows, p.InphBaseline, p.InphBarZeroRow, s.inphScaleMin, s.inphScaleMax,
          p.InphBarFactor, 2};
}

void DrawGrid(Canvas& dc, const BarPane& pane) {
  const PaneState& p = Panes();
  DrawGridLines(dc, pane.gridRows, GridHasZeroLine(p.BarHeight, pane.min, pane.max, pane.factor), 0,
                p.BarGridWidth);
}

// The smallest rectangle holding both (an empty one holds nothing).
Rect Union(const Rect& a, const Rect& b) {
  if (a.left >= a.right || a.top >= a.bottom) return b;
  if (b.left >= b.right || b.top >= b.bottom) return a;
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

class BarPainter {
 public:
  BarPainter(Canvas& dc, int x, int colour) : dc_(dc), x_(x), colour_(colour) {}
  void Fill(int a, int b) {
    const PaneState& p = Panes();
    dc_.SelectPen(Pens().ThinTracePen[colour_]);
    dc_.SelectBrush(Pens().TraceBrush[colour_]);
    Box(x_, a, x_ + p.BarWidth, b);
  }
  void Erase(int a, int b) {
    const PaneState& p = Panes();
    dc_.SelectPen(Pens().BackgroundPen);
    dc_.SelectBrush(Pens().BackgroundBrush);
    Box(x_ - 1, a, x_ + p.BarWidth + 1, b);
  }
  const Rect& changed() const { return changed_; }

 private:
  void Box(int l, int t, int r, int b) {
    dc_.Rectangle(l, t, r, b);
    changed_ = Union(changed_, Rect{std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b)});
  }

  Canvas& dc_;
  int x_;
  int colour_;
  Rect changed_;
};

Rect DrawBars(Canvas& dc, const BarPane& pane, const std::array<int, 2>& rows) {
  const PaneState& p = Panes();
  const SharedPens& pens = Pens();
  DrawGrid(dc, pane);
  const int base = BarBaselineRow(pane.baseline, pane.zeroRow, p.BarHeight);
  Rect changed;
  if (pane.state.Drawn == 0) {
    changed = {0, 0, dc.width(), dc.height()};
    pane.state.Drawn = 1;
    dc.SelectPen(pens.BackgroundPen);
    dc.SelectBrush(pens.BackgroundBrush);
    dc.Rectangle(1, 1, p.BarGridWidth - 1, p.BarHeight);
    pane.state.Row.fill(base);
  }
  for (int k = 0; k < 2; ++k) {
    const int v = rows[k];
    const int prev = pane.state.Row[k];
    BarPainter bar(dc, p.BarX[k], pane.firstColour + k);
    if (pane.baseline == BaselineBottom) {
      if (v < prev) bar.Fill(v, prev);
      else bar.Erase(prev, v);
    } else if (pane.baseline == BaselineTop) {
      if (v > prev) bar.Fill(prev, v);
      else bar.Erase(prev, v);
    } else {
      const int z = base;
      if (v > z) {  // below zero
        if (prev < z) {
          bar.Erase(prev, z);
          bar.Fill(z, v);
        } else if (prev < v) {
          bar.Fill(prev, v);
        } else {
          bar.Erase(prev, v);
        }
      } else {  // zero or above
        if (prev >= z) {
          bar.Erase(z, p.BarHeight);
          bar.Fill(v, z);
        } else if (v < prev) {
          bar.Fill(v, prev);
        } else {
          bar.Erase(prev, v);
        }
      }
    }
    pane.state.Row[k] = v;
    pane.state.Shown[k] = std::clamp(v, 0, std::max(p.BarHeight, 0));
    changed = Union(changed, bar.changed());
  }
  // The grid drawn again shows the pixels it showed before outside the bars' boxes.
  DrawGrid(dc, pane);
  return changed;
}

void PaintBars(Canvas& dc, const BarPane& pane) {
  if (!UsesInstrument(Config())) return;
  const PaneState& p = Panes();
  if (pane.state.Drawn == 1) {
    const int base = BarBaselineRow(pane.baseline, pane.zeroRow, p.BarHeight);
    for (int k = 0; k < 2; ++k) {
      BarPainter(dc, p.BarX[k], pane.firstColour + k).Fill(pane.state.Shown[k], base);
    }
  }
  DrawGrid(dc, pane);
}

}  // namespace

void DrawConductivityBarGrid(Canvas& dc) { DrawGrid(dc, Conductivity()); }
void DrawInphaseBarGrid(Canvas& dc) { DrawGrid(dc, Inphase()); }
Rect DrawConductivityBars(Canvas& dc, const std::array<int, 2>& rows) { return DrawBars(dc, Conductivity(), rows); }
Rect DrawInphaseBars(Canvas& dc, const std::array<int, 2>& rows) { return DrawBars(dc, Inphase(), rows); }
void PaintConductivityBarPane(Canvas& dc) { PaintBars(dc, Conductivity()); }
void PaintInphaseBarPane(Canvas& dc) { PaintBars(dc, Inphase()); }

}  // namespace obrix
