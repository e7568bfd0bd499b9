#pragma once
// Column parsing of delimited ASCII background lines.
#include <optional>
#include <string>
#include <string_view>

namespace obrix {

inline constexpr size_t kBgMaxColumnChars = 63;  // longer columns are not read

// Mode 1 leading spaces, 2 trailing spaces, 3 both.
std::string_view TrimText(std::string_view text, int mode);
// Runs of spaces reduced to one.
std::string CollapseSpaces(std::string_view text);
// Delimiter character of bgDelimiter 0..3 (space, comma, tab, semicolon); others give a comma.
char BgDelimiterChar(int bgDelimiter);

// Field n (1-based) of the line: the text before the first delimiter, between delimiters n - 1 and n, or to the
// end of the line. Missing -> none.
std::optional<std::string_view> ColumnText(std::string_view line, int n, char delimiter);
// The text as a plain number (rules of ColumnNumber, no trimming).
std::optional<double> PlainNumber(std::string_view text);
// Field n trimmed of spaces, when it is a plain number: digits with at most one '.', after at most one leading
// '+' or '-', at least one digit, at most 63 characters. Anything else (exponents, inner signs) -> none.
std::optional<double> ColumnNumber(std::string_view line, int n, char delimiter);

}  // namespace obrix
