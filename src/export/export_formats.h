#pragma once
// Streaming writers of exported readings: CSV (a header row, "." decimals, quoted text), GeoJSON (a feature
// collection, longitude/latitude, null geometry without a position) and KML (a placemark a reading).
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

#include "export/export_row.h"

namespace obrix {

enum class ExportFormat { Csv, GeoJson, Kml };

// "csv", "geojson", "kml"; false for anything else.
bool ParseExportFormat(std::string_view name, ExportFormat& format);

class ExportWriter {
 public:
  virtual ~ExportWriter() = default;
  virtual void Begin() = 0;
  virtual void Row(const ExportRow& row) = 0;
  // Each accepted fix, before the rows it positions; only writers of the track take them.
  virtual void Fix(const ExportFix&) {}
  virtual void End() = 0;
};

// `title` names the document (GeoJSON "name", KML Document name).
std::unique_ptr<ExportWriter> MakeExportWriter(ExportFormat format, std::ostream& out, std::string_view title = "");

// The CSV columns, in order.
inline constexpr const char* kExportColumns[] = {
    "record", "segment",  "line",      "station",   "date",    "local_time", "utc_time", "tick",
    "channel", "component", "dipole",  "value",     "marker",  "easting",    "northing", "units",
    "zone",   "latitude", "longitude", "quality",   "satellites", "dop",     "flags"};

// Text helpers (also used by the tests).
std::string CsvField(std::string_view text);   // quoted when it holds a comma, quote, CR, LF or edge spaces
std::string JsonString(std::string_view utf8); // with quotes; control characters as \u00XX
std::string XmlText(std::string_view utf8);    // & < > " ' escaped; characters XML 1.0 forbids as '?'
// Shortest text that reads back as the same double; "." decimals whatever the locale.
std::string NumberText(double v);
// Fixed decimals.
std::string FixedText(double v, int decimals);

}  // namespace obrix
