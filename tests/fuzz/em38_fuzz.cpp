// Decodes arbitrary bytes as an EM38 record.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "em38/em38_record.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace obrix;
  Em38Reading r = DecodeEm38Record(std::string_view(reinterpret_cast<const char*>(data), size));
  if (r.channel < 0 || r.channel > 3 || !std::isfinite(r.value)) std::abort();
  int present = 0;
  for (int ch = 0; ch < kChannelCount; ++ch) present += Channels().ChannelPresent[ch];
  if (present != 1 || Channels().ChannelValue[r.channel] != r.value) std::abort();
  return 0;
}
