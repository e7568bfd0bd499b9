// The EM38 record handler: what a record causes while recording (file, bins, station, counters, profile) and in
// every state (readout, bars, marker).
#include "survey/reading_handler.h"

#include <gtest/gtest.h>

#include <string>

#include "datafile/data_file.h"
#include "gps/reading_bins.h"
#include "platform/files.h"
#include "platform/ticks.h"
#include "settings/settings.h"
#include "state/colour_scale.h"
#include "state/palette.h"
#include "state/session.h"
#include "survey/pane_scales.h"
#include "survey/pane_state.h"
#include "survey/recording_screen_sink.h"
#include "test_support.h"

namespace obrix {
namespace {

using namespace std::string_literals;

std::string Record(unsigned char status, const std::string& rest) { return "T"s + static_cast<char>(status) + rest; }

const std::string kCondV = Record(0x3C, "-0123");  // 1.5375 mS/m, vertical, conductivity, range 100
const std::string kInphV = Record(0x23, "00500");  // -14.4 ppt, vertical, inphase, range 1000
const std::string kCondH = Record(0x07, "00250");  // -250 mS/m, horizontal, conductivity, range 1000
const std::string kMarker = Record(0xC0, "00000"); // marker, horizontal, inphase

class ReadingHandlerTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetSession();
    ResetBins();
    ResetChannels();
    ResetPaneState();
    ResetDataFile();
    clock_.Set(100000);
    clock_.Install();
    Config().component = 0;
    Config().dipoleMode = 0;
    PrepareReadingHandling();
    path_ = root_.dir().file("survey.T38");
    AttachDataFile(OpenExclusive(path_, OpenMode::AppendCreate));
    ASSERT_TRUE(DataFileIsOpen());
  }
  void TearDown() override {
    ResetDataFile();
    ManualClock::Uninstall();
  }
  void StartRecording(double station, double increment) {
    Sess().LoggingState = Logging;
    Sess().RecordingStartTick = clock_.now;
    Sess().LoggingStartTick = clock_.now;
    Drv().StationValue = station;
    Drv().StationIncrementInUse = increment;
    Drv().StationStarted = 0;
  }
  std::string Contents() { return test::ReadFile(path_); }

  test::DataRootFixture root_;
  ManualClock clock_;
  std::string path_;
  RecordingScreenSink screen_;
  ScopedScreenSink scoped_{screen_};
};

TEST_F(ReadingHandlerTest, RecordedReadingWritesItsRecordWithItsOwnTickAndAdvancesTheStation) {
  StartRecording(10.0, 0.5);
  clock_.Advance(3661000);  // 1 h 1 min 1 s
  OnEm38Record(kCondV, 123456u);
  OnEm38Record(kCondH + "xyz12", 2000000000u);  // a 12-character record

  const std::string expected = kCondV + std::string(9, ' ') + "    123456\n" + kCondH + "xyz12" +
                               std::string(4, ' ') + "2000000000\n";
  EXPECT_EQ(Contents(), expected);

  EXPECT_DOUBLE_EQ(Drv().StationValue, 10.5);
  EXPECT_EQ(Sess().LineReadingCount, 2);
  EXPECT_EQ(Sess().TotalReadingCount, 2);
  EXPECT_EQ(Sess().RecordedTime, 3661000u);
  ASSERT_EQ(screen_.readingReadouts.size(), 2u);
  EXPECT_EQ(screen_.readingReadouts[0].station, "10.00      ");  // the first reading keeps the start station
  EXPECT_EQ(screen_.readingReadouts[1].station, "10.50      ");
  EXPECT_EQ(screen_.readingReadouts[1].totalReadings, "2      ");
  EXPECT_EQ(screen_.readingReadouts[1].recordedTime, "01:01:01");

  ASSERT_EQ(screen_.profileCalls.size(), 2u);
  EXPECT_EQ(screen_.profileCalls[1].present[1], 1);
  EXPECT_EQ(screen_.profileCalls[1].present[0], 0);
  EXPECT_EQ(screen_.barCalls.size(), 2u);
  ASSERT_EQ(screen_.instrumentReadouts.size(), 2u);
  EXPECT_EQ(screen_.instrumentReadouts[0].background, ReadoutBackground::Normal);
}

TEST_F(ReadingHandlerTest, RecordedTimeAddsTheTimeBeforeThePauseAcrossATickWrap) {
  clock_.Set(0xFFFFFF00u);
  StartRecording(0.0, 1.0);
  Sess().RecordedTimeBefore = 59000;
  clock_.Advance(0x100 + 1000);  // wraps
  OnEm38Record(kCondV, 1u);
  EXPECT_EQ(Sess().RecordedTime, 59000u + 0x100 + 1000);
  EXPECT_EQ(screen_.readingReadouts.back().recordedTime, "00:01:00");
}

// A record received before Go reaches the window thread after it: it is shown, never recorded after "$STARTED".
TEST_F(ReadingHandlerTest, RecordsReceivedBeforeTheStartOfLoggingAreNotRecorded) {
  struct Case {
    const char* name;
    uint32_t start, tick;
    bool recorded;
  } cases[] = {
      {"4 ms before", 100000u, 99996u, false},
      {"40 ms before", 100000u, 99960u, false},
      {"at the start", 100000u, 100000u, true},
      {"after", 100000u, 100072u, true},
      {"after, across the wrap", 0xFFFFFFF0u, 5u, true},
      {"before, across the wrap", 10u, 0xFFFFFFFAu, false},
  };
  for (const Case& c : cases) {
    ResetDataFile();
    test::WriteFile(path_, "");
    AttachDataFile(OpenExclusive(path_, OpenMode::AppendCreate));
    screen_.Clear();
    clock_.Set(c.start);
    StartRecording(1.0, 1.0);
    OnEm38Record(kCondV, c.tick);
    EXPECT_EQ(Contents().empty(), !c.recorded) << c.name;
    EXPECT_EQ(Sess().TotalReadingCount, c.recorded ? 1 : 0) << c.name;
    EXPECT_DOUBLE_EQ(Drv().StationValue, 1.0) << c.name;
    EXPECT_EQ(screen_.profileCalls.size(), c.recorded ? 1u : 0u) << c.name;
    ASSERT_EQ(screen_.instrumentReadouts.size(), 1u) << c.name;  // always shown
    Sess().TotalReadingCount = 0;
  }
}

TEST_F(ReadingHandlerTest, StandByShowsTheReadoutOnly) {
  Sess().LoggingState = StandBy;
  Drv().StationValue = 5.0;
  OnEm38Record(kCondV, 1u);
  EXPECT_EQ(Contents(), "");
  EXPECT_EQ(Sess().TotalReadingCount, 0);
  EXPECT_DOUBLE_EQ(Drv().StationValue, 5.0);
  EXPECT_TRUE(screen_.profileCalls.empty());
  EXPECT_TRUE(screen_.readingReadouts.empty());
  const std::vector<std::string> calls = {"ShowInstrumentReadout", "UpdateBars", "ShowMarker"};
  EXPECT_EQ(screen_.calls, calls);
  EXPECT_EQ(screen_.instrumentReadouts[0].background, ReadoutBackground::Idle);
}

TEST_F(ReadingHandlerTest, BinsTakeTheColourOfTheSelectedChannelAndWhiteForOthers) {
  Config().condScaleMin = 0.0;
  Config().condScaleMax = 500.0;  // 10 mS/m per colour
  StartRecording(0.0, 1.0);
  OnEm38Record(kCondV, 100001u);  // not binned: no fix yet since recording started
  EXPECT_EQ(Bins().BinCount, 0);
  AdvanceBinsAtFix(Logging);
  const int buffer = Bins().BinBuffer;
  OnEm38Record(Record(0x3C, "-8000"), 100002u);  // 100 mS/m
  OnEm38Record(kInphV, 100003u);
  OnEm38Record(Record(0x24, "-9999"), 100004u);  // 999.9 mS/m: clamped to the top colour
  ASSERT_EQ(Bins().BinCount, 3);
  EXPECT_EQ(Bins().ReadingBins[buffer][0], 10);
  EXPECT_EQ(Bins().ReadingBins[buffer][1], kOtherChannelColour);
  EXPECT_EQ(Bins().ReadingBins[buffer][2], ColourCount);

  // The inphase reading also shows on the warning background with the component dot lit.
  const InstrumentReadout& r = screen_.instrumentReadouts[2];
  EXPECT_EQ(r.background, ReadoutBackground::Warning);
  EXPECT_TRUE(r.componentWarning);
  EXPECT_FALSE(r.dipoleWarning);
}

TEST_F(ReadingHandlerTest, MarkerReadout) {
  Sess().LoggingState = NoFile;
  OnEm38Record(kMarker, 1u);
  OnEm38Record(kCondV, 2u);
  const std::vector<std::string> markers = {"Marker", " "};
  EXPECT_EQ(screen_.markers, markers);
}

TEST_F(ReadingHandlerTest, LostLinkReadoutUntilTheNextRecord) {
  StartRecording(0.0, 1.0);
  OnEm38Record(kMarker, 100001u);
  OnEm38LinkLost();
  const InstrumentReadout& lost = screen_.instrumentReadouts.back();
  EXPECT_EQ(lost.background, ReadoutBackground::Warning);
  EXPECT_EQ(lost.dipole, "Instrument");
  EXPECT_EQ(lost.gain, "LOST");
  EXPECT_EQ(lost.value, "");
  EXPECT_FALSE(lost.dipoleWarning || lost.componentWarning);
  EXPECT_EQ(screen_.markers.back(), " ");
  OnEm38Record(kCondV, 100002u);
  EXPECT_EQ(screen_.instrumentReadouts.back().background, ReadoutBackground::Normal);
}

TEST(InstrumentReadout, TextsColoursAndDots) {
  struct Case {
    std::string record;
    bool recording;
    int component;
    char expectedDipole;
    const char* dipole;
    const char* gain;
    const char* value;
    ReadoutBackground background;
    bool dipoleDot, componentDot;
  } cases[] = {
      {kCondV, true, 0, 'V', "Dipole: Vertical", "Gain:   100", "C:     1.54", ReadoutBackground::Normal, false,
       false},
      {kInphV, true, 0, 'V', "Dipole: Vertical", "Gain:  1000", "I:    -14.40", ReadoutBackground::Warning, false,
       true},
      {kInphV, true, 1, 'H', "Dipole: Vertical", "Gain:  1000", "I:    -14.40", ReadoutBackground::Normal, true,
       false},
      {kCondH, false, 0, 'V', "Dipole: Horiz.", "Gain:  1000", "C:  -250.00", ReadoutBackground::Idle, true, false},
      {kCondV, true, 2, 'V', "Dipole: Vertical", "Gain:   100", "C:     1.54", ReadoutBackground::Warning, false,
       true},
  };
  for (const Case& c : cases) {
    const InstrumentReadout r =
        MakeInstrumentReadout(ParseEm38Record(c.record), c.recording, c.component, c.expectedDipole);
    EXPECT_EQ(r.dipole, c.dipole) << c.value;
    EXPECT_EQ(r.gain, c.gain) << c.value;
    EXPECT_EQ(r.value, c.value) << c.value;
    EXPECT_EQ(r.background, c.background) << c.value;
    EXPECT_EQ(r.dipoleWarning, c.dipoleDot) << c.value;
    EXPECT_EQ(r.componentWarning, c.componentDot) << c.value;
  }
}

}  // namespace
}  // namespace obrix
