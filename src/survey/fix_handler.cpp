#include "survey/fix_handler.h"

#include <cmath>

#include "datafile/data_file.h"
#include "gps/coord_text.h"
#include "gps/fix_position.h"
#include "gps/fix_state.h"
#include "gps/nmea_decode.h"
#include "gps/projection.h"
#include "gps/reading_bins.h"
#include "gps/speed_units.h"
#include "platform/sound.h"
#include "serial/em38_reader.h"
#include "serial/gps_reader.h"
#include "serial/reader_state.h"
#include "settings/settings.h"
#include "settings/survey_inputs.h"
#include "state/session.h"
#include "survey/screen_sink.h"

namespace obrix {
namespace {

constexpr double kSecondsPerDay = 86400.0;

CurrentFixValues DecodedValues(const FixState& f) {
  CurrentFixValues v;
  v.FixValid = f.FixValid;
  v.FixSatellites = f.FixSatellites;
  v.FixQuality = f.FixQuality;
  v.FixDop = f.FixDop;
  v.SatellitesReported = f.SatellitesReported;
  return v;
}

void StoreDecodedValues(FixState& f, const CurrentFixValues& v) {
  f.FixValid = v.FixValid;
  f.FixSatellites = v.FixSatellites;
  f.FixQuality = v.FixQuality;
  f.FixDop = v.FixDop;
  f.SatellitesReported = v.SatellitesReported;
}

}  // namespace

bool GpsMaskMet(const Settings& s, int nmeaFormat, int satellites, int quality, double dop,
                bool satellitesReported) {
  if (s.gpsMaskWarning == 0) return true;
  if (nmeaFormat == 5 || nmeaFormat == 7 || nmeaFormat == 8) return true;
  return (!satellitesReported || satellites >= s.gpsMaskSatellites) && dop <= s.gpsMaskDilution &&
         static_cast<long long>(quality) >= static_cast<long long>(s.gpsMaskQuality) + 1;
}

double FixTimeStep(double previous, double current) {
  double step = current - previous;
  if (step < 0) step += kSecondsPerDay;
  return step;
}

void PrepareFixHandling(int gpsInput) {
  FixState& f = Fix();
  f.FixDop = -2.0;
  f.PositionLimitExitPending = false;
  if (gpsInput == 1) f.MapStarted = 0;
  Bins().BinPhase = 0;
}

int OnGpsSentence(std::string_view sentence) {
  const Settings& s = Config();
  Session& sess = Sess();
  FixState& f = Fix();
  LoggingScreenSink& screen = ScreenSink();

  // 1 and 2. Decoding, with the readouts of the decoded fields, and the position in map units.
  const FixPosition p =
      LocateFix(sentence, DecodedValues(f), NmeaTab(), FixDecodeOptionsFromConfig(), UtmZones(), s.mapUnits);
  const FixDecode& d = p.decode;
  StoreDecodedValues(f, d.fix);
  FixScreenReadouts readouts;
  readouts.decoded = d.readouts;
  const double easting = p.easting, northing = p.northing;
  if (p.projected && s.coordinatesDisplay != 0) {
    readouts.decoded.north.written = readouts.decoded.east.written = true;
    FormatUtmReadout(readouts.decoded.north.text, p.utm.northing, s.coordinatesDisplay);
    FormatUtmReadout(readouts.decoded.east.text, p.utm.easting, s.coordinatesDisplay);
    readouts.zone.Set(ZoneReadout(p.zone));
  }

  // 3. Indicator and warning cue.
  f.GpsIndicatorPhase = f.GpsIndicatorPhase == '/' ? '\\' : '/';
  const bool maskMet =
      GpsMaskMet(s, NmeaTab().nmeaFormat, f.FixSatellites, f.FixQuality, f.FixDop, f.SatellitesReported);
  if (!maskMet && Readers().GpsLinkBroken == 0 && s.gpsAudioWarning == 1) Sounds().PlayCue(kSoundGpsWarning);

  // 4. A later fix: distance and speed.
  double distance = 0.0;
  bool speedShown = false;
  double shownSpeed = 0.0;
  if (f.FixValid && f.MapStarted == 1) {
    f.FixEasting = easting;
    f.FixNorthing = northing;
    distance = std::hypot(f.FixEasting - f.PrevEasting, f.FixNorthing - f.PrevNorthing);
    f.FixTime = d.fixTime;
    const double step = FixTimeStep(f.PrevFixTime, f.FixTime);
    if (step > 0 && std::isfinite(step)) {
      const double speed = distance / step;
      if (std::isfinite(speed)) f.GpsSpeed = speed;
    }
    readouts.speed.Set(SpeedReadout(f.GpsSpeed, s.speedUnits, s.mapUnits));
    shownSpeed = ShownSpeed(f.GpsSpeed, s.speedUnits, s.mapUnits);
    speedShown = true;
    f.PrevFixTime = f.FixTime;
    f.PrevEasting = f.FixEasting;
    f.PrevNorthing = f.FixNorthing;
  }

  // 5. The first fix: the origin.
  bool firstFix = false;
  if (f.FixValid && f.MapStarted == 0) {
    firstFix = true;
    f.MapOrigin = {easting, northing};
    f.TrackExtent = {easting, easting, northing, northing};
    f.FixEasting = f.PrevEasting = easting;
    f.FixNorthing = f.PrevNorthing = northing;
    f.FixTime = f.PrevFixTime = d.fixTime;
    f.MapStarted = 1;
  }

  // 7 (counted before the drawing so the readouts go out together). Counting while recording.
  bool limitReached = false;
  if (sess.LoggingState == Logging) {
    if (Readers().GpsRecordingOn == 1) ++f.GpsPositionCount;
    ReadoutText count;
    count.AppendInt(f.GpsPositionCount, 5);
    readouts.positions.Set(count.view());
    limitReached = f.GpsPositionCount >= f.GpsPositionLimit;
  }

  screen.ShowFixReadouts(readouts);
  screen.DrawGpsIndicator(f.GpsIndicatorPhase, maskMet);
  if (speedShown) screen.ShowSpeedOnBar(shownSpeed);
  if (firstFix) {
    if (Drv().EnableFileAtFirstFix) screen.EnableFileButtons();
    screen.UpdateMapPosition(sess.LoggingState, northing, easting, 0.0);
  }

  // 6. Bins and map.
  if (f.FixValid && sess.MapUpdatesEnabled) {
    if (s.mapColourView >= 1) AdvanceBinsAtFix(sess.LoggingState);
    if (!sess.ReviewMode) screen.UpdateMapPosition(sess.LoggingState, northing, easting, distance);
  }

  // 7. The position limit: recording stops here; the readers are stopped once this handler has returned.
  if (limitReached) {
    sess.LoggingState = NoFile;
    sess.MapUpdatesEnabled = false;
    f.PositionLimitExitPending = true;
    screen.RequestPositionLimitExit();
  }
  return 0;
}

int OnGpsGsa(std::string_view sentence) {
  FixState& f = Fix();
  const GsaDecode g = DecodeGsaDop(sentence, f.FixDop);
  f.FixDop = g.FixDop;
  ScreenSink().ShowDopReadout(g.readout);
  return 0;
}

PositionLimitText PositionLimitMessage() {
  return {"INFORMATION",
          "Maximum number of GPS positions reached.\r\nCurrent data file is saved.\r\n"
          "Please press OK and restart the program."};
}

void StopForPositionLimit() {
  StopGpsReader();
  if (UsesInstrument(Config())) StopEm38Reader();
  CloseDataFile();
  Fix().PositionLimitExitPending = false;
}

}  // namespace obrix
