#pragma once
// Drawing into one layer of one page with the pixel rules of Canvas. Each primitive is drawn on a scratch canvas
// that covers only its bounding box (clipped to the page) and what it inked is stored as palette indexes. On a
// track layer white ink is stored as no ink (the two look the same once the layers are combined).
#include <functional>
#include <initializer_list>
#include <span>
#include <vector>

#include "map/page_store.h"
#include "platform/canvas.h"

namespace obrix {

class MapPalette;

// A line in page-local pixels with its pen.
struct PageLine {
  Point a, b;
  Pen pen;
};

class PagePainter {
 public:
  PagePainter(PageStore& store, MapPalette& palette, int col, int row, MapLayer layer)
      : store_(store), palette_(palette), col_(col), row_(row), layer_(layer) {}

  // A line from a to b in page-local pixels (the last point excluded for 1-pixel pens).
  void Line(Point a, Point b, const Pen& pen);
  // Lines drawn in order on one scratch canvas: the same pixels as one Line call each.
  void Lines(std::span<const PageLine> lines);
  // The box a line may ink (its ends widened by the pen), for grouping lines.
  static Rect LineBox(Point a, Point b, const Pen& pen);
  // The ellipse filling `box` (right and bottom exclusive) with its outline.
  void Ellipse(const Rect& box, const Pen& pen, const Brush& brush);
  // Anything else: `draw` paints on a canvas whose pixel (0, 0) is page pixel (origin.x, origin.y) and which
  // covers `box`; `colours` lists every colour it may use.
  void Paint(const Rect& box, std::initializer_list<Colour> colours,
             const std::function<void(Canvas& dc, Point origin)>& draw);
  void Paint(const Rect& box, std::span<const Colour> colours,
             const std::function<void(Canvas& dc, Point origin)>& draw);

 private:
  PageStore& store_;
  MapPalette& palette_;
  int col_, row_;
  MapLayer layer_;
};

// Lines for the track layers gathered page by page and drawn with one scratch canvas per page and group,
// keeping their order within each page: the pixels of drawing them one by one, for much less work. Everything
// is drawn by Flush or at destruction.
class TrackLineBatch {
 public:
  TrackLineBatch() = default;
  TrackLineBatch(const TrackLineBatch&) = delete;
  TrackLineBatch& operator=(const TrackLineBatch&) = delete;
  ~TrackLineBatch() { Flush(); }

  void Add(int col, int row, Point a, Point b, const Pen& pen);
  void Flush();

 private:
  struct Group {
    int col = 0, row = 0;
    Rect box;
    std::vector<PageLine> lines;
  };
  void Draw(Group& g);
  std::vector<Group> groups_;
};

}  // namespace obrix
