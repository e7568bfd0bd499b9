// The map pane of the logging screen: fixes drawn on the pane, and the map commands on a screen without
// devices (fixes are handed to the screen directly).
#include <QCoreApplication>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPushButton>
#include <QWindow>
#include <gtest/gtest.h>

#include <memory>

#include "app/qt/setup_window.h"
#include "datafile/data_file.h"
#include "datafile/writers.h"
#include "gps/fix_state.h"
#include "logscreen/logging_input.h"
#include "logscreen/qt/log_window.h"
#include "logscreen/qt/map_screen_fixture.h"
#include "map/map_frame.h"
#include "map/map_navigation.h"
#include "map/map_view_state.h"
#include "platform/control_ids.h"
#include "platform/key_input.h"
#include "platform/message_box.h"
#include "platform/qt/canvas_text.h"
#include "platform/qt/scripted_prompts.h"
#include "platform/ticks.h"
#include "settings/settings.h"
#include "settings/settings_file.h"
#include "state/palette.h"
#include "state/session.h"
#include "test_support.h"

namespace obrix {
namespace {

class LogMapTest : public test::MapScreenFixture {
 protected:
  // A new data file with the proposed name: StandBy.
  void OpenFile() {
    Config().dataFolder = root_.dir().path();
    prompts_ << PromptAnswer::AcceptSuggested();
    Key('F');
    ASSERT_EQ(Sess().LoggingState.load(), StandBy);
    ASSERT_TRUE(DataFileIsOpen());
  }
  // Paints the whole pane one colour, so a redraw shows.
  void Smear() { log_->mapCanvas().Clear(Rgb(255, 0, 0)); }
  bool Smeared() { return log_->mapCanvas().GetPixel(PageWidth() / 2, PageHeight() / 2) == Rgb(255, 0, 0); }
  // True when the cursor cross is drawn around pane pixel p.
  bool CursorAt(Point p) {
    const Canvas& pane = log_->mapCanvas();
    const int s = Drv().CursorHalfSize;
    const Colour c = Config().cursorColour;
    return pane.GetPixel(p.x - s, p.y) == c && pane.GetPixel(p.x + s, p.y) == c && pane.GetPixel(p.x, p.y - s) == c &&
           pane.GetPixel(p.x, p.y + s) == c;
  }
};

TEST_F(LogMapTest, FixesMoveTheCursorOnThePane) {
  ASSERT_GT(PageWidth(), 100);
  FixAt(0, 0);
  const Point first = Frame().CursorPos;
  EXPECT_TRUE(CursorAt(first));
  // 40 pixels east and 30 north of the first fix.
  const double unitsPerPx = 1.0 / MapState().PixelsPerUnit;
  FixAt(40 * unitsPerPx, 30 * unitsPerPx);
  const Point second = Frame().CursorPos;
  EXPECT_NEAR(second.x - first.x, 40, 1);
  EXPECT_NEAR(first.y - second.y, 30, 1);
  EXPECT_TRUE(CursorAt(second));
  EXPECT_FALSE(CursorAt(first)) << "the pane was not composed again";
}

TEST_F(LogMapTest, ZoomKeysInReviewRescaleAndRedrawThePane) {
  FixAt(0, 0);
  OpenFile();
  Key('I');
  ASSERT_TRUE(Sess().ReviewMode);
  struct Case {
    int code, before, after;
  } cases[] = {
      {'+', 200, 190},  // trunc(0.95 * 200 + 0.5)
      {'=', 10, 9},     // rounds back to 10: one less
      {'-', 200, 210},
      {'_', 1, 2},      // rounds back to 1: one more
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    Config().mapSize = c.before;
    UpdatePixelsPerUnit();
    Smear();
    Key(c.code, KeyInput::Char);
    EXPECT_EQ(Config().mapSize, c.after);
    EXPECT_DOUBLE_EQ(MapState().PixelsPerUnit, double(PageWidth()) / c.after);
    EXPECT_FALSE(Smeared()) << "the pane was not drawn again";
  }
}

TEST_F(LogMapTest, ReviewEnterAndExitSwitchViews) {
  FixAt(0, 0);
  FixAt(5, 5);
  const Point cursor = Frame().CursorPos;
  const MapView live = Frame().LiveView;
  const int liveSize = Config().mapSize;
  OpenFile();
  Smear();
  Key('I');
  ASSERT_TRUE(Sess().ReviewMode);
  EXPECT_FALSE(Smeared());
  EXPECT_FALSE(CursorAt(cursor)) << "the review view shows no cursor";
  EXPECT_TRUE(log_->navButton(4)->isVisibleTo(log_));  // "Zm&+"
  EXPECT_FALSE(log_->navButton(7)->isVisibleTo(log_));  // "Enter Rev&iew"
  Key('+', KeyInput::Char);
  ASSERT_NE(Config().mapSize, liveSize);
  EXPECT_EQ(Frame().LiveView, live) << "review moves only its own view";

  Key('E');
  EXPECT_FALSE(Sess().ReviewMode);
  EXPECT_EQ(Config().mapSize, liveSize);
  EXPECT_DOUBLE_EQ(MapState().PixelsPerUnit, double(PageWidth()) / liveSize);
  EXPECT_EQ(Frame().RecentreAtNextFix, 1);
  EXPECT_TRUE(CursorAt(cursor)) << "the live view is shown again";
  EXPECT_FALSE(log_->navButton(4)->isVisibleTo(log_));
  EXPECT_TRUE(log_->navButton(7)->isVisibleTo(log_));
}

TEST_F(LogMapTest, GoInReviewLeavesReviewFirst) {
  FixAt(0, 0);
  const int liveSize = Config().mapSize;
  const double livePixels = MapState().PixelsPerUnit;
  Config().mapColourView = 1;
  OpenFile();
  Key('I');
  ASSERT_TRUE(Sess().ReviewMode);
  for (int slot = 0; slot < 4; ++slot) ASSERT_FALSE(log_->mainButton(2, slot)->isEnabled()) << slot;
  Key('+', KeyInput::Char);
  Config().mapColourView = 0;
  ASSERT_NE(Config().mapSize, liveSize);

  Key('G');
  ASSERT_EQ(Sess().LoggingState.load(), Logging);
  EXPECT_FALSE(Sess().ReviewMode);
  EXPECT_EQ(Config().mapSize, liveSize);
  EXPECT_DOUBLE_EQ(MapState().PixelsPerUnit, livePixels);
  EXPECT_EQ(Config().mapColourView, 1);
  EXPECT_TRUE(log_->pauseButton()->isVisibleTo(log_));
  for (int i = 0; i < kNavButtonCount; ++i) EXPECT_FALSE(log_->navButton(i)->isEnabled()) << i;

  // After Pause set B works again, and the settings file keeps the live map size.
  Key('P');
  ASSERT_EQ(Sess().LoggingState.load(), StandBy);
  for (int slot = 0; slot < 4; ++slot) {
    EXPECT_TRUE(log_->mainButton(2, slot)->isVisibleTo(log_)) << slot;
    EXPECT_TRUE(log_->mainButton(2, slot)->isEnabled()) << slot;
  }
  EXPECT_TRUE(log_->navButton(7)->isVisibleTo(log_));  // "Enter Rev&iew"
  Config().mapSize = 0;
  SaveLoadSettings(Load);
  EXPECT_EQ(Config().mapSize, liveSize);
}

TEST_F(LogMapTest, ExitInReviewLeavesSetBWorkingForTheNextVisit) {
  FixAt(0, 0);
  const int liveSize = Config().mapSize;
  OpenFile();
  Key('I');
  Key('+', KeyInput::Char);
  prompts_ << PromptAnswer::Press(IDOK, kMessageYesNo);
  Key('X');
  ASSERT_EQ(Sess().LoggingState.load(), Closed);
  EXPECT_FALSE(Sess().ReviewMode);
  EXPECT_EQ(Config().mapSize, liveSize);
  for (int slot = 0; slot < 4; ++slot) EXPECT_TRUE(log_->mainButton(2, slot)->isEnabled()) << slot;
}

TEST_F(LogMapTest, PanKeysMoveTheLiveViewByThePanStep) {
  FixAt(0, 0);
  OpenFile();
  const int step = PanStep(Drv().CursorBandPx);
  ASSERT_GT(step, 0) << "no edge band for the map side";
  Frame().UsedPages = {990, 1010, 990, 1010};  // room to pan
  const MapView before = Frame().LiveView;
  const ViewRect bounds = Frame().ViewBounds;
  Smear();
  Key(VK_LEFT);
  const MapView after = Frame().LiveView;
  EXPECT_EQ((after.pageCol - before.pageCol) * PageWidth() + after.offsetX - before.offsetX, -step);
  EXPECT_EQ(Frame().ViewBounds.minX, bounds.minX - step);
  EXPECT_FALSE(Smeared());
}

// Records paint events of the map pane and the screen while a command runs, and any key that reaches the screen.
class PaintWatch : public QObject {
 public:
  PaintWatch(LogWindow* log) : log_(log) {
    log->installEventFilter(this);
    log->mapPane()->installEventFilter(this);
  }
  ~PaintWatch() override {
    log_->removeEventFilter(this);
    log_->mapPane()->removeEventFilter(this);
  }
  int pleaseWaitPaints = 0, busyPaints = 0, keys = 0;

 protected:
  bool eventFilter(QObject* target, QEvent* event) override {
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) ++keys;
    if (event->type() != QEvent::Paint) return false;
    if (target == log_->mapPane() && HasGrey(log_->mapCanvas(), {0, 0, PageWidth(), PageHeight()}))
      ++pleaseWaitPaints;
    const Rect busy = log_->BusyIndicatorRect();
    const QRect area(busy.left, busy.top, busy.right - busy.left, busy.bottom - busy.top);
    if (target == log_ && static_cast<QPaintEvent*>(event)->rect().intersects(area) &&
        HasGrey(log_->canvas(), busy))
      ++busyPaints;
    return false;
  }

 private:
  static bool HasGrey(const Canvas& c, const Rect& r) {
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        if (c.GetPixel(x, y) == kTextGrey) return true;
    return false;
  }
  LogWindow* log_;
};

TEST_F(LogMapTest, PleaseWaitAndTheBusyIndicatorArePaintedDuringTheRedraw) {
  FixAt(0, 0);
  OpenFile();
  for (int i = 0; i < 1000; ++i) WriteEventRecord("note", 'C');
  Key('I');
  ASSERT_TRUE(Sess().ReviewMode);
  // The screen is on show (painting at once needs an exposed window).
  for (int i = 0; i < 200 && !(window_->windowHandle() && window_->windowHandle()->isExposed()); ++i) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  ASSERT_TRUE(window_->windowHandle() && window_->windowHandle()->isExposed());
  // Every reading of the clock is a second later: the redraw is long.
  uint32_t now = 0;
  SetTickSource([&now] { return now += 1000; });
  // A key pressed meanwhile waits for the redraw to end.
  QCoreApplication::postEvent(log_, new QKeyEvent(QEvent::KeyPress, Qt::Key_E, Qt::NoModifier, "E"));
  {
    PaintWatch watch(log_);
    Key('+', KeyInput::Char);
    EXPECT_GE(watch.pleaseWaitPaints, 1) << "\"Please Wait\" was not painted";
    EXPECT_GE(watch.busyPaints, 5) << "the busy indicator was not painted at each step";
    EXPECT_EQ(watch.keys, 0) << "input was taken during the redraw";
  }
  SetTickSource(nullptr);
  QCoreApplication::removePostedEvents(log_, QEvent::KeyPress);
  EXPECT_TRUE(Sess().ReviewMode);
}

// Hiding the map keeps its side, so the pages drawn meanwhile survive and the band stays.
TEST_F(LogMapTest, ToggleViewKeepsTheMapSide) {
  FixAt(0, 0);
  const int side = Drv().MapPaneWidth;
  prompts_.ClearCalls();
  log_->HandleInput({KeyInput::Command, kMenuToggleView});
  ASSERT_FALSE(Sess().MapVisible);
  EXPECT_EQ(Drv().MapPaneWidth, side);
  FixAt(40 / MapState().PixelsPerUnit, 0);
  log_->HandleInput({KeyInput::Command, kMenuToggleView});
  ASSERT_TRUE(Sess().MapVisible);
  EXPECT_TRUE(CursorAt(Frame().CursorPos)) << "the live view is not shown again";
  EXPECT_EQ(Frame().MapInitialised, 1);
}

// Re-opening a data file of this program: its stored track must fit the map before anything is appended.
TEST_F(LogMapTest, AppendingChecksTheStoredTrackAgainstTheMap) {
  struct Case {
    const char* name;
    double reach;  // map units of the stored corner set from the origin
    int state;
    const char* title;
  } cases[] = {
      {"fits", 3.0, StandBy, "INFORMATION"},
      {"beyond the pages", 1.0e7, NoFile, "WARNING"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResetFix();
    ResetMapViewState();
    log_->ResetMapForSession();
    log_->ResetMapView();
    Config().mapColourView = 0;
    Sess().LoggingState = NoFile;
    FixAt(0, 0);
    OpenFile();
    const std::string path = DataFile().DataFilePath;
    WriteSwathRecord('{', 0, 0, 0, 0, 0);
    WriteSwathRecord('{', 1, kE0 - c.reach, kN0, kE0 - c.reach, kN0 + 1);
    WriteSwathRecord('{', 2, kE0 + c.reach, kN0, kE0 + c.reach, kN0 + 1);
    CloseDataFile();
    Sess().LoggingState = NoFile;
    log_->ShowButtonSet(ButtonSet::A);
    Smear();
    prompts_.ClearCalls();
    prompts_ << PromptAnswer::ChooseFile(path) << PromptAnswer::Press(IDOK, "MESSAGEOK");
    Key('F');
    ASSERT_EQ(prompts_.PendingAnswers(), 0u);
    EXPECT_EQ(prompts_.Calls().back().title, c.title) << prompts_.Calls().back().text;
    EXPECT_EQ(Sess().LoggingState.load(), c.state);
    EXPECT_EQ(DataFileIsOpen(), c.state == StandBy);
    if (c.state == StandBy) {
      EXPECT_EQ(Fix().GpsPositionCount, 2);  // the two corner sets
      EXPECT_FALSE(Smeared()) << "the map is not shown again";
    }
    CloseDataFile();
  }
}

TEST_F(LogMapTest, AStoredFileAtThePositionLimitEndsTheProgramWithTheFileSaved) {
  FixAt(0, 0);
  OpenFile();
  const std::string path = DataFile().DataFilePath;
  WriteSwathRecord('{', 0, 0, 0, 0, 0);
  WriteSwathRecord('{', 1, kE0 - 1, kN0, kE0 - 1, kN0 + 1);
  WriteSwathRecord('{', 2, kE0 + 1, kN0, kE0 + 1, kN0 + 1);
  CloseDataFile();
  const std::string before = test::ReadFile(path);
  Sess().LoggingState = NoFile;
  log_->ShowButtonSet(ButtonSet::A);
  Fix().GpsPositionLimit = 2;  // the two corner sets already reach it
  prompts_.ClearCalls();
  prompts_ << PromptAnswer::ChooseFile(path) << PromptAnswer::Press(IDOK, "MESSAGEOK");
  Key('F');
  ASSERT_EQ(prompts_.PendingAnswers(), 0u);
  EXPECT_EQ(prompts_.Calls().back().title, "INFORMATION");
  EXPECT_EQ(prompts_.Calls().back().text, "Number of GPS Positions in the file has reached its maximum");
  QCoreApplication::processEvents();
  EXPECT_FALSE(window_->isVisible()) << "the program ends";
  EXPECT_FALSE(DataFileIsOpen());
  EXPECT_EQ(Sess().LoggingState.load(), Closed);
  // What was stored stays; the appended header block follows it.
  const std::string after = test::ReadFile(path);
  ASSERT_GT(after.size(), before.size());
  EXPECT_EQ(after.compare(0, before.size(), before), 0);
  EXPECT_EQ(after[before.size()], 'o') << "a header written on append starts in lower case";
}

TEST_F(LogMapTest, MapSizeTooSmallForTheTrackIsRefused) {
  FixAt(0, 0);
  const int before = Config().mapSize;
  // A track 20 km across cannot fit 2000 pages at one unit per page side.
  Fix().TrackExtent = {kE0 - 10000, kE0 + 10000, kN0 - 10000, kN0 + 10000};
  prompts_ << PromptAnswer::RunDialog({ControlValue::Text(1204, "1")}, DialogEnd::ClickOk(), "MAPSCALE")
           << PromptAnswer::Press(IDOK, "MESSAGEOK");
  prompts_.ClearCalls();
  Key('S');
  ASSERT_EQ(prompts_.PendingAnswers(), 0u);
  const PromptCall& message = prompts_.Calls().back();
  EXPECT_EQ(message.title, "WARNING");
  EXPECT_EQ(message.text, "Map Size too small\r\nPlease select Map Size option\r\nand increase the map size");
  EXPECT_EQ(Config().mapSize, before);
  EXPECT_DOUBLE_EQ(MapState().PixelsPerUnit, double(PageWidth()) / before);
}

}  // namespace
}  // namespace obrix
