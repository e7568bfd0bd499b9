#include "background/ascii_columns.h"

#include "platform/numbers.h"

namespace obrix {

std::string_view TrimText(std::string_view text, int mode) {
  if (mode & 1)
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  if (mode & 2)
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

std::string CollapseSpaces(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text)
    if (c != ' ' || out.empty() || out.back() != ' ') out.push_back(c);
  return out;
}

char BgDelimiterChar(int bgDelimiter) {
  static constexpr char kDelimiters[4] = {' ', ',', '\t', ';'};
  return bgDelimiter >= 0 && bgDelimiter < 4 ? kDelimiters[bgDelimiter] : ',';
}

std::optional<std::string_view> ColumnText(std::string_view line, int n, char delimiter) {
  if (n < 1) return std::nullopt;
  size_t start = 0;
  for (int field = 1; field < n; ++field) {
    const size_t d = line.find(delimiter, start);
    if (d == std::string_view::npos) return std::nullopt;
    start = d + 1;
  }
  const size_t end = line.find(delimiter, start);
  return line.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

std::optional<double> ColumnNumber(std::string_view line, int n, char delimiter) {
  const std::optional<std::string_view> raw = ColumnText(line, n, delimiter);
  if (!raw) return std::nullopt;
  return PlainNumber(TrimText(*raw, 3));
}

std::optional<double> PlainNumber(std::string_view text) {
  if (text.empty() || text.size() > kBgMaxColumnChars) return std::nullopt;
  size_t i = text.front() == '+' || text.front() == '-' ? 1 : 0;
  int digits = 0, dots = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') ++digits;
    else if (c == '.') ++dots;
    else return std::nullopt;
  }
  if (digits == 0 || dots > 1) return std::nullopt;
  return ParseRealC(text);
}

}  // namespace obrix
