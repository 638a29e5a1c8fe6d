#include <gtest/gtest.h>

#include <windows.h>

#include <functional>

#include "framework/ResourceCount.h"
#include "skin/data/SkinDraw.h"
#include "tests/skin_image/GdiSurface.h"

namespace {

constexpr COLORREF kUntouched = RGB(1, 2, 3);
constexpr COLORREF kMagenta = RGB(255, 0, 255);

// Every test leaves the GDI object count where it found it.
class SkinDrawTest : public ::testing::Test {
 protected:
  void SetUp() override { baseline_ = GdiObjectCount(); }
  void TearDown() override { EXPECT_EQ(GdiObjectCount(), baseline_); }

 private:
  int64_t baseline_ = 0;
};

// A picture to draw from, selected into its own DC.
struct Picture {
  GdiSurface surface;
  Picture(int w, int h, const std::function<COLORREF(int, int)>& colour) : surface(w, h) {
    surface.Paint(colour);
  }
  SkinImage Image() const { return {surface.Dc(), surface.Width(), surface.Height()}; }
};

// Colour of piece (column band, row band) of a nine-slice frame.
COLORREF PieceColour(int column, int row) { return RGB(20 + 40 * column, 20 + 40 * row, 200); }

int Band(int v, int first, int last) { return v < first ? 0 : v < last ? 1 : 2; }

// Two frames of 12 x 10: frame 1 a grey decoy, frame 2 cut by margins L3 T2 R4 B3 into
// nine uniformly coloured pieces.
Picture NineSlicePicture() {
  return Picture(24, 10, [](int x, int y) {
    if (x < 12) return RGB(128, 128, 128);
    return PieceColour(Band(x - 12, 3, 8), Band(y, 2, 7));
  });
}
const RECT kMargins{3, 2, 4, 3};

void ExpectOutsideUntouched(const GdiSurface& s, const RECT& r) {
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x) {
      if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) continue;
      ASSERT_EQ(s.Get(x, y), kUntouched) << "outside at " << x << "," << y;
    }
}

TEST_F(SkinDrawTest, NineSlicePiecesLandWhereTheMarginsSay) {
  const Picture picture = NineSlicePicture();
  GdiSurface target(40, 30);
  target.Fill(kUntouched);
  const RECT r{5, 6, 5 + 31, 6 + 17};
  DrawNineSlice(target.Dc(), r, picture.Image(), false, false, false, 2, 2, kMargins);
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) {
      const int dx = x - r.left, dy = y - r.top;
      ASSERT_EQ(target.Get(x, y), PieceColour(Band(dx, 3, 31 - 4), Band(dy, 2, 17 - 3)))
          << dx << "," << dy;
    }
  ExpectOutsideUntouched(target, r);
}

TEST_F(SkinDrawTest, BuildNineSliceGivesAPictureOfTheTargetsSize) {
  const Picture picture = NineSlicePicture();
  gdi::Dib32 built =
      BuildNineSliceDib(RECT{100, 100, 120, 115}, picture.Image(), kMargins, false, false, 2, 2);
  ASSERT_TRUE(built);
  EXPECT_EQ(built.width, 20);
  EXPECT_EQ(built.height, 15);
  auto at = [&built](int x, int y) {
    const uint8_t* p = built.bits + 4 * (static_cast<size_t>(y) * built.width + x);
    return RGB(p[2], p[1], p[0]);
  };
  EXPECT_EQ(at(0, 0), PieceColour(0, 0));
  EXPECT_EQ(at(19, 14), PieceColour(2, 2));
  EXPECT_EQ(at(10, 7), PieceColour(1, 1));
  EXPECT_EQ(at(2, 12), PieceColour(0, 2));
  EXPECT_FALSE(BuildNineSliceDib(RECT{0, 0, 0, 5}, picture.Image(), kMargins, false, false, 2, 2));
  EXPECT_FALSE(BuildNineSliceDib(RECT{9, 0, 3, 5}, picture.Image(), kMargins, false, false, 2, 2));
}

TEST_F(SkinDrawTest, ANarrowTargetStretchesTheFrameAcrossButKeepsTopAndBottom) {
  const Picture picture = NineSlicePicture();
  GdiSurface target(6, 12);
  target.Fill(kUntouched);
  DrawNineSlice(target.Dc(), RECT{0, 0, 6, 12}, picture.Image(), false, false, false, 2, 2,
                kMargins);  // 6 < 3 + 4
  for (int y = 0; y < 12; ++y) {
    const int row = Band(y, 2, 12 - 3);  // top and bottom rows stay unscaled
    EXPECT_EQ(target.Get(0, y), PieceColour(0, row)) << y;
    EXPECT_EQ(target.Get(2, y), PieceColour(1, row)) << y;  // a kept left margin would be 3 wide
    EXPECT_EQ(target.Get(5, y), PieceColour(2, row)) << y;
  }
}

TEST_F(SkinDrawTest, FrameThreeOfFourComesFromX40To59) {
  const COLORREF frames[4] = {RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200), RGB(200, 200, 0)};
  const Picture picture(80, 5, [&frames](int x, int) { return frames[x / 20]; });
  GdiSurface target(12, 12);
  target.Fill(kUntouched);
  DrawFrameStretched(target.Dc(), RECT{1, 1, 11, 11}, picture.Image(), false, 4, 3);
  for (int y = 1; y < 11; ++y)
    for (int x = 1; x < 11; ++x) ASSERT_EQ(target.Get(x, y), frames[2]) << x << "," << y;
  ExpectOutsideUntouched(target, RECT{1, 1, 11, 11});
}

TEST_F(SkinDrawTest, ATiledCentreIsCutByTheRightAndBottomPiecesNotByItsOwnEdge) {
  // One frame 13 x 9, margins L2 T2 R3 B2: the centre piece is 8 x 5 at (2, 2).
  auto centre = [](int x, int y) { return RGB(10 + 20 * x, 10 + 30 * y, 77); };
  const Picture picture(13, 9, [&centre](int x, int y) {
    const int column = Band(x, 2, 10), row = Band(y, 2, 7);
    return column == 1 && row == 1 ? centre(x, y) : PieceColour(column, row);
  });
  GdiSurface target(25, 13);
  target.Fill(kUntouched);
  // Centre of the target: (2, 2) .. (22, 11), 20 x 9: tiles at x 2, 10, 18 and y 2, 7.
  DrawNineSlice(target.Dc(), RECT{0, 0, 25, 13}, picture.Image(), false, true, false, 1, 1,
                RECT{2, 2, 3, 2});
  for (int y = 0; y < 13; ++y)
    for (int x = 0; x < 25; ++x) {
      const int column = Band(x, 2, 22), row = Band(y, 2, 11);
      const COLORREF expected = column == 1 && row == 1
                                    ? centre(2 + (x - 2) % 8, 2 + (y - 2) % 5)
                                    : PieceColour(column, row);
      ASSERT_EQ(target.Get(x, y), expected) << x << "," << y;
    }
}

TEST_F(SkinDrawTest, TransparentNineSliceLeavesTheDestinationUnderMagenta) {
  Picture picture = NineSlicePicture();
  picture.surface.Set(12, 0, kMagenta);  // the top-left corner pixel of frame 2
  for (int y = 2; y < 7; ++y)
    for (int x = 12 + 3; x < 12 + 8; ++x) picture.surface.Set(x, y, kMagenta);  // its centre
  GdiSurface target(30, 20);
  target.Fill(kUntouched);
  const RECT r{2, 2, 28, 18};
  DrawNineSlice(target.Dc(), r, picture.Image(), false, false, true, 2, 2, kMargins);
  EXPECT_EQ(target.Get(2, 2), kUntouched);
  EXPECT_EQ(target.Get(3, 2), PieceColour(0, 0));
  for (int y = r.top + 2; y < r.bottom - 3; ++y)
    for (int x = r.left + 3; x < r.right - 4; ++x) ASSERT_EQ(target.Get(x, y), kUntouched);
  EXPECT_EQ(target.Get(r.right - 1, r.bottom - 1), PieceColour(2, 2));
  ExpectOutsideUntouched(target, r);
  // Without the flag magenta is painted like any colour.
  DrawNineSlice(target.Dc(), r, picture.Image(), false, false, false, 2, 2, kMargins);
  EXPECT_EQ(target.Get(2, 2), kMagenta);
}

TEST_F(SkinDrawTest, TransparentBlitWithoutMagentaIsAPlainCopy) {
  auto pattern = [](int x, int y) { return RGB(x * 30, y * 40, 255 - x * y); };
  const Picture picture(8, 6, pattern);
  GdiSurface keyed(12, 12), plain(12, 12);
  keyed.Fill(kUntouched);
  plain.Fill(kUntouched);
  TransparentBlit(keyed.Dc(), RECT{2, 3, 10, 9}, picture.Image(), kSkinKeyColour);
  BitBlt(plain.Dc(), 2, 3, 8, 6, picture.Image().dc, 0, 0, SRCCOPY);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 12; ++x) ASSERT_EQ(keyed.Get(x, y), plain.Get(x, y)) << x << "," << y;
  EXPECT_EQ(keyed.Get(2, 3), pattern(0, 0));
}

TEST_F(SkinDrawTest, TransparentBlitReadsFromTheOriginAndNeverPastThePicture) {
  const Picture picture(4, 3, [](int x, int y) { return x == 1 && y == 1 ? kMagenta : RGB(9, 9, 9); });
  GdiSurface target(10, 10);
  target.Fill(kUntouched);
  TransparentBlit(target.Dc(), RECT{2, 2, 10, 10}, picture.Image(), kSkinKeyColour);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) {
      const bool copied = x >= 2 && x < 6 && y >= 2 && y < 5 && !(x == 3 && y == 3);
      ASSERT_EQ(target.Get(x, y), copied ? RGB(9, 9, 9) : kUntouched) << x << "," << y;
    }
  // Another key colour works the same way.
  const Picture grey(2, 1, [](int x, int) { return x == 0 ? RGB(9, 9, 9) : RGB(50, 60, 70); });
  TransparentBlit(target.Dc(), RECT{0, 0, 2, 1}, grey.Image(), RGB(9, 9, 9));
  EXPECT_EQ(target.Get(0, 0), kUntouched);
  EXPECT_EQ(target.Get(1, 0), RGB(50, 60, 70));
}

TEST_F(SkinDrawTest, TheOlderPlatformsRasterOperationsGiveTheSameResult) {
  auto pattern = [](int x, int y) {
    return (x + 2 * y) % 3 == 0 ? kMagenta : RGB(x * 30, y * 40, 200 - x * y);
  };
  const Picture picture(8, 6, pattern);
  GdiSurface masked(12, 12), xored(12, 12);
  masked.Paint([](int x, int y) { return RGB(x * 20, 100, y * 20); });
  xored.Paint([](int x, int y) { return RGB(x * 20, 100, y * 20); });
  SetTextColor(xored.Dc(), RGB(9, 8, 7));
  SetBkColor(xored.Dc(), RGB(6, 5, 4));
  TransparentBlit(masked.Dc(), RECT{2, 3, 10, 9}, picture.Image(), kSkinKeyColour);
  TransparentBlitWithoutMaskBlt(xored.Dc(), RECT{2, 3, 10, 9}, picture.Image(), kSkinKeyColour);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 12; ++x) ASSERT_EQ(xored.Get(x, y), masked.Get(x, y)) << x << "," << y;
  EXPECT_EQ(masked.Get(2, 3), RGB(40, 100, 60));  // (0, 0) of the picture is magenta
  EXPECT_EQ(masked.Get(3, 3), pattern(1, 0));
  // The destination's colours are put back.
  EXPECT_EQ(GetTextColor(xored.Dc()), RGB(9, 8, 7));
  EXPECT_EQ(GetBkColor(xored.Dc()), RGB(6, 5, 4));
}

TEST_F(SkinDrawTest, ACentredFrameLargerThanTheTargetOverhangsEqually) {
  auto pattern = [](int x, int y) { return RGB(x * 8, y * 16, 100); };
  const Picture picture(30, 15, pattern);
  GdiSurface target(60, 60);
  target.Fill(kUntouched);
  DrawCentredFrame(target.Dc(), RECT{20, 20, 30, 30}, picture.Image(), false, 1, 1);
  // x = 20 + (10 - 30) div 2 = 10, y = 20 + (10 - 15) div 2 = 18 (toward zero).
  for (int y = 0; y < 15; ++y)
    for (int x = 0; x < 30; ++x) ASSERT_EQ(target.Get(10 + x, 18 + y), pattern(x, y));
  ExpectOutsideUntouched(target, RECT{10, 18, 40, 33});
}

TEST_F(SkinDrawTest, ACentredFrameIsTakenFromItsFrameAndKeyed) {
  const Picture picture(9, 3, [](int x, int y) {
    if (x / 3 != 1) return RGB(0, 0, 0);
    return x == 4 && y == 1 ? kMagenta : RGB(0, 99, 0);
  });
  GdiSurface target(9, 9);
  target.Fill(kUntouched);
  DrawCentredFrame(target.Dc(), RECT{0, 0, 9, 9}, picture.Image(), true, 3, 2);
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 9; ++x) {
      const bool inFrame = x >= 3 && x < 6 && y >= 3 && y < 6;
      const COLORREF expected = inFrame && !(x == 4 && y == 4) ? RGB(0, 99, 0) : kUntouched;
      ASSERT_EQ(target.Get(x, y), expected) << x << "," << y;
    }
}

// Columns 0..11 each their own colour; rows all alike.
COLORREF Column(int x) { return RGB(10 + 20 * x, 5, 40); }

TEST_F(SkinDrawTest, ThreeSliceRepeatsTheMiddleUnscaled) {
  const Picture picture(12, 6, [](int x, int) { return Column(x); });
  GdiSurface target(22, 9);
  target.Fill(kUntouched);
  DrawThreeSlice(target.Dc(), RECT{0, 0, 20, 9}, picture.Image(), false, false, 1, 1,
                 RECT{3, 0, 4, 0});
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 20; ++x) {
      const int source = x < 3 ? x : x < 16 ? 3 + (x - 3) % 5 : 8 + (x - 16);
      ASSERT_EQ(target.Get(x, y), Column(source)) << x << "," << y;
    }
  ExpectOutsideUntouched(target, RECT{0, 0, 20, 9});
}

TEST_F(SkinDrawTest, ThreeSliceOfAFrameNoWiderThanItsEndsDrawsOnlyTheEnds) {
  const Picture picture(7, 4, [](int x, int) { return Column(x); });
  for (bool trans : {true, false}) {
    GdiSurface target(20, 4);
    target.Fill(kUntouched);
    DrawThreeSlice(target.Dc(), RECT{0, 0, 20, 4}, picture.Image(), false, trans, 1, 1,
                   RECT{3, 0, 4, 0});
    for (int x = 0; x < 3; ++x) EXPECT_EQ(target.Get(x, 2), Column(x));
    for (int x = 16; x < 20; ++x) EXPECT_EQ(target.Get(x, 2), Column(3 + x - 16));
    // Between the ends nothing is drawn: transparently the destination stays, opaquely
    // it is white.
    for (int x = 3; x < 16; ++x)
      ASSERT_EQ(target.Get(x, 2), trans ? kUntouched : RGB(255, 255, 255)) << x << " " << trans;
  }
}

TEST_F(SkinDrawTest, StretchStripWholeFrameWhenWiderThanTheTarget) {
  const Picture picture(80, 5, [](int x, int) { return x < 40 ? RGB(1, 100, 1) : RGB(100, 1, 1); });
  GdiSurface target(30, 10);
  target.Fill(kUntouched);
  DrawStretchStrip(target.Dc(), RECT{2, 2, 28, 8}, picture.Image(), false, 2, 2, RECT{3, 0, 3, 0});
  for (int y = 2; y < 8; ++y)
    for (int x = 2; x < 28; ++x) ASSERT_EQ(target.Get(x, y), RGB(100, 1, 1));
  ExpectOutsideUntouched(target, RECT{2, 2, 28, 8});
}

TEST_F(SkinDrawTest, StretchStripThreePiecesOtherwise) {
  const Picture picture(12, 5, [](int x, int) { return Column(x); });
  GdiSurface target(34, 9);
  target.Fill(kUntouched);
  DrawStretchStrip(target.Dc(), RECT{2, 1, 32, 8}, picture.Image(), false, 1, 1, RECT{3, 9, 4, 9});
  for (int y = 1; y < 8; ++y) {
    for (int x = 0; x < 3; ++x) ASSERT_EQ(target.Get(2 + x, y), Column(x));
    EXPECT_EQ(target.Get(5, y), Column(3));
    EXPECT_EQ(target.Get(27, y), Column(7));
    for (int x = 0; x < 4; ++x) ASSERT_EQ(target.Get(28 + x, y), Column(8 + x));
  }
  ExpectOutsideUntouched(target, RECT{2, 1, 32, 8});
}

TEST_F(SkinDrawTest, InvertedTargetsDrawNothing) {
  const Picture picture = NineSlicePicture();
  GdiSurface target(20, 20);
  target.Fill(kUntouched);
  const RECT inverted[] = {{10, 2, 4, 9}, {2, 10, 9, 4}, {9, 9, 1, 1}};
  for (const RECT& r : inverted) {
    const SkinImage image = picture.Image();
    DrawNineSlice(target.Dc(), r, image, false, false, false, 2, 2, kMargins);
    DrawNineSlice(target.Dc(), r, image, false, true, true, 2, 2, kMargins);
    DrawThreeSlice(target.Dc(), r, image, false, false, 2, 2, kMargins);
    DrawFrameStretched(target.Dc(), r, image, false, 2, 2);
    DrawCentredFrame(target.Dc(), r, image, false, 2, 2);
    DrawStretchStrip(target.Dc(), r, image, false, 2, 2, kMargins);
    TransparentBlit(target.Dc(), r, image, kSkinKeyColour);
  }
  ExpectOutsideUntouched(target, RECT{0, 0, 0, 0});
}

// Absurd frame counts, indexes and margins, as a broken skin may give them: no crash, no
// pixel outside the target, and no GDI object left behind (checked by the fixture).
TEST_F(SkinDrawTest, AbsurdCountsIndexesAndMarginsStayInsideTheTarget) {
  const Picture picture = NineSlicePicture();
  const Picture tiny(1, 1, [](int, int) { return RGB(7, 7, 7); });
  const int counts[] = {0, -1, 1, 3, 1000, 0x7FFFFFFF};
  const int indexes[] = {-5, 0, 1, 2, 99};
  const RECT margins[] = {{-50, -50, -50, -50}, {0, 0, 0, 0}, {7, 7, 7, 7}, {1000, 0, 1000, 0},
                          {0, 1000, 0, 1000}, {0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF}};
  const RECT r{10, 10, 30, 25};
  GdiSurface target(40, 40);
  target.Fill(kUntouched);
  for (const Picture* p : {&picture, &tiny})
    for (int count : counts)
      for (int index : indexes)
        for (const RECT& m : margins)
          for (bool flag : {false, true}) {
            const SkinImage image = p->Image();
            DrawNineSlice(target.Dc(), r, image, flag, !flag, flag, count, index, m);
            DrawThreeSlice(target.Dc(), r, image, flag, flag, count, index, m);
            DrawFrameStretched(target.Dc(), r, image, flag, count, index);
            DrawStretchStrip(target.Dc(), r, image, flag, count, index, m);
          }
  ExpectOutsideUntouched(target, r);
  // An empty picture draws nothing at all.
  GdiSurface clean(40, 40);
  clean.Fill(kUntouched);
  DrawNineSlice(clean.Dc(), r, SkinImage{}, false, false, false, 1, 1, kMargins);
  DrawCentredFrame(clean.Dc(), r, SkinImage{}, false, 1, 1);
  ExpectOutsideUntouched(clean, RECT{0, 0, 0, 0});
}

}  // namespace
