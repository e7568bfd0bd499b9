#pragma once
// A survey written through the real data-file writers from the simulators: receiver epochs from GnssStream at
// 1 Hz, EM38 records every 72 ms carrying the field at the simulated sensor point. The expected sensor path and
// values are kept for the checks.
#include <cmath>
#include <deque>
#include <string>
#include <vector>

#include "datafile/data_file.h"
#include "datafile/writers.h"
#include "gps/nmea_table.h"
#include "gps/projection.h"
#include "platform/files.h"
#include "platform/ticks.h"
#include "settings/settings.h"
#include "sim/em38_stream.h"
#include "sim/gnss_stream.h"
#include "sim/scenario.h"
#include "state/session.h"

namespace obrix::test {

struct SimReading {
  uint32_t tick = 0;
  double value = 0.0;       // field at the sensor point
  double east = 0, north = 0;  // sensor point, metres from the scenario origin
  bool turning = false;     // within a few seconds of a change of direction
  bool marker = false;
};

class SimSurvey {
 public:
  sim::Scenario scenario;
  sim::GnssOptions gnss;
  sim::Em38Options em38;
  double lateral = 0.0, along = 0.0;  // metres
  int mapUnits = 0;
  int gpsInput = 1;  // 0: a ground survey without a receiver
  uint32_t startTick = 100000;
  double utcStart = 12 * 3600.0;
  uint32_t readingLagMs = 0;  // readings reach the file this much after their tick
  uint64_t localStartMs = 14ull * 3600000;  // local time of day at the start, on 2024-05-17
  int markerEvery = 0;         // every n-th reading has the marker bit; 0 = none
  std::vector<SimReading> readings;

  ~SimSurvey() {
    SetLocalClock(nullptr);
    ManualClock::Uninstall();
  }

  // A new file, or with `append` a session appended to an existing one (header with the lower-case identifier).
  void Open(const std::string& path, const std::string& lineName = "L1", bool append = false) {
    em38.source = sim::ValueSource::Constant;
    Settings& s = Config();
    s.lateralOffset = lateral;
    s.alongOffset = along;
    s.nmeaFormat = gnss.format;
    s.mapUnits = mapUnits;
    s.lineName = lineName;
    s.startStation = 0.0;
    s.gpsInput = gpsInput;
    clock_.Set(startTick);
    clock_.Install();
    SetLocalClock([this] { return Local(); });
    table_ = MakeNmeaTable(gnss.format, 0);
    stream_ = std::make_unique<sim::GnssStream>(gnss, scenario, startTick, 0.0, utcStart);
    if (!append) RemoveFile(path);
    AttachDataFile(OpenExclusive(path, OpenMode::AppendCreate));
    DataFile().DataFileBaseName = "simsurvey";
    Sess().LoggingStartTick = startTick;
    WriteHeaderBlock(append ? 1 : 0);
    WriteLineBlock();
    WriteTimeMark();
    WriteEventRecord("$STARTED", 'X');
  }

  // Walks for `ms` milliseconds; without `gps` no sentence is written (a receiver gap).
  void Run(uint32_t ms, bool gps = true, bool em = true) {
    for (uint32_t i = 0; i < ms; ++i) {
      const uint64_t e = elapsed_;
      if (gps && e % 1000 == 0) WriteEpoch();
      if (em && e % 72 == 0) Reading();
      FlushReadings(false);
      Step();
    }
  }

  // Paused for `ms`: the walk goes on, nothing is recorded.
  void Pause(uint32_t ms) {
    FlushReadings(true);
    WriteEventRecord("PAUSED", 'X');
    for (uint32_t i = 0; i < ms; ++i) Step();
    Sess().LoggingStartTick = clock_.now.load();
    WriteEventRecord("$STARTED", 'X');
  }

  void NewLine(const std::string& name) {
    FlushReadings(true);
    Config().lineName = name;
    WriteLineBlock();
    WriteTimeMark();
  }

  void Close() {
    FlushReadings(true);
    ResetDataFile();
  }

  // The sensor point `walkSeconds` into the walk: the antenna path point `along` behind, `lateral` to its left.
  void SensorAt(double walkSeconds, double* east, double* north, double* courseDeg = nullptr) const {
    const double back = scenario.speed > 0 ? along / scenario.speed : 0.0;
    const sim::WalkPoint w = sim::WalkAt(scenario, walkSeconds - back);
    const double c = w.courseDeg * M_PI / 180.0;
    *east = w.east - lateral * std::cos(c);
    *north = w.north + lateral * std::sin(c);
    if (courseDeg) *courseDeg = w.courseDeg;
  }
  double WalkSecondsOf(uint32_t tick) const { return static_cast<uint32_t>(tick - startTick) / 1000.0; }

  // UTM of a local point, in the zone the file's positions use.
  UtmCoordinates Utm(double east, double north) const {
    double lat = 0, lon = 0;
    sim::LocalToGeo(scenario, east, north, &lat, &lon);
    int zone = 0;
    return GeoToUtm(lat, lon, zone, 0);
  }

 private:
  LocalTime Local() const {
    const uint64_t ms = localStartMs + elapsed_;
    LocalTime t;
    t.year = 2024;
    t.month = 5;
    t.day = 17 + static_cast<int>(ms / 86400000);
    t.hour = static_cast<int>(ms / 3600000 % 24);
    t.minute = static_cast<int>(ms / 60000 % 60);
    t.second = static_cast<int>(ms / 1000 % 60);
    t.millisecond = static_cast<int>(ms % 1000);
    return t;
  }

  void Step() {
    clock_.Advance(1);
    ++elapsed_;
  }

  void WriteEpoch() {
    const double walk = elapsed_ / 1000.0;
    const std::string text = stream_->Epoch(walk, utcStart + walk);
    size_t from = 0;
    while (from < text.size()) {
      size_t end = text.find('\n', from);
      if (end == std::string::npos) end = text.size();
      std::string line = text.substr(from, end - from);
      from = end + 1;
      while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
      if (line.empty()) continue;
      const bool position = line.find(table_.NmeaPositionTag) != std::string::npos;
      WriteGpsSentence(line, clock_.now.load(), '@', '#', '!', position ? 'p' : ' ', ++counter_);
    }
  }

  void Reading() {
    SimReading r;
    r.tick = clock_.now.load();
    const double walk = elapsed_ / 1000.0;
    double c0 = 0, c1 = 0, c2 = 0;
    SensorAt(walk, &r.east, &r.north, &c0);
    double e, n;
    SensorAt(walk - 3.0, &e, &n, &c1);
    SensorAt(walk + 3.0, &e, &n, &c2);
    r.turning = std::fabs(c0 - c1) > 1.0 || std::fabs(c0 - c2) > 1.0;
    r.value = sim::ConductivityAt(scenario, r.east, r.north);
    const bool marker = markerEvery > 0 && readings.size() % static_cast<size_t>(markerEvery) == 0;
    r.marker = marker;
    std::string record = sim::FormatEm38Record(em38, r.value, marker);
    while (!record.empty() && record.back() == '\r') record.pop_back();
    readings.push_back(r);
    queued_.push_back({r.tick, record});
  }

  void FlushReadings(bool all) {
    while (!queued_.empty() && (all || static_cast<uint32_t>(clock_.now.load() - queued_.front().tick) >= readingLagMs)) {
      WriteReadingRecord(queued_.front().record, queued_.front().tick);
      queued_.pop_front();
    }
  }

  struct Queued {
    uint32_t tick;
    std::string record;
  };
  ManualClock clock_;
  uint64_t elapsed_ = 0;
  long counter_ = 0;
  NmeaTable table_;
  std::unique_ptr<sim::GnssStream> stream_;
  std::deque<Queued> queued_;
};

}  // namespace obrix::test
