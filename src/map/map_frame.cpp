#include "map/map_frame.h"

#include <algorithm>
#include <cmath>

#include "gps/fix_state.h"
#include "map/map_view_state.h"

namespace obrix {
namespace {

MapFrame g_frame;

int64_t FloorDiv(int64_t a, int64_t b) {
  int64_t q = a / b;
  if ((a % b) != 0 && ((a < 0) != (b < 0))) --q;
  return q;
}
int64_t CeilDiv(int64_t a, int64_t b) { return -FloorDiv(-a, b); }

int ClampIndex(int64_t v) { return int(std::clamp<int64_t>(v, INT32_MIN / 2, INT32_MAX / 2)); }

}  // namespace

MapFrame& Frame() { return g_frame; }
void ResetFrameState() { g_frame = MapFrame{}; }

int PageWidth() { return MapPageWidthPx(); }
int PageHeight() { return MapPageWidthPx(); }

int WorldCoordinate(double fromOrigin, double pixelsPerUnit) {
  const double v = fromOrigin * pixelsPerUnit + 0.5;
  if (std::isnan(v)) return 0;
  return int(std::clamp(std::trunc(v), double(-kWorldPixelLimit), double(kWorldPixelLimit)));
}

Point WorldPixel(double easting, double northing) {
  const MapPoint& o = Fix().MapOrigin;
  const double ppu = MapState().PixelsPerUnit;
  return {WorldCoordinate(easting - o.easting, ppu), WorldCoordinate(northing - o.northing, ppu)};
}

EdgePx WorldToPixels(double e1, double n1, double e2, double n2) {
  return {WorldPixel(e1, n1), WorldPixel(e2, n2)};
}

PagePixel PixelToPage(int x, int y, int w, int h) {
  if (w <= 0 || h <= 0) return {1000, 1000, 0, 0};
  const int64_t col = 1000 + CeilDiv(x, w);
  const int64_t row = 1000 + FloorDiv(y, h);
  const Point local = PageLocal(x, y, ClampIndex(col), ClampIndex(row), w, h);
  return {ClampIndex(col), ClampIndex(row), local.x, local.y};
}

PagePixel PixelToPage(Point p) { return PixelToPage(p.x, p.y, PageWidth(), PageHeight()); }

Point PageLocal(int x, int y, int col, int row, int w, int h) {
  const int64_t lx = int64_t(x) - 1 - (int64_t(col) - 1001) * w;
  const int64_t ly = (int64_t(row) - 999) * h - 1 - int64_t(y);
  return {ClampIndex(lx), ClampIndex(ly)};
}

Point PageLocal(Point p, int col, int row) { return PageLocal(p.x, p.y, col, row, PageWidth(), PageHeight()); }

void WidenUsedPages(int col, int row) {
  PageRange& u = g_frame.UsedPages;
  u.colMin = std::min(u.colMin, col);
  u.colMax = std::max(u.colMax, col);
  u.rowMin = std::min(u.rowMin, row);
  u.rowMax = std::max(u.rowMax, row);
}

bool PageInUsed(const PageRange& used, int col, int row) {
  return col >= used.colMin && col <= used.colMax && row >= used.rowMin && row <= used.rowMax;
}

bool BeyondPageLimits(const PageRange& used, int low, int high) {
  return used.colMin < low || used.rowMin < low || used.colMax > high || used.rowMax > high;
}

}  // namespace obrix
