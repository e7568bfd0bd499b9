#include "survey/reading_handler.h"

#include "datafile/writers.h"
#include "gps/reading_bins.h"
#include "platform/ticks.h"
#include "settings/settings.h"
#include "state/colour_scale.h"
#include "state/palette.h"
#include "state/session.h"
#include "survey/pane_scales.h"

namespace obrix {
namespace {

// Conductivity for channels 0 and 1, inphase for 2 and 3.
bool RecordIsConductivity(const Em38Reading& r) { return r.channel == kCondVertical || r.channel == kCondHorizontal; }

bool ComponentMatches(const Em38Reading& r, int component) {
  return RecordIsConductivity(r) ? component == 0 : component == 1;
}

}  // namespace

void PrepareReadingHandling() {
  const Settings& s = Config();
  Session& sess = Sess();
  sess.SelectedChannel = 2 * s.component + s.dipoleMode;
  sess.ExpectedDipole = s.dipoleMode == 0 ? 'V' : 'H';
}

InstrumentReadout MakeInstrumentReadout(const Em38Reading& reading, bool recording, int component,
                                        char expectedDipole) {
  InstrumentReadout out;
  out.dipole = ReadoutText(reading.dipole == 'V' ? "Dipole: Vertical" : "Dipole: Horiz.");
  out.gain.Append("Gain: ");
  out.gain.AppendInt(reading.range, 5);
  out.value.Append(RecordIsConductivity(reading) ? "C: " : "I:  ");
  out.value.AppendFixed(reading.value, 2, 8);
  const bool componentMatches = ComponentMatches(reading, component);
  if (recording) out.background = componentMatches ? ReadoutBackground::Normal : ReadoutBackground::Warning;
  else out.background = ReadoutBackground::Idle;
  out.dipoleWarning = reading.dipole != expectedDipole;
  out.componentWarning = !componentMatches;
  return out;
}

InstrumentReadout LostInstrumentReadout() {
  InstrumentReadout out;
  out.dipole = ReadoutText(kInstrumentLostLines[0]);
  out.gain = ReadoutText(kInstrumentLostLines[1]);
  out.background = ReadoutBackground::Warning;
  return out;
}

void OnEm38LinkLost() {
  LoggingScreenSink& screen = ScreenSink();
  screen.ShowInstrumentReadout(LostInstrumentReadout());
  screen.ShowMarker(ReadoutText(" "));
}

ReadoutText RecordedTimeText(uint32_t ms) {
  const uint32_t seconds = ms / 1000u;
  ReadoutText t;
  t.AppendInt(static_cast<int>(seconds / 3600u), 2, false, true);
  t.Append(":");
  t.AppendInt(static_cast<int>(seconds / 60u % 60u), 2, false, true);
  t.Append(":");
  t.AppendInt(static_cast<int>(seconds % 60u), 2, false, true);
  return t;
}

int OnEm38Record(std::string_view record, uint32_t receptionTick) {
  const Settings& s = Config();
  Session& sess = Sess();
  Derived& drv = Drv();
  LoggingScreenSink& screen = ScreenSink();

  const Em38Reading reading = DecodeEm38Record(record);
  const ChannelState& ch = Channels();
  const DisplayPixels pixels = ToDisplayPixels(std::span<const double, kProfileChannels>(ch.ChannelValue));
  // A record received before the start of logging is shown but not recorded (ticks compared modulo 2^32).
  const bool recording = sess.LoggingState == Logging && TickNotBefore(receptionTick, sess.LoggingStartTick);

  if (recording) {
    if (Bins().BinsCollecting == 1) {
      BinReading(reading.channel != sess.SelectedChannel ? kOtherChannelColour : ColourIndexOf(reading.value));
    }
    WriteReadingRecord(record, receptionTick);
    if (drv.StationStarted == 1) drv.StationValue += drv.StationIncrementInUse;
    drv.StationStarted = 1;
    ++sess.LineReadingCount;
    ++sess.TotalReadingCount;
    sess.RecordedTime = sess.RecordedTimeBefore + TickDiff(TickMs(), sess.RecordingStartTick);

    ReadingReadouts counters;
    counters.station.AppendFixed(drv.StationValue, 2, 11, true);
    counters.totalReadings.AppendInt(sess.TotalReadingCount, 7, true);
    counters.recordedTime = RecordedTimeText(sess.RecordedTime);
    screen.ShowReadingReadouts(counters);
    screen.ScrollProfile(pixels, std::span<const int, kProfileChannels>(ch.ChannelPresent));
  }

  screen.ShowInstrumentReadout(MakeInstrumentReadout(reading, recording, s.component, sess.ExpectedDipole));
  screen.UpdateBars(pixels);
  screen.ShowMarker(ReadoutText(reading.marker == 'M' ? "Marker" : " "));
  return 0;
}

}  // namespace obrix
