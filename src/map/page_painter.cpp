#include "map/page_painter.h"

#include <algorithm>
#include <cstdint>

#include "map/map_palette.h"

namespace obrix {
namespace {

// A background colour none of the drawing colours uses.
Colour SentinelFor(std::initializer_list<Colour> colours) {
  for (Colour candidate = Rgb(1, 2, 3);; candidate += 0x010101u) {
    bool used = false;
    for (Colour c : colours) used = used || (c & 0xFFFFFFu) == candidate;
    if (!used) return candidate;
  }
}

}  // namespace

void PagePainter::Paint(const Rect& box, std::initializer_list<Colour> colours,
                        const std::function<void(Canvas& dc, Point origin)>& draw) {
  if (!PageInTable(col_, row_)) return;
  const int64_t l = std::max<int64_t>(std::min(box.left, box.right), 0);
  const int64_t t = std::max<int64_t>(std::min(box.top, box.bottom), 0);
  const int64_t r = std::min<int64_t>(std::max(box.left, box.right), store_.width());
  const int64_t b = std::min<int64_t>(std::max(box.top, box.bottom), store_.height());
  if (l >= r || t >= b) return;

  static thread_local Canvas scratch;
  const Colour sentinel = SentinelFor(colours);
  const uint32_t sentinelPixel = ToPixel(sentinel);
  scratch.Resize(int(r - l), int(b - t), sentinel);
  draw(scratch, Point{int(l), int(t)});

  const uint32_t whitePixel = ToPixel(kWhite);
  const bool whiteIsBlank = layer_ == MapLayer::Track;
  uint32_t lastPixel = sentinelPixel;
  uint8_t lastIndex = 0;
  for (int y = 0; y < scratch.height(); ++y) {
    const uint32_t* p = scratch.row(y);
    for (int x = 0; x < scratch.width(); ++x) {
      if (p[x] == sentinelPixel) continue;
      if (p[x] != lastPixel) {
        lastPixel = p[x];
        lastIndex = whiteIsBlank && p[x] == whitePixel ? uint8_t(MapPalette::kNoInk)
                                                       : palette_.IndexOf(FromPixel(p[x]));
      }
      store_.Put(col_, row_, layer_, int(l) + x, int(t) + y, lastIndex);
    }
  }
}

void PagePainter::Line(Point a, Point b, const Pen& pen) {
  if (!pen.visible) return;
  const int reach = std::clamp(pen.width, 1, Canvas::kMaxPenWidth) + 1;
  const Rect box{int(std::max<int64_t>(std::min<int64_t>(a.x, b.x) - reach, INT32_MIN)),
                 int(std::max<int64_t>(std::min<int64_t>(a.y, b.y) - reach, INT32_MIN)),
                 int(std::min<int64_t>(int64_t(std::max(a.x, b.x)) + reach + 1, INT32_MAX)),
                 int(std::min<int64_t>(int64_t(std::max(a.y, b.y)) + reach + 1, INT32_MAX))};
  Paint(box, {pen.colour}, [&](Canvas& dc, Point o) {
    dc.SelectPen(pen);
    const Point points[2] = {{int(int64_t(a.x) - o.x), int(int64_t(a.y) - o.y)},
                             {int(int64_t(b.x) - o.x), int(int64_t(b.y) - o.y)}};
    dc.Polyline(points, 2);
  });
}

void PagePainter::Ellipse(const Rect& box, const Pen& pen, const Brush& brush) {
  Paint(box, {pen.colour, brush.colour}, [&](Canvas& dc, Point o) {
    dc.SelectPen(pen);
    dc.SelectBrush(brush);
    dc.Ellipse(box.left - o.x, box.top - o.y, box.right - o.x, box.bottom - o.y);
  });
}

}  // namespace obrix
