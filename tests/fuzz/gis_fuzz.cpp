// Arbitrary bytes as a survey data file into the GIS writers: the GeoPackage of readings and track, and the grid
// with its defaults and each method into value and colour GeoTIFFs (all in GDAL's memory files). Nothing may
// crash; a grid that is written holds its planned cells, with values only where they are finite.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

#include <cpl_vsi.h>

#include "export/grid_input.h"
#include "export/survey_export.h"
#include "gis/geopackage_writer.h"
#include "gis/survey_grid.h"

using namespace obrix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const int fd = memfd_create("survey", 0);
  if (fd < 0) return 0;
  if (write(fd, data, size) != ssize_t(size)) {
    close(fd);
    return 0;
  }
  const std::string gpkg = "/vsimem/fuzz.gpkg", tif = "/vsimem/fuzz.tif";
  ExportOptions options;
  options.lagMs = size > 0 ? data[0] * 10 : 0;
  {
    GeoPackageWriter writer(gpkg);
    ExportSurvey(fd, writer, options);
  }
  VSIUnlink(gpkg.c_str());

  GridCollector collector;
  ExportSurvey(fd, [&collector](const ExportRow& r) { collector.Add(r); }, options);
  close(fd);
  const GridInput in = collector.Take();
  if (in.positioned > static_cast<int64_t>(in.points.x.size())) __builtin_trap();
  const SurveySpacing spacing = MeasureSpacing(in.points);
  if (!(spacing.along >= 0) || !(spacing.lines >= 0)) __builtin_trap();
  const double cell = DefaultCell(spacing);
  const double radius = DefaultRadius(spacing, cell);
  if (!(cell > 0) || !(radius > 0)) __builtin_trap();
  for (GridMethod m : {GridMethod::Idw, GridMethod::Nearest, GridMethod::Linear, GridMethod::Average}) {
    GridPlan plan;
    std::string why;
    if (!PlanGrid(in.points, cell, radius, m, plan, why)) break;
    if (static_cast<int64_t>(plan.columns) * plan.rows > 100000) break;  // keep runs quick
    GridRaster raster;
    if (!GridSurvey(in, plan, raster, why)) continue;
    if (raster.values.size() != static_cast<size_t>(plan.columns) * static_cast<size_t>(plan.rows)) __builtin_trap();
    for (float v : raster.values)
      if (!std::isfinite(v)) __builtin_trap();
    if (WriteGridTiff(tif, raster, in, why)) VSIUnlink(tif.c_str());
    if (WriteColourTiff(tif, raster, in, ColourScale{0, 100}, why)) VSIUnlink(tif.c_str());
  }
  return 0;
}
