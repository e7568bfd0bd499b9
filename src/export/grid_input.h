#pragma once
// The readings to grid: positioned readings of the survey's channel in metres of the survey's UTM zone (map
// units of a local grid), and the grid laid over them, with defaults taken from the survey's own spacing.
#include <cstdint>
#include <string>
#include <vector>

#include "export/export_row.h"
#include "export/survey_frame.h"

namespace obrix {

struct GridPoints {
  std::vector<double> x, y, z;
  std::vector<double> path;  // distance along the sensor path to each point
};

struct GridInput {
  GridPoints points;         // of the chosen channel
  int channel = 0;           // 0..3: conductivity V/H, inphase V/H
  bool conductivity = true;
  bool geographic = false;   // UTM (else a local grid without a CRS)
  int zone = 0;
  bool north = true;
  int mapUnits = 0;          // of a local grid
  int64_t readings = 0;      // all readings seen
  int64_t positioned = 0;    // of them with a position in the grid's frame
};

// Collects rows; the channel with most positioned readings is kept. The first positioned reading fixes the
// frame: a geographic one its zone and hemisphere (readings of other zones are projected into it from their
// latitude and longitude), a local one the map units (geographic readings are then left out, and the reverse).
class GridCollector {
 public:
  void Add(const ExportRow& row);
  GridInput Take();

 private:
  SurveyFrame frame_;
  GridInput input_;
  GridPoints channels_[4];
  bool havePrevious_[4] = {};
};

enum class GridMethod { Idw, Nearest, Linear, Average };
// "idw", "nearest", "linear", "average"; false for anything else.
bool ParseGridMethod(const std::string& name, GridMethod& method);
const char* GridMethodName(GridMethod method);

struct SurveySpacing {
  double along = 0.0;  // median step between successive readings (0 when unknown)
  // Median spacing of the passes: the mean distance to the nearest reading of another pass on either side of a
  // reading (one side at the edge); 0 when unknown.
  double lines = 0.0;
};
SurveySpacing MeasureSpacing(const GridPoints& points);

// Defaults: the cell from the spacing along the lines, not finer than a quarter of the line spacing, rounded to
// the nearest of 1, 2, 2.5 or 5 times a power of ten; the radius one and a half line spacings (at least two cells).
double DefaultCell(const SurveySpacing& s);
double DefaultRadius(const SurveySpacing& s, double cell);

struct GridPlan {
  double cell = 0.0, radius = 0.0;
  GridMethod method = GridMethod::Idw;
  double west = 0.0, north = 0.0;  // outer corner of the top-left cell
  int columns = 0, rows = 0;
};
inline constexpr int64_t kMaxGridCells = 64ll * 1024 * 1024;

// The readings' extent plus one cell, on whole multiples of the cell; false (and why) for no points, a cell
// that is not a positive number or a grid of more than kMaxGridCells.
bool PlanGrid(const GridPoints& points, double cell, double radius, GridMethod method, GridPlan& plan,
              std::string& why);

}  // namespace obrix
