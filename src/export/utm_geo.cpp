#include "export/utm_geo.h"

#include <cmath>

#include <GeographicLib/UTMUPS.hpp>

namespace obrix {

bool UtmToGeo(int zone, bool north, double easting, double northing, double& latitude, double& longitude) {
  if (zone < 1 || zone > 60 || !std::isfinite(easting) || !std::isfinite(northing)) return false;
  try {
    double lat = 0.0, lon = 0.0;
    GeographicLib::UTMUPS::Reverse(zone, north, easting, northing, lat, lon);
    if (!std::isfinite(lat) || !std::isfinite(lon)) return false;
    latitude = lat;
    longitude = lon;
    return true;
  } catch (const std::exception&) {
    return false;  // outside the range of the projection
  }
}

}  // namespace obrix
