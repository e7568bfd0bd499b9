#include "panes/profile_pane.h"

#include <algorithm>

#include "platform/canvas.h"
#include "settings/settings.h"
#include "settings/survey_inputs.h"
#include "state/palette.h"
#include "survey/pane_scales.h"

namespace obrix {

namespace {

bool ProfileZeroLine() {
  const ProfileGridScale g = SelectedProfileScale();
  return GridHasZeroLine(Panes().ProfileHeight, g.min, g.max, g.factor);
}

// How far a pen's footprint reaches from the point it is stamped at, either way.
int Reach(const Pen& pen) { return std::clamp(pen.width, 1, Canvas::kMaxPenWidth) / 2; }

Rect ClippedTo(const Canvas& dc, Rect r) {
  r.left = std::max(r.left, 0);
  r.top = std::max(r.top, 0);
  r.right = std::min(r.right, dc.width());
  r.bottom = std::min(r.bottom, dc.height());
  if (r.left >= r.right || r.top >= r.bottom) return {};
  return r;
}

}  // namespace

void DrawGridLines(Canvas& dc, const GridRows& rows, bool zeroLine, int x0, int x1) {
  const SharedPens& pens = Pens();
  const int n = std::clamp(rows[0], 0, kGridRowsSize - 1);
  for (int i = 1; i <= n; ++i) {
    dc.SelectPen(i == 1 && zeroLine ? pens.ZeroLinePen : pens.GridPen);
    dc.MoveTo(x0, rows[i]);
    dc.LineTo(x1, rows[i]);
  }
}

ProfileStep ScrollProfile(Canvas& dc, const std::array<int, kProfileChannels>& rows,
                          std::span<const int, kProfileChannels> present) {
  PaneState& p = Panes();
  const SharedPens& pens = Pens();
  const int x = p.ProfileWidth - kProfileRightMargin;
  const int h = p.ProfileHeight;
  int reach = std::max({Reach(pens.BackgroundPen), Reach(pens.GridPen), Reach(pens.ZeroLinePen)});

  // The block from column 2 to column x + 1 moves two pixels left (BitBlt clips the same way).
  const int movedWidth = x - 1;
  ProfileStep step;
  step.dx = -2;
  if (movedWidth > 0) step.moved = ClippedTo(dc, {0, 0, movedWidth + 2, h});
  if (x >= 3 && x < dc.width() && h == dc.height()) {
    // The same pixels as the block move below, without copying the picture: everything moves, then the
    // columns from x - 1 on get back what they showed.
    dc.ShiftLeft(2);
    dc.BitBlt(x - 1, 0, dc.width() - (x - 1), h, dc, x - 3, 0);
  } else {
    dc.BitBlt(0, 0, movedWidth, h, dc, 2, 0);
  }
  dc.SelectPen(pens.BackgroundPen);
  for (int c = x - 1; c <= x + 1; ++c) {
    dc.MoveTo(c, 0);
    dc.LineTo(c, h);
  }
  DrawGridLines(dc, p.ProfileGridRows, ProfileZeroLine(), x - 1, x + 1);

  const int channels = std::clamp(Drv().ProfileChannelCount, 0, kProfileChannels);
  for (int c = 0; c < channels; ++c) {
    if (!present[c]) continue;
    dc.SelectPen(pens.TracePen[c]);
    reach = std::max(reach, Reach(pens.TracePen[c]));
    if (p.ProfileContinued[c] == 1 && p.ProfileLastPresent[c] == present[c]) {
      dc.MoveTo(x - 2, p.ProfileLastRow[c]);
    } else {
      p.ProfileContinued[c] = 1;
      p.ProfileLastPresent[c] = present[c];
      dc.MoveTo(x, rows[c]);
    }
    dc.LineTo(x, rows[c]);
    p.ProfileLastRow[c] = rows[c];
  }
  // Lines run from column x - 2 to column x + 1.
  step.drawn = ClippedTo(dc, {x - 2 - reach, 0, x + 2 + reach, dc.height()});
  return step;
}

void ResetProfileContinuity() { Panes().ProfileContinued.fill(0); }

void SetProfileSize(int width, int height) {
  PaneState& p = Panes();
  if (height != p.ProfileHeight) ResetProfileContinuity();
  p.ProfileWidth = width;
  p.ProfileHeight = height;
}

void PaintProfilePane(Canvas& dc) {
  if (!UsesInstrument(Config())) return;
  DrawGridLines(dc, Panes().ProfileGridRows, ProfileZeroLine(), 0, Panes().ProfileWidth);
}

}  // namespace obrix
