// Skinned scroll bars: the geometry of stand-alone bars, the drop-down list's thumb
// arithmetic, hit-testing, the painted bar (arrows, short bars, the held thumb kept out of
// the arrows), overlays lying exactly over a memo's native bars and following them, real
// mouse presses on an overlay scrolling the memo as the native bar would, and detach.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "framework/ResourceCount.h"
#include "skin/controls/RegisterSkinControls.h"
#include "skin/controls/WinSubClassHelpers.h"
#include "skin/controls/WinSubClassScroll.h"
#include "skin/data/SkinDraw.h"
#include "tests/skin_controls/SkinControlsSupport.h"

namespace {

TSkinData* skin = nullptr;

class ScrollSkin : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { skin = LoadBuiltSkin("default").release(); }
  static void TearDownTestSuite() {
    delete skin;
    skin = nullptr;
  }
  void SetUp() override { ASSERT_NE(skin, nullptr); }
  static int Arrow() { return GetSystemMetrics(SM_CXHSCROLL); }
};

// ---- Stand-alone bar geometry ----

struct ControlBarCase {
  const char* name;
  int min, max;
  UINT page;
  int pos;
  // Expected thumb start and length, as functions of the arrow size a and usable length u.
  int (*start)(int a, int u);
  int (*size)(int a, int u);
};

TEST_F(ScrollSkin, StandAloneBarThumbGeometry) {
  constexpr int kLength = 240;
  const std::vector<ControlBarCase> cases = {
      {"tiny page keeps 8 pixels", 0, 1000, 1, 0, [](int a, int) { return a; }, [](int, int) { return 8; }},
      {"tiny page at the end", 0, 1000, 1, 1000, [](int a, int u) { return a + (u - 8); }, [](int, int) { return 8; }},
      {"min equals max", 5, 5, 1, 5, [](int a, int) { return a; }, [](int, int) { return 8; }},
      {"half page", 0, 100, 51, 0, [](int a, int) { return a; }, [](int, int u) { return u / 2; }},
      {"half page at middle", 0, 100, 51, 25, [](int a, int u) { return a + u / 4; }, [](int, int u) { return u / 2; }},
      {"no page", 0, 10, 0, 5, [](int a, int) { return a + (kLength - 3 * a) / 2; }, [](int a, int) { return a; }},
      {"no page at start", 0, 10, 0, 0, [](int a, int) { return a; }, [](int a, int) { return a; }},
  };
  HWND bar = CreateWindowExW(0, L"ScrollBar", L"", WS_POPUP | SBS_VERT, 0, 0, 16, kLength, nullptr, nullptr, nullptr,
                             nullptr);
  ASSERT_NE(bar, nullptr);
  const int a = Arrow();
  const int u = kLength - 2 * a;
  for (const ControlBarCase& c : cases) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
    info.nMin = c.min;
    info.nMax = c.max;
    info.nPage = c.page;
    info.nPos = c.pos;
    SetScrollInfo(bar, SB_CTL, &info, FALSE);
    // The system may clip the position to the page: read back what it keeps.
    SCROLLINFO kept{};
    kept.cbSize = sizeof kept;
    kept.fMask = SIF_ALL;
    GetScrollInfo(bar, SB_CTL, &kept);
    TScrollGeometry g;
    ASSERT_TRUE(ControlBarGeometry(bar, true, a, true, g)) << c.name;
    if (kept.nPos != c.pos) continue;
    EXPECT_NEAR(g.ThumbTop, c.start(a, u), 1) << c.name;
    EXPECT_NEAR(g.ThumbBottom - g.ThumbTop, c.size(a, u), 1) << c.name;
    EXPECT_EQ(g.State, 0u) << c.name;
  }
  DestroyWindow(bar);
}

// ---- Drop-down list thumb arithmetic ----

TEST(ComboListThumb, PositionsForThumbOffsets) {
  struct Case {
    int offset, track, thumb, min, max;
    UINT page;
    int expected;
  };
  const std::vector<Case> cases = {
      {0, 100, 20, 0, 99, 20, 0},
      {-30, 100, 20, 0, 99, 20, 0},
      {40, 100, 20, 0, 99, 20, 40},
      {80, 100, 20, 0, 99, 20, 80},    // the end of the track: the last page
      {500, 100, 20, 0, 99, 20, 80},   // past the bottom: nMax - nPage + 1
      {81, 100, 20, 0, 99, 20, 80},
      {40, 100, 20, 10, 109, 20, 50},  // a range that does not start at 0
      {50, 100, 10, 0, 50, 0, 25},     // no page
      {500, 100, 10, 0, 50, 0, 45},    // no page, past the end: limited by the thumb
      {10, 100, 100, 0, 99, 100, 0},   // the thumb fills the track
  };
  for (const Case& c : cases) {
    SCROLLINFO info{};
    info.nMin = c.min;
    info.nMax = c.max;
    info.nPage = c.page;
    EXPECT_EQ(TComboxScrollBar::PositionForThumb(c.offset, c.track, c.thumb, info), c.expected)
        << c.offset << " " << c.track << " " << c.page;
  }
}

// ---- Hit-testing ----

TEST(OverlayHitTest, PartsAlongTheBar) {
  TWScrollbar bar(nullptr);
  bar.ArrowSize = 16;
  bar.BarLength = 200;
  bar.ThumbStart = 50;
  bar.ThumbEnd = 80;
  struct Case {
    int a;
    int32_t part;
  };
  const std::vector<Case> cases = {{0, kPartFirstArrow},  {15, kPartFirstArrow}, {16, kPartPageBefore},
                                   {49, kPartPageBefore}, {50, kPartThumb},      {79, kPartThumb},
                                   {80, kPartPageAfter},  {183, kPartPageAfter}, {184, kPartSecondArrow},
                                   {199, kPartSecondArrow}, {-5, kPartFirstArrow}};
  for (int vertical = 0; vertical < 2; ++vertical) {
    bar.Vertical = vertical;
    for (const Case& c : cases) {
      const POINT p = vertical ? POINT{3, c.a} : POINT{c.a, 3};
      EXPECT_EQ(bar.HitTest(p), c.part) << c.a << " vertical " << vertical;
    }
  }
}

// ---- The painted bar ----

COLORREF PixelOf(TBitmap* image, int x, int y) { return GetPixel(image->Canvas()->Handle(), x, y); }

// Cell `cell` of the Scrollbar strip drawn into a face-coloured w x h picture.
std::unique_ptr<TBitmap> CellPicture(int w, int h, int cell) {
  auto picture = std::make_unique<TBitmap>(w, h, pf24bit);
  RECT all{0, 0, w, h};
  HBRUSH face = CreateSolidBrush(ColorToRGB(skin->ButtonFaceColour));
  FillRect(picture->Canvas()->Handle(), &all, face);
  DeleteObject(face);
  DrawStripCellBlit(nullptr, picture->Canvas()->Handle(), all, 23, cell, skin->Scrollbar->Bitmap.get());
  return picture;
}

int Differences(TBitmap* image, int x0, int y0, TBitmap* expected) {
  int differ = 0;
  for (int y = 0; y < expected->Height(); ++y)
    for (int x = 0; x < expected->Width(); ++x)
      if (PixelOf(image, x0 + x, y0 + y) != PixelOf(expected, x, y)) ++differ;
  return differ;
}

TEST_F(ScrollSkin, ArrowsComeFromTheStripCellsOfTheirState) {
  const int a = Arrow();
  struct Case {
    int32_t hot;
    bool pressed;
    int upCell, downCell;
  };
  const std::vector<Case> cases = {
      {kPartNone, false, 9, 13}, {kPartFirstArrow, false, 12, 13}, {kPartFirstArrow, true, 10, 13},
      {kPartSecondArrow, false, 9, 16}, {kPartSecondArrow, true, 9, 14}, {kPartThumb, false, 9, 13},
      {SB_ENDSCROLL, false, 9, 13},
  };
  for (const Case& c : cases) {
    TScrollGeometry g;
    g.Bar = {100, 100, 100 + a, 300};
    g.ThumbTop = a + 10;
    g.ThumbBottom = a + 50;
    TScrollPaintInput in;
    in.Kind = kBarVertical;
    in.ArrowSize = a;
    in.HotPart = c.hot;
    in.Pressed = c.pressed;
    in.Target = {a, 200};
    int32_t start = 0, end = 0, length = 0;
    auto image = BuildScrollBarImage(skin, g, in, start, end, length);
    ASSERT_TRUE(image);
    EXPECT_EQ(length, 200);
    EXPECT_EQ(start, a + 10);
    EXPECT_EQ(end, a + 50);
    auto up = CellPicture(image->Width(), a, c.upCell);
    auto down = CellPicture(image->Width(), a, c.downCell);
    EXPECT_EQ(Differences(image.get(), 0, 0, up.get()), 0) << c.hot << c.pressed;
    EXPECT_EQ(Differences(image.get(), 0, 200 - a, down.get()), 0) << c.hot << c.pressed;
  }
}

TEST_F(ScrollSkin, ABarShorterThanTwoArrowsDrawsTwoHalfArrows) {
  const int a = Arrow();
  const int length = a + 5;  // shorter than two arrows
  TScrollGeometry g;
  g.Bar = {0, 0, length, a};
  TScrollPaintInput in;
  in.Kind = kBarHorizontal;
  in.Vertical = false;
  in.ArrowSize = a;
  in.Target = {length, a};
  int32_t start = 0, end = 0, barLength = 0;
  auto image = BuildScrollBarImage(skin, g, in, start, end, barLength);
  ASSERT_TRUE(image);
  const int half = length / 2;
  auto left = CellPicture(half, image->Height(), 1);
  auto right = CellPicture(half, image->Height(), 5);
  EXPECT_EQ(Differences(image.get(), 0, 0, left.get()), 0);
  EXPECT_EQ(Differences(image.get(), length - half, 0, right.get()), 0);
}

TEST_F(ScrollSkin, AHeldThumbFollowsTheCursorButNeverEntersTheArrows) {
  const int a = Arrow();
  TScrollGeometry g;
  g.Bar = {0, 0, a, 300};
  g.ThumbTop = 100;
  g.ThumbBottom = 140;
  TScrollPaintInput in;
  in.Kind = kBarVertical;
  in.ArrowSize = a;
  in.HotPart = kPartThumb;
  in.Pressed = true;
  in.DragCursor = {500, 500};
  in.DragThumbStart = 100;
  in.Target = {a, 300};
  const std::vector<std::pair<int, int>> moves = {{0, 100}, {30, 130}, {-30, 70}, {-1000, a}, {1000, 300 - a - 40}};
  for (const auto& [moved, expected] : moves) {
    in.Cursor = {500, 500 + moved};
    int32_t start = 0, end = 0, length = 0;
    ASSERT_TRUE(BuildScrollBarImage(skin, g, in, start, end, length));
    EXPECT_EQ(start, expected) << moved;
    EXPECT_EQ(end - start, 40) << moved;
  }
  // Not pressed: the platform's thumb.
  in.Pressed = false;
  in.Cursor = {500, 900};
  int32_t start = 0, end = 0, length = 0;
  ASSERT_TRUE(BuildScrollBarImage(skin, g, in, start, end, length));
  EXPECT_EQ(start, 100);
}

TEST_F(ScrollSkin, NothingIsDrawnForAnInvisibleBarOrOneLargerThanTheOverlay) {
  TScrollGeometry g;
  g.Bar = {0, 0, 16, 100};
  TScrollPaintInput in;
  in.ArrowSize = 16;
  in.Target = {16, 100};
  int32_t s = 0, e = 0, l = 0;
  EXPECT_TRUE(BuildScrollBarImage(skin, g, in, s, e, l));
  in.Target = {16, 99};
  EXPECT_FALSE(BuildScrollBarImage(skin, g, in, s, e, l));
  in.Target = {16, 100};
  g.State = STATE_SYSTEM_INVISIBLE;
  EXPECT_FALSE(BuildScrollBarImage(skin, g, in, s, e, l));
  g.State = 0;
  EXPECT_FALSE(BuildScrollBarImage(nullptr, g, in, s, e, l));
}

// ---- Overlays over a memo ----

class MemoBars : public ScrollSkin {
 protected:
  void SetUp() override {
    ScrollSkin::SetUp();
    SetCursorPos(0, 0);
    view = std::make_unique<TControlsForm>();
    memo = new TMemo(view->form);
    memo->SetParent(view->form);
    memo->SetBounds(170, 45, 170, 120);
    memo->SetScrollBars(ssBoth);
    memo->SetWordWrap(false);
    memo->Lines()->BeginUpdate();
    for (int i = 0; i < 200; ++i) memo->Lines()->Add(L"line " + std::to_wstring(i) + L" 一行 with enough text to need the horizontal bar");
    memo->Lines()->EndUpdate();
    SendMessageW(memo->Handle(), EM_LINESCROLL, 0, -1000);
    PumpFor(30);
    skinned = new TSkinScrollbar(memo);
    skinned->InitScrollbars(memo, skin, &list, nullptr);
    PumpFor(30);
  }
  void TearDown() override {
    view.reset();
    PumpFor(10);
  }
  static RECT BarRect(HWND host, LONG id) {
    SCROLLBARINFO info{};
    info.cbSize = sizeof info;
    SafeGetScrollBarInfo(host, id, &info);
    return info.rcScrollBar;
  }
  static RECT WindowRectOf(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return r;
  }
  int FirstLine() const { return static_cast<int>(SendMessageW(memo->Handle(), EM_GETFIRSTVISIBLELINE, 0, 0)); }
  static void Click(POINT p) {
    SetCursorPos(p.x, p.y);
    PumpFor(20);
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, input, sizeof(INPUT));
    PumpFor(150);
  }

  std::unique_ptr<TControlsForm> view;
  TMemo* memo = nullptr;
  TSkinScrollbar* skinned = nullptr;
  TRecordingList list;
};

TEST_F(MemoBars, OverlaysLieExactlyOverTheNativeBars) {
  ASSERT_TRUE(skinned->VertBar && skinned->HorzBar);
  EXPECT_TRUE(skinned->VertBar->Shown);
  EXPECT_TRUE(skinned->HorzBar->Shown);
  const RECT vert = BarRect(memo->Handle(), OBJID_VSCROLL);
  const RECT horz = BarRect(memo->Handle(), OBJID_HSCROLL);
  const RECT vo = WindowRectOf(skinned->VertBar->Window());
  const RECT ho = WindowRectOf(skinned->HorzBar->Window());
  EXPECT_TRUE(EqualRect(&vert, &vo));
  EXPECT_TRUE(EqualRect(&horz, &ho));
  EXPECT_TRUE(IsWindowVisible(skinned->VertBar->Window()));
  // Directly above the memo in the z-order.
  HWND above = GetWindow(memo->Handle(), GW_HWNDPREV);
  EXPECT_TRUE(above == skinned->VertBar->Window() || above == skinned->HorzBar->Window());
  EXPECT_EQ(SendMessageW(memo->Handle(), SKM_QUERYSKIN, 0, 0), 1);
  // The square between the two bars takes the skin's face colour.
  RedrawWindow(memo->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  PumpFor(30);
  HDC screen = GetDC(nullptr);
  const COLORREF corner = GetPixel(screen, (vert.left + vert.right) / 2, (horz.top + horz.bottom) / 2);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(corner, ColorToRGB(skin->ButtonFaceColour));
}

TEST_F(MemoBars, TheScreenShowsTheSkinnedArrowsOverTheMemo) {
  const RECT vert = BarRect(memo->Handle(), OBJID_VSCROLL);
  const int a = Arrow();
  ScreenOf(view->form->Handle());
  PumpFor(50);
  auto up = CellPicture(vert.right - vert.left, a, 9);
  HDC screen = GetDC(nullptr);
  int differ = 0;
  for (int y = 0; y < a; ++y)
    for (int x = 0; x < vert.right - vert.left; ++x)
      if (GetPixel(screen, vert.left + x, vert.top + y) != PixelOf(up.get(), x, y)) ++differ;
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(differ, 0);
}

TEST_F(MemoBars, OverlaysFollowTheBarWhenLinesArriveAndWhenTheHostHidesAndShows) {
  const int before = skinned->VertBar->ThumbStart;
  (void)before;
  memo->Lines()->Add(L"one more line");  // the edit scrolls to the end
  PumpFor(100);
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  SafeGetScrollBarInfo(memo->Handle(), OBJID_VSCROLL, &info);
  EXPECT_GT(info.xyThumbTop, Arrow() + 5);
  EXPECT_EQ(skinned->VertBar->ThumbStart, info.xyThumbTop);
  memo->SetVisible(false);
  PumpFor(20);
  EXPECT_FALSE(IsWindowVisible(skinned->VertBar->Window()));
  EXPECT_FALSE(IsWindowVisible(skinned->HorzBar->Window()));
  memo->SetVisible(true);
  PumpFor(20);
  EXPECT_TRUE(IsWindowVisible(skinned->VertBar->Window()));
  const RECT vert = BarRect(memo->Handle(), OBJID_VSCROLL);
  const RECT vo = WindowRectOf(skinned->VertBar->Window());
  EXPECT_TRUE(EqualRect(&vert, &vo));
}

TEST_F(MemoBars, EnableSkinZeroShowsTheNativeBarsAndOneBringsTheOverlaysBack) {
  SendMessageW(memo->Handle(), SKM_ENABLESKIN, 0, 0);
  PumpFor(30);
  EXPECT_FALSE(IsWindowVisible(skinned->VertBar->Window()));
  EXPECT_FALSE(IsWindowVisible(skinned->HorzBar->Window()));
  EXPECT_EQ(SendMessageW(memo->Handle(), SKM_QUERYSKIN, 0, 0), 0);
  SendMessageW(memo->Handle(), SKM_ENABLESKIN, 1, 0);
  PumpFor(30);
  EXPECT_TRUE(IsWindowVisible(skinned->VertBar->Window()));
  const RECT vert = BarRect(memo->Handle(), OBJID_VSCROLL);
  const RECT vo = WindowRectOf(skinned->VertBar->Window());
  EXPECT_TRUE(EqualRect(&vert, &vo));
  EXPECT_EQ(SendMessageW(memo->Handle(), SKM_QUERYSKIN, 0, 0), 1);
}

TEST_F(MemoBars, ScrollMessagesSetTheHotPart) {
  SendMessageW(memo->Handle(), WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 10), 0);
  EXPECT_EQ(skinned->VertBar->HotPart, kPartThumb);
  SendMessageW(memo->Handle(), WM_VSCROLL, SB_ENDSCROLL, 0);
  EXPECT_EQ(skinned->VertBar->HotPart, SB_ENDSCROLL);
  SendMessageW(memo->Handle(), WM_HSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(skinned->HorzBar->HotPart, kPartSecondArrow);
}

TEST_F(MemoBars, RealPressesOnTheOverlayScrollAsTheNativeBarWould) {
  const RECT vert = BarRect(memo->Handle(), OBJID_VSCROLL);
  const int a = Arrow();
  const int midX = (vert.left + vert.right) / 2;
  ASSERT_EQ(FirstLine(), 0);
  // The down arrow: one line.
  Click({midX, vert.bottom - a / 2});
  EXPECT_EQ(FirstLine(), 1);
  // The up arrow: back.
  Click({midX, vert.top + a / 2});
  EXPECT_EQ(FirstLine(), 0);
  // The track below the thumb: one page.
  Click({midX, vert.bottom - a - 3});
  const int paged = FirstLine();
  EXPECT_GT(paged, 2);
  // Dragging the thumb down (within the window: under Wine a synthetic drag released
  // outside it never ends the platform's tracking loop, skinned or not).
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  SafeGetScrollBarInfo(memo->Handle(), OBJID_VSCROLL, &info);
  const POINT thumb{midX, vert.top + (info.xyThumbTop + info.xyThumbBottom) / 2};
  SetCursorPos(thumb.x, thumb.y);
  PumpFor(20);
  INPUT input[3] = {};
  input[0].type = input[1].type = input[2].type = INPUT_MOUSE;
  input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  input[1].mi.dwFlags = MOUSEEVENTF_MOVE;
  input[1].mi.dy = 40;
  input[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(3, input, sizeof(INPUT));
  PumpFor(300);
  EXPECT_GT(FirstLine(), paged + 10);
  PumpFor(50);
  EXPECT_LE(skinned->VertBar->ThumbEnd, skinned->VertBar->BarLength - a);
  EXPECT_GE(skinned->VertBar->ThumbStart, a);
  EXPECT_EQ(skinned->VertBar->Pressed, 0);
}

TSkinScrollbar* freedDuringPress = nullptr;

void CALLBACK FreeTheSkinnedObject(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  freedDuringPress->Unskin();
  delete freedDuringPress;
  freedDuringPress = nullptr;
}

void CALLBACK ReleaseTheButton(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  INPUT up{};
  up.type = INPUT_MOUSE;
  up.mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(1, &up, sizeof up);
}

TEST_F(MemoBars, TheObjectMayBeFreedWhileTheNativeBarTracksAPress) {
  const RECT vert = BarRect(memo->Handle(), OBJID_VSCROLL);
  freedDuringPress = skinned;
  // Inside the native tracking loop: first the skinned object goes (skinning stopped by a
  // timer), then the button comes up.
  SetTimer(nullptr, 0, 150, &FreeTheSkinnedObject);
  SetTimer(nullptr, 0, 400, &ReleaseTheButton);
  SetCursorPos((vert.left + vert.right) / 2, vert.bottom - Arrow() / 2);
  PumpFor(20);
  INPUT down{};
  down.type = INPUT_MOUSE;
  down.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  SendInput(1, &down, sizeof down);
  PumpFor(700);
  skinned = nullptr;
  EXPECT_EQ(freedDuringPress, nullptr);
  EXPECT_GT(FirstLine(), 0);
  EXPECT_EQ(SendMessageW(memo->Handle(), SKM_QUERYSKIN, 0, 0), 0);
}

TEST_F(MemoBars, UnskinRemovesTheOverlaysWithNoLeak) {
  const int64_t windowsWith = WindowCount();
  skinned->Unskin();
  delete skinned;
  PumpFor(20);
  EXPECT_EQ(WindowCount(), windowsWith - 2);
  EXPECT_EQ(SendMessageW(memo->Handle(), SKM_QUERYSKIN, 0, 0), 0);
  EXPECT_TRUE(list.controls.empty());
}

// ---- A stand-alone raw scroll bar control ----

TEST_F(ScrollSkin, RawScrollBarControlGetsAnOverlayOfItsSize) {
  HWND parent = CreateWindowExW(0, L"Static", L"", WS_POPUP | WS_VISIBLE, 600, 300, 200, 200, nullptr, nullptr,
                                nullptr, nullptr);
  HWND bar = CreateWindowExW(0, L"ScrollBar", L"", WS_CHILD | WS_VISIBLE | SBS_VERT, 10, 10, 20, 150, parent, nullptr,
                             nullptr, nullptr);
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  info.nMax = 100;
  info.nPage = 10;
  SetScrollInfo(bar, SB_CTL, &info, TRUE);
  TRecordingList list;
  auto* skinned = new TSkinScControl(nullptr);
  skinned->InitSkinHandle(bar, skin, &list, nullptr);
  ASSERT_TRUE(skinned->Bar);
  RECT barRect{}, overlay{};
  GetWindowRect(bar, &barRect);
  GetWindowRect(skinned->Bar->Window(), &overlay);
  EXPECT_TRUE(EqualRect(&barRect, &overlay));
  EXPECT_EQ(skinned->Bar->Vertical, 1);
  EXPECT_EQ(SendMessageW(bar, SKM_QUERYSKIN, 0, 0), 1);
  skinned->Unskin();
  delete skinned;
  EXPECT_EQ(SendMessageW(bar, SKM_QUERYSKIN, 0, 0), 0);
  DestroyWindow(parent);
}

TEST_F(ScrollSkin, DropDownListBarIsPaintedIntoTheListWindow) {
  HWND list = CreateWindowExW(WS_EX_TOPMOST, L"ListBox", L"", WS_POPUP | WS_VISIBLE | WS_VSCROLL | WS_BORDER, 600, 300,
                              150, 120, nullptr, nullptr, nullptr, nullptr);
  for (int i = 0; i < 50; ++i) SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"item"));
  TRecordingList records;
  auto* skinned = new TComboxScrollBar(nullptr);
  skinned->InitSkinHandle(list, skin, &records, nullptr);
  RedrawWindow(list, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  PumpFor(50);
  skinned->PaintWindow(nullptr);
  const RECT vert = [&] {
    SCROLLBARINFO info{};
    info.cbSize = sizeof info;
    SafeGetScrollBarInfo(list, OBJID_VSCROLL, &info);
    return info.rcScrollBar;
  }();
  const int a = Arrow();
  auto down = CellPicture(vert.right - vert.left, a, 13);
  RECT window{};
  GetWindowRect(list, &window);
  HDC dc = GetWindowDC(list);
  int differ = 0;
  for (int y = 0; y < a; ++y)
    for (int x = 0; x < vert.right - vert.left; ++x)
      if (GetPixel(dc, vert.left - window.left + x, vert.bottom - a - window.top + y) != PixelOf(down.get(), x, y)) ++differ;
  ReleaseDC(list, dc);
  EXPECT_EQ(differ, 0);
  delete skinned;
  DestroyWindow(list);
}

// One drag of the thumb of a fresh drop-down list to `toY` pixels from the bar's top (an
// absolute move: relative ones are accelerated); the list's top index afterwards, and its
// scroll information before. (The drag stays inside the list: under Wine a synthetic
// drag that leaves the captured window never gets its release.)
int DragListThumb(int toY, SCROLLINFO& info) {
  HWND list = CreateWindowExW(WS_EX_TOPMOST, L"ListBox", L"", WS_POPUP | WS_VISIBLE | WS_VSCROLL | WS_BORDER, 600, 300,
                              150, 160, nullptr, nullptr, nullptr, nullptr);
  for (int i = 0; i < 100; ++i) SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"item"));
  TRecordingList records;
  auto* skinned = new TComboxScrollBar(nullptr);
  skinned->InitSkinHandle(list, skin, &records, nullptr);
  PumpFor(50);
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  GetScrollInfo(list, SB_VERT, &info);
  SCROLLBARINFO bar{};
  bar.cbSize = sizeof bar;
  SafeGetScrollBarInfo(list, OBJID_VSCROLL, &bar);
  SetCursorPos((bar.rcScrollBar.left + bar.rcScrollBar.right) / 2,
               bar.rcScrollBar.top + (bar.xyThumbTop + bar.xyThumbBottom) / 2);
  PumpFor(20);
  INPUT input[3] = {};
  input[0].type = input[1].type = input[2].type = INPUT_MOUSE;
  input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  input[1].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  const int x = (bar.rcScrollBar.left + bar.rcScrollBar.right) / 2;
  input[1].mi.dx = MulDiv(x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
  input[1].mi.dy = MulDiv(bar.rcScrollBar.top + toY, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
  input[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(3, input, sizeof(INPUT));
  PumpFor(300);
  const int top = static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
  EXPECT_EQ(GetCapture(), nullptr);
  delete skinned;
  DestroyWindow(list);
  SetCursorPos(0, 0);
  PumpFor(GetDoubleClickTime() + 50);
  return top;
}

TEST_F(ScrollSkin, DraggingTheDropDownListsThumbScrollsTheList) {
  // A short drag: under Wine the move and release of a longer synthetic drag did not
  // arrive (the positions up to the last page are covered by the PositionsForThumbOffsets
  // table).
  SCROLLINFO info{};
  const int top = DragListThumb(60, info);
  ASSERT_GT(info.nPage, 0u);
  EXPECT_GT(top, 0);
  EXPECT_LT(top, info.nMax - static_cast<int>(info.nPage) + 1);
}

}  // namespace
