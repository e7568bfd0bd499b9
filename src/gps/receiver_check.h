#pragma once
// A receiver's byte stream judged as the program judges it: the GPS reader's line assembly and checksum rule,
// then every position sentence of the format decoded and placed as the fix handler does it (the dilutions of
// GSA sentences in the "GGA/GSA" format included), the zone being fixed by the first valid position. The live
// reader's 910 ms spacing is left out: every position sentence is judged.
#include <functional>
#include <string>
#include <string_view>

#include "gps/fix_position.h"
#include "gps/line_assembler.h"
#include "gps/nmea_table.h"

namespace obrix {

struct CheckedSentence {
  std::string_view sentence;  // the line as assembled (valid during the call)
  FixPosition position;       // easting and northing in metres
};

struct ReceiverCheckCounts {
  long lines = 0;      // complete lines
  long rejected = 0;   // not a '$' line, or a failed checksum
  long positions = 0;  // position sentences judged
  long valid = 0;
  long invalid = 0;
};

class ReceiverCheck {
 public:
  using RowFn = std::function<void(const CheckedSentence&)>;
  explicit ReceiverCheck(const NmeaTable& table);

  // Feeds received bytes; `row` is called for each position sentence in order.
  void Feed(std::string_view bytes, const RowFn& row);
  const ReceiverCheckCounts& counts() const { return counts_; }
  const NmeaTable& table() const { return table_; }

 private:
  NmeaTable table_;
  NmeaLineAssembler line_;
  CurrentFixValues fix_;
  UtmZoneState zones_;
  ReceiverCheckCounts counts_;
};

// The CSV of the receiver check: the header row and one row per position sentence (each ends in "\n").
// Columns: sentence, valid, reason, latitude, longitude, easting, northing, zone, quality, satellites, dop, time.
// Values the format does not carry, or that were not received, are left empty; grid formats give their grid
// northing and easting (metres) without latitude, longitude and zone.
std::string ReceiverCheckCsvHeader();
std::string ReceiverCheckCsvRow(const CheckedSentence& s, const NmeaTable& table);

}  // namespace obrix
