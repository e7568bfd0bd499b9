#pragma once
// Text on a Canvas through QPainter, fonts, and showing a canvas in a widget.
#include <QFont>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <QWidget>
#include <memory>

#include "platform/canvas.h"

class QPainter;

namespace obrix {

// Maps "Microsoft Sans Serif" onto an installed font; called once at program start.
void InstallFontSubstitutes();

// "Microsoft Sans Serif" whose character cell (ascent + descent) is heightPx pixels, with a weight of 100..900.
QFont SystemFont(int heightPx, int weight, bool italic = false);

// A canvas rectangle (right and bottom exclusive) as a QRect.
inline QRect ToQRect(const Rect& r) { return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top); }

// The canvas pixels as a Format_RGB32 image sharing the buffer (no copy); valid while the canvas keeps its size.
// Null for an empty canvas.
QImage CanvasImage(Canvas& canvas);
QImage CanvasImage(const Canvas& canvas);  // read-only

enum class TextAlign { Left, Centre, Right };

struct TextStyle {
  Colour colour = kBlack;
  bool opaque = false;            // fill the text cell with `background` first
  Colour background = kWhite;
  TextAlign align = TextAlign::Left;  // x is the left edge, the centre or the right edge of the text
  bool antialias = true;
};

// Width and height of the text cell of one line.
QSize TextExtent(const QFont& font, const QString& text);
int TextWidth(const QFont& font, const QString& text);
int TextHeight(const QFont& font);

// Draws one line with the top of its cell at y. Returns the cell rectangle (clipped drawing, unclipped rectangle).
Rect DrawText(Canvas& canvas, int x, int y, const QString& text, const QFont& font, const TextStyle& style = {});
inline Rect DrawTextCentred(Canvas& canvas, int centreX, int y, const QString& text, const QFont& font,
                            TextStyle style = {}) {
  style.align = TextAlign::Centre;
  return DrawText(canvas, centreX, y, text, font, style);
}
inline Rect DrawTextRight(Canvas& canvas, int rightX, int y, const QString& text, const QFont& font,
                          TextStyle style = {}) {
  style.align = TextAlign::Right;
  return DrawText(canvas, rightX, y, text, font, style);
}

// While a batch lives, the texts drawn on its canvas on this thread share one painter, opened at the first of
// them and ended with the batch (the outermost one, when batches on a canvas nest); other drawing on the canvas
// may go between them. The canvas must outlive it.
class TextBatch {
 public:
  explicit TextBatch(Canvas& canvas);
  ~TextBatch();
  TextBatch(const TextBatch&) = delete;
  TextBatch& operator=(const TextBatch&) = delete;

  // The painter of the batch on `canvas`, opened now if need be, or nullptr when there is no batch on it.
  static QPainter* PainterFor(Canvas& canvas);

 private:
  Canvas& canvas_;
  TextBatch* outer_;
  QImage image_;
  std::unique_ptr<QPainter> painter_;
};

// Shows a canvas; paint events only copy the canvas to the screen and never draw content.
// By default the widget owns a canvas that follows its size (kept pixels, new area in the fill colour);
// SetCanvas points it at a canvas owned elsewhere, which it never resizes.
class CanvasWidget : public QWidget {
 public:
  explicit CanvasWidget(QWidget* parent = nullptr, Colour fill = kWhite);

  // The canvas shown; the owned one is brought to the widget size first (resize events of hidden widgets
  // arrive late).
  Canvas& canvas();
  void SetCanvas(Canvas* external);  // nullptr returns to the owned canvas

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  Canvas own_;
  Canvas* external_ = nullptr;
  Colour fill_;
};

}  // namespace obrix
