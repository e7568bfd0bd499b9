#pragma once
// A minimal PNG writer for RGB canvases (stored deflate blocks, no compression library).
#include <string>

#include "platform/canvas.h"

namespace obrix {

bool WritePng(const Canvas& canvas, const std::string& path);

}  // namespace obrix
