#pragma once
// Decoding of an EM38 record: 'T', the status byte, a signed five-digit reading (and five unused characters in
// the 12-character form).
#include <string_view>

namespace obrix {

// Channel index: 0 conductivity vertical, 1 conductivity horizontal, 2 inphase vertical, 3 inphase horizontal.
enum Em38Channel { kCondVertical = 0, kCondHorizontal = 1, kInphVertical = 2, kInphHorizontal = 3 };

struct Em38Reading {
  double value = 0.0;  // mS/m (conductivity) or ppt (inphase)
  char dipole = 'H';   // 'V' or 'H'
  short range = 100;   // 100 or 1000
  char marker = 'N';   // 'M' when the marker button is pressed
  int channel = kInphHorizontal;
  bool conductivity = false;
  int counts = 0;      // the reading as received
};

// Per-channel results of the last record (window thread).
inline constexpr int kChannelCount = 8;
struct ChannelState {
  double ChannelValue[kChannelCount] = {};
  int ChannelPresent[kChannelCount] = {};
};
ChannelState& Channels();
void ResetChannels();

// Decodes a record without touching the channel state. Missing characters count as absent (status 0, no digits).
Em38Reading ParseEm38Record(std::string_view record);
// Decodes a record, clears ChannelValue/ChannelPresent and sets the decoded channel.
Em38Reading DecodeEm38Record(std::string_view record);

}  // namespace obrix
