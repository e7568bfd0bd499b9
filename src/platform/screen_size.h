#pragma once
// The screen-size override of the command line (--screen WxH) and the environment (OBRIX38_SCREEN=WxH).
#include <optional>
#include <string>

namespace obrix {

struct ScreenSize {
  int width = 0;
  int height = 0;
  bool operator==(const ScreenSize&) const = default;
};

inline constexpr int kMaxScreenSide = 32767;

// "WxH" (also "WXH"), surrounding blanks allowed, each side 1..kMaxScreenSide. Anything else gives nothing.
std::optional<ScreenSize> ParseScreenSize(const std::string& text);

// The override in force: "--screen WxH" or "--screen=WxH" among the arguments, else $OBRIX38_SCREEN.
// An unreadable value counts as no override.
std::optional<ScreenSize> ScreenSizeOverride(int argc, const char* const* argv);

}  // namespace obrix
