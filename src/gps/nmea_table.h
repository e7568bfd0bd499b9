#pragma once
// The input formats of the GPS port and the per-format table of which field holds which quantity.
namespace obrix {

inline constexpr int kNmeaFormatCount = 9;
// Texts of the GPS port setup list, by nmeaFormat.
inline constexpr const char* kNmeaFormatNames[kNmeaFormatCount] = {
    "GGA/GSA", "GGA", "POS", "LLK", "LLQ", "GLL", "GGK", "RTS pseudo-GGA", "pseudo-GLL"};
// Names of the formats in the setup summary, by nmeaFormat.
inline constexpr const char* kNmeaFormatSummaryNames[kNmeaFormatCount] = {
    "GGA/GSA", "GGA", "POS", "LLK", "LLQ", "GLL", "GGK", "p-GGA SLAM", "Pseudo GLL"};

// Slot kinds: what a (slot, field) pair of the table carries.
enum NmeaSlotKind {
  kSlotSatellites = 0,
  kSlotQuality = 1,
  kSlotNorthSouth = 2,
  kSlotLatitude = 3,
  kSlotEastWest = 4,
  kSlotLongitude = 5,
  kSlotDop = 6,       // PDOP or the format's DOP
  kSlotHdop = 7,
  kSlotGridNorthing = 8,
  kSlotGridEasting = 9,
  kSlotGridQuality = 10,  // position quality/DOP of the local-grid formats
  kSlotSlamStatus = 12,
  kSlotSlamValue1 = 13,
  kSlotSlamValue2 = 14,
  kSlotSlamValue3 = 15,
  kSlotFixStatus = 16,  // status letter: present and not 'A' is a void fix
  kSlotFixMode = 17,    // mode indicator: 'N' is a void fix
};

inline constexpr int kNmeaMaxPairs = 7;

struct NmeaTable {
  int nmeaFormat = 1;
  int slamPseudoGga = 0;
  char NmeaPositionTag[4] = {'G', 'G', 'A', '\0'};
  int NmeaChecksumRequired = 1;
  int NmeaTimeField = 2;
  int NmeaFieldCount = 0;
  int NmeaSlot[kNmeaMaxPairs] = {};
  int NmeaFieldNumber[kNmeaMaxPairs] = {};
};

// The table of one format. A format outside 0..8 is taken as the default format 1 ("GGA"), so the position tag
// is never empty. The time of POS and GGK comes from their own time fields (5 and 3). The GLL rows also read the
// status (field 7) and mode (field 8) letters that receivers add to the sentence.
NmeaTable MakeNmeaTable(int nmeaFormat, int slamPseudoGga);

// The process-wide table. Filled on the window thread before the GPS reader starts; the reader only reads it.
NmeaTable& NmeaTab();
// Fills the process-wide table from nmeaFormat and slamPseudoGga of the settings.
void BuildNmeaTable();
void ResetNmeaTable();

}  // namespace obrix
