#pragma once
// A minimal PNG writer for RGB canvases (stored deflate blocks, no compression library).
#include <string>

#include "platform/canvas.h"

bool WritePng(const obrix::Canvas& canvas, const std::string& path);
