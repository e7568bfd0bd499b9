#include "export/survey_frame.h"

#include <cmath>

#include "export/utm_geo.h"
#include "gps/length_units.h"
#include "gps/projection.h"

namespace obrix {
namespace {

constexpr double kSouthFalseNorthing = 10000000.0;

bool Place(const SurveyFrame& f, bool geographic, int zone, bool north, int mapUnits, double easting,
           double northing, double& x, double& y) {
  if (!f.set || geographic != f.geographic) return false;
  if (!geographic) {
    if (mapUnits != f.mapUnits) return false;
    x = easting;
    y = northing;
    return std::isfinite(x) && std::isfinite(y);
  }
  x = LengthUnitToMetres(easting, mapUnits);
  y = LengthUnitToMetres(northing, mapUnits);
  if (zone != f.zone || north != f.north) {
    double lat = 0.0, lon = 0.0;
    if (!UtmToGeo(zone, north, x, y, lat, lon)) return false;
    int z = f.zone;
    const UtmCoordinates u = GeoToUtm(lat, lon, z, 1);
    x = u.easting;
    y = u.northing + (f.north ? 0.0 : kSouthFalseNorthing) - (lat >= 0.0 ? 0.0 : kSouthFalseNorthing);
  }
  return std::isfinite(x) && std::isfinite(y);
}

}  // namespace

void SetFrame(SurveyFrame& frame, bool geographic, int zone, bool north, int mapUnits) {
  if (frame.set) return;
  frame.set = true;
  frame.geographic = geographic;
  frame.zone = geographic ? zone : 0;
  frame.north = north;
  frame.mapUnits = mapUnits;
}

bool FramePosition(const SurveyFrame& frame, const ExportRow& row, double& x, double& y) {
  if (!row.positioned) return false;
  return Place(frame, row.zone > 0, row.zone, row.north, row.mapUnits, row.easting, row.northing, x, y);
}

bool FramePosition(const SurveyFrame& frame, const ExportFix& fix, double& x, double& y) {
  return Place(frame, fix.geographic && fix.zone > 0, fix.zone, fix.north, fix.mapUnits, fix.easting, fix.northing,
               x, y);
}

}  // namespace obrix
