#pragma once
// One-line texts laid out once per font and kept, for measuring and drawing without shaping them again.
#include <QFont>
#include <QGlyphRun>
#include <QList>
#include <QString>

namespace obrix {

// One line laid out: its advance (as QFontMetrics::horizontalAdvance gives it) and its glyphs, drawn with the
// baseline at `ascent` below the top of the layout.
struct ShapedLine {
  int width = 0;
  qreal ascent = 0;
  QList<QGlyphRun> runs;
};

// The kept line of `text` in `font` on this thread, or nullptr for a text that QPainter::drawText and
// QFontMetrics treat otherwise than a single laid-out line (control characters, line and paragraph breaks).
// Valid until the next call.
const ShapedLine* ShapedText(const QFont& font, const QString& text);

}  // namespace obrix
