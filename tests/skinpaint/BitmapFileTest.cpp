// The BMP files skinpaint writes: header fields, row order and padding, and rejection
// of files it cannot have written.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tools/skinpaint/Bitmap24.h"

namespace {

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

Bitmap24 Sample(int w, int h) {
  Bitmap24 b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.At(x, y) = static_cast<uint32_t>(x * 0x010203 + y * 0x302010) & 0xFFFFFF;
  return b;
}

TEST(BitmapFile, HeaderAndPaddedBottomUpRows) {
  const Bitmap24 b = Sample(3, 2);  // 9 bytes a row, padded to 12
  const std::vector<uint8_t> f = EncodeBmp(b);
  ASSERT_EQ(f.size(), 54u + 2 * 12);
  EXPECT_EQ(f[0], 'B');
  EXPECT_EQ(f[1], 'M');
  EXPECT_EQ(U32(f, 2), f.size());
  EXPECT_EQ(U32(f, 10), 54u);
  EXPECT_EQ(U32(f, 14), 40u);
  EXPECT_EQ(U32(f, 18), 3u);
  EXPECT_EQ(U32(f, 22), 2u);           // positive height: bottom-up
  EXPECT_EQ(f[28] | f[29] << 8, 24);   // bits per pixel
  EXPECT_EQ(U32(f, 30), 0u);           // BI_RGB
  EXPECT_EQ(U32(f, 34), 24u);          // image bytes
  // The first stored row is the bottom one, blue first; the padding is zero.
  const uint32_t p = b.At(0, 1);
  EXPECT_EQ(f[54], p & 0xFF);
  EXPECT_EQ(f[55], p >> 8 & 0xFF);
  EXPECT_EQ(f[56], p >> 16 & 0xFF);
  EXPECT_EQ(f[63], 0);
  EXPECT_EQ(f[65], 0);
}

TEST(BitmapFile, RoundTripsEveryWidthModuloFour) {
  for (int w = 1; w <= 8; ++w) {
    const Bitmap24 b = Sample(w, 5);
    Bitmap24 back;
    std::string error;
    ASSERT_TRUE(DecodeBmp(EncodeBmp(b), &back, &error)) << w << ": " << error;
    EXPECT_EQ(back.width, w);
    EXPECT_EQ(back.height, 5);
    EXPECT_EQ(back.pixels, b.pixels) << w;
  }
}

TEST(BitmapFile, RejectsTruncatedAndForeignFiles) {
  const std::vector<uint8_t> good = EncodeBmp(Sample(5, 4));
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
  };
  std::vector<Case> cases;
  cases.push_back({"empty", {}});
  cases.push_back({"header only", std::vector<uint8_t>(good.begin(), good.begin() + 54)});
  cases.push_back({"one byte short", std::vector<uint8_t>(good.begin(), good.end() - 1)});
  std::vector<uint8_t> sig = good;
  sig[0] = 'X';
  cases.push_back({"signature", sig});
  std::vector<uint8_t> bits = good;
  bits[28] = 8;
  cases.push_back({"8 bits", bits});
  std::vector<uint8_t> rle = good;
  rle[30] = 1;
  cases.push_back({"compressed", rle});
  std::vector<uint8_t> offset = good;
  offset[10] = 0xFF;
  offset[11] = 0xFF;
  cases.push_back({"offset past end", offset});
  std::vector<uint8_t> zero = good;
  zero[18] = zero[19] = zero[20] = zero[21] = 0;
  cases.push_back({"zero width", zero});
  for (const Case& c : cases) {
    Bitmap24 out;
    std::string error;
    EXPECT_FALSE(DecodeBmp(c.bytes, &out, &error)) << c.what;
    EXPECT_FALSE(error.empty()) << c.what;
  }
}

TEST(BitmapFile, ReadsTopDownRows) {
  const Bitmap24 b = Sample(4, 3);
  std::vector<uint8_t> f = EncodeBmp(b);
  // Turn the file into a top-down one: negative height and the rows reversed.
  const int32_t negative = -3;
  for (int i = 0; i < 4; ++i) f[22 + i] = static_cast<uint8_t>(static_cast<uint32_t>(negative) >> (8 * i));
  const size_t row = 12;
  std::vector<uint8_t> rows(f.begin() + 54, f.end());
  for (int r = 0; r < 3; ++r)
    std::copy(rows.begin() + static_cast<long>(row * (2 - r)), rows.begin() + static_cast<long>(row * (3 - r)),
              f.begin() + 54 + static_cast<long>(row * r));
  Bitmap24 back;
  std::string error;
  ASSERT_TRUE(DecodeBmp(f, &back, &error)) << error;
  EXPECT_EQ(back.pixels, b.pixels);
}

}  // namespace
