// The map over a synthetic full-day survey: 28,800 fixes at 1 Hz, 1 m/s along 5 m-spaced north-south lines 700 m
// long, 5 readings per fix, colour view, default map size (40 m), a 666-pixel pane.
// Goals: the page memory of the whole day under 256 MB; one live fix with its colour swath and the pane
// composed (ShowView) at a median under 3 ms; the map redrawn from the whole day's data file
// (RedrawMapFromData) within 200 ms; Fit All and one zoom step on the reviewed day within 100 ms each. A field
// tablet is 3-5 times slower than a desktop, so these keep review under a second there.
// The baseline reads and parses every record of the day's file and nothing else; each review benchmark prints
// its limit and that limit in baselines beside its time.
// The day's data file is written once by the live handlers (GGA sentences through the GPS line handler, EM38
// records, swath records from the live drawing) in a temporary folder, and removed at exit.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "datafile/data_file.h"
#include "datafile/record_reader.h"
#include "datafile/writers.h"
#include "em38/em38_record.h"
#include "gps/fix_state.h"
#include "gps/nmea_table.h"
#include "gps/projection.h"
#include "gps/reading_bins.h"
#include "map/map_grid.h"
#include "map/map_navigation.h"
#include "map/map_pages.h"
#include "map/map_redraw.h"
#include "map/map_track.h"
#include "map/map_view_state.h"
#include "map/survey_walk.h"
#include "platform/files.h"
#include "platform/ticks.h"
#include "serial/gps_reader.h"
#include "serial/reader_state.h"
#include "settings/settings.h"
#include "sim/em38_stream.h"
#include "sim/gnss_stream.h"
#include "sim/scenario.h"
#include "state/colour_scale.h"
#include "state/palette.h"
#include "state/session.h"
#include "survey/fix_handler.h"
#include "survey/reading_handler.h"
#include "survey/screen_sink.h"

namespace obrix {
namespace {

constexpr int kPaneSide = 666;
constexpr int kDayFixes = 28800;

struct LiveMap {
  SurveyWalk walk;
  Canvas pane;
  int next = 0;

  LiveMap() {
    ResetSettings();
    Drv().MapPaneWidth = kPaneSide;
    Config().mapColourView = 1;
    Drv().CursorBandPx = CursorBandPixels(Config().cursorBandIndex, kPaneSide);
    UpdateSwathEdges();
    CreateSharedPens();
    ResetSession();
    ResetFix();
    ResetBins();
    ResetSwathTrack();
    ResetMapFrame();
    Sess().MapVisible = true;
    pane.Resize(kPaneSide - 2, kPaneSide - 2);
  }

  void Feed(int count) {
    FeedWalk(walk, next, next + count, [&](int i, double e, double n, double d) {
      if (Fix().MapStarted == 0) {
        Fix().MapOrigin = {e, n};
        Fix().TrackExtent = {e, e, n, n};
        Fix().MapStarted = 1;
      }
      ReadingBinState& b = Bins();
      for (int k = 0; k < walk.readingsPerFix; ++k) b.ReadingBins[0][k] = ColourIndexOf(WalkReading(walk, i, k));
      b.LastBinBuffer = 0;
      b.LastBinCount = walk.readingsPerFix - 1;
      b.BinsReady = 1;
      UpdateMapPosition(pane, Logging, n, e, d);
    });
    next += count;
  }
};

// The whole day once: time per fix and the memory the pages hold at the end.
void BM_DaySurvey(benchmark::State& state) {
  for (auto _ : state) {
    LiveMap map;
    map.Feed(kDayFixes);
    state.counters["page_MB"] = double(MapPages().Bytes()) / (1024.0 * 1024.0);
    state.counters["pages"] = double(MapPages().PageCount());
    state.counters["tiles"] = double(MapPages().TileCount());
    state.counters["used_pages"] = double((Frame().UsedPages.colMax - Frame().UsedPages.colMin + 1) *
                                          (Frame().UsedPages.rowMax - Frame().UsedPages.rowMin + 1));
  }
  state.SetItemsProcessed(state.iterations() * kDayFixes);
}
BENCHMARK(BM_DaySurvey)->Iterations(1)->Unit(benchmark::kMillisecond);

// One live fix late in the day (most pages exist), with its colour swath and the pane.
void BM_LiveFix(benchmark::State& state) {
  static LiveMap* map = [] {
    auto* m = new LiveMap;
    m->Feed(kDayFixes - 2000);
    return m;
  }();
  for (auto _ : state) {
    if (map->next >= kDayFixes * 3) state.SkipWithError("walk exhausted");
    map->Feed(1);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LiveFix)->Iterations(2000)->Repetitions(5)->Unit(benchmark::kMicrosecond);

// The logging screen's part for the handlers: each accepted fix drawn on the pane, nothing else shown.
class DayScreen : public LoggingScreenSink {
 public:
  explicit DayScreen(Canvas& pane) : pane_(pane) {}
  void ShowFixReadouts(const FixScreenReadouts&) override {}
  void ShowDopReadout(const ReadoutText&) override {}
  void DrawGpsIndicator(char, bool) override {}
  void ShowSpeedOnBar(double) override {}
  void EnableFileButtons() override {}
  void UpdateMapPosition(int loggingState, double northing, double easting, double distance) override {
    obrix::UpdateMapPosition(pane_, loggingState, northing, easting, distance);
  }
  void RequestPositionLimitExit() override { limitReached = true; }
  void ShowInstrumentReadout(const InstrumentReadout&) override {}
  void ShowReadingReadouts(const ReadingReadouts&) override {}
  void ScrollProfile(const DisplayPixels&, std::span<const int, kProfileChannels>) override {}
  void UpdateBars(const DisplayPixels&) override {}
  void ShowMarker(const ReadoutText&) override {}
  bool limitReached = false;

 private:
  Canvas& pane_;
};

// The GPS reader's hand-over, done at once on this thread as the window thread would.
class DayGpsSink : public GpsReaderSink {
 public:
  void SendSentence(const std::string& sentence, uint32_t) override { OnGpsSentence(sentence); }
  void SendGsa(const std::string& sentence, uint32_t) override { OnGpsGsa(sentence); }
  void PaintLinkWarning() override {}
  void ShowMessage(const std::string&, const std::string&) override {}
};

// One full day logged into a data file and paused, the map left as the live session drew it. Built once and
// shared by the benchmarks below in their order: the redraw at the live scale, then the review.
struct LoggedDay {
  SurveyWalk walk;
  Canvas pane;
  DayScreen screen{pane};
  DayGpsSink gps;
  std::string folder, path;
  long fileBytes = 0;
  int fitAllSize = 0;

  LoggedDay() {
    char dir[] = "/tmp/map_bench_XXXXXX";
    if (!mkdtemp(dir)) return;
    folder = dir;
    path = folder + "/BENCHDAY.dat";
    StartSession();
    LogDay();
    struct stat st{};
    if (::stat(path.c_str(), &st) == 0) fileBytes = long(st.st_size);
    std::atexit([] {
      LoggedDay& d = Day();
      CloseDataFile();
      RemoveFile(d.path);
      ::rmdir(d.folder.c_str());
    });
  }

  static LoggedDay& Day() {
    static LoggedDay* day = new LoggedDay;
    return *day;
  }

  bool ok() const { return DataFileIsOpen() && !screen.limitReached; }

  // The logging screen's entry with GPS and the instrument: settings, map frame, handlers.
  void StartSession() {
    ResetSettings();
    Settings& c = Config();
    c.gpsInput = 1;
    c.instrumentEnabled = 1;
    c.mapColourView = 1;
    c.gpsMaskWarning = 0;
    Drv().MapPaneWidth = kPaneSide;
    Drv().CursorBandPx = CursorBandPixels(c.cursorBandIndex, kPaneSide);
    UpdateSwathEdges();
    CreateSharedPens();
    ResetSession();
    ResetFix();
    ResetBins();
    ResetUtmZones();
    ResetReaderValues();
    ResetDataFile();
    ResetSwathTrack();
    ResetMapFrame();
    Session& s = Sess();
    s.MapVisible = true;
    s.ActiveScreen = 1;
    s.LoggingState = NoFile;
    PrepareFixHandling(1);
    BuildNmeaTable();
    PrepareReadingHandling();
    Fix().GpsPositionLimit = kGpsPositionLimit;
    Frame().ViewBounds = {0, kPaneSide - 1, 0, kPaneSide - 1};
    UpdatePixelsPerUnit();
    ChooseSwathMethod();
    UpdateCursorSizes();
    UpdateGridSpacing();
    pane.Resize(kPaneSide - 2, kPaneSide - 2);
    s.MapUpdatesEnabled = true;
    SetScreenSink(&screen);
  }

  // GGA of fix `i` of the walk, placed on the ground by the simulator's local projection.
  std::string Gga(int i, double utc) const {
    double e, n, lat, lon;
    WalkFix(walk, i, e, n);
    sim::Scenario site;
    sim::LocalToGeo(site, e - walk.originE, n - walk.originN, &lat, &lon);
    return sim::NmeaFinish("$GPGGA," + sim::NmeaTime(utc) + "," + sim::NmeaLatitude(lat) + (lat < 0 ? ",S," : ",N,") +
                               sim::NmeaLongitude(lon) + (lon < 0 ? ",W," : ",E,") + "4,10,0.9,152.5,M,-35.4,M,,",
                           true);
  }

  void LogDay() {
    ManualClock clock;
    clock.Set(100000);
    clock.Install();
    GpsLineHandler line(gps);
    line.Start(TickMs());
    const double utcStart = 7 * 3600.0;
    const auto feedFix = [&](int i) {
      const uint32_t tick = 100000u + uint32_t(i) * 1000u;
      clock.Set(tick);
      for (unsigned char b : Gga(i, utcStart + i)) line.Feed(b, tick);
    };
    // The first fix sets the origin; then the file (header, line block, time mark) and Go.
    feedFix(0);
    const int fd = OpenExclusive(path, OpenMode::AppendCreate);
    if (fd < 0) {
      ManualClock::Uninstall();
      SetScreenSink(nullptr);
      return;
    }
    DataFileState& f = DataFile();
    f.DataFilePath = path;
    f.DataFileBaseName = "BENCHDAY";
    AttachDataFile(fd);
    WriteHeaderBlock(0);
    WriteLineBlock();
    WriteTimeMark();
    Session& s = Sess();
    s.LoggingState = StandBy;
    ResetBinsForRecording();
    ResetSwathForLogging();
    Readers().GpsRecordingOn = 1;
    s.ReviewMode = false;
    s.RecordingStartTick = TickMs();
    ResetBinsForRecording();
    s.LoggingState = Logging;
    s.LoggingStartTick = TickMs();
    WriteEventRecord("$STARTED", 'X');

    sim::Em38Options em;
    for (int i = 1; i < kDayFixes; ++i) {
      // Readings of the way from the previous fix arrive before this one.
      for (int k = 0; k < walk.readingsPerFix; ++k) {
        const uint32_t tick = 100000u + uint32_t(i - 1) * 1000u + 100u + uint32_t(k) * 1000u / walk.readingsPerFix;
        clock.Set(tick);
        std::string record = sim::FormatEm38Record(em, WalkReading(walk, i - 1, k), false);
        record.pop_back();  // CR
        OnEm38Record(record, tick);
      }
      feedFix(i);
    }
    // Pause: the review and the redraws work on a paused file.
    s.LoggingState = StandBy;
    s.MapUpdatesEnabled = false;
    WriteEventRecord("PAUSED", 'X');
    SyncDataFile();
    ManualClock::Uninstall();
    SetScreenSink(nullptr);
  }
};

// The fastest read-and-parse of the day's file seen so far (ms), the unit of the review limits.
double g_baselineMs = 0.0;

void ReviewCounters(benchmark::State& state, double limitMs) {
  state.counters["limit_ms"] = limitMs;
  if (g_baselineMs > 0) {
    state.counters["baseline_ms"] = g_baselineMs;
    state.counters["limit_in_baselines"] = limitMs / g_baselineMs;
  }
}

// Baseline: every record of the day read in blocks and parsed with the record field readers (swath values,
// EM38 readings, event texts, ticks), nothing drawn.
void BM_ReadParseDay(benchmark::State& state) {
  LoggedDay& day = LoggedDay::Day();
  if (!day.ok()) {
    state.SkipWithError("the day's data file could not be written");
    return;
  }
  double sum = 0.0;
  int64_t records = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    RecordBlockReader reader(DataFile().DataFileHandle.load());
    DataRecord r;
    while (reader.Next(r)) {
      ++records;
      switch (r.kind()) {
        case '{': sum += SwathValue(r); break;
        case 'T': sum += ParseEm38Record(InstrumentField(r)).value; break;
        case 'X':
        case 'C': sum += double(EventText(r).size()); break;
        default: sum += double(RecordTick(r)); break;
      }
    }
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    g_baselineMs = g_baselineMs > 0 ? std::min(g_baselineMs, ms) : ms;
  }
  benchmark::DoNotOptimize(sum);
  state.counters["records"] = double(records / std::max<int64_t>(state.iterations(), 1));
}
BENCHMARK(BM_ReadParseDay)->Iterations(1)->Repetitions(5)->Unit(benchmark::kMillisecond)->UseRealTime();

// The whole day's file drawn into cleared track layers at the live scale.
void BM_RedrawMapFromData(benchmark::State& state) {
  LoggedDay& day = LoggedDay::Day();
  if (!day.ok()) {
    state.SkipWithError("the day's data file could not be written");
    return;
  }
  for (auto _ : state) {
    state.PauseTiming();
    RebuildPages(1);
    state.ResumeTiming();
    RedrawMapFromData();
  }
  state.counters["file_MB"] = double(day.fileBytes) / (1024.0 * 1024.0);
  state.counters["positions"] = double(Fix().GpsPositionCount);
  state.counters["page_MB"] = double(MapPages().Bytes()) / (1024.0 * 1024.0);
  ReviewCounters(state, 200);
}
BENCHMARK(BM_RedrawMapFromData)->Iterations(1)->Repetitions(5)->Unit(benchmark::kMillisecond)->UseRealTime();

// Review of the paused day: Fit All (the scale of the whole track, pages rebuilt, the file redrawn).
void BM_FitAll(benchmark::State& state) {
  LoggedDay& day = LoggedDay::Day();
  if (!day.ok()) {
    state.SkipWithError("the day's data file could not be written");
    return;
  }
  if (!Sess().ReviewMode) EnterReviewMap(day.pane);
  for (auto _ : state) MapNavigate(day.pane, kMapFitAll);
  day.fitAllSize = Config().mapSize;
  state.counters["map_size"] = double(Config().mapSize);
  state.counters["page_MB"] = double(MapPages().Bytes()) / (1024.0 * 1024.0);
  ReviewCounters(state, 100);
}
BENCHMARK(BM_FitAll)->Iterations(1)->Repetitions(5)->Unit(benchmark::kMillisecond)->UseRealTime();

// One zoom step in from the fitted day.
void BM_ZoomStep(benchmark::State& state) {
  LoggedDay& day = LoggedDay::Day();
  if (!day.ok()) {
    state.SkipWithError("the day's data file could not be written");
    return;
  }
  if (!Sess().ReviewMode) EnterReviewMap(day.pane);
  for (auto _ : state) {
    state.PauseTiming();
    MapNavigate(day.pane, kMapFitAll);
    state.ResumeTiming();
    MapNavigate(day.pane, kMapZoomIn);
  }
  state.counters["map_size"] = double(Config().mapSize);
  state.counters["page_MB"] = double(MapPages().Bytes()) / (1024.0 * 1024.0);
  ReviewCounters(state, 100);
}
BENCHMARK(BM_ZoomStep)->Iterations(1)->Repetitions(5)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace obrix
