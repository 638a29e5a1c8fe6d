#include "skin/image/PixelOps.h"

#include <algorithm>
#include <cstring>
#include <vector>

void MakeGrayPixels(const Bgr24View& image) {
  if (image.Empty()) return;
  for (int y = 0; y < image.height; ++y) {
    uint8_t* p = image.Row(y);
    for (int x = 0; x < image.width; ++x, p += 3) {
      const auto grey = static_cast<uint8_t>((p[0] + p[1] + p[2]) / 3);
      p[0] = p[1] = p[2] = grey;
    }
  }
}

void ReplaceKeyColorPixels(const Bgr24View& image, int32_t colour) {
  if (image.Empty()) return;
  const auto value = static_cast<uint32_t>(colour);
  const auto red = static_cast<uint8_t>(value & 0xFF);
  const auto green = static_cast<uint8_t>((value >> 8) & 0xFF);
  const auto blue = static_cast<uint8_t>((value >> 16) & 0xFF);
  for (int y = 0; y < image.height; ++y) {
    uint8_t* p = image.Row(y);
    for (int x = 0; x < image.width; ++x, p += 3) {
      if (p[0] == 255 && p[1] == 0 && p[2] == 255) {
        p[0] = blue;
        p[1] = green;
        p[2] = red;
      }
    }
  }
}

void MirrorPixels(const Bgr24View& image) {
  if (image.Empty()) return;
  for (int y = 0; y < image.height; ++y) {
    uint8_t* left = image.Row(y);
    uint8_t* right = left + 3 * static_cast<ptrdiff_t>(image.width - 1);
    for (; left < right; left += 3, right -= 3) std::swap_ranges(left, left + 3, right);
  }
}

void FlipPixels(const Bgr24View& image) {
  if (image.Empty()) return;
  const size_t rowBytes = 3 * static_cast<size_t>(image.width);
  std::vector<uint8_t> spare(rowBytes);
  for (int top = 0, bottom = image.height - 1; top < bottom; ++top, --bottom) {
    std::memcpy(spare.data(), image.Row(top), rowBytes);
    std::memcpy(image.Row(top), image.Row(bottom), rowBytes);
    std::memcpy(image.Row(bottom), spare.data(), rowBytes);
  }
}

namespace {

bool TurnedSizeFits(const ConstBgra32View& source, const Bgr24View& target) {
  return target.width == source.height && target.height == source.width;
}

void CopyPixel(const uint8_t* from, uint8_t* to) {
  to[0] = from[0];
  to[1] = from[1];
  to[2] = from[2];
}

}  // namespace

bool RotateLeftPixels(const ConstBgra32View& source, const Bgr24View& target) {
  if (!TurnedSizeFits(source, target)) return false;
  if (source.Empty() || target.Empty()) return true;
  const int w = source.width;
  for (int y = 0; y < target.height; ++y) {
    uint8_t* out = target.Row(y);
    for (int x = 0; x < target.width; ++x, out += 3) CopyPixel(source.Pixel(w - 1 - y, x), out);
  }
  return true;
}

bool RotateRightPixels(const ConstBgra32View& source, const Bgr24View& target) {
  if (!TurnedSizeFits(source, target)) return false;
  if (source.Empty() || target.Empty()) return true;
  const int h = source.height;
  for (int y = 0; y < target.height; ++y) {
    uint8_t* out = target.Row(y);
    for (int x = 0; x < target.width; ++x, out += 3) CopyPixel(source.Pixel(y, h - 1 - x), out);
  }
  return true;
}
