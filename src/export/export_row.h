#pragma once
// One exported reading: where, when and what, with the flags of how its position was found.
#include <cstdint>
#include <string>

namespace obrix {

enum ExportFlag : unsigned {
  kFlagBeforeFirstFix = 1u << 0,  // no accepted fix before it (no position)
  kFlagAfterLastFix = 1u << 1,    // no accepted fix after it (no position)
  kFlagGap = 1u << 2,             // between fixes more than kExportGapMs apart (interpolated)
  kFlagPause = 1u << 3,           // a pause lies between it and a fix on one side (no position)
  kFlagLineChange = 1u << 4,      // a new line starts between it and a fix on one side (no position)
  kFlagNoHeading = 1u << 5,       // offsets to apply but no direction of travel yet (no position)
};
inline constexpr int64_t kExportGapMs = 3000;

// The flag words joined by '+' ("gap", "before_first_fix", ...); empty without flags.
std::string ExportFlagText(unsigned flags);

struct ExportRow {
  int64_t record = 0;  // index of the reading record in the file
  int segment = 0;
  std::string line;    // line name, UTF-8
  double station = 0.0;

  bool hasLocal = false;  // local date and time from the line block, the time marks and the tick
  int64_t localDay = 0;   // days since 1970-01-01
  int64_t localMs = 0;    // milliseconds of that day
  bool hasUtc = false;    // UTC time of day from the nearer fix and the tick
  double utcSeconds = 0.0;

  uint32_t tick = 0;
  int64_t tick64 = 0;
  std::string instrument;  // the instrument field, trailing spaces removed
  int channel = 0;         // 0..3: conductivity V/H, inphase V/H
  bool conductivity = true;
  char dipole = 'V';
  double value = 0.0;      // mS/m or ppt
  bool marker = false;

  bool positioned = false;
  double easting = 0.0, northing = 0.0;  // sensor point, map units
  int mapUnits = 0;
  int zone = 0;            // UTM zone of geographic fixes, 0 for grid coordinates
  bool north = true;       // hemisphere of that zone
  bool hasGeo = false;     // WGS 84 position (geographic fixes only)
  double latitude = 0.0, longitude = 0.0;

  bool hasFix = false;     // the nearer fix's quality values
  int quality = 0, satellites = 0;
  double dop = 0.0;

  unsigned flags = 0;
};

// One accepted fix of the antenna track, with the line and session it belongs to.
struct ExportFix {
  int segment = 0;
  std::string line;        // line name, UTF-8
  int64_t stretch = 0;     // +1 at every pause, line change and session: fixes of one stretch join up
  int64_t tick64 = 0;
  double easting = 0.0, northing = 0.0;  // antenna, map units
  int mapUnits = 0;
  bool geographic = false; // from latitude/longitude (else grid coordinates)
  int zone = 0;            // UTM zone of geographic fixes
  bool north = true;
  bool hasLocal = false;   // local date and time, as for readings
  int64_t localDay = 0, localMs = 0;
};

// "YYYY-MM-DD" of a day number and "HH:MM:SS.mmm" of milliseconds of a day.
std::string DayText(int64_t day);
std::string MillisText(int64_t ms);
// Civil date of a day number.
void CivilDate(int64_t day, int64_t& year, int& month, int& dayOfMonth);
// Day number of a civil date.
int64_t DayNumber(int year, int month, int day);

}  // namespace obrix
