#pragma once
// Conversion of decoded sound to the one format the player writes to the device.
#include <cstdint>
#include <vector>

namespace obrix {

inline constexpr int kCueOutputRate = 22050;
inline constexpr int kCueOutputChannels = 2;

// Converts interleaved 16-bit samples with `channels` channels at `rate` Hz to interleaved stereo at
// `outRate` Hz: a mono channel goes to both sides, channels beyond the second are dropped, and the rate is
// changed by linear interpolation. A trailing partial frame is ignored; a channel count or rate below 1
// gives an empty result.
std::vector<int16_t> ToStereo(const std::vector<int16_t>& in, int channels, int rate, int outRate);

}  // namespace obrix
