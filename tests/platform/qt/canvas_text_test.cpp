#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

#include "platform/canvas.h"
#include "platform/qt/canvas_text.h"

namespace obrix {
namespace {

constexpr Colour kRed = Rgb(255, 0, 0);

// Bounding box of the pixels that differ from `blank`; empty Rect when none do.
Rect ChangedBox(const Canvas& c, Colour blank) {
  Rect box{c.width(), c.height(), 0, 0};
  for (int y = 0; y < c.height(); ++y)
    for (int x = 0; x < c.width(); ++x)
      if (c.GetPixel(x, y) != blank) {
        box.left = std::min(box.left, x);
        box.top = std::min(box.top, y);
        box.right = std::max(box.right, x + 1);
        box.bottom = std::max(box.bottom, y + 1);
      }
  return box.left < box.right ? box : Rect{};
}

TEST(CanvasImage, WrapsTheBufferWithoutCopy) {
  Canvas canvas(20, 10);
  QImage image = CanvasImage(canvas);
  EXPECT_EQ(image.constBits(), reinterpret_cast<const uchar*>(canvas.bits()));
  EXPECT_EQ(image.format(), QImage::Format_RGB32);
  {
    QPainter p(&image);
    p.fillRect(2, 3, 1, 1, QColor(10, 20, 30));
  }
  EXPECT_EQ(canvas.GetPixel(2, 3), Rgb(10, 20, 30));
  EXPECT_EQ(image.constBits(), reinterpret_cast<const uchar*>(canvas.bits()));
  Canvas empty;
  EXPECT_TRUE(CanvasImage(empty).isNull());
}

TEST(CanvasText, LandsInsideItsCell) {
  const QFont font = SystemFont(16, 400);
  const QString text = "Waiting 123";
  struct Case {
    const char* name;
    TextAlign align;
    int x;
    int expectedLeft;  // of the cell, given the measured width w
  };
  const int w = TextWidth(font, text);
  ASSERT_GT(w, 20);
  EXPECT_EQ(TextHeight(font), TextExtent(font, text).height());
  const Case cases[] = {
      {"left", TextAlign::Left, 10, 10},
      {"centred", TextAlign::Centre, 100, 100 - w / 2},
      {"right", TextAlign::Right, 190, 190 - w},
  };
  for (const Case& c : cases) {
    for (bool opaque : {false, true}) {
      Canvas canvas(200, 40);
      TextStyle style;
      style.align = c.align;
      style.opaque = opaque;
      style.background = kRed;
      const Rect cell = DrawText(canvas, c.x, 8, text, font, style);
      EXPECT_EQ(cell.left, c.expectedLeft) << c.name;
      EXPECT_EQ(cell.right - cell.left, w) << c.name;
      EXPECT_EQ(cell.top, 8);
      const Rect changed = ChangedBox(canvas, kWhite);
      ASSERT_LT(changed.left, changed.right) << c.name << ": nothing drawn";
      // Glyphs may overhang their advance by a pixel or two; they never leave the cell's neighbourhood.
      EXPECT_GE(changed.left, cell.left - 2) << c.name;
      EXPECT_LE(changed.right, cell.right + 2) << c.name;
      EXPECT_GE(changed.top, cell.top) << c.name;
      EXPECT_LE(changed.bottom, cell.bottom) << c.name;
      if (opaque) {
        EXPECT_EQ(changed, cell) << c.name;
        for (int y = cell.top; y < cell.bottom; ++y)
          for (int x = cell.left; x < cell.right; ++x)
            ASSERT_NE(canvas.GetPixel(x, y), kWhite) << c.name << " opaque cell at " << x << "," << y;
      }
    }
  }
}

TEST(CanvasText, SystemFontHeightIsTheCellHeight) {
  InstallFontSubstitutes();
  EXPECT_EQ(QFontInfo(SystemFont(16, 400)).family(), "Liberation Sans");
  for (int h : {14, 16, 20, 28, 48}) {
    const int measured = TextHeight(SystemFont(h, 600));
    EXPECT_LE(measured, h);
    EXPECT_GE(measured, h - 2);
  }
  EXPECT_TRUE(SystemFont(18, 400, true).italic());
  EXPECT_EQ(SystemFont(14, 700).weight(), QFont::Bold);
}

TEST(CanvasText, KeptGlyphsDrawAndMeasureAsQtDoes) {
  InstallFontSubstitutes();
  // Readout texts (trailing spaces, degree sign, kerning pairs), an italic font whose glyphs overhang their
  // advance, and texts the single-line path leaves to Qt (tab, newline); each drawn twice, the second time from
  // the kept glyphs.
  const QString texts[] = {"Station:      ", "17.50", "W079\u00b036'38.5200\"", "AVAWTo fi", "  lead", "x",
                           "a\tb", "two\nlines"};
  const QFont fonts[] = {SystemFont(14, 400), SystemFont(14, 700), SystemFont(18, 400, true), SystemFont(28, 600)};
  for (const QFont& font : fonts) {
    for (const QString& text : texts) {
      for (bool antialias : {true, false}) {
        SCOPED_TRACE(text.toStdString() + " in " + font.toString().toStdString());
        const QFontMetrics fm(font);
        Canvas want(300, 40, Rgb(240, 240, 240));
        {
          QImage image = CanvasImage(want);
          QPainter p(&image);
          p.setRenderHint(QPainter::TextAntialiasing, antialias);
          p.setFont(font);
          p.setPen(QColor(0, 0, 128));
          p.drawText(QPointF(7, 5 + fm.ascent()), text);
        }
        for (int round = 0; round < 2; ++round) {
          EXPECT_EQ(TextWidth(font, text), fm.horizontalAdvance(text));
          Canvas got(300, 40, Rgb(240, 240, 240));
          TextStyle style{Rgb(0, 0, 128)};
          style.antialias = antialias;
          DrawText(got, 7, 5, text, font, style);
          ASSERT_TRUE(std::equal(got.bits(), got.bits() + 300 * 40, want.bits())) << "round " << round;
        }
      }
    }
  }
}

TEST(CanvasWidget, ShowsItsCanvas) {
  CanvasWidget widget;
  widget.resize(30, 20);
  ASSERT_EQ(widget.canvas().width(), 30);
  widget.canvas().FillRect({5, 5, 10, 10}, kRed);
  const QImage shot = widget.grab().toImage();
  EXPECT_EQ(shot.pixelColor(7, 7), QColor(255, 0, 0));
  EXPECT_EQ(shot.pixelColor(20, 15), QColor(255, 255, 255));
  widget.resize(40, 20);
  EXPECT_EQ(widget.canvas().GetPixel(7, 7), kRed);  // kept across a resize

  Canvas outside(10, 10, Rgb(0, 0, 255));
  widget.SetCanvas(&outside);
  EXPECT_EQ(&widget.canvas(), &outside);
  const QImage shot2 = widget.grab().toImage();
  EXPECT_EQ(shot2.pixelColor(3, 3), QColor(0, 0, 255));
  EXPECT_EQ(shot2.pixelColor(25, 15), QColor(255, 255, 255));
  EXPECT_EQ(outside.width(), 10);
}

}  // namespace
}  // namespace obrix
