#pragma once
// The grid of a survey through GDAL's gridding (inverse distance, nearest, linear, moving average), written as a
// north-up, pixel-is-area GeoTIFF in the survey's UTM zone: one Float32 band of values with a declared nodata,
// or RGBA colours of the map's scale.
#include <cstdint>
#include <string>
#include <vector>

#include "export/grid_input.h"
#include "state/colour_scale.h"

namespace obrix {

struct GridRaster {
  static constexpr float kNoData = -9999.0f;
  GridPlan plan;
  std::vector<float> values;  // plan.rows x plan.columns, the first row at the north edge
  int64_t filled = 0;         // cells with a value
  float min = 0.0f, max = 0.0f;  // of the values (0 when none)
};

// Cells with no reading within the radius stay kNoData. False (and why) when GDAL fails.
bool GridSurvey(const GridInput& input, const GridPlan& plan, GridRaster& raster, std::string& why);

// "conductivity (mS/m)" or "inphase (ppt)" with the dipole.
std::string ChannelText(const GridInput& input);

// The value GeoTIFF; false (and why, the file removed) on failure.
bool WriteGridTiff(const std::string& path, const GridRaster& raster, const GridInput& input, std::string& why);
// The RGBA GeoTIFF coloured with `scale`.
bool WriteColourTiff(const std::string& path, const GridRaster& raster, const GridInput& input,
                     const ColourScale& scale, std::string& why);

}  // namespace obrix
