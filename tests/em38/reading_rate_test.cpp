// The interval the data file states and the notice at Logging, against the instrument's record period.
#include <gtest/gtest.h>

#include "em38/reading_rate.h"

namespace obrix {
namespace {

TEST(ReadingRate, HeaderNeverStatesAFasterRateThanOneRecordPeriod) {
  struct {
    double interval, periodMs, recorded;
    bool notice;
  } cases[] = {
      {0.2, 72, 0.2, false},
      {0.2, 91, 0.2, false},
      {1.0 / 13.9, 72, 1.0 / 13.9, false},  // prints as 0.072: one 72 ms record
      {1.0 / 13.9, 91, 0.091, true},
      {0.09, 91, 0.091, true},
      {0.0905, 91, 0.0905, false},          // prints as 0.091 (rounded as the header rounds it)
      {0.091, 91, 0.091, false},
      {0.02, 72, 0.072, true},              // from a settings file of an older build
      {0.02, 91, 0.091, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.interval << " s at " << c.periodMs << " ms");
    EXPECT_DOUBLE_EQ(RecordedReadingInterval(c.interval, c.periodMs), c.recorded);
    EXPECT_EQ(!EffectiveRateNotice(c.interval, c.periodMs).empty(), c.notice);
  }
  EXPECT_EQ(EffectiveRateNotice(0.05, 91),
            "The EM38 sends a record every 91 ms.\r\nReadings/second recorded: 10.99\r\nThe data file states this rate.");
}

}  // namespace
}  // namespace obrix
