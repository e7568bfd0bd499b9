#include <gtest/gtest.h>

#include <string>

#include "platform/wav_header.h"

namespace obrix {
namespace {

std::string Le(uint32_t v, int bytes) {
  std::string s;
  for (int i = 0; i < bytes; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
  return s;
}

std::string Chunk(const std::string& id, const std::string& body, bool pad = true) {
  std::string c = id + Le(static_cast<uint32_t>(body.size()), 4) + body;
  if (pad && body.size() % 2) c += '\0';
  return c;
}

std::string Riff(const std::string& chunks) { return "RIFF" + Le(4 + chunks.size(), 4) + "WAVE" + chunks; }

std::string PcmFmt(uint16_t channels, uint32_t rate, uint16_t bits) {
  const uint16_t align = static_cast<uint16_t>(channels * bits / 8);
  return Le(kWavePcm, 2) + Le(channels, 2) + Le(rate, 4) + Le(rate * align, 4) + Le(align, 2) + Le(bits, 2);
}

TEST(WavHeaderTest, ReadsFormatAfterOtherChunksAndPadding) {
  // An odd-sized chunk before the format chunk is followed by its pad byte.
  const std::string image = Riff(Chunk("LIST", "abc") + Chunk("fmt ", PcmFmt(1, 11025, 8)) + Chunk("data", "12345"));
  auto fmt = ReadWavFormat(image);
  ASSERT_TRUE(fmt);
  EXPECT_EQ(fmt->formatTag, kWavePcm);
  EXPECT_EQ(fmt->channels, 1);
  EXPECT_EQ(fmt->sampleRate, 11025u);
  EXPECT_EQ(fmt->blockAlign, 1);
  EXPECT_EQ(fmt->bitsPerSample, 8);
  EXPECT_EQ(fmt->samplesPerBlock, 0);
  EXPECT_EQ(fmt->dataBytes, 5u);
  EXPECT_EQ(image.substr(fmt->fmtOffset, 2), Le(kWavePcm, 2));
}

TEST(WavHeaderTest, ReadsSamplesPerBlockOfCompressedFormat) {
  std::string body = Le(kWaveMsAdpcm, 2) + Le(2, 2) + Le(22050, 4) + Le(22311, 4) + Le(1024, 2) + Le(4, 2) +
                     Le(32, 2) + Le(1012, 2) + std::string(30, '\0');
  auto fmt = ReadWavFormat(Riff(Chunk("fmt ", body) + Chunk("data", std::string(1024, '\0'))));
  ASSERT_TRUE(fmt);
  EXPECT_EQ(fmt->blockAlign, 1024);
  EXPECT_EQ(fmt->samplesPerBlock, 1012);
  EXPECT_EQ(fmt->dataBytes, 1024u);
}

TEST(WavHeaderTest, DataChunkCutShortCountsWhatIsThere) {
  std::string image = Riff(Chunk("fmt ", PcmFmt(1, 22050, 16)) + Chunk("data", std::string(100, 'x')));
  image.resize(image.size() - 40);
  auto fmt = ReadWavFormat(image);
  ASSERT_TRUE(fmt);
  EXPECT_EQ(fmt->dataBytes, 60u);
}

TEST(WavHeaderTest, RejectsImagesWithoutUsableFormat) {
  const std::string good = Riff(Chunk("fmt ", PcmFmt(1, 22050, 16)));
  std::string longFmt = good;
  longFmt[16] = '\x40';  // format chunk claims more bytes than the image holds
  std::string notWave = good;
  notWave[8] = 'X';
  const struct {
    const char* what;
    std::string image;
  } cases[] = {
      {"empty", ""},
      {"header only", good.substr(0, 11)},
      {"not RIFF", "RIFX" + good.substr(4)},
      {"not WAVE", notWave},
      {"format chunk too short", Riff(Chunk("fmt ", PcmFmt(1, 22050, 16).substr(0, 14)))},
      {"format chunk past the end", longFmt},
      {"no format chunk", Riff(Chunk("data", "abcd"))},
      {"format after a truncated chunk", Riff(Chunk("LIST", "ab").substr(0, 9)) + Chunk("fmt ", PcmFmt(1, 8000, 8))},
      {"chunk header cut", good.substr(0, 12) + "fmt"},
  };
  for (const auto& c : cases) EXPECT_FALSE(ReadWavFormat(c.image)) << c.what;
}

}  // namespace
}  // namespace obrix
