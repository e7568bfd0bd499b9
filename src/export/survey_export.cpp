#include "export/survey_export.h"

namespace obrix {

ExportSummary ExportSurvey(int fd, const std::function<void(const ExportRow&)>& sink, ExportOptions options,
                           const std::function<void(const ExportFix&)>& fixSink) {
  ExportSummary summary;
  SurveyEventReader reader(fd);
  ReadingExporter exporter(sink, options, fixSink);
  SurveyEvent e;
  while (reader.Next(e)) exporter.Feed(e);
  exporter.Finish();
  summary.counts = exporter.counts();
  summary.skippedRecords = reader.skipped();
  summary.readFailed = reader.failed();
  return summary;
}

ExportSummary ExportSurvey(int fd, ExportWriter& writer, ExportOptions options) {
  writer.Begin();
  ExportSummary s = ExportSurvey(
      fd, [&writer](const ExportRow& row) { writer.Row(row); }, options,
      [&writer](const ExportFix& fix) { writer.Fix(fix); });
  writer.End();
  return s;
}

}  // namespace obrix
