#include "background/ascii_import.h"

#include <cerrno>
#include <cmath>
#include <unistd.h>

#include "background/ascii_columns.h"
#include "background/background_list.h"
#include "background/bg_record.h"
#include "gps/projection.h"
#include "map/busy_ticker.h"
#include "platform/files.h"

namespace obrix {
namespace {

// Feet per US survey foot.
constexpr double kUsFootInFeet = 0.99999803149994;

int Clamp(int v, int lo, int hi) { return v < lo ? lo : v > hi ? hi : v; }

}  // namespace

BgImportOptions BgImportOptions::From(const Settings& s) {
  BgImportOptions o;
  o.fileType = s.bgFileType;
  o.coordinatesType = s.bgCoordinatesType;
  o.eastingColumn = s.bgEastingColumn;
  o.northingColumn = s.bgNorthingColumn;
  o.labelsColumn = s.bgLabelsColumn;
  o.delimiter = s.bgDelimiter;
  o.mapUnits = s.mapUnits;
  return o;
}

std::optional<std::string> BgColumnCheckMessage(const Settings& s) {
  if (s.bgFileType == 0) return std::nullopt;
  if (s.bgEastingColumn == s.bgNorthingColumn)
    return std::string(s.bgCoordinatesType == 0 ? "Same column selected for Longitude and Latitude. Please correct."
                                                : "Same column selected for UTM coordinates. Please correct.");
  if (s.bgFileType != 2) return std::nullopt;
  if (s.bgEastingColumn == s.bgLabelsColumn)
    return std::string("Same column selected for Longitude and Label. Please correct.");
  if (s.bgNorthingColumn == s.bgLabelsColumn)
    return std::string("Same column selected for Latitude and Label. Please correct.");
  return std::nullopt;
}

bool AsciiToMapUnits(double eastingColumn, double northingColumn, int coordinatesType, int mapUnits, double& easting,
                     double& northing) {
  const int unit = Clamp(mapUnits, 0, 2);
  double factor = 1.0;  // multiplies the file's values
  switch (coordinatesType) {
    case 0: {
      if (std::fabs(northingColumn) > 90.0 || std::fabs(eastingColumn) > 180.0) return false;
      int zone = 0;
      const UtmCoordinates u = GeoToUtm(northingColumn, eastingColumn, zone, 0);
      easting = u.easting / kMetresPerMapUnit[unit];
      northing = u.northing / kMetresPerMapUnit[unit];
      return std::isfinite(easting) && std::isfinite(northing);
    }
    case 1: factor = 1.0 / kMetresPerMapUnit[unit]; break;
    case 2: factor = unit == 0 ? 0.3048 : unit == 1 ? 1.0 : kUsFootInFeet; break;
    case 3: factor = unit == 0 ? 0.304800609601219 : unit == 1 ? 1.0 / kUsFootInFeet : 1.0; break;
    default: return false;
  }
  easting = eastingColumn * factor;
  northing = northingColumn * factor;
  return true;
}

void AsciiBackgroundConverter::Feed(std::string_view bytes) {
  while (!bytes.empty()) {
    const size_t lf = bytes.find('\n');
    const std::string_view part = bytes.substr(0, lf);
    if (!overlong_) {
      if (line_.size() + part.size() < kBgLineBytes) line_.append(part);
      else overlong_ = true;
    }
    if (lf == std::string_view::npos) return;
    if (overlong_) ++skipped_;
    else Line(line_);
    line_.clear();
    overlong_ = false;
    bytes.remove_prefix(lf + 1);
  }
}

void AsciiBackgroundConverter::Finish() {
  if (overlong_) ++skipped_;
  else if (!line_.empty()) Line(line_);
  line_.clear();
  overlong_ = false;
}

void AsciiBackgroundConverter::Line(std::string_view line) {
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (firstLine_ && line.substr(0, kByteOrderMark.size()) == kByteOrderMark) line.remove_prefix(kByteOrderMark.size());
  firstLine_ = false;
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (line.empty() || line.front() == '/') return;
  if (line.front() == 'b' || line.front() == 'B') {
    records_ += BgBreakRecord();
    ++count_;
    return;
  }
  const char delimiter = BgDelimiterChar(options_.delimiter);
  std::string text(TrimText(line, 3));
  if (delimiter == ' ') text = CollapseSpaces(text);

  const std::optional<double> north = ColumnNumber(text, options_.northingColumn + 1, delimiter);
  const std::optional<double> east = north ? ColumnNumber(text, options_.eastingColumn + 1, delimiter) : std::nullopt;
  double e = 0.0, n = 0.0;
  if (!east || !AsciiToMapUnits(*east, *north, options_.coordinatesType, options_.mapUnits, e, n)) {
    ++skipped_;
    return;
  }
  std::string_view label;
  if (options_.fileType == 2) {
    const std::optional<std::string_view> column = ColumnText(text, options_.labelsColumn + 1, delimiter);
    if (column) label = TrimText(*column, 3).substr(0, kBgLabelChars);
  }
  const std::string record = BgRecord(e, n, label);
  if (record.empty()) {  // a coordinate too large for its field
    ++skipped_;
    return;
  }
  records_ += record;
  ++count_;
}

BgConvertResult ConvertAsciiBackground(int sourceFd, int temporaryFd, const BgImportOptions& options) {
  BgConvertResult result;
  AsciiBackgroundConverter converter(options);
  char buffer[8192];
  BusyTicker busy;
  auto flush = [&] {
    const std::string records = converter.TakeRecords();
    if (!records.empty() && !WriteAllOnce(temporaryFd, records.data(), records.size())) result.writeFailed = true;
  };
  while (sourceFd >= 0) {
    const ssize_t n = ::read(sourceFd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) result.readFailed = true;
    if (n <= 0) break;
    busy.Tick();
    converter.Feed(std::string_view(buffer, static_cast<size_t>(n)));
    flush();
  }
  converter.Finish();
  flush();
  result.records = converter.RecordCount();
  result.skipped = converter.SkippedLines();
  Backgrounds().BgRecordCount = result.records;
  return result;
}

}  // namespace obrix
