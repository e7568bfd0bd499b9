// The logging screen when a link breaks: the GPS readouts and the instrument readout in the warning colour.
#include <gtest/gtest.h>

#include <string>

#include "map_screen_fixture.h"
#include "panes/qt/panes.h"
#include "platform/ticks.h"
#include "settings/settings.h"
#include "state/palette.h"
#include "survey/reading_handler.h"
#include "survey/screen_sink.h"

namespace obrix {
namespace {

// Pixels of `r` that differ from `colour` (all of them when `before` is given: those that differ from it).
int PixelsNotMatching(const Canvas& c, const Rect& r, Colour colour, const Canvas* before = nullptr) {
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) n += c.GetPixel(x, y) != (before ? before->GetPixel(x, y) : colour);
  return n;
}

class LinkWarningTest : public test::MapScreenFixture {};

TEST_F(LinkWarningTest, GpsBreakPaintsTheIndicatorPositionsDopAndSatellitesAndKeepsTheQuality) {
  const struct {
    const char* name;
    int coordinatesDisplay, nmeaFormat;
    bool zone, satellites;
  } cases[] = {
      {"latitude and longitude", 0, 1, false, true},
      {"northing, easting and zone", 1, 1, true, true},
      {"total station: no satellites field", 1, 7, true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Config().coordinatesDisplay = c.coordinatesDisplay;
    Config().nmeaFormat = c.nmeaFormat;
    log_->Relayout();
    log_->Repaint();
    log_->DrawGpsIndicator('/', true);
    const Canvas before = log_->canvas();
    log_->PaintGpsLinkWarning();
    const Canvas& after = log_->canvas();
    const ReadoutRects& f = log_->readoutRects();
    const Point p = f.indicator;
    EXPECT_EQ(after.GetPixel(p.x + 5, p.y + 5), kIndicatorWarningColour);
    EXPECT_EQ(after.GetPixel(p.x + 19, p.y + 5), kIndicatorWarningColour);
    for (const Rect* r : {&f.east.value, &f.north.value, &f.dop.value}) {
      ASSERT_LT(r->left, r->right);
      EXPECT_EQ(PixelsNotMatching(after, *r, kReadoutWarningColour), 0);
    }
    auto painted = [&](const Rect& r, bool expected) {
      if (expected)
        EXPECT_EQ(PixelsNotMatching(after, r, kReadoutWarningColour), 0);
      else
        EXPECT_EQ(PixelsNotMatching(after, r, 0, &before), 0);
    };
    painted(f.zone.value, c.zone);
    painted(f.satellites.value, c.satellites);
    painted(f.fixQuality, false);
    EXPECT_GT(PixelsNotMatching(before, f.fixQuality, kButtonFace), 0) << "the quality field shows its text";
  }
}

TEST_F(LinkWarningTest, LostInstrumentReadoutUntilTheNextRecord) {
  Canvas& pane = LogPanes().numbers->canvas();
  const int x = pane.width() - 2, y = pane.height() - 2;
  OnEm38LinkLost();
  EXPECT_EQ(pane.GetPixel(x, y), kReadoutWarningColour);
  OnEm38Record("T\x3C-0123", TickMs());  // not recording: the idle background
  EXPECT_EQ(pane.GetPixel(x, y), kReadoutIdleColour);
}

}  // namespace
}  // namespace obrix
