#pragma once
// The illustration of the Geometry Setup dialog: the EM38 seen from above, the GPS antenna and its two offsets.
#include <QWidget>

namespace obrix {

class GeometryPicture : public QWidget {
 public:
  explicit GeometryPicture(QWidget* parent = nullptr);
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace obrix
