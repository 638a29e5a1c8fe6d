#include <gtest/gtest.h>

#include <windows.h>

#include "framework/ResourceCount.h"
#include "skin/image/ImgUtil.h"
#include "tests/skin_image/GdiSurface.h"

namespace {

constexpr COLORREF kUntouched = RGB(1, 2, 3);

COLORREF AsRef(int32_t colour) { return static_cast<COLORREF>(colour); }

TEST(ImgUtilColours, SystemColoursAreResolvedByTheirLowByte) {
  EXPECT_EQ(ResolveColour(static_cast<int32_t>(0x8000000F)),
            static_cast<int32_t>(GetSysColor(COLOR_BTNFACE)));
  EXPECT_EQ(ResolveColour(static_cast<int32_t>(0xFF000005)),
            static_cast<int32_t>(GetSysColor(COLOR_WINDOW)));
  EXPECT_EQ(ResolveColour(0x00123456), 0x00123456);
}

TEST(ImgUtilColours, MixColorsResolvesSystemColoursFirst) {
  const auto face = static_cast<int32_t>(GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(MixColors(static_cast<int32_t>(0x8000000F), 0, 1000), face);
  EXPECT_EQ(MixColors(0xFFFFFF, static_cast<int32_t>(0x8000000F), 0), face);
  EXPECT_EQ(MixColors(0x808080, 0x000000, 150), MixPlainColors(0x808080, 0, 150));
}

TEST(FillGradient, LeftToRightEveryColumnTakesItsEntry) {
  GdiSurface surface(20, 4);
  ASSERT_TRUE(surface.Ok());
  surface.Fill(kUntouched);
  const int32_t start = RGB(0, 0, 0);
  const int32_t end = RGB(200, 100, 50);
  FillGradient(surface.Dc(), RECT{0, 0, 20, 4}, start, end, 0);
  EXPECT_EQ(surface.Get(0, 0), AsRef(start));
  EXPECT_EQ(surface.Get(19, 3), AsRef(end));
  for (int x = 0; x < 20; ++x)
    for (int y = 0; y < 4; ++y)
      ASSERT_EQ(surface.Get(x, y), AsRef(GradientColour(20, start, end, x))) << x << "," << y;
}

TEST(FillGradient, TopToBottomEveryRowTakesItsEntry) {
  GdiSurface surface(6, 12);
  surface.Fill(kUntouched);
  const int32_t start = RGB(255, 255, 255);
  const int32_t end = RGB(10, 20, 30);
  FillGradient(surface.Dc(), RECT{1, 2, 5, 10}, start, end, 1);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 6; ++x) {
      const bool inside = x >= 1 && x < 5 && y >= 2 && y < 10;
      ASSERT_EQ(surface.Get(x, y), inside ? AsRef(GradientColour(8, start, end, y - 2)) : kUntouched)
          << x << "," << y;
    }
}

TEST(FillGradient, AClippedFillPaintsOnlyVisibleBandsInTheirUnclippedColours) {
  GdiSurface surface(30, 3);
  surface.Fill(kUntouched);
  const int32_t start = RGB(0, 50, 250);
  const int32_t end = RGB(250, 50, 0);
  IntersectClipRect(surface.Dc(), 8, 0, 17, 3);
  FillGradient(surface.Dc(), RECT{5, 0, 25, 3}, start, end, 0);
  SelectClipRgn(surface.Dc(), nullptr);
  for (int x = 0; x < 30; ++x) {
    const COLORREF expected =
        x >= 8 && x < 17 ? AsRef(GradientColour(20, start, end, x - 5)) : kUntouched;
    ASSERT_EQ(surface.Get(x, 1), expected) << x;
  }
}

TEST(FillGradient, SystemColoursAreResolved) {
  GdiSurface surface(2, 1);
  FillGradient(surface.Dc(), RECT{0, 0, 2, 1}, static_cast<int32_t>(0x8000000F),
               static_cast<int32_t>(0x80000005), 0);
  EXPECT_EQ(surface.Get(0, 0), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(surface.Get(1, 0), GetSysColor(COLOR_WINDOW));
}

TEST(FillGradient, NothingForHiddenEmptyOrUnknownDirections) {
  GdiSurface surface(10, 10);
  surface.Fill(kUntouched);
  const RECT cases[] = {{5, 5, 5, 9}, {8, 2, 3, 9}, {20, 20, 30, 30}, {-9, 0, -1, 10}};
  for (const RECT& r : cases) {
    FillGradient(surface.Dc(), r, 0, 0xFFFFFF, 0);
    FillGradient(surface.Dc(), r, 0, 0xFFFFFF, 1);
  }
  FillGradient(surface.Dc(), RECT{0, 0, 10, 10}, 0, 0xFFFFFF, 2);
  FillGradient(surface.Dc(), RECT{0, 0, 10, 10}, 0, 0xFFFFFF, -1);
  FillGradient(nullptr, RECT{0, 0, 10, 10}, 0, 0xFFFFFF, 0);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) ASSERT_EQ(surface.Get(x, y), kUntouched) << x << "," << y;
}

TEST(FillGradient, AHugeRectangleNeedsNoHugeTableAndPaintsTheVisiblePart) {
  GdiSurface surface(4, 1);
  const LONG huge = 0x3FFFFFFF;
  FillGradient(surface.Dc(), RECT{0, 0, huge, 1}, 0, RGB(255, 0, 0), 0);
  EXPECT_EQ(surface.Get(0, 0), RGB(0, 0, 0));
  EXPECT_EQ(surface.Get(3, 0), AsRef(GradientColour(huge, 0, RGB(255, 0, 0), 3)));
}

TEST(FillGradient, BrushesAreFreedAndCounted) {
  GdiSurface surface(16, 16);
  const int64_t before = GdiObjectCount();
  const int64_t brushes = ResourceTotalCreated(TResourceKind::Brush);
  FillGradient(surface.Dc(), RECT{0, 0, 16, 16}, 0, 0xFFFFFF, 1);
  EXPECT_EQ(GdiObjectCount(), before);
  EXPECT_GT(before, 0);  // the surface's own bitmap and DC
  EXPECT_EQ(ResourceTotalCreated(TResourceKind::Brush), brushes + 16);
}

}  // namespace
