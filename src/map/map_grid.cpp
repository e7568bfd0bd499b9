#include "map/map_grid.h"

#include <cmath>

#include "map/map_frame.h"
#include "platform/canvas.h"
#include "settings/settings.h"

namespace obrix {
namespace {

GridParams g_grid;

int TruncHalf(double v) {
  const double t = std::trunc(v + 0.5);
  if (!(t > -1e9)) return -1000000000;
  if (!(t < 1e9)) return 1000000000;
  return int(t);
}

void DrawLine(Canvas& dc, int x0, int y0, int x1, int y1) {
  const Point points[2] = {{x0, y0}, {x1, y1}};
  dc.Polyline(points, 2);
}

}  // namespace

GridParams ComputeGrid(int gridStyle, double gridInterval, double linesAngleDeg, int pageWidth, int mapSize) {
  GridParams g;
  if (gridStyle == 0) g.GridKind = 0;
  else if (linesAngleDeg > 0) g.GridKind = 1;
  else if (linesAngleDeg < 0) g.GridKind = -1;
  else g.GridKind = 2;
  g.LinesSlope = std::tan((90.0 - linesAngleDeg) * kMapPi / 180.0);
  const double unitPx = double(pageWidth) / double(mapSize < 1 ? 1 : mapSize);
  if (g.GridKind == 0 || g.GridKind == 2) {
    g.GridSpacingPx = std::fabs(gridInterval * unitPx);
  } else {
    g.GridSpacingPx = std::fabs(gridInterval / std::sin(linesAngleDeg * kMapPi / 180.0) * unitPx);
  }
  return g;
}

GridParams& Grid() { return g_grid; }

void UpdateGridSpacing() {
  const Settings& s = Config();
  g_grid = ComputeGrid(s.gridStyle, s.gridInterval, s.linesAngleDeg, PageWidth(), s.mapSize);
}

int DrawPageGridLines(Canvas& dc, int col, int row, int w, int h, const GridParams& grid, const Pen& pen) {
  const double s = grid.GridSpacingPx;
  if (!(s > 0) || !std::isfinite(s) || w <= 0 || h <= 0) return 0;
  dc.SelectPen(pen);
  const double L = (double(col) - 1001) * w + 1, R = L + w - 1;
  const double B = (double(row) - 1000) * h, T = B + h - 1;
  int lines = 0;

  if (grid.GridKind == 0 || grid.GridKind == 2) {
    const double k0 = std::ceil(L / s);
    for (int n = 0; n < kMaxGridLines && (k0 + n) * s <= R; ++n) {
      const int x = TruncHalf((k0 + n) * s - L);
      DrawLine(dc, x, -5, x, h + 5);
      ++lines;
    }
    if (grid.GridKind == 2) return lines;
    const double j0 = std::ceil(B / s);
    for (int n = 0; n < kMaxGridLines && (j0 + n) * s <= T; ++n) {
      const int y = TruncHalf(T - (j0 + n) * s);
      DrawLine(dc, -5, y, w + 5, y);
      ++lines;
    }
    return lines;
  }

  // Slanted lines Y = slope * X + k * s, drawn from world X = L - 5 to R + 5.
  const double m = grid.LinesSlope;
  const double xl = L - 5, xr = R + 5;
  // The same row rule as the horizontal lines and the track: world Y shows at local row T - Y.
  const auto rowOf = [&](double yWorld) { return TruncHalf(T - yWorld); };
  const auto drawLine = [&](double k, int& lower, int& upper) {
    const int yl = rowOf(m * xl + k * s), yr = rowOf(m * xr + k * s);
    DrawLine(dc, -5, yl, w + 4, yr);
    lower = yl > yr ? yl : yr;  // the lower end has the larger row
    upper = yl < yr ? yl : yr;
    ++lines;
  };
  // Start at the line whose left end is nearest the bottom (angle > 0) or the top (angle < 0) of the page.
  const double start = std::round(((grid.GridKind > 0 ? B : T) - m * xl) / s);
  if (!std::isfinite(start) || std::fabs(start) > 1e12) return 0;
  int lower = 0, upper = 0;
  for (int n = 0; n < kMaxGridLines; ++n) {  // upwards until the whole line lies above the page
    drawLine(start + n, lower, upper);
    if (lower < 0) break;
  }
  for (int n = 1; n <= kMaxGridLines; ++n) {  // downwards until the whole line lies below it
    drawLine(start - n, lower, upper);
    if (upper > h - 1) break;
  }
  return lines;
}

}  // namespace obrix
