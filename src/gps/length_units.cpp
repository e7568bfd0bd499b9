#include "gps/length_units.h"

namespace obrix {
namespace {

int Unit(int unit) { return unit >= 0 && unit <= 2 ? unit : 0; }

// US survey feet per foot and its inverse.
constexpr double kUsFeetToFeet = 1.0000020000039993;
constexpr double kFeetToUsFeet = 0.3048 / 0.304800609601219;

// Rows: metres (digit 0 or 1), feet (digit 0), US survey feet (digit 1), digit 2; columns: mapUnits.
constexpr double kRtsFactors[4][3] = {
    {1.0, 3.28084, 3.2808333333333355},
    {0.3048, 1.0, kFeetToUsFeet},
    {0.304800609601219, kUsFeetToFeet, 1.0},
    {1.0, 1.0, 1.0},
};

}  // namespace

double MetresToLengthUnit(double metres, int unit) { return metres / kMetresPerMapUnit[Unit(unit)]; }

double LengthUnitToMetres(double value, int unit) { return value * kMetresPerMapUnit[Unit(unit)]; }

double GridMetresToLengthUnit(double metres, int unit) { return metres * kGridUnitsPerMetre[Unit(unit)]; }

double RtsGridFactor(bool inFeet, int unitsDigit, int mapUnits) {
  int row = unitsDigit == 2 ? 3 : !inFeet ? 0 : unitsDigit == 1 ? 2 : 1;
  return kRtsFactors[row][Unit(mapUnits)];
}

}  // namespace obrix
