#include "platform/qt/shaped_text.h"

#include <QHash>
#include <QPointF>
#include <QRawFont>
#include <QTextLayout>
#include <QTextOption>
#include <array>
#include <bitset>
#include <cstdint>
#include <memory>

namespace obrix {
namespace {

// Characters that QPainter::drawText and QFontMetrics treat otherwise than a single laid-out line does.
bool NeedsPlainPath(const QString& text) {
  for (const QChar c : text) {
    const char16_t u = c.unicode();
    if (u < 0x20 || u == 0x9C || u == 0x2028 || u == 0x2029) return true;
  }
  return false;
}

struct Layout {
  qreal advance = 0;
  qreal ascent = 0;
  QList<QGlyphRun> runs;
};

Layout LayOut(const QFont& font, const QString& text) {
  QTextLayout layout(text, font);
  QTextOption option;
  option.setWrapMode(QTextOption::NoWrap);
  option.setFlags(QTextOption::IncludeTrailingSpaces);
  layout.setTextOption(option);
  layout.beginLayout();
  QTextLine line = layout.createLine();
  line.setNumColumns(int(text.size()));
  layout.endLayout();
  return Layout{line.horizontalAdvance(), line.ascent(), line.glyphRuns()};
}

// Value texts change at every reading (stations, counts, times), so most of them are new. Where a font lays out
// the characters of a text one after another with nothing between them (no kerning, no ligatures among them),
// the text's glyphs are those of its characters and each glyph sits at the sum of the advances before it.
// Layout advances are whole 1/64 pixels, so summing them as qreal gives exactly the positions the layout gives.
// A character is used this way only after laying it out alone, and each pair of characters only after laying
// the pair out and finding it the same as its two characters side by side.
class Concatenation {
 public:
  // The line of `text` built from its characters, or false when some character or pair does not qualify.
  bool Build(const QFont& font, const QString& text, ShapedLine& out) {
    const qsizetype n = text.size();
    glyphs_.resize(n);
    positions_.resize(n);
    qreal x = 0;
    for (qsizetype i = 0; i < n; ++i) {
      const char16_t c = text[i].unicode();
      if (c >= kChars || !CharUsable(font, c)) return false;
      if (i > 0 && !PairUsable(font, text[i - 1].unicode(), c)) return false;
      glyphs_[i] = chars_[c].glyph;
      positions_[i] = QPointF(x, baseline_);
      x += chars_[c].advance;
    }
    QGlyphRun run;
    run.setRawFont(raw_);
    run.setGlyphIndexes(glyphs_);
    run.setPositions(positions_);
    out.width = qRound(x);
    out.ascent = ascent_;
    out.runs = {run};
    return true;
  }

 private:
  static constexpr char16_t kChars = 0x100;
  enum : uint8_t { kUnknown, kUsable, kExcluded };
  struct Char {
    uint8_t state = kUnknown;
    quint32 glyph = 0;
    qreal advance = 0;
  };

  bool CharUsable(const QFont& font, char16_t c) {
    Char& ch = chars_[c];
    if (ch.state == kUnknown) {
      ch.state = kExcluded;
      // Soft hyphen and the C1 controls lay out otherwise within a text than alone.
      if (c < 0x20 || (c >= 0x7F && c < 0xA0) || c == 0xAD) return false;
      const Layout l = LayOut(font, QString(QChar(c)));
      if (l.runs.size() != 1) return false;
      const QGlyphRun& run = l.runs.front();
      if (run.glyphIndexes().size() != 1 || run.positions().size() != 1 || run.flags() != QGlyphRun::GlyphRunFlags())
        return false;
      const QPointF at = run.positions().front();
      if (at.x() != 0) return false;
      if (!raw_.isValid()) {
        raw_ = run.rawFont();
        baseline_ = at.y();
        ascent_ = l.ascent;
      }
      if (run.rawFont() != raw_ || at.y() != baseline_ || l.ascent != ascent_) return false;
      ch = Char{kUsable, run.glyphIndexes().front(), l.advance};
    }
    return ch.state == kUsable;
  }

  bool PairUsable(const QFont& font, char16_t a, char16_t b) {
    const size_t pair = size_t(a) * kChars + b;
    if (!pairKnown_.test(pair)) {
      pairKnown_.set(pair);
      const Layout l = LayOut(font, QString(QChar(a)) + QChar(b));
      if (l.runs.size() != 1 || l.advance != chars_[a].advance + chars_[b].advance || l.ascent != ascent_)
        return false;
      const QGlyphRun& run = l.runs.front();
      const QList<quint32> glyphs = run.glyphIndexes();
      const QList<QPointF> at = run.positions();
      if (run.rawFont() != raw_ || run.flags() != QGlyphRun::GlyphRunFlags() || glyphs.size() != 2 || at.size() != 2)
        return false;
      if (glyphs[0] != chars_[a].glyph || glyphs[1] != chars_[b].glyph) return false;
      if (at[0] != QPointF(0, baseline_) || at[1] != QPointF(chars_[a].advance, baseline_)) return false;
      pairUsable_.set(pair);
    }
    return pairUsable_.test(pair);
  }

  std::array<Char, kChars> chars_{};
  std::bitset<kChars * kChars> pairKnown_;
  std::bitset<kChars * kChars> pairUsable_;
  QRawFont raw_;
  qreal baseline_ = 0;
  qreal ascent_ = 0;
  QList<quint32> glyphs_;
  QList<QPointF> positions_;
};

}  // namespace

// The lines of the last few fonts used on this thread. Readouts repeat their texts (labels at every repaint,
// values that stay the same), so most draws find their glyphs here instead of shaping the text again.
const ShapedLine* ShapedText(const QFont& font, const QString& text) {
  if (NeedsPlainPath(text)) return nullptr;
  struct Entry {
    QFont font;
    QHash<QString, ShapedLine> lines;
    std::unique_ptr<Concatenation> concatenation;
    bool used = false;
  };
  constexpr int kEntries = 6;
  constexpr qsizetype kLinesPerFont = 256;
  thread_local Entry cache[kEntries];
  thread_local int next = 0;
  Entry* entry = nullptr;
  for (Entry& e : cache)
    if (e.used && e.font == font && e.font.resolveMask() == font.resolveMask()) entry = &e;
  if (entry == nullptr) {
    entry = &cache[next];
    next = (next + 1) % kEntries;
    entry->font = font;
    entry->lines.clear();
    entry->concatenation = std::make_unique<Concatenation>();
    entry->used = true;
  }
  auto it = entry->lines.constFind(text);
  if (it != entry->lines.constEnd()) return &it.value();
  if (entry->lines.size() >= kLinesPerFont) entry->lines.clear();
  ShapedLine shaped;
  if (!entry->concatenation->Build(font, text, shaped)) {
    Layout l = LayOut(font, text);
    shaped.width = qRound(l.advance);
    shaped.ascent = l.ascent;
    shaped.runs = std::move(l.runs);
  }
  return &entry->lines.insert(text, std::move(shaped)).value();
}

}  // namespace obrix
