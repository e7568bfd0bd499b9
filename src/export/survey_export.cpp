#include "export/survey_export.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <variant>
#include <vector>

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

namespace {

// Batches of rows and fixes handed from the reading thread to the writing one; at most a few are held.
class Handover {
 public:
  using Item = std::variant<ExportRow, ExportFix>;
  static constexpr size_t kBatch = 512, kMaxBatches = 8;

  // Reading thread. False once the writing side has stopped taking batches.
  bool Put(std::vector<Item>&& batch) {
    std::unique_lock lock(mutex_);
    room_.wait(lock, [this] { return batches_.size() < kMaxBatches || stopped_; });
    if (stopped_) return false;
    batches_.push_back(std::move(batch));
    ready_.notify_one();
    return true;
  }
  void Close() {
    std::lock_guard lock(mutex_);
    closed_ = true;
    ready_.notify_one();
  }
  // Writing thread. False when the reading side has closed and everything was taken.
  bool Take(std::vector<Item>& batch) {
    std::unique_lock lock(mutex_);
    ready_.wait(lock, [this] { return !batches_.empty() || closed_; });
    if (batches_.empty()) return false;
    batch = std::move(batches_.front());
    batches_.pop_front();
    room_.notify_one();
    return true;
  }
  void Stop() {
    std::lock_guard lock(mutex_);
    stopped_ = true;
    room_.notify_one();
  }

 private:
  std::mutex mutex_;
  std::condition_variable ready_, room_;
  std::deque<std::vector<Item>> batches_;
  bool closed_ = false, stopped_ = false;
};

}  // namespace

ExportSummary ExportSurveyOverlapped(int fd, ExportWriter& writer, ExportOptions options) {
  Handover handover;
  ExportSummary summary;
  std::thread reader([&] {
    std::vector<Handover::Item> batch;
    batch.reserve(Handover::kBatch);
    bool taking = true;
    auto add = [&](Handover::Item&& item) {
      if (!taking) return;
      batch.push_back(std::move(item));
      if (batch.size() < Handover::kBatch) return;
      taking = handover.Put(std::move(batch));
      batch = std::vector<Handover::Item>();
      batch.reserve(Handover::kBatch);
    };
    summary = ExportSurvey(
        fd, [&](const ExportRow& row) { add(row); }, options, [&](const ExportFix& fix) { add(fix); });
    if (taking && !batch.empty()) handover.Put(std::move(batch));
    handover.Close();
  });
  // The reader is joined however the writer leaves (an exception included).
  struct Join {
    Handover& handover;
    std::thread& thread;
    ~Join() {
      handover.Stop();
      thread.join();
    }
  } join{handover, reader};
  writer.Begin();
  std::vector<Handover::Item> batch;
  while (handover.Take(batch)) {
    for (const Handover::Item& item : batch) {
      if (const ExportRow* row = std::get_if<ExportRow>(&item)) writer.Row(*row);
      else writer.Fix(std::get<ExportFix>(item));
    }
  }
  writer.End();
  return summary;  // written before the reader closed the handover, which the last Take saw
}

}  // namespace obrix
