#pragma once
// A position sentence decoded and placed: geographic fixes projected with the live zone rule, grid fixes taken
// as they are. Shared by the fix handler and the receiver check.
#include <string_view>

#include "gps/nmea_decode.h"
#include "gps/projection.h"

namespace obrix {

struct FixPosition {
  FixDecode decode;
  bool projected = false;   // a valid geographic fix, projected into utm and zone
  UtmCoordinates utm;       // metres
  int zone = 0;             // the zone used (1..60) when projected
  double easting = 0.0;     // map units, for a valid fix
  double northing = 0.0;
};

// Decodes the sentence from the previous current-fix values; a valid geographic fix is projected in the zone
// state's zone (fixed by this fix when still automatic) and converted to mapUnits.
FixPosition LocateFix(std::string_view sentence, const CurrentFixValues& before, const NmeaTable& table,
                      const FixDecodeOptions& options, UtmZoneState& zones, int mapUnits);

}  // namespace obrix
