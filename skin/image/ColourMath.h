// Colour arithmetic of the skinning engine (unit ImgUtil) on plain colour values:
// 0x00BBGGRR, red in bits 0-7. System colours (top bit set) are resolved by the caller
// (ImgUtil's MixColors); these routines read bytes 0, 1 and 2 as they are.
// Portable: no Windows header.
#pragma once

#include <cstdint>

inline uint8_t RedOf(int32_t colour) { return static_cast<uint8_t>(colour & 0xFF); }
inline uint8_t GreenOf(int32_t colour) { return static_cast<uint8_t>((colour >> 8) & 0xFF); }
inline uint8_t BlueOf(int32_t colour) { return static_cast<uint8_t>((colour >> 16) & 0xFF); }
inline int32_t MakeColour(int red, int green, int blue) {
  return static_cast<int32_t>((red & 0xFF) | (green & 0xFF) << 8 | (blue & 0xFF) << 16);
}

// The weighted mix of two plain colours. `weight` is the share of `colour1`: below 100 in
// percent, from 100 on in per mille (so 150 takes 15 % of colour1 and 100 takes 10 %).
// Per channel: (c2 * (base - weight) + c1 * weight + base div 2) div base, truncating,
// low 8 bits kept. Computed in 64 bits, so no weight overflows.
int32_t MixPlainColors(int32_t colour1, int32_t colour2, int32_t weight);

// 200 when red, green and blue are all below 160; otherwise the HSV saturation
// (max - min) / max scaled to 0..255, rounded to the nearest integer, ties to even.
int32_t ColorSaturation(int32_t colour);
