#pragma once
// Background point labels drawn with a screen font.
#include <QFont>

namespace obrix {

// Installs the label hooks of the background drawing: texts (Latin-1 bytes) measured and drawn in `font`, in the
// background colour, transparent and without smoothing (the map layers keep a few palette colours).
void InstallBgLabelFont(const QFont& font);

}  // namespace obrix
