#pragma once
// The reading rate the EM38 can deliver: it sends one record every 72 ms (7-character form) or 91 ms
// (12-character form), so no interval between recorded readings can be shorter.
#include <string>

namespace obrix {

// The fastest rate Survey Setup accepts: its interval prints as 0.072 s, one 72 ms record.
inline constexpr double kMaxReadingsPerSecond = 13.9;

// The interval between recorded readings in seconds as the data file states it: the set interval, or one
// record period when the set interval, in whole milliseconds as the header prints it, is shorter.
double RecordedReadingInterval(double readingInterval, double instrumentPeriodMs);

// At Logging, once the record form is known: the information for the operator when the set interval is
// shorter than one record period (the rate actually recorded and the interval the data file states); empty
// otherwise.
std::string EffectiveRateNotice(double readingInterval, double instrumentPeriodMs);

}  // namespace obrix
