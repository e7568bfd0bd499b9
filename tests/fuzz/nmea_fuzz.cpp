// Feeds arbitrary bytes through the line assembler; every completed line, and the whole input taken as one
// sentence, goes through the checksum test and the fix decoding of each input format, and valid geographic
// fixes through the projection; the receiver check runs over the whole input.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "gps/line_assembler.h"
#include "gps/nmea_decode.h"
#include "gps/nmea_fields.h"
#include "gps/projection.h"
#include "gps/receiver_check.h"

namespace {

using namespace obrix;

void Require(bool ok) {
  if (!ok) std::abort();
}

void CheckText(const ReadoutText& t) {
  Require(t.size() <= ReadoutText::kCapacity);
  Require(t.c_str()[t.size()] == '\0');
}

void DecodeEverywhere(std::string_view line, const FixDecodeOptions& options) {
  NmeaChecksumOk(line);
  for (int format = 0; format <= 8; ++format) {
    for (int slam = 0; slam <= (format == 7 ? 1 : 0); ++slam) {
      const NmeaTable table = MakeNmeaTable(format, slam);
      JudgeLine(line, table.NmeaChecksumRequired == 1);
      FixDecode d = DecodeFixSentence(line, CurrentFixValues{}, table, options);
      Require(d.voidReason != nullptr && (d.fix.FixValid != 0) == (d.voidReason[0] == '\0'));
      const FixReadouts& r = d.readouts;
      for (const ReadoutField* f : {&r.satellites, &r.quality, &r.dop, &r.north, &r.east, &r.slam[0], &r.slam[1],
                                    &r.slam[2], &r.slam[3]}) {
        CheckText(f->text);
      }
      if (d.fix.FixValid && d.geographic) {
        Require(std::isfinite(d.latitude) && std::isfinite(d.longitude));
        int zone = -9;
        UtmCoordinates u = GeoToUtm(d.latitude, d.longitude, zone, 0);
        Require(zone >= 1 && zone <= 60);
        (void)u;
      }
      if (d.fix.FixValid && !d.geographic) Require(std::isfinite(d.gridNorthing) && std::isfinite(d.gridEasting));
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  FixDecodeOptions options;
  options.mapUnits = data[0] % 3;
  options.coordinatesDisplay = (data[0] / 3) % 4;
  options.rtsUnits = (data[0] / 12) % 2;
  const std::string_view all(reinterpret_cast<const char*>(data + 1), size - 1);

  // Byte by byte, then in reads of a size taken from the input through the buffer path: the same events and
  // lines, with checksum facts that match a rescan of the line.
  std::vector<std::string> byByte, byRead;
  auto note = [](std::vector<std::string>& to, NmeaLineAssembler::Event e, const NmeaLineAssembler& a) {
    if (e == NmeaLineAssembler::Event::None) return;
    std::string entry = e == NmeaLineAssembler::Event::SentenceStart ? "$" : std::string(a.line());
    if (e == NmeaLineAssembler::Event::LineComplete) {
      const NmeaChecksumScan kept = a.checksum(), rescan = NmeaLineChecksum(a.line());
      Require(kept.star == rescan.star && kept.xorValue == rescan.xorValue);
      Require(a.size() <= 201 && a.c_str()[a.size()] == '\0');
      Require(JudgeLine(a.line(), true, kept) == JudgeLine(a.line(), true));
    }
    to.push_back(entry);
  };
  NmeaLineAssembler assembler;
  for (char ch : all) {
    const NmeaLineAssembler::Event e = assembler.Feed(static_cast<unsigned char>(ch));
    note(byByte, e, assembler);
    if (e == NmeaLineAssembler::Event::LineComplete) DecodeEverywhere(assembler.line(), options);
  }
  NmeaLineAssembler buffered;
  const size_t chunk = 1 + data[0] % 97;
  for (size_t at = 0; at < all.size(); at += chunk) {
    std::string_view read = all.substr(at, chunk);
    while (!read.empty()) {
      size_t used = 0;
      const NmeaLineAssembler::Event e = buffered.Feed(read, &used);
      Require(used >= 1 && used <= read.size());
      read.remove_prefix(used);
      note(byRead, e, buffered);
    }
  }
  Require(byByte == byRead);
  DecodeEverywhere(all, options);

  // The receiver check over the same bytes: one CSV row of 12 fields per position sentence, one line each.
  const NmeaTable table = MakeNmeaTable(data[0] % 9, (data[0] / 9) % 2);
  ReceiverCheck check(table);
  check.Feed(all, [&](const CheckedSentence& s) {
    const std::string row = ReceiverCheckCsvRow(s, table);
    Require(!row.empty() && row.back() == '\n' && row.find('\n') == row.size() - 1);
    if (s.position.projected) Require(s.position.zone >= 1 && s.position.zone <= 60);
  });
  Require(check.counts().valid + check.counts().invalid == check.counts().positions);
  return 0;
}
