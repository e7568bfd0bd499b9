// The logging screen shows a reading or a fix by repainting only the fields that changed, never the window.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QPaintEvent>
#include <QRegion>
#include <functional>

#include "map_screen_fixture.h"
#include "survey/screen_sink.h"

namespace obrix {
namespace {

// The union of the regions of the paint events a widget receives.
class PaintLog : public QObject {
 public:
  explicit PaintLog(QWidget* w) : widget_(w) { w->installEventFilter(this); }
  ~PaintLog() override { widget_->removeEventFilter(this); }
  QRegion painted;
  int events = 0;

 protected:
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) {
      painted += static_cast<QPaintEvent*>(e)->region();
      ++events;
    }
    return false;
  }

 private:
  QWidget* widget_;
};

QRect Q(const Rect& r) { return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top); }

// The field and the text cell below it (a cell may be a little taller than its field).
QRegion FieldArea(const Rect& r) { return QRegion(Q(r).adjusted(0, 0, 0, 24)); }

void Flush() {
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

class ReadoutRepaintTest : public test::MapScreenFixture {};

TEST_F(ReadoutRepaintTest, ReadingsFixesAndTheIndicatorRepaintOnlyTheirFields) {
  Flush();
  const ReadoutRects& f = log_->readoutRects();
  const Point p = f.indicator;
  const struct {
    const char* name;
    std::function<void()> show;
    QRegion allowed;
  } cases[] = {
      {"reading counters",
       [&] {
         ReadingReadouts r;
         r.station = ReadoutText("12.50");
         r.totalReadings = ReadoutText("42");
         r.recordedTime = ReadoutText("00:01:05");
         log_->ShowReadingReadouts(r);
       },
       FieldArea(f.station.value) + FieldArea(f.totalReadings.value) + FieldArea(f.totalTime.value) +
           FieldArea(f.writeWarning)},
      {"dilution", [&] { log_->ShowDopReadout(ReadoutText("1.4")); }, FieldArea(f.dop.value)},
      {"indicator", [&] { log_->DrawGpsIndicator('\\', true); }, QRegion(p.x - 2, p.y - 2, 30, 16)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PaintLog log(log_);
    c.show();
    Flush();
    EXPECT_GE(log.events, 1) << "the change is shown";
    EXPECT_LE(log.events, 1) << "once";
    EXPECT_TRUE(log.painted.subtracted(c.allowed).isEmpty())
        << "painted beyond the fields: " << log.painted.boundingRect().width() << "x"
        << log.painted.boundingRect().height();
  }
}

}  // namespace
}  // namespace obrix
