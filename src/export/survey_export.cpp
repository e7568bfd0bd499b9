#include "export/survey_export.h"

#include <cerrno>
#include <string_view>
#include <unistd.h>

#include "datafile/records.h"

namespace obrix {

SurveyFileCheck CheckSurveyFile(int fd) {
  char head[RecordLength];
  ssize_t n;
  do n = ::pread(fd, head, sizeof head, 0);
  while (n < 0 && errno == EINTR);
  if (n < 0) return SurveyFileCheck::Unreadable;
  if (n == 0) return SurveyFileCheck::Empty;
  const std::string_view h(head, static_cast<size_t>(n));
  if (n < RecordLength || (h[0] != 'O' && h[0] != 'o') || h.substr(1, 4) != "BX38" || h[RecordLength - 1] != '\n')
    return SurveyFileCheck::Foreign;
  return SurveyFileCheck::Ok;
}

ExportSummary ExportSurvey(int fd, const std::function<void(const ExportRow&)>& sink) {
  ExportSummary summary;
  SurveyEventReader reader(fd);
  ReadingExporter exporter(sink);
  SurveyEvent e;
  while (reader.Next(e)) exporter.Feed(e);
  exporter.Finish();
  summary.counts = exporter.counts();
  summary.skippedRecords = reader.skipped();
  summary.readFailed = reader.failed();
  return summary;
}

ExportSummary ExportSurvey(int fd, ExportWriter& writer) {
  writer.Begin();
  ExportSummary s = ExportSurvey(fd, [&writer](const ExportRow& row) { writer.Row(row); });
  writer.End();
  return s;
}

}  // namespace obrix
