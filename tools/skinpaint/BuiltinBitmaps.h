// The bitmap resources the program carries besides its skin: the track grooves used when
// a skin has no [Track] or [TRACKVERT] picture, and the four system-menu glyphs.
//
//   TRACK       16 x 4, 4 bits per pixel: grey top line, white body, silver left end
//   TRACKVERT    4 x 16, 4 bits per pixel: the same turned upright
//   ORVATHMENU  64 x 16, 1 bit per pixel: restore, maximize, minimize, close glyphs in
//               16 x 16 cells, black on white (white is the transparent colour)
//
// Drawn from fixed pixel plans, so every build gives the same bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A palette picture: one palette index per pixel, rows top to bottom.
struct IndexedBitmap {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;              // 1 or 4
  std::vector<uint32_t> palette;     // 0xRRGGBB, 2^bitsPerPixel entries
  std::vector<uint8_t> indexes;      // width * height

  uint8_t At(int x, int y) const { return indexes[static_cast<size_t>(y) * width + x]; }
};

struct BuiltinBitmap {
  std::string resourceName;  // "TRACK", "TRACKVERT", "ORVATHMENU"
  std::string fileName;      // lower-case resource name + ".bmp"
  IndexedBitmap bitmap;
};

std::vector<BuiltinBitmap> PaintBuiltinBitmaps();

// The BMP file of a palette picture: file header, 40-byte info header (96 dpi), colour
// table, rows bottom-up padded to 4 bytes, high nibble / high bit first.
std::vector<uint8_t> EncodeIndexedBmp(const IndexedBitmap& bitmap);

