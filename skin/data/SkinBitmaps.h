// The bitmap chores of the skin model over the framework's TBitmap: loading checked
// bitmap files and resources, blank and converted copies, clipped rectangle copies and
// single pixels. Every copy is clipped to both bitmaps, so no rectangle a skin implies can
// reach outside one.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>
#include <string>

#include "framework/Bitmap.h"
#include "skin/data/SkinDraw.h"

bool BitmapIsEmpty(const TBitmap& bitmap);
// The bitmap as the drawing primitives take it: its canvas DC (the one DC a bitmap can be
// selected into) and its size; an empty image for an empty bitmap.
SkinImage ImageOf(TBitmap& bitmap);
// Frees the image: width and height 0.
void ClearBitmap(TBitmap& bitmap);

// Loads a Windows bitmap file after CheckSkinBitmapFile accepted it. On refusal or any
// error of the graphics layer the bitmap is emptied, false is returned and *reason says
// why.
bool LoadBitmapFromBytes(TBitmap& bitmap, std::span<const uint8_t> bytes, std::string* reason);
// Loads the bitmap resource `name` of `module` the same way.
bool LoadBitmapResource(TBitmap& bitmap, HINSTANCE module, const char* name, std::string* reason);

// A 24-bit bitmap of width x height filled with `colour` (0x00BBGGRR).
void MakeFilledBitmap(TBitmap& bitmap, int width, int height, int32_t colour);
// `dest` becomes a 24-bit copy of `source` (empty for an empty source).
void CopyBitmap24(TBitmap& dest, const TBitmap& source);
// Copies the rectangle `from` of `source` to (x, y) of `dest`, unscaled; the parts of it
// outside either bitmap are left out.
void CopyBitmapRect(TBitmap& dest, int x, int y, const TBitmap& source, const RECT& from);
// Fills `rect` of `bitmap` (clipped to it) with `colour`.
void FillBitmapRect(TBitmap& bitmap, const RECT& rect, int32_t colour);
// The colour of pixel (x, y), or `fallback` outside the bitmap.
int32_t BitmapPixel(const TBitmap& bitmap, int x, int y, int32_t fallback);
