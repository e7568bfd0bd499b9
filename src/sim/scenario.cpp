#include "sim/scenario.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace obrix::sim {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kRad = kPi / 180.0;

struct Key {
  const char* name;
  double Scenario::*real;
  int Scenario::*integer;
};

constexpr Key kKeys[] = {
    {"origin_lat", &Scenario::originLat, nullptr},
    {"origin_lon", &Scenario::originLon, nullptr},
    {"heading", &Scenario::headingDeg, nullptr},
    {"line_length", &Scenario::lineLength, nullptr},
    {"line_spacing", &Scenario::lineSpacing, nullptr},
    {"lines", nullptr, &Scenario::lines},
    {"speed", &Scenario::speed, nullptr},
    {"start_time", &Scenario::startTime, nullptr},
    {"background_cond", &Scenario::backgroundCond, nullptr},
    {"anomaly_cond", &Scenario::anomalyCond, nullptr},
    {"background_inph", &Scenario::backgroundInph, nullptr},
    {"anomaly_inph", &Scenario::anomalyInph, nullptr},
    {"anomaly_east", &Scenario::anomalyEast, nullptr},
    {"anomaly_north", &Scenario::anomalyNorth, nullptr},
    {"anomaly_radius", &Scenario::anomalyRadius, nullptr},
};

std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t\r");
  if (b == std::string::npos) return "";
  size_t e = s.find_last_not_of(" \t\r");
  return s.substr(b, e - b + 1);
}

double Falloff(const Scenario& s, double east, double north) {
  double r = s.anomalyRadius > 0 ? s.anomalyRadius : 1.0;
  double de = east - s.anomalyEast, dn = north - s.anomalyNorth;
  return std::exp(-(de * de + dn * dn) / (r * r));
}

std::string Check(const Scenario& s) {
  if (s.lines < 1) return "lines must be at least 1";
  if (!(s.lineLength > 0)) return "line_length must be positive";
  if (!(s.lineSpacing >= 0)) return "line_spacing must not be negative";
  if (!(s.speed >= 0)) return "speed must not be negative";
  if (!(s.anomalyRadius > 0)) return "anomaly_radius must be positive";
  if (!(std::fabs(s.originLat) < 89.0)) return "origin_lat must lie between -89 and 89";
  if (!(std::fabs(s.originLon) <= 180.0)) return "origin_lon must lie between -180 and 180";
  return "";
}

}  // namespace

WalkPoint WalkAt(const Scenario& s, double seconds) {
  const int n = s.lines < 1 ? 1 : s.lines;
  const double len = s.lineLength, gap = s.lineSpacing;
  const double path = n * len + (n - 1) * gap;
  WalkPoint w;
  w.speed = s.speed;
  double d = s.speed * seconds;
  bool back = false;
  if (path > 0) {
    d = std::fmod(d, 2 * path);
    if (d < 0) d += 2 * path;
    if (d > path) {
      d = 2 * path - d;
      back = true;
    }
  } else {
    d = 0;
  }
  // Along-line and across-line coordinates, and the direction of travel in that frame.
  double along = 0, across = 0, dirAlong = 0, dirAcross = 0;
  const double pair = len + gap;
  int idx = pair > 0 ? static_cast<int>(d / pair) : 0;
  double rem = d - idx * pair;
  if (idx >= n) {
    idx = n - 1;
    rem = len;
  }
  const bool even = idx % 2 == 0;
  if (rem <= len) {
    along = even ? rem : len - rem;
    across = idx * gap;
    dirAlong = even ? 1 : -1;
  } else {
    along = even ? len : 0;
    across = idx * gap + (rem - len);
    dirAcross = 1;
  }
  if (back) {
    dirAlong = -dirAlong;
    dirAcross = -dirAcross;
  }
  const double h = s.headingDeg * kRad;
  // Along unit = (sin h, cos h) in (east, north); across unit (to the right) = (cos h, -sin h).
  w.east = along * std::sin(h) + across * std::cos(h);
  w.north = along * std::cos(h) - across * std::sin(h);
  double ve = dirAlong * std::sin(h) + dirAcross * std::cos(h);
  double vn = dirAlong * std::cos(h) - dirAcross * std::sin(h);
  double course = std::atan2(ve, vn) / kRad;
  w.courseDeg = course < 0 ? course + 360.0 : course;
  return w;
}

double WalkSeconds(const Scenario& s, double unixTime) { return unixTime - s.startTime; }

double ConductivityAt(const Scenario& s, double east, double north) {
  return s.backgroundCond + s.anomalyCond * Falloff(s, east, north);
}

double InphaseAt(const Scenario& s, double east, double north) {
  return s.backgroundInph + s.anomalyInph * Falloff(s, east, north);
}

void LocalToGeo(const Scenario& s, double east, double north, double* lat, double* lon) {
  // WGS84 radii of curvature at the origin.
  const double a = 6378137.0, e2 = 6.69437999014e-3;
  const double phi = s.originLat * kRad;
  const double w = 1 - e2 * std::sin(phi) * std::sin(phi);
  const double meridian = a * (1 - e2) / (w * std::sqrt(w));
  const double normal = a / std::sqrt(w);
  *lat = s.originLat + north / meridian / kRad;
  *lon = s.originLon + east / (normal * std::cos(phi)) / kRad;
}

bool ParseScenario(const std::string& text, Scenario* s, std::string* error) {
  Scenario out = *s;
  std::istringstream in(text);
  std::string line;
  int number = 0;
  auto fail = [&](const std::string& why) {
    if (error) *error = "line " + std::to_string(number) + ": " + why;
    return false;
  };
  while (std::getline(in, line)) {
    ++number;
    size_t hash = line.find('#');
    if (hash != std::string::npos) line.erase(hash);
    line = Trim(line);
    if (line.empty()) continue;
    size_t eq = line.find('=');
    if (eq == std::string::npos) return fail("expected key = value");
    std::string key = Trim(line.substr(0, eq)), value = Trim(line.substr(eq + 1));
    const Key* found = nullptr;
    for (const Key& k : kKeys)
      if (key == k.name) found = &k;
    if (!found) return fail("unknown key \"" + key + "\"");
    char* end = nullptr;
    double v = std::strtod(value.c_str(), &end);
    if (value.empty() || *end != '\0' || !std::isfinite(v)) return fail("bad number for " + key);
    if (found->real) {
      out.*(found->real) = v;
    } else {
      if (v != std::floor(v) || std::fabs(v) > 1e6) return fail(key + " must be a whole number");
      out.*(found->integer) = static_cast<int>(v);
    }
  }
  std::string why = Check(out);
  if (!why.empty()) {
    if (error) *error = why;
    return false;
  }
  *s = out;
  return true;
}

bool LoadScenario(const std::string& path, Scenario* s, std::string* error) {
  std::ifstream f(path, std::ios::binary);
  if (!f) {
    if (error) *error = "cannot read " + path;
    return false;
  }
  std::ostringstream text;
  text << f.rdbuf();
  std::string why;
  if (!ParseScenario(text.str(), s, &why)) {
    if (error) *error = path + ": " + why;
    return false;
  }
  return true;
}

std::string FormatScenario(const Scenario& s) {
  std::string out = "# Simulated survey: walk and ground field shared by em38-sim and gnss-sim\n";
  char buf[128];
  for (const Key& k : kKeys) {
    if (k.real)
      std::snprintf(buf, sizeof buf, "%s = %.15g\n", k.name, s.*(k.real));
    else
      std::snprintf(buf, sizeof buf, "%s = %d\n", k.name, s.*(k.integer));
    out += buf;
  }
  return out;
}

bool SaveScenario(const std::string& path, const Scenario& s, std::string* error) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f << FormatScenario(s);
  f.close();
  if (!f) {
    if (error) *error = "cannot write " + path;
    return false;
  }
  return true;
}

}  // namespace obrix::sim
