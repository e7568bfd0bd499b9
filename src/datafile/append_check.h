#pragma once
// The check before a data file of this program is continued: its first four records against the settings.
#include <string>
#include <string_view>

namespace obrix {

struct AppendInputs {
  int instrumentEnabled = 1;
  int dipoleMode = 0;
  int gpsInput = 1;
  int mapUnits = 0;
  double lateralOffset = 0.0;   // metres
  double alongOffset = 0.0;     // the working along offset, metres
  int nmeaFormat = 1;
  int mapStarted = 0;
  int utmZoneInUse = -9;
};

struct AppendVerdict {
  int result = 0;       // 0 appending may go on, 1 refused
  std::string message;  // the warning text when refused ("\r\n" between lines)
  int zoneStep = 0;     // 0 same zone (or not compared), 1 neighbour zone: switch to fileZone
  int fileZone = 0;
};

// Judges the first four records given in `head` (the first bytes of the file; fewer than four whole records
// refuse with the record message of the first missing one).
AppendVerdict EvaluateAppend(std::string_view head, const AppendInputs& in);

// Zone step between the file's zone and the zone in use: 0, 1 (neighbours, 60 next to 1) or -1.
int ZoneStep(int fileZone, int zoneInUse, int nmeaFormat);

// Runs the check on the open data file with the current settings and state. On refusal the file is closed
// (handle -1), `message` holds the warning and the result is 1. On success, in the neighbour case, UtmZone is
// set to the file's zone and MapOrigin re-projected in it; the result is 0.
int RunAppendCheck(std::string& message);

// The warning before an incomplete last record of `bytes` bytes is cut off a file that is continued.
std::string IncompleteRecordText(long bytes);

// Inputs taken from the settings and the process-wide state.
AppendInputs CurrentAppendInputs();

}  // namespace obrix
