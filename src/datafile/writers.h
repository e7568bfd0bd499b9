#pragma once
// The data-file writers. Each writes at the end of the open data file and returns true when everything was
// written; with no file open nothing is written (false). Failed writes are counted (DataFile().
// DataFileWriteErrors). Safe to call from the window thread and the GPS reader thread at once: each record,
// sentence group and corner set is one write() on an O_APPEND descriptor.
#include <cstdint>
#include <string_view>

namespace obrix {

// Identifier, file-name, settings and the two origin records, one write each; sets LongBaseName and
// BaseNameOverflow. appendMode 1 marks a header written on append (lower-case first letter).
bool WriteHeaderBlock(int appendMode);
// Line, start-station, direction and date records, one write each.
bool WriteLineBlock();
bool WriteTimeMark();
// The current station (owned by the reading handler) with the local time.
bool WriteStationRecord(double station);
// The current EM38 record as received, with the tick of its reception.
bool WriteReadingRecord(std::string_view em38Record, uint32_t receptionTick);
// kind 'X' (event) or 'C' (comment); `text` is native text, narrowed and cut to 11 bytes.
bool WriteEventRecord(std::string_view text, char kind);
// A sentence ('@', '#', '!', ' ' or 'p') or raw line ('?', '"', '!', ' ') with its trailer, in one write.
// A group whose tick is earlier than LoggingStartTick (modulo 2^32) is dropped (the result is then true).
bool WriteGpsSentence(std::string_view text, uint32_t tick, char firstMark, char contMark, char trailerMark,
                      char fixMark, long lineCounter);
// Set 0: the start marker (values ignored); set 1 or 2: the four corner records in one write.
bool WriteSwathRecord(char kind, int set, double v0, double v1, double v2, double v3);

// true when `tick` is not earlier than `start`, comparing modulo 2^32.
inline bool TickNotBefore(uint32_t tick, uint32_t start) { return static_cast<int32_t>(tick - start) >= 0; }

}  // namespace obrix
