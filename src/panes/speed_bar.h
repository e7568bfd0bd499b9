#pragma once
// The speed bar under the map: a horizontal bar filled from the left with the GPS speed.

namespace obrix {

class Canvas;

// Fills the bar, then paints its right `emptyWidth` pixels white (cut to 0..SpeedBarWidth).
void DrawSpeedBar(Canvas& dc, int emptyWidth);
// Paint of the speed bar: empty until the next fix.
void PaintSpeedBarPane(Canvas& dc);

}  // namespace obrix
