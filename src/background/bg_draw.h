#pragma once
// Drawing of background points and lines into the base layers of the map pages: symbols with their labels,
// vertex marks and segments, each drawn in every page it reaches at the same world pixels.
#include <functional>
#include <string_view>

#include "platform/canvas.h"

namespace obrix {

inline constexpr Colour kBgColour = Rgb(32, 32, 32);
inline constexpr int BgSymbolBase = 1;

enum class BgShape { Circle, Square, Triangle, Line };

struct BgStyle {
  BgShape shape = BgShape::Circle;
  int half = 1;         // symbol half-size h
  int labelOffset = 1;  // label x = x + labelOffset
  int penWidth = 1;
};
// The style table for positions styles 0..11 (others give style 0).
BgStyle BgStyleOf(int positionsStyle);
inline bool BgStyleIsLine(int positionsStyle) { return positionsStyle >= 9 && positionsStyle <= 11; }
// BgPen1..3 by width, BgBrush.
Pen BgPen(int width);
inline constexpr Brush BgBrush() { return SolidBrush(kBgColour); }

// Label text through the screen's small font (the core has no fonts): the size of a text, and its drawing with
// the top-left corner at `at` on a canvas, in kBgColour, transparent, without smoothing.
struct BgLabelHooks {
  std::function<Point(std::string_view text)> measure;  // width and height in pixels
  std::function<void(Canvas& dc, Point at, std::string_view text)> draw;
};
BgLabelHooks& BgLabels();

// A symbol of `positionsStyle` (0..8) at a world pixel, and its label when not empty.
void DrawBgSymbol(Point world, int positionsStyle, std::string_view label);
// The vertex mark of a line: a filled circle of box x - 2 .. x + 2 with `pen`.
void DrawBgVertex(Point world, const Pen& pen);
// The segment between two world pixels in every page it passes through.
void DrawBgSegment(Point a, Point b, const Pen& pen);

}  // namespace obrix
