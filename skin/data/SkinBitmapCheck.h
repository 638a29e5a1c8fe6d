// Checks that an archive entry is a Windows bitmap file that can be handed to the
// graphics layer without any read outside its bytes. Portable.
//
// Accepted: "BM" file header (14 bytes), then a core header (12 bytes) or an info header
// of 40, 52, 56, 64, 108 or 124 bytes; one plane; 1, 4, 8, 16, 24 or 32 bits per pixel;
// no compression, bit fields (16 and 32 bits) or run-length coding (8 bits RLE8, 4 bits
// RLE4, bottom-up); a colour table of at most 2^bits entries; width 1 or more, height not
// 0 (negative: top-down), at most kSkinBitmapMaxPixels pixels. Uncompressed pixel rows
// (each padded to 4 bytes) and the colour table must lie wholly inside the bytes given.
#pragma once

#include <cstdint>
#include <span>
#include <string>

// 4096 x 4096: far above any skin picture, low enough that a 24-bit copy of it fits a
// 32-bit process comfortably.
inline constexpr int64_t kSkinBitmapMaxPixels = int64_t{4096} * 4096;

struct TSkinBitmapFacts {
  int32_t Width = 0;
  int32_t Height = 0;  // always positive
  int32_t BitsPerPixel = 0;
  bool TopDown = false;
};

// True when `bytes` is such a file; otherwise false and *reason says what is wrong.
bool CheckSkinBitmapFile(std::span<const uint8_t> bytes, TSkinBitmapFacts* facts,
                         std::string* reason);
