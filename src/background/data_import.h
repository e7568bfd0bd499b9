#pragma once
// Data files of this program and its sibling programs as background: the kind of the source from its identifier,
// its record length and antenna offsets, the position sentence chosen by its NMEA kind digit, and the conversion
// of every recorded sentence group into temporary records in map units.
#include <optional>
#include <string_view>

#include "background/ascii_import.h"

namespace obrix {

inline constexpr int kBgHeadBytes = 36;       // the first LF must lie within these
inline constexpr int kBgMaxRecordLength = 30; // longer records are not supported
inline constexpr size_t kBgSentenceBytes = 255;
inline constexpr size_t kBgFieldChars = 63;

// 0 "EM" or "PRO", 1 "QL", 2 "TRN", 3 "OB" (this program), tested in this order in the first 8 bytes; -1 none.
int BgSourceKindOf(std::string_view head);
// Position of the first LF plus one when it lies within the first 36 bytes, else 0.
int BgRecordLengthOf(std::string_view head);

struct BgSource {
  int kind = 3;
  int recordLength = 27;
  double offsetX = 0.0;  // lateral antenna offset (metres) of kinds 2 and 3
  double offsetY = 0.0;  // along offset
  int offsetMethod = 0;  // sign of offsetY
};

// Reads the head and the third record of an open source with positioned reads; none when the file is shorter
// than 8 bytes, has no LF within the first 36 bytes, a record longer than 30 bytes or no known identifier.
std::optional<BgSource> InspectBgSource(int fd);

enum class BgSentence { None, Gga, Pos, Llk, Llq, Gll, Ggk, RtsGga, RtsMark };

// The position sentence a kind digit selects. Kind 0 always GGA; for kind 3 the digit 8 (pseudo-GLL) selects GLL;
// a digit that selects nothing gives None.
BgSentence BgSentenceFor(int kind, char kindDigit);
// The tag searched in an assembled sentence ("GGA", ">").
std::string_view BgSentenceTag(BgSentence s);

// Field n of a sentence (1 = the tag), none when missing.
std::optional<std::string_view> SentenceField(std::string_view sentence, int n);

// Decodes one sentence into map units; false when a field or hemisphere letter is missing or not a number.
// `unitsDigit` 0..2 (the grid units of RtsGga and RtsMark; any other value counts as 0).
bool DecodeBgSentence(std::string_view sentence, BgSentence s, int unitsDigit, int mapUnits, double& easting,
                      double& northing);

// Converts the whole source (from its start, positioned reads) into records at the temporary descriptor's
// position: each decoded position through the antenna offsets (kinds 2 and 3). Sets BgRecordCount.
BgConvertResult ConvertProgramDataBackground(int sourceFd, int temporaryFd, const BgSource& source, int mapUnits);

}  // namespace obrix
