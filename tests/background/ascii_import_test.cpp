#include <gtest/gtest.h>

#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

#include "background/ascii_columns.h"
#include "background/ascii_import.h"
#include "background/background_list.h"
#include "background/bg_record.h"
#include "gps/fix_state.h"
#include "platform/files.h"
#include "settings/settings.h"
#include "test_support.h"

namespace obrix {
namespace {

TEST(BackgroundColumns, PlainNumbersOnly) {
  struct Case {
    const char* line;
    int column;
    char delimiter;
    bool number;
    double value;
  } cases[] = {
      {"  12.5, 4567.25 ,100 ", 2, ',', true, 4567.25},
      {"  12.5, 4567.25 ,100 ", 3, ',', true, 100.0},
      {"  12.5, 4567.25 ,100 ", 4, ',', false, 0},
      {"1.5E3,2", 1, ',', false, 0},
      {"-12.0;5", 1, ';', true, -12.0},
      {"+7;5", 1, ';', true, 7.0},
      {"12-0,5", 1, ',', false, 0},
      {"1.2.3,5", 1, ',', false, 0},
      {"-,5", 1, ',', false, 0},
      {".,5", 1, ',', false, 0},
      {",5", 1, ',', false, 0},
      {"3\t4", 2, '\t', true, 4.0},
      {"12 abc", 1, ',', false, 0},
  };
  for (const Case& c : cases) {
    const std::optional<double> v = ColumnNumber(c.line, c.column, c.delimiter);
    EXPECT_EQ(v.has_value(), c.number) << c.line << " column " << c.column;
    if (v && c.number) {
      EXPECT_DOUBLE_EQ(*v, c.value) << c.line;
    }
  }
  EXPECT_FALSE(ColumnNumber(std::string(64, '1'), 1, ',').has_value());
  EXPECT_TRUE(ColumnNumber(std::string(63, '1'), 1, ',').has_value());
  EXPECT_EQ(ColumnText("a,b,,d", 3, ',').value(), "");
  EXPECT_EQ(ColumnText("a,b,,d", 4, ',').value(), "d");
  EXPECT_FALSE(ColumnText("a,b,,d", 5, ',').has_value());
  EXPECT_EQ(TrimText("  x  ", 1), "x  ");
  EXPECT_EQ(TrimText("  x  ", 2), "  x");
  EXPECT_EQ(TrimText("  x  ", 3), "x");
}

TEST(BackgroundRecords, LayoutAndBreaks) {
  EXPECT_EQ(BgRecord(4567.25, 100.0), "      4567.250,       100.000,0,     \n");
  EXPECT_EQ(BgRecord(1, 2, "ABCDEFG"), "         1.000,         2.000,5,ABCDE\n");
  EXPECT_EQ(BgRecord(1, 2, "AB"), "         1.000,         2.000,2,AB   \n");
  EXPECT_EQ(BgBreakRecord(), "9999999999.000,9999999999.000,0,     \n");
  // Values wider than their field would shift every later byte, and values at the break mark's range would
  // read as breaks: refused.
  EXPECT_EQ(BgRecord(1e12, 2), "");
  EXPECT_EQ(BgRecord(1e9, 2), "");
  EXPECT_EQ(BgRecord(2, -1e9), "");
  EXPECT_EQ(BgRecord(1, 0.0 / 0.0), "");
  EXPECT_EQ(BgRecord(-999999999.0, 0), "-999999999.000,         0.000,0,     \n");

  BgPoint p;
  ASSERT_TRUE(ParseBgRecord(BgRecord(-3.5, 12.25, "AB"), p));
  EXPECT_DOUBLE_EQ(p.easting, -3.5);
  EXPECT_DOUBLE_EQ(p.northing, 12.25);
  EXPECT_EQ(p.Label(), "AB");
  EXPECT_FALSE(p.IsBreak()) << "a negative easting is a point of a local grid";
  ASSERT_TRUE(ParseBgRecord(BgBreakRecord(), p));
  EXPECT_TRUE(p.IsBreak());
  for (const char* bad : {"", "      4567.250;       100.000,0,     \n", "      4567.2x0,       100.000,0,     \n",
                          "      4567.250,       100.000,7,     \n", "      4567.250,       100.000,0,     X"})
    EXPECT_FALSE(ParseBgRecord(bad, p)) << bad;
}

struct ConvertCase {
  const char* name;
  BgImportOptions options;
  std::string input;
  std::vector<std::string> records;
};

BgImportOptions Opt(int type, int coords, int e, int n, int delimiter, int units = 0, int label = 2) {
  BgImportOptions o;
  o.fileType = type;
  o.coordinatesType = coords;
  o.eastingColumn = e;
  o.northingColumn = n;
  o.labelsColumn = label;
  o.delimiter = delimiter;
  o.mapUnits = units;
  return o;
}

TEST(AsciiBackground, ConvertsLinesToRecords) {
  const std::string brk = BgBreakRecord();
  const ConvertCase cases[] = {
      {"comma with spaces", Opt(1, 1, 1, 2, 1), "  12.5, 4567.25 ,100 \r\n", {BgRecord(4567.25, 100)}},
      {"missing column skipped", Opt(1, 1, 0, 3, 1), "  12.5, 4567.25 ,100 \r\n", {}},
      {"space runs collapse", Opt(1, 1, 0, 1, 0), "   10    20     x\r\n", {BgRecord(10, 20)}},
      {"tab", Opt(1, 1, 1, 0, 2), "20\t10\r\n", {BgRecord(10, 20)}},
      {"semicolon", Opt(1, 1, 0, 1, 3), "1;2\r\n3;4\r\n", {BgRecord(1, 2), BgRecord(3, 4)}},
      {"exponent and inner sign skipped", Opt(1, 1, 0, 1, 1), "1.5E3,2\r\n12-0,2\r\n-12.0,2\r\n",
       {BgRecord(-12, 2)}},
      {"comments, empty lines and breaks", Opt(1, 1, 0, 1, 1), "/ header\r\n\r\n1,2\r\nb\r\nB start\r\n3,4\r\n",
       {BgRecord(1, 2), brk, brk, BgRecord(3, 4)}},
      {"labels cut and padded", Opt(2, 1, 0, 1, 1), "1,2, LONGLABEL \r\n3,4,AB\r\n5,6\r\n",
       {BgRecord(1, 2, "LONGL"), BgRecord(3, 4, "AB"), BgRecord(5, 6)}},
      {"labels ignored without the labels type", Opt(1, 1, 0, 1, 1), "1,2,AB\r\n", {BgRecord(1, 2)}},
      {"lone line feeds and a last line without one", Opt(1, 1, 0, 1, 1), "1,2\n3,4", {BgRecord(1, 2), BgRecord(3, 4)}},
      {"overlong line skipped", Opt(1, 1, 0, 1, 1), "1,2," + std::string(300, '9') + "\r\n5,6\r\n", {BgRecord(5, 6)}},
      {"UTM metres to feet", Opt(1, 1, 0, 1, 1, 1), "3048,304.8\r\n", {BgRecord(10000, 1000)}},
      {"UTM feet to metres", Opt(1, 2, 0, 1, 1, 0), "10000,1000\r\n", {BgRecord(3048, 304.8)}},
      {"UTM US feet to US feet", Opt(1, 3, 0, 1, 1, 2), "10000,1000\r\n", {BgRecord(10000, 1000)}},
      // Each point in the zone of its own longitude: on a central meridian the easting is 500000 m.
      {"geodetic own zones", Opt(1, 0, 0, 1, 1), "3,0\r\n-3,0\r\n9,0\r\n",
       {BgRecord(500000, 0), BgRecord(500000, 0), BgRecord(500000, 0)}},
      {"geodetic to feet", Opt(1, 0, 0, 1, 1, 1), "3,0\r\n", {BgRecord(500000 / 0.3048, 0)}},
      {"geodetic out of range skipped", Opt(1, 0, 0, 1, 1), "3,91\r\n200,0\r\n", {}},
  };
  for (const ConvertCase& c : cases) {
    ResetFix();
    // Fed in small chunks, so lines cross chunk ends.
    AsciiBackgroundConverter converter(c.options);
    for (size_t i = 0; i < c.input.size(); i += 3) converter.Feed(std::string_view(c.input).substr(i, 3));
    converter.Finish();
    std::string expected;
    for (const std::string& r : c.records) expected += r;
    EXPECT_EQ(converter.TakeRecords(), expected) << c.name;
    EXPECT_EQ(converter.RecordCount(), static_cast<int>(c.records.size())) << c.name;
  }
}

TEST(AsciiBackground, UnitFactors) {
  struct Case {
    int coords, units;
    double value, expected;
  } cases[] = {
      {1, 0, 1000, 1000}, {1, 1, 1000, 1000 / 0.3048}, {1, 2, 1000, 1000 / 0.304800609601219},
      {2, 0, 1000, 304.8}, {2, 1, 1000, 1000},          {2, 2, 1000, 999.99803149994},
      {3, 0, 1000, 304.800609601219}, {3, 1, 1000, 1000 / 0.99999803149994}, {3, 2, 1000, 1000},
  };
  for (const Case& c : cases) {
    double e = 0, n = 0;
    ASSERT_TRUE(AsciiToMapUnits(c.value, c.value, c.coords, c.units, e, n));
    EXPECT_NEAR(e, c.expected, 1e-9) << c.coords << " " << c.units;
    EXPECT_NEAR(n, c.expected, 1e-9);
  }
  double e = 0, n = 0;
  EXPECT_FALSE(AsciiToMapUnits(1, 1, 4, 0, e, n));
}

TEST(AsciiBackground, ByteOrderMarkAtTheStartIsSkipped) {
  const std::string bom = "\xEF\xBB\xBF";
  struct Case {
    std::vector<std::string> chunks;
    int records, skipped;
  } cases[] = {
      {{bom + "10,20\r\n30,40\r\n"}, 2, 0},
      {{"\xEF", "\xBB\xBF" "10,20\r", "\n30,40\r\n"}, 2, 0},  // split across reads
      {{bom + "/ header\r\n10,20\r\n"}, 1, 0},
      {{"10,20\r\n" + bom + "30,40\r\n"}, 1, 1},  // only at the start of the file
  };
  for (const Case& c : cases) {
    AsciiBackgroundConverter converter(Opt(1, 1, 0, 1, 1));
    for (const std::string& chunk : c.chunks) converter.Feed(chunk);
    converter.Finish();
    EXPECT_EQ(converter.RecordCount(), c.records) << c.chunks.size();
    EXPECT_EQ(converter.SkippedLines(), c.skipped) << c.chunks.size();
    const std::string records = converter.TakeRecords();
    if (c.records > 0) EXPECT_EQ(records.substr(0, 38), BgRecord(10, 20));
  }
}

TEST(AsciiBackground, ColumnChecks) {
  struct Case {
    int type, coords, e, n, label;
    const char* message;
  } cases[] = {
      {1, 0, 1, 1, 2, "Same column selected for Longitude and Latitude. Please correct."},
      {1, 2, 1, 1, 2, "Same column selected for UTM coordinates. Please correct."},
      {2, 1, 2, 1, 2, "Same column selected for Longitude and Label. Please correct."},
      {2, 1, 0, 2, 2, "Same column selected for Latitude and Label. Please correct."},
      // The labels list is not used (and not editable) without labels, nor are the columns for data files.
      {1, 1, 2, 1, 2, nullptr},
      {0, 1, 1, 1, 1, nullptr},
      {2, 1, 0, 1, 2, nullptr},
  };
  for (const Case& c : cases) {
    Settings s;
    s.bgFileType = c.type;
    s.bgCoordinatesType = c.coords;
    s.bgEastingColumn = c.e;
    s.bgNorthingColumn = c.n;
    s.bgLabelsColumn = c.label;
    const std::optional<std::string> m = BgColumnCheckMessage(s);
    if (c.message) EXPECT_EQ(m.value_or("(none)"), c.message);
    else EXPECT_FALSE(m.has_value()) << *m;
  }
}

TEST(AsciiBackground, ConvertsFileIntoTemporaryFile) {
  test::DataRootFixture root;
  ResetFix();
  ResetBackgrounds();
  const std::string source = root.dir().file("POINTS.TXT");
  test::WriteFile(source, "/ survey pegs\r\n500010.5,4100020.25,P1\r\nb\r\n500030,4100040,PEG-200\r\n?,1\r\n");
  // A longer, stale temporary file of the same name is replaced.
  const std::string temp = root.dir().file("POINTSTXT.$00");
  test::WriteFile(temp, std::string(500, 'x'));

  BgImportOptions o = Opt(2, 1, 0, 1, 1);
  const int in = ::open(source.c_str(), O_RDONLY);
  const int out = OpenExclusive(temp, OpenMode::CreateAlways);
  ASSERT_GE(in, 0);
  ASSERT_GE(out, 0);
  const BgConvertResult r = ConvertAsciiBackground(in, out, o);
  ::close(in);
  CloseFile(out);
  EXPECT_EQ(r.records, 3);
  EXPECT_FALSE(r.readFailed || r.writeFailed);
  EXPECT_EQ(Backgrounds().BgRecordCount, 3);
  EXPECT_EQ(test::ReadFile(temp), BgRecord(500010.5, 4100020.25, "P1") + BgBreakRecord() +
                                      BgRecord(500030, 4100040, "PEG-2"));

  // A source that cannot be read yields no records.
  const int out2 = OpenExclusive(temp, OpenMode::CreateAlways);
  EXPECT_EQ(ConvertAsciiBackground(-1, out2, o).records, 0);
  CloseFile(out2);
}

}  // namespace
}  // namespace obrix
