#include "skin/data/SkinBitmapCheck.h"

#include <utility>

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitFields = 3;

uint32_t U16(std::span<const uint8_t> b, size_t at) {
  return static_cast<uint32_t>(b[at] | b[at + 1] << 8);
}
uint32_t U32(std::span<const uint8_t> b, size_t at) {
  return static_cast<uint32_t>(b[at]) | static_cast<uint32_t>(b[at + 1]) << 8 |
         static_cast<uint32_t>(b[at + 2]) << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

bool Fail(std::string* reason, std::string text) {
  if (reason != nullptr) *reason = std::move(text);
  return false;
}

bool KnownInfoSize(uint32_t size) {
  return size == 12 || size == 40 || size == 52 || size == 56 || size == 64 || size == 108 ||
         size == 124;
}

}  // namespace

bool CheckSkinBitmapFile(std::span<const uint8_t> bytes, TSkinBitmapFacts* facts,
                         std::string* reason) {
  if (bytes.size() < kFileHeaderSize + 4) return Fail(reason, "too short for a bitmap file");
  if (bytes[0] != 'B' || bytes[1] != 'M') return Fail(reason, "not a bitmap file (no \"BM\")");
  const uint32_t pixelOffset = U32(bytes, 10);
  const uint32_t infoSize = U32(bytes, kFileHeaderSize);
  if (!KnownInfoSize(infoSize)) return Fail(reason, "unknown bitmap header size " + std::to_string(infoSize));
  if (bytes.size() < kFileHeaderSize + infoSize) return Fail(reason, "bitmap header cut off");

  const size_t h = kFileHeaderSize;
  int64_t width, height;
  uint32_t planes, bits, compression = kBiRgb, coloursUsed = 0;
  size_t paletteEntrySize = 4;
  if (infoSize == 12) {
    width = U16(bytes, h + 4);
    height = U16(bytes, h + 6);
    planes = U16(bytes, h + 8);
    bits = U16(bytes, h + 10);
    paletteEntrySize = 3;
  } else {
    width = static_cast<int32_t>(U32(bytes, h + 4));
    height = static_cast<int32_t>(U32(bytes, h + 8));
    planes = U16(bytes, h + 12);
    bits = U16(bytes, h + 14);
    compression = U32(bytes, h + 16);
    coloursUsed = U32(bytes, h + 32);
  }
  if (planes != 1) return Fail(reason, "bitmap has " + std::to_string(planes) + " planes");
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
    return Fail(reason, "unsupported " + std::to_string(bits) + " bits per pixel");
  const bool topDown = height < 0;
  if (topDown) height = -height;
  if (width <= 0 || height <= 0) return Fail(reason, "bitmap has no pixels");
  if (width * height > kSkinBitmapMaxPixels)
    return Fail(reason, "bitmap of " + std::to_string(width) + " x " + std::to_string(height) +
                            " pixels is too large");

  // What follows the header: bit masks (bit fields with a 40-byte header), colour table.
  size_t tableStart = h + infoSize;
  switch (compression) {
    case kBiRgb:
      break;
    case kBiBitFields:
      if (bits != 16 && bits != 32) return Fail(reason, "bit fields need 16 or 32 bits per pixel");
      if (infoSize == 40) tableStart += 12;
      break;
    case kBiRle8:
    case kBiRle4:
      if (bits != (compression == kBiRle8 ? 8u : 4u))
        return Fail(reason, "run-length coding does not fit the bits per pixel");
      if (topDown) return Fail(reason, "run-length coded bitmaps cannot be top-down");
      break;
    default:
      return Fail(reason, "unsupported bitmap compression " + std::to_string(compression));
  }
  uint64_t paletteEntries = 0;
  if (bits <= 8) {
    const uint64_t most = uint64_t{1} << bits;
    if (coloursUsed > most) return Fail(reason, "colour table larger than the bits allow");
    paletteEntries = coloursUsed != 0 ? coloursUsed : most;
  } else {
    paletteEntries = coloursUsed;  // optional, ignored by the decoder but must be present
  }
  if (tableStart + paletteEntries * paletteEntrySize > bytes.size())
    return Fail(reason, "colour table cut off");
  if (pixelOffset >= bytes.size()) return Fail(reason, "pixel data offset past the end");

  if (compression != kBiRle8 && compression != kBiRle4) {
    const uint64_t stride = (static_cast<uint64_t>(width) * bits + 31) / 32 * 4;
    if (pixelOffset + stride * static_cast<uint64_t>(height) > bytes.size())
      return Fail(reason, "pixel data cut off");
  }
  if (facts != nullptr) {
    facts->Width = static_cast<int32_t>(width);
    facts->Height = static_cast<int32_t>(height);
    facts->BitsPerPixel = static_cast<int32_t>(bits);
    facts->TopDown = topDown;
  }
  return true;
}
