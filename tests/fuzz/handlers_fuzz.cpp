// Feeds lines of arbitrary bytes through the window-thread handlers while recording: position sentences, GSA
// sentences and EM38 records, in one input format and unit setting chosen by the first byte. The bins stay in
// their bounds, the speed stays a number and the count stops at its limit.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "gps/fix_state.h"
#include "gps/nmea_table.h"
#include "gps/projection.h"
#include "gps/reading_bins.h"
#include "serial/reader_state.h"
#include "settings/settings.h"
#include "state/session.h"
#include "survey/fix_handler.h"
#include "survey/reading_handler.h"

namespace {

using namespace obrix;

void Require(bool ok) {
  if (!ok) std::abort();
}

void StartRecording() {
  Sess().LoggingState = Logging;
  Sess().MapUpdatesEnabled = true;
  Readers().GpsRecordingOn = 1;
}

void Handle(std::string_view line) {
  if (!line.empty() && line[0] == 'T') OnEm38Record(line.substr(0, 12), 0u);
  else if (line.find("GSA") != std::string_view::npos) OnGpsGsa(line);
  else OnGpsSentence(line);

  const ReadingBinState& b = Bins();
  Require(b.BinCount >= 0 && b.BinCount <= kReadingBinSize);
  Require(b.LastBinCount >= -1 && b.LastBinCount < kReadingBinSize);
  Require(b.BinBuffer == 0 || b.BinBuffer == 1);
  const FixState& f = Fix();
  Require(!std::isnan(f.GpsSpeed));
  Require(f.GpsPositionCount <= f.GpsPositionLimit);
  if (f.PositionLimitExitPending) {
    Require(Sess().LoggingState == NoFile);
    Fix().PositionLimitExitPending = false;
    Fix().GpsPositionCount = 0;
    StartRecording();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  ResetSettings();
  ResetSession();
  ResetFix();
  ResetBins();
  ResetUtmZones();
  ResetReaderValues();
  Settings& s = Config();
  s.mapUnits = data[0] % 3;
  s.coordinatesDisplay = (data[0] / 3) % 4;
  s.mapColourView = 1;
  s.gpsMaskWarning = 1;
  s.gpsAudioWarning = 1;
  NmeaTab() = MakeNmeaTable((data[0] / 12) % 9, (data[0] / 108) % 2);
  PrepareFixHandling(1);
  PrepareReadingHandling();
  Fix().GpsPositionLimit = 20;
  StartRecording();

  std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  while (!rest.empty()) {
    const size_t end = rest.find('\n');
    Handle(rest.substr(0, end));
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 1);
  }
  return 0;
}
