#pragma once
// Drawing into one layer of one page with the pixel rules of Canvas. Each primitive is drawn on a scratch canvas
// that covers only its bounding box (clipped to the page) and what it inked is stored as palette indexes. On a
// track layer white ink is stored as no ink (the two look the same once the layers are combined).
#include <functional>
#include <initializer_list>

#include "map/page_store.h"
#include "platform/canvas.h"

namespace obrix {

class MapPalette;

class PagePainter {
 public:
  PagePainter(PageStore& store, MapPalette& palette, int col, int row, MapLayer layer)
      : store_(store), palette_(palette), col_(col), row_(row), layer_(layer) {}

  // A line from a to b in page-local pixels (the last point excluded for 1-pixel pens).
  void Line(Point a, Point b, const Pen& pen);
  // The ellipse filling `box` (right and bottom exclusive) with its outline.
  void Ellipse(const Rect& box, const Pen& pen, const Brush& brush);
  // Anything else: `draw` paints on a canvas whose pixel (0, 0) is page pixel (origin.x, origin.y) and which
  // covers `box`; `colours` lists every colour it may use.
  void Paint(const Rect& box, std::initializer_list<Colour> colours,
             const std::function<void(Canvas& dc, Point origin)>& draw);

 private:
  PageStore& store_;
  MapPalette& palette_;
  int col_, row_;
  MapLayer layer_;
};

}  // namespace obrix
