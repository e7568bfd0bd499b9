#pragma once
// Exporting a whole data file: the identifier check, and every reading through the event reader and the
// positioner into a row sink or a format writer.
#include <functional>

#include "export/export_formats.h"
#include "export/reading_export.h"

namespace obrix {

enum class SurveyFileCheck { Ok, Empty, Foreign, Unreadable };

// Looks at the first record: an identifier record of this program ("OBX38" or "oBX38", 26 characters and a line
// feed).
SurveyFileCheck CheckSurveyFile(int fd);

struct ExportSummary {
  ExportCounts counts;
  int64_t skippedRecords = 0;
  bool readFailed = false;
};

ExportSummary ExportSurvey(int fd, const std::function<void(const ExportRow&)>& sink);
// Begin, every row and End on `writer`.
ExportSummary ExportSurvey(int fd, ExportWriter& writer);

}  // namespace obrix
