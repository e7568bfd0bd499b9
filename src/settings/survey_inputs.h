#pragma once
// Whether a survey uses the GPS receiver and the EM38: the settings keep 1 for on and 0 for off (gpsInput
// counts as on only at 1, instrumentEnabled at any value but 0).
#include "settings/settings.h"

namespace obrix {

inline bool UsesGps(const Settings& s) { return s.gpsInput == 1; }
inline bool UsesInstrument(const Settings& s) { return s.instrumentEnabled != 0; }

}  // namespace obrix
