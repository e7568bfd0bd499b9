#include "platform/qt/dialog_units.h"

#include <QFontMetrics>
#include <algorithm>
#include <cmath>

namespace obrix {

int PointsToPixels(double points) { return static_cast<int>(std::lround(points * 96.0 / 72.0)); }

QFont DialogFont(const char* family, double points) {
  QFont font(QString::fromLatin1(family));
  font.setPixelSize(PointsToPixels(points));
  return font;
}

DialogUnits UnitsOf(const QFont& font) {
  const QFontMetrics fm(font);
  const int letters = fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  DialogUnits u;
  u.charWidth = std::max(1, (letters / 26 + 1) / 2);
  u.charHeight = std::max(1, fm.height());
  return u;
}

}  // namespace obrix
