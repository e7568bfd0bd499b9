// The nmea-check program: arguments and exit codes, and the CSV it writes for a small receiver stream.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "gps/nmea_fields.h"
#include "gps/projection.h"
#include "test_support.h"

namespace obrix {
namespace {

std::string Tool() {
  if (const char* bin = std::getenv("OBRIX_BIN")) return std::string(bin) + "/nmea-check";
  char self[PATH_MAX] = {};
  const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
  std::string dir(self, n > 0 ? static_cast<size_t>(n) : 0);
  return dir.substr(0, dir.find_last_of('/') + 1) + "nmea-check";
}

struct ToolRun {
  int status;
  std::string out, err;
};

// Runs the tool with `args` (shell words, redirections included).
ToolRun Check(const test::TempDir& dir, const std::string& args) {
  const std::string out = dir.file("stdout"), err = dir.file("stderr");
  const int rc = std::system(("'" + Tool() + "' " + args + " >'" + out + "' 2>'" + err + "'").c_str());
  return {WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, test::ReadFile(out), test::ReadFile(err)};
}

// "$<body>*hh\r\n" with a correct checksum, or a wrong one.
std::string Nmea(const std::string& body, bool good = true) {
  char sum[8];
  std::snprintf(sum, sizeof sum, "*%02X", NmeaXor("$" + body) ^ (good ? 0u : 1u));
  return "$" + body + sum + "\r\n";
}

// The CSV rows split into fields (the first field may be quoted).
std::vector<std::vector<std::string>> Rows(const std::string& csv) {
  std::vector<std::vector<std::string>> rows;
  size_t pos = 0;
  while (pos < csv.size()) {
    const size_t end = csv.find('\n', pos);
    std::string line = csv.substr(pos, end - pos);
    pos = end == std::string::npos ? csv.size() : end + 1;
    std::vector<std::string> fields;
    size_t i = 0;
    if (!line.empty() && line[0] == '"') {
      const size_t close = line.find('"', 1);
      fields.push_back(line.substr(1, close - 1));
      i = close + 2;
    }
    for (;;) {
      const size_t comma = line.find(',', i);
      fields.push_back(line.substr(i, comma - i));
      if (comma == std::string::npos) break;
      i = comma + 1;
    }
    rows.push_back(fields);
  }
  return rows;
}

TEST(NmeaCheckTool, ArgumentsAndExitCodes) {
  test::TempDir dir;
  test::WriteFile(dir.file("gga.txt"), Nmea("GPGGA,133524,4336.5940,N,07936.6403,W,2,09,1.0,1,M,1,M,,"));
  const std::string file = "'" + dir.file("gga.txt") + "'";
  struct Case {
    const char* name;
    std::string args;
    int status;
    const char* inErr;
    const char* inOut;
  } cases[] = {
      {"file", file, 0, "1 valid, 0 void", "sentence,valid,reason,"},
      {"standard input", "< " + file, 0, "1 valid, 0 void", "$GPGGA,133524"},
      {"dash for standard input", "- < " + file, 0, "1 valid", "$GPGGA,133524"},
      {"format given", "--format 7 " + file, 0, "format 7 (RTS pseudo-GGA)", "4336.5940,"},
      {"format joined", "--format=0 " + file, 0, "format 0 (GGA/GSA)", "$GPGGA"},
      {"help", "--help", 0, "", "usage: nmea-check"},
      {"format out of range", "--format 9 " + file, 1, "unknown format \"9\"", ""},
      {"format not a number", "--format GGA " + file, 1, "unknown format \"GGA\"", ""},
      {"format without value", file + " --format", 1, "--format needs a value", ""},
      {"unknown option", "--zone 17 " + file, 1, "unknown option --zone", ""},
      {"two files", file + " " + file, 1, "only one FILE", ""},
      {"missing file", "'" + dir.file("none.log") + "'", 2, "No such file or directory", ""},
      {"a folder", "'" + dir.path() + "'", 2, "is a folder", ""},
  };
  for (const Case& c : cases) {
    const ToolRun r = Check(dir, c.args);
    EXPECT_EQ(r.status, c.status) << c.name << ": " << r.err;
    EXPECT_NE(r.err.find(c.inErr), std::string::npos) << c.name << ": " << r.err;
    EXPECT_NE(r.out.find(c.inOut), std::string::npos) << c.name << ": " << r.out;
    if (c.status != 0) EXPECT_EQ(r.out, "") << c.name;
  }
}

TEST(NmeaCheckTool, OneRowPerPositionSentenceOfTheFormat) {
  test::TempDir dir;
  const std::string first = "GPGGA,133524.5,4336.5940,N,07936.6403,W,2,09,1.2,142.5,M,-35.4,M,,";
  const std::string stream = "# receiver: test\r\n" + Nmea(first) +
                             Nmea("GPGGA,133525,4336.5940,N,07936.6403,W,2,09,1.2,1,M,1,M,,", false) +  // refused
                             Nmea("GPGSA,A,3,01,07,08,11,13,17,27,28,30,,,,3.6,2.0,3.0") +
                             Nmea("GPGGA,133526,,,,,0,00,,,M,,M,,") +
                             "\x01\xff garbage\r\n" +
                             Nmea("GPGLL,4336.6000,N,07936.6403,W,133527,V,N") +
                             // Zone 18 country: the zone of the first valid position stays.
                             Nmea("GPGGA,133528,4336.6000,N,07754.0000,W,1,00,1.4,1,M,1,M,,");
  test::WriteFile(dir.file("stream.log"), stream);
  const std::string file = "'" + dir.file("stream.log") + "'";

  const ToolRun gga = Check(dir, file);
  ASSERT_EQ(gga.status, 0) << gga.err;
  EXPECT_NE(gga.err.find("8 lines, 3 refused by the line or checksum rules, 3 position sentences: 2 valid, 1 void"),
            std::string::npos)
      << gga.err;
  const auto rows = Rows(gga.out);
  ASSERT_EQ(rows.size(), 4u) << gga.out;
  EXPECT_EQ(rows[0], (std::vector<std::string>{"sentence", "valid", "reason", "latitude", "longitude", "easting",
                                               "northing", "zone", "quality", "satellites", "dop", "time"}));
  int zone = 0;
  const UtmCoordinates utm = GeoToUtm(43 + 36.594 / 60, -(79 + 36.6403 / 60), zone, 0);
  ASSERT_EQ(rows[1].size(), 12u);
  EXPECT_EQ(rows[1][0], "$" + first + Nmea(first).substr(first.size() + 1, 3));
  EXPECT_EQ(rows[1][1], "1");
  EXPECT_EQ(rows[1][2], "");
  EXPECT_NEAR(std::stod(rows[1][3]), 43 + 36.594 / 60, 1e-9);
  EXPECT_NEAR(std::stod(rows[1][4]), -(79 + 36.6403 / 60), 1e-9);
  EXPECT_NEAR(std::stod(rows[1][5]), utm.easting, 1e-4);
  EXPECT_NEAR(std::stod(rows[1][6]), utm.northing, 1e-4);
  EXPECT_EQ(rows[1][7], "17");
  EXPECT_EQ((std::vector<std::string>(rows[1].begin() + 8, rows[1].end())),
            (std::vector<std::string>{"2", "9", "1.2", "48924.500"}));
  // Void: the position columns stay empty.
  EXPECT_EQ((std::vector<std::string>(rows[2].begin() + 1, rows[2].end())),
            (std::vector<std::string>{"0", "no fix (quality 0)", "", "", "", "", "", "0", "0", "0", "48926.000"}));
  // A count of 00 beside a fix is not reported: still valid, projected in zone 17.
  EXPECT_EQ(rows[3][1], "1");
  EXPECT_EQ(rows[3][7], "17");
  EXPECT_LT(std::stod(rows[3][5]), 1000000.0);
  EXPECT_EQ(rows[3][9], "0");

  // The GGA/GSA format takes its dilution from the GSA.
  const auto gsa = Rows(Check(dir, "--format 0 " + file).out);
  ASSERT_EQ(gsa.size(), 4u);
  EXPECT_EQ(gsa[1][10], "") << "no GSA yet";
  EXPECT_EQ(gsa[3][10], "3.6");

  // GLL: the status V voids the fix.
  const auto gll = Rows(Check(dir, "--format 5 " + file).out);
  ASSERT_EQ(gll.size(), 2u);
  EXPECT_EQ(gll[1][1], "0");
  EXPECT_EQ(gll[1][2], "status not A");
  EXPECT_EQ(gll[1][11], "48927.000");
}

}  // namespace
}  // namespace obrix
