#include "datafile/writers.h"

#include "datafile/data_file.h"
#include "datafile/records.h"
#include "em38/reading_rate.h"
#include "gps/fix_state.h"
#include "gps/projection.h"
#include "platform/ticks.h"
#include "settings/settings.h"
#include "settings/survey_inputs.h"
#include "state/session.h"

namespace obrix {

bool WriteHeaderBlock(int appendMode) {
  const Settings& s = Config();
  DataFileState& f = DataFile();
  const std::string& base = f.DataFileBaseName;
  f.LongBaseName = base.size() > 10 ? 1 : 0;
  f.BaseNameOverflow = f.LongBaseName ? base.substr(10, 10) : std::string();

  // The origin is 0 until the first valid fix has set it. The zone is the one positions are projected in
  // (the file's zone after a neighbour-zone append), -9 while it is not known.
  const FixState& fix = Fix();
  double easting = fix.MapStarted ? fix.MapOrigin.easting : 0.0;
  double northing = fix.MapStarted ? fix.MapOrigin.northing : 0.0;

  // Never a faster rate than the instrument delivers.
  const double interval =
      UsesInstrument(s) ? RecordedReadingInterval(s.readingInterval, Drv().InstrumentPeriodMs) : s.readingInterval;

  bool ok = AppendToDataFile(IdentifierRecord(s, appendMode));
  ok = AppendToDataFile(FileNameRecord(base, interval)) && ok;
  ok = AppendToDataFile(SettingsRecord(s)) && ok;
  ok = AppendToDataFile(OriginEastingRecord(easting, UtmZones().UtmZone)) && ok;
  ok = AppendToDataFile(OriginNorthingRecord(northing)) && ok;
  return ok;
}

bool WriteLineBlock() {
  const Settings& s = Config();
  const DataFileState& f = DataFile();
  bool ok = AppendToDataFile(LineRecord(s.lineName, f.LongBaseName == 1, f.BaseNameOverflow));
  ok = AppendToDataFile(StartStationRecord(s.startStation)) && ok;
  ok = AppendToDataFile(DirectionRecord(s.lineDirection, Drv().StationIncrementInUse)) && ok;
  ok = AppendToDataFile(DateRecord(LocalNow())) && ok;
  return ok;
}

bool WriteTimeMark() { return AppendToDataFile(TimeMarkRecord(LocalNow(), TickMs())); }

bool WriteStationRecord(double station) { return AppendToDataFile(StationRecord(station, LocalNow())); }

bool WriteReadingRecord(std::string_view em38Record, uint32_t receptionTick) {
  return AppendToDataFile(ReadingRecord(em38Record, receptionTick));
}

bool WriteEventRecord(std::string_view text, char kind) {
  return AppendToDataFile(EventRecord(kind, text, TickMs()));
}

bool WriteGpsSentence(std::string_view text, uint32_t tick, char firstMark, char contMark, char trailerMark,
                      char fixMark, long lineCounter) {
  if (!TickNotBefore(tick, Sess().LoggingStartTick)) return true;
  if (!DataFileIsOpen()) return false;
  return AppendToDataFile(SentenceGroup(text, tick, firstMark, contMark, trailerMark, fixMark, lineCounter));
}

bool WriteSwathRecord(char kind, int set, double v0, double v1, double v2, double v3) {
  std::string block = SwathBlock(kind, set, v0, v1, v2, v3);
  if (block.empty()) return false;
  return AppendToDataFile(block);
}

}  // namespace obrix
