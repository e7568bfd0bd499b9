// The program's icon: its drawing and renderings are in the resources and give pictures at the usual sizes.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QXmlStreamReader>

#include "app/qt/program_icon.h"

namespace obrix {
namespace {

// Share of the picture's pixels that are not transparent.
double Covered(const QImage& image) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) n += qAlpha(image.pixel(x, y)) > 0;
  return static_cast<double>(n) / (image.width() * image.height());
}

TEST(ProgramIcon, DrawingAndRenderingsAreThere) {
  const QIcon icon = ProgramIcon();
  ASSERT_FALSE(icon.isNull());
  for (int side : {16, 32, 48, 256}) {
    const QImage image = icon.pixmap(side, side).toImage();
    EXPECT_EQ(image.size(), QSize(side, side)) << side;
    EXPECT_GT(Covered(image), 0.8) << side;
  }
  QFile svg(":/icons/obrix38.svg");
  ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
  QXmlStreamReader xml(&svg);
  while (!xml.atEnd()) xml.readNext();
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
}

}  // namespace
}  // namespace obrix
