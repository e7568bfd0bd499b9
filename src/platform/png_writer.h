#pragma once
// Writes an RGB canvas as a PNG file (libpng).
#include <string>

#include "platform/canvas.h"

namespace obrix {

// False when the canvas is empty or the file cannot be written.
bool WritePng(const Canvas& canvas, const std::string& path);

}  // namespace obrix
