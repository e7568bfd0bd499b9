// Drawing primitives of the track layers: segments and dots that cross page edges, edge marks and bars, and
// the colour swath between two edges.
#include <algorithm>
#include <cmath>

#include "gps/reading_bins.h"
#include "map/map_pages.h"
#include "map/map_track.h"
#include "settings/settings.h"
#include "state/palette.h"

namespace obrix {
namespace {

// Bars drawn for one colour swath at most (a far jump must not stall the window thread).
constexpr int kMaxSwathBars = 1 << 16;
// A swath whose edges or step span more pages than this is a jump of the position (or a corrupted record), not
// ground covered: it is not filled, so one bad value cannot paint thousands of pages.
constexpr int kMaxSwathPageSpan = 16;

bool SpansTooManyPages(const EdgePx& c, const EdgePx& p) {
  const double w = PageWidth(), h = PageHeight();
  const Point pts[4] = {c.left, c.right, p.left, p.right};
  double minX = pts[0].x, maxX = pts[0].x, minY = pts[0].y, maxY = pts[0].y;
  for (const Point& q : pts) {
    minX = std::min<double>(minX, q.x);
    maxX = std::max<double>(maxX, q.x);
    minY = std::min<double>(minY, q.y);
    maxY = std::max<double>(maxY, q.y);
  }
  return maxX - minX > kMaxSwathPageSpan * w || maxY - minY > kMaxSwathPageSpan * h;
}

int TruncInt(double v) {
  if (!(v > -2e9)) return INT32_MIN / 2;
  if (!(v < 2e9)) return INT32_MAX / 2;
  return int(std::trunc(v));
}

void LineInPage(int col, int row, Point a, Point b, const Pen& pen) {
  if (!PageInTable(col, row)) return;
  SelectPageLayer(col, row, MapLayer::Track).Line(a, b, pen);
}

void DotInPage(int col, int row, Point c, int r, const Pen& pen, const Brush& brush) {
  if (!PageInTable(col, row)) return;
  SelectPageLayer(col, row, MapLayer::Track).Ellipse(Rect{c.x - r - 1, c.y - r - 1, c.x + r + 1, c.y + r + 1},
                                                     pen, brush);
}

// The pieces of a segment between world pixels: one line in the page of each end, and when the pages differ in
// both column and row one more in a corner page; `piece` gets (col, row, a, b) in that page's local pixels.
template <class Piece>
void SegmentPieces(Point a, Point b, Piece&& piece) {
  const int w = PageWidth(), h = PageHeight();
  const PagePixel pa = PixelToPage(a), pb = PixelToPage(b);
  const int dX = b.x - a.x, dY = b.y - a.y;
  if (pa.col == pb.col && pa.row == pb.row) {
    piece(pa.col, pa.row, Point{pa.x, pa.y}, Point{pb.x, pb.y});
    return;
  }
  piece(pa.col, pa.row, Point{pa.x, pa.y}, Point{pa.x + dX, pa.y - dY});
  piece(pb.col, pb.row, Point{pb.x - dX, pb.y + dY}, Point{pb.x, pb.y});
  if (pa.col == pb.col || pa.row == pb.row) return;
  // Where the segment leaves A's page first: through its top or bottom edge, or towards B's column.
  const double ty = dY > 0 ? (pa.y + 0.5) / dY : (h - 0.5 - pa.y) / double(-dY);
  const double tx = dX > 0 ? (w - 0.5 - pa.x) / dX : (pa.x + 0.5) / double(-dX);
  if (ty < tx) {
    piece(pa.col, pb.row, Point{pa.x, pb.y + dY}, Point{pa.x + dX, pb.y});
  } else {
    piece(pb.col, pa.row, Point{pb.x - dX, pa.y}, Point{pb.x, pa.y - dY});
  }
}

}  // namespace

void DrawSegmentAcrossPages(Point a, Point b, const Pen& pen) {
  SegmentPieces(a, b, [&](int col, int row, Point p, Point q) { LineInPage(col, row, p, q, pen); });
}

void DrawDotAcrossPages(int x, int y, int r, const Pen& pen, const Brush& brush) {
  const int w = PageWidth(), h = PageHeight();
  const PagePixel p = PixelToPage(x, y, w, h);
  DotInPage(p.col, p.row, {p.x, p.y}, r, pen, brush);
  // The same world pixel in the neighbour pages, so the dot joins up across the edge.
  if (p.x <= r) DotInPage(p.col - 1, p.row, {p.x + w, p.y}, r, pen, brush);
  if (p.x + r + 1 > w - 1) DotInPage(p.col + 1, p.row, {p.x - w, p.y}, r, pen, brush);
  if (p.y <= r) DotInPage(p.col, p.row + 1, {p.x, p.y + h}, r, pen, brush);
  if (p.y + r + 1 > h - 1) DotInPage(p.col, p.row - 1, {p.x, p.y - h}, r, pen, brush);
}

void DrawEdgeMark(const EdgePx& e) {
  const int size = Config().positionSize;
  const SharedPens& pens = Pens();
  if (size >= 0 && size <= 3) {
    const int cx = int((int64_t(e.left.x) + e.right.x) / 2), cy = int((int64_t(e.left.y) + e.right.y) / 2);
    DrawDotAcrossPages(cx, cy, size, pens.PositionPen, pens.PositionBrush);
  } else {
    DrawEdgeBar(e);
  }
}

void DrawEdgeBar(const EdgePx& e) {
  const int size = Config().positionSize;
  if (size == 4) DrawSegmentAcrossPages(e.left, e.right, Pens().PositionPen);
  else if (size == 5) DrawSegmentAcrossPages(e.left, e.right, Pens().ThickPositionPen);
}

void FillColourSwath(const EdgePx& c, const EdgePx& p, const int* bins, int lastBinCount, bool ready) {
  if (!ready || bins == nullptr || SpansTooManyPages(c, p)) return;
  const double leftLen = std::hypot(double(c.left.x) - p.left.x, double(c.left.y) - p.left.y);
  const double rightLen = std::hypot(double(c.right.x) - p.right.x, double(c.right.y) - p.right.y);
  const int m = std::min(std::max(TruncInt(leftLen), TruncInt(rightLen)), kMaxSwathBars);
  const SharedPens& pens = Pens();
  const double spread = m > 0 ? double(lastBinCount) / m : 0.0;
  // The bars overlap their neighbours: drawn in order, page by page, each page's share on one canvas.
  TrackLineBatch batch;
  for (int i = 0; i < m; ++i) {
    const auto along = [&](int from, int to) { return TruncInt(from + double(i) * (double(to) - from) / m); };
    const Point l{along(p.left.x, c.left.x), along(p.left.y, c.left.y)};
    const Point r{along(p.right.x, c.right.x), along(p.right.y, c.right.y)};
    const int k = std::clamp(TruncInt(i * spread), 0, kReadingBinSize - 1);
    const Pen& pen = pens.ColourPens[std::clamp(bins[k], 0, kColourTableSize - 1)];
    SegmentPieces(l, r, [&](int col, int row, Point a, Point b) { batch.Add(col, row, a, b, pen); });
  }
}

void FillColourSwath(const EdgePx& current, const EdgePx& previous) {
  const ReadingBinState& b = Bins();
  const int buffer = std::clamp(b.LastBinBuffer, 0, 1);
  FillColourSwath(current, previous, b.ReadingBins[buffer], b.LastBinCount, b.BinsReady == 1);
}

}  // namespace obrix
