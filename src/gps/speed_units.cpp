#include "gps/speed_units.h"

#include "gps/readout_text.h"

namespace obrix {

int SpeedRowIndex(int speedUnits, int mapUnits) {
  int index = speedUnits >= 0 && speedUnits <= 3 ? speedUnits : 0;
  return mapUnits != 0 ? index + 4 : index;
}

double ShownSpeed(double speed, int speedUnits, int mapUnits) {
  return speed * kSpeedRows[SpeedRowIndex(speedUnits, mapUnits)].factor;
}

std::string SpeedReadout(double speed, int speedUnits, int mapUnits) {
  const SpeedRow& row = kSpeedRows[SpeedRowIndex(speedUnits, mapUnits)];
  ReadoutText t;
  t.Format(row.format, speed * row.factor);
  return t.str();
}

}  // namespace obrix
