// Windows bitmap files (.bmp): checking the headers and locating palette and pixels, and
// writing a file. Portable; no Windows header. TBitmap builds on it.
//
// File layout (little-endian): BITMAPFILEHEADER (14 bytes: "BM", file size u32, two
// reserved u16, pixel offset u32), then an info header: BITMAPCOREHEADER (12 bytes: size,
// u16 width, u16 height, u16 planes, u16 bit count) or BITMAPINFOHEADER and its later
// versions (40, 52, 56, 108 or 124 bytes: size, i32 width, i32 height (negative: rows top
// down), u16 planes, u16 bit count, u32 compression, u32 image size, two i32 resolutions,
// u32 colours used, u32 colours important, then masks in the later versions). With
// BI_BITFIELDS (3) and a 40-byte header, three u32 masks follow the header. The palette
// (RGBQUAD, or RGBTRIPLE after a core header) follows, then the pixel rows at the pixel
// offset, each padded to 4 bytes. Accepted: 1, 4, 8, 16, 24 and 32 bits per pixel,
// BI_RGB and (16 and 32 bits) BI_BITFIELDS; compressed files are refused. Limits: width
// and height up to 32767, pixel data that lies wholly inside the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

struct TBmpInfo {
  int32_t width = 0;
  int32_t height = 0;      // always positive
  bool topDown = false;    // first row in the file is the top row
  uint16_t bitCount = 0;
  bool bitFields = false;  // masks[] describe 16/32-bit pixels
  uint32_t masks[3] = {};  // red, green, blue
  std::vector<uint32_t> palette;  // 0x00RRGGBB (RGBQUAD order blue, green, red in the file)
  size_t pixelOffset = 0;  // first byte of the pixel rows in the file
  size_t stride = 0;       // bytes per row, padded to 4
};

constexpr int32_t kMaxBmpSide = 32767;

// Fills `info` from a whole file; false and a reason in `error` for anything malformed.
bool ParseBmp(std::span<const uint8_t> file, TBmpInfo& info, std::string& error);

// Bytes per row of `width` pixels of `bitCount` bits, padded to 4 bytes.
size_t BmpStride(int32_t width, uint16_t bitCount);

// A bottom-up BI_RGB (BI_BITFIELDS for 16 bits as 5-6-5 when `rgb565`) file. `rows`
// holds `height` rows of `stride` bytes, bottom row first.
std::vector<uint8_t> WriteBmp(int32_t width, int32_t height, uint16_t bitCount,
                              const std::vector<uint32_t>& palette, std::span<const uint8_t> rows,
                              bool rgb565 = false);
