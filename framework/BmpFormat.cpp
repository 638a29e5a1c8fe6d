#include "framework/BmpFormat.h"

namespace {

uint16_t U16(std::span<const uint8_t> b, size_t at) {
  return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}
uint32_t U32(std::span<const uint8_t> b, size_t at) {
  return static_cast<uint32_t>(b[at]) | (static_cast<uint32_t>(b[at + 1]) << 8) |
         (static_cast<uint32_t>(b[at + 2]) << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
int32_t I32(std::span<const uint8_t> b, size_t at) { return static_cast<int32_t>(U32(b, at)); }

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

bool Fail(std::string& error, const char* why) {
  error = why;
  return false;
}

}  // namespace

size_t BmpStride(int32_t width, uint16_t bitCount) {
  return ((static_cast<size_t>(width) * bitCount + 31) / 32) * 4;
}

bool ParseBmp(std::span<const uint8_t> file, TBmpInfo& info, std::string& error) {
  info = TBmpInfo{};
  constexpr size_t kFileHeader = 14;
  if (file.size() < kFileHeader + 12) return Fail(error, "bitmap file too short");
  if (file[0] != 'B' || file[1] != 'M') return Fail(error, "not a bitmap file (no BM signature)");
  const uint32_t pixelOffset = U32(file, 10);
  const uint32_t headerSize = U32(file, kFileHeader);
  const bool core = headerSize == 12;
  if (!core && headerSize != 40 && headerSize != 52 && headerSize != 56 && headerSize != 108 && headerSize != 124)
    return Fail(error, "unknown bitmap header size");
  if (file.size() < kFileHeader + headerSize) return Fail(error, "bitmap header cut off");
  const size_t h = kFileHeader;
  int64_t width = 0, height = 0;
  uint16_t planes = 0;
  uint32_t compression = 0, colorsUsed = 0;
  if (core) {
    width = U16(file, h + 4);
    height = U16(file, h + 6);
    planes = U16(file, h + 8);
    info.bitCount = U16(file, h + 10);
  } else {
    width = I32(file, h + 4);
    height = I32(file, h + 8);
    planes = U16(file, h + 12);
    info.bitCount = U16(file, h + 14);
    compression = U32(file, h + 16);
    colorsUsed = U32(file, h + 32);
  }
  if (planes != 1) return Fail(error, "bitmap must have one plane");
  if (height < 0) {
    info.topDown = true;
    height = -height;
  }
  if (width <= 0 || height <= 0) return Fail(error, "bitmap has no pixels");
  if (width > kMaxBmpSide || height > kMaxBmpSide) return Fail(error, "bitmap too large");
  const uint16_t bits = info.bitCount;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
    return Fail(error, "unsupported bits per pixel");
  size_t tableOffset = h + headerSize;
  if (compression == 3) {
    if (bits != 16 && bits != 32) return Fail(error, "bit fields need 16 or 32 bits per pixel");
    info.bitFields = true;
    size_t maskAt = h + 40;
    if (headerSize == 40) {
      if (file.size() < tableOffset + 12) return Fail(error, "bit field masks cut off");
      tableOffset += 12;
    }
    for (int i = 0; i < 3; ++i) info.masks[i] = U32(file, maskAt + static_cast<size_t>(i) * 4);
    if (!info.masks[0] || !info.masks[1] || !info.masks[2]) return Fail(error, "empty bit field mask");
  } else if (compression != 0) {
    return Fail(error, "compressed bitmaps are not supported");
  }
  info.width = static_cast<int32_t>(width);
  info.height = static_cast<int32_t>(height);
  if (bits <= 8) {
    const uint32_t maxColors = 1u << bits;
    const uint32_t count = colorsUsed == 0 ? maxColors : colorsUsed;
    if (count > maxColors) return Fail(error, "palette larger than the pixel format allows");
    const size_t entry = core ? 3 : 4;
    if (file.size() < tableOffset + count * entry) return Fail(error, "palette cut off");
    for (uint32_t i = 0; i < count; ++i) {
      const size_t at = tableOffset + i * entry;
      info.palette.push_back(static_cast<uint32_t>(file[at + 2]) << 16 | static_cast<uint32_t>(file[at + 1]) << 8 |
                             file[at]);
    }
    tableOffset += count * entry;
  }
  info.stride = BmpStride(info.width, bits);
  info.pixelOffset = pixelOffset != 0 ? pixelOffset : tableOffset;
  if (info.pixelOffset < kFileHeader + headerSize) return Fail(error, "pixel data overlaps the header");
  const uint64_t needed = static_cast<uint64_t>(info.stride) * static_cast<uint64_t>(info.height);
  if (info.pixelOffset > file.size() || needed > file.size() - info.pixelOffset)
    return Fail(error, "bitmap pixel data cut off");
  return true;
}

std::vector<uint8_t> WriteBmp(int32_t width, int32_t height, uint16_t bitCount, const std::vector<uint32_t>& palette,
                              std::span<const uint8_t> rows, bool rgb565) {
  const bool fields = bitCount == 16 && rgb565;
  const size_t headerBytes = 14 + 40 + (fields ? 12 : 0) + palette.size() * 4;
  std::vector<uint8_t> out;
  out.reserve(headerBytes + rows.size());
  out.push_back('B');
  out.push_back('M');
  Put32(out, static_cast<uint32_t>(headerBytes + rows.size()));
  Put32(out, 0);
  Put32(out, static_cast<uint32_t>(headerBytes));
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(width));
  Put32(out, static_cast<uint32_t>(height));
  Put16(out, 1);
  Put16(out, bitCount);
  Put32(out, fields ? 3 : 0);
  Put32(out, static_cast<uint32_t>(rows.size()));
  Put32(out, 3780);  // 96 dpi in pixels per metre
  Put32(out, 3780);
  Put32(out, static_cast<uint32_t>(palette.size()));
  Put32(out, 0);
  if (fields) {
    Put32(out, 0xF800);
    Put32(out, 0x07E0);
    Put32(out, 0x001F);
  }
  for (uint32_t c : palette) Put32(out, c & 0xFFFFFF);
  out.insert(out.end(), rows.begin(), rows.end());
  return out;
}
