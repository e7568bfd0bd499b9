#include "dialogs/qt/geometry_picture.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cmath>

namespace obrix {
namespace {

const QColor kBody(255, 200, 60);
const QColor kAntenna(220, 0, 0);
const QColor kDimension(0, 0, 255);
const QColor kGuide(80, 80, 80);

// A line with an arrow head at `to`.
void Arrow(QPainter& p, QPointF from, QPointF to, double head) {
  p.drawLine(from, to);
  const double a = std::atan2(to.y() - from.y(), to.x() - from.x());
  QPolygonF tip;
  tip << to << to - QPointF(head * std::cos(a - 0.45), head * std::sin(a - 0.45))
      << to - QPointF(head * std::cos(a + 0.45), head * std::sin(a + 0.45));
  p.save();
  p.setBrush(p.pen().color());
  p.drawPolygon(tip);
  p.restore();
}

// A dimension line with arrows at both ends.
void Dimension(QPainter& p, QPointF a, QPointF b, double head) {
  const QPointF mid = (a + b) / 2;
  Arrow(p, mid, a, head);
  Arrow(p, mid, b, head);
}

}  // namespace

GeometryPicture::GeometryPicture(QWidget* parent) : QWidget(parent) {
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  setAccessibleName("EM38 and GPS antenna offsets");
}

QSize GeometryPicture::sizeHint() const {
  const int h = fontMetrics().height();
  return {h * 11, h * 11};
}

void GeometryPicture::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.fillRect(rect(), Qt::white);

  QFont small = font();
  small.setPixelSize(std::max(9, font().pixelSize() - 2));
  p.setFont(small);
  const QFontMetricsF fm(small);
  const double w = width(), h = height();
  const double head = std::max(5.0, fm.height() / 3);

  // Sensor body along the direction of travel (up), its centre the reference point.
  const double bodyW = std::max(12.0, w * 0.06), bodyH = h * 0.72;
  const QPointF centre(w * 0.42, h * 0.56);
  const QRectF body(centre.x() - bodyW / 2, centre.y() - bodyH / 2, bodyW, bodyH);
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(kBody);
  p.drawRoundedRect(body, 3, 3);
  p.setPen(Qt::black);
  p.drawText(QRectF(body.left() - fm.height() * 4 - 4, body.top(), fm.height() * 4, fm.height()),
             Qt::AlignRight | Qt::AlignVCenter, "EM38");

  // Direction of travel.
  p.setPen(QPen(kGuide, 1.5));
  const double ax = w * 0.12;
  Arrow(p, QPointF(ax, h * 0.8), QPointF(ax, h * 0.45), head);
  p.save();
  p.translate(ax - fm.height() * 0.35, h * 0.8);
  p.rotate(-90);
  p.drawText(QPointF(0, 0), "Travel");
  p.restore();

  // The antenna, ahead of the sensor and to its right.
  const QPointF gps(w * 0.78, h * 0.26);
  const double r = std::max(6.0, w * 0.045);

  // Guides from the reference point, then the two offsets.
  p.setPen(QPen(kGuide, 1, Qt::DashLine));
  p.drawLine(centre, QPointF(gps.x(), centre.y()));
  p.drawLine(QPointF(centre.x(), gps.y()), QPointF(gps.x() - r, gps.y()));
  p.drawLine(QPointF(gps.x(), gps.y() + r), QPointF(gps.x(), centre.y()));
  p.setBrush(Qt::black);
  p.setPen(Qt::NoPen);
  p.drawEllipse(centre, 2.5, 2.5);

  p.setPen(QPen(kDimension, 1.3));
  const double xLine = centre.y() + fm.height() * 1.2;
  Dimension(p, QPointF(centre.x(), xLine), QPointF(gps.x(), xLine), head);
  p.setPen(kDimension);
  p.drawText(QRectF(centre.x(), xLine + 2, gps.x() - centre.x(), fm.height()), Qt::AlignHCenter | Qt::AlignTop,
             "GPS X Offset");
  p.setPen(QPen(kDimension, 1.3));
  const double yLine = gps.x() + r + fm.height() * 0.6;
  Dimension(p, QPointF(yLine, gps.y()), QPointF(yLine, centre.y()), head);
  p.save();
  p.translate(yLine + fm.height() * 0.3, (gps.y() + centre.y()) / 2);
  p.rotate(90);
  p.setPen(kDimension);
  p.drawText(QRectF(-h, -fm.height(), 2 * h, fm.height()), Qt::AlignHCenter | Qt::AlignBottom, "GPS Y Offset");
  p.restore();

  p.setPen(QPen(Qt::black, 1));
  p.setBrush(kAntenna);
  p.drawEllipse(gps, r, r);
  p.setPen(Qt::black);
  p.drawText(QRectF(gps.x() - 3 * r, gps.y() - r - fm.height() - 2, 6 * r, fm.height()),
             Qt::AlignHCenter | Qt::AlignBottom, "GPS");

  p.setPen(QPen(kGuide, 1));
  p.setBrush(Qt::NoBrush);
  p.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace obrix
