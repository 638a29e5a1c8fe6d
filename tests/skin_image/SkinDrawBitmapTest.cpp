#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <vector>

#include "framework/Bitmap.h"
#include "framework/Controls.h"
#include "framework/ResourceCount.h"
#include "framework/Strings.h"
#include "skin/data/SkinDraw.h"
#include "tests/skin_image/GdiSurface.h"

namespace {

constexpr COLORREF kUntouched = RGB(1, 2, 3);

class SkinDrawBitmapTest : public ::testing::Test {
 protected:
  void SetUp() override { baseline_ = GdiObjectCount(); }
  void TearDown() override { EXPECT_EQ(GdiObjectCount(), baseline_); }

 private:
  int64_t baseline_ = 0;
};

// A 24-bit picture as the element model holds them, painted through its canvas.
std::unique_ptr<TBitmap> Picture(int w, int h, COLORREF (*colour)(int, int)) {
  auto bitmap = std::make_unique<TBitmap>(w, h, pf24bit);
  const HDC dc = bitmap->Canvas()->Handle();
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) SetPixelV(dc, x, y, colour(x, y));
  return bitmap;
}

COLORREF Pieces(int x, int y) {
  if (x < 10) return RGB(128, 128, 128);  // frame 1
  x -= 10;
  const int column = x < 2 ? 0 : x < 7 ? 1 : 2;
  const int row = y < 3 ? 0 : y < 6 ? 1 : 2;
  return x == 0 && y == 0 ? RGB(255, 0, 255) : RGB(30 + 50 * column, 30 + 50 * row, 9);
}

// The framework-bitmap primitives draw exactly what the DC-level ones draw.
TEST_F(SkinDrawBitmapTest, BitmapPrimitivesMatchTheDcPrimitives) {
  const std::unique_ptr<TBitmap> picture = Picture(20, 8, Pieces);
  const RECT margins{2, 3, 3, 2};
  const RECT r{4, 5, 33, 27};
  const SkinImage image = ImageOf(picture.get());
  for (bool trans : {false, true}) {
    GdiSurface viaBitmap(40, 30), viaDc(40, 30);
    viaBitmap.Fill(kUntouched);
    viaDc.Fill(kUntouched);
    DrawNineSlice(viaBitmap.Dc(), r, picture.get(), false, trans, trans, 2, 2, margins);
    DrawNineSlice(viaDc.Dc(), r, image, false, trans, trans, 2, 2, margins);
    DrawFrameStretched(viaBitmap.Dc(), RECT{0, 0, 9, 4}, picture.get(), trans, 2, 2);
    DrawFrameStretched(viaDc.Dc(), RECT{0, 0, 9, 4}, image, trans, 2, 2);
    DrawCentredFrame(viaBitmap.Dc(), RECT{30, 0, 40, 4}, picture.get(), trans, 2, 2);
    DrawCentredFrame(viaDc.Dc(), RECT{30, 0, 40, 4}, image, trans, 2, 2);
    DrawStretchStrip(viaBitmap.Dc(), RECT{0, 27, 40, 30}, picture.get(), false, 2, 2, margins);
    DrawStretchStrip(viaDc.Dc(), RECT{0, 27, 40, 30}, image, false, 2, 2, margins);
    TransparentBlit(viaBitmap.Dc(), RECT{36, 10, 40, 14}, picture.get(), clFuchsia);
    TransparentBlit(viaDc.Dc(), RECT{36, 10, 40, 14}, image, RGB(255, 0, 255));
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 40; ++x)
        ASSERT_EQ(viaBitmap.Get(x, y), viaDc.Get(x, y)) << x << "," << y << " " << trans;
    // The magenta corner pixel: left out only when drawn transparently.
    EXPECT_EQ(viaBitmap.Get(4, 5), trans ? kUntouched : RGB(255, 0, 255));
    EXPECT_EQ(viaBitmap.Get(32, 26), RGB(130, 130, 9));
  }
}

TEST_F(SkinDrawBitmapTest, ThreeSliceDrawsOnACanvas) {
  const std::unique_ptr<TBitmap> picture =
      Picture(12, 4, [](int x, int) { return RGB(10 + 20 * x, 0, 0); });
  TBitmap target(20, 4, pf24bit);
  TCanvas* canvas = target.Canvas();
  DrawThreeSlice(canvas, RECT{0, 0, 20, 4}, picture.get(), false, false, 1, 1, RECT{3, 0, 4, 0});
  EXPECT_EQ(GetPixel(canvas->Handle(), 0, 1), RGB(10, 0, 0));
  EXPECT_EQ(GetPixel(canvas->Handle(), 8, 1), RGB(10 + 20 * 3, 0, 0));   // the middle again
  EXPECT_EQ(GetPixel(canvas->Handle(), 19, 1), RGB(10 + 20 * 11, 0, 0));
  DrawThreeSlice(nullptr, RECT{0, 0, 20, 4}, picture.get(), false, false, 1, 1, RECT{});
}

TEST_F(SkinDrawBitmapTest, BuildNineSliceHandsOverABitmapOfTheTargetsSize) {
  const std::unique_ptr<TBitmap> picture = Picture(20, 8, Pieces);
  const std::unique_ptr<TBitmap> built =
      BuildNineSlice(RECT{50, 50, 75, 61}, picture.get(), RECT{2, 3, 3, 2}, false, false, 2, 2);
  ASSERT_NE(built, nullptr);
  EXPECT_EQ(built->Width(), 25);
  EXPECT_EQ(built->Height(), 11);
  const HDC dc = built->Canvas()->Handle();
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 0, 255));  // not drawn transparently here
  EXPECT_EQ(GetPixel(dc, 24, 10), RGB(130, 130, 9));
  EXPECT_EQ(GetPixel(dc, 12, 5), RGB(80, 80, 9));
  EXPECT_EQ(BuildNineSlice(RECT{5, 5, 5, 9}, picture.get(), RECT{}, false, false, 1, 1), nullptr);
}

TEST_F(SkinDrawBitmapTest, EmptyOrNullPicturesDrawNothing) {
  TBitmap empty;
  GdiSurface target(10, 10);
  target.Fill(kUntouched);
  const RECT r{0, 0, 10, 10};
  DrawNineSlice(target.Dc(), r, &empty, false, false, false, 1, 1, RECT{});
  DrawNineSlice(target.Dc(), r, static_cast<TBitmap*>(nullptr), false, false, false, 1, 1, RECT{});
  DrawFrameStretched(target.Dc(), r, &empty, false, 1, 1);
  DrawCentredFrame(target.Dc(), r, static_cast<TBitmap*>(nullptr), false, 1, 1);
  TransparentBlit(target.Dc(), r, &empty, clFuchsia);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) ASSERT_EQ(target.Get(x, y), kUntouched);
}

TEST_F(SkinDrawBitmapTest, BitmapToRegionReadsTheRowsAsThirtyTwoBits) {
  const std::unique_ptr<TBitmap> picture =
      Picture(5, 2, [](int x, int y) { return x == 2 || y == 1 ? RGB(255, 0, 255) : RGB(0, 0, 0); });
  const gdi::Region region = BitmapToRegion(picture.get(), 1, 1, 1, 1, 1, clFuchsia);
  EXPECT_EQ(picture->PixelFormat(), pf32bit);  // the caller's bitmap keeps the new format
  ASSERT_TRUE(region);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 7; ++x) {
      const bool inside = y == 1 && (x == 1 || x == 2 || x == 4 || x == 5);
      ASSERT_EQ(PtInRegion(region.Get(), x, y) != FALSE, inside) << x << "," << y;
    }
  TBitmap empty;
  const gdi::Region none = BitmapToRegion(&empty, 0, 0, 1, 1, 1, clFuchsia);
  ASSERT_TRUE(none);
  RECT box{};
  EXPECT_EQ(GetRgnBox(none.Get(), &box), NULLREGION);
  EXPECT_FALSE(BitmapToRegion(static_cast<TBitmap*>(nullptr), 0, 0, 1, 1, 1, clFuchsia));
}

TEST_F(SkinDrawBitmapTest, BitmapToRegionOfANineSliceLeavesOutItsMagentaCorners) {
  // Two stacked 6x6 cells whose four corner pixels are the key colour, each stretched
  // or tiled to 20x12.
  const std::unique_ptr<TBitmap> piece = Picture(6, 12, [](int x, int y) {
    const int row = y % 6;
    return (x == 0 || x == 5) && (row == 0 || row == 5) ? RGB(255, 0, 255) : RGB(40, 60 + y, 80);
  });
  for (const bool tile : {false, true})
    for (const int frame : {0, 1}) {
      SCOPED_TRACE(testing::Message() << "tile " << tile << ", frame " << frame);
      const std::unique_ptr<TBitmap> built =
          BuildNineSlice(RECT{0, 0, 20, 12}, piece.get(), RECT{2, 2, 2, 2}, true, tile, 2, frame);
      ASSERT_NE(built, nullptr);
      const gdi::Region region = BitmapToRegion(built.get(), 0, 0, 1, 1, 1, clFuchsia);
      ASSERT_TRUE(region);
      for (const POINT corner : {POINT{0, 0}, POINT{19, 0}, POINT{0, 11}, POINT{19, 11}})
        EXPECT_FALSE(PtInRegion(region.Get(), corner.x, corner.y)) << corner.x << "," << corner.y;
      for (const POINT inside : {POINT{1, 0}, POINT{0, 1}, POINT{10, 6}, POINT{18, 11}})
        EXPECT_TRUE(PtInRegion(region.Get(), inside.x, inside.y)) << inside.x << "," << inside.y;
    }
}

TEST(SkinDrawShared, TheWorkBitmapGrowsAndStretchesColourOnColour) {
  TBitmap* work = SkinWorkBitmap();
  ASSERT_NE(work, nullptr);
  EXPECT_EQ(SkinWorkBitmap(), work);
  EXPECT_EQ(PrepareSkinWorkBitmap(60, 20), work);
  EXPECT_GE(work->Width(), 60);
  EXPECT_GE(work->Height(), 20);
  EXPECT_EQ(GetStretchBltMode(work->Canvas()->Handle()), COLORONCOLOR);
  PrepareSkinWorkBitmap(10, 30);  // grows in the one direction asked, never shrinks
  EXPECT_GE(work->Width(), 60);
  EXPECT_GE(work->Height(), 30);
  EXPECT_EQ(GetStretchBltMode(work->Canvas()->Handle()), COLORONCOLOR);
  ASSERT_NE(SkinWorkStrings(), nullptr);
  EXPECT_EQ(SkinWorkStrings(), SkinWorkStrings());
}

}  // namespace
