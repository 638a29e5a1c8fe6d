#include "tools/skinpaint/BuiltinBitmaps.h"

#include <array>
#include <string_view>

namespace {

// The 16 colours of the standard 4-bit palette.
constexpr std::array<uint32_t, 16> kVgaPalette = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
constexpr uint8_t kSilver = 7, kGrey = 8, kWhite = 15;

IndexedBitmap Blank(int width, int height, int bits, std::vector<uint32_t> palette,
                    uint8_t fill) {
  IndexedBitmap b;
  b.width = width;
  b.height = height;
  b.bitsPerPixel = bits;
  b.palette = std::move(palette);
  b.indexes.assign(static_cast<size_t>(width) * height, fill);
  return b;
}

void Set(IndexedBitmap& b, int x, int y, uint8_t index) {
  b.indexes[static_cast<size_t>(y) * b.width + x] = index;
}

IndexedBitmap PaintTrack() {
  IndexedBitmap b = Blank(16, 4, 4, {kVgaPalette.begin(), kVgaPalette.end()}, kWhite);
  for (int x = 0; x < 16; ++x) Set(b, x, 0, kGrey);
  for (int y = 1; y < 4; ++y) Set(b, 0, y, kSilver);
  return b;
}

// TRACK turned upright: its top line becomes the left column, its left end the top.
IndexedBitmap PaintTrackVert() {
  const IndexedBitmap track = PaintTrack();
  IndexedBitmap b = Blank(4, 16, 4, track.palette, kWhite);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 4; ++x) Set(b, x, y, track.At(y, x));
  return b;
}

// The glyphs, 16 x 16 each: '#' black, '.' white.
constexpr std::array<std::string_view, 16> kRestore = {
    "................", "................", "................", ".....########...",
    ".....########...", ".....#......#...", "..########...#..", "..########...#..",
    "..#......#...#..", "..#......#####..", "..#......#......", "..#......#......",
    "..########......", "................", "................", "................"};
constexpr std::array<std::string_view, 16> kMaximize = {
    "................", "................", "...##########...", "...##########...",
    "...#........#...", "...#........#...", "...#........#...", "...#........#...",
    "...#........#...", "...#........#...", "...#........#...", "...##########...",
    "................", "................", "................", "................"};
constexpr std::array<std::string_view, 16> kMinimize = {
    "................", "................", "................", "................",
    "................", "................", "................", "................",
    "................", "................", "....#######.....", "....#######.....",
    "................", "................", "................", "................"};
constexpr std::array<std::string_view, 16> kClose = {
    "................", "................", "................", "...##......##...",
    "....##....##....", ".....##..##.....", "......####......", ".......##.......",
    "......####......", ".....##..##.....", "....##....##....", "...##......##...",
    "................", "................", "................", "................"};

IndexedBitmap PaintMenuGlyphs() {
  constexpr uint8_t kBlackBit = 0, kWhiteBit = 1;
  IndexedBitmap b = Blank(64, 16, 1, {0x000000, 0xFFFFFF}, kWhiteBit);
  const std::array<const std::array<std::string_view, 16>*, 4> glyphs = {&kRestore, &kMaximize,
                                                                         &kMinimize, &kClose};
  for (int cell = 0; cell < 4; ++cell)
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x)
        if ((*glyphs[cell])[y][x] == '#') Set(b, cell * 16 + x, y, kBlackBit);
  return b;
}

void PutU16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
  PutU16(out, v & 0xFFFF);
  PutU16(out, v >> 16);
}

}  // namespace

std::vector<BuiltinBitmap> PaintBuiltinBitmaps() {
  return {{"TRACK", "track.bmp", PaintTrack()},
          {"TRACKVERT", "trackvert.bmp", PaintTrackVert()},
          {"ORVATHMENU", "orvathmenu.bmp", PaintMenuGlyphs()}};
}

std::vector<uint8_t> EncodeIndexedBmp(const IndexedBitmap& b) {
  constexpr uint32_t kHeaders = 14 + 40;
  constexpr uint32_t kPixelsPerMetre96Dpi = 3780;
  const uint32_t bits = static_cast<uint32_t>(b.bitsPerPixel);
  const uint32_t stride = (static_cast<uint32_t>(b.width) * bits + 31) / 32 * 4;
  const uint32_t tableBytes = static_cast<uint32_t>(b.palette.size()) * 4;
  const uint32_t pixelBytes = stride * static_cast<uint32_t>(b.height);
  std::vector<uint8_t> out;
  out.reserve(kHeaders + tableBytes + pixelBytes);
  out.push_back('B');
  out.push_back('M');
  PutU32(out, kHeaders + tableBytes + pixelBytes);
  PutU32(out, 0);
  PutU32(out, kHeaders + tableBytes);
  PutU32(out, 40);
  PutU32(out, static_cast<uint32_t>(b.width));
  PutU32(out, static_cast<uint32_t>(b.height));
  PutU16(out, 1);
  PutU16(out, bits);
  PutU32(out, 0);  // BI_RGB
  PutU32(out, pixelBytes);
  PutU32(out, kPixelsPerMetre96Dpi);
  PutU32(out, kPixelsPerMetre96Dpi);
  PutU32(out, static_cast<uint32_t>(b.palette.size()));
  PutU32(out, 0);
  for (const uint32_t rgb : b.palette) {
    out.push_back(static_cast<uint8_t>(rgb));        // blue
    out.push_back(static_cast<uint8_t>(rgb >> 8));   // green
    out.push_back(static_cast<uint8_t>(rgb >> 16));  // red
    out.push_back(0);
  }
  const uint32_t perByte = 8 / bits;
  for (int y = b.height - 1; y >= 0; --y) {
    std::vector<uint8_t> row(stride, 0);
    for (int x = 0; x < b.width; ++x) {
      const uint32_t shift = 8 - bits * (static_cast<uint32_t>(x) % perByte + 1);
      row[static_cast<uint32_t>(x) / perByte] |= static_cast<uint8_t>(b.At(x, y) << shift);
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}
