#include <gtest/gtest.h>

#include <windows.h>

#include <array>
#include <cstring>
#include <vector>

#include "framework/ResourceCount.h"
#include "skin/data/SkinDraw.h"
#include "tests/skin_image/GdiSurface.h"

namespace {

constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr COLORREF kInk = RGB(30, 60, 90);

std::vector<RECT> RectsOf(HRGN region) {
  const DWORD size = GetRegionData(region, 0, nullptr);
  std::vector<uint8_t> bytes(size);
  auto* data = reinterpret_cast<RGNDATA*>(bytes.data());
  if (size == 0 || GetRegionData(region, size, data) != size) return {};
  const RECT* rects = reinterpret_cast<const RECT*>(data->Buffer);
  return {rects, rects + data->rdh.nCount};
}

bool Same(const std::vector<RECT>& a, const std::vector<RECT>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (!EqualRect(&a[i], &b[i])) return false;
  return true;
}

// The bitmap is read while selected nowhere, as GetDIBits requires.
template <class Paint>
gdi::Region RegionOf(int w, int h, Paint paint, int dx, int dy, int tolerance = 1) {
  GdiSurface surface(w, h);
  surface.Paint(paint);
  // Deselect by copying into a bitmap of its own.
  gdi::Dib32 copy = gdi::CreateDib32(w, h);
  std::memcpy(copy.bits, surface.Bits(), 4 * static_cast<size_t>(w) * h);
  return BitmapToRegion(copy.bitmap.Get(), dx, dy, tolerance, tolerance, tolerance,
                        kSkinKeyColour);
}

class SkinRegionTest : public ::testing::Test {
 protected:
  void SetUp() override { baseline_ = GdiObjectCount(); }
  void TearDown() override { EXPECT_EQ(GdiObjectCount(), baseline_); }

 private:
  int64_t baseline_ = 0;
};

TEST_F(SkinRegionTest, AMagentaMiddlePixelGivesTwoRectangles) {
  const gdi::Region region = RegionOf(5, 1, [](int x, int) { return x == 2 ? kMagenta : kInk; }, 0, 0);
  ASSERT_TRUE(region);
  EXPECT_TRUE(Same(RectsOf(region.Get()), {{0, 0, 2, 1}, {3, 0, 5, 1}}));
}

TEST_F(SkinRegionTest, RoundedCornersAreCutAwayAndOffsetsApply) {
  // A 6 x 4 window picture whose two top corners are magenta (2 pixels on row 0, 1 on row 1).
  auto paint = [](int x, int y) {
    const bool corner = (y == 0 && (x < 2 || x > 3)) || (y == 1 && (x == 0 || x == 5));
    return corner ? kMagenta : kInk;
  };
  const gdi::Region region = RegionOf(6, 4, paint, 10, 20);
  ASSERT_TRUE(region);
  EXPECT_TRUE(Same(RectsOf(region.Get()), {{12, 20, 14, 21}, {11, 21, 15, 22}, {10, 22, 16, 24}}));
  RECT box{};
  EXPECT_EQ(GetRgnBox(region.Get(), &box), COMPLEXREGION);
  EXPECT_TRUE(EqualRect(&box, std::array<RECT, 1>{{{10, 20, 16, 24}}}.data()));
}

TEST_F(SkinRegionTest, OnlyKeyPixelsGiveAnEmptyRegion) {
  const gdi::Region region = RegionOf(7, 3, [](int, int) { return kMagenta; }, 0, 0);
  ASSERT_TRUE(region);
  RECT box{};
  EXPECT_EQ(GetRgnBox(region.Get(), &box), NULLREGION);
}

TEST_F(SkinRegionTest, TheToleranceAcceptsNearKeyColours) {
  // (255, 1, 255) is within tolerance 1; (254, 0, 255) is not (the range only goes up).
  auto paint = [](int x, int) { return x == 0 ? RGB(255, 1, 255) : x == 1 ? RGB(254, 0, 255) : kMagenta; };
  const gdi::Region region = RegionOf(3, 1, paint, 0, 0);
  EXPECT_TRUE(Same(RectsOf(region.Get()), {{1, 0, 2, 1}}));
  const gdi::Region strict = RegionOf(3, 1, paint, 0, 0, 0);
  EXPECT_TRUE(Same(RectsOf(strict.Get()), {{0, 0, 2, 1}}));
}

TEST_F(SkinRegionTest, ManyRectanglesAreUnitedAcrossBatches) {
  // A checkerboard of 120 x 60: 3,600 rectangles, more than one batch of 2,000.
  auto paint = [](int x, int y) { return (x + y) % 2 == 0 ? kMagenta : kInk; };
  const gdi::Region region = RegionOf(120, 60, paint, -3, 4);
  ASSERT_TRUE(region);
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 120; ++x)
      ASSERT_EQ(PtInRegion(region.Get(), x - 3, y + 4) != FALSE, (x + y) % 2 != 0) << x << "," << y;
  EXPECT_EQ(RectsOf(region.Get()).size(), 3600u);
}

TEST_F(SkinRegionTest, PixelViewsWorkWithoutABitmap) {
  const uint8_t pixels[2 * 4] = {255, 0, 255, 0, 1, 2, 3, 0};  // magenta, then ink
  const gdi::Region region =
      RegionFromPixels(ConstBgra32View{pixels, 8, 2, 1}, 0, 0, 1, 1, 1, kSkinKeyColour);
  EXPECT_TRUE(Same(RectsOf(region.Get()), {{1, 0, 2, 1}}));
  EXPECT_FALSE(BitmapToRegion(nullptr, 0, 0, 1, 1, 1, kSkinKeyColour));
}

TEST_F(SkinRegionTest, TheCallerOwnsTheRegionAndCanHandItOver) {
  const int64_t regions = ResourceCount(TResourceKind::Region);
  gdi::Region region = RegionOf(3, 3, [](int, int) { return kInk; }, 0, 0);
  EXPECT_EQ(ResourceCount(TResourceKind::Region), regions + 1);
  const HRGN handed = region.Release();  // as after a successful SetWindowRgn
  EXPECT_EQ(ResourceCount(TResourceKind::Region), regions);
  DeleteObject(handed);
}

}  // namespace
