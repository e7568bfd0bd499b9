#include "background/bg_record.h"

#include <cmath>

#include "platform/numbers.h"

namespace obrix {
namespace {

bool PlainField(std::string_view s) {
  bool digit = false;
  for (size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    if (c >= '0' && c <= '9') digit = true;
    else if (c == ' ' && !digit) continue;
    else if (c == '-' || c == '.') continue;
    else return false;
  }
  return digit;
}

std::string FormatRecord(double easting, double northing, std::string_view label) {
  const size_t length = label.size() < kBgLabelChars ? label.size() : kBgLabelChars;
  std::string r = FormatC("%14.3f,%14.3f,%1d,", easting, northing, static_cast<int>(length));
  if (r.size() != 32) return {};
  r.append(label.substr(0, length));
  r.append(kBgLabelChars - length, ' ');
  r.push_back('\n');
  return r;
}

}  // namespace

std::string BgRecord(double easting, double northing, std::string_view label) {
  if (!(std::fabs(easting) < kBgCoordinateLimit) || !(std::fabs(northing) < kBgCoordinateLimit)) return {};
  return FormatRecord(easting, northing, label);
}

std::string BgBreakRecord() { return FormatRecord(kBgBreakValue, kBgBreakValue, {}); }

bool ParseBgRecord(std::string_view bytes, BgPoint& out) {
  if (bytes.size() < static_cast<size_t>(kBgRecordBytes) || bytes[14] != ',' || bytes[29] != ',' ||
      bytes[31] != ',' || bytes[37] != '\n' || bytes[30] < '0' || bytes[30] > '5')
    return false;
  const std::string_view e = bytes.substr(0, 14), n = bytes.substr(15, 14);
  if (!PlainField(e) || !PlainField(n)) return false;
  out.easting = ParseRealC(e);
  out.northing = ParseRealC(n);
  out.labelLength = bytes[30] - '0';
  for (int i = 0; i < kBgLabelChars; ++i) out.label[i] = bytes[32 + i];
  out.label[kBgLabelChars] = '\0';
  return true;
}

}  // namespace obrix
