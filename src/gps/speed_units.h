#pragma once
// The speed readout: the speed is held in map units per second and shown in speedUnits.
#include <string>

namespace obrix {

struct SpeedRow {
  double factor;
  const char* format;
};
// Index speedUnits (0 m/s, 1 ft/s, 2 km/h, 3 mph), plus 4 when mapUnits is not metres.
inline constexpr SpeedRow kSpeedRows[8] = {
    {1.0, "%5.2f m/s"},    {3.28084, "%5.2f ft/s"}, {3.6, "%5.2f km/h"},    {2.2369, "%5.2f mph"},
    {0.3048, "%5.2f m/s"}, {1.0, "%5.2f ft/s"},     {1.0973, "%5.2f km/h"}, {0.6818, "%5.2f mph"},
};

// The table row; a speedUnits outside 0..3 is taken as 0 (m/s).
int SpeedRowIndex(int speedUnits, int mapUnits);
// The speed in the shown unit (also the value of the speed bar).
double ShownSpeed(double speedMapUnitsPerSecond, int speedUnits, int mapUnits);
std::string SpeedReadout(double speedMapUnitsPerSecond, int speedUnits, int mapUnits);

}  // namespace obrix
