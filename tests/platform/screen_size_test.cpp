#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/screen_size.h"

namespace obrix {
namespace {

TEST(ParseScreenSize, AcceptsOnlyWellFormedSizes) {
  struct Case { const char* text; std::optional<ScreenSize> expected; };
  const Case cases[] = {
      {"800x600", ScreenSize{800, 600}},
      {"1920X1080", ScreenSize{1920, 1080}},
      {"  1280x800 \n", ScreenSize{1280, 800}},
      {"32767x1", ScreenSize{32767, 1}},
      {"", std::nullopt},
      {"x", std::nullopt},
      {"800", std::nullopt},
      {"800x", std::nullopt},
      {"x600", std::nullopt},
      {"0x600", std::nullopt},
      {"800x0", std::nullopt},
      {"-800x600", std::nullopt},
      {"800x-600", std::nullopt},
      {"800 x 600", std::nullopt},
      {"800x600x2", std::nullopt},
      {"800x600px", std::nullopt},
      {"32768x600", std::nullopt},
      {"99999999999999999999x600", std::nullopt},
      {"800*600", std::nullopt},
      {"+800x600", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseScreenSize(c.text), c.expected) << '"' << c.text << '"';
}

TEST(ScreenSizeOverride, ArgumentBeforeEnvironment) {
  setenv("OBRIX38_SCREEN", "640x480", 1);
  struct Case { std::vector<const char*> args; std::optional<ScreenSize> expected; };
  const Case cases[] = {
      {{"obrix38"}, ScreenSize{640, 480}},
      {{"obrix38", "--screen", "1024x768"}, ScreenSize{1024, 768}},
      {{"obrix38", "--other", "--screen=800x600"}, ScreenSize{800, 600}},
      {{"obrix38", "--screen"}, std::nullopt},             // value missing
      {{"obrix38", "--screen", "big"}, std::nullopt},      // unreadable: no override at all
  };
  for (const Case& c : cases)
    EXPECT_EQ(ScreenSizeOverride(static_cast<int>(c.args.size()), c.args.data()), c.expected) << c.args.size();
  setenv("OBRIX38_SCREEN", "garbage", 1);
  const char* none[] = {"obrix38"};
  EXPECT_EQ(ScreenSizeOverride(1, none), std::nullopt);
  unsetenv("OBRIX38_SCREEN");
  EXPECT_EQ(ScreenSizeOverride(1, none), std::nullopt);
}

}  // namespace
}  // namespace obrix
