#pragma once
// The coordinate frame of the map: world pixels counted from the map origin, pages of the page size (W x H, the
// map pane side less 2) indexed 0..1999 with the origin page (1000, 1000), the live and review views, the view
// bounds and the used pages (window thread only).
#include <cstdint>

#include "platform/canvas.h"

namespace obrix {

inline constexpr int kPageLimitLow = 3;
inline constexpr int kPageLimitHigh = 1996;

// The 2 x 2 block shown in the pane: page (pageCol, pageRow) is its top-left page, drawn at pane pixel
// (-offsetX, -offsetY).
struct MapView {
  int pageCol = 1000;
  int pageRow = 1000;
  int offsetX = 0;
  int offsetY = 0;
  friend bool operator==(const MapView&, const MapView&) = default;
};

struct PageRange {
  int colMin = 1000, colMax = 1000, rowMin = 1000, rowMax = 1000;
  friend bool operator==(const PageRange&, const PageRange&) = default;
};

// World-pixel rectangle of the live view; world pixel (X, Y) shows at pane pixel (X - minX, maxY - Y - 1).
struct ViewRect {
  int minX = 0, maxX = 0, minY = 0, maxY = 0;
  friend bool operator==(const ViewRect&, const ViewRect&) = default;
};

// A page and a page-local pixel (x grows right, y grows down).
struct PagePixel {
  int col = 0, row = 0, x = 0, y = 0;
  friend bool operator==(const PagePixel&, const PagePixel&) = default;
};

// The two world-pixel ends of a swath edge (left, right).
struct EdgePx {
  Point left, right;
  friend bool operator==(const EdgePx&, const EdgePx&) = default;
};

struct MapFrame {
  int MapInitialised = 0;
  int RecentreAtNextFix = 0;
  MapView LiveView;
  MapView ReviewView;
  ViewRect ViewBounds;
  PageRange UsedPages;
  int PageLimitLow = kPageLimitLow;
  int PageLimitHigh = kPageLimitHigh;
  Point CursorPos;  // pane pixel of the current position
  Point LastFixPx;  // world pixel of the previous fix
};

MapFrame& Frame();
void ResetFrameState();

// Page size: W = H = map pane side - 2 (0 before the layout).
int PageWidth();
int PageHeight();

// World pixels are kept within +-kWorldPixelLimit, far beyond the last page, so sums of two never overflow.
inline constexpr int kWorldPixelLimit = 400000000;

// trunc(v * pixelsPerUnit + 0.5) for v = distance from the origin, bounded as above.
int WorldCoordinate(double fromOrigin, double pixelsPerUnit);
// World pixel of a map point with the current origin and scale.
Point WorldPixel(double easting, double northing);
// Both ends of a segment or swath edge at once.
EdgePx WorldToPixels(double e1, double n1, double e2, double n2);

// col = 1000 + ceil(X / W), row = 1000 + floor(Y / H) and the local pixel in that page.
PagePixel PixelToPage(int x, int y, int w, int h);
PagePixel PixelToPage(Point p);
// The local pixel of (X, Y) for any page (may lie outside it).
Point PageLocal(int x, int y, int col, int row, int w, int h);
Point PageLocal(Point p, int col, int row);

// Widens UsedPages to include the page.
void WidenUsedPages(int col, int row);
bool PageInUsed(const PageRange& used, int col, int row);
// True when any edge of the range lies beyond the page limits.
bool BeyondPageLimits(const PageRange& used, int low, int high);

}  // namespace obrix
