#include "logscreen/screen_texts.h"

#include <cstdio>

#include "logscreen/logging_input.h"
#include "state/session.h"

namespace obrix {
namespace {

std::string Format(const char* format, double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, format, v);
  return buf;
}

const char* const kModeNames[3] = {"(Auto)", "(Wheel)", "(Manual)"};

}  // namespace

std::string StateText(int loggingState, int loggingMode) {
  const char* mode = kModeNames[(loggingMode >= 0 && loggingMode <= 2) ? loggingMode : 0];
  switch (loggingState) {
    case NoFile: return std::string("Monitoring ") + mode;
    case StandBy: return std::string("Stand By ") + mode;
    case Logging: return std::string("Logging ") + mode;
    default: return {};
  }
}

std::string MapCaptionText(int mapUnits, long mapSize) {
  const char* format = mapUnits == 1 ? "Map Size:%5ld ft" : mapUnits == 2 ? "Map Size:%5ld US-ft" : "Map Size:%5ld m";
  char buf[64];
  std::snprintf(buf, sizeof buf, format, mapSize);
  return buf;
}

std::string MapTitleText(bool review, int mapColourView, int component, int dipoleMode) {
  if (mapColourView == 0) return std::string(12, ' ');
  if (review) {
    if (mapColourView == 1) return "Review Conductivity";
    if (mapColourView == 2) return "Review Inphase";
    return {};
  }
  if (mapColourView != 1) return {};
  const char* dipole = dipoleMode == 1 ? "HDM" : "VDM";
  if (component == 0) return std::string("Conductivity ") + dipole;
  if (component == 1) return std::string("Inphase ") + dipole;
  return {};
}

std::string PausePromptFirstLine() { return "Tap/Click PAUSE button or"; }

std::string PausePromptSecondLine(int pauseKey) {
  switch (pauseKey) {
    case 1: return "press <ENTER> to pause";
    case 2: return "<Space Bar> to pause";
    case 3: return "press key <P> pause";
    default: return "press any key to pause";
  }
}

std::string DopLabel(int nmeaFormat, int slamPseudoGga) {
  if (nmeaFormat == 1) return "HDOP:";
  if (nmeaFormat == 3 || nmeaFormat == 4) return "GDOP:";
  if (nmeaFormat == 7 && slamPseudoGga == 1) return "SLAM Conf.:";
  return "PDOP:";
}

bool GridCoordinateLabels(int coordinatesDisplay, int nmeaFormat) { return coordinatesDisplay != 0 || nmeaFormat > 6; }
bool ShowsSatellites(int nmeaFormat) { return nmeaFormat != 7 && nmeaFormat != 8; }
bool ShowsZone(int coordinatesDisplay) { return coordinatesDisplay != 0; }
bool DopNotAvailableAtRepaint(int nmeaFormat, int slamPseudoGga) { return !(nmeaFormat == 7 && slamPseudoGga == 1); }

std::string CondScaleText(double value) { return Format("%0.0fmS/m", value); }
std::string InphScaleText(double value) { return Format("%0.0fppt", value); }

std::string FileLineText(bool fileOpen, const std::string& baseName) {
  if (!fileOpen) return "File:" + std::string(8, ' ');
  return "File: " + baseName;
}

std::string WriteErrorText(unsigned errors) {
  if (errors == 0) return {};
  char buf[96];
  std::snprintf(buf, sizeof buf, "DATA FILE WRITE ERRORS: %u - records are being lost", errors);
  return buf;
}

std::vector<MenuEntry> LoggingMenu(int loggingState) {
  std::vector<MenuEntry> menu;
  if (loggingState != NoFile) {
    menu.push_back({kMenuNewLine, "New Lin&e"});
    menu.push_back({kMenuNewStation, "&New Station"});
    menu.push_back({kMenuComment, "&Comment"});
    menu.push_back({0, ""});
  }
  const MenuEntry common[] = {
      {kMenuMapSize, "Map &Size"},
      {kMenuScaleReadings, "Sc&ale Readings"},
      {kMenuScaleSpeedBar, "Scale Speed &Bar"},
      {0, ""},
      {kMenuMapDisplayOptions, "Map Displa&y Options"},
      {kMenuProfileDisplayOptions, "Pr&ofile Display Options"},
      {kMenuAudioOptions, "Au&dio Options"},
      {0, ""},
      {kMenuToggleView, "Toggle &View"},
      {0, ""},
      {kMenuGpsWarningMask, "GPS &Warning Mask"},
      {kMenuCoordinatesDisplayUnits, "Coordina&tes Display Units"},
      {0, ""},
      {kMenuEnterBackgroundFiles, "Enter Bac&kground Files"},
      {kMenuRemoveBackgroundFiles, "Re&move Background Files"},
      {0, ""},
      {kMenuHideMenu, "&Hide Menu"},
  };
  for (const MenuEntry& e : common) menu.push_back(e);
  return menu;
}

LineChange QuickLineChange(int lineSequence, double currentStation, double startStation, double stationIncrement,
                           int lineDirection) {
  if (lineSequence == 1) return {startStation, startStation, stationIncrement, lineDirection};
  const int direction = (lineDirection >= 0 && lineDirection <= 3) ? 3 - lineDirection : lineDirection;
  return {currentStation, currentStation, -stationIncrement, direction};
}

}  // namespace obrix
