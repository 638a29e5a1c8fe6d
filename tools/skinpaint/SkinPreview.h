// A mock-up of a skinned window, composed from a skin's INI text and pictures the way
// the engine places and slices them, for a person to look at: the frame around a
// 667 x 446 client area with caption buttons, a menu bar, push buttons, marks, scroll
// bars, a status bar and the other controls, then the same window inactive. Text is
// shown as plain bars.
#pragma once

#include <string_view>
#include <vector>

#include "tools/skinpaint/Bitmap24.h"
#include "tools/skinpaint/SkinPainter.h"

Bitmap24 ComposePreview(std::string_view iniText, const std::vector<SkinImage>& images);
