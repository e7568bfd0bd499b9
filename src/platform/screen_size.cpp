#include "platform/screen_size.h"

#include <cstdlib>
#include <cstring>

namespace obrix {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Reads 1..kMaxScreenSide decimal digits at `p`; advances `p`.
std::optional<int> ReadSide(const char*& p, const char* end) {
  long v = 0;
  const char* start = p;
  while (p < end && *p >= '0' && *p <= '9') {
    v = v * 10 + (*p - '0');
    if (v > kMaxScreenSide) return std::nullopt;
    ++p;
  }
  if (p == start || v < 1) return std::nullopt;
  return static_cast<int>(v);
}

}  // namespace

std::optional<ScreenSize> ParseScreenSize(const std::string& text) {
  const char* p = text.data();
  const char* end = p + text.size();
  while (p < end && IsBlank(*p)) ++p;
  while (end > p && IsBlank(end[-1])) --end;
  auto w = ReadSide(p, end);
  if (!w || p == end || (*p != 'x' && *p != 'X')) return std::nullopt;
  ++p;
  auto h = ReadSide(p, end);
  if (!h || p != end) return std::nullopt;
  return ScreenSize{*w, *h};
}

std::optional<ScreenSize> ScreenSizeOverride(int argc, const char* const* argv) {
  for (int i = 1; i < argc && argv && argv[i]; ++i) {
    const char* a = argv[i];
    if (std::strcmp(a, "--screen") == 0) {
      if (i + 1 < argc && argv[i + 1]) return ParseScreenSize(argv[i + 1]);
      return std::nullopt;
    }
    if (std::strncmp(a, "--screen=", 9) == 0) return ParseScreenSize(a + 9);
  }
  if (const char* env = std::getenv("OBRIX38_SCREEN")) return ParseScreenSize(env);
  return std::nullopt;
}

}  // namespace obrix
