// t38grid FILE --output OUT.tif [--cell M] [--method idw|nearest|linear|average] [--radius M] [--lag MS]
// [--colour [--scale MIN,MAX]]: the readings of a survey data file gridded into a GeoTIFF.
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

#include "platform/program_options.h"
#include "settings/settings.h"
#include "export/survey_export.h"
#include "gis/gdal_support.h"
#include "gis/survey_grid.h"
#include "platform/files.h"
#include "settings/settings_file.h"

namespace {

// Exit codes (those of t38export, and one more).
constexpr int kOk = 0, kUsage = 1, kCannotRead = 2, kForeign = 3, kCannotWrite = 4, kNothingToGrid = 5;

const char kUsageText[] =
    "usage: t38grid FILE --output OUT.tif [--cell M] [--method idw|nearest|linear|average] [--radius M]\n"
    "               [--lag MS] [--colour [--scale MIN,MAX]]\n"
    "Grids the survey's channel (conductivity in mS/m or inphase in ppt, as recorded) into a single-band\n"
    "Float32 GeoTIFF in the survey's UTM zone, north up; cells with no reading within the radius are nodata.\n"
    "  --output PATH   the GeoTIFF to write\n"
    "  --cell M        cell size (default: from the reading spacing along the lines)\n"
    "  --method NAME   idw (inverse distance, default), nearest, linear or average (moving average)\n"
    "  --radius M      search radius (default: one and a half line spacings)\n"
    "  --lag MS        place each reading where the sensor was MS milliseconds before it was received\n"
    "  --colour        write RGBA colours of the program's colour scale instead of values\n"
    "  --scale MIN,MAX the colour scale (default: the scale of the survey's component in the settings)\n"
    "  --help          this text\n"
    "  --version       the version\n"
    "Lengths are metres (the map units of a local grid, which gets no CRS).\n"
    "Exit codes: 0 done, 1 bad arguments, 2 file missing or unreadable, 3 not a survey data file,\n"
    "4 output cannot be written, 5 no positioned readings to grid.\n";

int Usage(const std::string& message) {
  if (!message.empty()) std::fprintf(stderr, "t38grid: %s\n", message.c_str());
  std::fputs(kUsageText, stderr);
  return kUsage;
}

bool ParseLength(const std::string& text, double& v) {
  char* end = nullptr;
  errno = 0;
  v = std::strtod(text.c_str(), &end);
  return !text.empty() && end && *end == 0 && errno == 0 && std::isfinite(v) && v > 0;
}

bool ParseScale(const std::string& text, obrix::ColourScale& scale) {
  const size_t comma = text.find(',');
  if (comma == std::string::npos) return false;
  char* end = nullptr;
  const std::string a = text.substr(0, comma), b = text.substr(comma + 1);
  scale.min = std::strtod(a.c_str(), &end);
  if (a.empty() || *end) return false;
  scale.max = std::strtod(b.c_str(), &end);
  if (b.empty() || *end) return false;
  return std::isfinite(scale.min) && std::isfinite(scale.max) && scale.max > scale.min;
}

}  // namespace

int main(int argc, char** argv) {
  if (auto code = obrix::AnswerHelpOrVersion(argc, argv, "t38grid", kUsageText)) return *code;
  using Clock = std::chrono::steady_clock;
  const Clock::time_point started = Clock::now();
  std::string input, output;
  double cell = 0.0, radius = 0.0;
  obrix::GridMethod method = obrix::GridMethod::Idw;
  obrix::ExportOptions options;
  bool colour = false, haveScale = false;
  obrix::ColourScale scale;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--colour") {
      colour = true;
    } else if (a == "--output" || a == "--cell" || a == "--method" || a == "--radius" || a == "--lag" ||
               a == "--scale") {
      if (i + 1 >= argc) return Usage(a + " needs a value");
      const std::string v = argv[++i];
      if (a == "--output") output = v;
      else if (a == "--cell" && !ParseLength(v, cell)) return Usage("bad cell \"" + v + "\" (a positive number)");
      else if (a == "--radius" && !ParseLength(v, radius)) return Usage("bad radius \"" + v + "\" (a positive number)");
      else if (a == "--method" && !obrix::ParseGridMethod(v, method)) return Usage("unknown method \"" + v + "\"");
      else if (a == "--lag" && !obrix::ParseLagMs(v, options.lagMs)) return Usage("bad lag \"" + v + "\" (0 to 60000 ms)");
      else if (a == "--scale" && !(haveScale = ParseScale(v, scale))) return Usage("bad scale \"" + v + "\" (MIN,MAX)");
    } else if (!a.empty() && a[0] == '-') {
      return Usage("unknown option " + a);
    } else if (input.empty()) {
      input = a;
    } else {
      return Usage("only one FILE");
    }
  }
  if (input.empty()) return Usage("no FILE given");
  if (output.empty() || output == "-") return Usage("--output OUT.tif is needed");
  if (haveScale && !colour) return Usage("--scale goes with --colour");

  std::string why;
  const int fd = obrix::OpenRegularFileForReading(input, &why);
  if (fd < 0) {
    std::fprintf(stderr, "t38grid: %s: %s\n", input.c_str(), why.c_str());
    return kCannotRead;
  }
  switch (obrix::CheckSurveyFile(fd)) {
    case obrix::SurveyFileCheck::Ok: break;
    case obrix::SurveyFileCheck::Empty:
      std::fprintf(stderr, "t38grid: %s: the file is empty\n", input.c_str());
      ::close(fd);
      return kForeign;
    case obrix::SurveyFileCheck::Foreign:
      std::fprintf(stderr, "t38grid: %s: not a survey data file of this program (no identifier record)\n",
                   input.c_str());
      ::close(fd);
      return kForeign;
    case obrix::SurveyFileCheck::Unreadable:
      std::fprintf(stderr, "t38grid: %s: %s\n", input.c_str(), std::strerror(errno));
      ::close(fd);
      return kCannotRead;
  }
  obrix::GridCollector collector;
  const obrix::ExportSummary s =
      obrix::ExportSurvey(fd, [&collector](const obrix::ExportRow& row) { collector.Add(row); }, options);
  ::close(fd);
  if (s.readFailed) {
    std::fprintf(stderr, "t38grid: %s: read error\n", input.c_str());
    return kCannotRead;
  }
  const obrix::GridInput in = collector.Take();
  if (in.points.x.empty()) {
    std::fprintf(stderr, "t38grid: %s: no positioned readings to grid (%lld readings)\n", input.c_str(),
                 static_cast<long long>(in.readings));
    return kNothingToGrid;
  }
  const char* units = in.geographic ? "m" : in.mapUnits == 0 ? "m" : "map units";
  if (cell <= 0.0 || radius <= 0.0) {
    const obrix::SurveySpacing spacing = obrix::MeasureSpacing(in.points);
    std::fprintf(stderr, "t38grid: readings %.3g %s apart along the lines, ", spacing.along, units);
    if (spacing.lines > 0) std::fprintf(stderr, "lines %.3g %s apart\n", spacing.lines, units);
    else std::fprintf(stderr, "line spacing unknown\n");
    if (cell <= 0.0) {
      cell = obrix::DefaultCell(spacing);
      std::fprintf(stderr, "t38grid: cell %g %s (default)\n", cell, units);
    }
    if (radius <= 0.0) {
      radius = obrix::DefaultRadius(spacing, cell);
      std::fprintf(stderr, "t38grid: radius %.3g %s (default)\n", radius, units);
    }
  }
  obrix::GridPlan plan;
  if (!obrix::PlanGrid(in.points, cell, radius, method, plan, why)) {
    std::fprintf(stderr, "t38grid: %s\n", why.c_str());
    return kUsage;
  }
  if (colour && !haveScale) {
    obrix::ResetSettings();
    obrix::ReadSettingsFile();
    obrix::Settings settings = obrix::Config();
    settings.component = in.conductivity ? 0 : 1;
    scale = obrix::ColourScaleFor(settings);
    if (!(scale.max > scale.min)) return Usage("the settings' colour scale is empty; give --scale MIN,MAX");
  }

  obrix::GridRaster raster;
  if (!obrix::GridSurvey(in, plan, raster, why)) {
    std::fprintf(stderr, "t38grid: %s\n", why.c_str());
    return kCannotWrite;
  }
  const bool written = colour ? obrix::WriteColourTiff(output, raster, in, scale, why)
                              : obrix::WriteGridTiff(output, raster, in, why);
  if (!written) {
    std::fprintf(stderr, "t38grid: %s\n", why.c_str());
    return kCannotWrite;
  }
  const double seconds = std::chrono::duration<double>(Clock::now() - started).count();
  const int64_t cells = static_cast<int64_t>(plan.columns) * plan.rows;
  if (in.geographic)
    std::fprintf(stderr, "t38grid: UTM zone %d%c (EPSG:%d)\n", in.zone, in.north ? 'N' : 'S',
                 obrix::UtmEpsg(in.zone, in.north));
  else
    std::fprintf(stderr, "t38grid: local grid coordinates: the GeoTIFF has no CRS\n");
  std::fprintf(stderr, "t38grid: %s, %s, %lld of %lld readings used", obrix::ChannelText(in).c_str(),
               obrix::GridMethodName(method), static_cast<long long>(in.points.x.size()),
               static_cast<long long>(in.readings));
  if (options.lagMs > 0) std::fprintf(stderr, ", lag %lld ms", static_cast<long long>(options.lagMs));
  std::fprintf(stderr, "\nt38grid: %d x %d cells of %g %s, %.1f%% filled, values %g to %g", plan.columns, plan.rows,
               plan.cell, units, cells > 0 ? 100.0 * static_cast<double>(raster.filled) / static_cast<double>(cells) : 0.0,
               raster.min, raster.max);
  if (colour) std::fprintf(stderr, ", colours %g to %g", scale.min, scale.max);
  std::fprintf(stderr, ", %.2f s\n", seconds);
  return kOk;
}
