// Arbitrary bytes as a survey data file through the event reader, the positioner and the three writers. Rows must
// come out in record order, one per reading, and positions must be finite numbers.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <sys/mman.h>
#include <unistd.h>

#include "export/survey_export.h"

using namespace obrix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const int fd = memfd_create("survey", 0);
  if (fd < 0) return 0;
  if (write(fd, data, size) != ssize_t(size)) {
    close(fd);
    return 0;
  }
  CheckSurveyFile(fd);
  std::ostringstream csv, json, kml;
  auto c = MakeExportWriter(ExportFormat::Csv, csv);
  auto j = MakeExportWriter(ExportFormat::GeoJson, json, "fuzz");
  auto k = MakeExportWriter(ExportFormat::Kml, kml, "fuzz");
  c->Begin();
  j->Begin();
  k->Begin();
  int64_t last = -1, rows = 0;
  const ExportSummary s = ExportSurvey(fd, [&](const ExportRow& r) {
    if (r.record <= last) __builtin_trap();
    last = r.record;
    ++rows;
    if (r.positioned && (!std::isfinite(r.easting) || !std::isfinite(r.northing))) __builtin_trap();
    if (r.hasGeo && (!(std::fabs(r.latitude) <= 90.0) || !(std::fabs(r.longitude) <= 180.0))) __builtin_trap();
    c->Row(r);
    j->Row(r);
    k->Row(r);
  });
  c->End();
  j->End();
  k->End();
  if (rows != s.counts.readings || s.counts.positioned > rows) __builtin_trap();
  close(fd);
  return 0;
}
