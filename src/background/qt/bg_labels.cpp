#include "background/qt/bg_labels.h"

#include <string>

#include "background/bg_draw.h"
#include "platform/qt/canvas_text.h"

namespace obrix {

void InstallBgLabelFont(const QFont& font) {
  BgLabelHooks& hooks = BgLabels();
  hooks.measure = [font](std::string_view text) {
    const QSize size = TextExtent(font, QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
    return Point{size.width(), size.height()};
  };
  hooks.draw = [font](Canvas& dc, Point at, std::string_view text) {
    const QString label = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    const QSize size = TextExtent(font, label);
    // Drawn apart first: whatever the text inks becomes the one background colour.
    Canvas cell(size.width(), size.height(), kWhite);
    TextStyle style;
    style.colour = kBgColour;
    style.antialias = false;
    DrawText(cell, 0, 0, label, font, style);
    for (int y = 0; y < cell.height(); ++y)
      for (int x = 0; x < cell.width(); ++x)
        if (cell.GetPixel(x, y) != kWhite) dc.SetPixel(at.x + x, at.y + y, kBgColour);
  };
}

}  // namespace obrix
