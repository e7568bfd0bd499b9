#include "platform/pcm_convert.h"

#include <cmath>

namespace obrix {

std::vector<int16_t> ToStereo(const std::vector<int16_t>& in, int channels, int rate, int outRate) {
  std::vector<int16_t> out;
  if (channels < 1 || rate < 1 || outRate < 1) return out;
  const size_t frames = in.size() / static_cast<size_t>(channels);
  if (frames == 0) return out;
  const auto sample = [&](size_t frame, int side) {
    return in[frame * channels + (channels == 1 ? 0 : side)];
  };
  const size_t outFrames =
      static_cast<size_t>((static_cast<uint64_t>(frames) * outRate + static_cast<uint64_t>(rate) / 2) / rate);
  out.reserve(outFrames * 2);
  for (size_t j = 0; j < outFrames; ++j) {
    // Position of this output frame in the input, as a whole frame and a fraction of the next.
    const uint64_t scaled = static_cast<uint64_t>(j) * rate;
    const size_t i = static_cast<size_t>(scaled / outRate);
    const double frac = static_cast<double>(scaled % outRate) / outRate;
    for (int side = 0; side < 2; ++side) {
      if (i + 1 >= frames) {
        out.push_back(sample(frames - 1, side));
        continue;
      }
      const double a = sample(i, side), b = sample(i + 1, side);
      out.push_back(static_cast<int16_t>(std::lround(a + (b - a) * frac)));
    }
  }
  return out;
}

}  // namespace obrix
