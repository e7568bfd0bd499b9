#pragma once
// Dialog units: template sizes in pixels of a dialog font.
#include <QFont>
#include <QRect>
#include <QSize>

namespace obrix {

// Points to pixels at 96 dpi (12 pt = 16 px), rounded.
int PointsToPixels(double points);

// A font of `family` at `points` points, sized in pixels.
QFont DialogFont(const char* family, double points);

// 1 horizontal unit = average character width / 4, 1 vertical unit = character height / 8.
struct DialogUnits {
  int charWidth = 4;   // average width of the letters A..Z, a..z, rounded
  int charHeight = 8;
  int X(int units) const { return (units * charWidth + 2) / 4; }
  int Y(int units) const { return (units * charHeight + 4) / 8; }
  QSize Size(int w, int h) const { return {X(w), Y(h)}; }
  QRect Rect(int x, int y, int w, int h) const { return {X(x), Y(y), X(w), Y(h)}; }
};
DialogUnits UnitsOf(const QFont& font);

}  // namespace obrix
