#include "gis/survey_grid.h"

#include <algorithm>
#include <cmath>
#include <unistd.h>

#include <gdal_alg.h>
#include <gdal_priv.h>

#include "export/grid_colours.h"
#include "gis/gdal_support.h"

namespace obrix {
namespace {

constexpr double kIdwPower = 2.0;
constexpr GUInt32 kIdwMaxPoints = 16, kIdwMaxPerQuadrant = 4;

// One GDAL gridding pass over the plan's cells into `out` (rows from the south edge as GDAL gives them).
bool Grid(GDALGridAlgorithm algorithm, const void* options, const GridInput& in, const GridPlan& plan,
          std::vector<float>& out, std::string& why) {
  GdalMessages messages;
  out.assign(static_cast<size_t>(plan.columns) * static_cast<size_t>(plan.rows), GridRaster::kNoData);
  const double south = plan.north - plan.rows * plan.cell, east = plan.west + plan.columns * plan.cell;
  const CPLErr e = GDALGridCreate(algorithm, options, static_cast<GUInt32>(in.points.x.size()), in.points.x.data(),
                                  in.points.y.data(), in.points.z.data(), plan.west, east, south, plan.north,
                                  static_cast<GUInt32>(plan.columns), static_cast<GUInt32>(plan.rows), GDT_Float32,
                                  out.data(), nullptr, nullptr);
  if (e != CE_None) {
    why = messages.Text("gridding failed");
    return false;
  }
  return true;
}

bool NearestWithin(const GridInput& in, const GridPlan& plan, std::vector<float>& out, std::string& why) {
  GDALGridNearestNeighborOptions o{};
  o.nSizeOfStructure = sizeof o;
  o.dfRadius1 = o.dfRadius2 = plan.radius;
  o.dfNoDataValue = GridRaster::kNoData;
  return Grid(GGA_NearestNeighbor, &o, in, plan, out, why);
}

// Removes the file a failed write left behind.
bool Failed(const std::string& path, std::string& why, const std::string& text) {
  why = text;
  ::unlink(path.c_str());
  return false;
}

GDALDataset* CreateTiff(const std::string& path, const GridRaster& r, const GridInput& in, int bands,
                        GDALDataType type, char** options, std::string& why) {
  InitGdal();
  GdalMessages messages;
  GDALDriver* driver = GetGDALDriverManager()->GetDriverByName("GTiff");
  if (!driver) {
    why = "GDAL has no GeoTIFF driver";
    return nullptr;
  }
  GDALDataset* ds = driver->Create(path.c_str(), r.plan.columns, r.plan.rows, bands, type, options);
  if (!ds) {
    why = messages.Text("cannot create " + path);
    return nullptr;
  }
  double transform[6] = {r.plan.west, r.plan.cell, 0.0, r.plan.north, 0.0, -r.plan.cell};
  ds->SetGeoTransform(transform);
  if (in.geographic) {
    OGRSpatialReference srs;
    if (!UtmSpatialReference(in.zone, in.north, srs) || ds->SetSpatialRef(&srs) != CE_None) {
      why = messages.Text("no spatial reference for EPSG:" + std::to_string(UtmEpsg(in.zone, in.north)));
      GDALClose(ds);
      return nullptr;
    }
  }
  ds->SetMetadataItem(GDALMD_AREA_OR_POINT, GDALMD_AOP_AREA);
  return ds;
}

bool Finish(GDALDataset* ds, const std::string& path, std::string& why) {
  GdalMessages messages;
  GDALClose(ds);
  if (messages.failed()) return Failed(path, why, messages.Text("cannot write " + path));
  return true;
}

}  // namespace

std::string ChannelText(const GridInput& in) {
  const char dipole = in.channel % 2 == 0 ? 'V' : 'H';
  return std::string(in.conductivity ? "conductivity (mS/m)" : "inphase (ppt)") + ", dipole " + dipole;
}

bool GridSurvey(const GridInput& in, const GridPlan& plan, GridRaster& raster, std::string& why) {
  InitGdal();
  raster = GridRaster();
  raster.plan = plan;
  std::vector<float> cells;
  bool done = false;
  switch (plan.method) {
    case GridMethod::Idw: {
      GDALGridInverseDistanceToAPowerNearestNeighborOptions o{};
      o.nSizeOfStructure = sizeof o;
      o.dfPower = kIdwPower;
      o.dfRadius = plan.radius;
      o.nMaxPoints = kIdwMaxPoints;
      o.nMinPoints = 1;
      o.nMaxPointsPerQuadrant = kIdwMaxPerQuadrant;
      o.dfNoDataValue = GridRaster::kNoData;
      done = Grid(GGA_InverseDistanceToAPowerNearestNeighbor, &o, in, plan, cells, why);
      break;
    }
    case GridMethod::Nearest:
      done = NearestWithin(in, plan, cells, why);
      break;
    case GridMethod::Average: {
      GDALGridMovingAverageOptions o{};
      o.nSizeOfStructure = sizeof o;
      o.dfRadius1 = o.dfRadius2 = plan.radius;
      o.nMinPoints = 1;
      o.dfNoDataValue = GridRaster::kNoData;
      done = Grid(GGA_MovingAverage, &o, in, plan, cells, why);
      break;
    }
    case GridMethod::Linear: {
      // Triangles also span unsurveyed ground: cells with no reading within the radius are emptied after.
      GDALGridLinearOptions o{};
      o.nSizeOfStructure = sizeof o;
      o.dfRadius = plan.radius;
      o.dfNoDataValue = GridRaster::kNoData;
      std::vector<float> near;
      done = Grid(GGA_Linear, &o, in, plan, cells, why) && NearestWithin(in, plan, near, why);
      if (done)
        for (size_t i = 0; i < cells.size(); ++i)
          if (near[i] == GridRaster::kNoData) cells[i] = GridRaster::kNoData;
      break;
    }
  }
  if (!done) return false;
  // GDAL's first row is the south edge; the raster is north up.
  const size_t columns = static_cast<size_t>(plan.columns), rows = static_cast<size_t>(plan.rows);
  raster.values.resize(cells.size());
  bool any = false;
  for (size_t r = 0; r < rows; ++r) {
    const float* from = &cells[(rows - 1 - r) * columns];
    float* to = &raster.values[r * columns];
    for (size_t c = 0; c < columns; ++c) {
      float v = from[c];
      if (!std::isfinite(v)) v = GridRaster::kNoData;
      to[c] = v;
      if (v == GridRaster::kNoData) continue;
      ++raster.filled;
      raster.min = any ? std::min(raster.min, v) : v;
      raster.max = any ? std::max(raster.max, v) : v;
      any = true;
    }
  }
  return true;
}

bool WriteGridTiff(const std::string& path, const GridRaster& r, const GridInput& in, std::string& why) {
  char* options[] = {const_cast<char*>("COMPRESS=DEFLATE"), const_cast<char*>("PREDICTOR=3"),
                     const_cast<char*>("TILED=YES"), nullptr};
  GDALDataset* ds = CreateTiff(path, r, in, 1, GDT_Float32, options, why);
  if (!ds) return Failed(path, why, why);
  GdalMessages messages;
  GDALRasterBand* band = ds->GetRasterBand(1);
  band->SetNoDataValue(GridRaster::kNoData);
  band->SetDescription(ChannelText(in).c_str());
  band->SetUnitType(in.conductivity ? "mS/m" : "ppt");
  const CPLErr e = band->RasterIO(GF_Write, 0, 0, r.plan.columns, r.plan.rows, const_cast<float*>(r.values.data()),
                                  r.plan.columns, r.plan.rows, GDT_Float32, 0, 0, nullptr);
  if (e != CE_None) {
    GDALClose(ds);
    return Failed(path, why, messages.Text("cannot write " + path));
  }
  return Finish(ds, path, why);
}

bool WriteColourTiff(const std::string& path, const GridRaster& r, const GridInput& in, const ColourScale& scale,
                     std::string& why) {
  char* options[] = {const_cast<char*>("COMPRESS=DEFLATE"), const_cast<char*>("PHOTOMETRIC=RGB"),
                     const_cast<char*>("ALPHA=YES"), const_cast<char*>("TILED=YES"), nullptr};
  GDALDataset* ds = CreateTiff(path, r, in, 4, GDT_Byte, options, why);
  if (!ds) return Failed(path, why, why);
  GdalMessages messages;
  std::vector<uint8_t> rgba;
  ColourCells(r.values, GridRaster::kNoData, scale, rgba);
  int bands[4] = {1, 2, 3, 4};
  const CPLErr e = ds->RasterIO(GF_Write, 0, 0, r.plan.columns, r.plan.rows, rgba.data(), r.plan.columns, r.plan.rows,
                                GDT_Byte, 4, bands, 4, 4 * static_cast<GSpacing>(r.plan.columns), 1, nullptr);
  if (e != CE_None) {
    GDALClose(ds);
    return Failed(path, why, messages.Text("cannot write " + path));
  }
  return Finish(ds, path, why);
}

}  // namespace obrix
