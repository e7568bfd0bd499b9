#include "gps/fix_position.h"

#include "gps/length_units.h"

namespace obrix {

FixPosition LocateFix(std::string_view sentence, const CurrentFixValues& before, const NmeaTable& table,
                      const FixDecodeOptions& options, UtmZoneState& zones, int mapUnits) {
  FixPosition p;
  p.decode = DecodeFixSentence(sentence, before, table, options);
  const FixDecode& d = p.decode;
  if (!d.fix.FixValid) return p;
  if (d.geographic) {
    p.utm = ProjectLiveFix(zones, d.latitude, d.longitude);
    p.projected = true;
    p.zone = zones.UtmZone;
    p.northing = MetresToLengthUnit(p.utm.northing, mapUnits);
    p.easting = MetresToLengthUnit(p.utm.easting, mapUnits);
  } else {
    p.northing = d.gridNorthing;
    p.easting = d.gridEasting;
  }
  return p;
}

}  // namespace obrix
