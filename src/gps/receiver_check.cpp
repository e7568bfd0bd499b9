#include "gps/receiver_check.h"

#include <cmath>
#include <cstdio>

#include "gps/line_role.h"
#include "gps/nmea_fields.h"

namespace obrix {
namespace {

// The field number the table reads `slot` from, or 0 when the format does not carry it.
int SlotField(const NmeaTable& t, int slot) {
  for (int k = 0; k < t.NmeaFieldCount && k < kNmeaMaxPairs; ++k)
    if (t.NmeaSlot[k] == slot) return t.NmeaFieldNumber[k];
  return 0;
}

// The field before any checksum, empty when missing.
std::string_view FieldText(std::string_view sentence, int n) {
  if (n <= 0) return {};
  const std::string_view f = NmeaField(sentence, n);
  return f.substr(0, f.find('*'));
}

void AppendNumber(std::string& out, const char* format, double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, format, v);
  out += buf;
}

// A CSV field: quoted when it holds a comma, a quote or a line break.
void AppendCsvText(std::string& out, std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
    out += text;
    return;
  }
  out += '"';
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

}  // namespace

ReceiverCheck::ReceiverCheck(const NmeaTable& table) : table_(table) {
  fix_.FixDop = -2.0;  // no dilution received yet, as on entering the logging screen
}

void ReceiverCheck::Feed(std::string_view bytes, const RowFn& row) {
  const FixDecodeOptions metres{};
  while (!bytes.empty()) {
    size_t used = 0;
    const NmeaLineAssembler::Event event = line_.Feed(bytes, &used);
    bytes.remove_prefix(used);
    if (event != NmeaLineAssembler::Event::LineComplete) continue;
    ++counts_.lines;
    const std::string_view text = line_.line();
    const LineClass line = ClassifyLine(text, table_, line_.checksum());
    switch (line.role) {
      case LineRole::Rejected:
        ++counts_.rejected;
        break;
      case LineRole::Gsa:
        fix_.FixDop = DecodeGsaDop(text, fix_.FixDop).FixDop;
        break;
      case LineRole::Other:
        break;
      case LineRole::Position: {
        CheckedSentence s{text, LocateFix(text, fix_, table_, metres, zones_, 0)};
        fix_ = s.position.decode.fix;
        ++counts_.positions;
        ++(fix_.FixValid ? counts_.valid : counts_.invalid);
        if (row) row(s);
        break;
      }
    }
  }
}

std::string ReceiverCheckCsvHeader() {
  return "sentence,valid,reason,latitude,longitude,easting,northing,zone,quality,satellites,dop,time\n";
}

std::string ReceiverCheckCsvRow(const CheckedSentence& s, const NmeaTable& table) {
  const FixPosition& p = s.position;
  const FixDecode& d = p.decode;
  const bool valid = d.fix.FixValid != 0;
  std::string out;
  AppendCsvText(out, s.sentence);
  out += valid ? ",1," : ",0,";
  AppendCsvText(out, d.voidReason);
  out += ',';
  if (valid && p.projected) {
    AppendNumber(out, "%.9f", d.latitude);
    out += ',';
    AppendNumber(out, "%.9f", d.longitude);
  } else {
    out += ',';
  }
  out += ',';
  if (valid) {
    AppendNumber(out, "%.4f", p.easting);
    out += ',';
    AppendNumber(out, "%.4f", p.northing);
  } else {
    out += ',';
  }
  out += ',';
  if (valid && p.projected) out += std::to_string(p.zone);
  out += ',';
  if (!FieldText(s.sentence, SlotField(table, kSlotQuality)).empty()) out += std::to_string(d.fix.FixQuality);
  out += ',';
  if (!FieldText(s.sentence, SlotField(table, kSlotSatellites)).empty()) out += std::to_string(d.fix.FixSatellites);
  out += ',';
  if (d.fix.FixDop >= 0.0 && std::isfinite(d.fix.FixDop)) AppendNumber(out, "%g", d.fix.FixDop);
  out += ',';
  if (!FieldText(s.sentence, table.NmeaTimeField).empty() && std::isfinite(d.fixTime))
    AppendNumber(out, "%.3f", d.fixTime);
  out += '\n';
  return out;
}

}  // namespace obrix
