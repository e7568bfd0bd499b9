#pragma once
// Decoding of a position sentence into the current-fix values and its readout texts, and of a GSA sentence into
// the dilution of precision. Both take arbitrary bytes.
#include <string_view>

#include "gps/nmea_table.h"
#include "gps/readout_text.h"

namespace obrix {

// The decoded values of the last position sentence; formats whose table lacks a value keep the previous one.
struct CurrentFixValues {
  int FixValid = 0;
  int FixSatellites = 0;
  int FixQuality = 0;
  double FixDop = 0.0;
  // False when the satellites field was empty or 0 beside a quality that reports a fix: the receiver did not
  // report its count, and the count neither voids the fix nor fails the warning mask.
  bool SatellitesReported = true;
};

// The settings the decoding reads.
struct FixDecodeOptions {
  int rtsUnits = 0;            // 0 "meters or feet", 1 "US Survey Feet"
  int mapUnits = 0;            // 0 m, 1 ft, 2 US survey ft
  int coordinatesDisplay = 0;  // 0 geodetic, 1 UTM m, 2 UTM ft, 3 UTM US ft
};
FixDecodeOptions FixDecodeOptionsFromConfig();

// One readout field: `written` says the decoding rewrites it (erase, then draw the text; an empty text only
// erases).
struct ReadoutField {
  bool written = false;
  ReadoutText text;
  void Set(std::string_view t) {
    written = true;
    text = ReadoutText(t);
  }
};

struct FixReadouts {
  ReadoutField satellites;  // "%2d"; a count not reported shows the field as received
  ReadoutField quality;     // "NO FIX", "AGPS", "DGPS", "RTK3".."RTK9", "UNKW"; empty for a missing field
  ReadoutField dop;         // "%3.1f" below 10, "%3.0f" from 10 on
  ReadoutField north;       // latitude (geodetic display) or grid northing; "     N/A     " for an invalid fix
  ReadoutField east;        // longitude or grid easting
  ReadoutField slam[4];     // SLAM status " %02d" and values "%8.3f"
  bool slamStatusWarning = false;  // the status value is 0: warning background
};

struct FixDecode {
  CurrentFixValues fix;
  const char* voidReason = "";  // why FixValid was cleared (the first cause found); empty for a valid fix
  bool geographic = false;    // latitude/longitude seen (else grid coordinates)
  double latitude = 0.0;      // degrees, signed
  double longitude = 0.0;
  double gridNorthing = 0.0;  // map units
  double gridEasting = 0.0;
  double fixTime = 0.0;       // seconds of the UTC day from the time field
  int slamStatus = 0;
  double slamValues[3] = {};
  FixReadouts readouts;
};

// Decodes a position sentence with the given table and settings, starting from the previous current-fix values.
// Geographic positions are left for the zone rule; when coordinatesDisplay is not 0 their readouts are written
// after projection, not here.
FixDecode DecodeFixSentence(std::string_view sentence, const CurrentFixValues& before, const NmeaTable& table,
                            const FixDecodeOptions& options);
// The same with the process-wide table and the settings.
FixDecode DecodeFixSentence(std::string_view sentence, const CurrentFixValues& before);

struct GsaDecode {
  bool hasDop = false;   // the sentence has at least 15 commas
  double FixDop = 0.0;   // field 16, or the previous value when missing
  ReadoutText readout;   // "%-4.1f", or "N/A"
};
GsaDecode DecodeGsaDop(std::string_view sentence, double previousDop);

// The quality label for the first character of the received quality field.
const char* QualityLabel(char first);

}  // namespace obrix
