// Unit ImgUtil: the pixel and colour routines of the skinning engine on Windows bitmaps
// and device contexts. The arithmetic itself lives in the portable files included here
// (PixelOps, ColourMath, Gradient); this unit adds system colours, bitmaps and GDI.
// Main thread only.
#pragma once

#include <windows.h>

#include <cstdint>

#include "skin/image/ColourMath.h"
#include "skin/image/Gradient.h"

class TBitmap;

// In-place transforms of a bitmap (nothing for a null one). The pixel loops work on 24
// bits per pixel: MakeGray and ReplaceKeyColor set that format as their first step, and
// the others do the same when handed another format, so no row is ever read or written
// past its end. A bitmap without rows or columns keeps its pixels; the rotations then
// only exchange width and height.
//
// Every pixel grey: (red + green + blue) div 3.
void MakeGray(TBitmap* bitmap);
// Magenta pixels (255, 0, 255) take bytes 0, 1, 2 of `colour` (not resolved).
void ReplaceKeyColor(TBitmap* bitmap, int32_t colour);
// Left to right: pixel (x, y) takes (width - 1 - x, y).
void MirrorBitmap(TBitmap* bitmap);
// Top to bottom: row y takes row height - 1 - y.
void FlipBitmap(TBitmap* bitmap);
// Quarter turns, width and height exchanged. Left (counter-clockwise): the old top-right
// corner becomes the top-left; right (clockwise): the old bottom-left does. The picture
// is read once through GetDIBits as 32-bit rows; if that fails the bitmap is unchanged.
void RotateLeft(TBitmap* bitmap);
void RotateRight(TBitmap* bitmap);

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
