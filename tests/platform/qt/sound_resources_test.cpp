#include <gtest/gtest.h>

#include <sndfile.h>

#include <algorithm>
#include <cstdlib>

#include "platform/qt/wav_decode.h"
#include "platform/sound.h"
#include "platform/wav_header.h"

namespace obrix {
namespace {

// The embedded cues keep their fixed encodings; lengths are within 10 % of the nominal ones.
TEST(SoundResourcesTest, CuesHaveTheirEncodingsAndLengths) {
  const struct {
    const char* name;
    int sfFormat;
    uint16_t tag;
    int channels;
    int rate;
    uint16_t blockAlign;
    uint16_t bits;
  } cases[] = {
      {kSoundResult, SF_FORMAT_WAV | SF_FORMAT_MS_ADPCM, kWaveMsAdpcm, 2, 22050, 1024, 4},
      {kSoundGpsWarning, SF_FORMAT_WAV | SF_FORMAT_PCM_16, kWavePcm, 1, 22050, 2, 16},
      {kSoundRing, SF_FORMAT_WAV | SF_FORMAT_PCM_U8, kWavePcm, 1, 11025, 1, 8},
      {kSoundRing2s, SF_FORMAT_WAV | SF_FORMAT_PCM_U8, kWavePcm, 1, 11025, 1, 8},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string image = SoundResource(c.name);
    ASSERT_FALSE(image.empty());
    auto fmt = ReadWavFormat(image);
    ASSERT_TRUE(fmt);
    EXPECT_EQ(fmt->formatTag, c.tag);
    EXPECT_EQ(fmt->blockAlign, c.blockAlign);
    EXPECT_EQ(fmt->bitsPerSample, c.bits);
    std::string error;
    auto sound = DecodeSound(image, &error);
    ASSERT_TRUE(sound) << error;
    EXPECT_EQ(sound->format, c.sfFormat);
    EXPECT_EQ(sound->channels, c.channels);
    EXPECT_EQ(sound->rate, c.rate);
    const double ms = 1000.0 * static_cast<double>(sound->frames) / c.rate;
    EXPECT_NEAR(ms, NominalCueLengthMs(c.name), 0.1 * NominalCueLengthMs(c.name));
    // Audible, and without a click at either end.
    int peak = 0;
    for (int16_t s : sound->samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
    EXPECT_GT(peak, 8000);
    ASSERT_GE(sound->samples.size(), 2u);
    EXPECT_LT(std::abs(sound->samples.front()), 1000);
    EXPECT_LT(std::abs(sound->samples.back()), 1000);
  }
}

TEST(SoundResourcesTest, UnknownResourceIsEmpty) { EXPECT_TRUE(SoundResource("SOUND_NONE").empty()); }

TEST(SoundResourcesTest, DamagedImagesAreRefusedWithAReason) {
  const std::string ring = SoundResource(kSoundRing);
  ASSERT_GT(ring.size(), 100u);
  std::string badRate = ring;
  auto fmt = ReadWavFormat(ring);
  ASSERT_TRUE(fmt);
  for (int i = 0; i < 4; ++i) badRate[fmt->fmtOffset + 4 + i] = 0;  // sample rate 0
  for (const std::string& image : {std::string(), std::string("RIFF\x10\0\0\0WAVEjunkjunk", 20),
                                   ring.substr(0, 30), badRate}) {
    std::string error;
    EXPECT_FALSE(DecodeSound(image, &error)) << image.size();
    EXPECT_FALSE(error.empty());
  }
  // A data chunk cut short decodes what is there.
  auto cut = DecodeSound(ring.substr(0, ring.size() / 2));
  ASSERT_TRUE(cut);
  EXPECT_GT(cut->frames, 0);
  EXPECT_LT(cut->frames, 9923);
}

}  // namespace
}  // namespace obrix
