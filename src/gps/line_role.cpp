#include "gps/line_role.h"

namespace obrix {

LineClass ClassifyLine(std::string_view line, const NmeaTable& table) {
  LineClass c;
  c.verdict = JudgeLine(line, table.NmeaChecksumRequired == 1);
  if (c.verdict == LineVerdict::Rejected) return c;
  if (NmeaHasTag(line, table.NmeaPositionTag)) c.role = LineRole::Position;
  else if (table.nmeaFormat == 0 && NmeaHasTag(line, "GSA")) c.role = LineRole::Gsa;
  else c.role = LineRole::Other;
  return c;
}

}  // namespace obrix
