// Real receiver captures judged as the program judges them: valid and void counts per capture and format against
// an independent reading of the receivers' own validity marks, positions against the exact projection, a cold
// start that must not become the map origin, and a receiver that does not report its satellite count.
#include "gps/receiver_check.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#ifdef OBRIX_HAVE_GEOGRAPHICLIB
#include <GeographicLib/UTMUPS.hpp>
#endif

#include "datafile/data_file.h"
#include "gps/fix_state.h"
#include "gps/nmea_fields.h"
#include "gps/projection.h"
#include "gps/reading_bins.h"
#include "platform/sound.h"
#include "serial/gps_reader.h"
#include "serial/gps_sink.h"
#include "serial/reader_state.h"
#include "settings/settings.h"
#include "state/session.h"
#include "survey/fix_handler.h"
#include "survey/recording_screen_sink.h"
#include "test_support.h"

namespace obrix {
namespace {

std::string Capture(const std::string& name) {
  return test::ReadFile(std::string(OBRIX_TEST_DATA) + "/receivers/" + name);
}

struct Verdicts {
  long valid = 0, invalid = 0;
  double largestMetres = 0.0;  // to the exact projection of the position as received
};

// Degrees of a ddmm.mmmm / dddmm.mmmm field read independently: the degree digits, then the minutes from at
// most 8 characters.
double Degrees(std::string_view field, size_t degreeDigits) {
  const std::string deg(field.substr(0, degreeDigits)), min(field.substr(degreeDigits, 8));
  return std::atoi(deg.c_str()) + std::strtod(min.c_str(), nullptr) / 60.0;
}

Verdicts Judge(const std::string& bytes, int format) {
  const NmeaTable table = MakeNmeaTable(format, 0);
  ReceiverCheck check(table);
  Verdicts v;
  check.Feed(bytes, [&](const CheckedSentence& s) {
    const FixPosition& p = s.position;
    if (!p.decode.fix.FixValid) return;
    ASSERT_TRUE(p.projected) << s.sentence;
    // Field numbers of the latitude in GLL (2) and GGA (3); letters and longitude follow.
    const int lat = format == 5 || format == 8 ? 2 : 3;
    const double latitude = (NmeaField(s.sentence, lat + 1) == "S" ? -1 : 1) * Degrees(NmeaField(s.sentence, lat), 2);
    const double longitude =
        (NmeaField(s.sentence, lat + 3) == "W" ? -1 : 1) * Degrees(NmeaField(s.sentence, lat + 2), 3);
#ifdef OBRIX_HAVE_GEOGRAPHICLIB
    int zone = 0;
    bool north = true;
    double x = 0.0, y = 0.0;
    GeographicLib::UTMUPS::Forward(latitude, longitude, zone, north, x, y, p.zone);
    v.largestMetres = std::max(v.largestMetres, std::hypot(x - p.utm.easting, y - p.utm.northing));
#else
    (void)latitude;
    (void)longitude;
#endif
  });
  v.valid = check.counts().valid;
  v.invalid = check.counts().invalid;
  EXPECT_EQ(v.valid + v.invalid, check.counts().positions);
  return v;
}

TEST(ReceiverCaptures, ValidAndVoidPerCaptureAndFormat) {
  // Expected from the receivers' own marks: GGA quality and satellites, GLL status and mode.
  struct Row {
    const char* capture;
    long ggaValid, ggaVoid;              // format 1 (format 0 judges the same)
    long gllValid, gllVoid;              // format 5
    long pseudoGllValid, pseudoGllVoid;  // format 8: GLL without the checksum rule
  } rows[] = {
      {"GPSmap-76S.log", 12, 0, 0, 12, 0, 12},
      {"ac12.log", 7, 0, 0, 0, 0, 0},
      {"beidou-bd.log", 5, 5, 0, 0, 0, 0},
      {"bn-9015.log", 6, 4, 0, 0, 0, 0},
      {"bt451.log", 13, 4, 13, 4, 13, 4},
      {"bu353s4.log", 25, 0, 0, 0, 0, 0},
      {"ch-4701.log", 27, 0, 0, 0, 0, 0},
      {"com-1289.log", 14, 0, 0, 0, 0, 0},
      {"et-332.log", 19, 0, 0, 0, 0, 0},
      {"garmin17n.log", 2, 0, 2, 0, 2, 0},
      {"garmin48.log", 7, 0, 7, 0, 7, 0},
      {"gps-360.log", 13, 0, 13, 0, 13, 0},
      {"gr601-w.log", 9, 0, 10, 0, 10, 0},
      {"hab-gpspi.log", 3, 0, 3, 0, 3, 0},
      {"hp58534a.log", 0, 0, 0, 0, 0, 0},
      {"iTrek.log", 23, 0, 0, 0, 0, 0},
      {"magellan315.log", 3, 0, 3, 0, 3, 0},
      {"mr-350p.log", 14, 0, 0, 0, 0, 0},
      {"mtk-3301.log", 4, 7, 0, 0, 0, 0},
      {"myguide-3100.log", 9, 4, 0, 0, 0, 0},
      {"nd-1005.log", 16, 0, 16, 0, 16, 0},
      {"nl2008u.log", 9, 0, 9, 0, 9, 0},
      {"nl551e.log", 14, 3, 14, 3, 14, 3},
      {"oncore.log", 6, 0, 6, 0, 6, 0},
      {"polarx2.log", 5, 0, 5, 0, 5, 0},
      {"rst39.log", 40, 0, 0, 0, 0, 0},
      {"saab-r4.log", 12, 0, 12, 0, 12, 0},
      {"sirfstarv-nmea.log", 118, 0, 0, 0, 0, 0},
      {"skytraq-fix.log", 11, 0, 11, 0, 11, 0},
      {"skytraq.log", 0, 17, 0, 17, 0, 17},
      {"sl869.log", 8, 7, 0, 0, 0, 0},
      {"telit-he910.log", 187, 37, 187, 37, 187, 37},
      {"tn200.log", 0, 19, 0, 0, 0, 0},
      {"tomtom-mkII.log", 4, 0, 0, 0, 0, 0},
      {"triton400.log", 4, 0, 5, 0, 5, 0},
      {"ublox-lea-4h.log", 9, 5, 9, 5, 9, 5},
      {"ublox-lea-5h.log", 18, 0, 18, 0, 18, 0},
      {"ublox-zed-f9p-nmea.log", 29, 0, 29, 0, 29, 0},
      {"venus634lp.log", 6, 0, 6, 0, 6, 0},
  };
  // Totals by format 1, 5, 8, for the summary line.
  long valid[9] = {}, invalid[9] = {};
  double largest = 0.0;
  for (const Row& r : rows) {
    SCOPED_TRACE(r.capture);
    const std::string bytes = Capture(r.capture);
    ASSERT_FALSE(bytes.empty());
    const struct {
      int format;
      long valid, invalid;
    } formats[] = {{0, r.ggaValid, r.ggaVoid},
                   {1, r.ggaValid, r.ggaVoid},
                   {5, r.gllValid, r.gllVoid},
                   {8, r.pseudoGllValid, r.pseudoGllVoid}};
    for (const auto& f : formats) {
      const Verdicts v = Judge(bytes, f.format);
      EXPECT_EQ(v.valid, f.valid) << "format " << f.format;
      EXPECT_EQ(v.invalid, f.invalid) << "format " << f.format;
      EXPECT_LT(v.largestMetres, 0.001) << "format " << f.format;
      valid[f.format] += v.valid;
      invalid[f.format] += v.invalid;
      largest = std::max(largest, v.largestMetres);
    }
  }
  std::printf("receiver captures: GGA %ld valid, %ld void; GLL %ld valid, %ld void; pseudo-GLL %ld valid, %ld void; "
              "largest difference to the exact projection %.4f mm\n",
              valid[1], invalid[1], valid[5], invalid[5], valid[8], invalid[8], largest * 1000.0);
}

// The live path: the GPS reader's byte handling hands each position sentence to the fix handler.
class ReceiverLiveTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetSession();
    ResetFix();
    ResetBins();
    ResetUtmZones();
    ResetReaderValues();
    ResetDataFile();
    Config().gpsInput = 1;
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
  // Feeds the bytes 20 ms apart (every sentence is further than 910 ms from the previous one) and runs the
  // handlers on what the reader hands over, in order.
  void Play(const std::string& bytes, int format) {
    Config().nmeaFormat = format;
    BuildNmeaTable();
    test::RecordingGpsSink sink;
    GpsLineHandler handler(sink);
    handler.Start(0);
    uint32_t tick = 0;
    for (unsigned char b : bytes) handler.Feed(b, tick += 20);
    for (const auto& s : sink.SentList()) {
      if (s.gsa) OnGpsGsa(s.sentence);
      else OnGpsSentence(s.sentence);
    }
  }

  test::DataRootFixture root_;
  RecordingSound sound_;
  ScopedSound scopedSound_{sound_};
  RecordingScreenSink screen_;
  ScopedScreenSink scopedScreen_{screen_};
};

TEST_F(ReceiverLiveTest, ColdStartNeverBecomesTheMapOrigin) {
  // A receiver starting cold (void 0 N 0 E fixes), then the same make once it has a fix near 44 N 121 W.
  for (int format : {1, 5}) {
    SCOPED_TRACE(format);
    SetUp();
    screen_.Clear();
    Play(Capture("skytraq.log"), format);
    EXPECT_EQ(Fix().MapStarted, 0);
    EXPECT_EQ(UtmZones().UtmZone, -9);
    EXPECT_TRUE(screen_.mapCalls.empty());
    Play(Capture("skytraq-fix.log"), format);
    ASSERT_EQ(Fix().MapStarted, 1);
    EXPECT_EQ(UtmZones().UtmZone, 10);
    EXPECT_NEAR(UtmZones().ZoneFixLatitude, 44.0687, 1e-3);
    EXPECT_NEAR(Fix().MapOrigin.easting, 635008.4, 0.1);
    EXPECT_NEAR(Fix().MapOrigin.northing, 4880888.2, 0.1);
  }
}

TEST_F(ReceiverLiveTest, UnreportedSatelliteCountKeepsTheFixAndTheMask) {
  // DGPS fixes with an empty satellites field; the mask asks for 4 satellites and at least AGPS.
  Config().gpsMaskWarning = 1;
  Config().gpsMaskSatellites = 4;
  Config().gpsMaskQuality = 0;
  Config().gpsMaskDilution = 4.0;
  Config().gpsAudioWarning = 1;
  Play(Capture("saab-r4.log"), 1);
  EXPECT_EQ(Fix().MapStarted, 1);
  EXPECT_EQ(UtmZones().UtmZone, 29);
  ASSERT_EQ(screen_.fixReadouts.size(), 12u);
  for (const auto& r : screen_.fixReadouts) {
    EXPECT_TRUE(r.decoded.satellites.written);
    EXPECT_EQ(r.decoded.satellites.text, "") << "shown as received";
    EXPECT_EQ(r.decoded.quality.text, "DGPS");
    EXPECT_NE(r.decoded.north.text, "     N/A     ");
  }
  ASSERT_EQ(screen_.indicators.size(), 12u);
  for (const auto& i : screen_.indicators) EXPECT_TRUE(i.maskMet);
  EXPECT_EQ(sound_.PlayedCount(kSoundGpsWarning), 0);

  // A count of 1 is still too few, and a count that is sent fails the mask as before.
  const std::string one = "$GPGGA,130723,5012.792600,N,00806.879600,W,2,01,1.0,,,,,*00";
  const std::string three = "$GPGGA,130724,5012.792600,N,00806.879600,W,2,03,1.0,,,,,*00";
  OnGpsSentence(one);
  EXPECT_EQ(Fix().FixValid, 0);
  EXPECT_FALSE(screen_.indicators.back().maskMet);
  OnGpsSentence(three);
  EXPECT_EQ(Fix().FixValid, 1);
  EXPECT_FALSE(screen_.indicators.back().maskMet);
  EXPECT_EQ(sound_.PlayedCount(kSoundGpsWarning), 2);
}

}  // namespace
}  // namespace obrix
