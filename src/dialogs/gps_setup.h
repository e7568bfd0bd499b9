#pragma once
// GPS Port Setup: GPS input, NMEA data, serial line of the GPS port, total-station options and the GPS
// warning mask.
#include <string>

namespace obrix {

inline constexpr const char* kBaudEntries[6] = {"4800", "9600", "19200", "38400", "57600", "115200"};
inline constexpr const char* kParityEntries[3] = {"No", "Even", "Odd"};
inline constexpr const char* kDataBitsEntries[2] = {"7", "8"};
inline constexpr const char* kStopBitsEntries[2] = {"1", "2"};
inline constexpr const char* kRtsUnitEntries[2] = {"meters or feet", "US Survey Feet"};
inline constexpr const char* kMaskQualityEntries[5] = {"Raw (AGPS)", "DGPS", "RTK 3", "RTK 4", "RTK 5"};
inline constexpr int kMaskSatellitesMin = 3;
inline constexpr int kMaskSatellitesCount = 10;  // "3" .. "12"

inline constexpr const char* kGpsMaskNote =
    "If any of above not met then GPS circle indicator will blink in red and audio warning sound if enabled";

// The controls that follow the NMEA Data choice.
struct GpsDependents {
  bool maskEnabled = true;         // Warning, Quality, dilution and Satellites controls
  const char* warningLabel = "";   // 1255
  const char* qualityLabel = "";   // 1240
  const char* satellitesLabel = "";  // 1241
  const char* dilutionLabel = "";  // 1254
  bool totalStationEnabled = false;  // SLAM check box, RTS Units list and its label
};
// `afterChange` is false when the dialog opens and true when the NMEA Data list changes.
GpsDependents GpsDependentsFor(int nmeaFormat, bool afterChange);

struct GpsForm {
  int gpsInput = 0;
  int nmeaFormat = 0;
  int gpsPort = 0;
  int gpsBaud = 0;
  int gpsParity = 0;
  int gpsDataBits = 0;
  int gpsStopBits = 0;
  bool slamPseudoGga = false;
  bool hasSlamOption = true;  // false for the narrow template, which keeps the stored SLAM value
  int rtsUnits = 0;
  int maskWarning = 0;
  int maskQuality = 0;
  std::string maskDilution;   // "%.1f"
  int maskSatellitesIndex = 0;  // gpsMaskSatellites - 3
  bool audioWarning = false;
};

GpsForm OpenGpsForm();
// OK: every setting takes its field (the dilution 0 when not a number, unchanged text keeps the stored
// value), the map-visible flag follows gpsInput, and the settings file is saved.
void ApplyGpsForm(const GpsForm& form, const GpsForm& opened);

}  // namespace obrix
