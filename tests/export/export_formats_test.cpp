#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <fcntl.h>
#include <sstream>
#include <unistd.h>
#include <vector>

#include "export/survey_export.h"
#include "export/sim_survey.h"
#include "test_support.h"

namespace obrix {
namespace {

TEST(ExportText, EscapingPerFormat) {
  struct Case {
    std::string in, csv, json, xml;
  } cases[] = {
      {"L1", "L1", "\"L1\"", "L1"},
      {"a,b", "\"a,b\"", "\"a,b\"", "a,b"},
      {"say \"hi\"", "\"say \"\"hi\"\"\"", "\"say \\\"hi\\\"\"", "say &quot;hi&quot;"},
      {" edge", "\" edge\"", "\" edge\"", " edge"},
      {"<&>'", "<&>'", "\"<&>'\"", "&lt;&amp;&gt;&apos;"},
      {"line\nbreak", "\"line\nbreak\"", "\"line\\nbreak\"", "line\nbreak"},
      {std::string("\x01\x7f", 2), std::string("\x01\x7f", 2), "\"\\u0001\\u007f\"", "?\x7f"},
      {"caf\xc3\xa9", "caf\xc3\xa9", "\"caf\xc3\xa9\"", "caf\xc3\xa9"},
      {"bad \xff byte", "bad \xff byte", "\"bad \xef\xbf\xbd byte\"", "bad \xef\xbf\xbd byte"},
      {"back\\slash", "back\\slash", "\"back\\\\slash\"", "back\\slash"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CsvField(c.in), c.csv) << c.in;
    EXPECT_EQ(JsonString(c.in), c.json) << c.in;
    EXPECT_EQ(XmlText(c.in), c.xml) << c.in;
  }
}

TEST(ExportText, NumbersReadBackExactlyWhateverTheLocale) {
  // A locale with decimal commas, when the system has one; the writers never consult it.
  const char* old = std::setlocale(LC_ALL, nullptr);
  const std::string saved = old ? old : "C";
  for (const char* name : {"de_DE.UTF-8", "fr_FR.UTF-8", "C"})
    if (std::setlocale(LC_ALL, name)) break;
  const double values[] = {0.0, -0.1, 612345.123456789, 4829876.1, 1e-7, 43.6099123456, -79.61, 180.0};
  for (double v : values) {
    const std::string t = NumberText(v);
    EXPECT_EQ(t.find(','), std::string::npos) << t;
    EXPECT_EQ(std::strtod(t.c_str(), nullptr), v) << t;  // strtod under the C locale below
  }
  EXPECT_EQ(FixedText(612345.1236, 3), "612345.124");
  EXPECT_EQ(FixedText(-79.6107, 9), "-79.610700000");
  EXPECT_EQ(NumberText(std::nan("")), "");
  std::setlocale(LC_ALL, saved.c_str());
}

TEST(ExportText, FlagWordsAndDates) {
  EXPECT_EQ(ExportFlagText(0), "");
  EXPECT_EQ(ExportFlagText(kFlagGap), "gap");
  EXPECT_EQ(ExportFlagText(kFlagBeforeFirstFix | kFlagLineChange), "before_first_fix+line_change");
  struct Day {
    int y, m, d;
    const char* text;
  } days[] = {{1970, 1, 1, "1970-01-01"}, {2024, 2, 29, "2024-02-29"}, {2000, 3, 1, "2000-03-01"},
              {1969, 12, 31, "1969-12-31"}};
  for (const Day& d : days) EXPECT_EQ(DayText(DayNumber(d.y, d.m, d.d)), d.text);
  EXPECT_EQ(MillisText(86399999), "23:59:59.999");
  EXPECT_EQ(MillisText(-1), "23:59:59.999");
}

// Splits one CSV line (RFC 4180 quoting, no line breaks inside fields).
std::vector<std::string> SplitCsv(const std::string& line) {
  std::vector<std::string> out(1);
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') out.back() += line[++i];
      else if (c == '"') quoted = false;
      else out.back() += c;
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      out.emplace_back();
    } else {
      out.back() += c;
    }
  }
  return out;
}

TEST(ExportCsv, RowsRoundTripTheirNumbers) {
  test::DataRootFixture root;
  ResetDataFile();
  const std::string path = root.dir().file("csv.T38");
  test::SimSurvey s;
  s.Open(path, "A, \"B\"");
  s.Run(1500, false);
  s.Run(6000);
  s.Close();

  std::vector<ExportRow> rows;
  std::ostringstream csv;
  const int fd = ::open(path.c_str(), O_RDONLY);
  auto writer = MakeExportWriter(ExportFormat::Csv, csv);
  writer->Begin();
  ExportSurvey(fd, [&](const ExportRow& r) {
    rows.push_back(r);
    writer->Row(r);
  });
  writer->End();
  ::close(fd);

  std::istringstream in(csv.str());
  std::string line;
  ASSERT_TRUE(std::getline(in, line));
  ASSERT_EQ(line.back(), '\r');
  line.pop_back();
  const std::vector<std::string> header = SplitCsv(line);
  ASSERT_EQ(header.size(), std::size(kExportColumns));
  auto column = [&](const char* name) {
    for (size_t i = 0; i < header.size(); ++i)
      if (header[i] == name) return i;
    ADD_FAILURE() << name;
    return size_t{0};
  };
  size_t n = 0;
  bool sawUnpositioned = false;
  while (std::getline(in, line)) {
    line.pop_back();
    const std::vector<std::string> f = SplitCsv(line);
    ASSERT_EQ(f.size(), header.size()) << line;
    ASSERT_LT(n, rows.size());
    const ExportRow& r = rows[n++];
    EXPECT_EQ(f[column("line")], "A, \"B\"");
    EXPECT_EQ(std::stoll(f[column("tick")]), r.tick);
    EXPECT_EQ(std::strtod(f[column("value")].c_str(), nullptr), r.value);
    EXPECT_EQ(f[column("flags")], ExportFlagText(r.flags));
    if (!r.positioned) {
      sawUnpositioned = true;
      EXPECT_EQ(f[column("easting")], "");
      EXPECT_EQ(f[column("latitude")], "");
      continue;
    }
    EXPECT_NEAR(std::strtod(f[column("easting")].c_str(), nullptr), r.easting, 0.0005);
    EXPECT_NEAR(std::strtod(f[column("northing")].c_str(), nullptr), r.northing, 0.0005);
    EXPECT_NEAR(std::strtod(f[column("latitude")].c_str(), nullptr), r.latitude, 1e-9);
    EXPECT_NEAR(std::strtod(f[column("longitude")].c_str(), nullptr), r.longitude, 1e-9);
    EXPECT_EQ(f[column("zone")], "17");
    EXPECT_EQ(f[column("date")], "2024-05-17");
  }
  EXPECT_EQ(n, rows.size());
  EXPECT_TRUE(sawUnpositioned);
}

}  // namespace
}  // namespace obrix
