// A 32-bit DIB section selected into a memory DC, with pixel access, for the tests that
// draw with GDI and read back what landed where. Windows only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>

#include "skin/image/GdiOwners.h"

class GdiSurface {
 public:
  GdiSurface(int width, int height)
      : dib_(gdi::CreateDib32(width, height)), selection_(dc_.Get(), dib_.bitmap.Get()) {}

  HDC Dc() const { return dc_.Get(); }
  HBITMAP Bitmap() const { return dib_.bitmap.Get(); }
  int Width() const { return dib_.width; }
  int Height() const { return dib_.height; }
  bool Ok() const { return dib_ && selection_.Ok(); }

  // Colours as COLORREF (0x00BBGGRR).
  COLORREF Get(int x, int y) const {
    GdiFlush();
    const uint8_t* p = dib_.bits + 4 * (static_cast<size_t>(y) * dib_.width + x);
    return RGB(p[2], p[1], p[0]);
  }
  void Set(int x, int y, COLORREF c) {
    GdiFlush();
    uint8_t* p = dib_.bits + 4 * (static_cast<size_t>(y) * dib_.width + x);
    p[0] = GetBValue(c);
    p[1] = GetGValue(c);
    p[2] = GetRValue(c);
    p[3] = 0;
  }
  void Fill(COLORREF c) {
    for (int y = 0; y < Height(); ++y)
      for (int x = 0; x < Width(); ++x) Set(x, y, c);
  }
  void Paint(const std::function<COLORREF(int x, int y)>& colour) {
    for (int y = 0; y < Height(); ++y)
      for (int x = 0; x < Width(); ++x) Set(x, y, colour(x, y));
  }
  const uint8_t* Bits() const {
    GdiFlush();
    return dib_.bits;
  }

 private:
  gdi::Dib32 dib_;
  gdi::MemoryDC dc_;
  gdi::Selection selection_;
};
