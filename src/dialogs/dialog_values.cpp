#include "dialogs/dialog_values.h"

#include <cctype>
#include <cmath>

#include "platform/numbers.h"

namespace obrix {

std::vector<std::string> SerialPortEntries() {
  std::vector<std::string> entries;
  entries.reserve(kSerialPortCount);
  for (int n = 1; n <= kSerialPortCount; ++n) entries.push_back(FormatC("COM%d:", n));
  return entries;
}

int ListIndex(int stored, int count) {
  if (count <= 0) return -1;
  if (stored < 0) return 0;
  return stored >= count ? count - 1 : stored;
}

bool IsNumberText(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  if (i < text.size() && text[i] == '.') ++i;
  return i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]));
}

double FieldNumber(std::string_view text, double otherwise) {
  if (!IsNumberText(text)) return otherwise;
  const double v = ParseRealC(text);
  return std::isfinite(v) ? v : otherwise;
}

double FieldValue(std::string_view shown, std::string_view now, double stored, double otherwise) {
  if (now == shown && std::isfinite(stored)) return stored;
  return FieldNumber(now, otherwise);
}

}  // namespace obrix
