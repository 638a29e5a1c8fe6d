// The bitmap transforms of ImgUtil: pixel format and size on the TBitmap side, the pixel
// loops in PixelOps.
#include <vector>

#include "framework/Bitmap.h"
#include "skin/image/GdiOwners.h"
#include "skin/image/ImgUtil.h"
#include "skin/image/PixelOps.h"

namespace {

bool HasPixels(const TBitmap& bitmap) { return bitmap.Width() > 0 && bitmap.Height() > 0; }

void Ensure24Bits(TBitmap& bitmap) {
  if (bitmap.PixelFormat() != pf24bit) bitmap.SetPixelFormat(pf24bit);
}

// The rows of a 24-bit bitmap, top row first, whatever order the DIB keeps them in.
Bgr24View RowsOf(TBitmap& bitmap) {
  Bgr24View view;
  if (!HasPixels(bitmap)) return view;
  view.width = bitmap.Width();
  view.height = bitmap.Height();
  view.row0 = bitmap.ScanLine(0);
  view.stride = view.height > 1 ? bitmap.ScanLine(1) - view.row0 : bitmap.Stride();
  return view;
}

template <class Loop>
void Transform24(TBitmap* bitmap, Loop loop) {
  if (!bitmap) return;
  Ensure24Bits(*bitmap);
  if (HasPixels(*bitmap)) loop(RowsOf(*bitmap));
}

void Rotate(TBitmap* bitmap, bool left) {
  if (!bitmap) return;
  const int w = bitmap->Width();
  const int h = bitmap->Height();
  std::vector<uint8_t> buffer;
  if (w > 0 && h > 0) {
    // The whole picture as 32-bit rows, bottom-up (positive height): buffer row 0 is the
    // picture's bottom row.
    buffer.resize(4 * static_cast<size_t>(w) * h);
    BITMAPINFO info{};
    info.bmiHeader.biSize = 40;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = static_cast<DWORD>(buffer.size());
    info.bmiHeader.biXPelsPerMeter = 1;
    info.bmiHeader.biYPelsPerMeter = 1;
    WindowDC screen(nullptr);
    if (GetDIBits(screen.Get(), bitmap->Handle(), 0, static_cast<UINT>(h), buffer.data(), &info,
                  DIB_RGB_COLORS) != h)
      return;
  }
  bitmap->SetSize(h, w);
  Ensure24Bits(*bitmap);
  if (buffer.empty()) return;
  const ptrdiff_t rowBytes = 4 * static_cast<ptrdiff_t>(w);
  const ConstBgra32View source{buffer.data() + rowBytes * (h - 1), -rowBytes, w, h};
  if (left) {
    RotateLeftPixels(source, RowsOf(*bitmap));
  } else {
    RotateRightPixels(source, RowsOf(*bitmap));
  }
}

}  // namespace

void MakeGray(TBitmap* bitmap) { Transform24(bitmap, MakeGrayPixels); }

void ReplaceKeyColor(TBitmap* bitmap, int32_t colour) {
  Transform24(bitmap, [colour](const Bgr24View& rows) { ReplaceKeyColorPixels(rows, colour); });
}

void MirrorBitmap(TBitmap* bitmap) { Transform24(bitmap, MirrorPixels); }

void FlipBitmap(TBitmap* bitmap) { Transform24(bitmap, FlipPixels); }

void RotateLeft(TBitmap* bitmap) { Rotate(bitmap, true); }

void RotateRight(TBitmap* bitmap) { Rotate(bitmap, false); }
