#include "em38/reading_rate.h"

#include <cmath>

#include "platform/numbers.h"

namespace obrix {
namespace {

bool ShorterThanOneRecord(double readingInterval, double instrumentPeriodMs) {
  return instrumentPeriodMs > 0 && std::isfinite(readingInterval) &&
         std::round(readingInterval * 1000.0) < instrumentPeriodMs;
}

}  // namespace

double RecordedReadingInterval(double readingInterval, double instrumentPeriodMs) {
  return ShorterThanOneRecord(readingInterval, instrumentPeriodMs) ? instrumentPeriodMs / 1000.0 : readingInterval;
}

std::string EffectiveRateNotice(double readingInterval, double instrumentPeriodMs) {
  if (!ShorterThanOneRecord(readingInterval, instrumentPeriodMs)) return {};
  return FormatC("%s %.0f ms.\r\n%s %.2f\r\n%s", "The EM38 sends a record every", instrumentPeriodMs,
                 "Readings/second recorded:", 1000.0 / instrumentPeriodMs,
                 "The data file states this rate.");
}

}  // namespace obrix
