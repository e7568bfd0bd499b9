#include "gps/nmea_decode.h"

#include <cmath>

#include "gps/coord_text.h"
#include "gps/length_units.h"
#include "gps/nmea_fields.h"
#include "settings/settings.h"

namespace obrix {
namespace {

// "%3.1f" below 10, "%3.0f" from 10 on.
void FormatDop(ReadoutText& out, double dop) {
  out.Clear();
  out.AppendFixed(dop, dop < 10.0 ? 1 : 0, 3);
}

// Index of the first `c` in a short field, or npos: a plain loop beats a library search on a few bytes.
size_t FindInField(std::string_view field, char c) {
  for (size_t i = 0; i < field.size(); ++i)
    if (field[i] == c) return i;
  return std::string_view::npos;
}

// A ddmm.mmmm (degreeDigits 2) or dddmm.mmmm (3) field: degrees plus minutes / 60, unsigned, and the minutes.
// False when the first '.' is not right after the two minute digits.
bool GeoValue(std::string_view field, size_t degreeDigits, double* value, double* minutes) {
  if (FindInField(field, '.') != degreeDigits + 2) return false;
  const double degrees = NmeaInt(field.substr(0, degreeDigits));
  *minutes = NmeaReal(field.substr(degreeDigits, 8));
  *value = degrees + *minutes / 60.0;
  return true;
}

// A field without the checksum that ends the sentence when it is the last one.
std::string_view BeforeChecksum(std::string_view field) { return field.substr(0, FindInField(field, '*')); }

// An empty count or one made only of zeros: what receivers send when they do not report the count.
bool CountNotGiven(std::string_view field) {
  field = BeforeChecksum(field);
  for (char c : field)
    if (c != '0') return false;
  return true;
}

// QualityLabel as a view, its length known.
std::string_view QualityLabelText(char first) {
  using namespace std::string_view_literals;
  static constexpr std::string_view kLabels[10] = {"NO FIX"sv, "AGPS"sv, "DGPS"sv, "RTK3"sv, "RTK4"sv,
                                                   "RTK5"sv,   "RTK6"sv, "RTK7"sv, "RTK8"sv, "RTK9"sv};
  return first >= '0' && first <= '9' ? kLabels[first - '0'] : "UNKW"sv;
}

}  // namespace

FixDecodeOptions FixDecodeOptionsFromConfig() {
  const Settings& s = Config();
  FixDecodeOptions o;
  o.rtsUnits = s.rtsUnits;
  o.mapUnits = s.mapUnits;
  o.coordinatesDisplay = s.coordinatesDisplay;
  return o;
}

const char* QualityLabel(char first) { return QualityLabelText(first).data(); }

FixDecode DecodeFixSentence(std::string_view sentence, const CurrentFixValues& before, const NmeaTable& table,
                            const FixDecodeOptions& options) {
  const NmeaFieldIndex fields(sentence);  // the text up to a NUL
  FixDecode d;
  d.fix = before;
  CurrentFixValues& fix = d.fix;
  FixReadouts& r = d.readouts;
  fix.FixValid = 1;
  d.geographic = false;
  auto voidFix = [&d](const char* reason) {
    if (d.fix.FixValid) d.voidReason = reason;
    d.fix.FixValid = 0;
  };

  const int format = table.nmeaFormat;
  const int count = table.NmeaFieldCount < 0 ? 0 : table.NmeaFieldCount > kNmeaMaxPairs ? kNmeaMaxPairs
                                                                                           : table.NmeaFieldCount;
  double latSign = 1.0, lonSign = 1.0;
  char latLetter = ' ', lonLetter = ' ';
  std::string_view latField, lonField;
  double latMinutes = 0.0, lonMinutes = 0.0;  // of the fields as read while the fix was valid
  double northMetres = 0.0, eastMetres = 0.0;  // grid values for the readouts
  bool gridSeen = false;
  // The satellite count is judged once the quality is known (the count comes first in every row).
  bool countSeen = false, qualityReportsFix = false;
  std::string_view countField;

  // Unit of an RTS pseudo-GGA position (field 11 beginning with 'F': feet, US survey feet with rtsUnits 1).
  const bool rtsFormat = format == 7;
  const bool rtsFeet = rtsFormat && fields.Field(11).substr(0, 1) == "F";
  const int rtsDigit = options.rtsUnits == 1 ? 1 : 0;

  for (int k = 0; k < count; ++k) {
    std::string_view field;
    const bool present = fields.Field(table.NmeaFieldNumber[k], &field);
    switch (table.NmeaSlot[k]) {
      case kSlotSatellites:
        fix.FixSatellites = NmeaInt(field);
        countSeen = true;
        countField = field;
        break;
      case kSlotQuality: {
        int q = NmeaInt(field);
        if (format == 2 && q < 2147483647) q = q + 1;
        // Quality 0 is no fix in every format that carries one; POS counts its mode from 0.
        if (format != 2 && q == 0) voidFix("no fix (quality 0)");
        qualityReportsFix = !BeforeChecksum(field).empty() && q >= 1;
        fix.FixQuality = q;
        r.quality.written = true;
        r.quality.text.Clear();
        if (present) r.quality.text.Append(QualityLabelText(field.empty() ? '\0' : field[0]));
        break;
      }
      case kSlotNorthSouth:
        latLetter = field.empty() ? ' ' : field[0];
        if (latLetter == 'N') latSign = 1.0;
        else if (latLetter == 'S') latSign = -1.0;
        else voidFix("no N or S");
        break;
      case kSlotEastWest:
        lonLetter = field.empty() ? ' ' : field[0];
        if (lonLetter == 'E') lonSign = 1.0;
        else if (lonLetter == 'W') lonSign = -1.0;
        else voidFix("no E or W");
        break;
      case kSlotLatitude:
      case kSlotLongitude: {
        const bool lat = table.NmeaSlot[k] == kSlotLatitude;
        d.geographic = true;
        (lat ? latField : lonField) = field;
        if (!present) voidFix(lat ? "no latitude" : "no longitude");
        if (fix.FixValid) {
          double v = 0.0;
          if (GeoValue(field, lat ? 2 : 3, &v, lat ? &latMinutes : &lonMinutes))
            (lat ? d.latitude : d.longitude) = (lat ? latSign : lonSign) * v;
          else voidFix(lat ? "latitude not ddmm.mmmm" : "longitude not dddmm.mmmm");
        }
        break;
      }
      case kSlotDop:
      case kSlotHdop:
      case kSlotGridQuality:
        fix.FixDop = NmeaReal(field);
        r.dop.written = true;
        FormatDop(r.dop.text, fix.FixDop);
        break;
      case kSlotGridNorthing:
      case kSlotGridEasting: {
        const bool north = table.NmeaSlot[k] == kSlotGridNorthing;
        d.geographic = false;
        gridSeen = true;
        if (field.empty()) {
          voidFix(north ? "no northing" : "no easting");
          break;
        }
        const double v = NmeaReal(field);
        if (!std::isfinite(v)) {
          voidFix(north ? "northing out of range" : "easting out of range");
          break;
        }
        double metres = v;
        double position = 0.0;
        if (rtsFormat) {
          if (rtsFeet) metres = v * kMetresPerMapUnit[rtsDigit == 1 ? 2 : 1];
          position = v * RtsGridFactor(rtsFeet, rtsDigit, options.mapUnits);
        } else {
          position = GridMetresToLengthUnit(v, options.mapUnits);
        }
        (north ? northMetres : eastMetres) = metres;
        (north ? d.gridNorthing : d.gridEasting) = position;
        break;
      }
      case kSlotSlamStatus:
        d.slamStatus = NmeaInt(field);
        d.readouts.slamStatusWarning = d.slamStatus == 0;
        r.slam[0].written = true;
        r.slam[0].text = ReadoutText(" ");
        r.slam[0].text.AppendInt(d.slamStatus, 2, false, true);  // " %02d"
        break;
      case kSlotSlamValue1:
      case kSlotSlamValue2:
      case kSlotSlamValue3: {
        const int i = table.NmeaSlot[k] - kSlotSlamValue1;
        d.slamValues[i] = NmeaReal(field);
        r.slam[i + 1].written = true;
        r.slam[i + 1].text.Clear();
        r.slam[i + 1].text.AppendFixed(d.slamValues[i], 3, 8);  // "%8.3f"
        break;
      }
      case kSlotFixStatus: {
        // An empty or missing status says nothing (older receivers have none).
        const std::string_view status = BeforeChecksum(field);
        if (!status.empty() && status[0] != 'A') voidFix("status not A");
        break;
      }
      case kSlotFixMode:
        if (BeforeChecksum(field).substr(0, 1) == "N") voidFix("mode N");
        break;
      default:
        break;
    }
  }

  if (countSeen) {
    fix.SatellitesReported = !(qualityReportsFix && CountNotGiven(countField));
    if (fix.SatellitesReported && fix.FixSatellites <= 1) voidFix("fewer than 2 satellites");
    r.satellites.written = true;
    r.satellites.text.Clear();
    if (fix.SatellitesReported) r.satellites.text.AppendInt(fix.FixSatellites, 2);  // "%2d"
    else r.satellites.text.AppendLatin1(BeforeChecksum(countField));                // as received
  }

  d.fixTime = NmeaSecondsOfDay(fields.Field(table.NmeaTimeField));

  if (!fix.FixValid) {
    r.north.Set(kCoordinateNotAvailable);
    r.east.Set(kCoordinateNotAvailable);
  } else if (d.geographic) {
    if (options.coordinatesDisplay == 0) {
      r.north.written = r.east.written = true;
      // A valid fix read both fields (when the table has them) and their minutes.
      FormatGeoReadout(r.north.text, latLetter, latField, 2, latMinutes);
      FormatGeoReadout(r.east.text, lonLetter, lonField, 3, lonMinutes);
    }
  } else if (gridSeen) {
    r.north.written = r.east.written = true;
    FormatGridReadout(r.north.text, northMetres, options.coordinatesDisplay, options.mapUnits);
    FormatGridReadout(r.east.text, eastMetres, options.coordinatesDisplay, options.mapUnits);
  }
  return d;
}

FixDecode DecodeFixSentence(std::string_view sentence, const CurrentFixValues& before) {
  return DecodeFixSentence(sentence, before, NmeaTab(), FixDecodeOptionsFromConfig());
}

GsaDecode DecodeGsaDop(std::string_view sentence, double previousDop) {
  GsaDecode g;
  g.FixDop = previousDop;
  std::string_view field;
  if (!NmeaFieldText(sentence, 16, ',', &field)) {
    g.readout = ReadoutText("N/A");
    return g;
  }
  g.hasDop = true;
  g.FixDop = NmeaReal(field);
  g.readout.AppendFixed(g.FixDop, 1, 4, true);  // "%-4.1f"
  return g;
}

}  // namespace obrix
