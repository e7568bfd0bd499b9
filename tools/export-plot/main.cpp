// export-plot IN.geojson OUT.png [--size N]: draws the positioned readings of an exported GeoJSON file as
// points coloured by value (the map's colour scale, scale from the 2nd to the 98th percentile), north up, with a
// colour bar along the bottom.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/canvas.h"
#include "platform/png_writer.h"
#include "platform/program_options.h"
#include "state/palette.h"

using namespace obrix;

namespace {

// A minimal JSON reader: enough for the feature collections of t38export.
struct Json {
  enum Type { Null, Bool, Number, String, Array, Object } type = Null;
  double number = 0;
  std::string text;
  std::vector<Json> items;
  std::vector<std::pair<std::string, Json>> members;
  const Json* Get(const std::string& key) const {
    for (const auto& m : members)
      if (m.first == key) return &m.second;
    return nullptr;
  }
};

class Parser {
 public:
  explicit Parser(const std::string& s) : s_(s) {}
  bool Parse(Json& out) {
    if (!Value(out, 0)) return false;
    Space();
    return i_ == s_.size();
  }
  size_t where() const { return i_; }

 private:
  void Space() {
    while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\n' || s_[i_] == '\r' || s_[i_] == '\t')) ++i_;
  }
  bool Literal(const char* word) {
    const size_t n = std::char_traits<char>::length(word);
    if (s_.compare(i_, n, word) != 0) return false;
    i_ += n;
    return true;
  }
  bool Str(std::string& out) {
    if (i_ >= s_.size() || s_[i_] != '"') return false;
    ++i_;
    while (i_ < s_.size() && s_[i_] != '"') {
      if (s_[i_] == '\\') {
        if (++i_ >= s_.size()) return false;
        const char c = s_[i_];
        if (c == 'u') {
          if (i_ + 4 >= s_.size()) return false;
          const unsigned v = static_cast<unsigned>(std::strtoul(s_.substr(i_ + 1, 4).c_str(), nullptr, 16));
          out += v < 0x80 ? static_cast<char>(v) : '?';
          i_ += 5;
          continue;
        }
        out += c == 'n' ? '\n' : c == 't' ? '\t' : c == 'r' ? '\r' : c;
        ++i_;
      } else {
        out += s_[i_++];
      }
    }
    if (i_ >= s_.size()) return false;
    ++i_;
    return true;
  }
  bool Value(Json& v, int depth) {
    if (depth > 64) return false;
    Space();
    if (i_ >= s_.size()) return false;
    const char c = s_[i_];
    if (c == '{') {
      v.type = Json::Object;
      ++i_;
      Space();
      if (i_ < s_.size() && s_[i_] == '}') return ++i_, true;
      for (;;) {
        Space();
        std::string key;
        if (!Str(key)) return false;
        Space();
        if (i_ >= s_.size() || s_[i_++] != ':') return false;
        v.members.emplace_back(std::move(key), Json());
        if (!Value(v.members.back().second, depth + 1)) return false;
        Space();
        if (i_ < s_.size() && s_[i_] == ',') { ++i_; continue; }
        if (i_ < s_.size() && s_[i_] == '}') return ++i_, true;
        return false;
      }
    }
    if (c == '[') {
      v.type = Json::Array;
      ++i_;
      Space();
      if (i_ < s_.size() && s_[i_] == ']') return ++i_, true;
      for (;;) {
        v.items.emplace_back();
        if (!Value(v.items.back(), depth + 1)) return false;
        Space();
        if (i_ < s_.size() && s_[i_] == ',') { ++i_; continue; }
        if (i_ < s_.size() && s_[i_] == ']') return ++i_, true;
        return false;
      }
    }
    if (c == '"') {
      v.type = Json::String;
      return Str(v.text);
    }
    if (Literal("null")) return v.type = Json::Null, true;
    if (Literal("true")) return v.type = Json::Bool, v.number = 1, true;
    if (Literal("false")) return v.type = Json::Bool, true;
    char* end = nullptr;
    v.number = std::strtod(s_.c_str() + i_, &end);
    if (end == s_.c_str() + i_) return false;
    v.type = Json::Number;
    i_ = static_cast<size_t>(end - s_.c_str());
    return true;
  }
  const std::string& s_;
  size_t i_ = 0;
};

struct Point3 {
  double lon, lat, value;
};

// The map's own colour scale, low to high.
Colour Ramp(double f) { return ColourTable[static_cast<size_t>(std::lround(std::clamp(f, 0.0, 1.0) * ColourCount))]; }

}  // namespace

const char kUsageText[] =
    "usage: export-plot IN.geojson OUT.png [--size N]\n"
    "Plots the readings of a GeoJSON export in their colours as a PNG picture.\n"
    "\n"
    "  --size N    picture side in pixels, 100 to 4000 (default 800)\n"
    "  --help      this text\n"
    "  --version   the version\n";

int main(int argc, char** argv) {
  if (auto code = AnswerHelpOrVersion(argc, argv, "export-plot", kUsageText)) return *code;
  int size = 800;
  std::vector<const char*> files;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--size" && i + 1 < argc) {
      size = std::clamp(std::atoi(argv[++i]), 100, 4000);
    } else if (LooksLikeOption(a)) {
      ReportUsageError("export-plot", a == "--size" ? "--size needs a value" : "unknown option " + a);
      return 1;
    } else {
      files.push_back(argv[i]);
    }
  }
  if (files.size() != 2) {
    ReportUsageError("export-plot", "give IN.geojson and OUT.png");
    return 1;
  }
  const char* inPath = files[0];
  const char* outPath = files[1];

  std::ifstream in(inPath, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "export-plot: cannot read %s\n", inPath);
    return 2;
  }
  std::stringstream buffer;
  buffer << in.rdbuf();
  const std::string text = buffer.str();
  Json root;
  Parser parser(text);
  if (!parser.Parse(root) || root.type != Json::Object) {
    std::fprintf(stderr, "export-plot: %s: not JSON (at byte %zu)\n", inPath, parser.where());
    return 3;
  }
  const Json* features = root.Get("features");
  if (!features || features->type != Json::Array) {
    std::fprintf(stderr, "export-plot: %s: no feature collection\n", inPath);
    return 3;
  }
  std::vector<Point3> points;
  for (const Json& f : features->items) {
    const Json* g = f.Get("geometry");
    const Json* p = f.Get("properties");
    if (!g || g->type != Json::Object || !p) continue;
    const Json* c = g->Get("coordinates");
    const Json* v = p->Get("value");
    if (!c || c->items.size() < 2 || !v || v->type != Json::Number) continue;
    points.push_back({c->items[0].number, c->items[1].number, v->number});
  }
  if (points.empty()) {
    std::fprintf(stderr, "export-plot: %s: no positioned readings\n", inPath);
    return 3;
  }

  // Local metres around the centre (equirectangular: fine over a survey site).
  double lonMin = 1e9, lonMax = -1e9, latMin = 1e9, latMax = -1e9;
  for (const Point3& p : points) {
    lonMin = std::min(lonMin, p.lon), lonMax = std::max(lonMax, p.lon);
    latMin = std::min(latMin, p.lat), latMax = std::max(latMax, p.lat);
  }
  const double kx = 111320.0 * std::cos((latMin + latMax) / 2 * M_PI / 180.0), ky = 110900.0;
  const double w = std::max((lonMax - lonMin) * kx, 1e-3), h = std::max((latMax - latMin) * ky, 1e-3);
  const int margin = 30, bar = 40;
  const double scale = std::min((size - 2 * margin) / w, (size - 2 * margin - bar) / h);
  // Centred in the free direction.
  const int left = margin + static_cast<int>((size - 2 * margin - w * scale) / 2);
  const int bottom = size - margin - bar - static_cast<int>((size - 2 * margin - bar - h * scale) / 2);

  std::vector<double> values;
  for (const Point3& p : points) values.push_back(p.value);
  std::sort(values.begin(), values.end());
  const double lo = values[values.size() * 2 / 100], hi = values[values.size() * 98 / 100];
  const double range = hi > lo ? hi - lo : 1.0;

  Canvas canvas(size, size, kWhite);
  const int r = std::max(2, static_cast<int>(std::lround(0.12 * scale)));  // 12 cm dots
  std::sort(points.begin(), points.end(), [](const Point3& a, const Point3& b) { return a.value < b.value; });
  for (const Point3& p : points) {
    const int x = left + static_cast<int>(std::lround((p.lon - lonMin) * kx * scale));
    const int y = bottom - static_cast<int>(std::lround((p.lat - latMin) * ky * scale));
    canvas.FillRect(Rect{x - r, y - r, x + r + 1, y + r + 1}, Ramp((p.value - lo) / range));
  }
  // Colour bar: low on the left, high on the right.
  for (int x = margin; x < size - margin; ++x)
    canvas.FillRect(Rect{x, size - bar + 5, x + 1, size - 15},
                    Ramp(static_cast<double>(x - margin) / (size - 2 * margin - 1)));
  if (!WritePng(canvas, outPath)) {
    std::fprintf(stderr, "export-plot: cannot write %s\n", outPath);
    return 4;
  }
  std::fprintf(stderr, "export-plot: %zu points, %.1f x %.1f m, values %.2f to %.2f\n", points.size(), w, h, lo, hi);
  return 0;
}
