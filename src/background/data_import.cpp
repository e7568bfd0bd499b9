#include "background/data_import.h"

#include <cerrno>
#include <cmath>
#include <string>
#include <unistd.h>

#include "background/ascii_columns.h"
#include "background/background_list.h"
#include "background/bg_offsets.h"
#include "background/bg_record.h"
#include "datafile/record_reader.h"
#include "gps/length_units.h"
#include "gps/projection.h"
#include "map/busy_ticker.h"
#include "platform/files.h"

namespace obrix {
namespace {

bool Contains(std::string_view s, std::string_view part) { return s.find(part) != std::string_view::npos; }

ssize_t ReadAt(int fd, char* buffer, size_t size, off_t offset) {
  for (;;) {
    const ssize_t n = ::pread(fd, buffer, size, offset);
    if (n < 0 && errno == EINTR) continue;
    return n;
  }
}

// "DDMM.mmmm" (latitude, 2 degree digits) or "DDDMM.mmmm" (longitude, 3) with its hemisphere letter.
std::optional<double> Degrees(std::string_view sentence, int field, int degreeDigits, char positive, char negative) {
  const std::optional<std::string_view> value = SentenceField(sentence, field);
  const std::optional<std::string_view> side = SentenceField(sentence, field + 1);
  if (!value || !side || side->empty() || value->size() > kBgFieldChars) return std::nullopt;
  const char letter = side->front();
  if (letter != positive && letter != negative) return std::nullopt;
  if (value->size() <= static_cast<size_t>(degreeDigits)) return std::nullopt;
  const std::string_view whole = value->substr(0, degreeDigits);
  for (char c : whole)
    if (c < '0' || c > '9') return std::nullopt;
  const std::optional<double> minutes = PlainNumber(value->substr(degreeDigits));
  if (!minutes || value->substr(degreeDigits).front() == '-' || value->substr(degreeDigits).front() == '+')
    return std::nullopt;
  const double degrees = PlainNumber(whole).value_or(0.0) + *minutes / 60.0;
  return letter == negative ? -degrees : degrees;
}

std::optional<double> FieldNumber(std::string_view sentence, int field) {
  const std::optional<std::string_view> value = SentenceField(sentence, field);
  if (!value || value->size() > kBgFieldChars) return std::nullopt;
  return PlainNumber(*value);
}

// The number after `key` up to the next comma.
std::optional<double> KeyedNumber(std::string_view sentence, std::string_view key) {
  const size_t at = sentence.find(key);
  if (at == std::string_view::npos) return std::nullopt;
  std::string_view rest = sentence.substr(at + key.size());
  rest = rest.substr(0, rest.find(','));
  if (rest.size() > kBgFieldChars) return std::nullopt;
  return PlainNumber(TrimText(rest, 3));
}

bool GeoPoint(std::string_view sentence, int latField, int mapUnits, double& easting, double& northing) {
  const std::optional<double> lat = Degrees(sentence, latField, 2, 'N', 'S');
  const std::optional<double> lon = Degrees(sentence, latField + 2, 3, 'E', 'W');
  if (!lat || !lon || std::fabs(*lat) > 90.0 || std::fabs(*lon) > 180.0) return false;
  int zone = 0;
  const UtmCoordinates u = GeoToUtm(*lat, *lon, zone, 0);
  easting = MetresToLengthUnit(u.easting, mapUnits);
  northing = MetresToLengthUnit(u.northing, mapUnits);
  return std::isfinite(easting) && std::isfinite(northing);
}

}  // namespace

int BgSourceKindOf(std::string_view head) {
  head = head.substr(0, 8);
  if (Contains(head, "EM") || Contains(head, "PRO")) return 0;
  if (Contains(head, "QL")) return 1;
  if (Contains(head, "TRN")) return 2;
  if (Contains(head, "OB")) return 3;
  return -1;
}

int BgRecordLengthOf(std::string_view head) {
  const size_t lf = head.substr(0, kBgHeadBytes).find('\n');
  return lf == std::string_view::npos ? 0 : static_cast<int>(lf) + 1;
}

std::optional<BgSource> InspectBgSource(int fd) {
  char head[kBgHeadBytes];
  const ssize_t n = ReadAt(fd, head, sizeof head, 0);
  if (n < 8) return std::nullopt;
  const std::string_view text(head, static_cast<size_t>(n));
  BgSource s;
  s.recordLength = BgRecordLengthOf(text);
  // Records must hold at least the kind and fit the record buffer of the conversion.
  if (s.recordLength < 2 || s.recordLength > kBgMaxRecordLength) return std::nullopt;
  s.kind = BgSourceKindOf(text);
  if (s.kind < 0) return std::nullopt;
  if (s.kind >= 2) {
    char third[kBgMaxRecordLength];
    const ssize_t got = ReadAt(fd, third, static_cast<size_t>(s.recordLength), off_t(2) * s.recordLength);
    const std::string_view r(third, got > 0 ? static_cast<size_t>(got) : 0);
    // Columns 1-7 and 8-14; a missing or unreadable number counts as 0.
    const auto column = [&r](size_t from, size_t width) {
      if (r.size() <= from) return 0.0;
      return PlainNumber(TrimText(r.substr(from, width), 3)).value_or(0.0);
    };
    s.offsetX = column(1, 7);
    s.offsetY = column(8, 7);
    s.offsetMethod = s.offsetY > 0.0 ? 1 : s.offsetY < 0.0 ? -1 : 0;
  }
  return s;
}

BgSentence BgSentenceFor(int kind, char kindDigit) {
  if (kind == 0) return BgSentence::Gga;
  if (kindDigit < '0' || kindDigit > '9') return BgSentence::None;
  switch (kindDigit - '0') {
    case 0:
    case 1: return BgSentence::Gga;
    case 2: return BgSentence::Pos;
    case 3: return BgSentence::Llk;
    case 4: return BgSentence::Llq;
    case 5: return BgSentence::Gll;
    case 6: return BgSentence::Ggk;
    case 7: return BgSentence::RtsGga;
    case 8: return kind == 1 || kind == 3 ? BgSentence::Gll : BgSentence::None;
    default: return kind == 1 || kind == 2 ? BgSentence::RtsMark : BgSentence::None;
  }
}

std::string_view BgSentenceTag(BgSentence s) {
  switch (s) {
    case BgSentence::Gga:
    case BgSentence::RtsGga: return "GGA";
    case BgSentence::Pos: return "POS";
    case BgSentence::Llk: return "LLK";
    case BgSentence::Llq: return "LLQ";
    case BgSentence::Gll: return "GLL";
    case BgSentence::Ggk: return "GGK";
    case BgSentence::RtsMark: return ">";
    case BgSentence::None: break;
  }
  return {};
}

std::optional<std::string_view> SentenceField(std::string_view sentence, int n) {
  if (n < 1) return std::nullopt;
  size_t start = 0;
  for (int field = 1; field < n; ++field) {
    const size_t comma = sentence.find(',', start);
    if (comma == std::string_view::npos) return std::nullopt;
    start = comma + 1;
  }
  std::string_view f = sentence.substr(start);
  f = f.substr(0, f.find(','));
  // The checksum ends the last field.
  f = f.substr(0, f.find('*'));
  return f;
}

bool DecodeBgSentence(std::string_view sentence, BgSentence s, int unitsDigit, int mapUnits, double& easting,
                      double& northing) {
  const int digit = unitsDigit >= 0 && unitsDigit <= 2 ? unitsDigit : 0;
  switch (s) {
    case BgSentence::Gga: return GeoPoint(sentence, 3, mapUnits, easting, northing);
    case BgSentence::Pos: return GeoPoint(sentence, 6, mapUnits, easting, northing);
    case BgSentence::Gll: return GeoPoint(sentence, 2, mapUnits, easting, northing);
    case BgSentence::Ggk: return GeoPoint(sentence, 5, mapUnits, easting, northing);
    case BgSentence::Llk:
    case BgSentence::Llq: {
      const std::optional<double> n = FieldNumber(sentence, 6), e = FieldNumber(sentence, 4);
      if (!n || !e) return false;
      easting = MetresToLengthUnit(*e, mapUnits);
      northing = MetresToLengthUnit(*n, mapUnits);
      return true;
    }
    case BgSentence::RtsGga: {
      const std::optional<double> n = FieldNumber(sentence, 3), e = FieldNumber(sentence, 5);
      if (!n || !e) return false;
      const std::optional<std::string_view> unit = SentenceField(sentence, 11);
      const bool inFeet = unit && !unit->empty() && unit->front() == 'F';
      const double factor = RtsGridFactor(inFeet, digit, mapUnits);
      easting = *e * factor;
      northing = *n * factor;
      return true;
    }
    case BgSentence::RtsMark: {
      const std::optional<double> n = KeyedNumber(sentence, "37="), e = KeyedNumber(sentence, "38=");
      if (!n || !e) return false;
      const double toMetres = digit == 1 ? 0.3048 : digit == 2 ? 0.304800609601219 : 1.0;
      easting = MetresToLengthUnit(*e * toMetres, mapUnits);
      northing = MetresToLengthUnit(*n * toMetres, mapUnits);
      return true;
    }
    case BgSentence::None: break;
  }
  return false;
}

BgConvertResult ConvertProgramDataBackground(int sourceFd, int temporaryFd, const BgSource& source, int mapUnits) {
  BgConvertResult result;
  RecordBlockReader reader(sourceFd, source.recordLength);
  DataRecord r;

  // 1. The kind digit (and the units digit) from the first "G" record.
  BgSentence sentence = BgSentence::Gga;
  int unitsDigit = 0;
  if (source.kind >= 1) {
    sentence = BgSentence::None;
    reader.Seek(0);
    while (reader.Next(r)) {
      if (r.kind() != 'G') continue;
      const int kindColumn = source.kind == 1 ? 17 : 19;
      const int unitsColumn = source.kind == 1 ? 19 : 17;
      sentence = BgSentenceFor(source.kind, r.at(kindColumn));
      const char u = r.at(unitsColumn);
      unitsDigit = u >= '0' && u <= '2' ? u - '0' : 0;
      break;
    }
  }

  const bool offsets = source.kind >= 2;
  BgOffsetPlacer placer(MetresToLengthUnit(source.offsetX, mapUnits), MetresToLengthUnit(source.offsetY, mapUnits));
  const std::string_view tag = BgSentenceTag(sentence);

  // 2-5. Every sentence group from the start of the file.
  std::string records;
  SentenceAssembler assembler(4 * kBgSentenceBytes);
  reader.Seek(0);
  BusyTicker busy;
  while (sentence != BgSentence::None && reader.Next(r)) {
    busy.Tick();
    if (!assembler.Feed(r)) continue;
    const std::string& text = assembler.text();
    if (assembler.raw() || text.size() > kBgSentenceBytes || !Contains(text, tag)) continue;
    double e = 0.0, n = 0.0;
    if (!DecodeBgSentence(text, sentence, unitsDigit, mapUnits, e, n)) {
      ++result.skipped;
      continue;
    }
    BgOutPoint p{e, n};
    if (offsets && !placer.Place(e, n, p)) continue;
    const std::string record = BgRecord(p.easting, p.northing);
    if (record.empty()) {
      ++result.skipped;
      continue;
    }
    records += record;
    ++result.records;
    if (records.size() >= 64 * 1024) {
      if (!WriteAllOnce(temporaryFd, records.data(), records.size())) result.writeFailed = true;
      records.clear();
    }
  }
  if (!records.empty() && !WriteAllOnce(temporaryFd, records.data(), records.size())) result.writeFailed = true;
  Backgrounds().BgRecordCount = result.records;
  return result;
}

}  // namespace obrix
