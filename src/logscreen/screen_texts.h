#pragma once
// Texts of the logging screen: state texts, the map caption and title, the pause prompt, the labels chosen by
// the settings, the information texts of the commands and the two forms of the popup menu.
#include <string>
#include <vector>

namespace obrix {

struct Settings;

// "Monitoring (Auto)", "Stand By (Wheel)", "Logging (Manual)", ... for LoggingState and loggingMode 0..2
// (other modes read as Auto); empty for Closed.
std::string StateText(int loggingState, int loggingMode);
// "Map Size:%5ld m", " ft" or " US-ft" by mapUnits.
std::string MapCaptionText(int mapUnits, long mapSize);
// The map title: live or review, by mapColourView, component and dipoleMode.
std::string MapTitleText(bool review, int mapColourView, int component, int dipoleMode);
// The two pause prompt lines for pauseKey 0..3.
std::string PausePromptFirstLine();
std::string PausePromptSecondLine(int pauseKey);

// "HDOP:", "GDOP:", "SLAM Conf.:" or "PDOP:".
std::string DopLabel(int nmeaFormat, int slamPseudoGga);
// "E:"/"N:" (grid) or "Lon:"/"Lat:" (geodetic).
bool GridCoordinateLabels(int coordinatesDisplay, int nmeaFormat);
bool ShowsSatellites(int nmeaFormat);
bool ShowsZone(int coordinatesDisplay);
// "N/A" shown in the DOP field at repaint (all but the SLAM pseudo-GGA).
bool DopNotAvailableAtRepaint(int nmeaFormat, int slamPseudoGga);

// Bar scale limit texts: "%0.0fmS/m" and "%0.0fppt".
std::string CondScaleText(double value);
std::string InphScaleText(double value);

// "File: <base name>" with a file open, else "File:" and eight spaces.
std::string FileLineText(bool fileOpen, const std::string& baseName);
// Warning shown while the data file has write errors; empty for none.
std::string WriteErrorText(unsigned errors);

inline constexpr const char* kInformationTitle = "INFORMATION";
inline constexpr const char* kNeedsInstrumentText = "Option avaiable only when Instrument is enabled";
inline constexpr const char* kNeedsGpsText = "Option avaiable only when GPS is enabled";
inline constexpr const char* kNeedsMapText = "Option avaiable only when map is visible";
inline constexpr const char* kForeignFileText = "File not from Obrix38 program";
inline constexpr const char* kGridMinimumText =
    "Grid Interval must be >= 0.5 of map unit. Program assumed minimum value.";
inline constexpr const char* kCannotStartText = "Cannot start logging.\r\nPlease increase the map size\r\nby 20-25%.";
inline constexpr const char* kIncreaseMapText =
    "Please select Map Size option\r\nand increase the map size\r\nby 20-25%.";
inline constexpr const char* kMapTooSmallText =
    "Map Size too small\r\nPlease select Map Size option\r\nand increase the map size";
inline constexpr const char* kNeedsFixText = "Valid GPS position must be \r\nreceived to use this option.";
inline constexpr const char* kBackgroundFullText = "Maximum 10 background files already loaded";
inline constexpr const char* kNoBackgroundText = "No background files to remove";

struct MenuEntry {
  int id = 0;  // 0 = separator
  const char* text = "";
};
// The popup menu for the state: the file items first outside NoFile.
std::vector<MenuEntry> LoggingMenu(int loggingState);

// The changes of an accepted Quick Line: One Way restarts the station at startStation; Alternate makes the
// current station the start station, reverses the station increment and swaps the direction (3 - lineDirection).
struct LineChange {
  double station;
  double startStation;
  double stationIncrement;
  int lineDirection;
};
LineChange QuickLineChange(int lineSequence, double currentStation, double startStation, double stationIncrement,
                           int lineDirection);

}  // namespace obrix
