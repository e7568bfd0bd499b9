#include "dialogs/gps_options.h"

#include <algorithm>

namespace obrix {

namespace {
enum Format { GgaGsa = 0, Gga = 1, Pos = 2, Llk = 3, Llq = 4, Gll = 5, Ggk = 6, RtsGga = 7, PseudoGll = 8 };
}

GpsMaskLabels GpsMaskLabelsFor(int f) {
  const bool noMask = f == Gll || f == RtsGga || f == PseudoGll;
  const char* dilution = "N/A";
  switch (f) {
    case GgaGsa:
    case Pos: dilution = "PDOP"; break;
    case Gga: dilution = "HDOP"; break;
    case Llk: dilution = "GDOP"; break;
    case Llq: dilution = "Quality (m)"; break;
    case Ggk: dilution = "DOP"; break;
    default: break;
  }
  return {noMask ? "N/A" : "Warning", noMask ? "N/A" : "Quality", "Satellites", dilution};
}

bool GridCoordinateFormat(int f) { return f == Llk || f == Llq || f == RtsGga; }

std::vector<std::string> CoordinateUnitEntries(int f) {
  if (GridCoordinateFormat(f)) return {"meters", "feet", "US Survey Feet"};
  return {"Geodetic Lat/Lon", "UTM meters", "UTM feet", "UTM US Feet"};
}

int CoordinateUnitIndex(int f, int display) {
  display = std::clamp(display, 0, 3);
  if (GridCoordinateFormat(f)) return std::max(display, 1) - 1;
  return display;
}

int CoordinatesDisplayFromIndex(int f, int index) {
  if (GridCoordinateFormat(f)) return std::clamp(index, 0, 2) + 1;
  return std::clamp(index, 0, 3);
}

}  // namespace obrix
