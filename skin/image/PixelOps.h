// The pixel loops of the bitmap transforms (unit ImgUtil), on row views so that they run
// and are tested without Windows. The bitmap side (pixel format, temporary bitmaps,
// GetDIBits) is in ImgUtil.
// Portable: no Windows header.
#pragma once

#include <cstdint>

#include "skin/image/PixelView.h"

// Every pixel becomes grey (r + g + b) div 3: the plain mean, not a luminance weighting.
void MakeGrayPixels(const Bgr24View& image);

// Every magenta pixel (red 255, green 0, blue 255) takes the colour made of bytes 0, 1
// and 2 (red, green, blue) of `colour`; a system colour is not resolved here.
void ReplaceKeyColorPixels(const Bgr24View& image, int32_t colour);

// Left-to-right mirror: pixel (x, y) takes the old pixel (width - 1 - x, y).
void MirrorPixels(const Bgr24View& image);

// Top-to-bottom flip: row y takes the old row height - 1 - y.
void FlipPixels(const Bgr24View& image);

// Quarter turns from a 32-bit source of W x H into a 24-bit destination of H x W (the
// destination must be that size, else nothing is written and false is returned).
// Left (counter-clockwise): new pixel (X, Y) = old pixel (W - 1 - Y, X).
// Right (clockwise):        new pixel (X, Y) = old pixel (Y, H - 1 - X).
bool RotateLeftPixels(const ConstBgra32View& source, const Bgr24View& target);
bool RotateRightPixels(const ConstBgra32View& source, const Bgr24View& target);
