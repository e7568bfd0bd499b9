#include "background/bg_draw.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "map/map_frame.h"
#include "map/map_pages.h"

namespace obrix {
namespace {

BgLabelHooks g_labels;

int64_t FloorDiv(int64_t a, int64_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }
int64_t CeilDiv(int64_t a, int64_t b) { return -FloorDiv(-a, b); }

int ColumnOf(int64_t x, int w) { return int(std::clamp<int64_t>(kOriginPage + CeilDiv(x, w), -1, kPageCount)); }
int RowOf(int64_t y, int h) { return int(std::clamp<int64_t>(kOriginPage + FloorDiv(y, h), -1, kPageCount)); }

// Calls `draw` with the page and the local pixel of `world` for every page that the world-pixel box
// [minX, maxX] x [minY, maxY] reaches.
template <typename Draw>
void ForPagesOfBox(int64_t minX, int64_t maxX, int64_t minY, int64_t maxY, Point world, Draw draw) {
  const int w = PageWidth(), h = PageHeight();
  if (w <= 0 || h <= 0) return;
  const int c0 = std::max(ColumnOf(minX, w), 0), c1 = std::min(ColumnOf(maxX, w), kPageCount - 1);
  const int r0 = std::max(RowOf(minY, h), 0), r1 = std::min(RowOf(maxY, h), kPageCount - 1);
  for (int col = c0; col <= c1; ++col)
    for (int row = r0; row <= r1; ++row) draw(col, row, PageLocal(world.x, world.y, col, row, w, h));
}

}  // namespace

BgStyle BgStyleOf(int s) {
  static constexpr BgStyle kStyles[12] = {
      {BgShape::Circle, 1, 1, 1},   {BgShape::Circle, 2, 2, 1},   {BgShape::Circle, 3, 3, 1},
      {BgShape::Square, 2, 1, 1},   {BgShape::Square, 3, 2, 1},   {BgShape::Square, 4, 3, 1},
      {BgShape::Triangle, 2, 1, 1}, {BgShape::Triangle, 3, 2, 1}, {BgShape::Triangle, 4, 3, 1},
      {BgShape::Line, 0, 0, 1},     {BgShape::Line, 0, 0, 2},     {BgShape::Line, 0, 0, 3},
  };
  return s >= 0 && s < 12 ? kStyles[s] : kStyles[0];
}

Pen BgPen(int width) { return SolidPen(std::clamp(width, 1, 3), kBgColour); }

BgLabelHooks& BgLabels() { return g_labels; }

void DrawBgSymbol(Point world, int positionsStyle, std::string_view label) {
  const BgStyle st = BgStyleOf(positionsStyle);
  const int h = st.half;
  const Pen pen = BgPen(1);
  const Brush brush = BgBrush();
  // World y grows up, page y down: the box in world pixels spans y - h - 1 .. y + h + 1.
  ForPagesOfBox(int64_t(world.x) - h - 1, int64_t(world.x) + h + 1, int64_t(world.y) - h - 1,
                int64_t(world.y) + h + 1, world, [&](int col, int row, Point p) {
                  PagePainter painter = SelectPageLayer(col, row, MapLayer::Base);
                  switch (st.shape) {
                    case BgShape::Circle:
                      painter.Ellipse(Rect{p.x - h - 1, p.y - h - 1, p.x + h + 1, p.y + h + 1}, pen, brush);
                      break;
                    case BgShape::Square:
                      painter.Paint(Rect{p.x - h, p.y - h, p.x + h, p.y + h}, {kBgColour},
                                    [&](Canvas& dc, Point o) {
                                      dc.SelectPen(pen);
                                      dc.SelectBrush(brush);
                                      dc.Rectangle(p.x - h - o.x, p.y - h - o.y, p.x + h - o.x, p.y + h - o.y);
                                    });
                      break;
                    case BgShape::Triangle:
                      painter.Paint(Rect{p.x - h, p.y - h, p.x + h + 1, p.y + h + 1}, {kBgColour},
                                    [&](Canvas& dc, Point o) {
                                      dc.SelectPen(pen);
                                      dc.SelectBrush(brush);
                                      const Point v[3] = {{p.x - h - o.x, p.y + h - o.y},
                                                          {p.x - o.x, p.y - h - o.y},
                                                          {p.x + h - o.x, p.y + h - o.y}};
                                      dc.Polygon(v, 3);
                                    });
                      break;
                    case BgShape::Line: break;
                  }
                });
  if (label.empty() || !g_labels.measure || !g_labels.draw) return;
  const Point size = g_labels.measure(label);
  if (size.x <= 0 || size.y <= 0) return;
  // The label's top-left corner at (x + offset, y) in page pixels: world rows y down to y - height + 1.
  const Point corner{world.x + st.labelOffset, world.y};
  ForPagesOfBox(corner.x, int64_t(corner.x) + size.x, int64_t(corner.y) - size.y, corner.y, corner,
                [&](int col, int row, Point p) {
                  SelectPageLayer(col, row, MapLayer::Base)
                      .Paint(Rect{p.x, p.y, p.x + size.x, p.y + size.y}, {kBgColour}, [&](Canvas& dc, Point o) {
                        g_labels.draw(dc, Point{p.x - o.x, p.y - o.y}, label);
                      });
                });
}

void DrawBgVertex(Point world, const Pen& pen) {
  const int r = BgSymbolBase;
  const Brush brush = SolidBrush(pen.colour);
  ForPagesOfBox(int64_t(world.x) - r - 1, int64_t(world.x) + r + 1, int64_t(world.y) - r - 1,
                int64_t(world.y) + r + 1, world, [&](int col, int row, Point p) {
                  SelectPageLayer(col, row, MapLayer::Base)
                      .Ellipse(Rect{p.x - r - 1, p.y - r - 1, p.x + r + 1, p.y + r + 1}, pen, brush);
                });
}

void DrawBgSegment(Point a, Point b, const Pen& pen) {
  const int w = PageWidth(), h = PageHeight();
  if (w <= 0 || h <= 0) return;
  if (a.x > b.x) std::swap(a, b);  // from the western end
  const int spread = (std::max(pen.width, 1) + 1) / 2;
  const int c0 = std::max(ColumnOf(a.x, w), 0), c1 = std::min(ColumnOf(b.x, w), kPageCount - 1);
  const double dx = double(b.x) - a.x, dy = double(b.y) - a.y;
  for (int col = c0; col <= c1; ++col) {
    // The part of the segment within this column's world x range.
    const double colMinX = std::max<double>(a.x, (double(col) - 1001) * w + 1);
    const double colMaxX = std::min<double>(b.x, (double(col) - 1000) * w);
    if (colMinX > colMaxX) continue;
    double y0 = a.y, y1 = b.y;
    if (dx != 0.0) {
      y0 = a.y + dy * (colMinX - a.x) / dx;
      y1 = a.y + dy * (colMaxX - a.x) / dx;
    }
    const int64_t lo = int64_t(std::floor(std::min(y0, y1))) - spread;
    const int64_t hi = int64_t(std::ceil(std::max(y0, y1))) + spread;
    const int r0 = std::max(RowOf(lo, h), 0), r1 = std::min(RowOf(hi, h), kPageCount - 1);
    for (int row = r0; row <= r1; ++row)
      SelectPageLayer(col, row, MapLayer::Base)
          .Line(PageLocal(a.x, a.y, col, row, w, h), PageLocal(b.x, b.y, col, row, w, h), pen);
  }
}

}  // namespace obrix
