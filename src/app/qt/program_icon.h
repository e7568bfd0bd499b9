#pragma once
// The program's icon: a conductivity meter over a coloured swath (src/resources/icons/).
#include <QIcon>

namespace obrix {

// The drawing itself where the toolkit reads SVG (the qt6-svg plugin), and its PNG renderings at 32, 64 and
// 256 pixels in any case.
QIcon ProgramIcon();

}  // namespace obrix
