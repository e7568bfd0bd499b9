#include "map/page_painter.h"

#include <algorithm>
#include <cstdint>

#include "map/map_pages.h"
#include "map/map_palette.h"

namespace obrix {
namespace {

// A background colour none of the drawing colours uses.
Colour SentinelFor(std::span<const Colour> colours) {
  for (Colour candidate = Rgb(1, 2, 3);; candidate += 0x010101u) {
    bool used = false;
    for (Colour c : colours) used = used || (c & 0xFFFFFFu) == candidate;
    if (!used) return candidate;
  }
}

}  // namespace

void PagePainter::Paint(const Rect& box, std::initializer_list<Colour> colours,
                        const std::function<void(Canvas& dc, Point origin)>& draw) {
  Paint(box, std::span<const Colour>(colours.begin(), colours.size()), draw);
}

void PagePainter::Paint(const Rect& box, std::span<const Colour> colours,
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
  const bool track = layer_ == MapLayer::Track;
  uint32_t lastPixel = sentinelPixel;
  uint8_t lastIndex = 0;
  // Track layers are written tile by tile; base layers pixel by pixel, so that their changes are counted.
  uint8_t* tile = nullptr;
  int tileKey = -1;
  for (int y = 0; y < scratch.height(); ++y) {
    const uint32_t* p = scratch.row(y);
    const int py = int(t) + y;
    for (int x = 0; x < scratch.width(); ++x) {
      if (p[x] == sentinelPixel) continue;
      if (p[x] != lastPixel) {
        lastPixel = p[x];
        lastIndex = track && p[x] == whitePixel ? uint8_t(MapPalette::kNoInk) : palette_.IndexOf(FromPixel(p[x]));
      }
      const int px = int(l) + x;
      if (!track) {
        store_.Put(col_, row_, layer_, px, py, lastIndex);
        continue;
      }
      const int key = (py / kTileSide) * store_.tilesAcross() + px / kTileSide;
      if (key != tileKey || (tile == nullptr && lastIndex != 0)) {
        tile = store_.TrackTile(col_, row_, px / kTileSide, py / kTileSide, lastIndex != 0);
        tileKey = key;
      }
      if (tile != nullptr) tile[(py % kTileSide) * kTileSide + px % kTileSide] = lastIndex;
    }
  }
}

Rect PagePainter::LineBox(Point a, Point b, const Pen& pen) {
  const int reach = std::clamp(pen.width, 1, Canvas::kMaxPenWidth) + 1;
  return Rect{int(std::max<int64_t>(std::min<int64_t>(a.x, b.x) - reach, INT32_MIN)),
              int(std::max<int64_t>(std::min<int64_t>(a.y, b.y) - reach, INT32_MIN)),
              int(std::min<int64_t>(int64_t(std::max(a.x, b.x)) + reach + 1, INT32_MAX)),
              int(std::min<int64_t>(int64_t(std::max(a.y, b.y)) + reach + 1, INT32_MAX))};
}

namespace {

void DrawLine(Canvas& dc, Point o, Point a, Point b, const Pen& pen) {
  dc.SelectPen(pen);
  const Point points[2] = {{int(int64_t(a.x) - o.x), int(int64_t(a.y) - o.y)},
                           {int(int64_t(b.x) - o.x), int(int64_t(b.y) - o.y)}};
  dc.Polyline(points, 2);
}

}  // namespace

void PagePainter::Line(Point a, Point b, const Pen& pen) {
  if (!pen.visible) return;
  Paint(LineBox(a, b, pen), {pen.colour}, [&](Canvas& dc, Point o) { DrawLine(dc, o, a, b, pen); });
}

void PagePainter::Lines(std::span<const PageLine> lines) {
  std::vector<Colour> colours;
  Rect box;
  bool any = false;
  for (const PageLine& l : lines) {
    if (!l.pen.visible) continue;
    const Rect r = LineBox(l.a, l.b, l.pen);
    box = any ? Rect{std::min(box.left, r.left), std::min(box.top, r.top), std::max(box.right, r.right),
                     std::max(box.bottom, r.bottom)}
              : r;
    any = true;
    if (std::find(colours.begin(), colours.end(), l.pen.colour) == colours.end()) colours.push_back(l.pen.colour);
  }
  if (!any) return;
  Paint(box, colours, [&](Canvas& dc, Point o) {
    for (const PageLine& l : lines)
      if (l.pen.visible) DrawLine(dc, o, l.a, l.b, l.pen);
  });
}

namespace {

// A group whose box would cover more than this many pixels is drawn first and started again, so lines far
// apart on one page never make one large scratch canvas.
constexpr double kMaxGroupPixels = 128 * 128;

double Area(const Rect& r) { return (double(r.right) - r.left) * (double(r.bottom) - r.top); }

}  // namespace

void TrackLineBatch::Add(int col, int row, Point a, Point b, const Pen& pen) {
  if (!pen.visible || !PageInTable(col, row)) return;
  const Rect r = PagePainter::LineBox(a, b, pen);
  for (Group& g : groups_) {
    if (g.col != col || g.row != row) continue;
    const Rect u{std::min(g.box.left, r.left), std::min(g.box.top, r.top), std::max(g.box.right, r.right),
                 std::max(g.box.bottom, r.bottom)};
    if (g.lines.empty() || Area(u) <= kMaxGroupPixels) {
      g.box = g.lines.empty() ? r : u;
    } else {
      Draw(g);
      g.box = r;
    }
    g.lines.push_back({a, b, pen});
    return;
  }
  groups_.push_back(Group{col, row, r, {PageLine{a, b, pen}}});
}

void TrackLineBatch::Draw(Group& g) {
  if (!g.lines.empty()) SelectPageLayer(g.col, g.row, MapLayer::Track).Lines(g.lines);
  g.lines.clear();
}

void TrackLineBatch::Flush() {
  for (Group& g : groups_) Draw(g);
  groups_.clear();
}

void PagePainter::Ellipse(const Rect& box, const Pen& pen, const Brush& brush) {
  Paint(box, {pen.colour, brush.colour}, [&](Canvas& dc, Point o) {
    dc.SelectPen(pen);
    dc.SelectBrush(brush);
    dc.Ellipse(box.left - o.x, box.top - o.y, box.right - o.x, box.bottom - o.y);
  });
}

}  // namespace obrix
