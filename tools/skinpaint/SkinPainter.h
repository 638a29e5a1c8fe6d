// Paints every picture of a skin from its style, reproducibly: the same style always
// gives the same bytes.
#pragma once

#include <string>
#include <vector>

#include "tools/skinpaint/Bitmap24.h"
#include "tools/skinpaint/SkinStyle.h"

struct SkinImage {
  std::string fileName;  // as the skin's INI names it: lower case, ".bmp"
  Bitmap24 bitmap;
};

std::vector<SkinImage> PaintSkinImages(const SkinStyle& style);
