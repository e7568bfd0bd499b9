#include "platform/numbers.h"

#include <climits>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <locale.h>

namespace obrix {
namespace {

locale_t CLocale() {
  static const locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  return loc;
}

// Switches the calling thread to the C locale for its lifetime.
class CLocaleScope {
 public:
  CLocaleScope() : old_(CLocale() ? uselocale(CLocale()) : static_cast<locale_t>(0)) {}
  ~CLocaleScope() {
    if (old_) uselocale(old_);
  }
  CLocaleScope(const CLocaleScope&) = delete;
  CLocaleScope& operator=(const CLocaleScope&) = delete;

 private:
  locale_t old_;
};

bool IsCSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

}  // namespace

int ParseIntC(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsCSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long value = 0;  // magnitude, capped just above the int range
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    if (value <= static_cast<long long>(INT_MAX) + 1) value = value * 10 + (text[i] - '0');
  }
  if (negative) return value > static_cast<long long>(INT_MAX) ? INT_MIN : static_cast<int>(-value);
  return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

double ParseRealC(std::string_view text) {
  std::string copy(text.substr(0, text.find('\0')));
  CLocaleScope scope;
  return std::strtod(copy.c_str(), nullptr);
}

std::string FormatC(const char* format, ...) {
  CLocaleScope scope;
  char small[128];
  va_list args;
  va_start(args, format);
  int n = std::vsnprintf(small, sizeof small, format, args);
  va_end(args);
  if (n < 0) return std::string();
  if (static_cast<size_t>(n) < sizeof small) return std::string(small, static_cast<size_t>(n));
  std::string out(static_cast<size_t>(n), '\0');
  va_start(args, format);
  std::vsnprintf(out.data(), out.size() + 1, format, args);
  va_end(args);
  return out;
}

int TruncToInt(double value) {
  if (std::isnan(value)) return 0;
  double t = std::trunc(value);
  if (t >= 2147483647.0) return INT_MAX;
  if (t <= -2147483648.0) return INT_MIN;
  return static_cast<int>(t);
}

}  // namespace obrix
