#pragma once
// Logic of the GPS warning mask and coordinates display units dialogs.
#include <string>
#include <vector>

namespace obrix {

// Labels of the warning mask for nmeaFormat: "N/A" for the warning and quality labels with GLL, RTS
// pseudo-GGA and pseudo-GLL data; the dilution label by format.
struct GpsMaskLabels {
  const char* warning;
  const char* quality;
  const char* satellites;
  const char* dilution;
};
GpsMaskLabels GpsMaskLabelsFor(int nmeaFormat);

// The formats that deliver grid coordinates (LLK, LLQ, RTS pseudo-GGA): their readout has no geodetic form.
bool GridCoordinateFormat(int nmeaFormat);
// Entries of the coordinates units list for the format.
std::vector<std::string> CoordinateUnitEntries(int nmeaFormat);
// List index shown for coordinatesDisplay (a geodetic setting shows as meters with grid formats), and the
// coordinatesDisplay an index stands for.
int CoordinateUnitIndex(int nmeaFormat, int coordinatesDisplay);
int CoordinatesDisplayFromIndex(int nmeaFormat, int index);

}  // namespace obrix
