#pragma once
// Byte images of the data-file records: 26 characters of text and a line feed, every unassigned byte a space.
// These builders are pure; the writers (datafile/writers.h) fill them from the process-wide state.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/ticks.h"
#include "settings/settings.h"

namespace obrix {

inline constexpr int RecordLength = 27;
inline constexpr int RecordTextLength = RecordLength - 1;  // the line feed sits at offset 26
inline constexpr int SentenceChunk = 25;                    // characters of a sentence per line

// Identifier record; appendMode 1 writes the first letter in lower case.
std::string IdentifierRecord(const Settings& s, int appendMode);
// File-name record with the first 10 bytes of the (already 8-bit) base name.
std::string FileNameRecord(std::string_view baseName, double readingInterval);
std::string SettingsRecord(const Settings& s);
std::string OriginEastingRecord(double easting, int zone);
std::string OriginNorthingRecord(double northing);

// Line block records. `lineName` is native (UTF-8) text, narrowed to Latin-1; `overflow` (8-bit) is
// written after the name only when `longBaseName` is set.
std::string LineRecord(std::string_view lineName, bool longBaseName, std::string_view overflow);
std::string StartStationRecord(double startStation);
std::string DirectionRecord(int lineDirection, double stationIncrement);
std::string DateRecord(const LocalTime& t);

std::string TimeMarkRecord(const LocalTime& t, uint32_t tick);
std::string StationRecord(double station, const LocalTime& t);
// `instrumentField`: the EM38 record as received (up to 12 bytes are kept).
std::string ReadingRecord(std::string_view instrumentField, uint32_t tick);
// Event ('X') or comment ('C'); `text` is native (UTF-8) text, narrowed and cut to 11 bytes.
std::string EventRecord(char kind, std::string_view text, uint32_t tick);

// The sentence lines of `text` (8-bit, no line end) followed by the trailer, as one block.
std::string SentenceGroup(std::string_view text, uint32_t tick, char firstMark, char contMark, char trailerMark,
                          char fixMark, long lineCounter);

// One swath record.
std::string SwathRecord(char kind, char subKind, double value);
// Set 0: the start marker; set 1 or 2: the four corner records; any other set gives an empty block.
std::string SwathBlock(char kind, int set, double v0, double v1, double v2, double v3);

// HH:MM:SS.mmm of a local time.
std::string ClockWithMillis(const LocalTime& t);

}  // namespace obrix
