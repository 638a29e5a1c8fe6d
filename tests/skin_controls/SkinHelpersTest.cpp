// The free helpers of the skinned controls: by-name properties, window text, the state
// frame order, caption splitting, element frames and strip cells, arrows, the atom.
#include <gtest/gtest.h>

#include <memory>

#include "skin/controls/WinSubClassButtons.h"
#include "skin/controls/WinSubClassHelpers.h"
#include "skin/data/SkinElements.h"
#include "tests/skin_controls/SkinControlsSupport.h"

namespace {

TEST(PropByName, ReadsAndWritesPublishedPropertiesOfEachKind) {
  TControlsForm view;
  TButton* b = view.button;
  b->SetTag(7);
  EXPECT_EQ(GetOrdPropByName(b, "Tag"), 7);
  EXPECT_EQ(GetOrdPropByName(b, "Caption"), -1) << "not an integer";
  EXPECT_EQ(GetOrdPropByName(b, "NoSuchThing"), -1);
  EXPECT_EQ(GetOrdPropByName(nullptr, "Tag"), -1);
  EXPECT_EQ(GetEnumPropByName(b, "NoSuchThing"), "");
  SetPropByName(b, "Default", "true");
  EXPECT_TRUE(b->Default());
  std::string value = GetEnumPropByName(b, "Default");
  for (char& c : value) c = static_cast<char>(tolower(c));
  EXPECT_EQ(value, "true");
  EXPECT_EQ(GetTextPropByName(b, "Caption"), L"监视全部硬盘");
  EXPECT_EQ(GetTextPropByName(b, "Tag"), L"");
  EXPECT_EQ(GetObjectPropByName(b, "Font", TFont::StaticClass()), b->Font());
  EXPECT_EQ(GetObjectPropByName(b, "Font", TBitmap::StaticClass()), nullptr);
  SetPropByName(b, "Tag", "42");
  EXPECT_EQ(b->Tag(), 42);
  SetPropByName(b, "Tag", "4x2");
  EXPECT_EQ(b->Tag(), 42) << "not a number: unchanged";
  SetPropByName(b, "Caption", "abc");
  EXPECT_EQ(b->Caption(), L"abc");
  SetPropByName(b, "Default", "maybe");
  EXPECT_TRUE(b->Default()) << "no such identifier: unchanged";
  SetPropByName(b, "Font", "x");  // an object: ignored
  SetPropByName(nullptr, "Tag", "1");
}

TEST(WindowText, WideTextAndPopupWindows) {
  TControlsForm view;
  EXPECT_EQ(GetWindowTextWide(view.button->Handle()), L"监视全部硬盘");
  EXPECT_FALSE(IsPopupWindow(view.button->Handle()));
  const HWND popup = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  EXPECT_TRUE(IsPopupWindow(popup));
  DestroyWindow(popup);
}

TEST(StateFrame, PrecedenceIsDisabledPressedHotFocusedNormal) {
  struct Case {
    uint8_t mouse, focused, enabled;
    bool isDefault;
    int frame;
  };
  const Case cases[] = {{0, 0, 1, false, 1}, {kMouseHot, 0, 1, false, 4},       {kMousePressed | kMouseHot, 1, 1, true, 2},
                        {0, 1, 1, false, 5}, {0, 0, 1, true, 5},                {kMouseHot, 1, 1, true, 4},
                        {kMousePressed, 1, 0, true, 3}, {kMouseHot, 0, 0, false, 3}};
  TSkinButton b(nullptr);
  for (const Case& c : cases) {
    b.MouseState = c.mouse;
    b.Focused = c.focused;
    b.Enabled = c.enabled;
    EXPECT_EQ(b.StateFrameIndex(c.isDefault), c.frame) << int(c.mouse) << int(c.focused) << int(c.enabled);
  }
}

TEST(Caption, OnlyTheFirstDoubleBarBreaksTheLine) {
  EXPECT_EQ(SplitCaption(L"a||b||c"), L"a\r\nb||c");
  EXPECT_EQ(SplitCaption(L"plain"), L"plain");
  EXPECT_EQ(SplitCaption(L"||"), L"\r\n");
  EXPECT_EQ(SplitCaption(L""), L"");
}

TEST(Drawing, InvertedRectanglesDrawNothing) {
  TCapture c(20, 20);
  TDataSkinObject element;
  element.Bitmap = std::make_unique<TBitmap>(8, 4);
  element.Bitmap->Canvas()->Brush()->SetColor(clRed);
  element.Bitmap->Canvas()->FillRect({0, 0, 8, 4});
  DrawElementFrame(nullptr, c.Dc(), {10, 10, 5, 15}, 2, 1, &element);
  DrawStripCellBlit(nullptr, c.Dc(), {10, 15, 15, 10}, 2, 1, element.Bitmap.get());
  DrawStripCellDC(nullptr, c.Dc(), {10, 15, 15, 10}, 2, 1, element.Bitmap.get());
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) ASSERT_EQ(c.At(x, y), RGB(1, 2, 3));
  DrawElementFrame(nullptr, c.Dc(), {2, 2, 6, 6}, 2, 1, &element);
  EXPECT_EQ(c.At(3, 3), RGB(255, 0, 0));
  EXPECT_EQ(c.At(7, 7), RGB(1, 2, 3));
}

TEST(Drawing, StripCellsLeaveTheKeyColourOut) {
  // Two cells: the first blue with a magenta middle column, the second green.
  TBitmap strip(4, 2);
  strip.Canvas()->Brush()->SetColor(clBlue);
  strip.Canvas()->FillRect({0, 0, 2, 2});
  strip.Canvas()->Brush()->SetColor(clLime);
  strip.Canvas()->FillRect({2, 0, 4, 2});
  strip.Canvas()->SetPixel(1, 0, static_cast<TColor>(0xFF00FF));
  strip.Canvas()->SetPixel(1, 1, static_cast<TColor>(0xFF00FF));
  for (int variant = 0; variant < 3; ++variant) {
    TCapture c(8, 8);
    const RECT cell{0, 0, 4, 4};
    if (variant == 0) DrawStripCellBlit(nullptr, c.Dc(), cell, 2, 1, &strip);
    if (variant == 1) DrawStripCellDC(nullptr, c.Dc(), cell, 2, 1, &strip);
    if (variant == 2) {
      TCanvas canvas;
      canvas.SetHandle(c.Dc());
      DrawStripCell(nullptr, &canvas, cell, 2, 1, &strip);
      canvas.SetHandle(nullptr);
    }
    EXPECT_EQ(c.At(0, 0), RGB(0, 0, 255)) << variant;
    EXPECT_EQ(c.At(3, 3), RGB(1, 2, 3)) << variant << ": the key colour stays out";
    EXPECT_EQ(c.At(5, 5), RGB(1, 2, 3)) << variant;
    DrawStripCellBlit(nullptr, c.Dc(), {4, 4, 8, 8}, 2, 2, &strip);
    EXPECT_EQ(c.At(6, 6), RGB(0, 255, 0)) << variant;
  }
}

TEST(Drawing, SmallArrowsFollowTheirSegments) {
  auto drawn = [](int direction) {
    auto c = std::make_unique<TCapture>(30, 30);
    c->Fill(RGB(255, 255, 255));
    TCanvas canvas;
    canvas.SetHandle(c->Dc());
    canvas.Pen()->SetColor(clBlack);
    DrawSmallArrow(&canvas, 15, 15, direction);
    canvas.SetHandle(nullptr);
    return c;
  };
  auto up = drawn(0);
  EXPECT_EQ(up->At(15, 15), RGB(0, 0, 0));   // (X, Y)-(X, Y-1)
  EXPECT_EQ(up->At(16, 16), RGB(0, 0, 0));   // (X+1, Y+1)-(X+4, Y+4)
  EXPECT_EQ(up->At(19, 19), RGB(255, 255, 255)) << "a line stops before its end point";
  EXPECT_EQ(up->At(12, 18), RGB(0, 0, 0));   // (X-1, Y+1)-(X-4, Y+4)
  auto down = drawn(1);
  EXPECT_EQ(down->At(15, 18), RGB(0, 0, 0));  // (X, Y+3)-(X, Y+4)
  EXPECT_EQ(down->At(16, 17), RGB(0, 0, 0));  // (X+1, Y+2)-(X+4, Y-1)
  auto none = drawn(7);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 30; ++x) ASSERT_EQ(none->At(x, y), RGB(255, 255, 255));
  auto right = drawn(2), left = drawn(3);
  EXPECT_EQ(right->At(15, 15), RGB(0, 0, 0));
  EXPECT_EQ(right->At(16, 17), RGB(0, 0, 0));
  EXPECT_EQ(left->At(14, 17), RGB(0, 0, 0));
}

TEST(Drawing, CentredTextSitsInTheMiddle) {
  TCapture c(100, 40);
  c.Fill(RGB(255, 255, 255));
  TCanvas canvas;
  canvas.SetHandle(c.Dc());
  canvas.Font()->SetColor(clBlack);
  DrawCentredText(&canvas, {0, 0, 100, 40}, L"WW", 2, true);
  canvas.SetHandle(nullptr);
  int minX = 100, maxX = -1, minY = 40, maxY = -1;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 100; ++x)
      if (c.At(x, y) != RGB(255, 255, 255)) {
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
      }
  ASSERT_GE(maxX, 0);
  EXPECT_NEAR((minX + maxX) / 2.0, 50, 3);
  EXPECT_NEAR((minY + maxY) / 2.0, 20, 4);
}

TEST(Drawing, CopyBitmapTakesSizeFormatAndPicture) {
  TBitmap source(5, 3, pf32bit);
  source.Canvas()->Brush()->SetColor(clBlue);
  source.Canvas()->FillRect({0, 0, 5, 3});
  TBitmap dest(1, 1, pf24bit);
  CopyBitmap(&source, &dest);
  EXPECT_EQ(dest.Width(), 5);
  EXPECT_EQ(dest.Height(), 3);
  EXPECT_EQ(dest.PixelFormat(), pf32bit);
  EXPECT_EQ(dest.Canvas()->Pixel(4, 2), RGB(0, 0, 255));
  CopyBitmap(nullptr, &dest);  // nothing
}

TEST(Drawing, ImageAndTextPutTheImageBeforeTheText) {
  TCapture c(120, 30);
  c.Fill(RGB(255, 255, 255));
  TImageList images(nullptr);
  images.SetWidth(16);
  images.SetHeight(16);
  TBitmap red(16, 16);
  red.Canvas()->Brush()->SetColor(clRed);
  red.Canvas()->FillRect({0, 0, 16, 16});
  images.Add(&red, nullptr);
  TCanvas canvas;
  canvas.SetHandle(c.Dc());
  DrawImageAndText(nullptr, &canvas, {0, 0, 120, 30}, 0, L"Tab", 0, &images);
  canvas.SetHandle(nullptr);
  // Left alignment: 3 pixels of indent, the image vertically centred.
  EXPECT_EQ(c.At(3, 7), RGB(255, 0, 0));
  EXPECT_EQ(c.At(18, 22), RGB(255, 0, 0));
  EXPECT_EQ(c.At(2, 15), RGB(255, 255, 255));
  int text = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 21; x < 120; ++x) text += c.At(x, y) != RGB(255, 255, 255);
  EXPECT_GT(text, 5);
}

TEST(UnitStart, TheControlAtomNamesInstanceAndThread) {
  ASSERT_NE(ControlAtom(), 0);
  wchar_t name[64] = {};
  GlobalGetAtomNameW(ControlAtom(), name, 64);
  wchar_t expected[64];
  swprintf(expected, 64, L"ControlOfs%.8X%.8X", static_cast<unsigned>(reinterpret_cast<uintptr_t>(GetModuleHandleW(nullptr))),
           static_cast<unsigned>(GetCurrentThreadId()));
  EXPECT_STREQ(name, expected);
  EXPECT_STREQ(name, ControlAtomName());
  EXPECT_TRUE(Win32PlatformIsNT());
}

}  // namespace
