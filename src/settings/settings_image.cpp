#include "settings/settings_image.h"

#include <cstdint>
#include <variant>

#include "platform/numbers.h"
#include "platform/text.h"
#include "settings/settings.h"
#include "settings/settings_file.h"
#include "settings/survey_inputs.h"

namespace obrix {
namespace {

struct FolderRef {
  std::string* text;
};
struct NameRef {
  std::string* text;
};
using FieldRef = std::variant<int*, Shared<int>*, Colour*, double*, FolderRef, NameRef>;
using Accessor = FieldRef (*)(Settings&);

#define OBRIX_FIELD(expr) [](Settings& s) -> FieldRef { return expr; }

// Lines 2..83 in file order.
const Accessor kValueLines[kSettingsLineCount - 1] = {
    OBRIX_FIELD(FolderRef{&s.dataFolder}),        // 2
    OBRIX_FIELD(FolderRef{&s.backgroundFolder}),  // 3
    OBRIX_FIELD(&s.instrumentEnabled),            // 4
    OBRIX_FIELD(&s.sensorSize),
    OBRIX_FIELD(&s.mapUnits),
    OBRIX_FIELD(&s.speedUnits),
    OBRIX_FIELD(&s.instrumentPort),
    OBRIX_FIELD(&s.audioTicks),
    OBRIX_FIELD(&s.disconnectAlarm),  // 10
    OBRIX_FIELD(&s.gpsAudioWarning),
    OBRIX_FIELD(&s.pauseKey),
    OBRIX_FIELD(&s.mapColourView),
    OBRIX_FIELD(&s.modelOption),
    OBRIX_FIELD(&s.traceThickness[0]),  // 15
    OBRIX_FIELD(&s.traceThickness[1]),
    OBRIX_FIELD(&s.traceThickness[2]),
    OBRIX_FIELD(&s.traceThickness[3]),
    OBRIX_FIELD(&s.traceThickness[4]),
    OBRIX_FIELD(&s.traceThickness[5]),  // 20
    OBRIX_FIELD(&s.traceThickness[6]),
    OBRIX_FIELD(&s.traceThickness[7]),
    OBRIX_FIELD(&s.traceColour[0]),  // 23
    OBRIX_FIELD(&s.traceColour[1]),
    OBRIX_FIELD(&s.traceColour[2]),  // 25
    OBRIX_FIELD(&s.traceColour[3]),
    OBRIX_FIELD(&s.traceColour[4]),
    OBRIX_FIELD(&s.traceColour[5]),
    OBRIX_FIELD(&s.traceColour[6]),
    OBRIX_FIELD(&s.traceColour[7]),  // 30
    OBRIX_FIELD(&s.profileGridChannel),
    OBRIX_FIELD(&s.condScaleMin),
    OBRIX_FIELD(&s.condScaleMax),
    OBRIX_FIELD(&s.inphScaleMin),
    OBRIX_FIELD(&s.inphScaleMax),  // 35
    OBRIX_FIELD(&s.gpsInput),
    OBRIX_FIELD(&s.nmeaFormat),
    OBRIX_FIELD(&s.gpsPort),
    OBRIX_FIELD(&s.gpsBaud),
    OBRIX_FIELD(&s.gpsDataBits),  // 40
    OBRIX_FIELD(&s.gpsParity),
    OBRIX_FIELD(&s.gpsStopBits),
    OBRIX_FIELD(&s.speedScaleMax),
    OBRIX_FIELD(&s.geometryUnits),
    OBRIX_FIELD(&s.lateralOffset),  // 45
    OBRIX_FIELD(&s.alongOffset),
    OBRIX_FIELD(&s.loggingMode),
    OBRIX_FIELD(&s.component),
    OBRIX_FIELD(&s.dipoleMode),
    OBRIX_FIELD(&s.swathWidthIndex),  // 50
    OBRIX_FIELD(&s.stationIncAuto),
    OBRIX_FIELD(&s.stationIncWheel),
    OBRIX_FIELD(&s.stationIncManual),
    OBRIX_FIELD(&s.readingInterval),
    OBRIX_FIELD(NameRef{&s.lineName}),  // 55
    OBRIX_FIELD(&s.lineIncrement),
    OBRIX_FIELD(&s.lineSequence),
    OBRIX_FIELD(&s.lineDirection),
    OBRIX_FIELD(&s.startStation),
    OBRIX_FIELD(&s.cursorSize),  // 60
    OBRIX_FIELD(&s.positionSize),
    OBRIX_FIELD(&s.cursorColour),
    OBRIX_FIELD(&s.positionColour),
    OBRIX_FIELD(&s.gridInterval),
    OBRIX_FIELD(&s.mapSize),  // 65
    OBRIX_FIELD(&s.gridStyle),
    OBRIX_FIELD(&s.linesAngleDeg),
    OBRIX_FIELD(&s.cursorBandIndex),
    OBRIX_FIELD(&s.coordinatesDisplay),
    OBRIX_FIELD(&s.gpsMaskWarning),  // 70
    OBRIX_FIELD(&s.gpsMaskQuality),
    OBRIX_FIELD(&s.gpsMaskSatellites),
    OBRIX_FIELD(&s.gpsMaskDilution),
    OBRIX_FIELD(&s.reservedValue),
    OBRIX_FIELD(&s.bgFileType),  // 75
    OBRIX_FIELD(&s.bgPositionsStyle),
    OBRIX_FIELD(&s.bgCoordinatesType),
    OBRIX_FIELD(&s.bgEastingColumn),
    OBRIX_FIELD(&s.bgNorthingColumn),
    OBRIX_FIELD(&s.bgLabelsColumn),  // 80
    OBRIX_FIELD(&s.bgDelimiter),
    OBRIX_FIELD(&s.slamPseudoGga),
    OBRIX_FIELD(&s.rtsUnits),  // 83
};

#undef OBRIX_FIELD

// A text value ends at its first LF or NUL: an LF would shift every later line of the file.
std::string_view LineSafe(const std::string& text) {
  std::string_view v(text);
  return v.substr(0, v.find_first_of(std::string_view("\n\0", 2)));
}

std::string_view UpToNul(const std::string& text) {
  std::string_view v(text);
  return v.substr(0, v.find('\0'));
}

struct Writer {
  std::string& out;
  void operator()(int* v) { out += FormatC("%d\r\n", *v); }
  void operator()(Shared<int>* v) { out += FormatC("%d\r\n", v->load()); }
  // Colours are 32-bit values written as a signed 32-bit "%ld".
  void operator()(Colour* v) { out += FormatC("%ld\r\n", static_cast<long>(static_cast<int32_t>(*v))); }
  void operator()(double* v) { out += FormatC("%f\r\n", *v); }
  void operator()(FolderRef f) {
    out += LineSafe(*f.text);
    out += "\r\n";
  }
  void operator()(NameRef n) {
    out += NarrowLatin1(LineSafe(*n.text), kLineNameMaxChars);
    out += "\r\n";
  }
};

struct Reader {
  const SettingsLine& line;
  void operator()(int* v) { *v = ParseIntC(line.text); }
  void operator()(Shared<int>* v) { *v = ParseIntC(line.text); }
  void operator()(Colour* v) { *v = static_cast<Colour>(static_cast<uint32_t>(ParseIntC(line.text))); }
  void operator()(double* v) { *v = ParseRealC(line.text); }
  // A folder line cut by the line limit would name another folder: keep the current one instead.
  void operator()(FolderRef f) {
    if (!line.overlong) *f.text = std::string(UpToNul(line.text));
  }
  void operator()(NameRef n) { *n.text = WidenLatin1(UpToNul(line.text).substr(0, kLineNameMaxChars)); }
};

// The derivations that follow a line while loading.
void AfterLine(int line) {
  Settings& s = Config();
  Derived& d = Drv();
  switch (line) {
    case 13:
      if (!UsesInstrument(s)) s.mapColourView = 0;
      break;
    case 35:
      if (OnScaleLimitsLoaded) OnScaleLimitsLoaded();
      break;
    case 46:
      d.AlongOffsetInUse = s.alongOffset;
      break;
    case 47:
      d.SurveyLoggingMode = s.loggingMode;
      d.LoggingModeInUse = s.loggingMode;
      break;
    case 54:
      d.readingIntervalMs = TruncToInt(s.readingInterval * 1000.0);
      UpdateReadingsPerInterval();
      break;
    case 59:
      d.StartStationInUse = s.startStation;
      d.StationIncrementInUse = StoredStationIncrement(s, s.loggingMode);
      d.SurveyStartStation = s.startStation;
      d.SurveyStationIncrement = s.stationIncAuto;
      break;
    case 60:
      d.CursorHalfSize = CursorHalfSizeFor(s.cursorSize);
      break;
    case 68:
      d.CursorBandPx = CursorBandPixels(s.cursorBandIndex, d.MapPaneWidth);
      break;
    case 83:
      UpdateSwathEdges();
      break;
    default:
      break;
  }
}

}  // namespace

std::function<int(int)> MapSizeForFile;

std::string SettingsImage() {
  std::string out;
  out.reserve(1024);
  out += kSettingsVersionLine;
  out += "\r\n";
  Settings& s = Config();
  const int inForce = s.mapSize;
  if (MapSizeForFile) s.mapSize = MapSizeForFile(inForce);
  for (Accessor field : kValueLines) std::visit(Writer{out}, field(s));
  s.mapSize = inForce;
  return out;
}

bool IsCurrentVersionLine(const SettingsLine& first) {
  return !first.overlong && first.text.size() < 20 && first.text == kSettingsVersionLine;
}

void ApplySettingsLines(const std::vector<SettingsLine>& values) {
  Settings& s = Config();
  for (int line = 2; line <= kSettingsLineCount; ++line) {
    size_t index = static_cast<size_t>(line - 2);
    if (index < values.size()) std::visit(Reader{values[index]}, kValueLines[index](s));
    AfterLine(line);
  }
}

}  // namespace obrix
