#include <gtest/gtest.h>

#include <string>

#include "background/background_list.h"
#include "background/bg_load.h"
#include "map/map_fixture.h"
#include "platform/files.h"
#include "platform/paths.h"

namespace obrix {
namespace {

TEST(BackgroundCommands, Refusals) {
  struct Case {
    bool visible, started;
    int gps, count;
    std::optional<BgMessage> message;
  } cases[] = {
      {false, true, 1, 0, BgMessage{"INFORMATION", "Option avaiable only when map is visible"}},
      {true, false, 1, 0, BgMessage{"WARNING", "Valid GPS position must be \r\nreceived to use this option."}},
      {true, false, 0, 3, std::nullopt},
      {true, true, 1, 10, BgMessage{"INFORMATION", "Maximum 10 background files already loaded"}},
      {true, true, 1, 9, std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(BackgroundEntryRefusal(c.visible, c.started, c.gps, c.count), c.message);
  EXPECT_EQ(BackgroundRemovalRefusal(0), (BgMessage{"WARNING", "No background files to remove"}));
  EXPECT_FALSE(BackgroundRemovalRefusal(1).has_value());
}

class BgLoadTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetBackgrounds(); }
  void TearDown() override { ResetBackgrounds(); }
  Settings Ascii(int type = 1) {
    Settings s;
    s.bgFileType = type;
    s.bgCoordinatesType = 1;
    s.bgEastingColumn = 0;
    s.bgNorthingColumn = 1;
    s.bgLabelsColumn = 2;
    s.bgDelimiter = 1;
    s.bgPositionsStyle = 4;
    return s;
  }
  test::MapFixture map_;
};

TEST_F(BgLoadTest, LoadsIntoTheNextSlotOrLeavesItEmpty) {
  const std::string folder = map_.root.dir().path() + "pegs/";
  MakeFolders(folder);
  test::WriteFile(folder + "LINES.TXT", "1010,5010\r\n1020,5020\r\n");
  test::WriteFile(folder + "EMPTY.TXT", "/ nothing\r\n");

  Settings sameColumns = Ascii();
  sameColumns.bgNorthingColumn = 0;
  struct Case {
    const char* name;
    std::string file;
    Settings settings;
    int result;
    std::optional<BgMessage> message;
  } cases[] = {
      {"same columns", "LINES.TXT", sameColumns, 0,
       BgMessage{"COORDINATES ERROR", "Same column selected for UTM coordinates. Please correct."}},
      {"text file taken for a data file", "LINES.TXT", Ascii(0), 0, BgMessage{"FILE ERROR", "Format not supported"}},
      {"missing file", "NONE.TXT", Ascii(), 0, BgMessage{"FILE ERROR", "Check background file structure."}},
      {"no usable line", "EMPTY.TXT", Ascii(), 0, BgMessage{"FILE ERROR", "Check background file structure."}},
      {"loaded", "LINES.TXT", Ascii(), 1, std::nullopt},
  };
  for (const Case& c : cases) {
    const BgLoadOutcome out = LoadBackgroundFile(folder + c.file, c.settings);
    EXPECT_EQ(out.result, c.result) << c.name;
    EXPECT_EQ(out.message, c.message) << c.name;
  }
  const BackgroundListState& b = Backgrounds();
  ASSERT_EQ(b.BackgroundCount, 1);
  EXPECT_EQ(b.BackgroundList[0].displayName, "LINES.TXT");
  EXPECT_EQ(b.BackgroundList[0].temporaryName, "LINESTXT.$00");
  EXPECT_EQ(b.BackgroundList[0].positionsStyle, 4);
  EXPECT_EQ(b.BackgroundList[0].fileType, 1);
  EXPECT_EQ(test::ReadFile(BgTemporaryPath("LINESTXT.$00")).size(), 2u * 38);
  EXPECT_FALSE(FileExists(BgTemporaryPath("EMPTYTXT.$00")));
  EXPECT_EQ(LoadBackgroundFile(folder + "LINES.TXT", Ascii()).folder, folder);
  EXPECT_EQ(b.BackgroundList[1].temporaryName, "LINESTXT.$01");
}

// The base-layer colour of a map point (white when not inked).
Colour BaseAt(double e, double n) {
  const PagePixel p = PixelToPage(WorldPixel(e, n));
  return MapColours().ColourAt(MapPages().At(p.col, p.row, MapLayer::Base, p.x, p.y));
}

TEST_F(BgLoadTest, RemovalRedrawsOnlyTheRemainingFiles) {
  const std::string folder = map_.root.dir().path();
  test::WriteFile(folder + "A.TXT", "1010,5010\r\n");
  test::WriteFile(folder + "B.TXT", "1020,5020\r\n");
  test::WriteFile(folder + "C.TXT", "1030,5030\r\n");
  for (const char* f : {"A.TXT", "B.TXT", "C.TXT"}) ASSERT_EQ(LoadBackgroundFile(folder + f, Ascii()).result, 1);
  ASSERT_NE(BaseAt(1010, 5010), kWhite);
  int busySteps = 0;
  MapScreenHooks().AdvanceBusyIndicator = [&] { ++busySteps; };

  std::array<bool, MaxBackgroundFiles> none{}, remove{};
  EXPECT_EQ(RemoveBackgroundsAndRedraw(map_.pane, none), 0);
  EXPECT_EQ(busySteps, 0);
  remove[0] = remove[2] = true;
  EXPECT_EQ(RemoveBackgroundsAndRedraw(map_.pane, remove), 2);
  EXPECT_EQ(busySteps, 1);
  EXPECT_EQ(Backgrounds().BackgroundCount, 1);
  EXPECT_EQ(Backgrounds().BackgroundList[0].displayName, "B.TXT");
  EXPECT_EQ(BaseAt(1010, 5010), kWhite);
  EXPECT_NE(BaseAt(1020, 5020), kWhite);
  EXPECT_EQ(BaseAt(1030, 5030), kWhite);
  EXPECT_FALSE(FileExists(BgTemporaryPath("ATXT.$00")));
  EXPECT_TRUE(FileExists(BgTemporaryPath("BTXT.$01")));
  ResetMapHooks();
}

// 10 pixels per unit and pages 300 wide: the page limits lie about 29,900 units either side of the origin.
TEST_F(BgLoadTest, OnlyAKeptFileWidensTheExtentAndOnlyByItsPointsInsideTheMap) {
  const std::string folder = map_.root.dir().path();
  test::WriteFile(folder + "FAR.TXT", "61000,5000\r\n61010,5020\r\n");  // an earlier survey 60 km away
  test::WriteFile(folder + "MIXED.TXT", "1010,4990\r\nx,5000\r\n61000,5000\r\n1e3,5000\r\n990,5012\r\n");
  struct Case {
    const char* file;
    int result, skipped;
    TrackExtentBox extent;  // afterwards
    std::optional<BgMessage> message;
  } cases[] = {
      {"FAR.TXT", 0, 2, {1000, 1000, 5000, 5000}, BgMessage{"STOP", "All points in background file are invalid\r\n"}},
      {"MIXED.TXT", 1, 3, {990, 1010, 4990, 5012},
       BgMessage{"WARNING", "Number of points in background file: 3\r\nNumber of invalid points: 1\r\n"}},
  };
  for (const Case& c : cases) {
    const BgLoadOutcome out = LoadBackgroundFile(folder + c.file, Ascii());
    EXPECT_EQ(out.result, c.result) << c.file;
    EXPECT_EQ(out.skipped, c.skipped) << c.file;
    EXPECT_EQ(out.message, c.message) << c.file;
    const TrackExtentBox& x = Fix().TrackExtent;
    EXPECT_EQ(x.minEasting, c.extent.minEasting) << c.file;
    EXPECT_EQ(x.maxEasting, c.extent.maxEasting) << c.file;
    EXPECT_EQ(x.minNorthing, c.extent.minNorthing) << c.file;
    EXPECT_EQ(x.maxNorthing, c.extent.maxNorthing) << c.file;
  }
}

TEST_F(BgLoadTest, NegativeEastingsAreDrawnAndBreaksStillEndALine) {
  // A local grid west of its own origin, drawn as lines: two lines, the second after a break.
  const std::string folder = map_.root.dir().path();
  test::WriteFile(folder + "LOCAL.TXT", "-20,4990\r\n-10,4990\r\nb\r\n-10,4995\r\n-20,4995\r\n");
  Settings s = Ascii();
  s.bgPositionsStyle = 9;
  const BgLoadOutcome out = LoadBackgroundFile(folder + "LOCAL.TXT", s);
  EXPECT_EQ(out.result, 1);
  EXPECT_EQ(out.skipped, 0);
  EXPECT_FALSE(out.message.has_value());
  EXPECT_NE(BaseAt(-15, 4990), kWhite);
  EXPECT_NE(BaseAt(-15, 4995), kWhite);
  EXPECT_EQ(BaseAt(-10, 4992.5), kWhite) << "the break joined the lines";
  EXPECT_EQ(Fix().TrackExtent.minEasting, -20);
}

}  // namespace
}  // namespace obrix
