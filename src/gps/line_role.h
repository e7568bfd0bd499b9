#pragma once
// What a complete GPS line is under a format table: the checksum rule's verdict and, for a line taken, whether
// it is the position sentence, a GSA sentence the "GGA/GSA" format uses, or something else.
#include <string_view>

#include "gps/nmea_fields.h"
#include "gps/nmea_table.h"

namespace obrix {

enum class LineRole { Rejected, Position, Gsa, Other };

struct LineClass {
  LineVerdict verdict = LineVerdict::Rejected;  // Rejected: not a '$' line, or its checksum failed
  LineRole role = LineRole::Rejected;
};

LineClass ClassifyLine(std::string_view line, const NmeaTable& table);
// The same for a line without NUL whose checksum facts are known (NmeaLineAssembler::checksum()).
LineClass ClassifyLine(std::string_view line, const NmeaTable& table, const NmeaChecksumScan& scan);

}  // namespace obrix
