// Decodes arbitrary bytes as a GSA sentence and cuts them into fields.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "gps/nmea_decode.h"
#include "gps/nmea_fields.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace obrix;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  GsaDecode g = DecodeGsaDop(text, -2.0);
  if (g.readout.size() > ReadoutText::kCapacity) std::abort();
  if (!g.hasDop && (g.FixDop != -2.0 || g.readout.view() != "N/A")) std::abort();
  for (int n = 0; n <= 20; ++n) {
    std::string_view field;
    if (NmeaFieldText(text, n, ',', &field)) {
      if (field.data() < text.data() || field.data() + field.size() > text.data() + text.size()) std::abort();
    }
  }
  NmeaChecksumOk(text);
  return 0;
}
