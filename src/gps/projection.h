#pragma once
// Geographic (WGS 84) to UTM by the series below, and the zone rule of live fixes.

namespace obrix {

struct ProjectionConstants {
  double a = 6378137.0;
  double inverseFlattening = 298.257223563;
  double b = 0.0;
  double k0 = 0.9996;
  double falseEasting = 500000.0;
  double southFalseNorthing = 10000000.0;
  double degToRad = 0.0174532925199433;
  double e2 = 0.0;   // (a² - b²) / a²
  double ep2 = 0.0;  // (a² - b²) / b²
  double n = 0.0;    // (a - b) / (a + b)
  double A = 0.0, B = 0.0, C = 0.0, D = 0.0, E = 0.0;  // meridian arc coefficients
};

// Computes the constants once (they are also computed on first use).
void InitProjection();
const ProjectionConstants& Projection();

struct UtmCoordinates {
  double northing = 0.0;  // metres
  double easting = 0.0;
};

// Projects latitude/longitude (degrees). With fixedZone 0 the zone is computed from the longitude
// (floor(lon / 6) + 31, clamped to 1..60) and written to `zone`; with 1 the given zone is used.
UtmCoordinates GeoToUtm(double latitude, double longitude, int& zone, int fixedZone);

// Zone state of the live fixes (window thread).
struct UtmZoneState {
  int UtmZone = -9;       // -9 automatic; 1..60 once fixed (or set from an appended data file)
  int UtmZoneInUse = -9;  // the zone taken at the first fix while automatic
  double ZoneFixLatitude = 0.0;
  double ZoneFixLongitude = 0.0;
};
UtmZoneState& UtmZones();
void ResetUtmZones();

// The live zone rule: project in UtmZone when fixed; otherwise fix the zone from this position, remember it in
// UtmZoneInUse and ZoneFixLatitude/Longitude. Returns metres.
UtmCoordinates ProjectLiveFix(double latitude, double longitude);
// The same rule on the given zone state.
UtmCoordinates ProjectLiveFix(UtmZoneState& zones, double latitude, double longitude);

}  // namespace obrix
