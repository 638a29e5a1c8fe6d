#include "skin/image/ColourMath.h"

#include <algorithm>
#include <cmath>

namespace {

int MixChannel(int channel1, int channel2, int64_t weight, int64_t base) {
  const int64_t value = (channel2 * (base - weight) + channel1 * weight + base / 2) / base;
  return static_cast<int>(value & 0xFF);
}

// Rounds to the nearest integer, halves to the even neighbour, whatever the floating-point
// rounding mode is.
double RoundHalfEven(double value) {
  const double lower = std::floor(value);
  const double fraction = value - lower;
  if (fraction > 0.5) return lower + 1;
  if (fraction < 0.5) return lower;
  return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}

}  // namespace

int32_t MixPlainColors(int32_t colour1, int32_t colour2, int32_t weight) {
  const int64_t base = weight < 100 ? 100 : 1000;
  const int red = MixChannel(RedOf(colour1), RedOf(colour2), weight, base);
  const int green = MixChannel(GreenOf(colour1), GreenOf(colour2), weight, base);
  const int blue = MixChannel(BlueOf(colour1), BlueOf(colour2), weight, base);
  return MakeColour(red, green, blue);
}

int32_t ColorSaturation(int32_t colour) {
  const int r = RedOf(colour);
  const int g = GreenOf(colour);
  const int b = BlueOf(colour);
  if (r < 160 && g < 160 && b < 160) return 200;
  const int mx = std::max({r, g, b});
  const int mn = std::min({r, g, b});
  const double saturation = mx == 0 ? 0.0 : static_cast<double>(mx - mn) / mx;
  return static_cast<int32_t>(RoundHalfEven(saturation * 255));
}
