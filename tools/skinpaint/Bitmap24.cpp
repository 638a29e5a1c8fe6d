#include "tools/skinpaint/Bitmap24.h"

#include <algorithm>
#include <limits>

namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr int32_t kPixelsPerMetre96Dpi = 3780;

void PutU16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
  PutU16(out, v & 0xFFFF);
  PutU16(out, v >> 16);
}

uint32_t GetU16(std::span<const uint8_t> b, size_t at) {
  return static_cast<uint32_t>(b[at]) | static_cast<uint32_t>(b[at + 1]) << 8;
}

uint32_t GetU32(std::span<const uint8_t> b, size_t at) {
  return GetU16(b, at) | GetU16(b, at + 2) << 16;
}

size_t RowBytes(int width) { return (static_cast<size_t>(width) * 3 + 3) / 4 * 4; }

bool Fail(std::string* error, const char* why) {
  if (error != nullptr) *error = why;
  return false;
}

}  // namespace

Bitmap24::Bitmap24(int w, int h, uint32_t fill)
    : width(w), height(h), pixels(static_cast<size_t>(w) * h, fill) {}

Bitmap24 Bitmap24::Crop(int x, int y, int w, int h) const {
  Bitmap24 out(w, h);
  for (int row = 0; row < h; ++row)
    for (int col = 0; col < w; ++col) out.At(col, row) = At(x + col, y + row);
  return out;
}

void Bitmap24::Put(const Bitmap24& src, int x, int y, bool keyed) {
  for (int row = 0; row < src.height; ++row) {
    for (int col = 0; col < src.width; ++col) {
      if (!Contains(x + col, y + row)) continue;
      const uint32_t p = src.At(col, row);
      if (keyed && p == kMagenta) continue;
      At(x + col, y + row) = p;
    }
  }
}

Bitmap24 JoinHorizontally(std::span<const Bitmap24> parts) {
  int w = 0, h = 0;
  for (const Bitmap24& p : parts) {
    w += p.width;
    h = std::max(h, p.height);
  }
  Bitmap24 out(w, h);
  int x = 0;
  for (const Bitmap24& p : parts) {
    out.Put(p, x, 0, false);
    x += p.width;
  }
  return out;
}

Bitmap24 JoinVertically(std::span<const Bitmap24> parts) {
  int w = 0, h = 0;
  for (const Bitmap24& p : parts) {
    h += p.height;
    w = std::max(w, p.width);
  }
  Bitmap24 out(w, h);
  int y = 0;
  for (const Bitmap24& p : parts) {
    out.Put(p, 0, y, false);
    y += p.height;
  }
  return out;
}

std::vector<uint8_t> EncodeBmp(const Bitmap24& bitmap) {
  const size_t rowBytes = RowBytes(bitmap.width);
  const size_t imageBytes = rowBytes * static_cast<size_t>(bitmap.height);
  std::vector<uint8_t> out;
  out.reserve(kFileHeaderSize + kInfoHeaderSize + imageBytes);
  // BITMAPFILEHEADER
  out.push_back('B');
  out.push_back('M');
  PutU32(out, static_cast<uint32_t>(kFileHeaderSize + kInfoHeaderSize + imageBytes));
  PutU32(out, 0);  // two reserved words
  PutU32(out, kFileHeaderSize + kInfoHeaderSize);
  // BITMAPINFOHEADER
  PutU32(out, kInfoHeaderSize);
  PutU32(out, static_cast<uint32_t>(bitmap.width));
  PutU32(out, static_cast<uint32_t>(bitmap.height));  // positive: bottom-up rows
  PutU16(out, 1);                                     // planes
  PutU16(out, 24);                                    // bits per pixel
  PutU32(out, 0);                                     // BI_RGB
  PutU32(out, static_cast<uint32_t>(imageBytes));
  PutU32(out, kPixelsPerMetre96Dpi);
  PutU32(out, kPixelsPerMetre96Dpi);
  PutU32(out, 0);  // colours used
  PutU32(out, 0);  // colours important
  for (int y = bitmap.height - 1; y >= 0; --y) {
    for (int x = 0; x < bitmap.width; ++x) {
      const uint32_t p = bitmap.At(x, y);
      out.push_back(static_cast<uint8_t>(p));        // blue
      out.push_back(static_cast<uint8_t>(p >> 8));   // green
      out.push_back(static_cast<uint8_t>(p >> 16));  // red
    }
    out.resize(out.size() + rowBytes - static_cast<size_t>(bitmap.width) * 3, 0);
  }
  return out;
}

bool DecodeBmp(std::span<const uint8_t> bytes, Bitmap24* out, std::string* error) {
  if (bytes.size() < kFileHeaderSize + kInfoHeaderSize) return Fail(error, "truncated header");
  if (bytes[0] != 'B' || bytes[1] != 'M') return Fail(error, "no BM signature");
  const uint32_t offBits = GetU32(bytes, 10);
  if (GetU32(bytes, 14) < kInfoHeaderSize) return Fail(error, "unknown info header");
  const int32_t width = static_cast<int32_t>(GetU32(bytes, 18));
  const int32_t rawHeight = static_cast<int32_t>(GetU32(bytes, 22));
  if (GetU16(bytes, 26) != 1 || GetU16(bytes, 28) != 24) return Fail(error, "not 24 bits");
  if (GetU32(bytes, 30) != 0) return Fail(error, "compressed");
  if (width <= 0 || rawHeight == 0 || rawHeight == std::numeric_limits<int32_t>::min())
    return Fail(error, "bad size");
  const bool bottomUp = rawHeight > 0;
  const int32_t height = bottomUp ? rawHeight : -rawHeight;
  if (width > 1 << 16 || height > 1 << 16) return Fail(error, "too large");
  const size_t rowBytes = RowBytes(width);
  if (offBits > bytes.size() || bytes.size() - offBits < rowBytes * static_cast<size_t>(height))
    return Fail(error, "truncated pixels");
  Bitmap24 result(width, height);
  for (int32_t row = 0; row < height; ++row) {
    const size_t at = offBits + rowBytes * static_cast<size_t>(row);
    const int32_t y = bottomUp ? height - 1 - row : row;
    for (int32_t x = 0; x < width; ++x) {
      const size_t p = at + static_cast<size_t>(x) * 3;
      result.At(x, y) = static_cast<uint32_t>(bytes[p + 2]) << 16 |
                        static_cast<uint32_t>(bytes[p + 1]) << 8 | bytes[p];
    }
  }
  *out = std::move(result);
  return true;
}
