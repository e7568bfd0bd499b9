#include "gps/projection.h"

#include <cmath>

namespace obrix {
namespace {

ProjectionConstants Compute() {
  ProjectionConstants p;
  p.b = p.a * (p.inverseFlattening - 1.0) / p.inverseFlattening;
  const double a2 = p.a * p.a, b2 = p.b * p.b;
  p.e2 = (a2 - b2) / a2;
  p.ep2 = (a2 - b2) / b2;
  const double n = (p.a - p.b) / (p.a + p.b);
  p.n = n;
  const double n2 = std::pow(n, 2), n3 = std::pow(n, 3), n4 = std::pow(n, 4), n5 = std::pow(n, 5);
  p.A = p.a * (1.0 - n + 5.0 / 4.0 * (n2 - n3) + 81.0 / 64.0 * (n4 - n5));
  p.B = 3.0 * p.a / 2.0 * (n - n2 + 7.0 / 8.0 * (n3 - n4) + 55.0 / 64.0 * n5);
  p.C = 15.0 * p.a / 16.0 * (n2 - n3 + 3.0 / 4.0 * (n4 - n5));
  p.D = 35.0 * p.a / 48.0 * (n3 - n4 + 11.0 / 16.0 * n5);
  p.E = 315.0 * p.a / 512.0 * (n4 - n5);
  return p;
}

const ProjectionConstants& Constants() {
  static const ProjectionConstants p = Compute();
  return p;
}

int ZoneOf(double longitude) {
  double z = std::floor(longitude / 6.0) + 31.0;
  if (z > 60.0) return 60;
  if (!(z >= 1.0)) return 1;  // also NaN
  return static_cast<int>(z);
}

UtmZoneState g_zones;

}  // namespace

void InitProjection() { (void)Constants(); }

const ProjectionConstants& Projection() { return Constants(); }

UtmCoordinates GeoToUtm(double latitude, double longitude, int& zone, int fixedZone) {
  using std::pow;
  const ProjectionConstants& p = Constants();
  const double phi = latitude * p.degToRad;
  const double lambda = longitude * p.degToRad;
  if (fixedZone == 0) zone = ZoneOf(longitude);
  const double lambda0 = (6.0 * zone - 183.0) * p.degToRad;
  const double dl = lambda - lambda0;

  const double s = std::sin(phi), c = std::cos(phi), t = s / c;
  const double eta2 = p.ep2 * pow(c, 2);
  const double nu = p.a / std::sqrt(1.0 - p.e2 * pow(s, 2));
  const double t2 = pow(t, 2), t4 = pow(t, 4), t6 = pow(t, 6);
  const double eta4 = pow(eta2, 2), eta6 = pow(eta2, 3), eta8 = pow(eta2, 4);
  const double k0 = p.k0;

  const double S = p.A * phi - p.B * std::sin(2.0 * phi) + p.C * std::sin(4.0 * phi) - p.D * std::sin(6.0 * phi) +
                   p.E * std::sin(8.0 * phi);
  const double T1 = S * k0;
  const double T2 = nu * s * c * k0 / 2.0;
  const double T3 = nu * s * pow(c, 3) * k0 * (5.0 - t2 + 9.0 * eta2 + 4.0 * eta4) / 24.0;
  const double T4 = nu * s * pow(c, 5) * k0 *
                    (61.0 - 58.0 * t2 + t4 + 270.0 * eta2 - 330.0 * t2 * eta2 + 445.0 * eta4 + 324.0 * eta6 -
                     680.0 * t2 * eta4 + 88.0 * eta8 - 600.0 * t2 * eta6 - 192.0 * t2 * eta8) /
                    720.0;
  const double T5 = nu * s * pow(c, 7) * k0 * (1385.0 - 3111.0 * t2 + 543.0 * t4 - t6) / 40320.0;
  const double falseNorthing = latitude < 0.0 ? p.southFalseNorthing : 0.0;

  UtmCoordinates out;
  out.northing = falseNorthing + T1 + pow(dl, 2) * T2 + pow(dl, 4) * T3 + pow(dl, 6) * T4 + pow(dl, 8) * T5;

  const double T6 = nu * c * k0;
  const double T7 = nu * pow(c, 3) * k0 * (1.0 - t2 + eta2) / 6.0;
  const double T8 = nu * pow(c, 5) * k0 *
                    (5.0 - 18.0 * t2 + t4 + 14.0 * eta2 - 58.0 * t2 * eta2 + 13.0 * eta4 + 4.0 * eta6 -
                     64.0 * t2 * eta4 - 24.0 * t2 * eta6) /
                    120.0;
  const double T9 = nu * pow(c, 7) * k0 * (61.0 - 479.0 * t2 + 179.0 * t4 - t6) / 5040.0;
  out.easting = p.falseEasting + dl * T6 + pow(dl, 3) * T7 + pow(dl, 5) * T8 + pow(dl, 7) * T9;
  return out;
}

UtmZoneState& UtmZones() { return g_zones; }

void ResetUtmZones() { g_zones = UtmZoneState(); }

UtmCoordinates ProjectLiveFix(double latitude, double longitude) {
  return ProjectLiveFix(g_zones, latitude, longitude);
}

UtmCoordinates ProjectLiveFix(UtmZoneState& z, double latitude, double longitude) {
  if (z.UtmZone != -9) return GeoToUtm(latitude, longitude, z.UtmZone, 1);
  UtmCoordinates out = GeoToUtm(latitude, longitude, z.UtmZone, 0);
  z.UtmZoneInUse = z.UtmZone;
  z.ZoneFixLatitude = latitude;
  z.ZoneFixLongitude = longitude;
  return out;
}

}  // namespace obrix
