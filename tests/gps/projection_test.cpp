#include "gps/projection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>

#ifdef OBRIX_HAVE_GEOGRAPHICLIB
#include <GeographicLib/TransverseMercator.hpp>
#endif

namespace obrix {
namespace {

TEST(Projection, Constants) {
  InitProjection();
  const ProjectionConstants& p = Projection();
  EXPECT_DOUBLE_EQ(p.b, 297.257223563 * 6378137.0 / 298.257223563);
  EXPECT_NEAR(p.e2, 0.00669437999014, 1e-14);
  EXPECT_NEAR(p.ep2, 0.00673949674228, 1e-14);
  EXPECT_NEAR(p.n, 0.00167922038638, 1e-14);
  EXPECT_NEAR(p.A, 6367449.14577, 1e-4);  // the meridian arc per radian
}

TEST(GeoToUtm, ZoneRule) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    double longitude;
    int zone;
  } cases[] = {
      {-79.61, 17}, {180.0, 60}, {-180.0, 1}, {0.0, 31},   {-0.0001, 30}, {5.999, 31},
      {6.0, 32},    {179.9, 60}, {-200.0, 1}, {1e300, 60}, {-1e300, 1},   {nan, 1},
  };
  for (const Case& c : cases) {
    int zone = -9;
    GeoToUtm(10.0, c.longitude, zone, 0);
    EXPECT_EQ(zone, c.zone) << c.longitude;
  }
  int zone = 17;
  GeoToUtm(10.0, 100.0, zone, 1);  // a fixed zone is kept
  EXPECT_EQ(zone, 17);
}

TEST(GeoToUtm, CentralMeridianAndFalseNorthing) {
  int zone = 17;
  UtmCoordinates cm = GeoToUtm(43.6, -81.0, zone, 1);
  EXPECT_EQ(cm.easting, 500000.0);
  zone = 0;
  EXPECT_EQ(GeoToUtm(0.0, 3.0, zone, 0).northing, 0.0);
  EXPECT_EQ(GeoToUtm(0.0, 3.0, zone, 0).easting, 500000.0);
  const double south = GeoToUtm(-0.0001, 3.0, zone, 0).northing;
  EXPECT_NEAR(south, 10000000.0 - 11.0574 * 0.9996, 1e-3);  // 0.0001 degree of arc, scaled
  EXPECT_GT(GeoToUtm(0.0001, 3.0, zone, 0).northing, 0.0);
  EXPECT_LT(GeoToUtm(0.0001, 3.0, zone, 0).northing, 12.0);
}

TEST(GeoToUtm, LiveZoneStaysFixed) {
  ResetUtmZones();
  UtmCoordinates first = ProjectLiveFix(43.61, -79.61);
  EXPECT_EQ(UtmZones().UtmZone, 17);
  EXPECT_EQ(UtmZones().UtmZoneInUse, 17);
  EXPECT_EQ(UtmZones().ZoneFixLatitude, 43.61);
  EXPECT_EQ(UtmZones().ZoneFixLongitude, -79.61);
  // Zone 18 territory, still projected in zone 17: east of the zone's central meridian by 3.1 degrees.
  UtmCoordinates later = ProjectLiveFix(43.62, -77.9);
  int zone17 = 17;
  UtmCoordinates in17 = GeoToUtm(43.62, -77.9, zone17, 1);
  EXPECT_EQ(later.easting, in17.easting);
  EXPECT_EQ(later.northing, in17.northing);
  EXPECT_GT(later.easting, first.easting + 100000.0);
  EXPECT_EQ(UtmZones().UtmZone, 17);
  EXPECT_EQ(UtmZones().ZoneFixLongitude, -79.61);

  // A zone set from an appended data file is used as it stands.
  UtmZones().UtmZone = 18;
  int zone18 = 18;
  EXPECT_EQ(ProjectLiveFix(43.62, -77.9).easting, GeoToUtm(43.62, -77.9, zone18, 1).easting);
  EXPECT_EQ(UtmZones().UtmZoneInUse, 17);
  ResetUtmZones();
  EXPECT_EQ(UtmZones().UtmZone, -9);
  EXPECT_EQ(UtmZones().UtmZoneInUse, -9);
}

#ifdef OBRIX_HAVE_GEOGRAPHICLIB
// Largest distance (mm) between the series and the exact transverse Mercator over a grid of the zone.
double LargestDifferenceMm(double maxDeltaDeg, double minDeltaDeg, double* atLat, double* atDelta) {
  const GeographicLib::TransverseMercator& tm = GeographicLib::TransverseMercator::UTM();
  double worst = 0.0;
  for (double lat = -80.0; lat <= 84.0; lat += 0.5) {
    for (double d = -maxDeltaDeg; d <= maxDeltaDeg + 1e-9; d += 0.125) {
      if (std::fabs(d) < minDeltaDeg) continue;
      int zone = 31;
      UtmCoordinates ours = GeoToUtm(lat, 3.0 + d, zone, 1);
      double x = 0, y = 0;
      tm.Forward(3.0, lat, 3.0 + d, x, y);
      const double dn = ours.northing - (lat < 0 ? y + 10000000.0 : y);
      const double de = ours.easting - (x + 500000.0);
      const double mm = std::hypot(dn, de) * 1000.0;
      if (mm > worst) {
        worst = mm;
        *atLat = lat;
        *atDelta = d;
      }
    }
  }
  return worst;
}

TEST(GeoToUtm, AgreesWithExactTransverseMercator) {
  double lat = 0, delta = 0;
  const double inside = LargestDifferenceMm(3.0, 0.0, &lat, &delta);
  std::printf("GeoToUtm: largest difference within 3 degrees of the central meridian %.3f mm (lat %.1f, dlon %.3f)\n",
              inside, lat, delta);
  EXPECT_LT(inside, 0.01);
  const double beyond = LargestDifferenceMm(4.5, 3.0, &lat, &delta);
  std::printf("GeoToUtm: largest difference 3 to 4.5 degrees from the central meridian %.3f mm (lat %.1f, dlon %.3f)\n",
              beyond, lat, delta);
  EXPECT_LT(beyond, 0.2);
}
#endif

}  // namespace
}  // namespace obrix
