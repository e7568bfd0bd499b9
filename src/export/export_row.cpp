#include "export/export_row.h"

#include "platform/numbers.h"

namespace obrix {

std::string ExportFlagText(unsigned flags) {
  static constexpr struct {
    unsigned flag;
    const char* word;
  } kWords[] = {{kFlagBeforeFirstFix, "before_first_fix"}, {kFlagAfterLastFix, "after_last_fix"},
                {kFlagGap, "gap"},                         {kFlagPause, "pause"},
                {kFlagLineChange, "line_change"},          {kFlagNoHeading, "no_heading"}};
  std::string out;
  for (const auto& w : kWords) {
    if (!(flags & w.flag)) continue;
    if (!out.empty()) out += '+';
    out += w.word;
  }
  return out;
}

// Civil dates from and to day numbers (proleptic Gregorian calendar).
int64_t DayNumber(int year, int month, int day) {
  const int64_t y = year - (month <= 2 ? 1 : 0);
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilDate(int64_t z, int64_t& year, int& month, int& day) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int64_t d = doy - (153 * mp + 2) / 5 + 1;
  const int64_t m = mp < 10 ? mp + 3 : mp - 9;
  year = yoe + era * 400 + (m <= 2 ? 1 : 0);
  month = static_cast<int>(m);
  day = static_cast<int>(d);
}

std::string DayText(int64_t z) {
  int64_t y = 0;
  int m = 0, d = 0;
  CivilDate(z, y, m, d);
  return FormatC("%04lld-%02d-%02d", static_cast<long long>(y), m, d);
}

std::string MillisText(int64_t ms) {
  ms = ((ms % 86400000) + 86400000) % 86400000;
  const int parts[4] = {static_cast<int>(ms / 3600000), static_cast<int>(ms / 60000 % 60),
                        static_cast<int>(ms / 1000 % 60), static_cast<int>(ms % 1000)};
  std::string out = "00:00:00.000";
  out[0] = static_cast<char>('0' + parts[0] / 10);
  out[1] = static_cast<char>('0' + parts[0] % 10);
  out[3] = static_cast<char>('0' + parts[1] / 10);
  out[4] = static_cast<char>('0' + parts[1] % 10);
  out[6] = static_cast<char>('0' + parts[2] / 10);
  out[7] = static_cast<char>('0' + parts[2] % 10);
  out[9] = static_cast<char>('0' + parts[3] / 100);
  out[10] = static_cast<char>('0' + parts[3] / 10 % 10);
  out[11] = static_cast<char>('0' + parts[3] % 10);
  return out;
}

}  // namespace obrix
