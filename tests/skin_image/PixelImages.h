// Small owned pixel images for the tests: 24-bit and 32-bit buffers with views, stored
// top-down or bottom-up (as GetDIBits fills a buffer for a positive height).
#pragma once

#include <cstdint>
#include <vector>

#include "skin/image/PixelView.h"

struct Rgb {
  int r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

class Image24 {
 public:
  Image24(int width, int height, bool bottomUp = false)
      : width_(width), height_(height), stride_(Stride(width)), bottomUp_(bottomUp),
        bytes_(static_cast<size_t>(stride_) * (height > 0 ? height : 0), 0xCD) {}

  Bgr24View View() {
    Bgr24View view;
    view.width = width_;
    view.height = height_;
    if (bytes_.empty()) return view;
    view.row0 = bottomUp_ ? bytes_.data() + stride_ * (height_ - 1) : bytes_.data();
    view.stride = bottomUp_ ? -stride_ : stride_;
    return view;
  }
  int Width() const { return width_; }
  int Height() const { return height_; }

  Rgb Get(int x, int y) {
    const uint8_t* p = View().Pixel(x, y);
    return {p[2], p[1], p[0]};
  }
  void Set(int x, int y, Rgb c) {
    uint8_t* p = View().Pixel(x, y);
    p[0] = static_cast<uint8_t>(c.b);
    p[1] = static_cast<uint8_t>(c.g);
    p[2] = static_cast<uint8_t>(c.r);
  }
  // Every pixel a different colour, so moves are visible.
  void FillDistinct() {
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) Set(x, y, {x * 7 + 1, y * 11 + 2, (x + y * 5) & 0xFF});
  }
  // The bytes that pad each row to 4 bytes, which no routine may touch.
  std::vector<uint8_t> Padding() const {
    std::vector<uint8_t> pad;
    for (int y = 0; y < height_; ++y)
      for (ptrdiff_t i = 3 * width_; i < stride_; ++i) pad.push_back(bytes_[y * stride_ + i]);
    return pad;
  }

 private:
  static ptrdiff_t Stride(int width) { return ((3 * static_cast<ptrdiff_t>(width)) + 3) & ~3; }

  int width_, height_;
  ptrdiff_t stride_;
  bool bottomUp_;
  std::vector<uint8_t> bytes_;
};

// A 32-bit copy of a 24-bit image, the fourth byte set to junk (it must be ignored).
class Image32 {
 public:
  Image32(int width, int height, bool bottomUp = false)
      : width_(width), height_(height), bottomUp_(bottomUp),
        bytes_(4 * static_cast<size_t>(width > 0 ? width : 0) * (height > 0 ? height : 0),
               0x5A) {}
  static Image32 From(Image24& image, bool bottomUp) {
    Image32 copy(image.Width(), image.Height(), bottomUp);
    for (int y = 0; y < image.Height(); ++y)
      for (int x = 0; x < image.Width(); ++x) copy.Set(x, y, image.Get(x, y));
    return copy;
  }
  ConstBgra32View View() const {
    ConstBgra32View view;
    view.width = width_;
    view.height = height_;
    if (bytes_.empty()) return view;
    const ptrdiff_t stride = 4 * static_cast<ptrdiff_t>(width_);
    view.row0 = bottomUp_ ? bytes_.data() + stride * (height_ - 1) : bytes_.data();
    view.stride = bottomUp_ ? -stride : stride;
    return view;
  }
  void Set(int x, int y, Rgb c) {
    auto* p = const_cast<uint8_t*>(View().Pixel(x, y));
    p[0] = static_cast<uint8_t>(c.b);
    p[1] = static_cast<uint8_t>(c.g);
    p[2] = static_cast<uint8_t>(c.r);
  }

 private:
  int width_, height_;
  bool bottomUp_;
  std::vector<uint8_t> bytes_;
};
