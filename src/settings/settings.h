#pragma once
// The process-wide settings record, its derived values and the instrument configuration.
#include <array>
#include <cstdint>
#include <string>

#include "platform/paths.h"
#include "platform/shared_value.h"

namespace obrix {

// Instrument model of this build (EM38).
inline constexpr int InstrumentType = 3;
inline constexpr const char* kWindowTitle = "Obrix38";
inline constexpr const char* kSettingsVersion = "2.15";

// Metres per map unit for mapUnits 0..2.
inline constexpr double kMetresPerMapUnit[3] = {1.0, 0.3048, 0.304800609601219};
inline constexpr const char* kMapUnitNames[3] = {"meters", "feet", "US Survey Feet"};
// Metres per geometry entry unit for geometryUnits 0..3 (meters, centimeters, feet, inches).
inline constexpr double kMetresPerGeometryUnit[4] = {1.0, 0.01, 0.3048, 0.0254};
// Footprint width of the swath in map units for swathWidthIndex 0..7.
inline constexpr double kSwathWidths[8] = {0.25, 0.5, 1, 2, 3, 4, 5, 10};

using Colour = uint32_t;  // RGB, red in the low byte

// Settings a reader thread reads while a dialog may change them are Shared<int> (copyable atomics).
// Text fields hold native text: UTF-8 for folders (byte strings end to end) and Latin-1-representable
// text elsewhere (narrowed when written to files).
struct Settings {
  // Survey
  double readingInterval = 0.2;
  Shared<int> loggingMode = 0;
  int component = 0;
  int dipoleMode = 0;
  std::string lineName = "1";
  double lineIncrement = 1.0;
  int lineSequence = 0;
  int lineDirection = 2;
  double startStation = 0.0;
  double stationIncAuto = 1.0;
  double stationIncWheel = 0.2;
  double stationIncManual = 2.0;

  // System
  int instrumentEnabled = 1;
  int instrumentPort = 3;
  Shared<int> gpsPort = 5;
  int pauseKey = 0;
  int speedUnits = 0;
  int coordinatesDisplay = 0;
  Shared<int> audioTicks = 1;
  Shared<int> disconnectAlarm = 1;
  int sensorSize = 0;
  int modelOption = 0;

  // Geometry (offsets in metres)
  int geometryUnits = 0;
  double lateralOffset = 0.0;
  double alongOffset = 0.0;

  // GPS
  int gpsInput = 1;
  Shared<int> nmeaFormat = 1;
  Shared<int> gpsBaud = 1;
  Shared<int> gpsDataBits = 1;
  Shared<int> gpsParity = 0;
  Shared<int> gpsStopBits = 0;
  int gpsMaskWarning = 1;
  int gpsMaskQuality = 1;
  int gpsMaskSatellites = 5;
  double gpsMaskDilution = 4.0;
  int gpsAudioWarning = 1;
  int slamPseudoGga = 0;
  int rtsUnits = 0;

  // Map
  int mapUnits = 0;
  int mapSize = 40;
  int gridStyle = 0;
  double gridInterval = 2.0;
  double linesAngleDeg = -20.0;
  int cursorBandIndex = 1;
  int cursorSize = 3;
  int positionSize = 4;
  Colour cursorColour = 0x000000;
  Colour positionColour = 0xFF0000;
  int mapColourView = 3;
  int swathWidthIndex = 2;

  // Profile and scales
  std::array<Colour, 8> traceColour = {0xFF0000, 0x00FF00, 0x0000FF, 0xFF00FF,
                                       0xFF0000, 0x00FF00, 0x0000FF, 0xFF00FF};
  std::array<int, 8> traceThickness = {2, 3, 4, 1, 2, 3, 4, 1};
  int profileGridChannel = 0;
  double condScaleMin = 0.0;
  double condScaleMax = 500.0;
  double inphScaleMin = -25.0;
  double inphScaleMax = 25.0;
  double speedScaleMax = 5.0;

  // Files
  std::string dataFolder = HomeFolder();        // with a trailing "/"
  std::string backgroundFolder = HomeFolder();
  int bgFileType = 0;
  int bgPositionsStyle = 1;
  int bgCoordinatesType = 1;
  int bgEastingColumn = 0;
  int bgNorthingColumn = 1;
  int bgLabelsColumn = 2;
  int bgDelimiter = 1;
  double reservedValue = 5.0;
};

// Values derived from the settings, recomputed and never stored in the file.
struct Derived {
  int readingIntervalMs = 100;
  double StationIncrementInUse = 1.0;
  double StartStationInUse = 0.0;
  double StationValue = 0.0;         // current station of the readings
  int StationStarted = 0;            // 1 once the first reading of a line is recorded
  double AlongOffsetInUse = 0.0;     // working copy of alongOffset used during logging
  int SurveyLoggingMode = 0;         // mode chosen in Survey Setup
  int LoggingModeInUse = 0;          // mode last in use
  double SurveyStartStation = 0.0;      // start station and increment as last confirmed in Survey Setup,
  double SurveyStationIncrement = 1.0;  // taken from the stored values when the settings file is loaded
  double InstrumentPeriodMs = 55.078211059704785;
  Shared<int> ReadingsPerInterval = 4;
  int InstrumentBaudIndex = 0;
  int CursorHalfSize = 6;
  int CursorBandPx = 0;
  int MapPaneWidth = 0;              // map pane width in pixels, 0 until the logging screen is laid out
  double SwathLeft = 0.0;
  double SwathRight = 0.0;
  int ProfileChannelCount = 0;
  bool EnableFileAtFirstFix = false;
  bool UptimeWarning = false;
};

Settings& Config();
Derived& Drv();

// Restores defaults (not the start-up values) for tests.
void ResetSettings();

// The start-up values applied before the settings file is read.
void ApplyStartupValues();

// trunc(readingInterval * 1000 / InstrumentPeriodMs + 0.5), at least 1.
int ComputeReadingsPerInterval(double readingInterval, double instrumentPeriodMs);
void UpdateReadingsPerInterval();

struct SwathEdges {
  double left;
  double right;
};
// Swath edges in the units of `lateralOffset`: w = swath width, left = 0.5w + offset, right = w - left.
// `lateralOffsetMapUnits` is the lateral offset converted to map units.
SwathEdges ComputeSwathEdges(int swathWidthIndex, double lateralOffsetMapUnits);
// Recomputes SwathLeft/SwathRight from the settings (offset converted to map units).
void UpdateSwathEdges();

// Map-unit conversions for mapUnits.
double MetresPerMapUnit(int mapUnits);
inline double MetresToMapUnits(double metres, int mapUnits) { return metres / MetresPerMapUnit(mapUnits); }
inline double MapUnitsToMetres(double units, int mapUnits) { return units * MetresPerMapUnit(mapUnits); }

// Station increment stored for a logging mode (0 auto, 1 wheel, 2 manual).
double StoredStationIncrement(const Settings& s, int mode);
// CursorHalfSize for cursorSize: size + 3 for 0..4, 9 for 5.
int CursorHalfSizeFor(int cursorSize);
// (cursorBandIndex * 5 + 10) percent of the map pane width, truncated.
int CursorBandPixels(int cursorBandIndex, int mapPaneWidth);

}  // namespace obrix
