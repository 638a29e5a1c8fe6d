// The shared caption routine shows the whole text when its area is wide enough (also a
// mixed Latin/CJK text Wine draws wider than it measures), never more than its area, and
// leaves the DC's clipping as it found it.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>

#include "framework/Graphics.h"
#include "skin/controls/WinSubClassHelpers.h"
#include "tests/skin_controls/SkinControlsSupport.h"

namespace {

constexpr wchar_t kMixedText[] = L"Helvor设计,Quorren1.0";
constexpr int kWidth = 400;
constexpr int kHeight = 30;

void UseCjkFont(TCanvas& canvas) {
  canvas.Font()->SetCharset(GB2312_CHARSET);
  canvas.Font()->SetName(L"宋体");
  canvas.Font()->SetHeight(-13);
  canvas.Font()->SetColor(static_cast<TColor>(RGB(0, 0, 0)));
}

// The leftmost and rightmost columns holding a black pixel, or {-1, -1}.
std::pair<int, int> Ink(const TCapture& c) {
  int left = -1;
  int right = -1;
  for (int x = 0; x < c.Width(); ++x)
    for (int y = 0; y < c.Height(); ++y)
      if (c.At(x, y) == RGB(0, 0, 0)) {
        if (left < 0) left = x;
        right = x;
      }
  return {left, right};
}

// The text drawn by the caption routine into `area`.
std::pair<int, int> CaptionInk(const std::wstring& text, const RECT& area, UINT alignment) {
  TCapture c(kWidth, kHeight);
  c.Fill(RGB(255, 255, 255));
  TCanvas canvas;
  canvas.SetHandle(c.Dc());
  UseCjkFont(canvas);
  DrawCaptionText(nullptr, &canvas, area, alignment, true, text);
  canvas.SetHandle(nullptr);
  return Ink(c);
}

// The same text drawn unclipped, aligned the same way in the same area.
std::pair<int, int> UnclippedInk(const std::wstring& text, const RECT& area, UINT alignment) {
  TCapture c(kWidth, kHeight);
  c.Fill(RGB(255, 255, 255));
  TCanvas canvas;
  canvas.SetHandle(c.Dc());
  UseCjkFont(canvas);
  HDC dc = PrepareTextDC(&canvas);
  SetBkMode(dc, TRANSPARENT);
  RECT r = area;
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, alignment | DT_NOCLIP | DT_SINGLELINE);
  canvas.SetHandle(nullptr);
  return Ink(c);
}

TEST(SkinnedCaptionText, AWideAreaShowsTheWholeText) {
  struct Case {
    const wchar_t* text;
    UINT alignment;
  };
  const Case cases[] = {{kMixedText, DT_LEFT},    {kMixedText, DT_CENTER}, {kMixedText, DT_RIGHT},
                        {L"没有监视", DT_LEFT},   {L"Quorren1.0", DT_LEFT}, {L"Quorren1.0", DT_RIGHT}};
  const RECT area{20, 0, 360, kHeight};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "alignment " << c.alignment);
    // A right-aligned text Wine draws wider than measured overhangs the area's edge: the
    // area still bounds what shows.
    auto want = UnclippedInk(c.text, area, c.alignment);
    ASSERT_GE(want.first, area.left) << "the area is wide enough";
    want.second = std::min<int>(want.second, area.right - 1);
    EXPECT_EQ(CaptionInk(c.text, area, c.alignment), want);
  }
}

// The centred single-line routine (tab captions) shows the whole mixed text as well.
TEST(SkinnedCaptionText, CentredTextIsShownWhole) {
  const RECT area{20, 0, 360, kHeight};
  TCapture c(kWidth, kHeight);
  c.Fill(RGB(255, 255, 255));
  TCanvas canvas;
  canvas.SetHandle(c.Dc());
  UseCjkFont(canvas);
  DrawCentredText(&canvas, area, kMixedText, 2, true);
  canvas.SetHandle(nullptr);
  EXPECT_EQ(Ink(c), UnclippedInk(kMixedText, area, DT_CENTER));
}

// Tab and header items: the text after the image place is shown whole too.
TEST(SkinnedCaptionText, ItemTextIsShownWhole) {
  const RECT area{20, 0, 360, kHeight};
  TCapture c(kWidth, kHeight);
  c.Fill(RGB(255, 255, 255));
  TCanvas canvas;
  canvas.SetHandle(c.Dc());
  UseCjkFont(canvas);
  LayOutImageAndText(nullptr, &canvas, area, 0, kMixedText, SIZE{0, 0}, true, [](HDC, int, int) {});
  canvas.SetHandle(nullptr);
  // Left-aligned items start 3 pixels in.
  EXPECT_EQ(Ink(c), UnclippedInk(kMixedText, RECT{area.left + 3, 0, area.right, kHeight}, DT_LEFT));
}

TEST(SkinnedCaptionText, ANarrowAreaKeepsTheTextInside) {
  const UINT alignments[] = {DT_LEFT, DT_CENTER, DT_RIGHT};
  const RECT area{100, 0, 150, kHeight};
  for (UINT alignment : alignments) {
    SCOPED_TRACE(testing::Message() << "alignment " << alignment);
    const auto ink = CaptionInk(kMixedText, area, alignment);
    ASSERT_GE(ink.first, area.left) << "some of the text shows";
    EXPECT_LT(ink.second, area.right);
  }
}

TEST(SkinnedCaptionText, TheDcKeepsItsClipping) {
  TCapture c(kWidth, kHeight);
  c.Fill(RGB(255, 255, 255));
  TCanvas canvas;
  canvas.SetHandle(c.Dc());
  UseCjkFont(canvas);
  DrawCaptionText(nullptr, &canvas, RECT{100, 0, 150, kHeight}, DT_LEFT, true, kMixedText);
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetClipRgn(c.Dc(), region), 0) << "no clipping region left behind";
  DeleteObject(region);
  canvas.SetHandle(nullptr);
}

}  // namespace
