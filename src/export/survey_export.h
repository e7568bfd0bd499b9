#pragma once
// Exporting a whole data file: every reading through the event reader and the
// positioner into a row sink or a format writer.
#include <functional>

#include "export/export_formats.h"
#include "export/reading_export.h"

namespace obrix {

struct ExportSummary {
  ExportCounts counts;
  int64_t skippedRecords = 0;
  bool readFailed = false;
};

ExportSummary ExportSurvey(int fd, const std::function<void(const ExportRow&)>& sink, ExportOptions options = {},
                           const std::function<void(const ExportFix&)>& fixSink = nullptr);
// Begin, every fix and row, and End on `writer`.
ExportSummary ExportSurvey(int fd, ExportWriter& writer, ExportOptions options = {});
// The same with the file read and the readings placed on a second thread while `writer` writes on the calling
// one, in the same order (for writers slower than the walk, such as a database).
ExportSummary ExportSurveyOverlapped(int fd, ExportWriter& writer, ExportOptions options = {});

}  // namespace obrix
