#pragma once
// Reading a data file back: fixed-length records by index, forwards or backwards, with positioned reads that
// never move the writers' append position. A short final record is the end of the file.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "datafile/records.h"

namespace obrix {

inline constexpr int kMaxRecordLength = 64;

// One record; its last byte (the line feed) is replaced by a NUL. Offsets as in the writers.
struct DataRecord {
  std::array<char, kMaxRecordLength + 1> bytes{};
  int length = 0;  // record length including the line feed

  char kind() const { return length > 0 ? bytes[0] : '\0'; }
  // Character at `offset` of the text, NUL beyond it.
  char at(int offset) const { return offset >= 0 && offset < length - 1 ? bytes[offset] : '\0'; }
  // The text without the line feed (length - 1 bytes, NULs included).
  std::string_view text() const { return {bytes.data(), static_cast<size_t>(length > 0 ? length - 1 : 0)}; }
  // `width` bytes from `offset`, clipped to the text.
  std::string_view field(int offset, int width) const;
  // Makes a record from raw bytes (at most `recordLength`; the last is replaced by NUL).
  static DataRecord From(std::string_view raw, int recordLength = RecordLength);
};

class RecordReader {
 public:
  // `fd` stays owned by the caller. `recordLength` is clamped to 2..kMaxRecordLength.
  explicit RecordReader(int fd, int recordLength = RecordLength);

  // Whole records in the file now.
  int64_t Count() const;
  // Record `index` (0-based); false past the end, at a short record or on a read error.
  bool ReadAt(int64_t index, DataRecord& out) const;

  // A cursor over the records: Next reads the record at the cursor and advances; Prev steps back and reads.
  void SeekStart() { cursor_ = 0; }
  void SeekEnd() { cursor_ = Count(); }
  void Seek(int64_t index) { cursor_ = index < 0 ? 0 : index; }
  int64_t Position() const { return cursor_; }
  bool Next(DataRecord& out);
  bool Prev(DataRecord& out);

 private:
  int fd_;
  int length_;
  int64_t cursor_ = 0;
};

// Forward reading of fixed-length records in blocks (one positioned read per block instead of one per record),
// for walks over a whole file. The same records as RecordReader::Next: a short final record ends the walk.
class RecordBlockReader {
 public:
  // `fd` stays owned by the caller. `recordLength` is clamped to 2..kMaxRecordLength.
  explicit RecordBlockReader(int fd, int recordLength = RecordLength);

  void Seek(int64_t index);
  int64_t Position() const { return next_; }
  // The record at the cursor, then the cursor advances; false at the end or on a read error.
  bool Next(DataRecord& out);

 private:
  bool Fill();

  int fd_;
  int length_;
  int64_t next_ = 0;        // index of the next record to hand out
  int64_t first_ = 0;       // index of the first record in the buffer
  int64_t count_ = 0;       // whole records in the buffer
  std::string buffer_;
};

// ---- Field readers (text fields trimmed of trailing spaces, numbers parsed in the C locale) ----

// The ten-character tick at offsets 16-25 (readings, events, comments, time marks, trailers).
uint32_t RecordTick(const DataRecord& r);
// Text of an event or comment record (offsets 1-11).
std::string_view EventText(const DataRecord& r);
// The instrument field of a reading record (offsets 0-11).
std::string_view InstrumentField(const DataRecord& r);
// Swath records: sub-kind at offset 1, value at 2-15.
inline char SwathSubKind(const DataRecord& r) { return r.at(1); }
double SwathValue(const DataRecord& r);
// Trailer: line counter (1-6) and fix mark (7).
long TrailerCounter(const DataRecord& r);
inline char TrailerFixMark(const DataRecord& r) { return r.at(7); }
// The 25 characters of a sentence or raw line (offsets 1-25).
std::string_view SentenceChunkText(const DataRecord& r);
// Numbers at fixed places: "%11.2f" station values at 1-11, the "%11.3f" increment at 8-18, origins at 1-14.
double FieldNumber(const DataRecord& r, int offset, int width);
int FieldInt(const DataRecord& r, int offset, int width);

std::string_view TrimRight(std::string_view s);

// Reassembles sentence groups from '@'/'#' (sentence) or '?'/'"' (raw line) records; the trailer ('!')
// completes the group. The padding of the last line is removed. Texts longer than `maxLength` are cut.
class SentenceAssembler {
 public:
  explicit SentenceAssembler(size_t maxLength = 4096) : max_(maxLength) {}
  // Feeds one record; returns true when it completed a group (a trailer after at least one line).
  bool Feed(const DataRecord& r);
  const std::string& text() const { return done_; }
  bool raw() const { return doneRaw_; }

 private:
  size_t max_;
  std::string text_, done_;
  bool active_ = false, raw_ = false, doneRaw_ = false;
};

}  // namespace obrix
