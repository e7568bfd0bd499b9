#include "platform/canvas.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace obrix {
namespace {

int ClampSide(int v) { return std::clamp(v, 0, Canvas::kMaxSide); }
int ClampPenWidth(int w) { return std::clamp(w, 1, Canvas::kMaxPenWidth); }

// floor(a / b) for b > 0.
__int128 FloorDiv(__int128 a, __int128 b) {
  __int128 q = a / b;
  if ((a % b) != 0 && a < 0) --q;
  return q;
}

// Row spans of the round footprint of a wide pen, relative to its centre pixel.
struct Footprint {
  int width = 0;
  int top = 0;                               // offset of the first row
  std::vector<std::pair<int, int>> spans;    // inclusive x offsets per row
};

const Footprint& FootprintFor(int width) {
  static thread_local Footprint cache;
  if (cache.width == width) return cache;
  cache.width = width;
  cache.top = -(width / 2);
  cache.spans.clear();
  const int lo = -(width / 2);
  const int hi = (width - 1) / 2;
  const double centre = (lo + hi) / 2.0;
  const double radius2 = (width / 2.0) * (width / 2.0) + 1e-9;
  for (int dy = lo; dy <= hi; ++dy) {
    const double ry = dy - centre;
    int first = hi + 1;
    int last = lo - 1;
    for (int dx = lo; dx <= hi; ++dx) {
      const double rx = dx - centre;
      if (rx * rx + ry * ry <= radius2) {
        first = std::min(first, dx);
        last = std::max(last, dx);
      }
    }
    cache.spans.emplace_back(first, last);
  }
  return cache;
}

// Inclusive column interval of one row of a rounded box; empty when first > last.
struct Span {
  int64_t first;
  int64_t last;
};

class RoundBox {
 public:
  RoundBox(int64_t l, int64_t t, int64_t r, int64_t b, int64_t cw, int64_t ch)
      : l_(l), t_(t), r_(r), b_(b) {
    rx_ = double(std::clamp<int64_t>(cw, 0, r - l)) / 2.0;
    ry_ = double(std::clamp<int64_t>(ch, 0, b - t)) / 2.0;
  }

  Span Row(int64_t y) const {
    if (y < t_ || y >= b_) return {1, 0};
    const double yc = double(y) + 0.5;
    double d = 0.0;
    if (ry_ > 0.0 && yc < double(t_) + ry_) d = (double(t_) + ry_ - yc) / ry_;
    else if (ry_ > 0.0 && yc > double(b_) - ry_) d = (yc - (double(b_) - ry_)) / ry_;
    const double inset = rx_ * (1.0 - std::sqrt(std::max(0.0, 1.0 - d * d)));
    return {int64_t(std::ceil(double(l_) + inset - 0.5 - 1e-9)), int64_t(std::floor(double(r_) - inset - 0.5 + 1e-9))};
  }

 private:
  int64_t l_, t_, r_, b_;
  double rx_ = 0.0, ry_ = 0.0;
};

}  // namespace

Canvas::Canvas(int width, int height, Colour fill) { Resize(width, height, fill); }

void Canvas::Resize(int width, int height, Colour fill) {
  width_ = ClampSide(width);
  height_ = ClampSide(height);
  pixels_.assign(std::size_t(width_) * std::size_t(height_), ToPixel(fill));
  origin_ = 0;
}

void Canvas::ResizeKeep(int width, int height, Colour fill) {
  width = ClampSide(width);
  height = ClampSide(height);
  if (width == width_ && height == height_) return;
  std::vector<uint32_t> next(std::size_t(width) * std::size_t(height), ToPixel(fill));
  const int w = std::min(width, width_);
  const int h = std::min(height, height_);
  for (int y = 0; y < h; ++y) {
    std::memcpy(next.data() + std::size_t(y) * std::size_t(width), row(y), std::size_t(w) * 4);
  }
  pixels_.swap(next);
  origin_ = 0;
  width_ = width;
  height_ = height;
}

void Canvas::Clear(Colour colour) {
  std::fill_n(bits(), std::size_t(width_) * std::size_t(height_), ToPixel(colour));
}

void Canvas::ShiftLeft(int dx) {
  if (dx <= 0 || dx >= width_ || height_ == 0) return;
  const std::size_t size = std::size_t(width_) * std::size_t(height_);
  if (pixels_.size() < size + origin_ + std::size_t(dx)) {
    // Room for many steps: a quarter of the picture, at least a few rows.
    const std::size_t room = std::max(size / 4, std::size_t(width_) * 8);
    if (pixels_.size() < size + room) pixels_.resize(size + room);
    std::memmove(pixels_.data(), bits(), size * 4);
    origin_ = 0;
  }
  origin_ += std::size_t(dx);
}

void Canvas::SetPixel(int x, int y, Colour colour) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  row(y)[x] = ToPixel(colour);
}

Colour Canvas::GetPixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return kInvalidColour;
  return FromPixel(row(y)[x]);
}

void Canvas::FillSpan(int64_t y, int64_t x0, int64_t x1, uint32_t pixel) {
  if (y < 0 || y >= height_) return;
  x0 = std::max<int64_t>(x0, 0);
  x1 = std::min<int64_t>(x1, width_ - 1);
  if (x0 > x1) return;
  uint32_t* p = row(int(y));
  std::fill(p + x0, p + x1 + 1, pixel);
}

void Canvas::Stamp(int64_t x, int64_t y, int width, uint32_t pixel) {
  const Footprint& f = FootprintFor(width);
  for (std::size_t i = 0; i < f.spans.size(); ++i) {
    FillSpan(y + f.top + int64_t(i), x + f.spans[i].first, x + f.spans[i].second, pixel);
  }
}

void Canvas::FillRect(const Rect& r, const Brush& brush) {
  if (!brush.visible) return;
  const int64_t l = std::min<int64_t>(r.left, r.right), rr = std::max<int64_t>(r.left, r.right);
  const int64_t t = std::min<int64_t>(r.top, r.bottom), b = std::max<int64_t>(r.top, r.bottom);
  const uint32_t pixel = ToPixel(brush.colour);
  for (int64_t y = std::max<int64_t>(t, 0); y < std::min<int64_t>(b, height_); ++y) FillSpan(y, l, rr - 1, pixel);
}

void Canvas::LineTo(int x, int y) {
  DrawSegment(pos_, {x, y});
  pos_ = {x, y};
}

void Canvas::Polyline(const Point* points, std::size_t count) {
  if (points == nullptr) return;
  for (std::size_t i = 1; i < count; ++i) DrawSegment(points[i - 1], points[i]);
}

// Bresenham walk from a (included) to b (excluded for 1-pixel pens), restricted to the steps that can touch
// the buffer so that the cost does not depend on the length of the line.
void Canvas::DrawSegment(Point a, Point b) {
  if (!pen_.visible || empty()) return;
  const int pw = ClampPenWidth(pen_.width);
  const bool wide = pw > 1;
  const uint32_t pixel = ToPixel(pen_.colour);

  const int64_t dx = int64_t(b.x) - a.x, dy = int64_t(b.y) - a.y;
  const int64_t adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
  const int64_t n = std::max(adx, ady);
  if (n == 0) {
    if (wide) Stamp(a.x, a.y, pw, pixel);
    return;
  }
  const int64_t last = wide ? n : n - 1;
  const int64_t margin = wide ? pw : 0;

  const bool xMajor = adx >= ady;
  const int64_t amaj = xMajor ? adx : ady, amin = xMajor ? ady : adx;
  const int64_t smaj = (xMajor ? dx : dy) < 0 ? -1 : 1, smin = (xMajor ? dy : dx) < 0 ? -1 : 1;
  const int64_t maj0 = xMajor ? a.x : a.y, min0 = xMajor ? a.y : a.x;
  const int64_t limMaj = xMajor ? width_ : height_, limMin = xMajor ? height_ : width_;

  // Steps whose major coordinate lies within the (margin-widened) buffer.
  int64_t ilo = smaj > 0 ? -margin - maj0 : maj0 - (limMaj - 1 + margin);
  int64_t ihi = smaj > 0 ? limMaj - 1 + margin - maj0 : maj0 + margin;
  ilo = std::max<int64_t>(ilo, 0);
  ihi = std::min(ihi, last);
  if (ilo > ihi) return;

  // Minor offsets (along the minor sign) that lie within the buffer.
  const int64_t klo = smin > 0 ? -margin - min0 : min0 - (limMin - 1 + margin);
  const int64_t khi = smin > 0 ? limMin - 1 + margin - min0 : min0 + margin;
  if (amin == 0) {
    if (khi < 0 || klo > 0) return;
  } else {
    const double ratio = double(amaj) / double(amin);
    const double lo = std::floor((double(klo) - 1.0) * ratio) - 2.0;
    const double hi = std::ceil((double(khi) + 1.0) * ratio) + 2.0;
    if (lo > double(ihi) || hi < double(ilo)) return;
    if (lo > double(ilo)) ilo = int64_t(lo);
    if (hi < double(ihi)) ihi = int64_t(hi);
  }

  // Minor offset at step i: floor((2 i amin + amaj - 1) / (2 amaj)), halves toward the start.
  const __int128 twoMaj = __int128(2) * amaj;
  const __int128 num = __int128(2) * ilo * amin + amaj - 1;
  const __int128 k0 = FloorDiv(num, twoMaj);
  int64_t k = int64_t(k0);
  int64_t err = int64_t(num - k0 * twoMaj);
  const int64_t twoMaj64 = 2 * amaj, twoMin64 = 2 * amin;

  for (int64_t i = ilo; i <= ihi; ++i) {
    const int64_t pm = maj0 + smaj * i, pn = min0 + smin * k;
    const int64_t px = xMajor ? pm : pn, py = xMajor ? pn : pm;
    if (wide) {
      Stamp(px, py, pw, pixel);
    } else if (px >= 0 && py >= 0 && px < width_ && py < height_) {
      row(int(py))[px] = pixel;
    }
    err += twoMin64;
    if (err >= twoMaj64) {
      err -= twoMaj64;
      ++k;
    }
  }
}

void Canvas::Polygon(const Point* points, std::size_t count) {
  if (points == nullptr || count < 2 || empty()) return;
  if (brush_.visible && count >= 3) {
    int64_t minY = points[0].y, maxY = points[0].y;
    for (std::size_t i = 1; i < count; ++i) {
      minY = std::min<int64_t>(minY, points[i].y);
      maxY = std::max<int64_t>(maxY, points[i].y);
    }
    const uint32_t pixel = ToPixel(brush_.colour);
    std::vector<double> xs;
    for (int64_t y = std::max<int64_t>(minY, 0); y < std::min<int64_t>(maxY, height_); ++y) {
      // Pixel centres sit at half coordinates, so a scan line never passes through a vertex.
      const double yc = double(y) + 0.5;
      xs.clear();
      for (std::size_t i = 0; i < count; ++i) {
        const Point& p = points[i];
        const Point& q = points[(i + 1) % count];
        if (p.y == q.y) continue;
        const double y0 = p.y, y1 = q.y;
        if ((yc > y0) == (yc > y1)) continue;
        xs.push_back(p.x + (yc - y0) * (double(q.x) - p.x) / (y1 - y0));
      }
      std::sort(xs.begin(), xs.end());
      for (std::size_t i = 0; i + 1 < xs.size(); i += 2) {
        const int64_t x0 = int64_t(std::ceil(xs[i] - 0.5));
        const int64_t x1 = int64_t(std::ceil(xs[i + 1] - 0.5)) - 1;
        FillSpan(y, x0, x1, pixel);
      }
    }
  }
  for (std::size_t i = 0; i < count; ++i) DrawSegment(points[i], points[(i + 1) % count]);
}

void Canvas::Rectangle(int left, int top, int right, int bottom) { DrawShape(left, top, right, bottom, 0, 0); }

void Canvas::RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight) {
  DrawShape(left, top, right, bottom, std::max(cornerWidth, 0), std::max(cornerHeight, 0));
}

void Canvas::Ellipse(int left, int top, int right, int bottom) {
  const int64_t w = int64_t(right) - left, h = int64_t(bottom) - top;
  DrawShape(left, top, right, bottom, w < 0 ? -w : w, h < 0 ? -h : h);
}

// Rectangles, round rectangles and ellipses: each row of the shape is one span (the shapes are convex), the
// pen covers the pixels within the pen width of the shape's border and the brush the rest.
void Canvas::DrawShape(int left, int top, int right, int bottom, int64_t cornerWidth, int64_t cornerHeight) {
  if (empty()) return;
  const int64_t l = std::min(left, right), r = std::max(left, right);
  const int64_t t = std::min(top, bottom), b = std::max(top, bottom);
  if (l == r || t == b) return;
  const RoundBox box(l, t, r, b, cornerWidth, cornerHeight);
  const int64_t pw = pen_.visible ? ClampPenWidth(pen_.width) : 0;
  const uint32_t penPixel = ToPixel(pen_.colour), brushPixel = ToPixel(brush_.colour);

  for (int64_t y = std::max<int64_t>(t, 0); y < std::min<int64_t>(b, height_); ++y) {
    const Span s = box.Row(y);
    if (s.first > s.last) continue;
    Span inner = s;
    if (pw > 0) {
      const Span above = box.Row(y - pw), below = box.Row(y + pw);
      inner.first = std::max({s.first + pw, above.first, below.first});
      inner.last = std::min({s.last - pw, above.last, below.last});
      if (above.first > above.last || below.first > below.last) inner = {1, 0};
    }
    if (inner.first > inner.last) {
      if (pw > 0) FillSpan(y, s.first, s.last, penPixel);
      else if (brush_.visible) FillSpan(y, s.first, s.last, brushPixel);
      continue;
    }
    if (brush_.visible) FillSpan(y, inner.first, inner.last, brushPixel);
    if (pw > 0) {
      FillSpan(y, s.first, inner.first - 1, penPixel);
      FillSpan(y, inner.last + 1, s.last, penPixel);
    }
  }
}

void Canvas::BitBlt(int x, int y, int w, int h, const Canvas& src, int srcX, int srcY, RasterOp op) {
  int64_t dx = x, dy = y, sx = srcX, sy = srcY, cw = w, ch = h;
  if (cw <= 0 || ch <= 0) return;
  // Clip to the source, then to the destination, moving both corners together.
  if (sx < 0) { dx -= sx; cw += sx; sx = 0; }
  if (sy < 0) { dy -= sy; ch += sy; sy = 0; }
  if (dx < 0) { sx -= dx; cw += dx; dx = 0; }
  if (dy < 0) { sy -= dy; ch += dy; dy = 0; }
  cw = std::min({cw, int64_t(src.width_) - sx, int64_t(width_) - dx});
  ch = std::min({ch, int64_t(src.height_) - sy, int64_t(height_) - dy});
  if (cw <= 0 || ch <= 0) return;

  // Moving down, the bottom rows must be read before they are overwritten.
  const bool bottomUp = (&src == this) && dy > sy;
  for (int64_t i = 0; i < ch; ++i) {
    const int64_t r = bottomUp ? ch - 1 - i : i;
    uint32_t* d = row(int(dy + r)) + dx;
    const uint32_t* s = src.row(int(sy + r)) + sx;
    if (op == RasterOp::Copy) {
      std::memmove(d, s, std::size_t(cw) * 4);
    } else if (d > s) {
      for (int64_t c = cw - 1; c >= 0; --c) d[c] &= s[c];
    } else {
      for (int64_t c = 0; c < cw; ++c) d[c] &= s[c];
    }
  }
}

}  // namespace obrix
