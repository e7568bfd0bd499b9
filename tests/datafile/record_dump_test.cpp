// The listing of a data file made by the writers, by the formatter and by the built t38dump tool.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "datafile/data_file.h"
#include "datafile/record_dump.h"
#include "datafile/records.h"
#include "datafile/writers.h"
#include "platform/files.h"
#include "platform/numbers.h"
#include "settings/settings.h"
#include "test_support.h"

namespace obrix {
namespace {

class RecordDumpTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetDataFile();
    path_ = root_.dir().file("dump.T38");
    AttachDataFile(OpenExclusive(path_, OpenMode::AppendCreate));
    DataFile().DataFileBaseName = "dump";
    WriteHeaderBlock(0);
    WriteLineBlock();
    WriteGpsSentence("$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47", 9, '@', '#', '!', 'p',
                     12);
    WriteReadingRecord("T<-0123", 77);
    WriteEventRecord("n\xC3\xB6te", 'C');
    WriteSwathRecord('{', 2, 1.5, 2, 3, 4);
    CloseDataFile();
    test::WriteFile(path_, test::ReadFile(path_) + "Xpartial");
  }
  void TearDown() override { ResetDataFile(); }
  test::DataRootFixture root_;
  std::string path_;
};

TEST_F(RecordDumpTest, NamesEveryKindAndReassemblesSentences) {
  int fd = ::open(path_.c_str(), O_RDONLY);
  std::string out = DumpDataFile(fd);
  ::close(fd);
  const char* expected[] = {
      "     0 identifier      |OBX38   W215GPS00000 1    | version 215 GPS units 0 dipole 0",
      "     1 file name       |Hdump",
      "     2 settings        |G  0.000  0.000 70011     | lateral 0.000 along 0.000 rts 0 slam 0 nmea 1 gps 1",
      "     3 origin easting  |G         0.000 -9        | easting 0.000 zone -9",
      "     4 origin northing |",
      "     5 line            |L1 ",
      "     8 date            |Z",
      "     9 sentence        |@$GPGGA,123519,4807.038,N,",
      "    12 trailer         |!000012p                 9| line 12 fix p tick 9 sentence "
      "\"$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\"",
      "    13 reading         |T<-0123                 77| record \"T<-0123\" tick 77 value 1.5375 mS/m dipole V "
      "channel 0",
      "    14 comment         |Cn\\xF6te",
      "    15 swath           |{e         1.500          | sub-kind e value 1.500",
      "    18 swath           |{h         4.000",
      "(8 bytes of an incomplete record at the end)",
  };
  for (const char* line : expected) EXPECT_NE(out.find(line), std::string::npos) << line << "\n" << out;
}

TEST_F(RecordDumpTest, ToolPrintsTheSameListing) {
  const char* bin = std::getenv("OBRIX_BIN");
  if (!bin) GTEST_SKIP() << "OBRIX_BIN not set (run through ctest)";
  std::string tool = std::string(bin) + "/t38dump";
  if (::access(tool.c_str(), X_OK) != 0) GTEST_SKIP() << "t38dump not built";
  FILE* p = ::popen((tool + " '" + path_ + "'").c_str(), "r");
  ASSERT_NE(p, nullptr);
  std::string out;
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  EXPECT_EQ(::pclose(p), 0);
  int fd = ::open(path_.c_str(), O_RDONLY);
  EXPECT_EQ(out, DumpDataFile(fd));
  ::close(fd);
  EXPECT_NE(::system((tool + " /nonexistent/x.T38 2>/dev/null").c_str()), 0);
}

// More records than one block of the listing holds: numbered on across the blocks, the torn tail noted once.
TEST_F(RecordDumpTest, ListsAFileOfManyBlocksRecordByRecord) {
  std::string bytes = test::ReadFile(path_);
  bytes.resize(bytes.size() - 8);  // the torn tail of the fixture
  const int64_t before = static_cast<int64_t>(bytes.size()) / RecordLength;
  for (int i = 0; i < 5000; ++i) bytes += ReadingRecord("T<-0123", static_cast<uint32_t>(1000 + i));
  test::WriteFile(path_, bytes + "T<-01");
  int fd = ::open(path_.c_str(), O_RDONLY);
  std::vector<std::string> parts;
  ASSERT_TRUE(DumpDataFile(fd, [&parts](std::string_view part) {
    parts.emplace_back(part);
    return true;
  }));
  ::close(fd);
  EXPECT_GT(parts.size(), 2u);  // handed over as it is read
  std::string out;
  for (const std::string& p : parts) out += p;
  const int64_t last = before + 4999;
  const std::string lastRecord = ReadingRecord("T<-0123", 5999);
  EXPECT_NE(out.find(FormatC("%6lld reading         |", static_cast<long long>(last)) +
                     lastRecord.substr(0, lastRecord.size() - 1) + "|"),
            std::string::npos);
  EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), last + 2);
  EXPECT_EQ(out.substr(out.size() - 45), "(5 bytes of an incomplete record at the end)\n");
}

// The tool refuses what is not a survey file before reading any of it, with a message and its exit code.
TEST_F(RecordDumpTest, ToolRefusesWhatIsNotASurveyFile) {
  const char* bin = std::getenv("OBRIX_BIN");
  if (!bin) GTEST_SKIP() << "OBRIX_BIN not set (run through ctest)";
  const std::string tool = std::string(bin) + "/t38dump";
  const test::TempDir& dir = root_.dir();
  ASSERT_EQ(::mkfifo(dir.file("fifo.T38").c_str(), 0600), 0);
  test::WriteFile(dir.file("points.txt"), "1,2,3\n4,5,6\n");
  test::WriteFile(dir.file("empty.T38"), "");
  // A 2 GB file of nothing but a hole: refused at its first record, never read whole.
  const std::string sparse = dir.file("sparse.T38");
  test::WriteFile(sparse, "");
  ASSERT_EQ(::truncate(sparse.c_str(), 2'000'000'000), 0);
  struct Case {
    std::string path;
    int status;
    const char* message;
  } cases[] = {
      {dir.path(), 1, "not a regular file (a folder)"},
      {dir.file("fifo.T38"), 1, "not a regular file (a FIFO)"},
      {"/dev/zero", 1, "not a regular file (a character device)"},
      {dir.file("missing.T38"), 1, "No such file or directory"},
      {dir.file("points.txt"), 3, "not a survey data file"},
      {dir.file("empty.T38"), 3, "the file is empty"},
      {sparse, 3, "not a survey data file"},
  };
  for (const Case& c : cases) {
    const std::string err = dir.file("stderr"), out = dir.file("stdout");
    const int rc = ::system((tool + " '" + c.path + "' >'" + out + "' 2>'" + err + "'").c_str());
    EXPECT_EQ(WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, c.status) << c.path;
    EXPECT_NE(test::ReadFile(err).find(c.message), std::string::npos) << c.path << ": " << test::ReadFile(err);
    EXPECT_EQ(test::ReadFile(out), "") << c.path;
  }
}

}  // namespace
}  // namespace obrix
