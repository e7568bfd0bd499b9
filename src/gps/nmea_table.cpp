#include "gps/nmea_table.h"

#include "settings/settings.h"

namespace obrix {
namespace {

struct Pair {
  int slot;
  int field;
};

struct Row {
  const char* tag;
  int checksum;
  int timeField;
  int count;
  Pair pairs[kNmeaMaxPairs];
};

constexpr Row kRows[kNmeaFormatCount] = {
    {"GGA", 1, 2, 6, {{0, 8}, {1, 7}, {2, 4}, {3, 3}, {4, 6}, {5, 5}}},
    {"GGA", 1, 2, 7, {{0, 8}, {1, 7}, {2, 4}, {3, 3}, {4, 6}, {5, 5}, {7, 9}}},
    {"POS", 1, 5, 7, {{0, 4}, {1, 3}, {2, 7}, {3, 6}, {4, 9}, {5, 8}, {6, 15}}},
    {"LLK", 1, 2, 5, {{0, 9}, {1, 8}, {8, 6}, {9, 4}, {10, 10}}},
    {"LLQ", 1, 2, 5, {{0, 9}, {1, 8}, {8, 6}, {9, 4}, {10, 10}}},
    {"GLL", 1, 6, 6, {{2, 3}, {3, 2}, {4, 5}, {5, 4}, {16, 7}, {17, 8}}},
    {"GGK", 1, 3, 7, {{0, 10}, {1, 9}, {2, 6}, {3, 5}, {4, 8}, {5, 7}, {6, 11}}},
    {"GGA", 0, 2, 2, {{8, 3}, {9, 5}}},
    {"GLL", 0, 6, 6, {{2, 3}, {3, 2}, {4, 5}, {5, 4}, {16, 7}, {17, 8}}},
};
constexpr Row kSlamRow = {"GGA", 1, 2, 6, {{8, 3}, {9, 5}, {12, 8}, {13, 9}, {14, 12}, {15, 14}}};

NmeaTable g_table = MakeNmeaTable(1, 0);

}  // namespace

NmeaTable MakeNmeaTable(int nmeaFormat, int slamPseudoGga) {
  if (nmeaFormat < 0 || nmeaFormat >= kNmeaFormatCount) nmeaFormat = 1;
  const Row& row = (nmeaFormat == 7 && slamPseudoGga == 1) ? kSlamRow : kRows[nmeaFormat];
  NmeaTable t;
  t.nmeaFormat = nmeaFormat;
  t.slamPseudoGga = slamPseudoGga;
  for (int i = 0; i < 3; ++i) t.NmeaPositionTag[i] = row.tag[i];
  t.NmeaPositionTag[3] = '\0';
  t.NmeaChecksumRequired = row.checksum;
  t.NmeaTimeField = row.timeField;
  t.NmeaFieldCount = row.count;
  for (int k = 0; k < row.count; ++k) {
    t.NmeaSlot[k] = row.pairs[k].slot;
    t.NmeaFieldNumber[k] = row.pairs[k].field;
  }
  return t;
}

NmeaTable& NmeaTab() { return g_table; }

void BuildNmeaTable() { g_table = MakeNmeaTable(Config().nmeaFormat, Config().slamPseudoGga); }

void ResetNmeaTable() { g_table = MakeNmeaTable(1, 0); }

}  // namespace obrix
