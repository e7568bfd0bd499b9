#pragma once
// UTM metres back to WGS 84 latitude/longitude.
namespace obrix {

// false (and nothing set) for a zone outside 1..60 or a point the inverse projection refuses.
bool UtmToGeo(int zone, bool north, double easting, double northing, double& latitude, double& longitude);

}  // namespace obrix
