// The GDI owners the image routines and drawing primitives use: the framework's counted
// owners (GdiHandles.h) plus a selection that reports failure and 32-bit and 1-bit
// bitmaps made for a moment. Windows only.
#pragma once

#include <windows.h>

#include <cstdint>

#include "framework/GdiHandles.h"

namespace gdi {

// The framework's owners under the names the engine uses.
using Bitmap = UniqueGdi<HBITMAP>;
using Brush = UniqueGdi<HBRUSH>;
using Region = UniqueGdi<HRGN>;
using MemoryDC = ::MemoryDC;
using SavedState = ::SavedDCState;

// An object selected into a DC until the end of the scope, which can tell whether the
// selection worked (a bitmap already selected into another DC cannot be selected). Declare
// it after the owner of the object, so that the object is deselected before it is freed.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object)
      : dc_(dc), previous_(dc && object ? SelectObject(dc, object) : nullptr) {}
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;
  ~Selection() {
    if (Ok()) SelectObject(dc_, previous_);
  }
  bool Ok() const { return previous_ != nullptr && previous_ != HGDI_ERROR; }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// A top-down 32-bit DIB section (blue, green, red, unused per pixel) and its bits.
struct Dib32 {
  Bitmap bitmap;
  uint8_t* bits = nullptr;
  int width = 0;
  int height = 0;
  explicit operator bool() const { return static_cast<bool>(bitmap); }
};
// Null bitmap for a size with no pixels or when the system refuses it.
Dib32 CreateDib32(int width, int height);

// A 1-bit bitmap: 0 black, 1 white.
Bitmap CreateMonoBitmap(int width, int height);

}  // namespace gdi
