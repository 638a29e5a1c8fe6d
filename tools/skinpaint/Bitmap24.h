// A 24-bit picture as skins store it, and the Windows BMP file form of it.
//
// Skins key transparency on the exact colour magenta (0xFF00FF); the engine's region
// builder also counts colours within 1 of it per component as transparent, so painted
// colours must stay away from that range (see IsKeyColour).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

constexpr uint32_t kMagenta = 0xFF00FF;

// True for the colours the engine treats as the transparent key (tolerance 1 per
// component, as the window-region builder uses).
constexpr bool IsKeyColour(uint32_t rgb) {
  const uint32_t r = rgb >> 16 & 0xFF, g = rgb >> 8 & 0xFF, b = rgb & 0xFF;
  return r == 0xFF && g <= 1 && b == 0xFF;
}

// Pixels are 0xRRGGBB, rows top to bottom.
struct Bitmap24 {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;

  Bitmap24() = default;
  Bitmap24(int w, int h, uint32_t fill = kMagenta);

  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  uint32_t& At(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }

  // A copy of the rectangle (x, y, w, h), which must lie inside the picture.
  Bitmap24 Crop(int x, int y, int w, int h) const;
  // Copies `src` with its top-left corner at (x, y); parts outside are clipped. With
  // `keyed`, magenta pixels of `src` leave the destination unchanged.
  void Put(const Bitmap24& src, int x, int y, bool keyed);
};

// Places pictures side by side (frames of one element) or one under another.
Bitmap24 JoinHorizontally(std::span<const Bitmap24> parts);
Bitmap24 JoinVertically(std::span<const Bitmap24> parts);

// The BMP file: BITMAPFILEHEADER (14 bytes) + BITMAPINFOHEADER (40 bytes), 24 bits per
// pixel, no compression, rows bottom-up, each padded to a multiple of 4 bytes, 96 dpi.
std::vector<uint8_t> EncodeBmp(const Bitmap24& bitmap);

// Reads back a 24-bit uncompressed BMP (bottom-up or top-down). Returns false with a
// reason in *error for anything else or for a truncated or inconsistent file; never
// reads outside `bytes`.
bool DecodeBmp(std::span<const uint8_t> bytes, Bitmap24* out, std::string* error);
