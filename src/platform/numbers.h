#pragma once
// Number text in the C locale, whatever locale the process runs with.
#include <string>
#include <string_view>

namespace obrix {

// Like atoi/strtol base 10: leading white space, an optional sign, then digits up to the first other character.
// Empty or non-numeric text gives 0; values beyond the int range saturate to INT_MIN/INT_MAX.
int ParseIntC(std::string_view text);

// Like strtod in the C locale ("." decimals, exponents, "inf", "nan"); parsing stops at the first character
// that does not fit; empty or non-numeric text gives 0. Text after an embedded NUL is ignored.
double ParseRealC(std::string_view text);

// snprintf in the C locale.
std::string FormatC(const char* format, ...) __attribute__((format(printf, 1, 2)));

// trunc(value) as an int; NaN gives 0, values beyond the int range saturate.
int TruncToInt(double value);

}  // namespace obrix
