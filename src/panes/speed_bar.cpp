#include "panes/speed_bar.h"

#include <algorithm>

#include "platform/canvas.h"
#include "state/palette.h"
#include "survey/pane_state.h"

namespace obrix {

void DrawSpeedBar(Canvas& dc, int emptyWidth) {
  const SharedPens& pens = Pens();
  const int w = std::max(Panes().SpeedBarWidth, 0);
  const int e = std::clamp(emptyWidth, 0, w);
  dc.SelectPen(pens.SpeedBarPen);
  dc.SelectBrush(pens.SpeedBarBrush);
  dc.Rectangle(0, 0, w, kSpeedBarHeight);
  dc.SelectPen(pens.BackgroundPen);
  dc.SelectBrush(pens.BackgroundBrush);
  dc.Rectangle(w - e, 0, w, kSpeedBarHeight);
}

void PaintSpeedBarPane(Canvas& dc) { DrawSpeedBar(dc, Panes().SpeedBarWidth); }

}  // namespace obrix
