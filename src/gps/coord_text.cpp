#include "gps/coord_text.h"

#include <cmath>
#include <cstdint>

#include "gps/length_units.h"
#include "gps/nmea_fields.h"
#include "settings/settings.h"

namespace obrix {
namespace {

constexpr const char* kUnitSuffix[3] = {"m", "ft", "USft"};

// The fraction std::modf gives (its sign that of `x`), by an integer truncation where one holds the value.
double FractionPart(double x) {
  if (!(std::fabs(x) < 0x1p52)) {
    double whole = 0.0;
    return std::modf(x, &whole);
  }
  return std::copysign(x - static_cast<double>(static_cast<int64_t>(x)), x);
}

}  // namespace

void FormatGeoReadout(ReadoutText& out, char hemisphere, std::string_view field, int degreeDigits) {
  field = NmeaText(field);
  const size_t deg = degreeDigits < 0 ? 0 : static_cast<size_t>(degreeDigits);
  const double minutes = field.size() > deg ? NmeaReal(field.substr(deg, 8)) : 0.0;
  FormatGeoReadout(out, hemisphere, field, degreeDigits, minutes);
}

void FormatGeoReadout(ReadoutText& out, char hemisphere, std::string_view field, int degreeDigits, double minutes) {
  const size_t deg = degreeDigits < 0 ? 0 : static_cast<size_t>(degreeDigits);
  const bool letterOk = hemisphere == 'N' || hemisphere == 'S' || hemisphere == 'E' || hemisphere == 'W';
  std::string_view degrees = field.substr(0, deg);
  std::string_view minuteDigits = field.size() > deg ? field.substr(deg, 2) : std::string_view();
  const double seconds = FractionPart(minutes) * 60.0;

  out.Clear();
  const char letter = letterOk ? hemisphere : ' ';
  out.Append(std::string_view(&letter, 1));
  out.AppendLatin1(degrees);
  out.Append("\xC2\xB0");  // the degree sign
  out.AppendLatin1(minuteDigits);
  out.Append("'");
  out.AppendFixed(seconds, 4, 7, true);  // "%-07.4f": the 0 flag has no effect with -
  out.Append("\"");
}

std::string GeoReadout(char hemisphere, std::string_view field, int degreeDigits) {
  ReadoutText t;
  FormatGeoReadout(t, hemisphere, field, degreeDigits);
  return t.str();
}

void FormatUtmReadout(ReadoutText& out, double metres, int coordinatesDisplay) {
  int unit = coordinatesDisplay == 2 ? 1 : coordinatesDisplay == 3 ? 2 : 0;
  out.Clear();
  out.AppendFixed(MetresToLengthUnit(metres, unit), 2, 12);  // "%12.2f"
  out.Append(" ");
  out.Append(kUnitSuffix[unit]);
}

std::string UtmReadout(double metres, int coordinatesDisplay) {
  ReadoutText t;
  FormatUtmReadout(t, metres, coordinatesDisplay);
  return t.str();
}

std::string ZoneReadout(int zone) {
  ReadoutText t;
  t.Format("%-2d", zone);
  return t.str();
}

void FormatGridReadout(ReadoutText& out, double metres, int coordinatesDisplay, int mapUnits) {
  double value = metres;
  int unit = 0;
  if (coordinatesDisplay == 0) {
    unit = mapUnits >= 0 && mapUnits <= 2 ? mapUnits : 0;
    value = GridMetresToLengthUnit(metres, unit);
  } else {
    unit = coordinatesDisplay == 2 ? 1 : coordinatesDisplay == 3 ? 2 : 0;
    value = MetresToLengthUnit(metres, unit);
  }
  out.Clear();
  out.AppendFixed(value, 2, 12, true);  // "%-12.2f"
  out.Append(" ");
  out.Append(kUnitSuffix[unit]);
}

std::string GridReadout(double metres, int coordinatesDisplay, int mapUnits) {
  ReadoutText t;
  FormatGridReadout(t, metres, coordinatesDisplay, mapUnits);
  return t.str();
}

}  // namespace obrix
