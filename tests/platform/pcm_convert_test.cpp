#include <gtest/gtest.h>

#include <vector>

#include "platform/pcm_convert.h"

namespace obrix {
namespace {

TEST(PcmConvertTest, ConvertsChannelsAndRate) {
  const struct {
    const char* what;
    std::vector<int16_t> in;
    int channels, rate, outRate;
    std::vector<int16_t> out;
  } cases[] = {
      {"stereo at the output rate passes unchanged", {1, -1, 2, -2, 3, -3}, 2, 22050, 22050, {1, -1, 2, -2, 3, -3}},
      {"mono goes to both sides", {100, -200}, 1, 22050, 22050, {100, 100, -200, -200}},
      {"doubling the rate interpolates midpoints and holds the last frame", {0, 100, -100}, 1, 11025, 22050,
       {0, 0, 50, 50, 100, 100, 0, 0, -100, -100, -100, -100}},
      {"halving the rate keeps every other frame", {0, 0, 10, 10, 20, 20, 30, 30}, 2, 44100, 22050,
       {0, 0, 20, 20}},
      {"channels beyond two are dropped", {1, 2, 9, 3, 4, 9}, 3, 22050, 22050, {1, 2, 3, 4}},
      {"a trailing partial frame is ignored", {5, 6, 7}, 2, 22050, 22050, {5, 6}},
      {"full-scale values survive interpolation", {32767, -32768}, 1, 11025, 22050,
       {32767, 32767, -1, -1, -32768, -32768, -32768, -32768}},  // -0.5 rounds away from zero
      {"empty input", {}, 1, 11025, 22050, {}},
      {"no channels", {1, 2}, 0, 22050, 22050, {}},
      {"no rate", {1, 2}, 1, 0, 22050, {}},
      {"no output rate", {1, 2}, 1, 22050, 0, {}},
  };
  for (const auto& c : cases) EXPECT_EQ(ToStereo(c.in, c.channels, c.rate, c.outRate), c.out) << c.what;
}

TEST(PcmConvertTest, LengthFollowsTheRateRatio) {
  // The ring: 9923 frames at 11025 Hz are 19846 at 22050 Hz, the same 0.9 s.
  const std::vector<int16_t> ring(9923, 7);
  EXPECT_EQ(ToStereo(ring, 1, 11025, kCueOutputRate).size(), 19846u * 2);
  const std::vector<int16_t> odd(3, 7);  // 3 frames at 8000 Hz: 8.27 frames at 22050, rounded
  EXPECT_EQ(ToStereo(odd, 1, 8000, kCueOutputRate).size(), 8u * 2);
}

}  // namespace
}  // namespace obrix
