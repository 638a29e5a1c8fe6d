// Row-addressed views of pixel memory owned by someone else (a DIB section's scan lines,
// a buffer filled by GetDIBits, a test's vector). Row 0 is the top row; `stride` is the
// byte distance from one row to the next and is negative for bottom-up storage. A view
// promises `width` pixels on each of `height` rows; routines never step outside that.
// Portable: no Windows header.
#pragma once

#include <cstddef>
#include <cstdint>

// 3 bytes per pixel: blue, green, red.
struct Bgr24View {
  uint8_t* row0 = nullptr;
  ptrdiff_t stride = 0;
  int width = 0;
  int height = 0;

  bool Empty() const { return row0 == nullptr || width <= 0 || height <= 0; }
  uint8_t* Row(int y) const { return row0 + stride * y; }
  uint8_t* Pixel(int x, int y) const { return Row(y) + 3 * static_cast<ptrdiff_t>(x); }
};

// 4 bytes per pixel: blue, green, red and an unused byte. Read only.
struct ConstBgra32View {
  const uint8_t* row0 = nullptr;
  ptrdiff_t stride = 0;
  int width = 0;
  int height = 0;

  bool Empty() const { return row0 == nullptr || width <= 0 || height <= 0; }
  const uint8_t* Row(int y) const { return row0 + stride * y; }
  const uint8_t* Pixel(int x, int y) const {
    return Row(y) + 4 * static_cast<ptrdiff_t>(x);
  }
};
