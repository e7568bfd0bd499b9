#include <gtest/gtest.h>

#include <fcntl.h>
#include <string>
#include <unistd.h>

#include "background/background_list.h"
#include "background/bg_draw.h"
#include "background/bg_file_draw.h"
#include "background/bg_record.h"
#include "map/map_fixture.h"
#include "platform/files.h"
#include "platform/paths.h"

namespace obrix {
namespace {

// Map units of the fixture: 10 pixels per unit from (1000, 5000); 2000 pages east is beyond the map.
constexpr double kFarEast = test::kOriginE + 2000 * 30.0;

class BgFileDrawTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetBackgrounds();
    MakeFolders(ScratchFolder());
  }
  void TearDown() override { ResetBackgrounds(); }
  static Colour BaseAt(double e, double n) {
    const PagePixel p = PixelToPage(WorldPixel(e, n));
    return MapColours().ColourAt(MapPages().At(p.col, p.row, MapLayer::Base, p.x, p.y));
  }
  BgDrawOutcome Draw(const std::string& records, int count, int style, int type = 1) {
    const std::string path = BgTemporaryPath("T.$00");
    test::WriteFile(path, records);
    const int fd = ::open(path.c_str(), O_RDONLY);
    const BgDrawOutcome out = DrawNewBackground(fd, count, style, type, "LINES.TXT");
    ::close(fd);
    return out;
  }
  test::MapFixture map_;
};

TEST_F(BgFileDrawTest, OutcomesAndMessages) {
  const std::string near = BgRecord(1010, 5010) + BgRecord(1020, 5000);
  const std::string far = BgRecord(kFarEast, 5000);
  struct Case {
    const char* name;
    std::string records;
    int count, style;
    int result;
    const char* title;
    const char* text;
  } cases[] = {
      {"no records", "", 0, 1, -1, "FILE ERROR", "Check background file structure."},
      {"every point beyond the map", far + far, 2, 1, 255, "STOP", "All points in background file are invalid\r\n"},
      {"lines beyond the map", far + BgBreakRecord() + far, 3, 10, 255, "STOP",
       "All points in background file are invalid\r\n"},
      {"some beyond the map", near + far, 3, 4, 1, "WARNING",
       "Number of points in background file: 3\r\nNumber of invalid points: 1\r\n"},
      {"all drawn", near, 2, 9, 1, "", ""},
      {"unreadable record", near.substr(0, 40), 2, 1, 1, "WARNING",
       " Unexpected error B$1\r\n processing file:\r\n LINES.TXT"},
  };
  for (const Case& c : cases) {
    ResetPages();
    const BgDrawOutcome out = Draw(c.records, c.count, c.style);
    EXPECT_EQ(out.result, c.result) << c.name;
    EXPECT_EQ(out.title, c.title) << c.name;
    EXPECT_EQ(out.text, c.text) << c.name;
  }
}

TEST_F(BgFileDrawTest, LinesBreakAtBreakRecordsAndInvalidPoints) {
  ResetPages();
  const std::string records = BgRecord(1000, 5010) + BgRecord(1020, 5010) + BgBreakRecord() +
                              BgRecord(1040, 5010) + BgRecord(kFarEast, 5010) + BgRecord(1060, 5010);
  const BgDrawOutcome out = Draw(records, 6, 11);
  EXPECT_EQ(out.result, 1);
  EXPECT_EQ(out.invalid, 1);
  EXPECT_EQ(BaseAt(1010, 5010), kBgColour);  // joined
  EXPECT_EQ(BaseAt(1030, 5010), kWhite);     // the break
  EXPECT_EQ(BaseAt(1050, 5010), kWhite);     // across the invalid point
  EXPECT_EQ(BaseAt(1060, 5010), kBgColour);  // its vertex mark
}

TEST_F(BgFileDrawTest, RedrawDrawsEveryListedFileAgain) {
  struct Entry {
    const char* name;
    int style;
    std::string records;
  } entries[] = {
      {"A.TXT", 2, BgRecord(1005, 5005)},
      {"B.TXT", 9, BgRecord(1000, 4990) + BgRecord(1010, 4990)},
  };
  for (const Entry& e : entries) {
    BackgroundEntry& slot = Backgrounds().BackgroundList[Backgrounds().BackgroundCount];
    slot.displayName = e.name;
    slot.temporaryName = NextBgTemporaryName(e.name);
    slot.positionsStyle = e.style;
    slot.fileType = 1;
    test::WriteFile(BgTemporaryPath(slot.temporaryName), e.records);
    ++Backgrounds().BackgroundCount;
  }
  ResetPages();
  RedrawAllBackgrounds();
  EXPECT_EQ(BaseAt(1005, 5005), kBgColour);
  EXPECT_EQ(BaseAt(1005, 4990), kBgColour);
  EXPECT_EQ(BaseAt(1005, 5000), kWhite);
}

}  // namespace
}  // namespace obrix
