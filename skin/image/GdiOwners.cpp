#include "skin/image/GdiOwners.h"

namespace gdi {

Dib32 CreateDib32(int width, int height) {
  Dib32 dib;
  if (width <= 0 || height <= 0) return dib;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down: row 0 first in memory
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  dib.bitmap = Bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!dib.bitmap) return Dib32{};
  dib.bits = static_cast<uint8_t*>(bits);
  dib.width = width;
  dib.height = height;
  return dib;
}

Bitmap CreateMonoBitmap(int width, int height) {
  if (width <= 0 || height <= 0) return Bitmap();
  return Bitmap(CreateBitmap(width, height, 1, 1, nullptr));
}

}  // namespace gdi
