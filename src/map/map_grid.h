#pragma once
// The grid of the map pages: a basic grid or parallel guide lines at an angle, computed per page from world
// pixels so that lines continue across page edges.
namespace obrix {

class Canvas;
struct Pen;
struct Settings;

inline constexpr double kMapPi = 3.14159265359;
inline constexpr int kMaxGridLines = 10000;  // per family and page

struct GridParams {
  int GridKind = 0;          // 0 basic grid, 2 north-south guide lines, 1 / -1 slanted lines (angle > 0 / < 0)
  double LinesSlope = 0.0;   // tan((90 - angle) pi / 180)
  double GridSpacingPx = 0;  // distance between neighbouring lines (vertical distance for slanted lines)
};

GridParams ComputeGrid(int gridStyle, double gridInterval, double linesAngleDeg, int pageWidth, int mapSize);

// The grid of the settings and the current page size (UpdateGridSpacing stores it).
GridParams& Grid();
void UpdateGridSpacing();

// Draws the lines of page (col, row) in page-local pixels onto `dc` (the page's W x H image) with `pen`.
// Returns the number of lines drawn.
int DrawPageGridLines(Canvas& dc, int col, int row, int w, int h, const GridParams& grid, const Pen& pen);

}  // namespace obrix
