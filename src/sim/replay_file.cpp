#include "sim/replay_file.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "datafile/file_naming.h"
#include "datafile/survey_events.h"
#include "platform/files.h"

namespace obrix::sim {
namespace {

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

bool Refuse(std::string* error, const std::string& why) {
  if (error) *error = why;
  return false;
}

}  // namespace

bool ReadReplayEvents(const std::string& path, std::vector<ReplayEvent>* events, std::string* error) {
  events->clear();
  std::string why;
  Fd fd(OpenRegularFileForReading(path, &why));
  if (fd.get() < 0) return Refuse(error, "cannot open " + path + ": " + why);
  switch (CheckSurveyFile(fd.get())) {
    case SurveyFileCheck::Ok: break;
    case SurveyFileCheck::Empty: return Refuse(error, path + " is empty");
    case SurveyFileCheck::Foreign:
      return Refuse(error, path + " is not a survey data file (it does not start with " + kDataFileMagic + ")");
    case SurveyFileCheck::Unreadable: return Refuse(error, "cannot read " + path + ": " + std::strerror(errno));
  }

  SurveyEventReader reader(fd.get());
  SurveyEvent e;
  while (reader.Next(e)) {
    ReplayKind kind;
    switch (e.kind) {
      case SurveyEventKind::Reading: kind = ReplayKind::Reading; break;
      case SurveyEventKind::Sentence: kind = ReplayKind::Sentence; break;
      case SurveyEventKind::RawLine: kind = ReplayKind::RawLine; break;
      default: continue;
    }
    if (!e.hasTick || e.segment < 0) continue;
    events->push_back({kind, e.text, e.tick64, e.segment});
  }
  if (reader.failed()) return Refuse(error, "cannot read " + path + ": " + std::strerror(errno));
  return true;
}

bool LoadReplay(const std::string& path, bool readings, ReplayTimeline* out, std::string* error) {
  std::vector<ReplayEvent> events;
  if (!ReadReplayEvents(path, &events, error)) return false;
  *out = ReplayItemsFor(BuildReplayTimeline(events), readings);
  if (out->items.empty())
    return Refuse(error, path + (readings ? " holds no readings to replay" : " holds no sentences or raw lines to replay"));
  return true;
}

}  // namespace obrix::sim
