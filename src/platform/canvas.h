#pragma once
// A 32-bit RGB pixel buffer with device-context style drawing.
//
// Pixels are stored as 0xFFRRGGBB, row after row without padding, so a QImage of Format_RGB32 can wrap the
// buffer without a copy. Colours handed to the drawing calls are `Colour` values (red in the low byte).
//
// Pixel rules:
// - A line covers the pixels of a Bresenham walk from its first point, excluding its last point; where the exact
//   position lies halfway between two pixels the one nearer the start is taken. A zero-length 1-pixel line draws
//   nothing.
// - A pen wider than 1 pixel stamps a round footprint of its width (a w x w square with its corners rounded off)
//   at every point of the walk, the last point included (round end caps). A zero-length wide line draws one dot.
//   Even widths extend one pixel further up and left than down and right.
// - Rectangle, RoundRect and Ellipse cover their box with the right and bottom edges exclusive: the outline is
//   drawn with the pen inside the box (a wide pen grows inwards), the rest is filled with the brush. Boxes given
//   with their corners in either order are normalised. With the null pen the brush covers the whole shape.
// - Polygon fills the pixels whose centres lie inside the closed outline (even-odd rule, right and bottom edges
//   exclusive), then draws the closed outline with the pen, so every vertex is covered.
// - Everything is clipped to the buffer; any int coordinates are accepted (arithmetic is done in 64 bits and the
//   work is bounded by the buffer size, not by the length of a far-off line).
#include <cstddef>
#include <cstdint>
#include <vector>

namespace obrix {

using Colour = uint32_t;  // RGB, red in the low byte (the same type as in settings/settings.h)

// RGB(r, g, b) as a `Colour` (red in the low byte).
inline constexpr Colour Rgb(int r, int g, int b) {
  return Colour(r & 0xFF) | (Colour(g & 0xFF) << 8) | (Colour(b & 0xFF) << 16);
}
inline constexpr int RedOf(Colour c) { return int(c & 0xFF); }
inline constexpr int GreenOf(Colour c) { return int((c >> 8) & 0xFF); }
inline constexpr int BlueOf(Colour c) { return int((c >> 16) & 0xFF); }

// Buffer pixel (0xFFRRGGBB) of a colour, and back.
inline constexpr uint32_t ToPixel(Colour c) {
  return 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}
inline constexpr Colour FromPixel(uint32_t p) {
  return ((p >> 16) & 0xFFu) | (p & 0xFF00u) | ((p & 0xFFu) << 16);
}

inline constexpr Colour kWhite = Rgb(255, 255, 255);
inline constexpr Colour kBlack = Rgb(0, 0, 0);
// What GetPixel answers outside the buffer.
inline constexpr Colour kInvalidColour = 0xFFFFFFFFu;

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;   // exclusive
  int bottom = 0;  // exclusive
  friend bool operator==(const Rect&, const Rect&) = default;
};

struct Pen {
  bool visible = true;  // false: the null pen, draws nothing
  int width = 1;        // pixels; below 1 counts as 1
  Colour colour = kBlack;
  friend bool operator==(const Pen&, const Pen&) = default;
};

struct Brush {
  bool visible = true;  // false: the hollow brush, fills nothing
  Colour colour = kWhite;
  friend bool operator==(const Brush&, const Brush&) = default;
};

inline constexpr Pen SolidPen(int width, Colour colour) { return Pen{true, width, colour}; }
inline constexpr Pen NullPen() { return Pen{false, 1, kBlack}; }
inline constexpr Brush SolidBrush(Colour colour) { return Brush{true, colour}; }
inline constexpr Brush HollowBrush() { return Brush{false, kWhite}; }

enum class RasterOp { Copy, And };

class Canvas {
 public:
  Canvas() = default;
  // Sides beyond kMaxSide are cut to it; negative sides count as 0.
  static constexpr int kMaxSide = 16384;
  // Pen widths are cut to 1..kMaxPenWidth.
  static constexpr int kMaxPenWidth = 64;

  Canvas(int width, int height, Colour fill = kWhite);

  // New size; the pixels are lost and filled with `fill`.
  void Resize(int width, int height, Colour fill = kWhite);
  // New size keeping the pixels of the overlapping top-left area; new pixels get `fill`.
  void ResizeKeep(int width, int height, Colour fill = kWhite);

  int width() const { return width_; }
  int height() const { return height_; }
  bool empty() const { return width_ == 0 || height_ == 0; }
  // The buffer may move after Resize, ResizeKeep and ShiftLeft.
  uint32_t* bits() { return pixels_.data() + origin_; }
  const uint32_t* bits() const { return pixels_.data() + origin_; }
  int bytesPerLine() const { return width_ * 4; }
  uint32_t* row(int y) { return bits() + std::size_t(y) * std::size_t(width_); }
  const uint32_t* row(int y) const { return bits() + std::size_t(y) * std::size_t(width_); }

  // Drawing state, as selected into a device context.
  void SelectPen(const Pen& pen) { pen_ = pen; }
  void SelectBrush(const Brush& brush) { brush_ = brush; }
  const Pen& pen() const { return pen_; }
  const Brush& brush() const { return brush_; }
  void MoveTo(int x, int y) { pos_ = {x, y}; }
  void MoveTo(Point p) { pos_ = p; }
  Point position() const { return pos_; }

  // Line from the current position to (x, y), which becomes the current position.
  void LineTo(int x, int y);
  void LineTo(Point p) { LineTo(p.x, p.y); }
  // Connected lines through the points with the current pen; the current position is not used or changed.
  void Polyline(const Point* points, std::size_t count);
  void Polyline(const std::vector<Point>& points) { Polyline(points.data(), points.size()); }
  // Closed outline with the current pen, filled with the current brush.
  void Polygon(const Point* points, std::size_t count);
  void Polygon(const std::vector<Point>& points) { Polygon(points.data(), points.size()); }

  void Rectangle(int left, int top, int right, int bottom);
  void Rectangle(const Rect& r) { Rectangle(r.left, r.top, r.right, r.bottom); }
  // Corners rounded by quarter ellipses of cornerWidth x cornerHeight.
  void RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight);
  void Ellipse(int left, int top, int right, int bottom);
  void Ellipse(const Rect& r) { Ellipse(r.left, r.top, r.right, r.bottom); }

  // Fills the rectangle (right/bottom exclusive, no outline); a hollow brush fills nothing.
  void FillRect(const Rect& r, const Brush& brush);
  void FillRect(const Rect& r, Colour colour) { FillRect(r, SolidBrush(colour)); }
  void Clear(Colour colour = kWhite);

  void SetPixel(int x, int y, Colour colour);
  Colour GetPixel(int x, int y) const;  // kInvalidColour outside the buffer

  // Copies (or ANDs) the w x h block of `src` at (srcX, srcY) to (x, y). Only pixels that exist in both
  // buffers are touched. `src` may be this canvas: overlapping blocks are handled like memmove.
  void BitBlt(int x, int y, int w, int h, const Canvas& src, int srcX, int srcY, RasterOp op = RasterOp::Copy);

  // Moves the whole picture `dx` columns left (0 < dx < width): column c then shows what column c + dx showed
  // and the last dx columns hold arbitrary pixels for the caller to draw. The pixels stay where they are and the
  // buffer's start moves on by dx; they are copied only when the room kept behind them runs out, so a strip
  // chart moving a few columns at a time costs no copy of its picture per step. Other dx: nothing happens.
  void ShiftLeft(int dx);

 private:
  void FillSpan(int64_t y, int64_t x0, int64_t x1, uint32_t pixel);  // inclusive x0..x1, clipped
  void Stamp(int64_t x, int64_t y, int width, uint32_t pixel);
  void DrawSegment(Point a, Point b);
  void DrawShape(int left, int top, int right, int bottom, int64_t cornerWidth, int64_t cornerHeight);

  int width_ = 0;
  int height_ = 0;
  std::vector<uint32_t> pixels_;  // the picture starts at origin_; ShiftLeft keeps room after it
  std::size_t origin_ = 0;
  Pen pen_;
  Brush brush_;
  Point pos_;
};

}  // namespace obrix
