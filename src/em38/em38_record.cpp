#include "em38/em38_record.h"

#include "platform/numbers.h"

namespace obrix {
namespace {
ChannelState g_channels;
}

ChannelState& Channels() { return g_channels; }
void ResetChannels() { g_channels = ChannelState(); }

Em38Reading ParseEm38Record(std::string_view record) {
  Em38Reading r;
  const unsigned s = record.size() > 1 ? static_cast<unsigned char>(record[1]) & 0x7Fu : 0u;
  r.marker = (s & 64) ? 'M' : 'N';
  r.dipole = (s & 32) ? 'V' : 'H';
  const double divisor = (s & 16) ? 8.0 : 1.0;
  r.conductivity = (s & 4) != 0;
  r.range = (s & 3) == 3 ? 1000 : 100;
  double scale = r.conductivity ? (r.range == 1000 ? -1.0 : -0.1) : (r.range == 1000 ? -0.0288 : -0.00288);
  scale = scale / divisor;
  r.counts = record.size() > 2 ? ParseIntC(record.substr(2, 5)) : 0;
  r.value = r.counts * scale;
  r.channel = (r.conductivity ? 0 : 2) + (r.dipole == 'V' ? 0 : 1);
  return r;
}

Em38Reading DecodeEm38Record(std::string_view record) {
  Em38Reading r = ParseEm38Record(record);
  g_channels = ChannelState();
  g_channels.ChannelValue[r.channel] = r.value;
  g_channels.ChannelPresent[r.channel] = 1;
  return r;
}

}  // namespace obrix
