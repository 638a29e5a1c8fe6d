// Skinned progress bars and up-down controls on raw common-control windows: the skin's
// frames where they belong, filling in proportion (a vertical bar from the bottom), the
// state of each up-down half, and the controls still counting.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <utility>

#include "skin/controls/WinSubClassProgress.h"
#include "skin/controls/WinSubClassUpDown.h"
#include "skin/data/SkinDraw.h"
#include "tests/skin_controls_other/OtherControlsFixtures.h"

namespace {

class SkinnedRanges : public TOtherSkinRawTest {};

// ---- Progress ----

TEST_F(SkinnedRanges, AHorizontalProgressBarShowsFrameTwoOverItsFilledPart) {
  struct Case {
    int low, high, position, filled;  // filled: pixels of a 120-pixel bar
  };
  // At 0 only frame 1; at the maximum frame 2 covers the bar; a range that does not start
  // at 0 fills in proportion to where the position lies in it.
  const Case cases[] = {{0, 100, 0, 0}, {0, 100, 100, 120}, {0, 100, 50, 60}, {0, 100, 25, 30},
                        {10, 20, 15, 60}, {0, 3, 1, 40},     {0, 100, 150, 120}};
  const HWND bar = host->Add(PROGRESS_CLASSW, 0, 10, 10, 120, 18);
  TSkinProgress skinned(nullptr);
  skinned.InitSkinHandle(bar, skin, &list, nullptr);
  const TDataSkinBorder& progress = *skin->Progress;
  ASSERT_EQ(progress.Style, 0);
  ASSERT_EQ(progress.FrameCount, 2);
  for (const Case& c : cases) {
    SendMessageW(bar, PBM_SETRANGE32, static_cast<WPARAM>(c.low), c.high);
    SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(c.position), 0);
    EXPECT_EQ(skinned.FilledLength(120), c.filled) << c.position;
    auto want = ExpectedFrame(progress, 2, 1, 120, 18, Face());
    if (c.filled > 0)
      DrawNineSlice(want->Dc(), RECT{0, 0, c.filled, 18}, progress.Bitmap.get(), false, progress.Tile != 0,
                    progress.Trans == 1, 2, 2, progress.Margins);
    EXPECT_TRUE(SamePixels(*PaintOf(bar), RECT{0, 0, 120, 18}, *want)) << c.low << ".." << c.high << " @" << c.position;
  }
}

TEST_F(SkinnedRanges, AVerticalProgressBarIsTheHorizontalOneTurnedUprightFillingFromTheBottom) {
  const HWND across = host->Add(PROGRESS_CLASSW, 0, 10, 10, 100, 20);
  const HWND upright = host->Add(PROGRESS_CLASSW, PBS_VERTICAL, 140, 10, 20, 100);
  TSkinProgress skinnedAcross(nullptr), skinnedUpright(nullptr);
  skinnedAcross.InitSkinHandle(across, skin, &list, nullptr);
  skinnedUpright.InitSkinHandle(upright, skin, &list, nullptr);
  for (const int position : {0, 30, 100}) {
    SendMessageW(across, PBM_SETPOS, static_cast<WPARAM>(position), 0);
    SendMessageW(upright, PBM_SETPOS, static_cast<WPARAM>(position), 0);
    auto h = PaintOf(across);
    auto v = PaintOf(upright);
    for (int y = 0; y < 100; ++y)
      for (int x = 0; x < 20; ++x)
        ASSERT_EQ(v->At(x, y), h->At(99 - y, x)) << "at " << x << "," << y << " position " << position;
  }
  // At 30 % the bottom shows the filled frame, the top does not.
  SendMessageW(upright, PBM_SETPOS, 30, 0);
  auto v = PaintOf(upright);
  auto empty = std::make_unique<TCapture>(20, 100);
  SendMessageW(upright, PBM_SETPOS, 0, 0);
  empty = PaintOf(upright);
  EXPECT_GT(DifferingPixels(*v, *empty, RECT{0, 75, 20, 95}), 100);
  EXPECT_EQ(DifferingPixels(*v, *empty, RECT{0, 5, 20, 60}), 0);
}

TEST_F(SkinnedRanges, StyleOneDrawsTheChunkImageOverTheFilledLength) {
  TDataSkinBorder& progress = *skin->Progress;
  const TDataSkinObject& chunk = *skin->ProgressChunk;
  ASSERT_EQ(chunk.Tile, 1);
  struct Restore {
    TDataSkinBorder& element;
    int style, frames;
    ~Restore() {
      element.Style = style;
      element.FrameCount = frames;
    }
  } restore{progress, progress.Style, progress.FrameCount};
  progress.Style = 1;
  progress.FrameCount = 1;
  // A bar whose inner height is the chunk's own height: the chunk is tiled unscaled.
  const int chunkHeight = chunk.Bitmap->Height();
  const int height = chunkHeight + progress.Margins.top + progress.Margins.bottom;
  const HWND bar = host->Add(PROGRESS_CLASSW, 0, 10, 10, 128, height);
  TSkinProgress skinned(nullptr);
  skinned.InitSkinHandle(bar, skin, &list, nullptr);
  SendMessageW(bar, PBM_SETPOS, 50, 0);
  auto got = PaintOf(bar);
  const int innerWidth = 128 - progress.Margins.left - progress.Margins.right;
  const int filled = innerWidth / 2;
  HDC source = chunk.Bitmap->Canvas()->Handle();
  const int chunkWidth = chunk.Bitmap->Width() / std::max(chunk.FrameCount, 1);
  for (int y = 0; y < chunkHeight; ++y)
    for (int x = 0; x < filled; ++x)
      ASSERT_EQ(got->At(progress.Margins.left + x, progress.Margins.top + y), GetPixel(source, x % chunkWidth, y))
          << x << "," << y;
  // Past the filled length the empty trough shows.
  SendMessageW(bar, PBM_SETPOS, 0, 0);
  auto empty = PaintOf(bar);
  const int left = progress.Margins.left;
  EXPECT_EQ(DifferingPixels(*got, *empty, RECT{left + filled, 0, 128, height}), 0);
  EXPECT_GT(DifferingPixels(*got, *empty, RECT{left, 0, left + filled, height}), filled);
}

TEST_F(SkinnedRanges, WithoutTheProgressImageTheBarPaintsItself) {
  const HWND bar = host->Add(PROGRESS_CLASSW, 0, 10, 10, 100, 18);
  TSkinProgress skinned(nullptr);
  skinned.InitSkinHandle(bar, skin, &list, nullptr);
  std::unique_ptr<TDataSkinBorder> saved = std::move(skin->Progress);
  TMessage paint;
  paint.Msg = WM_PAINT;
  EXPECT_TRUE(skinned.BeforeProc(paint));
  skin->Progress = std::move(saved);
  EXPECT_FALSE(skinned.BeforeProc(paint));  // with the image back, painted instead
}

// ---- Up-down ----

class SkinnedUpDown : public SkinnedRanges {
 protected:
  // The ring (3 pixels, the glyph left out) of each half matches the frame it should show.
  void ExpectHalves(HWND window, const TDataSkinBorder& element, bool horizontal, int first, int second) {
    RECT rect{};
    GetClientRect(window, &rect);
    auto got = PaintOf(window);
    const int w = rect.right, h = rect.bottom;
    const RECT a = horizontal ? RECT{0, 0, w / 2, h} : RECT{0, 0, w, h / 2};
    const RECT b = horizontal ? RECT{w / 2, 0, w, h} : RECT{0, h / 2, w, h};
    EXPECT_TRUE(SamePixels(*got, a, *ExpectedFrame(element, 8, first, a.right - a.left, a.bottom - a.top, Face()), 3))
        << "first half, frame " << first;
    EXPECT_TRUE(SamePixels(*got, b, *ExpectedFrame(element, 8, second, b.right - b.left, b.bottom - b.top, Face()), 3))
        << "second half, frame " << second;
  }
};

TEST_F(SkinnedUpDown, AVerticalUpDownCountsAndShowsEachHalfInItsState) {
  const HWND spin = host->Add(UPDOWN_CLASSW, 0, 10, 10, 18, 40);
  SendMessageW(spin, UDM_SETRANGE32, 0, 10);
  SendMessageW(spin, UDM_SETPOS32, 0, 5);
  TSkinUpDown skinned(nullptr);
  skinned.InitSkinHandle(spin, skin, &list, nullptr);
  const TDataSkinBorder& element = *skin->UpDownVert;
  ASSERT_EQ(element.FrameCount, 8);
  ExpectHalves(spin, element, false, 1, 5);  // up normal, down normal
  SendMessageW(spin, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(9, 4));
  ExpectHalves(spin, element, false, 2, 5);  // up pressed
  SendMessageW(spin, WM_LBUTTONUP, 0, MAKELPARAM(9, 4));
  EXPECT_EQ(SendMessageW(spin, UDM_GETPOS32, 0, 0), 6);
  SendMessageW(spin, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(9, 35));
  ExpectHalves(spin, element, false, 1, 6);  // down pressed
  SendMessageW(spin, WM_LBUTTONUP, 0, MAKELPARAM(9, 35));
  EXPECT_EQ(SendMessageW(spin, UDM_GETPOS32, 0, 0), 5);
  SendMessageW(spin, WM_MOUSEMOVE, 0, MAKELPARAM(9, 35));
  ExpectHalves(spin, element, false, 1, 8);  // down hot
  SendMessageW(spin, WM_MOUSELEAVE, 0, 0);
  ExpectHalves(spin, element, false, 1, 5);
  EnableWindow(spin, FALSE);
  ExpectHalves(spin, element, false, 3, 7);  // both disabled
}

TEST_F(SkinnedUpDown, AHorizontalUpDownUsesTheHorizontalElement) {
  const HWND spin = host->Add(UPDOWN_CLASSW, UDS_HORZ, 10, 10, 40, 18);
  SendMessageW(spin, UDM_SETRANGE32, 0, 10);
  SendMessageW(spin, UDM_SETPOS32, 0, 5);
  TSkinUpDown skinned(nullptr);
  skinned.InitSkinHandle(spin, skin, &list, nullptr);
  const TDataSkinBorder& element = *skin->UpDownHorz;
  ExpectHalves(spin, element, true, 1, 5);  // left: S + 4*2 - 8, right: S + 4*3 - 8
  SendMessageW(spin, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(35, 9));
  ExpectHalves(spin, element, true, 1, 6);
  SendMessageW(spin, WM_LBUTTONUP, 0, MAKELPARAM(35, 9));
  EXPECT_EQ(SendMessageW(spin, UDM_GETPOS32, 0, 0), 6);
}

TEST_F(SkinnedUpDown, HorzModeLaysAVerticalControlOutSideways) {
  const HWND spin = host->Add(UPDOWN_CLASSW, 0, 10, 10, 16, 40);
  TSkinUpDown skinned(nullptr);
  skinned.HorzMode = 1;
  skinned.InitSkinHandle(spin, skin, &list, nullptr);
  // The halves are narrower than the glyphs: compare the top and bottom edge rows.
  auto got = PaintOf(spin);
  const int w = got->Width(), h = got->Height();
  ASSERT_EQ(w, 16);  // the system keeps a vertical up-down at its own width
  for (const int half : {0, 1}) {
    auto want = ExpectedFrame(*skin->UpDownHorz, 8, half == 0 ? 1 : 5, w / 2, h, Face());
    for (const int y : {0, 1, h - 2, h - 1})
      for (int x = 0; x < w / 2; ++x)
        EXPECT_EQ(got->At(half * (w / 2) + x, y), want->At(x, y)) << half << ": " << x << "," << y;
  }
}

TEST_F(SkinnedUpDown, WithoutTheElementEachHalfIsAnOutlinedFaceWithASmallArrow) {
  const HWND spin = host->Add(UPDOWN_CLASSW, 0, 10, 10, 18, 40);
  TSkinUpDown skinned(nullptr);
  skinned.InitSkinHandle(spin, skin, &list, nullptr);
  std::unique_ptr<TDataSkinBorder> saved = std::move(skin->UpDownVert);
  auto normal = PaintOf(spin);
  SendMessageW(spin, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(9, 4));
  auto pressed = PaintOf(spin);
  SendMessageW(spin, WM_LBUTTONUP, 0, MAKELPARAM(9, 4));
  skin->UpDownVert = std::move(saved);
  // (The system keeps a vertical up-down at its own width.)
  const int w = normal->Width(), h = normal->Height();
  const COLORREF outline = ColorToRGB(skin->ButtonDkShadowColour);
  EXPECT_EQ(normal->At(0, 0), outline);
  EXPECT_EQ(normal->At(w - 1, h / 2 - 1), outline);
  EXPECT_EQ(normal->At(0, h / 2), outline);
  EXPECT_EQ(normal->At(1, 1), Face());
  EXPECT_EQ(pressed->At(1, 1), ColorToRGB(skin->ButtonShadowColour));
  EXPECT_EQ(pressed->At(1, h / 2 + 1), Face());
  // The arrows: something other than face and outline inside each half.
  for (const int top : {0, h / 2}) {
    int marks = 0;
    for (int y = top + 2; y < top + h / 2 - 2; ++y)
      for (int x = 2; x < w - 2; ++x) marks += normal->At(x, y) != Face();
    EXPECT_GT(marks, 5) << top;
  }
}

}  // namespace
