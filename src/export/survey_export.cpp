#include "export/survey_export.h"

namespace obrix {

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
