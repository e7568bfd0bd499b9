#include "export/export_formats.h"

#include <charconv>
#include <cmath>
#include <vector>

namespace obrix {
namespace {

const char* UnitsText(int mapUnits) { return mapUnits == 1 ? "ft" : mapUnits == 2 ? "usft" : "m"; }

std::string UtcText(double seconds) {
  const int64_t ms = static_cast<int64_t>(std::llround(seconds * 1000.0));
  return MillisText(ms);
}

// The values of a row as (name, text, is-number) in column order; an empty text is a missing value.
struct Cell {
  const char* name;
  std::string text;
  bool number;
};

std::vector<Cell> Cells(const ExportRow& r) {
  std::vector<Cell> c;
  c.reserve(std::size(kExportColumns));
  auto num = [&](std::string t) { c.push_back({kExportColumns[c.size()], std::move(t), true}); };
  auto txt = [&](std::string t) { c.push_back({kExportColumns[c.size()], std::move(t), false}); };
  num(std::to_string(r.record));
  num(std::to_string(r.segment));
  txt(r.line);
  num(NumberText(r.station));
  txt(r.hasLocal ? DayText(r.localDay) : "");
  txt(r.hasLocal ? MillisText(r.localMs) : "");
  txt(r.hasUtc ? UtcText(r.utcSeconds) : "");
  num(std::to_string(r.tick));
  num(std::to_string(r.channel));
  txt(r.conductivity ? "conductivity" : "inphase");
  txt(std::string(1, r.dipole));
  num(NumberText(r.value));
  num(r.marker ? "1" : "0");
  num(r.positioned ? FixedText(r.easting, 3) : "");
  num(r.positioned ? FixedText(r.northing, 3) : "");
  txt(UnitsText(r.mapUnits));
  num(r.positioned && r.zone > 0 ? std::to_string(r.zone) : "");
  num(r.hasGeo ? FixedText(r.latitude, 9) : "");
  num(r.hasGeo ? FixedText(r.longitude, 9) : "");
  num(r.hasFix ? std::to_string(r.quality) : "");
  num(r.hasFix ? std::to_string(r.satellites) : "");
  num(r.hasFix ? NumberText(r.dop) : "");
  txt(ExportFlagText(r.flags));
  return c;
}

class CsvWriter : public ExportWriter {
 public:
  explicit CsvWriter(std::ostream& out) : out_(out) {}
  void Begin() override {
    std::string line;
    for (const char* name : kExportColumns) {
      if (!line.empty()) line += ',';
      line += name;
    }
    out_ << line << "\r\n";
  }
  void Row(const ExportRow& row) override {
    std::string line;
    bool first = true;
    for (const Cell& c : Cells(row)) {
      if (!first) line += ',';
      first = false;
      line += c.number ? c.text : CsvField(c.text);
    }
    line += "\r\n";
    out_ << line;
  }
  void End() override { out_.flush(); }

 private:
  std::ostream& out_;
};

class GeoJsonWriter : public ExportWriter {
 public:
  GeoJsonWriter(std::ostream& out, std::string_view title) : out_(out), title_(title) {}
  void Begin() override {
    out_ << "{\"type\":\"FeatureCollection\",\"name\":" << JsonString(title_) << ",\"features\":[\n";
  }
  void Row(const ExportRow& row) override {
    std::string s = first_ ? "" : ",\n";
    first_ = false;
    s += "{\"type\":\"Feature\",\"geometry\":";
    if (row.hasGeo)
      s += "{\"type\":\"Point\",\"coordinates\":[" + FixedText(row.longitude, 9) + "," + FixedText(row.latitude, 9) +
           "]}";
    else
      s += "null";
    s += ",\"properties\":{";
    bool first = true;
    for (const Cell& c : Cells(row)) {
      if (!first) s += ',';
      first = false;
      s += '"';
      s += c.name;
      s += "\":";
      if (c.text.empty() && (c.number || std::string_view(c.name) != "line")) s += "null";
      else s += c.number ? c.text : JsonString(c.text);
    }
    s += "}}";
    out_ << s;
  }
  void End() override {
    out_ << "\n]}\n";
    out_.flush();
  }

 private:
  std::ostream& out_;
  std::string title_;
  bool first_ = true;
};

class KmlWriter : public ExportWriter {
 public:
  KmlWriter(std::ostream& out, std::string_view title) : out_(out), title_(title) {}
  void Begin() override {
    out_ << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n"
            "<Document>\n<name>"
         << XmlText(title_) << "</name>\n";
  }
  void Row(const ExportRow& row) override {
    std::string s;
    s.reserve(2048);
    s += "<Placemark><name>";
    s += XmlText(row.line);
    s += ' ';
    s += NumberText(row.station);
    s += "</name><ExtendedData>";
    for (const Cell& c : Cells(row)) {
      s += "<Data name=\"";
      s += c.name;
      s += "\"><value>";
      if (c.number) s += c.text;  // digits, sign and point only
      else s += XmlText(c.text);
      s += "</value></Data>";
    }
    s += "</ExtendedData>";
    if (row.hasGeo)
      s += "<Point><coordinates>" + FixedText(row.longitude, 9) + "," + FixedText(row.latitude, 9) +
           "</coordinates></Point>";
    s += "</Placemark>\n";
    out_ << s;
  }
  void End() override {
    out_ << "</Document>\n</kml>\n";
    out_.flush();
  }

 private:
  std::ostream& out_;
  std::string title_;
};

// Decodes one UTF-8 character at `i`; invalid bytes give U+FFFD and advance by one.
char32_t NextChar(std::string_view s, size_t& i) {
  const unsigned char c = static_cast<unsigned char>(s[i]);
  int len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
  if (len == 0 || i + static_cast<size_t>(len) > s.size()) {
    ++i;
    return 0xFFFD;
  }
  char32_t v = len == 1 ? c : len == 2 ? (c & 0x1F) : len == 3 ? (c & 0x0F) : (c & 0x07);
  for (int k = 1; k < len; ++k) {
    const unsigned char d = static_cast<unsigned char>(s[i + static_cast<size_t>(k)]);
    if ((d >> 6) != 2) {
      ++i;
      return 0xFFFD;
    }
    v = (v << 6) | (d & 0x3F);
  }
  i += static_cast<size_t>(len);
  return v;
}

void AppendUtf8(std::string& out, char32_t v) {
  if (v < 0x80) {
    out += static_cast<char>(v);
  } else if (v < 0x800) {
    out += static_cast<char>(0xC0 | (v >> 6));
    out += static_cast<char>(0x80 | (v & 0x3F));
  } else if (v < 0x10000) {
    out += static_cast<char>(0xE0 | (v >> 12));
    out += static_cast<char>(0x80 | ((v >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (v & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (v >> 18));
    out += static_cast<char>(0x80 | ((v >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((v >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (v & 0x3F));
  }
}

}  // namespace

bool ParseExportFormat(std::string_view name, ExportFormat& format) {
  if (name == "csv") format = ExportFormat::Csv;
  else if (name == "geojson") format = ExportFormat::GeoJson;
  else if (name == "kml") format = ExportFormat::Kml;
  else return false;
  return true;
}

std::unique_ptr<ExportWriter> MakeExportWriter(ExportFormat format, std::ostream& out, std::string_view title) {
  switch (format) {
    case ExportFormat::GeoJson: return std::make_unique<GeoJsonWriter>(out, title);
    case ExportFormat::Kml: return std::make_unique<KmlWriter>(out, title);
    case ExportFormat::Csv: break;
  }
  return std::make_unique<CsvWriter>(out);
}

std::string CsvField(std::string_view text) {
  const bool quote = text.find_first_of(",\"\r\n") != std::string_view::npos ||
                     (!text.empty() && (text.front() == ' ' || text.back() == ' '));
  if (!quote) return std::string(text);
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
  return out;
}

std::string JsonString(std::string_view s) {
  std::string out = "\"";
  for (size_t i = 0; i < s.size();) {
    const char32_t v = NextChar(s, i);
    switch (v) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (v < 0x20 || v == 0x7F) {
          static const char kHex[] = "0123456789abcdef";
          out += "\\u00";
          out += kHex[(v >> 4) & 0xF];
          out += kHex[v & 0xF];
        } else {
          AppendUtf8(out, v);
        }
    }
  }
  out += '"';
  return out;
}

std::string XmlText(std::string_view s) {
  std::string out;
  for (size_t i = 0; i < s.size();) {
    const char32_t v = NextChar(s, i);
    switch (v) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&apos;"; break;
      default:
        if ((v < 0x20 && v != '\t' && v != '\n' && v != '\r') || v == 0xFFFE || v == 0xFFFF) out += '?';
        else AppendUtf8(out, v);
    }
  }
  return out;
}

std::string NumberText(double v) {
  if (!std::isfinite(v)) return "";
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, r.ptr);
}

std::string FixedText(double v, int decimals) {
  if (!std::isfinite(v)) return "";
  char buf[400];
  const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
  if (r.ec != std::errc()) return "";
  return std::string(buf, r.ptr);
}

}  // namespace obrix
