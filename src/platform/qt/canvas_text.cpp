#include "platform/qt/canvas_text.h"

#include "platform/qt/shaped_text.h"

#include <QColor>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QPointF>
#include <QResizeEvent>
#include <QStringList>
#include <QThread>
#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

namespace obrix {
namespace {

QColor ToQColor(Colour c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

// The metrics of the last few fonts used on this thread, with the cell height and ascent (each asks the font
// cache again): readouts draw in two or three fonts all the time.
struct FontMeasures {
  QFontMetrics metrics{QFont()};
  int height = 0;
  int ascent = 0;
};

const FontMeasures& Measures(const QFont& font) {
  struct Entry {
    QFont font;
    FontMeasures measures;
    bool used = false;
  };
  constexpr int kEntries = 6;
  thread_local Entry cache[kEntries];
  thread_local int next = 0;
  for (Entry& e : cache)
    if (e.used && e.font == font && e.font.resolveMask() == font.resolveMask()) return e.measures;
  Entry& e = cache[next];
  next = (next + 1) % kEntries;
  e.font = font;
  e.measures.metrics = QFontMetrics(font);
  e.measures.height = e.measures.metrics.height();
  e.measures.ascent = e.measures.metrics.ascent();
  e.used = true;
  return e.measures;
}

// Images taller than this are drawn in bands: Qt spreads a blend over its thread pool from about 96 lines on,
// which wakes its threads for every repaint.
constexpr int kBandLines = 64;

void DrawImageInBands(QPainter& painter, const QImage& image, const QRect& area) {
  for (int top = area.top(); top <= area.bottom(); top += kBandLines) {
    const QRect band(area.left(), top, area.width(), std::min(kBandLines, area.bottom() + 1 - top));
    painter.drawImage(band.topLeft(), image, band);
  }
}

// Images wrapping canvas buffers, kept with their paint engines for the window thread: a new QImage builds a
// raster engine for its first painter, which costs more than the few texts of an event. An image has one owner
// at a time (the pool or the painter's user), so painting never detaches it from the canvas. An image kept for a
// buffer since freed is only used again for a buffer at the same place with the same size.
class ImagePool {
 public:
  static QImage Take(Canvas& canvas) {
    if (!OnWindowThread()) return CanvasImage(canvas);
    const auto* bits = reinterpret_cast<const uchar*>(canvas.bits());
    for (auto it = kept_.begin(); it != kept_.end(); ++it) {
      if (it->constBits() == bits && it->width() == canvas.width() && it->height() == canvas.height() &&
          it->bytesPerLine() == canvas.bytesPerLine()) {
        QImage image = std::move(*it);
        kept_.erase(it);
        return image;
      }
    }
    return CanvasImage(canvas);
  }
  static void Give(QImage&& image) {
    if (image.isNull() || !OnWindowThread()) return;
    if (!cleanupAdded_) {
      qAddPostRoutine([] {
        kept_.clear();
        cleanupAdded_ = false;
      });
      cleanupAdded_ = true;
    }
    kept_.insert(kept_.begin(), std::move(image));
    if (kept_.size() > kKept) kept_.pop_back();
  }

 private:
  static bool OnWindowThread() {
    const QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
  }
  static constexpr std::size_t kKept = 8;
  static inline std::vector<QImage> kept_;
  static inline bool cleanupAdded_ = false;
};

}  // namespace

void InstallFontSubstitutes() {
  QFont::insertSubstitutions("Microsoft Sans Serif", QStringList{"Liberation Sans", "DejaVu Sans"});
}

QFont SystemFont(int heightPx, int weight, bool italic) {
  QFont font("Microsoft Sans Serif");
  font.setStyleHint(QFont::SansSerif);
  font.setWeight(QFont::Weight(std::clamp(weight, 100, 900)));
  font.setItalic(italic);
  if (heightPx <= 0) {
    // A height of 0 or less gives the em size directly.
    font.setPixelSize(std::max(1, heightPx == 0 ? 16 : -heightPx));
    return font;
  }
  // The cell height (ascent + descent) is what a positive height asks for; the em size is a little smaller.
  int px = heightPx;
  font.setPixelSize(px);
  while (px > 1 && QFontMetrics(font).height() > heightPx) {
    font.setPixelSize(--px);
  }
  return font;
}

QImage CanvasImage(Canvas& canvas) {
  if (canvas.empty()) return QImage();
  return QImage(reinterpret_cast<uchar*>(canvas.bits()), canvas.width(), canvas.height(), canvas.bytesPerLine(),
                QImage::Format_RGB32);
}

QImage CanvasImage(const Canvas& canvas) {
  if (canvas.empty()) return QImage();
  return QImage(reinterpret_cast<const uchar*>(canvas.bits()), canvas.width(), canvas.height(),
                canvas.bytesPerLine(), QImage::Format_RGB32);
}

int TextWidth(const QFont& font, const QString& text) {
  if (text.isEmpty()) return 0;
  if (const ShapedLine* shaped = ShapedText(font, text)) return shaped->width;
  return Measures(font).metrics.horizontalAdvance(text);
}

QSize TextExtent(const QFont& font, const QString& text) { return QSize(TextWidth(font, text), TextHeight(font)); }

int TextHeight(const QFont& font) { return Measures(font).height; }

Rect DrawText(Canvas& canvas, int x, int y, const QString& text, const QFont& font, const TextStyle& style) {
  const FontMeasures& fm = Measures(font);
  const ShapedLine* shaped = text.isEmpty() ? nullptr : ShapedText(font, text);
  const int w = shaped ? shaped->width : fm.metrics.horizontalAdvance(text);
  const int h = fm.height;
  int left = x;
  if (style.align == TextAlign::Centre) left = x - w / 2;
  else if (style.align == TextAlign::Right) left = x - w;
  const Rect cell{left, y, left + w, y + h};
  if (canvas.empty() || text.isEmpty()) return cell;
  if (style.opaque) canvas.FillRect(cell, style.background);

  QPainter* batch = TextBatch::PainterFor(canvas);
  QImage image;
  std::optional<QPainter> own;  // ends before the image goes back
  if (!batch) {
    image = ImagePool::Take(canvas);
    own.emplace(&image);
  }
  QPainter& painter = batch ? *batch : *own;
  painter.setRenderHint(QPainter::TextAntialiasing, style.antialias);
  // A new pen costs an allocation; the texts of a batch mostly share one colour.
  const QColor colour = ToQColor(style.colour);
  if (painter.pen().style() != Qt::SolidLine || painter.pen().color() != colour) painter.setPen(colour);
  if (shaped) {
    const QPointF origin(left, y + fm.ascent - shaped->ascent);
    for (const QGlyphRun& run : shaped->runs) painter.drawGlyphRun(origin, run);
  } else {
    painter.setFont(font);
    painter.drawText(QPointF(left, y + fm.ascent), text);
  }
  if (own) {
    own.reset();
    ImagePool::Give(std::move(image));
  }
  return cell;
}

namespace {
thread_local TextBatch* innermostBatch = nullptr;
}  // namespace

TextBatch::TextBatch(Canvas& canvas) : canvas_(canvas), outer_(innermostBatch) { innermostBatch = this; }

TextBatch::~TextBatch() {
  innermostBatch = outer_;
  if (painter_) {
    painter_.reset();
    ImagePool::Give(std::move(image_));
  }
}

QPainter* TextBatch::PainterFor(Canvas& canvas) {
  // Batches nested on one canvas share the outermost one's painter.
  TextBatch* batch = nullptr;
  for (TextBatch* b = innermostBatch; b; b = b->outer_)
    if (&b->canvas_ == &canvas) batch = b;
  if (!batch || canvas.empty()) return nullptr;
  // A canvas resized since the painter opened has a new buffer.
  QImage& image = batch->image_;
  if (batch->painter_ && (image.constBits() != reinterpret_cast<const uchar*>(canvas.bits()) ||
                          image.width() != canvas.width() || image.height() != canvas.height())) {
    batch->painter_.reset();
    ImagePool::Give(std::move(image));
  }
  if (!batch->painter_) {
    image = ImagePool::Take(canvas);  // the only reference, so the painter draws into the canvas, not a copy
    batch->painter_ = std::make_unique<QPainter>(&image);
  }
  return batch->painter_.get();
}

CanvasWidget::CanvasWidget(QWidget* parent, Colour fill) : QWidget(parent), fill_(fill) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  own_.Resize(width(), height(), fill_);
}

Canvas& CanvasWidget::canvas() {
  if (external_) return *external_;
  if (own_.width() != width() || own_.height() != height()) own_.ResizeKeep(width(), height(), fill_);
  return own_;
}

void CanvasWidget::SetCanvas(Canvas* external) {
  external_ = external;
  if (!external_) own_.ResizeKeep(width(), height(), fill_);
  update();
}

void CanvasWidget::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const Canvas& c = canvas();
  const QImage image = CanvasImage(c);
  const QRect shown(0, 0, c.width(), c.height());
  for (const QRect& r : event->region()) {
    const QRect inside = r.intersected(shown);
    if (!inside.isEmpty()) DrawImageInBands(painter, image, inside);
  }
  // Any part of the widget the canvas does not cover shows the fill colour.
  const QRegion outside = event->region().subtracted(QRegion(shown));
  for (const QRect& r : outside) painter.fillRect(r, ToQColor(fill_));
}

void CanvasWidget::resizeEvent(QResizeEvent* event) {
  if (!external_) own_.ResizeKeep(event->size().width(), event->size().height(), fill_);
  QWidget::resizeEvent(event);
}

}  // namespace obrix
