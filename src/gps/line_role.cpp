#include "gps/line_role.h"

namespace obrix {
namespace {

LineClass WithRole(LineVerdict verdict, std::string_view line, const NmeaTable& table) {
  LineClass c;
  c.verdict = verdict;
  if (c.verdict == LineVerdict::Rejected) return c;
  if (NmeaHasTag(line, table.NmeaPositionTag)) c.role = LineRole::Position;
  else if (table.nmeaFormat == 0 && NmeaHasTag(line, "GSA")) c.role = LineRole::Gsa;
  else c.role = LineRole::Other;
  return c;
}

}  // namespace

LineClass ClassifyLine(std::string_view line, const NmeaTable& table) {
  return WithRole(JudgeLine(line, table.NmeaChecksumRequired == 1), line, table);
}

LineClass ClassifyLine(std::string_view line, const NmeaTable& table, const NmeaChecksumScan& scan) {
  return WithRole(JudgeLine(line, table.NmeaChecksumRequired == 1, scan), line, table);
}

}  // namespace obrix
