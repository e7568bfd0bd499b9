// Feeds arbitrary bytes through the line assembler; every completed line, and the whole input taken as one
// sentence, goes through the checksum test and the fix decoding of each input format, and valid geographic
// fixes through the projection.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "gps/line_assembler.h"
#include "gps/nmea_decode.h"
#include "gps/nmea_fields.h"
#include "gps/projection.h"

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

  NmeaLineAssembler assembler;
  for (char ch : all) {
    if (assembler.Feed(static_cast<unsigned char>(ch)) == NmeaLineAssembler::Event::LineComplete) {
      Require(assembler.size() <= 201);
      DecodeEverywhere(assembler.line(), options);
    }
  }
  DecodeEverywhere(all, options);
  return 0;
}
