#include "datafile/append_check.h"

#include <cmath>
#include <cstdlib>
#include <optional>
#include <unistd.h>

#include "datafile/data_file.h"
#include "datafile/record_reader.h"
#include "gps/fix_state.h"
#include "gps/projection.h"
#include "platform/numbers.h"
#include "settings/settings.h"

namespace obrix {
namespace {

constexpr const char* kNmeaKindNames[9] = {"GGA/GSA", "GGA",        "POS",       "LLK",       "LLQ",
                                           "GLL",     "GGK",        "Pseudo GGA", "Pseudo GLL"};
constexpr const char* kAdjust = "Please adjust the configuration. ";
constexpr const char* kWillClose = "The file will be closed.";

const char* NmeaKindName(int kind) { return kind >= 0 && kind < 9 ? kNmeaKindNames[kind] : ""; }

const char* UnitsName(int units) {
  switch (units) {
    case 0: return " Meters";
    case 1: return " Feet";
    case 2: return " US Survey Feet";
    default: return "";
  }
}

const char* DipoleName(int dipole) { return dipole == 0 ? "Vertical" : "Horizontal"; }

const char* ModelName(int model) {
  switch (model) {
    case 0: return "EM38-MK2";
    case 1: return "EM38-MK2-1";
    default: return "";
  }
}

AppendVerdict Refuse(std::string text) {
  AppendVerdict v;
  v.result = 1;
  v.message = std::move(text);
  return v;
}

AppendVerdict RecordRefusal(int number) {
  return Refuse(FormatC("%s\r\n%s\r\n%s", "Invalid File Format.",
                        FormatC("File Record # %d invalid.", number).c_str(), kWillClose));
}

// An offset in whole millimetres as the header stores it ("%7.3f"); nullopt when it is not a finite number.
std::optional<long long> OffsetMillimetres(double metres) {
  if (!std::isfinite(metres) || std::fabs(metres) > 1e12) return std::nullopt;
  return std::llround(ParseRealC(FormatC("%.3f", metres)) * 1000.0);
}

// Offsets at least 10 mm apart (or not numbers) refuse the append.
bool OffsetsDiffer(double fileMetres, double settingMetres) {
  const auto a = OffsetMillimetres(fileMetres), b = OffsetMillimetres(settingMetres);
  return !a || !b || std::llabs(*a - *b) >= 10;
}

// The character at `offset` of a record, as a digit value (character - '0').
int Digit(const DataRecord& r, int offset) { return static_cast<unsigned char>(r.at(offset)) - '0'; }

}  // namespace

int ZoneStep(int fileZone, int zoneInUse, int nmeaFormat) {
  if (nmeaFormat == 3 || nmeaFormat == 4 || nmeaFormat == 7) return 0;  // grid positions carry no zone
  if (fileZone <= 0 || fileZone == zoneInUse) return 0;
  if (fileZone > 60) return -1;  // not a zone: never taken over
  if (fileZone == 1) return zoneInUse == 2 || zoneInUse == 60 ? 1 : -1;
  if (fileZone == 60) return zoneInUse == 1 || zoneInUse == 59 ? 1 : -1;
  return fileZone - zoneInUse == 1 || zoneInUse - fileZone == 1 ? 1 : -1;
}

AppendVerdict EvaluateAppend(std::string_view head, const AppendInputs& in) {
  DataRecord rec[4];
  int whole = 0;
  for (int i = 0; i < 4 && head.size() >= static_cast<size_t>((i + 1) * RecordLength); ++i, ++whole)
    rec[i] = DataRecord::From(head.substr(static_cast<size_t>(i * RecordLength), RecordLength));

  // 1-3: identifier record.
  if (whole < 1) return RecordRefusal(1);
  const DataRecord& id = rec[0];
  if (Digit(id, 9) < 2)
    return Refuse(FormatC("%s\r\n%s\r\n%s", "Append file option is not avaiable",
                          "for files created with Version 1.xx", kWillClose));
  int fileUnits = Digit(id, 15);
  int fileDipole = Digit(id, 16);
  int fileModel = Digit(id, 19);
  int fileInstrument = Digit(id, 21);
  if (fileInstrument != in.instrumentEnabled) {
    if (in.instrumentEnabled == 1)
      return Refuse(FormatC(" %s\r\n %s\r\n %s", "EM38-MK2 State in the file: DISABLED",
                            "EM38-MK2 State  Selected: ENABLED", kAdjust));
    return Refuse(FormatC(" %s\r\n %s\r\n %s", "EM31-MK2 State in the file: ENABLED",
                          "EM31-MK2 State  Selected: DISABLED", kAdjust));
  }

  // 4-6: file-name, settings and origin-easting records.
  if (whole < 2 || rec[1].kind() != 'H') return RecordRefusal(2);
  if (whole < 3 || rec[2].kind() != 'G') return RecordRefusal(3);
  const DataRecord& settings = rec[2];
  double fileLateral = FieldNumber(settings, 1, 7);
  double fileAlong = FieldNumber(settings, 8, 7);
  int fileNmea = settings.at(17) == 'A' ? 8 : Digit(settings, 19);
  int fileGps = Digit(settings, 20);
  if (whole < 4 || rec[3].kind() != 'G') return RecordRefusal(4);
  int fileZone = FieldInt(rec[3], 16, 2);

  // 7: instrument configuration.
  if (in.instrumentEnabled == 1) {
    if (fileDipole != in.dipoleMode)
      return Refuse(FormatC(" %s %s\r\n %s %s\r\n %s", "Component in the file:", DipoleName(fileDipole),
                            "Selected   Component:", DipoleName(in.dipoleMode), kAdjust));
    if (fileModel != 0)
      return Refuse(FormatC(" %s %s\r\n %s %s\r\n %s", "EM38-MK2 Type in the file:", ModelName(fileModel),
                            "Selected  EM38-MK2  Type:", "EM38-MK2", kAdjust));
  }

  // 8: GPS state; without GPS nothing of the map is compared.
  if (in.gpsInput == 0) {
    if (fileGps != 0)
      return Refuse(FormatC(" %s\r\n %s\r\n %s", "GPS state in the file: ENABLED", "Selected GPS state: DISABLED",
                            kAdjust));
    return {};
  }
  if (fileGps == 0)
    return Refuse(FormatC(" %s\r\n %s\r\n %s", "GPS state in the file: DISABLED", "Selected GPS state: ENABLED",
                          kAdjust));

  // 9-12: position, units, offsets, NMEA kind.
  if (in.mapStarted == 0)
    return Refuse(FormatC("%s\r\n%s\r\n%s", "Valid GPS position must be", "received to append file.",
                          "Check settings and GPS performance."));
  if (fileUnits != in.mapUnits)
    return Refuse(FormatC(" %s %s\r\n  %s", "Map units in the file:", UnitsName(fileUnits),
                          "Select the same units in the program"));
  if (in.instrumentEnabled == 1 &&
      (OffsetsDiffer(fileLateral, in.lateralOffset) || OffsetsDiffer(fileAlong, in.alongOffset)))
    return Refuse(FormatC(" %s\r\n  %s\r\n%s\r\n  %s\r\n%s", "GPS antenna offsets in the file:",
                          FormatC("X=%.2f Y=%.2f", fileLateral, fileAlong).c_str(), "GPS antenna offsets specified:",
                          FormatC("X=%.2f Y=%.2f", in.lateralOffset, in.alongOffset).c_str(),
                          "Please adjust offsets or create the new data file."));
  if (fileNmea != in.nmeaFormat)
    return Refuse(FormatC("%s%s\r\n%s%s\r\n%s%s\r\n%s", "GPS NMEA Data in the file:", NmeaKindName(fileNmea),
                          "Selected in the program:", NmeaKindName(in.nmeaFormat), "Please select",
                          NmeaKindName(fileNmea), "to append file."));

  // 13-15: zone.
  int step = ZoneStep(fileZone, in.utmZoneInUse, in.nmeaFormat);
  if (step < 0)
    return Refuse(FormatC("%s\r\n%s\r\n%s\r\n%s", "Distance between gps current position and position",
                          "in the file is greater than 6 degrees longitude.",
                          "Therefore the program cannot append this file.", kWillClose));
  AppendVerdict pass;
  pass.zoneStep = step;
  pass.fileZone = fileZone;
  return pass;
}

std::string IncompleteRecordText(long bytes) {
  return FormatC("%s\r\n%ld %s\r\n%s", "The last record of the file is incomplete.",
                 bytes, bytes == 1 ? "byte is dropped" : "bytes are dropped",
                 "before the survey is added.");
}

AppendInputs CurrentAppendInputs() {
  const Settings& s = Config();
  AppendInputs in;
  in.instrumentEnabled = s.instrumentEnabled;
  in.dipoleMode = s.dipoleMode;
  in.gpsInput = s.gpsInput;
  in.mapUnits = s.mapUnits;
  in.lateralOffset = s.lateralOffset;
  in.alongOffset = Drv().AlongOffsetInUse;
  in.nmeaFormat = s.nmeaFormat;
  in.mapStarted = Fix().MapStarted;
  in.utmZoneInUse = UtmZones().UtmZoneInUse;
  return in;
}

int RunAppendCheck(std::string& message) {
  message.clear();
  std::string head(4 * RecordLength, '\0');
  size_t got = 0;
  int fd = DataFile().DataFileHandle;
  while (fd >= 0 && got < head.size()) {
    ssize_t n = ::pread(fd, head.data() + got, head.size() - got, static_cast<off_t>(got));
    if (n <= 0) break;  // end of file or an unreadable file: judged on what was read
    got += static_cast<size_t>(n);
  }
  head.resize(got);
  AppendVerdict v = EvaluateAppend(head, CurrentAppendInputs());
  if (v.result != 0) {
    CloseDataFile();
    message = v.message;
    return 1;
  }
  if (v.zoneStep == 1) {
    // Continue the file's map: its zone from now on, and the origin projected again in it.
    UtmZoneState& z = UtmZones();
    z.UtmZone = v.fileZone;
    int zone = v.fileZone;
    UtmCoordinates m = GeoToUtm(z.ZoneFixLatitude, z.ZoneFixLongitude, zone, 1);
    int units = Config().mapUnits;
    Fix().MapOrigin.northing = MetresToMapUnits(m.northing, units);
    Fix().MapOrigin.easting = MetresToMapUnits(m.easting, units);
  }
  return 0;
}

}  // namespace obrix
