#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "framework/Bitmap.h"
#include "framework/ResourceCount.h"
#include "skin/image/ImgUtil.h"

namespace {

struct Rgb {
  int r, g, b;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Pixels of a bitmap of 24 or 32 bits per pixel, through its rows.
Rgb PixelOf(TBitmap& bitmap, int x, int y) {
  const int bytes = bitmap.PixelFormat() == pf32bit ? 4 : 3;
  const uint8_t* p = bitmap.ScanLine(y) + bytes * x;
  return {p[2], p[1], p[0]};
}
void SetPixelOf(TBitmap& bitmap, int x, int y, Rgb c) {
  const int bytes = bitmap.PixelFormat() == pf32bit ? 4 : 3;
  uint8_t* p = bitmap.ScanLine(y) + bytes * x;
  p[0] = static_cast<uint8_t>(c.b);
  p[1] = static_cast<uint8_t>(c.g);
  p[2] = static_cast<uint8_t>(c.r);
}
Rgb Distinct(int x, int y) { return {x * 40 + 5, y * 50 + 7, (x * 3 + y * 11) & 0xFF}; }

void PaintDistinct(TBitmap& bitmap) {
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x) SetPixelOf(bitmap, x, y, Distinct(x, y));
}

class ImgUtilBitmapTest : public ::testing::Test {
 protected:
  void SetUp() override { baseline_ = GdiObjectCount(); }
  void TearDown() override { EXPECT_EQ(GdiObjectCount(), baseline_); }

 private:
  int64_t baseline_ = 0;
};

TEST_F(ImgUtilBitmapTest, MakeGraySetsTwentyFourBitsAndTakesThePlainMean) {
  TBitmap bitmap(3, 2, pf32bit);
  SetPixelOf(bitmap, 0, 0, {10, 20, 31});
  SetPixelOf(bitmap, 2, 1, {255, 0, 0});
  MakeGray(&bitmap);
  EXPECT_EQ(bitmap.PixelFormat(), pf24bit);
  EXPECT_EQ(PixelOf(bitmap, 0, 0), (Rgb{20, 20, 20}));
  EXPECT_EQ(PixelOf(bitmap, 2, 1), (Rgb{85, 85, 85}));
}

TEST_F(ImgUtilBitmapTest, ReplaceKeyColorPaintsMagentaWithTheColoursBytes) {
  TBitmap bitmap(2, 2, pf32bit);
  SetPixelOf(bitmap, 0, 0, {255, 0, 255});
  SetPixelOf(bitmap, 1, 0, {254, 0, 255});
  SetPixelOf(bitmap, 1, 1, {255, 0, 255});
  ReplaceKeyColor(&bitmap, 0x00123456);
  EXPECT_EQ(bitmap.PixelFormat(), pf24bit);
  EXPECT_EQ(PixelOf(bitmap, 0, 0), (Rgb{0x56, 0x34, 0x12}));
  EXPECT_EQ(PixelOf(bitmap, 1, 0), (Rgb{254, 0, 255}));
  EXPECT_EQ(PixelOf(bitmap, 1, 1), (Rgb{0x56, 0x34, 0x12}));
  // A system colour is not resolved: its low bytes are used.
  SetPixelOf(bitmap, 0, 0, {255, 0, 255});
  ReplaceKeyColor(&bitmap, clBtnFace);
  EXPECT_EQ(PixelOf(bitmap, 0, 0), (Rgb{0x0F, 0, 0}));
}

TEST_F(ImgUtilBitmapTest, MirrorAndFlipMoveEveryPixel) {
  TBitmap bitmap(5, 3, pf24bit);
  PaintDistinct(bitmap);
  MirrorBitmap(&bitmap);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) ASSERT_EQ(PixelOf(bitmap, x, y), Distinct(4 - x, y));
  FlipBitmap(&bitmap);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) ASSERT_EQ(PixelOf(bitmap, x, y), Distinct(4 - x, 2 - y));
}

TEST_F(ImgUtilBitmapTest, MirrorOfAnotherFormatBecomesTwentyFourBitsFirst) {
  // A 32-bit picture read as 3 bytes per pixel would be garbage; it is converted instead.
  TBitmap bitmap(4, 2, pf32bit);
  PaintDistinct(bitmap);
  MirrorBitmap(&bitmap);
  EXPECT_EQ(bitmap.PixelFormat(), pf24bit);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) ASSERT_EQ(PixelOf(bitmap, x, y), Distinct(3 - x, y));
}

TEST_F(ImgUtilBitmapTest, RotationsTurnByAQuarterAndExchangeTheSize) {
  TBitmap bitmap(4, 3, pf24bit);
  PaintDistinct(bitmap);
  RotateLeft(&bitmap);
  ASSERT_EQ(bitmap.Width(), 3);
  ASSERT_EQ(bitmap.Height(), 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 3; ++x) ASSERT_EQ(PixelOf(bitmap, x, y), Distinct(3 - y, x)) << x << "," << y;
  RotateRight(&bitmap);
  ASSERT_EQ(bitmap.Width(), 4);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) ASSERT_EQ(PixelOf(bitmap, x, y), Distinct(x, y));
  RotateRight(&bitmap);
  EXPECT_EQ(PixelOf(bitmap, 0, 0), Distinct(0, 2));  // the old bottom-left corner
}

TEST_F(ImgUtilBitmapTest, FourLeftTurnsRestoreThePicture) {
  TBitmap bitmap(7, 2, pf24bit);
  PaintDistinct(bitmap);
  // Also while the bitmap is selected into its canvas's DC, as painting code leaves it.
  ASSERT_NE(bitmap.Canvas()->Handle(), nullptr);
  for (int i = 0; i < 4; ++i) RotateLeft(&bitmap);
  ASSERT_EQ(bitmap.Width(), 7);
  ASSERT_EQ(bitmap.Height(), 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 7; ++x) ASSERT_EQ(PixelOf(bitmap, x, y), Distinct(x, y));
}

TEST_F(ImgUtilBitmapTest, EmptyAndNullBitmapsAreHarmless) {
  TBitmap empty;
  MakeGray(&empty);
  ReplaceKeyColor(&empty, 0);
  MirrorBitmap(&empty);
  FlipBitmap(&empty);
  RotateLeft(&empty);
  RotateRight(&empty);
  EXPECT_TRUE(empty.Empty());
  MakeGray(nullptr);
  ReplaceKeyColor(nullptr, 0);
  MirrorBitmap(nullptr);
  FlipBitmap(nullptr);
  RotateLeft(nullptr);
  RotateRight(nullptr);
}

}  // namespace
