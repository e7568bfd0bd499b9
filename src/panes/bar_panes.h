#pragma once
// The conductivity and inphase bar panes: two bars each (vertical and horizontal dipole), updated by painting
// only the difference to the bars last drawn.
#include <array>

#include "platform/canvas.h"

namespace obrix {

// Grid lines of a bar pane across BarGridWidth.
void DrawConductivityBarGrid(Canvas& dc);
void DrawInphaseBarGrid(Canvas& dc);

// Updates the two bars of a pane to the rows (0 vertical, 1 horizontal dipole). Returns the box of the pixels that
// may have changed (empty when none did).
Rect DrawConductivityBars(Canvas& dc, const std::array<int, 2>& rows);
Rect DrawInphaseBars(Canvas& dc, const std::array<int, 2>& rows);

// Paint of an erased bar pane: the bars from their shown rows (when drawn), then the grid; nothing while the
// instrument is disabled.
void PaintConductivityBarPane(Canvas& dc);
void PaintInphaseBarPane(Canvas& dc);

}  // namespace obrix
