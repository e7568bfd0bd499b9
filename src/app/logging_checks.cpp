#include "app/logging_checks.h"
#include "settings/survey_inputs.h"

#include <cstdio>

namespace obrix {

ConfigProblem CheckLoggingConfiguration(const Settings& s) {
  if (!UsesInstrument(s) && !UsesGps(s))
    return {"EM AND GPS DISABLED", "Instrument Disabled and GPS Disabled"};
  if (UsesInstrument(s) && UsesGps(s) && s.instrumentPort == s.gpsPort) {
    char text[160];
    std::snprintf(text, sizeof text,
                  "Serial Port COM%d Assigned to Instrument and GPS, please change port selection.",
                  s.instrumentPort + 1);
    return {"Serial Port Issue", text};
  }
  return {};
}

}  // namespace obrix
