#include "skin/data/SkinBitmaps.h"

#include <algorithm>
#include <exception>

#include "framework/Bitmap.h"
#include "framework/Streams.h"
#include "skin/data/SkinBitmapCheck.h"
#include "skin/image/GdiOwners.h"

namespace {

// `rect` cut to 0 .. width, 0 .. height.
RECT ClipTo(RECT rect, int width, int height) {
  rect.left = std::clamp<LONG>(rect.left, 0, width);
  rect.right = std::clamp<LONG>(rect.right, 0, width);
  rect.top = std::clamp<LONG>(rect.top, 0, height);
  rect.bottom = std::clamp<LONG>(rect.bottom, 0, height);
  return rect;
}

bool HasArea(const RECT& r) { return r.right > r.left && r.bottom > r.top; }

// The file form of a packed DIB (a BITMAP resource): the 14-byte file header in front.
std::vector<uint8_t> FileOfPackedDib(const uint8_t* dib, size_t size) {
  std::vector<uint8_t> file(14, 0);
  auto u32 = [&](size_t at) {
    return at + 4 <= size ? static_cast<uint32_t>(dib[at] | dib[at + 1] << 8 | dib[at + 2] << 16 |
                                                   static_cast<uint32_t>(dib[at + 3]) << 24)
                          : 0u;
  };
  auto u16 = [&](size_t at) { return at + 2 <= size ? static_cast<uint32_t>(dib[at] | dib[at + 1] << 8) : 0u; };
  const uint32_t headerSize = u32(0);
  const bool core = headerSize == 12;
  const uint32_t bits = core ? u16(10) : u16(14);
  const uint32_t compression = core ? 0 : u32(16);
  const uint32_t used = core ? 0 : u32(32);
  uint64_t table = bits <= 8 ? (used != 0 ? used : uint64_t{1} << bits) * (core ? 3 : 4) : uint64_t{used} * 4;
  if (compression == BI_BITFIELDS && headerSize == 40) table += 12;
  const uint64_t offset = std::min<uint64_t>(14 + uint64_t{headerSize} + table, 0xFFFFFFFFu);
  const uint64_t total = std::min<uint64_t>(14 + uint64_t{size}, 0xFFFFFFFFu);
  file[0] = 'B';
  file[1] = 'M';
  for (int i = 0; i < 4; ++i) {
    file[2 + static_cast<size_t>(i)] = static_cast<uint8_t>(total >> (8 * i));
    file[10 + static_cast<size_t>(i)] = static_cast<uint8_t>(offset >> (8 * i));
  }
  file.insert(file.end(), dib, dib + size);
  return file;
}

}  // namespace

SkinImage ImageOf(TBitmap& bitmap) {
  if (BitmapIsEmpty(bitmap)) return {};
  return {bitmap.Canvas()->Handle(), bitmap.Width(), bitmap.Height()};
}

bool BitmapIsEmpty(const TBitmap& bitmap) { return bitmap.Empty() || bitmap.Handle() == nullptr; }

void ClearBitmap(TBitmap& bitmap) { bitmap.FreeImage(); }

bool LoadBitmapFromBytes(TBitmap& bitmap, std::span<const uint8_t> bytes, std::string* reason) {
  std::string why;
  if (CheckSkinBitmapFile(bytes, nullptr, &why)) {
    try {
      TMemoryStream stream(std::vector<uint8_t>(bytes.begin(), bytes.end()));
      bitmap.LoadFromStream(stream);
      return true;
    } catch (const std::exception& e) {
      why = e.what();
    }
  }
  ClearBitmap(bitmap);
  if (reason != nullptr) *reason = why;
  return false;
}

bool LoadBitmapResource(TBitmap& bitmap, HINSTANCE module, const char* name, std::string* reason) {
  HRSRC found = FindResourceA(module, name, MAKEINTRESOURCEA(2));  // RT_BITMAP
  HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
  const auto* dib = loaded != nullptr ? static_cast<const uint8_t*>(LockResource(loaded)) : nullptr;
  if (dib == nullptr) {
    ClearBitmap(bitmap);
    if (reason != nullptr) *reason = "the program has no such bitmap resource";
    return false;
  }
  return LoadBitmapFromBytes(bitmap, FileOfPackedDib(dib, SizeofResource(module, found)), reason);
}

void MakeFilledBitmap(TBitmap& bitmap, int width, int height, int32_t colour) {
  bitmap.FreeImage();
  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetSize(std::max(width, 0), std::max(height, 0));
  if (BitmapIsEmpty(bitmap)) return;
  FillBitmapRect(bitmap, RECT{0, 0, width, height}, colour);
}

void CopyBitmap24(TBitmap& dest, const TBitmap& source) {
  if (&dest == &source) {
    dest.SetPixelFormat(pf24bit);
    return;
  }
  if (BitmapIsEmpty(source)) {
    dest.FreeImage();
    dest.SetPixelFormat(pf24bit);
    return;
  }
  MakeFilledBitmap(dest, source.Width(), source.Height(), 0);
  CopyBitmapRect(dest, 0, 0, source, RECT{0, 0, source.Width(), source.Height()});
}

void CopyBitmapRect(TBitmap& dest, int x, int y, const TBitmap& source, const RECT& from) {
  if (BitmapIsEmpty(dest) || BitmapIsEmpty(source)) return;
  // Cut the source rectangle to the source, then the placed result to the destination.
  RECT src = ClipTo(from, source.Width(), source.Height());
  x += src.left - from.left;
  y += src.top - from.top;
  RECT dst{x, y, x + (src.right - src.left), y + (src.bottom - src.top)};
  const RECT cut = ClipTo(dst, dest.Width(), dest.Height());
  src.left += cut.left - dst.left;
  src.top += cut.top - dst.top;
  if (!HasArea(cut)) return;
  // Each bitmap is read and written through its own canvas, the one DC it may be
  // selected into.
  HDC to = dest.Canvas()->Handle();
  HDC fromDc = const_cast<TBitmap&>(source).Canvas()->Handle();
  BitBlt(to, cut.left, cut.top, cut.right - cut.left, cut.bottom - cut.top, fromDc, src.left, src.top, SRCCOPY);
  GdiFlush();
}

void FillBitmapRect(TBitmap& bitmap, const RECT& rect, int32_t colour) {
  if (BitmapIsEmpty(bitmap)) return;
  const RECT cut = ClipTo(rect, bitmap.Width(), bitmap.Height());
  if (!HasArea(cut)) return;
  const gdi::Brush brush(CreateSolidBrush(ColorToRGB(colour)));
  if (!brush) return;
  FillRect(bitmap.Canvas()->Handle(), &cut, brush.Get());
  GdiFlush();
}

int32_t BitmapPixel(const TBitmap& bitmap, int x, int y, int32_t fallback) {
  if (BitmapIsEmpty(bitmap) || x < 0 || y < 0 || x >= bitmap.Width() || y >= bitmap.Height())
    return fallback;
  const COLORREF colour = GetPixel(const_cast<TBitmap&>(bitmap).Canvas()->Handle(), x, y);
  return colour == CLR_INVALID ? fallback : static_cast<int32_t>(colour);
}
