#pragma once
// The colour scale pane (142 x 296): the map's colour ramp in one column with five value labels.
#include <array>
#include <functional>
#include <string>

namespace obrix {

class Canvas;

inline constexpr int kColourBarPaneWidth = 142;
inline constexpr int kColourBarPaneHeight = 296;
inline constexpr int kColourBarPaneX = 40;
inline constexpr int kColourBarPaneY = 25;

struct ColourBarGeometry {
  int boxes;        // N = ColourCount + 1
  int boxHeight;    // a = 280 / N
  int columnHeight; // T = a x N
  int top;          // Y0 = (306 - T) / 2
  int left = 75;    // X
  int width = 20;
};
ColourBarGeometry ColourBarLayout();

struct ColourBarLabel {
  int x, y;
  std::string text;  // "%.2f"
};
// The five labels of the current colour scale, bottom (minimum) first.
std::array<ColourBarLabel, 5> ColourBarLabels();

// Draws the text of one label with the top of its cell at (x, y), transparent background.
using LabelPainter = std::function<void(Canvas&, const ColourBarLabel&)>;

// Frame, ticks, the boxes (colour 0 at the bottom) and the labels through `label` (none when empty).
void PaintColourBar(Canvas& dc, const LabelPainter& label);

}  // namespace obrix
