#pragma once
// A data file walked in order as typed events: the header block, line blocks, time marks, stations, readings,
// events and comments, reassembled sentence groups and (optionally) swath records. Ticks are also given
// unwrapped to 64 bits within a segment; every header block (the start of the file or an append session) starts
// a new segment. Records of the wrong length or of no known kind are skipped and counted.
#include <cstdint>
#include <string>
#include <vector>

#include "datafile/record_reader.h"

namespace obrix {

enum class SurveyEventKind { Header, LineStart, TimeMark, Station, Reading, Event, Comment, Sentence, RawLine, Swath };

// The header block: identifier, file-name, settings and the two origin records.
struct SurveyHeader {
  bool append = false;           // lower-case identifier: written when the file was re-opened
  std::string identifier;        // offsets 0-14 as stored ("OBX38   W215GPS")
  bool gpsInput = true;          // "GPS" (else "GRD")
  int mapUnits = 0, dipoleMode = 0, loggingMode = 0, component = 0, modelOption = 0, instrumentEnabled = 1;
  std::string baseName;          // first 10 bytes of the base name
  double readingInterval = 0.0;  // seconds
  double lateralOffset = 0.0;    // metres, to the left of travel
  double alongOffset = 0.0;      // metres, behind the antenna
  int rtsUnits = 0, slamPseudoGga = 0, nmeaFormat = 1;
  double originEasting = 0.0, originNorthing = 0.0;  // map units
  int zone = -9;                 // UTM zone of the positions, -9 (or anything outside 1..60) when not known
  int records = 0;               // header records seen (5 when complete)
};

// The line block: line, start-station, direction and date records.
struct SurveyLine {
  std::string name;          // up to 12 bytes
  std::string overflow;      // the base-name overflow after the name
  double startStation = 0.0;
  char direction = ' ';      // 'W', 'S', 'N' or 'E'
  double increment = 0.0;
  bool hasDate = false;
  int day = 0, month = 0, year = 0, hour = 0, minute = 0, second = 0;
  int records = 0;           // line-block records seen (4 when complete)
};

struct SurveyEvent {
  SurveyEventKind kind = SurveyEventKind::Reading;
  int64_t record = 0;    // index of the (first) record of the event
  int segment = 0;       // 0 for the first header block, +1 for each further one (-1 before any)
  bool hasTick = false;  // time marks, readings, events, comments and sentence groups
  uint32_t tick = 0;     // as stored
  int64_t tick64 = 0;    // unwrapped within the segment

  // Reading: the 12-byte instrument field exactly as stored (padding included). Event, comment: the text,
  // trailing spaces removed. Sentence, raw line: the reassembled text without its padding.
  std::string text;
  bool raw = false;      // raw line
  char fixMark = ' ';    // trailer fix mark ('p' for an accepted position fix)
  long lineCounter = 0;  // trailer line counter

  LocalTime time;        // time mark (hour..millisecond) and station (hour..millisecond)
  double station = 0.0;  // station record

  char swathSubKind = 0;  // swath record
  double swathValue = 0.0;

  SurveyHeader header;   // Header (also kept by the reader as the current header)
  SurveyLine line;       // LineStart
};

struct SurveyEventOptions {
  bool swaths = false;          // pass swath records through (else they are skipped, not counted)
  size_t maxSentence = 4096;    // longer sentence texts are cut
};

class SurveyEventReader {
 public:
  // `fd` stays owned by the caller; it is read from its start with positioned reads.
  explicit SurveyEventReader(int fd, SurveyEventOptions options = {});

  // The next event; false at the end of the file (or on a read error, see failed()).
  bool Next(SurveyEvent& e);

  int64_t skipped() const { return skipped_; }    // records of the wrong length or unknown kind
  bool failed() const { return failed_; }         // a read error ended the walk
  int segment() const { return segment_; }
  const SurveyHeader& header() const { return header_; }  // the last header block (partial while it is read)
  int64_t records() const { return index_; }      // records read so far

 private:
  bool ReadRecord(DataRecord& r);
  int64_t Unwrap(uint32_t tick);
  bool Pending(SurveyEvent& e);  // emits a header or line block that is complete or cut short
  void Start(SurveyEvent& e, SurveyEventKind kind) const;

  int fd_;
  SurveyEventOptions options_;
  std::vector<char> buffer_;
  size_t begin_ = 0, end_ = 0;
  int64_t offset_ = 0;
  bool eof_ = false, failed_ = false;
  int64_t index_ = 0;     // records (lines) read
  int64_t skipped_ = 0;

  int segment_ = -1;
  bool haveTick_ = false;
  uint32_t lastTick_ = 0;
  int64_t lastTick64_ = 0;

  SurveyHeader header_;
  int headerPlace_ = -1;  // records of the header block read so far, -1 outside one
  int64_t headerRecord_ = 0;
  SurveyLine line_;
  bool lineOpen_ = false;
  int64_t lineRecord_ = 0;

  DataRecord held_;       // a record that ended a block, handled on the next call
  bool haveHeld_ = false;

  SentenceAssembler sentences_;
  int64_t sentenceRecord_ = 0;
  bool sentenceOpen_ = false;
};

// Event texts the program writes.
bool IsPauseText(std::string_view text);     // "PAUSED", "PAUSED BMP"
bool IsStartedText(std::string_view text);   // "$STARTED"
bool IsConnectionBreakText(std::string_view text);  // "GPS CONN BR" (cut from "GPS CONN BRK")

enum class SurveyFileCheck { Ok, Empty, Foreign, Unreadable };

// Looks at the first record: an identifier record of this program ("OBX38" or "oBX38", 26 characters and a line
// feed).
SurveyFileCheck CheckSurveyFile(int fd);

}  // namespace obrix
