// The position-sentence handler against the process-wide state: origin, mask and cue, speed, zone, bins, the
// position limit and the GSA dilution.
#include "survey/fix_handler.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "datafile/data_file.h"
#include "gps/fix_state.h"
#include "gps/nmea_table.h"
#include "gps/projection.h"
#include "gps/reading_bins.h"
#include "platform/sound.h"
#include "serial/reader_state.h"
#include "settings/settings.h"
#include "state/session.h"
#include "survey/recording_screen_sink.h"
#include "test_support.h"

namespace obrix {
namespace {

// A GGA sentence (the handler does not check checksums; the reader does).
std::string Gga(const std::string& time, const std::string& lat, char ns, const std::string& lon, char ew,
                int quality = 2, int satellites = 9, const std::string& hdop = "1.0") {
  return "$GPGGA," + time + "," + lat + "," + ns + "," + lon + "," + ew + "," + std::to_string(quality) + "," +
         std::to_string(satellites) + "," + hdop + ",142.5,M,-35.4,M,,*00";
}
// A pseudo-GGA of a total station: grid northing and easting in metres.
std::string PseudoGga(const std::string& time, double northing, double easting) {
  return "$GPGGA," + time + "," + std::to_string(northing) + ",N," + std::to_string(easting) + ",E,1,05,,M,,*00";
}

class FixHandlerTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetSession();
    ResetFix();
    ResetBins();
    ResetUtmZones();
    ResetReaderValues();
    ResetNmeaTable();
    ResetDataFile();
    Config().gpsInput = 1;
    Config().gpsMaskWarning = 0;
    Sess().LoggingState = NoFile;
    Sess().MapUpdatesEnabled = true;
    Sess().ActiveScreen = 1;
    PrepareFixHandling(1);
  }
  void TearDown() override {
    ResetNmeaTable();
    ResetUtmZones();
    ResetDataFile();
  }
  void UseFormat(int format) { NmeaTab() = MakeNmeaTable(format, 0); }

  test::DataRootFixture root_;
  RecordingSound sound_;
  ScopedSound scopedSound_{sound_};
  RecordingScreenSink screen_;
  ScopedScreenSink scopedScreen_{screen_};
};

TEST_F(FixHandlerTest, FirstValidFixSetsTheOriginAndEnablesTheFileCommands) {
  Drv().EnableFileAtFirstFix = true;
  OnGpsSentence(Gga("133524", "4336.5940", 'N', "07936.6403", 'W', 0));  // quality 0: not valid
  EXPECT_EQ(Fix().MapStarted, 0);
  EXPECT_EQ(screen_.fileButtonsEnabled, 0);
  EXPECT_TRUE(screen_.mapCalls.empty());
  ASSERT_EQ(screen_.fixReadouts.size(), 1u);
  EXPECT_EQ(screen_.fixReadouts[0].decoded.north.text, "     N/A     ");

  OnGpsSentence(Gga("133525", "4336.5940", 'N', "07936.6403", 'W'));
  int zone = 0;
  const UtmCoordinates expected = GeoToUtm(43 + 36.5940 / 60, -(79 + 36.6403 / 60), zone, 0);
  const FixState& f = Fix();
  EXPECT_EQ(f.MapStarted, 1);
  EXPECT_DOUBLE_EQ(f.MapOrigin.easting, expected.easting);
  EXPECT_DOUBLE_EQ(f.MapOrigin.northing, expected.northing);
  EXPECT_DOUBLE_EQ(f.TrackExtent.minEasting, expected.easting);
  EXPECT_DOUBLE_EQ(f.TrackExtent.maxNorthing, expected.northing);
  EXPECT_DOUBLE_EQ(f.PrevFixTime, 13 * 3600 + 35 * 60 + 25);
  EXPECT_EQ(screen_.fileButtonsEnabled, 1);
  // Drawn twice: once to build the map around the origin, once as an ordinary position.
  ASSERT_EQ(screen_.mapCalls.size(), 2u);
  for (const auto& call : screen_.mapCalls) {
    EXPECT_DOUBLE_EQ(call.easting, expected.easting);
    EXPECT_DOUBLE_EQ(call.northing, expected.northing);
    EXPECT_EQ(call.distance, 0.0);
    EXPECT_EQ(call.loggingState, NoFile);
  }

  // A later fix neither moves the origin nor enables the commands again.
  OnGpsSentence(Gga("133526", "4336.6000", 'N', "07936.6403", 'W'));
  EXPECT_DOUBLE_EQ(Fix().MapOrigin.northing, expected.northing);
  EXPECT_EQ(screen_.fileButtonsEnabled, 1);
  ASSERT_EQ(screen_.mapCalls.size(), 3u);
  EXPECT_GT(screen_.mapCalls[2].distance, 10.0);
}

TEST_F(FixHandlerTest, MapCallsFollowUpdatesAndReview) {
  struct Case {
    const char* name;
    bool updatesEnabled;
    bool review;
    size_t calls;  // map calls for a first fix and a second fix
  } cases[] = {
      {"updates on", true, false, 3},
      {"dialog open: only the origin call", false, false, 1},
      {"review: only the origin call", true, true, 1},
  };
  for (const Case& c : cases) {
    SetUp();
    screen_.Clear();
    Sess().MapUpdatesEnabled = c.updatesEnabled;
    Sess().ReviewMode = c.review;
    OnGpsSentence(Gga("100000", "4336.5940", 'N', "07936.6403", 'W'));
    OnGpsSentence(Gga("100001", "4336.5950", 'N', "07936.6403", 'W'));
    EXPECT_EQ(screen_.mapCalls.size(), c.calls) << c.name;
  }
}

TEST(GpsMask, Table) {
  struct Case {
    const char* name;
    int maskWarning, format, satellites, quality;
    double dop;
    bool met;
    bool satellitesReported = true;
  } cases[] = {
      {"mask off", 0, 1, 0, 0, 99.0, true},
      {"all limits met", 1, 1, 5, 2, 4.0, true},
      {"quality must exceed the mask quality", 1, 1, 5, 1, 1.0, false},
      {"too few satellites", 1, 1, 4, 2, 1.0, false},
      {"dilution above the limit", 1, 1, 9, 2, 4.01, false},
      {"no dilution received yet", 1, 1, 9, 2, -2.0, true},
      {"GLL is never masked", 1, 5, 0, 0, 99.0, true},
      {"RTS pseudo-GGA is never masked", 1, 7, 0, 0, 99.0, true},
      {"pseudo-GLL is never masked", 1, 8, 0, 0, 99.0, true},
      {"POS is masked", 1, 2, 0, 0, 99.0, false},
      {"a count not reported never fails", 1, 1, 0, 2, 4.0, true, false},
      {"but the quality still does", 1, 1, 0, 1, 4.0, false, false},
  };
  ResetSettings();
  Settings s = Config();
  s.gpsMaskQuality = 1;
  s.gpsMaskSatellites = 5;
  s.gpsMaskDilution = 4.0;
  for (const Case& c : cases) {
    s.gpsMaskWarning = c.maskWarning;
    EXPECT_EQ(GpsMaskMet(s, c.format, c.satellites, c.quality, c.dop, c.satellitesReported), c.met) << c.name;
  }
}

TEST_F(FixHandlerTest, FailedMaskWarnsOncePerSentenceUnlessTheLinkIsBroken) {
  Config().gpsMaskWarning = 1;
  Config().gpsMaskQuality = 1;  // DGPS
  Config().gpsAudioWarning = 1;
  const std::string agps = Gga("100000", "4336.5940", 'N', "07936.6403", 'W', 1);
  const std::string dgps = Gga("100001", "4336.5940", 'N', "07936.6403", 'W', 2);

  OnGpsSentence(agps);
  OnGpsSentence(agps);
  OnGpsSentence(dgps);
  EXPECT_EQ(sound_.PlayedCount(kSoundGpsWarning), 2);
  ASSERT_EQ(screen_.indicators.size(), 3u);
  EXPECT_FALSE(screen_.indicators[0].maskMet);
  EXPECT_TRUE(screen_.indicators[2].maskMet);
  // The indicator blinks at the sentence rate.
  EXPECT_NE(screen_.indicators[0].phase, screen_.indicators[1].phase);
  EXPECT_NE(screen_.indicators[1].phase, screen_.indicators[2].phase);

  Readers().GpsLinkBroken = 1;
  OnGpsSentence(agps);
  EXPECT_EQ(sound_.PlayedCount(kSoundGpsWarning), 2);
  EXPECT_FALSE(screen_.indicators.back().maskMet);

  Readers().GpsLinkBroken = 0;
  Config().gpsAudioWarning = 0;
  OnGpsSentence(agps);
  EXPECT_EQ(sound_.PlayedCount(kSoundGpsWarning), 2);
}

TEST_F(FixHandlerTest, SpeedFromTwoFixes) {
  UseFormat(7);  // grid positions in metres
  struct Step {
    const char* time;
    double northing, easting;
  };
  struct Case {
    const char* name;
    Step steps[3];
    double speed;  // after the last step, map units per second
    const char* readout;
  } cases[] = {
      {"3-4-5 over two seconds", {{"100000", 0, 0}, {"100001", 0, 1}, {"100003", 3, 5}}, 2.5, " 2.50 m/s"},
      {"equal time keeps the previous speed", {{"100000", 0, 0}, {"100002", 0, 4}, {"100002", 0, 40}}, 2.0,
       " 2.00 m/s"},
      {"day rollover", {{"235958", 0, 0}, {"235959", 0, 1}, {"000001", 0, 7}}, 3.0, " 3.00 m/s"},
  };
  for (const Case& c : cases) {
    SetUp();
    UseFormat(7);
    screen_.Clear();
    for (const Step& st : c.steps) OnGpsSentence(PseudoGga(st.time, st.northing, st.easting));
    EXPECT_DOUBLE_EQ(Fix().GpsSpeed, c.speed) << c.name;
    ASSERT_EQ(screen_.fixReadouts.size(), 3u) << c.name;
    EXPECT_FALSE(screen_.fixReadouts[0].speed.written) << c.name;  // the origin fix shows no speed
    EXPECT_EQ(screen_.fixReadouts[2].speed.text, c.readout) << c.name;
    ASSERT_EQ(screen_.speedBar.size(), 2u) << c.name;
    EXPECT_DOUBLE_EQ(screen_.speedBar[1], c.speed) << c.name;
  }
}

TEST_F(FixHandlerTest, ZoneStaysAcrossABorderAndPositionsAreInMapUnits) {
  Config().coordinatesDisplay = 1;
  Config().mapUnits = 1;  // feet
  OnGpsSentence(Gga("100000", "4336.5940", 'N', "07936.6000", 'W'));  // -79.61: zone 17
  OnGpsSentence(Gga("100010", "4336.5940", 'N', "07754.0000", 'W'));  // -77.9: zone 18 territory
  EXPECT_EQ(UtmZones().UtmZone, 17);
  int zone = 17;
  const UtmCoordinates m = GeoToUtm(43 + 36.5940 / 60, -77.9, zone, 1);
  EXPECT_NEAR(Fix().FixEasting, m.easting / 0.3048, 1e-6);
  EXPECT_NEAR(Fix().FixNorthing, m.northing / 0.3048, 1e-6);
  ASSERT_EQ(screen_.fixReadouts.size(), 2u);
  const FixScreenReadouts& r = screen_.fixReadouts[1];
  EXPECT_EQ(r.zone.text, "17");
  char east[64];
  std::snprintf(east, sizeof east, "%12.2f m", m.easting);
  EXPECT_EQ(r.decoded.east.text, east);
}

TEST_F(FixHandlerTest, ColourViewOffNeverAdvancesTheBins) {
  for (int view : {0, 1}) {
    SetUp();
    Sess().LoggingState = Logging;
    Config().mapColourView = view;
    OnGpsSentence(Gga("100000", "4336.5940", 'N', "07936.6403", 'W'));
    EXPECT_EQ(Bins().BinsCollecting, view) << view;
    EXPECT_EQ(Bins().BinPhase, view) << view;
  }
}

TEST(ReadingBins, FullBufferStopsBinningUntilTheNextFix) {
  ResetBins();
  EXPECT_FALSE(BinReading(3));  // not collecting before the first fix of a recording
  AdvanceBinsAtFix(Logging);
  ASSERT_EQ(Bins().BinsCollecting, 1);
  const int filling = Bins().BinBuffer;
  for (int i = 0; i < kReadingBinSize + 100; ++i) EXPECT_EQ(BinReading(i % 50), i < kReadingBinSize) << i;
  EXPECT_EQ(Bins().BinCount, kReadingBinSize);
  EXPECT_EQ(Bins().ReadingBins[filling][kReadingBinSize - 1], (kReadingBinSize - 1) % 50);

  AdvanceBinsAtFix(Logging);
  EXPECT_EQ(Bins().LastBinBuffer, filling);
  EXPECT_EQ(Bins().LastBinCount, kReadingBinSize - 1);
  EXPECT_EQ(Bins().BinsReady, 1);
  EXPECT_NE(Bins().BinBuffer, filling);
  EXPECT_TRUE(BinReading(7));
  EXPECT_EQ(Bins().BinCount, 1);

  // An interval without readings is handed over as empty; a paused fix hands nothing over.
  AdvanceBinsAtFix(Logging);
  EXPECT_EQ(Bins().BinsReady, 1);
  AdvanceBinsAtFix(Logging);
  EXPECT_EQ(Bins().BinsReady, 0);
  const int buffer = Bins().BinBuffer;
  AdvanceBinsAtFix(StandBy);
  EXPECT_EQ(Bins().BinBuffer, buffer);
  EXPECT_EQ(Bins().BinsCollecting, 1);
  ResetBins();
}

TEST_F(FixHandlerTest, PositionsCountWhileRecordingUpToTheLimit) {
  Sess().LoggingState = Logging;
  Readers().GpsRecordingOn = 1;
  Fix().GpsPositionCount = kGpsPositionLimit - 2;

  OnGpsSentence(Gga("100000", "4336.5940", 'N', "07936.6403", 'W', 0));  // invalid fixes count too
  EXPECT_EQ(Fix().GpsPositionCount, kGpsPositionLimit - 1);
  EXPECT_EQ(screen_.fixReadouts.back().positions.text, "28799");
  EXPECT_EQ(screen_.positionLimitRequests, 0);

  OnGpsSentence(Gga("100001", "4336.5940", 'N', "07936.6403", 'W'));
  EXPECT_EQ(Fix().GpsPositionCount, kGpsPositionLimit);
  EXPECT_EQ(Sess().LoggingState, NoFile);
  EXPECT_FALSE(Sess().MapUpdatesEnabled);
  EXPECT_TRUE(Fix().PositionLimitExitPending);
  EXPECT_EQ(screen_.positionLimitRequests, 1);
  EXPECT_EQ(screen_.calls.back(), "RequestPositionLimitExit");  // after everything else of this sentence
  // The map still drew this fix as a recorded one.
  ASSERT_FALSE(screen_.mapCalls.empty());
  EXPECT_EQ(screen_.mapCalls.back().loggingState, Logging);

  // Sentences that arrive before the readers are stopped change nothing more.
  OnGpsSentence(Gga("100002", "4336.5940", 'N', "07936.6403", 'W'));
  EXPECT_EQ(Fix().GpsPositionCount, kGpsPositionLimit);
  EXPECT_EQ(screen_.positionLimitRequests, 1);
  EXPECT_FALSE(screen_.fixReadouts.back().positions.written);

  const PositionLimitText message = PositionLimitMessage();
  EXPECT_EQ(message.title, "INFORMATION");
  EXPECT_EQ(message.text,
            "Maximum number of GPS positions reached.\r\nCurrent data file is saved.\r\n"
            "Please press OK and restart the program.");

  StopForPositionLimit();  // no reader running: returns at once
  EXPECT_FALSE(Fix().PositionLimitExitPending);
  EXPECT_FALSE(DataFileIsOpen());
}

TEST_F(FixHandlerTest, NoCountOutsideRecording) {
  for (int state : {NoFile, StandBy}) {
    Sess().LoggingState = state;
    OnGpsSentence(Gga("100000", "4336.5940", 'N', "07936.6403", 'W'));
    EXPECT_EQ(Fix().GpsPositionCount, 0) << state;
    EXPECT_FALSE(screen_.fixReadouts.back().positions.written) << state;
  }
}

TEST_F(FixHandlerTest, GsaSetsTheDilutionTheMaskTests) {
  Config().gpsMaskWarning = 1;
  Config().gpsMaskDilution = 4.0;
  Config().gpsMaskQuality = 0;
  UseFormat(0);
  EXPECT_EQ(Fix().FixDop, -2.0);
  OnGpsGsa("$GPGSA,A,3,01,07,08,11,13,17,27,28,30,,,,5.6,2.0,3.0*30");
  EXPECT_DOUBLE_EQ(Fix().FixDop, 5.6);
  ASSERT_EQ(screen_.dopReadouts.size(), 1u);
  EXPECT_EQ(screen_.dopReadouts[0], "5.6 ");
  OnGpsSentence(Gga("100000", "4336.5940", 'N', "07936.6403", 'W'));  // GGA/GSA: no DOP of its own
  EXPECT_FALSE(screen_.indicators.back().maskMet);

  OnGpsGsa("$GPGSA,A,3,01");
  EXPECT_DOUBLE_EQ(Fix().FixDop, 5.6);
  EXPECT_EQ(screen_.dopReadouts[1], "N/A");
}

}  // namespace
}  // namespace obrix
