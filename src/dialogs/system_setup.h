#pragma once
// System Setup: EM38 state and port, GPS port, pause key, speed and coordinate units, audio options.

namespace obrix {

inline constexpr const char* kPauseKeyEntries[4] = {"any key", "<Enter>", "<Space Bar>", "<P>"};
inline constexpr const char* kSpeedUnitEntries[4] = {"meters/s", "feet/s", "km/h", "mph"};
inline constexpr const char* kCoordinatesEntries[4] = {"Geodetic", "UTM meters", "UTM feet", "UTM US Feet"};

// List indices and check states of the dialog; ports are 0-based (0 = "COM1:").
struct SystemForm {
  int instrumentEnabled = 0;
  int instrumentPort = 0;
  int gpsPort = 0;
  int pauseKey = 0;
  int speedUnits = 0;
  int coordinatesDisplay = 0;
  bool audioTicks = false;
  bool disconnectAlarm = false;
};

SystemForm OpenSystemForm();
// OK: every setting takes its field; the settings file is saved.
void ApplySystemForm(const SystemForm& form);

}  // namespace obrix
