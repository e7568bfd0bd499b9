// Proposed names and the new / existing / foreign decision of a chosen data file.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "datafile/data_file.h"
#include "datafile/file_naming.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "settings/settings.h"
#include "state/session.h"
#include "test_support.h"

namespace obrix {
namespace {

LocalTime March1() {
  LocalTime t;
  t.year = 2026, t.month = 3, t.day = 1;
  return t;
}

TEST(ProposeDataFileName, FirstFreeNumberOfTheDay) {
  struct Case {
    const char* what;
    std::vector<std::string> files;
    int instrumentEnabled;
    std::string expected;
  } cases[] = {
      {"empty folder", {}, 1, "260301_000"},
      {"000 and 001 taken", {"260301_000.T38", "260301_001.T38"}, 1, "260301_002"},
      {"extension in another case", {"260301_000.t38"}, 1, "260301_001"},
      {"other day and other kinds", {"260228_000.T38", "260301_000.txt", "260301_0000.T38"}, 1, "260301_000"},
      {"GPS-only, upper-case GXY", {"260301_000.GXY", "260301_001.gxy"}, 0, "260301_002"},
      {"GPS-only ignores T38", {"260301_000.T38"}, 0, "260301_000"},
  };
  for (const Case& c : cases) {
    test::TempDir dir;
    for (const auto& f : c.files) test::WriteFile(dir.file(f), "x");
    EXPECT_EQ(ProposeDataFileName(dir.path(), March1(), c.instrumentEnabled), c.expected) << c.what;
  }
}

TEST(ProposeDataFileName, LockedFileCountsAsFreeAndMissingFolderIsMade) {
  test::TempDir dir;
  test::WriteFile(dir.file("260301_000.T38"), "x");
  int held = OpenExclusive(dir.file("260301_000.T38"), OpenMode::ReadWriteExisting);
  ASSERT_GE(held, 0);
  EXPECT_EQ(ProposeDataFileName(dir.path(), March1(), 1), "260301_000");
  CloseFile(held);

  std::string sub = dir.file("new.folder/");
  EXPECT_EQ(ProposeDataFileName(sub, March1(), 1), "260301_000");
  struct stat st{};
  EXPECT_EQ(::stat(sub.c_str(), &st), 0);
}

TEST(ProposeDataFileName, AllTakenProposesTheLastWithExtension) {
  test::TempDir dir;
  for (int n = 0; n < 1000; ++n) {
    char name[32];
    std::snprintf(name, sizeof name, "260301_%03d.gxy", n);
    test::WriteFile(dir.file(name), "");
  }
  EXPECT_EQ(ProposeDataFileName(dir.path(), March1(), 0), "260301_999.gxy");
}

TEST(DataFileBaseName, OnlyTheDotAfterTheLastSlashCounts) {
  EXPECT_EQ(DataFileBaseNameOf("/data/site.2026/260301_000.T38"), "260301_000");
  EXPECT_EQ(DataFileBaseNameOf("/data/site.2026/a.b.c"), "a");
  EXPECT_EQ(DataFileBaseNameOf("/data/site.2026/noext"), "noext");
  EXPECT_EQ(FolderOf("/data/site.2026/noext"), "/data/site.2026/");
}

class CreateDataFileTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetDataFile();
    ResetSession();
    Sess().LoggingState = NoFile;
    Config().dataFolder = root_.dir().path();
  }
  void TearDown() override { ResetDataFile(); }
  CreateOutcome Choose(const std::optional<std::string>& path) {
    return CreateDataFileFromChoice(DataFileDialogRequest(), path);
  }
  test::DataRootFixture root_;
};

TEST_F(CreateDataFileTest, DialogArguments) {
  SaveDialogRequest r = DataFileDialogRequest();
  EXPECT_EQ(r.title, "Create Data File");
  EXPECT_EQ(r.initialFolder, root_.dir().path());
  EXPECT_EQ(r.defaultExtension, "T38");
  EXPECT_EQ(r.filter, "");
  Config().instrumentEnabled = 0;
  r = DataFileDialogRequest();
  EXPECT_EQ(r.defaultExtension, "GXY");
  EXPECT_EQ(r.filter, "OBXGXY Files (*.GXY)");
  EXPECT_EQ(r.filterPattern, "*.GXY");
}

TEST_F(CreateDataFileTest, NewFileGetsHeaderAndIsOpenInStandBy) {
  std::string folder = root_.dir().file("site.2026/");
  ASSERT_TRUE(MakeFolders(folder));
  CreateOutcome out = Choose(folder + "260301_000");  // no extension: the default one is added
  EXPECT_EQ(out.result, CreateResult::New);
  EXPECT_EQ(out.errorText, "");
  EXPECT_TRUE(DataFileIsOpen());
  EXPECT_EQ(DataFile().DataFilePath, folder + "260301_000.T38");
  EXPECT_EQ(DataFile().DataFileBaseName, "260301_000");
  EXPECT_EQ(Config().dataFolder, folder);
  EXPECT_EQ(Sess().LoggingState, StandBy);
  std::string bytes = test::ReadFile(folder + "260301_000.T38");
  ASSERT_EQ(bytes.size(), 10u * 27);
  EXPECT_EQ(bytes.substr(0, 5), "OBX38");
  EXPECT_EQ(bytes.substr(27, 11), "H260301_000");
  EXPECT_EQ(bytes[9 * 27], '*');
  // The settings were saved with the new folder.
  EXPECT_NE(test::ReadFile(SettingsPath()).find(folder), std::string::npos);
}

TEST_F(CreateDataFileTest, ExistingFileOfThisProgramIsOpenedUntouched) {
  struct {
    const char* what;
    std::string content;
  } cases[] = {{"our header", "OBX38   W215GPS00000 1    \n"}, {"empty", ""}, {"shorter than 5", "OBX"}};
  for (const auto& c : cases) {
    ResetDataFile();
    std::string path = root_.dir().file("old.T38");
    test::WriteFile(path, c.content);
    CreateOutcome out = Choose(path);
    EXPECT_EQ(out.result, CreateResult::Existing) << c.what;
    EXPECT_TRUE(DataFileIsOpen()) << c.what;
    EXPECT_EQ(test::ReadFile(path), c.content) << c.what;
    EXPECT_EQ(Sess().LoggingState, NoFile) << c.what;
  }
}

TEST_F(CreateDataFileTest, ForeignFileIsWrittenOnlyAfterAYes) {
  const std::string folder = root_.dir().file("site/");
  ASSERT_TRUE(MakeFolders(folder));
  const std::string path = folder + "points.txt";
  const std::string original = "1,500010.0,4800020.0\n2,500011.5,4800021.0\n";
  const std::string folderBefore = Config().dataFolder;
  int asked = 0;
  struct {
    const char* what;
    ForeignFileQuestion question;
  } declined[] = {
      {"No", [&] { ++asked; return false; }},
      {"no question", ForeignFileQuestion()},
  };
  for (const auto& c : declined) {
    SCOPED_TRACE(c.what);
    test::WriteFile(path, original);
    CreateOutcome out = CreateDataFileFromChoice(DataFileDialogRequest(), path, c.question);
    EXPECT_EQ(out.result, CreateResult::Cancelled);
    EXPECT_EQ(out.errorText, "");
    EXPECT_FALSE(DataFileIsOpen());
    EXPECT_EQ(Sess().LoggingState, NoFile);
    EXPECT_EQ(Config().dataFolder, folderBefore);
    EXPECT_EQ(test::ReadFile(path), original);
  }
  EXPECT_EQ(asked, 1);

  // Yes: the header goes at the end of the file, which stays open in StandBy.
  test::WriteFile(path, original);
  CreateOutcome out = CreateDataFileFromChoice(DataFileDialogRequest(), path, [&] {
    ++asked;
    return true;
  });
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(out.result, CreateResult::Foreign);
  EXPECT_EQ(out.errorText, "");
  EXPECT_TRUE(DataFileIsOpen());
  EXPECT_EQ(Sess().LoggingState, StandBy);
  std::string bytes = test::ReadFile(path);
  EXPECT_EQ(bytes.substr(0, original.size()), original);
  EXPECT_EQ(bytes.substr(original.size(), 5), "OBX38");
  EXPECT_EQ(bytes.size(), original.size() + 10 * 27);
  EXPECT_EQ(Config().dataFolder, folder);
}

TEST_F(CreateDataFileTest, CancelOpensNothingAndKeepsTheFolder) {
  std::string before = Config().dataFolder;
  CreateOutcome out = Choose(std::nullopt);
  EXPECT_EQ(out.result, CreateResult::Cancelled);
  EXPECT_EQ(out.errorText, "");
  EXPECT_FALSE(DataFileIsOpen());
  EXPECT_EQ(Config().dataFolder, before);
  EXPECT_EQ(Sess().LoggingState, NoFile);
}

TEST_F(CreateDataFileTest, FileThatCannotBeOpenedOrWrittenIsReported) {
  std::string dirPath = root_.dir().file("a_folder.T38");
  ASSERT_TRUE(MakeFolders(dirPath));
  // A device that is always full, reached through a name with the data-file extension.
  std::string fullPath = root_.dir().file("full.T38");
  bool haveFull = FileExists("/dev/full") && ::symlink("/dev/full", fullPath.c_str()) == 0;
  struct {
    const char* what;
    std::string path;
    const char* firstLine;
  } cases[] = {
      {"missing folder", root_.dir().file("missing/x.T38"), "Cannot open the data file"},
      {"a directory", dirPath, "Cannot open the data file"},
      {"a folder name", root_.dir().path(), "Cannot open the data file"},
      {"a full disk", fullPath, "Cannot write the data file"},
  };
  for (const auto& c : cases) {
    if (c.path == fullPath && !haveFull) continue;
    std::string before = Config().dataFolder;
    // The full device reads as a foreign file: the survey is added after a Yes.
    CreateOutcome out = CreateDataFileFromChoice(DataFileDialogRequest(), c.path, [] { return true; });
    EXPECT_EQ(out.result, CreateResult::Cancelled) << c.what;
    EXPECT_EQ(out.errorText.rfind(c.firstLine, 0), 0u) << c.what << ": " << out.errorText;
    EXPECT_NE(out.errorText.find(c.path), std::string::npos) << c.what;
    EXPECT_FALSE(DataFileIsOpen()) << c.what;
    EXPECT_EQ(Sess().LoggingState, NoFile) << c.what;
    EXPECT_EQ(Config().dataFolder, before) << c.what;
  }
}

}  // namespace
}  // namespace obrix
