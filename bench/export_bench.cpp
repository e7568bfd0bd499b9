// Export of a whole survey day: 28,800 fixes (8 hours at 1 Hz) and 144,000 readings (5 a second), written as
// the logging screen writes them, read back through the event reader and the positioner into CSV, GeoJSON, KML
// and a GeoPackage, and gridded into a GeoTIFF of 0.5 m cells. Goals: the day in under 1 s for each export
// (the GeoPackage included) and under 2 s for the grid (items = readings).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <ostream>
#include <streambuf>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

#include "datafile/records.h"
#include "export/grid_input.h"
#include "export/survey_export.h"
#include "gis/geopackage_writer.h"
#include "gis/survey_grid.h"
#include "platform/numbers.h"
#include "settings/settings.h"

namespace obrix {
namespace {

constexpr int kFixes = 28800;
constexpr int kReadingsPerFix = 5;

// NMEA "ddmm.mmmmm" text of a coordinate.
std::string Degrees(double v, const char* format) {
  const double a = std::fabs(v);
  const int d = static_cast<int>(a);
  return FormatC(format, d, (a - d) * 60.0);
}

int DayFile() {
  static int fd = -1;
  if (fd >= 0) return fd;
  fd = memfd_create("day", 0);
  Settings s;
  s.lateralOffset = 0.3;
  s.alongOffset = 1.0;
  LocalTime t;
  t.year = 2024;
  t.month = 5;
  t.day = 17;
  t.hour = 8;
  std::string out = IdentifierRecord(s, 0) + FileNameRecord("day", 0.2) + SettingsRecord(s) +
                    OriginEastingRecord(0, 17) + OriginNorthingRecord(0) + LineRecord("1", false, "") +
                    StartStationRecord(0) + DirectionRecord(2, 1.0) + DateRecord(t) + TimeMarkRecord(t, 1000);
  uint32_t tick = 1000;
  for (int i = 0; i < kFixes; ++i) {
    // Lines 40 m long, walked back and forth at 1.2 m/s.
    const double along = std::fmod(i * 1.2, 80.0);
    const double north = along < 40 ? along : 80 - along;
    const double east = std::floor(i * 1.2 / 40.0);
    const double lat = 43.6 + north / 111000.0, lon = -79.6 + east / 80500.0;
    const int sec = 8 * 3600 + i;
    const std::string gga = FormatC("$GPGGA,%02d%02d%02d.00,", sec / 3600, sec / 60 % 60, sec % 60) +
                            Degrees(lat, "%02d%08.5f") + ",N," + Degrees(lon, "%03d%08.5f") +
                            ",W,4,10,0.9,152.50,M,-35.4,M,,*00";
    out += SentenceGroup(gga, tick, '@', '#', '!', 'p', i + 1);
    for (int k = 0; k < kReadingsPerFix; ++k) out += ReadingRecord(FormatC("T\x2f-%04d", 200 + (i + k) % 1000), tick + 10 + 200 * k);
    tick += 1000;
  }
  if (write(fd, out.data(), out.size()) != static_cast<ssize_t>(out.size())) std::perror("day file");
  return fd;
}

// Counts the bytes it is given and drops them.
class NullBuffer : public std::streambuf {
 public:
  size_t bytes = 0;

 protected:
  std::streamsize xsputn(const char*, std::streamsize n) override {
    bytes += static_cast<size_t>(n);
    return n;
  }
  int overflow(int c) override {
    ++bytes;
    return c;
  }
};

void Day(benchmark::State& state, ExportFormat format) {
  const int fd = DayFile();
  int64_t readings = 0;
  size_t bytes = 0;
  for (auto _ : state) {
    NullBuffer sink;
    std::ostream out(&sink);
    auto writer = MakeExportWriter(format, out, "day");
    const ExportSummary s = ExportSurvey(fd, *writer);
    readings += s.counts.readings;
    bytes = sink.bytes;
    if (s.counts.positioned < s.counts.readings - 10) state.SkipWithError("readings left unpositioned");
  }
  state.SetItemsProcessed(readings);
  state.counters["output_MB"] = static_cast<double>(bytes) / 1e6;
}

void BM_ExportDayCsv(benchmark::State& state) { Day(state, ExportFormat::Csv); }
void BM_ExportDayGeoJson(benchmark::State& state) { Day(state, ExportFormat::GeoJson); }
void BM_ExportDayKml(benchmark::State& state) { Day(state, ExportFormat::Kml); }
// A file in the temporary folder, removed afterwards.
std::string TempPath(const char* name) {
  const char* dir = std::getenv("TMPDIR");
  return std::string(dir && *dir ? dir : "/tmp") + "/obrix_bench_" + std::to_string(::getpid()) + name;
}

void BM_ExportDayGeoPackage(benchmark::State& state) {
  const int fd = DayFile();
  const std::string path = TempPath(".gpkg");
  int64_t readings = 0;
  for (auto _ : state) {
    GeoPackageWriter writer(path);
    const ExportSummary s = ExportSurveyOverlapped(fd, writer);
    readings += s.counts.readings;
    if (!writer.ok()) state.SkipWithError(writer.error().c_str());
  }
  state.SetItemsProcessed(readings);
  ::unlink(path.c_str());
}

void BM_GridDay(benchmark::State& state) {
  const int fd = DayFile();
  const std::string path = TempPath(".tif");
  int64_t readings = 0, cells = 0;
  for (auto _ : state) {
    GridCollector collector;
    const ExportSummary s = ExportSurvey(fd, [&collector](const ExportRow& r) { collector.Add(r); });
    const GridInput in = collector.Take();
    GridPlan plan;
    GridRaster raster;
    std::string why;
    if (!PlanGrid(in.points, 0.5, DefaultRadius(MeasureSpacing(in.points), 0.5), GridMethod::Idw, plan, why) ||
        !GridSurvey(in, plan, raster, why) || !WriteGridTiff(path, raster, in, why)) {
      state.SkipWithError(why.c_str());
      break;
    }
    readings += s.counts.readings;
    cells = static_cast<int64_t>(plan.columns) * plan.rows;
  }
  state.SetItemsProcessed(readings);
  state.counters["cells"] = static_cast<double>(cells);
  ::unlink(path.c_str());
}

BENCHMARK(BM_ExportDayCsv)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportDayGeoJson)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportDayKml)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportDayGeoPackage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridDay)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace obrix
