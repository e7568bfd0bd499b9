#pragma once
// Import of column-delimited ASCII background files into temporary records in map units.
#include <optional>
#include <string>
#include <string_view>

#include "settings/settings.h"

namespace obrix {

inline constexpr size_t kBgLineBytes = 256;  // longer lines are skipped

struct BgImportOptions {
  int fileType = 1;          // 1 without labels, 2 with a labels column
  int coordinatesType = 1;   // 0 geodetic, 1 UTM metres, 2 UTM feet, 3 UTM US feet
  int eastingColumn = 0;     // 0-based
  int northingColumn = 1;
  int labelsColumn = 2;
  int delimiter = 1;         // bgDelimiter
  int mapUnits = 0;
  static BgImportOptions From(const Settings& s);
};

// The "COORDINATES ERROR" text of the column choices, or none when they are usable. The label column is
// checked only for files with labels, the coordinate columns only for ASCII files.
std::optional<std::string> BgColumnCheckMessage(const Settings& s);

// A coordinate pair of the file (easting column, northing column) in map units by the coordinates type; a
// geodetic point is projected in the UTM zone of its own longitude. False for a type outside 0..3 or a latitude
// or longitude beyond its range.
bool AsciiToMapUnits(double eastingColumn, double northingColumn, int coordinatesType, int mapUnits, double& easting,
                     double& northing);

// Converts lines of the source, fed in chunks of any size, into temporary records. A UTF-8 byte-order mark
// at the start of the source is skipped.
class AsciiBackgroundConverter {
 public:
  explicit AsciiBackgroundConverter(const BgImportOptions& options) : options_(options) {}
  void Feed(std::string_view bytes);
  // Takes a last line that has no line feed.
  void Finish();
  // Records produced since the last TakeRecords.
  std::string TakeRecords() { return std::move(records_); }
  int RecordCount() const { return count_; }
  // Lines that are neither empty, a comment nor a break but gave no record.
  int SkippedLines() const { return skipped_; }

 private:
  void Line(std::string_view line);

  BgImportOptions options_;
  std::string line_;
  bool overlong_ = false;
  bool firstLine_ = true;
  std::string records_;
  int count_ = 0;
  int skipped_ = 0;
};

struct BgConvertResult {
  int records = 0;          // BgRecordCount
  int skipped = 0;          // points of the source that gave no record (unreadable, out of range)
  bool readFailed = false;  // the source could not be read to its end
  bool writeFailed = false; // a temporary record could not be written
};

// Reads the source descriptor to its end and writes the records at the temporary descriptor's position.
// Sets BgRecordCount.
BgConvertResult ConvertAsciiBackground(int sourceFd, int temporaryFd, const BgImportOptions& options);

}  // namespace obrix
