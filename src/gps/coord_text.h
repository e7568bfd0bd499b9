#pragma once
// Readout texts of coordinates (UTF-8; received 8-bit characters are widened byte by byte).
#include <string>
#include <string_view>

#include "gps/readout_text.h"

namespace obrix {

// Shown in the latitude and longitude fields for an invalid fix.
inline constexpr const char* kCoordinateNotAvailable = "     N/A     ";

// Latitude/longitude from the field as received (ddmm.mmmm with 2 degree digits, dddmm.mmmm with 3): the
// hemisphere letter ('N', 'S', 'E', 'W', otherwise a space), the degree digits, the degree sign, the two minute
// digits and an apostrophe, then the seconds "%-07.4f" and a double quote. "4336.5940", 'N' -> N43°36'35.6400".
void FormatGeoReadout(ReadoutText& out, char hemisphere, std::string_view field, int degreeDigits);
// The same for a field without NUL whose minutes, NmeaReal(field.substr(degreeDigits, 8)), are known.
void FormatGeoReadout(ReadoutText& out, char hemisphere, std::string_view field, int degreeDigits, double minutes);
std::string GeoReadout(char hemisphere, std::string_view field, int degreeDigits);

// A projected coordinate in metres for coordinatesDisplay 1 "%12.2f m", 2 "%12.2f ft", 3 "%12.2f USft"
// (other values as 1).
void FormatUtmReadout(ReadoutText& out, double metres, int coordinatesDisplay);
std::string UtmReadout(double metres, int coordinatesDisplay);
// The zone, "%-2d".
std::string ZoneReadout(int zone);

// A grid coordinate of LLK/LLQ/RTS sentences in metres: "%-12.2f m", "%-12.2f ft" or "%-12.2f USft"; with
// coordinatesDisplay 0 the unit follows mapUnits (x 3.28084, x 3.2808333333333355), otherwise the display
// setting (1 m, 2 ft = / 0.3048, 3 USft = / 0.304800609601219).
void FormatGridReadout(ReadoutText& out, double metres, int coordinatesDisplay, int mapUnits);
std::string GridReadout(double metres, int coordinatesDisplay, int mapUnits);

}  // namespace obrix
