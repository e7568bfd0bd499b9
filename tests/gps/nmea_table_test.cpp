#include "gps/nmea_table.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "settings/settings.h"

namespace obrix {
namespace {

using Pairs = std::vector<std::pair<int, int>>;  // (slot, field)

Pairs PairsOf(const NmeaTable& t) {
  Pairs p;
  for (int k = 0; k < t.NmeaFieldCount; ++k) p.emplace_back(t.NmeaSlot[k], t.NmeaFieldNumber[k]);
  return p;
}

TEST(NmeaTable, RowsOfEveryFormat) {
  struct Case {
    int format;
    int slam;
    std::string tag;
    int checksum;
    int timeField;
    Pairs pairs;
  } cases[] = {
      {0, 0, "GGA", 1, 2, {{0, 8}, {1, 7}, {2, 4}, {3, 3}, {4, 6}, {5, 5}}},
      {1, 0, "GGA", 1, 2, {{0, 8}, {1, 7}, {2, 4}, {3, 3}, {4, 6}, {5, 5}, {7, 9}}},
      {2, 0, "POS", 1, 5, {{0, 4}, {1, 3}, {2, 7}, {3, 6}, {4, 9}, {5, 8}, {6, 15}}},
      {3, 0, "LLK", 1, 2, {{0, 9}, {1, 8}, {8, 6}, {9, 4}, {10, 10}}},
      {4, 0, "LLQ", 1, 2, {{0, 9}, {1, 8}, {8, 6}, {9, 4}, {10, 10}}},
      {5, 0, "GLL", 1, 6, {{2, 3}, {3, 2}, {4, 5}, {5, 4}, {16, 7}, {17, 8}}},
      {6, 0, "GGK", 1, 3, {{0, 10}, {1, 9}, {2, 6}, {3, 5}, {4, 8}, {5, 7}, {6, 11}}},
      {7, 0, "GGA", 0, 2, {{8, 3}, {9, 5}}},
      {7, 1, "GGA", 1, 2, {{8, 3}, {9, 5}, {12, 8}, {13, 9}, {14, 12}, {15, 14}}},
      {8, 0, "GLL", 0, 6, {{2, 3}, {3, 2}, {4, 5}, {5, 4}, {16, 7}, {17, 8}}},
      {8, 1, "GLL", 0, 6, {{2, 3}, {3, 2}, {4, 5}, {5, 4}, {16, 7}, {17, 8}}},  // the SLAM flag only changes format 7
      {0, 1, "GGA", 1, 2, {{0, 8}, {1, 7}, {2, 4}, {3, 3}, {4, 6}, {5, 5}}},
      // A format outside the list is read as the default "GGA", never as an empty tag that every line matches.
      {9, 0, "GGA", 1, 2, {{0, 8}, {1, 7}, {2, 4}, {3, 3}, {4, 6}, {5, 5}, {7, 9}}},
      {-1, 0, "GGA", 1, 2, {{0, 8}, {1, 7}, {2, 4}, {3, 3}, {4, 6}, {5, 5}, {7, 9}}},
  };
  for (const Case& c : cases) {
    NmeaTable t = MakeNmeaTable(c.format, c.slam);
    EXPECT_EQ(std::string(t.NmeaPositionTag), c.tag) << c.format;
    EXPECT_EQ(t.NmeaChecksumRequired, c.checksum) << c.format;
    EXPECT_EQ(t.NmeaTimeField, c.timeField) << c.format;
    EXPECT_EQ(PairsOf(t), c.pairs) << c.format << "/" << c.slam;
  }
}

TEST(NmeaTable, BuildReadsTheSettings) {
  ResetSettings();
  Config().nmeaFormat = 7;
  Config().slamPseudoGga = 1;
  BuildNmeaTable();
  EXPECT_EQ(NmeaTab().nmeaFormat, 7);
  EXPECT_EQ(NmeaTab().NmeaFieldCount, 6);
  EXPECT_EQ(NmeaTab().NmeaChecksumRequired, 1);
  ResetNmeaTable();
  ResetSettings();
  EXPECT_EQ(NmeaTab().nmeaFormat, 1);
}

}  // namespace
}  // namespace obrix
