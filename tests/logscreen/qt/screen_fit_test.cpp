// The logging screen at the common screen sizes, landscape and portrait, with the map and without: every control
// and every text place lies inside the window and clear of the others, and the button captions fit whole.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QPushButton>
#include <memory>
#include <string>
#include <vector>

#include "app/qt/setup_window.h"
#include "app/setup_layout.h"
#include "logscreen/qt/log_window.h"
#include "platform/qt/scripted_prompts.h"
#include "settings/settings.h"
#include "state/session.h"
#include "test_support.h"

namespace obrix {
namespace {

struct Place {
  std::string name;
  Rect r;
};

bool Empty(const Rect& r) { return r.right <= r.left || r.bottom <= r.top; }
bool Inside(const Rect& in, const Rect& out) {
  return in.left >= out.left && in.top >= out.top && in.right <= out.right && in.bottom <= out.bottom;
}
bool Overlap(const Rect& a, const Rect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}
Rect Of(const QRect& q) { return {q.left(), q.top(), q.left() + q.width(), q.top() + q.height()}; }
std::string Text(const Rect& r) {
  return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
         std::to_string(r.bottom) + ")";
}

class ScreenFitTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetSession(); }
  void TearDown() override { ResetSession(); }

  // The visible controls of the screen as it stands, and the text places of the readout set in use.
  void Check(LogWindow& log, const std::string& where) {
    SCOPED_TRACE(where);
    const Rect window{0, 0, log.width(), log.height()};
    std::vector<Place> controls;
    for (QWidget* w : log.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      if (!w->isVisibleTo(&log) || w->geometry().isEmpty()) continue;
      const std::string name = w->objectName().isEmpty() ? std::string(w->metaObject()->className())
                                                          : w->objectName().toStdString();
      controls.push_back({name + (qobject_cast<QPushButton*>(w) ? " \"" +
                                      qobject_cast<QPushButton*>(w)->text().toStdString() + "\"" : ""),
                          Of(w->geometry())});
      // A caption is drawn whole in its button.
      if (auto* b = qobject_cast<QPushButton*>(w)) {
        const int need = QFontMetrics(b->font()).horizontalAdvance(b->text().remove('&'));
        EXPECT_LE(need + 4, b->width()) << controls.back().name << " " << Text(controls.back().r);
      }
    }
    const ReadoutRects& r = log.readoutRects();
    std::vector<Place> texts = {
        {"status line", log.statusRect()},       {"map size caption", log.mapCaptionRect()},
        {"file name", r.fileName},               {"counter frame", r.frames[0]},
    };
    if (Config().gpsInput == 1) texts.push_back({"GPS frame", r.frames[1]});
    if (Sess().MapVisible) texts.push_back({"map title", log.mapTitleRect()});
    if (log.pauseButton()->isVisibleTo(&log)) texts.push_back({"pause prompt", log.layout().pausePrompt});
    for (const Place& p : controls) EXPECT_TRUE(Inside(p.r, window)) << p.name << " " << Text(p.r);
    for (const Place& t : texts) {
      if (Empty(t.r)) continue;
      EXPECT_TRUE(Inside(t.r, window)) << t.name << " " << Text(t.r);
      for (const Place& c : controls)
        EXPECT_FALSE(Overlap(t.r, c.r)) << t.name << " " << Text(t.r) << " and " << c.name << " " << Text(c.r);
    }
    for (size_t i = 0; i < controls.size(); ++i)
      for (size_t j = i + 1; j < controls.size(); ++j)
        EXPECT_FALSE(Overlap(controls[i].r, controls[j].r))
            << controls[i].name << " " << Text(controls[i].r) << " and " << controls[j].name << " "
            << Text(controls[j].r);
    for (size_t i = 0; i < texts.size(); ++i)
      for (size_t j = i + 1; j < texts.size(); ++j)
        if (!Empty(texts[i].r) && !Empty(texts[j].r))
          EXPECT_FALSE(Overlap(texts[i].r, texts[j].r))
              << texts[i].name << " " << Text(texts[i].r) << " and " << texts[j].name << " " << Text(texts[j].r);
  }

  test::DataRootFixture root_;
  ScopedScriptedPrompts prompts_;
};

TEST_F(ScreenFitTest, NothingLeavesTheWindowOrOverlapsAtCommonSizes) {
  const std::pair<int, int> screens[] = {{800, 600},   {1024, 768}, {1280, 800}, {1366, 768},
                                         {1920, 1080}, {600, 1024}, {800, 1280}};
  for (const auto& [sw, sh] : screens) {
    const WindowPlacement place = ComputeMainWindow(sw, sh);
    const std::string screen = std::to_string(sw) + "x" + std::to_string(sh);
    SetupWindow setup(QSize(place.width, place.height));
    setup.show();
    auto& log = *static_cast<LogWindow*>(setup.loggingScreen());
    Config().instrumentEnabled = 1;
    Config().gpsInput = 1;
    Sess().ActiveScreen = 1;
    for (bool map : {true, false}) {
      Sess().MapVisible = map;
      Sess().LoggingState = NoFile;
      log.PrepareForSession();
      log.EnterScreen();
      const std::string view = screen + (map ? " with the map" : " without the map");
      Check(log, view + ", set A");
      if (map) {
        Sess().ReviewMode = true;
        log.Relayout();
        Check(log, view + ", review");
        Sess().ReviewMode = false;
        log.Relayout();
      }
      log.ShowButtonSet(ButtonSet::Pause);
      Check(log, view + ", paused prompt");
      log.LeaveScreen();
    }
  }
}

}  // namespace
}  // namespace obrix
