#include <gtest/gtest.h>

#include <string>

#include "background/background_list.h"
#include "platform/files.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "test_support.h"

namespace obrix {
namespace {

TEST(BackgroundList, TemporaryNames) {
  struct Case {
    const char* source;
    int slot;
    const char* name;
  } cases[] = {
      {"LINES.TXT", 3, "LINESTXT.$03"},
      {"pegs.asc", 0, "pegsasc.$00"},
      {"NOEXT", 9, "NOEXT.$09"},
      {"a.b.XYZ", 1, "a.bXYZ.$01"},
      {"data.xy", 2, "data.xy.$02"},
  };
  for (const Case& c : cases) EXPECT_EQ(BgTemporaryName(c.source, c.slot), c.name);
  // Cut to 64 characters, never inside a character.
  const std::string longName = std::string(70, 'A') + "\xC3\xA9.TXT";
  EXPECT_EQ(BgTemporaryName(longName, 4), std::string(60, 'A') + ".$04");
  EXPECT_EQ(CutToChars("ab\xC3\xA9\xC3\xA9", 3), "ab\xC3\xA9");
  EXPECT_EQ(BgFileNameOf("/home/u/LINES.TXT"), "LINES.TXT");
}

class BackgroundListFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetBackgrounds();
    MakeFolders(ScratchFolder());
  }
  void TearDown() override { ResetBackgrounds(); }
  // Loads `count` entries named F0.TXT .. with styles 10 + i and alternating types, each with its file.
  void Load(int count) {
    for (int i = 0; i < count; ++i) {
      const std::string source = "F" + std::to_string(i) + ".TXT";
      BackgroundEntry& e = Backgrounds().BackgroundList[Backgrounds().BackgroundCount];
      e.displayName = source;
      e.temporaryName = NextBgTemporaryName(source);
      e.positionsStyle = i;
      e.fileType = i % 3;
      test::WriteFile(BgTemporaryPath(e.temporaryName), "x");
      ++Backgrounds().BackgroundCount;
    }
  }
  test::DataRootFixture root_;
};

TEST_F(BackgroundListFiles, RemovalCompactsInOrderAndDeletesFiles) {
  Load(4);
  std::array<bool, MaxBackgroundFiles> remove{};
  remove[1] = remove[2] = true;
  EXPECT_EQ(RemoveBackgroundEntries(remove), 2);
  const BackgroundListState& b = Backgrounds();
  ASSERT_EQ(b.BackgroundCount, 2);
  EXPECT_EQ(b.BackgroundList[0].displayName, "F0.TXT");
  EXPECT_EQ(b.BackgroundList[1].displayName, "F3.TXT");
  EXPECT_EQ(b.BackgroundList[1].temporaryName, "F3TXT.$03");
  EXPECT_EQ(b.BackgroundList[1].positionsStyle, 3);
  EXPECT_EQ(b.BackgroundList[1].fileType, 0);
  EXPECT_TRUE(b.BackgroundList[2].displayName.empty());
  EXPECT_TRUE(FileExists(BgTemporaryPath("F0TXT.$00")));
  EXPECT_FALSE(FileExists(BgTemporaryPath("F1TXT.$01")));
  EXPECT_FALSE(FileExists(BgTemporaryPath("F2TXT.$02")));
  EXPECT_TRUE(FileExists(BgTemporaryPath("F3TXT.$03")));

  // The next load goes to slot 2; loading F3.TXT again there must not take the name the moved entry holds.
  EXPECT_EQ(NextBgTemporaryName("F3.TXT"), "F3TXT.$02");
  Backgrounds().BackgroundCount = 3;
  Backgrounds().BackgroundList[2].temporaryName = "F3TXT.$02";
  EXPECT_EQ(NextBgTemporaryName("F3.TXT"), "F3TXT.$00");
}

TEST_F(BackgroundListFiles, RemovingAllAndLeavingDeleteEveryFile) {
  Load(3);
  std::array<bool, MaxBackgroundFiles> all{};
  all.fill(true);
  EXPECT_EQ(RemoveBackgroundEntries(all), 3);
  EXPECT_EQ(Backgrounds().BackgroundCount, 0);
  for (const char* f : {"F0TXT.$00", "F1TXT.$01", "F2TXT.$02"}) EXPECT_FALSE(FileExists(BgTemporaryPath(f)));

  Load(2);
  DeleteAllBackgroundFiles();
  EXPECT_EQ(Backgrounds().BackgroundCount, 0);
  EXPECT_FALSE(FileExists(BgTemporaryPath("F1TXT.$01")));
}

}  // namespace
}  // namespace obrix
