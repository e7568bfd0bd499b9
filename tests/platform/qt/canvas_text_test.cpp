#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include "platform/canvas.h"
#include "platform/font_set.h"
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

// Draws `text` with QPainter::drawText as the reference for DrawText.
Canvas DrawnByQt(const QFont& font, const QString& text, bool antialias, int width, int height) {
  Canvas want(width, height, Rgb(240, 240, 240));
  QImage image = CanvasImage(want);
  QPainter p(&image);
  p.setRenderHint(QPainter::TextAntialiasing, antialias);
  p.setFont(font);
  p.setPen(QColor(0, 0, 128));
  p.drawText(QPointF(3, 4 + QFontMetrics(font).ascent()), text);
  return want;
}

TEST(CanvasText, NewValueTextsDrawAndMeasureAsQtDoes) {
  InstallFontSubstitutes();
  // Every font of both screen sizes and the map's message font; texts as the readouts write them (new at every
  // reading), with kerning pairs, a ligature and characters of other fonts mixed in.
  std::vector<QFont> fonts;
  for (bool large : {false, true}) {
    const FontSet set = ComputeFonts(large);
    for (const FontSpec& f : {set.large, set.largeButton, set.portraitButton, set.title, set.label, set.smallBold,
                              set.value, set.button, set.smallSummary, set.italic})
      fonts.push_back(SystemFont(f.height, f.weight, f.italic));
  }
  fonts.push_back(SystemFont(28, 600));
  std::vector<QString> texts = {"0", " ", "-0.00", "12:05:59", "00:00:00", "1/10", "N/A", "RTK Float", "+17.5",
                                "E: 512345.67", "N: 4512345.678", "W079\u00b036'38.5200\"", "Z: 17T", "1.1 km/h",
                                "ffi fl", "AV 7.1 To", "Wa 1,234", "L.T. 11", "x\u00e9\u00df\u00e0", "\u00ad1.5",
                                "\u20ac 12", "\u0394 5", "a\u0301b", "ff", "1\u00a02", "Yo -", "P.", "T,"};
  for (int i = 0; i < 40; ++i) {
    const double v = (i - 20) * 37.713 + i * 0.0049;
    texts.push_back(QString::asprintf("%-11.2f", v));
    texts.push_back(QString::asprintf("%d", i * 997 - 3000));
    texts.push_back(QString::asprintf("%02d:%02d:%02d", i % 24, (i * 7) % 60, (i * 13) % 60));
    texts.push_back(QString::asprintf("%.6f %.4f", v / 3.0, -v));
  }
  for (const QFont& font : fonts) {
    const QFontMetrics fm(font);
    for (const QString& text : texts) {
      SCOPED_TRACE(text.toStdString() + " in " + font.toString().toStdString());
      ASSERT_EQ(TextWidth(font, text), fm.horizontalAdvance(text));
      for (bool antialias : {true, false}) {
        const Canvas want = DrawnByQt(font, text, antialias, 640, 64);
        Canvas got(640, 64, Rgb(240, 240, 240));
        TextStyle style{Rgb(0, 0, 128)};
        style.antialias = antialias;
        DrawText(got, 3, 4, text, font, style);
        ASSERT_TRUE(std::equal(got.bits(), got.bits() + 640 * 64, want.bits())) << "antialias " << antialias;
      }
    }
  }
}

TEST(CanvasText, BatchedTextsDrawAsSingleOnes) {
  InstallFontSubstitutes();
  const QFont fonts[] = {SystemFont(14, 700), SystemFont(18, 400, true)};
  // Texts, fills between them and a resize that gives the canvas a new buffer halfway.
  auto draw = [&](Canvas& canvas) {
    for (int i = 0; i < 6; ++i) {
      if (i == 3) canvas.ResizeKeep(260, 90, kRed);
      canvas.FillRect({0, i * 12, 80, i * 12 + 14}, Rgb(20 * i, 200, 40));
      TextStyle style{Rgb(0, 0, 128 + i)};
      style.antialias = i % 2 == 0;
      style.opaque = i == 4;
      DrawText(canvas, 5 + i, i * 12, QString::asprintf("%d.%02d", i * 7, i), fonts[i % 2], style);
    }
  };
  Canvas want(200, 80, Rgb(240, 240, 240));
  draw(want);
  Canvas got(200, 80, Rgb(240, 240, 240));
  Canvas other(50, 20);
  {
    TextBatch outer(got);
    TextBatch inner(other);  // a batch on another canvas leaves the outer one in use
    QPainter* shared = nullptr;
    {
      TextBatch nested(got);
      shared = TextBatch::PainterFor(got);
    }
    // Still open after the nested batch: the outer one owns it.
    EXPECT_EQ(TextBatch::PainterFor(got), shared);
    EXPECT_TRUE(shared->isActive());
    draw(got);
    DrawText(other, 1, 1, "7", fonts[0]);
  }
  EXPECT_EQ(TextBatch::PainterFor(got), nullptr);
  EXPECT_EQ(TextBatch::PainterFor(other), nullptr);
  ASSERT_EQ(got.width(), want.width());
  EXPECT_TRUE(std::equal(got.bits(), got.bits() + 260 * 90, want.bits()));
  EXPECT_NE(ChangedBox(other, kWhite), Rect{});
}

// Texts reach the canvas they are drawn on while canvases come and go, are resized and moved, alone and in
// batches: the painting images kept between texts never draw into an old buffer or a copy.
TEST(CanvasText, ReachTheirCanvasWhileBuffersComeAndGo) {
  const QFont font = SystemFont(16, 400);
  for (int i = 0; i < 24; ++i) {
    SCOPED_TRACE(i);
    auto canvas = std::make_unique<Canvas>(120, 30);
    if (i % 4 == 1) canvas->ResizeKeep(121, 30);
    if (i % 4 == 2) canvas->ShiftLeft(3);
    const QString text = QString::number(i * 37);
    std::optional<TextBatch> batch;
    if (i % 4 == 3) batch.emplace(*canvas);
    canvas->Clear(kWhite);
    const Rect cell = DrawText(*canvas, 10, 5, text, font, TextStyle{kRed});
    batch.reset();
    const Rect box = ChangedBox(*canvas, kWhite);
    ASSERT_NE(box, Rect{});
    EXPECT_GE(box.left, cell.left - 2);
    EXPECT_LE(box.right, cell.right + 2);
    const Canvas second = *canvas;  // a copy has a buffer of its own
    canvas.reset();
    Canvas fresh(120, 30);
    DrawText(fresh, 10, 5, text, font, TextStyle{kRed});
    EXPECT_TRUE(std::equal(fresh.bits(), fresh.bits() + 120 * 30, second.bits()) || i % 4 == 1);
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
