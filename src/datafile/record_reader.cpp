#include "datafile/record_reader.h"

#include <algorithm>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/numbers.h"

namespace obrix {

std::string_view DataRecord::field(int offset, int width) const {
  std::string_view t = text();
  if (offset < 0 || width <= 0 || static_cast<size_t>(offset) >= t.size()) return {};
  return t.substr(static_cast<size_t>(offset), static_cast<size_t>(width));
}

DataRecord DataRecord::From(std::string_view raw, int recordLength) {
  DataRecord r;
  recordLength = std::clamp(recordLength, 2, kMaxRecordLength);
  size_t n = std::min(raw.size(), static_cast<size_t>(recordLength));
  std::copy_n(raw.data(), n, r.bytes.data());
  r.length = static_cast<int>(n);
  if (n > 0) r.bytes[n - 1] = '\0';
  return r;
}

RecordReader::RecordReader(int fd, int recordLength)
    : fd_(fd), length_(std::clamp(recordLength, 2, kMaxRecordLength)) {}

int64_t RecordReader::Count() const {
  struct stat st{};
  if (fd_ < 0 || ::fstat(fd_, &st) != 0 || st.st_size < 0) return 0;
  return static_cast<int64_t>(st.st_size) / length_;
}

bool RecordReader::ReadAt(int64_t index, DataRecord& out) const {
  out = DataRecord();
  if (fd_ < 0 || index < 0) return false;
  size_t got = 0;
  off_t base = static_cast<off_t>(index) * length_;
  while (got < static_cast<size_t>(length_)) {
    ssize_t n = ::pread(fd_, out.bytes.data() + got, static_cast<size_t>(length_) - got,
                        base + static_cast<off_t>(got));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    got += static_cast<size_t>(n);
  }
  out.length = length_;
  out.bytes[static_cast<size_t>(length_) - 1] = '\0';
  return true;
}

bool RecordReader::Next(DataRecord& out) {
  if (!ReadAt(cursor_, out)) return false;
  ++cursor_;
  return true;
}

bool RecordReader::Prev(DataRecord& out) {
  if (cursor_ <= 0) return false;
  if (!ReadAt(cursor_ - 1, out)) return false;
  --cursor_;
  return true;
}

namespace {
constexpr size_t kBlockBytes = 64 * 1024;
}

RecordBlockReader::RecordBlockReader(int fd, int recordLength)
    : fd_(fd), length_(std::clamp(recordLength, 2, kMaxRecordLength)) {}

void RecordBlockReader::Seek(int64_t index) { next_ = index < 0 ? 0 : index; }

bool RecordBlockReader::Fill() {
  count_ = 0;
  first_ = next_;
  if (fd_ < 0) return false;
  const size_t records = kBlockBytes / static_cast<size_t>(length_);
  buffer_.resize(records * static_cast<size_t>(length_));
  const off_t base = static_cast<off_t>(next_) * length_;
  size_t got = 0;
  while (got < buffer_.size()) {
    const ssize_t n = ::pread(fd_, buffer_.data() + got, buffer_.size() - got, base + static_cast<off_t>(got));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<size_t>(n);
  }
  count_ = static_cast<int64_t>(got / static_cast<size_t>(length_));
  return count_ > 0;
}

bool RecordBlockReader::Next(DataRecord& out) {
  if (next_ < first_ || next_ >= first_ + count_) {
    if (!Fill()) return false;
  }
  const char* from = buffer_.data() + static_cast<size_t>(next_ - first_) * static_cast<size_t>(length_);
  std::copy_n(from, length_, out.bytes.data());
  out.bytes[static_cast<size_t>(length_) - 1] = '\0';
  out.bytes[static_cast<size_t>(length_)] = '\0';
  out.length = length_;
  ++next_;
  return true;
}

std::string_view TrimRight(std::string_view s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\0')) s.remove_suffix(1);
  return s;
}

double FieldNumber(const DataRecord& r, int offset, int width) { return ParseRealC(r.field(offset, width)); }
int FieldInt(const DataRecord& r, int offset, int width) { return ParseIntC(r.field(offset, width)); }

uint32_t RecordTick(const DataRecord& r) {
  std::string_view f = r.field(16, 10);
  uint32_t v = 0;
  for (char c : f) {
    if (c == ' ' && v == 0) continue;
    if (c < '0' || c > '9') break;
    v = v * 10 + static_cast<uint32_t>(c - '0');  // ten digits of a 32-bit tick; wider values wrap
  }
  return v;
}

std::string_view EventText(const DataRecord& r) { return TrimRight(r.field(1, 11)); }
std::string_view InstrumentField(const DataRecord& r) { return TrimRight(r.field(0, 12)); }
double SwathValue(const DataRecord& r) { return FieldNumber(r, 2, 14); }
long TrailerCounter(const DataRecord& r) { return ParseIntC(r.field(1, 6)); }
std::string_view SentenceChunkText(const DataRecord& r) { return r.field(1, SentenceChunk); }

bool SentenceAssembler::Feed(const DataRecord& r) {
  auto append = [this](std::string_view chunk) {
    size_t room = max_ > text_.size() ? max_ - text_.size() : 0;
    text_.append(chunk.substr(0, room));
  };
  switch (r.kind()) {
    case '@':
    case '?':
      text_.clear();
      active_ = true;
      raw_ = r.kind() == '?';
      append(SentenceChunkText(r));
      return false;
    case '#':
    case '"':
      if (active_ && raw_ == (r.kind() == '"')) append(SentenceChunkText(r));
      return false;
    case '!':
      if (!active_) return false;
      active_ = false;
      done_.assign(TrimRight(text_));
      doneRaw_ = raw_;
      text_.clear();
      return true;
    default:
      return false;
  }
}

}  // namespace obrix
