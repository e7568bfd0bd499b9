#include <gtest/gtest.h>

#include "background/bg_dialog_texts.h"

namespace obrix {
namespace {

TEST(BgDialogTexts, ControlsFollowTheFileType) {
  struct Case {
    int type;
    bool coordinates, labels, note;
  } cases[] = {{0, false, false, false}, {1, true, false, true}, {2, true, true, true}};
  for (const Case& c : cases) {
    const BgLoadControls s = BgLoadControlsFor(c.type);
    EXPECT_EQ(s.coordinateLists, c.coordinates) << c.type;
    EXPECT_EQ(s.labelsList, c.labels) << c.type;
    EXPECT_EQ(s.datumNoteShown, c.note) << c.type;
  }
  EXPECT_EQ(BgSlotText(0), "  1.");
  EXPECT_EQ(BgSlotText(9), " 10.");
  EXPECT_EQ(BgColumnText(23), "Column 24");
  EXPECT_STREQ(BgFileTypeNote(2), "(files ASC, TXT, DAT, and XYZ)");
}

}  // namespace
}  // namespace obrix
