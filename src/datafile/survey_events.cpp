#include "datafile/survey_events.h"

#include <cerrno>
#include <cstring>
#include <string_view>
#include <unistd.h>

namespace obrix {
namespace {

constexpr size_t kBlockBytes = 64 * 1024;

// The tick field: spaces, then one to ten digits reaching the end of the field.
bool TickFieldValid(const DataRecord& r) {
  std::string_view f = r.field(16, 10);
  if (f.size() != 10) return false;
  size_t i = 0;
  while (i < f.size() && f[i] == ' ') ++i;
  if (i == f.size()) return false;
  for (; i < f.size(); ++i)
    if (f[i] < '0' || f[i] > '9') return false;
  return true;
}

int Digit(char c, int fallback) { return c >= '0' && c <= '9' ? c - '0' : fallback; }

int TwoDigits(const DataRecord& r, int offset) {
  const char a = r.at(offset), b = r.at(offset + 1);
  if (a < '0' || a > '9' || b < '0' || b > '9') return -1;
  return (a - '0') * 10 + (b - '0');
}

// "HH:MM:SS.mmm" at `offset`; false when it does not read as a time of day.
bool ClockAt(const DataRecord& r, int offset, LocalTime& t) {
  const int h = TwoDigits(r, offset), m = TwoDigits(r, offset + 3), s = TwoDigits(r, offset + 6);
  if (h < 0 || m < 0 || s < 0 || r.at(offset + 2) != ':' || r.at(offset + 5) != ':' || r.at(offset + 8) != '.')
    return false;
  int ms = 0;
  for (int i = 0; i < 3; ++i) {
    const char c = r.at(offset + 9 + i);
    if (c < '0' || c > '9') return false;
    ms = ms * 10 + (c - '0');
  }
  if (h > 23 || m > 59 || s > 60) return false;
  t.hour = h;
  t.minute = m;
  t.second = s;
  t.millisecond = ms;
  return true;
}

}  // namespace

bool IsPauseText(std::string_view text) { return text == "PAUSED" || text == "PAUSED BMP"; }
bool IsStartedText(std::string_view text) { return text == "$STARTED"; }
bool IsConnectionBreakText(std::string_view text) { return text == "GPS CONN BR"; }

SurveyEventReader::SurveyEventReader(int fd, SurveyEventOptions options)
    : fd_(fd), options_(options), buffer_(kBlockBytes), sentences_(options.maxSentence) {}

bool SurveyEventReader::ReadRecord(DataRecord& r) {
  bool overlong = false;  // a line longer than the buffer is being dropped
  for (;;) {
    const char* from = buffer_.data() + begin_;
    const void* lf = std::memchr(from, '\n', end_ - begin_);
    if (lf != nullptr) {
      const size_t len = static_cast<size_t>(static_cast<const char*>(lf) - from) + 1;
      begin_ += len;
      ++index_;
      if (!overlong && len == static_cast<size_t>(RecordLength)) {
        r = DataRecord::From(std::string_view(from, len));
        return true;
      }
      ++skipped_;
      overlong = false;
      continue;
    }
    if (eof_ || failed_) {
      if (end_ > begin_ || overlong) {
        ++skipped_;  // a record cut short at the end
        ++index_;
      }
      begin_ = end_ = 0;
      return false;
    }
    // Keep the unfinished line and read on; a line that fills the whole buffer is dropped.
    if (begin_ == 0 && end_ == buffer_.size()) {
      overlong = true;
      end_ = 0;
    } else {
      std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
      end_ -= begin_;
      begin_ = 0;
    }
    ssize_t n;
    do n = ::pread(fd_, buffer_.data() + end_, buffer_.size() - end_, static_cast<off_t>(offset_));
    while (n < 0 && errno == EINTR);
    if (n < 0) failed_ = true;
    else if (n == 0) eof_ = true;
    else {
      end_ += static_cast<size_t>(n);
      offset_ += n;
    }
  }
}

int64_t SurveyEventReader::Unwrap(uint32_t tick) {
  if (!haveTick_) {
    haveTick_ = true;
    lastTick64_ = tick;
  } else {
    lastTick64_ += static_cast<int32_t>(tick - lastTick_);
  }
  lastTick_ = tick;
  return lastTick64_;
}

void SurveyEventReader::Start(SurveyEvent& e, SurveyEventKind kind) const {
  e = SurveyEvent();
  e.kind = kind;
  e.segment = segment_;
  e.record = index_ - 1;
}

bool SurveyEventReader::Pending(SurveyEvent& e) {
  if (headerPlace_ >= 0) {
    headerPlace_ = -1;
    Start(e, SurveyEventKind::Header);
    e.record = headerRecord_;
    e.header = header_;
    return true;
  }
  if (lineOpen_) {
    lineOpen_ = false;
    Start(e, SurveyEventKind::LineStart);
    e.record = lineRecord_;
    e.line = line_;
    return true;
  }
  return false;
}

bool SurveyEventReader::Next(SurveyEvent& e) {
  DataRecord r;
  for (;;) {
    if (haveHeld_) {
      r = held_;
      haveHeld_ = false;
    } else if (!ReadRecord(r)) {
      return Pending(e);
    }
    const char k = r.kind();

    // An open block ends at the first record that does not continue it.
    const bool continuesHeader = headerPlace_ >= 0 && ((headerPlace_ == 0 && k == 'H') ||
                                                       (headerPlace_ >= 1 && headerPlace_ <= 3 && k == 'G'));
    const bool continuesLine = lineOpen_ && ((line_.records == 1 && k == 'B') || (line_.records == 2 && k == 'A') ||
                                             (line_.records == 3 && k == 'Z'));
    if ((headerPlace_ >= 0 && !continuesHeader) || (lineOpen_ && !continuesLine)) {
      held_ = r;
      haveHeld_ = true;
      Pending(e);
      return true;
    }
    if (sentenceOpen_ && k != '#' && k != '"' && k != '!') {
      sentences_ = SentenceAssembler(options_.maxSentence);  // a group cut short is dropped
      sentenceOpen_ = false;
      ++skipped_;
    }

    switch (k) {
      case 'O':
      case 'o':
        ++segment_;
        haveTick_ = false;
        header_ = SurveyHeader();
        header_.append = k == 'o';
        header_.identifier = std::string(TrimRight(r.field(0, 15)));
        header_.gpsInput = r.field(12, 3) != "GRD";
        header_.mapUnits = Digit(r.at(15), 0);
        if (header_.mapUnits > 2) header_.mapUnits = 0;
        header_.dipoleMode = Digit(r.at(16), 0);
        header_.loggingMode = Digit(r.at(17), 0);
        header_.component = Digit(r.at(18), 0);
        header_.modelOption = Digit(r.at(19), 0);
        header_.instrumentEnabled = FieldInt(r, 20, 2);
        header_.records = 1;
        headerPlace_ = 0;
        headerRecord_ = index_ - 1;
        continue;
      case 'H':
        if (headerPlace_ != 0) break;
        header_.baseName = std::string(TrimRight(r.field(1, 10)));
        header_.readingInterval = FieldNumber(r, 11, 7);
        header_.records = 2;
        headerPlace_ = 1;
        continue;
      case 'G':
        if (headerPlace_ == 1) {
          header_.lateralOffset = FieldNumber(r, 1, 7);
          header_.alongOffset = FieldNumber(r, 8, 7);
          header_.rtsUnits = Digit(r.at(17), 0);
          header_.slamPseudoGga = Digit(r.at(18), 0);
          header_.nmeaFormat = Digit(r.at(19), 1);
          header_.gpsInput = Digit(r.at(20), header_.gpsInput ? 1 : 0) == 1;
        } else if (headerPlace_ == 2) {
          header_.originEasting = FieldNumber(r, 1, 14);
          const int zone = TwoDigits(r, 16);
          header_.zone = zone >= 1 && zone <= 60 ? zone : -9;
        } else if (headerPlace_ == 3) {
          header_.originNorthing = FieldNumber(r, 1, 14);
        } else {
          break;
        }
        header_.records = ++headerPlace_ + 1;
        if (headerPlace_ == 4) {
          Pending(e);
          return true;
        }
        continue;
      case 'L':
        line_ = SurveyLine();
        line_.name = std::string(TrimRight(r.field(1, 12)));
        line_.overflow = std::string(TrimRight(r.field(13, 10)));
        line_.records = 1;
        lineOpen_ = true;
        lineRecord_ = index_ - 1;
        continue;
      case 'B':
        if (!lineOpen_) break;
        line_.startStation = FieldNumber(r, 1, 11);
        line_.records = 2;
        continue;
      case 'A':
        if (!lineOpen_) break;
        line_.direction = r.at(1);
        line_.increment = FieldNumber(r, 8, 11);
        line_.records = 3;
        continue;
      case 'Z': {
        if (!lineOpen_) break;
        line_.records = 4;
        const int day = TwoDigits(r, 1), month = TwoDigits(r, 3), y1 = TwoDigits(r, 5), y2 = TwoDigits(r, 7);
        const int h = TwoDigits(r, 10), m = TwoDigits(r, 13), s = TwoDigits(r, 16);
        if (day >= 1 && day <= 31 && month >= 1 && month <= 12 && y1 >= 0 && y2 >= 0 && h >= 0 && h <= 23 &&
            m >= 0 && m <= 59 && s >= 0 && s <= 60 && r.at(12) == ':' && r.at(15) == ':') {
          line_.hasDate = true;
          line_.day = day;
          line_.month = month;
          line_.year = y1 * 100 + y2;
          line_.hour = h;
          line_.minute = m;
          line_.second = s;
        }
        Pending(e);
        return true;
      }
      case '*':
        if (!TickFieldValid(r)) break;
        Start(e, SurveyEventKind::TimeMark);
        if (!ClockAt(r, 1, e.time)) break;
        e.hasTick = true;
        e.tick = RecordTick(r);
        e.tick64 = Unwrap(e.tick);
        return true;
      case 'S':
        Start(e, SurveyEventKind::Station);
        if (!ClockAt(r, 14, e.time)) break;
        e.station = FieldNumber(r, 1, 11);
        return true;
      case 'T':
        if (!TickFieldValid(r)) break;
        Start(e, SurveyEventKind::Reading);
        e.text.assign(r.field(0, 12));
        e.hasTick = true;
        e.tick = RecordTick(r);
        e.tick64 = Unwrap(e.tick);
        return true;
      case 'X':
      case 'C':
        if (!TickFieldValid(r)) break;
        Start(e, k == 'X' ? SurveyEventKind::Event : SurveyEventKind::Comment);
        e.text.assign(EventText(r));
        e.hasTick = true;
        e.tick = RecordTick(r);
        e.tick64 = Unwrap(e.tick);
        return true;
      case '@':
      case '?':
        sentences_.Feed(r);
        sentenceOpen_ = true;
        sentenceRecord_ = index_ - 1;
        continue;
      case '#':
      case '"':
        if (!sentenceOpen_) break;
        sentences_.Feed(r);
        continue;
      case '!': {
        if (!sentenceOpen_) break;
        sentenceOpen_ = false;
        if (!sentences_.Feed(r) || !TickFieldValid(r)) break;
        e = SurveyEvent();
        e.raw = sentences_.raw();
        e.kind = e.raw ? SurveyEventKind::RawLine : SurveyEventKind::Sentence;
        e.segment = segment_;
        e.record = sentenceRecord_;
        e.text = sentences_.text();
        e.fixMark = TrailerFixMark(r);
        e.lineCounter = TrailerCounter(r);
        e.hasTick = true;
        e.tick = RecordTick(r);
        e.tick64 = Unwrap(e.tick);
        return true;
      }
      case '{':
        if (!options_.swaths) continue;
        Start(e, SurveyEventKind::Swath);
        e.swathSubKind = SwathSubKind(r);
        e.swathValue = SwathValue(r);
        return true;
      default:
        break;
    }
    ++skipped_;
  }
}

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

}  // namespace obrix
