#include "dialogs/system_setup.h"

#include "dialogs/dialog_values.h"
#include "settings/settings.h"
#include "settings/settings_file.h"

namespace obrix {

SystemForm OpenSystemForm() {
  const Settings& s = Config();
  SystemForm f;
  f.instrumentEnabled = ListIndex(s.instrumentEnabled, 2);
  f.instrumentPort = ListIndex(s.instrumentPort, kSerialPortCount);
  f.gpsPort = ListIndex(s.gpsPort, kSerialPortCount);
  f.pauseKey = ListIndex(s.pauseKey, 4);
  f.speedUnits = ListIndex(s.speedUnits, 4);
  f.coordinatesDisplay = ListIndex(s.coordinatesDisplay, 4);
  f.audioTicks = s.audioTicks != 0;
  f.disconnectAlarm = s.disconnectAlarm != 0;
  return f;
}

void ApplySystemForm(const SystemForm& form) {
  Settings& s = Config();
  s.instrumentEnabled = form.instrumentEnabled;
  s.instrumentPort = form.instrumentPort;
  s.gpsPort = form.gpsPort;
  s.pauseKey = form.pauseKey;
  s.speedUnits = form.speedUnits;
  s.coordinatesDisplay = form.coordinatesDisplay;
  s.audioTicks = form.audioTicks ? 1 : 0;
  s.disconnectAlarm = form.disconnectAlarm ? 1 : 0;
  SaveLoadSettings(Save);
}

}  // namespace obrix
