#include "panes/pane_paint.h"

#include "panes/bar_panes.h"
#include "panes/profile_pane.h"
#include "panes/speed_bar.h"
#include "platform/canvas.h"

namespace obrix {

namespace {

void Repaint(Canvas* dc, bool invalid, void (*paint)(Canvas&)) {
  if (!dc || !invalid) return;
  dc->Clear(kWhite);
  if (paint) paint(*dc);
}

}  // namespace

void PaintPanes(const PaneCanvases& panes, unsigned invalid) {
  Repaint(panes.profile, invalid & kProfilePane, PaintProfilePane);
  Repaint(panes.condBars, invalid & kCondBarPane, PaintConductivityBarPane);
  Repaint(panes.inphBars, invalid & kInphBarPane, PaintInphaseBarPane);
  Repaint(panes.numbers, invalid & kNumbersPane, nullptr);
  Repaint(panes.speedBar, invalid & kSpeedBarPane, PaintSpeedBarPane);
}

void InvalidateBars(const PaneCanvases& panes) { PaintPanes(panes, kCondBarPane | kInphBarPane); }

}  // namespace obrix
