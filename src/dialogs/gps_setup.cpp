#include "dialogs/gps_setup.h"

#include "dialogs/dialog_values.h"
#include "gps/nmea_table.h"
#include "platform/numbers.h"
#include "settings/settings.h"
#include "settings/settings_file.h"
#include "settings/survey_inputs.h"
#include "state/session.h"

namespace obrix {

namespace {
enum Format { GgaGsa = 0, Gga = 1, Pos = 2, Llk = 3, Llq = 4, Gll = 5, Ggk = 6, RtsPseudoGga = 7, PseudoGll = 8 };

const char* DilutionLabel(int format, bool afterChange) {
  switch (format) {
    case GgaGsa:
    case Pos: return "PDOP";
    case Gga: return "HDOP";
    case Llk: return "GDOP";
    case Llq: return afterChange ? "Quality[m]" : "Quality [m]";
    case Ggk: return "DOP";
    default: return "N/A";
  }
}
}  // namespace

GpsDependents GpsDependentsFor(int nmeaFormat, bool afterChange) {
  GpsDependents g;
  g.maskEnabled = !(nmeaFormat == Gll || nmeaFormat == RtsPseudoGga || nmeaFormat == PseudoGll);
  g.warningLabel = g.maskEnabled ? "Warning" : "N/A";
  g.qualityLabel = g.maskEnabled ? "Quality" : "N/A";
  g.satellitesLabel = g.maskEnabled ? "Satellites" : "N/A";
  g.dilutionLabel = DilutionLabel(nmeaFormat, afterChange);
  g.totalStationEnabled = nmeaFormat == RtsPseudoGga;
  return g;
}

GpsForm OpenGpsForm() {
  const Settings& s = Config();
  GpsForm f;
  f.gpsInput = ListIndex(s.gpsInput, 2);
  f.nmeaFormat = ListIndex(s.nmeaFormat, kNmeaFormatCount);
  f.gpsPort = ListIndex(s.gpsPort, kSerialPortCount);
  f.gpsBaud = ListIndex(s.gpsBaud, 6);
  f.gpsParity = ListIndex(s.gpsParity, 3);
  f.gpsDataBits = ListIndex(s.gpsDataBits, 2);
  f.gpsStopBits = ListIndex(s.gpsStopBits, 2);
  f.slamPseudoGga = s.slamPseudoGga != 0;
  f.rtsUnits = ListIndex(s.rtsUnits, 2);
  f.maskWarning = ListIndex(s.gpsMaskWarning, 2);
  f.maskQuality = ListIndex(s.gpsMaskQuality, 5);
  f.maskDilution = FormatC("%.1f", s.gpsMaskDilution);
  f.maskSatellitesIndex = s.gpsMaskSatellites < kMaskSatellitesMin
                              ? 0
                              : ListIndex(s.gpsMaskSatellites - kMaskSatellitesMin, kMaskSatellitesCount);
  f.audioWarning = s.gpsAudioWarning != 0;
  return f;
}

void ApplyGpsForm(const GpsForm& form, const GpsForm& opened) {
  Settings& s = Config();
  s.gpsInput = form.gpsInput;
  s.nmeaFormat = form.nmeaFormat;
  s.gpsPort = form.gpsPort;
  s.gpsBaud = form.gpsBaud;
  s.gpsParity = form.gpsParity;
  s.gpsDataBits = form.gpsDataBits;
  s.gpsStopBits = form.gpsStopBits;
  if (form.hasSlamOption) s.slamPseudoGga = form.slamPseudoGga ? 1 : 0;
  s.rtsUnits = form.rtsUnits;
  s.gpsMaskWarning = form.maskWarning;
  s.gpsMaskQuality = form.maskQuality;
  s.gpsMaskDilution = FieldValue(opened.maskDilution, form.maskDilution, s.gpsMaskDilution);
  s.gpsMaskSatellites = form.maskSatellitesIndex + kMaskSatellitesMin;
  s.gpsAudioWarning = form.audioWarning ? 1 : 0;
  Sess().MapVisible = UsesGps(s);
  SaveLoadSettings(Save);
}

}  // namespace obrix
