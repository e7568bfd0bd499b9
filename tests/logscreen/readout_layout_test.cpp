#include "logscreen/readout_layout.h"

#include <gtest/gtest.h>

namespace obrix {
namespace {

ReadoutMetrics FixedMetrics() {
  ReadoutMetrics m;
  m.labelWidth = [](std::string_view s) { return int(s.size()) * 8; };
  m.valueWidth = [](std::string_view s) { return int(s.size()) * 9; };
  return m;
}

bool Inside(const Rect& r, const Rect& area) {
  return r.left >= area.left && r.right <= area.right && r.top >= area.top && r.bottom <= area.bottom;
}

TEST(ReadoutLayout, SideBySideOnlyWhereTheGpsColumnFits) {
  const ReadoutMetrics m = FixedMetrics();
  const ReadoutLabels labels;
  struct Case {
    const char* name;
    Rect area;
    bool wide;
    bool sideBySide;  // the GPS frame starts right of the counter frame
  } cases[] = {
      {"wide band", {0, 0, 700, 200}, true, true},
      {"narrow band, room below", {0, 0, 300, 300}, true, false},
      {"one column asked for", {0, 0, 700, 300}, false, false},
  };
  for (const Case& c : cases) {
    const ReadoutRects r = LayoutReadoutRows(c.area, c.wide, m, labels);
    EXPECT_EQ(r.frames[1].left > r.frames[0].right, c.sideBySide) << c.name;
    if (c.area.bottom >= 200) {
      EXPECT_TRUE(Inside(r.frames[0], c.area)) << c.name;
      EXPECT_TRUE(Inside(r.frames[1], c.area)) << c.name;
    }
  }
}

}  // namespace
}  // namespace obrix
