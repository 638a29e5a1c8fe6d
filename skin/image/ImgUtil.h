// Unit ImgUtil: the pixel and colour routines of the skinning engine on Windows bitmaps
// and device contexts. The arithmetic itself lives in the portable files included here
// (PixelOps, ColourMath, Gradient); this unit adds system colours, bitmaps and GDI.
// Main thread only.
#pragma once

#include <windows.h>

#include <cstdint>

#include "skin/image/ColourMath.h"
#include "skin/image/Gradient.h"

// A colour value with the top bit set names a system colour by its low byte
// (0x8000000F: button face); anything else is returned as it is.
int32_t ResolveColour(int32_t colour);

// The weighted mix of two colours (system colours resolved first); see MixPlainColors.
int32_t MixColors(int32_t colour1, int32_t colour2, int32_t weight);

// Paints `rect` with a gradient from `start` to `end` (system colours resolved), in
// one-pixel bands: direction 0 runs left to right, 1 top to bottom (other values, and an
// inverted rectangle, paint nothing). The gradient always spans the whole rectangle; only
// the bands inside the DC's clip box are painted, each in its colour in the whole gradient.
void FillGradient(HDC dc, const RECT& rect, int32_t start, int32_t end, int direction);
