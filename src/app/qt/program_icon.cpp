#include "app/qt/program_icon.h"

#include <QImageReader>

// The resources live in a static library: registered before first use.
static void InitIconResources() { Q_INIT_RESOURCE(icons); }

namespace obrix {

QIcon ProgramIcon() {
  static const bool registered = (InitIconResources(), true);
  (void)registered;
  QIcon icon;
  if (QImageReader::supportedImageFormats().contains("svg")) icon.addFile(":/icons/obrix38.svg");
  for (int side : {32, 64, 256}) icon.addFile(QString(":/icons/obrix38-%1.png").arg(side), QSize(side, side));
  return icon;
}

}  // namespace obrix
