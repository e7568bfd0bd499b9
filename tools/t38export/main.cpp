// t38export FILE [--format csv|geojson|kml|gpkg] [--output PATH] [--lag MS]: every reading of a survey data file
// with its position, time and value.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <unistd.h>

#include "export/survey_export.h"
#include "gis/geopackage_writer.h"
#include "platform/files.h"
#include "platform/program_options.h"

namespace {

// Exit codes.
constexpr int kOk = 0, kUsage = 1, kCannotRead = 2, kForeign = 3, kCannotWrite = 4;

const char kUsageText[] =
    "usage: t38export FILE [--format csv|geojson|kml|gpkg] [--output PATH] [--lag MS]\n"
    "Exports every reading of a survey data file with its sensor position (UTM and WGS 84), local and UTC\n"
    "time, station, value and flags. Writes CSV to standard output unless told otherwise.\n"
    "  --format F     csv (default), geojson, kml or gpkg (a GeoPackage with a readings and a track layer;\n"
    "                 needs --output)\n"
    "  --output PATH  write to PATH instead of standard output\n"
    "  --lag MS       place each reading where the sensor was MS milliseconds before it was received\n"
    "                 (0 to 60000, default 0)\n"
    "  --help         this text\n"
    "  --version      the version\n"
    "Exit codes: 0 done, 1 bad arguments, 2 file missing or unreadable, 3 not a survey data file,\n"
    "4 output cannot be written.\n";

int Usage(const char* message) {
  if (message) std::fprintf(stderr, "t38export: %s\n", message);
  std::fputs(kUsageText, stderr);
  return kUsage;
}

std::string BaseName(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const size_t dot = name.find_last_of('.');
  return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

}  // namespace

int main(int argc, char** argv) {
  if (auto code = obrix::AnswerHelpOrVersion(argc, argv, "t38export", kUsageText)) return *code;
  std::string input, output;
  obrix::ExportFormat format = obrix::ExportFormat::Csv;
  bool gpkg = false;
  obrix::ExportOptions options;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--format" || a == "--output" || a == "--lag") {
      if (i + 1 >= argc) return Usage((a + " needs a value").c_str());
      const std::string v = argv[++i];
      if (a == "--output") {
        output = v;
      } else if (a == "--lag") {
        if (!obrix::ParseLagMs(v, options.lagMs)) return Usage(("bad lag \"" + v + "\" (0 to 60000 ms)").c_str());
      } else if (v == "gpkg") {
        gpkg = true;
      } else if (!obrix::ParseExportFormat(v, format)) {
        return Usage(("unknown format \"" + v + "\"").c_str());
      } else {
        gpkg = false;
      }
    } else if (!a.empty() && a[0] == '-' && a != "-") {
      return Usage(("unknown option " + a).c_str());
    } else if (input.empty()) {
      input = a;
    } else {
      return Usage("only one FILE");
    }
  }
  if (input.empty()) return Usage("no FILE given");
  if (gpkg && (output.empty() || output == "-")) return Usage("a GeoPackage needs --output FILE.gpkg");

  std::string why;
  const int fd = obrix::OpenRegularFileForReading(input, &why);
  if (fd < 0) {
    std::fprintf(stderr, "t38export: %s: %s\n", input.c_str(), why.c_str());
    return kCannotRead;
  }
  switch (obrix::CheckSurveyFile(fd)) {
    case obrix::SurveyFileCheck::Ok: break;
    case obrix::SurveyFileCheck::Empty:
      std::fprintf(stderr, "t38export: %s: the file is empty\n", input.c_str());
      ::close(fd);
      return kForeign;
    case obrix::SurveyFileCheck::Foreign:
      std::fprintf(stderr, "t38export: %s: not a survey data file of this program (no identifier record)\n",
                   input.c_str());
      ::close(fd);
      return kForeign;
    case obrix::SurveyFileCheck::Unreadable:
      std::fprintf(stderr, "t38export: %s: %s\n", input.c_str(), std::strerror(errno));
      ::close(fd);
      return kCannotRead;
  }

  obrix::ExportSummary s;
  if (gpkg) {
    obrix::GeoPackageWriter writer(output);
    s = obrix::ExportSurveyOverlapped(fd, writer, options);
    ::close(fd);
    if (!writer.ok()) {
      std::fprintf(stderr, "t38export: %s\n", writer.error().c_str());
      ::unlink(output.c_str());
      return kCannotWrite;
    }
    if (writer.epsg() > 0)
      std::fprintf(stderr, "t38export: positions in UTM zone %d%c (EPSG:%d)\n", writer.frame().zone,
                   writer.frame().north ? 'N' : 'S', writer.epsg());
    else
      std::fprintf(stderr, "t38export: local grid coordinates: the layers have no CRS\n");
  } else {
    std::ofstream file;
    std::ostream* out = &std::cout;
    if (!output.empty() && output != "-") {
      file.open(output, std::ios::binary | std::ios::trunc);
      if (!file) {
        std::fprintf(stderr, "t38export: cannot write %s: %s\n", output.c_str(), std::strerror(errno));
        ::close(fd);
        return kCannotWrite;
      }
      out = &file;
    }
    std::ios::sync_with_stdio(false);
    auto writer = obrix::MakeExportWriter(format, *out, BaseName(input));
    s = obrix::ExportSurvey(fd, *writer, options);
    ::close(fd);
    out->flush();
    if (!*out) {
      std::fprintf(stderr, "t38export: writing %s failed\n", output.empty() ? "standard output" : output.c_str());
      return kCannotWrite;
    }
  }
  if (s.readFailed) {
    std::fprintf(stderr, "t38export: %s: read error; the export stops there\n", input.c_str());
    return kCannotRead;
  }
  std::fprintf(stderr, "t38export: %lld readings, %lld positioned, %lld fixes", static_cast<long long>(s.counts.readings),
               static_cast<long long>(s.counts.positioned), static_cast<long long>(s.counts.fixes));
  if (options.lagMs > 0) std::fprintf(stderr, ", lag %lld ms", static_cast<long long>(options.lagMs));
  if (s.skippedRecords > 0) std::fprintf(stderr, ", %lld bad records skipped", static_cast<long long>(s.skippedRecords));
  std::fputc('\n', stderr);
  return kOk;
}
