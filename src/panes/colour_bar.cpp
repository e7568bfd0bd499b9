#include "panes/colour_bar.h"

#include "platform/canvas.h"
#include "platform/numbers.h"
#include "state/colour_scale.h"
#include "state/palette.h"

namespace obrix {

ColourBarGeometry ColourBarLayout() {
  ColourBarGeometry g;
  g.boxes = ColourCount + 1;
  g.boxHeight = 280 / g.boxes;
  g.columnHeight = g.boxHeight * g.boxes;
  g.top = (306 - g.columnHeight) / 2;
  return g;
}

std::array<ColourBarLabel, 5> ColourBarLabels() {
  const ColourBarGeometry g = ColourBarLayout();
  const ColourScale scale = CurrentColourScale();
  std::array<ColourBarLabel, 5> labels;
  for (int k = 0; k < 5; ++k) {
    int row = g.top + g.columnHeight - (k * g.columnHeight) / 4;
    if (k == 0) row -= g.boxHeight;
    if (k == 4) row += g.boxHeight;
    labels[k] = {5, row - 6, FormatC("%.2f", scale.min + k * (scale.max - scale.min) / 4)};
  }
  return labels;
}

void PaintColourBar(Canvas& dc, const LabelPainter& label) {
  const ColourBarGeometry g = ColourBarLayout();
  const SharedPens& pens = Pens();
  const int x = g.left, y0 = g.top, t = g.columnHeight, a = g.boxHeight;

  dc.SelectPen(pens.LegendFramePen);
  const Point frame[] = {{x - 1, y0 - 2}, {x - 1, y0 + t - 1}, {x + g.width, y0 + t - 1}, {x + g.width, y0 - 2},
                         {x - 1, y0 - 2}};
  dc.Polyline(frame, 5);
  for (int row : {y0 + a, y0 + t - a, y0 + t / 2, y0 + t / 4, y0 + 3 * t / 4}) {
    dc.MoveTo(x - 12, row);
    dc.LineTo(x - 6, row);
  }
  for (int i = g.boxes - 1; i >= 0; --i) {
    dc.SelectPen(pens.ColourPens[i]);
    dc.SelectBrush(pens.ColourBrushes[i]);
    dc.Rectangle(x + 1, y0 + t - i * a, x + g.width, y0 + t - (i + 1) * a);
  }
  if (!label) return;
  for (const ColourBarLabel& l : ColourBarLabels()) label(dc, l);
}

}  // namespace obrix
