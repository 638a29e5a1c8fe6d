#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "skin/data/SkinDraw.h"
#include "tests/skin_image/GdiSurface.h"

namespace {

TEST(SkinText, TheWinePrefixRunsOnTheNtPlatform) {
  EXPECT_TRUE(IsNtPlatform());
}

TEST(SkinText, AnsiToWideUsesTheSystemCodePage) {
  ASSERT_EQ(GetACP(), 936u) << "the test prefix runs with code page 936";
  EXPECT_EQ(AnsiToWide("\xd6\xd0\xce\xc4"), L"\u4e2d\u6587");  // "中文" in GBK
  EXPECT_EQ(AnsiToWide("abc"), L"abc");
  EXPECT_EQ(AnsiToWide(""), L"");
  EXPECT_EQ(AnsiToWide(std::string("a\0b", 3)), std::wstring(L"a\0b", 3));
}

TEST(SkinText, WideCopyTakesAllOrACountButNeverPastTheEnd) {
  const wchar_t text[] = L"caption";
  EXPECT_EQ(WideCopy(text, -1), L"caption");
  EXPECT_EQ(WideCopy(text, 3), L"cap");
  EXPECT_EQ(WideCopy(text, 0), L"");
  EXPECT_EQ(WideCopy(text, 100), L"caption");  // stops at the terminating zero
  EXPECT_EQ(WideCopy(text, -2), L"");
  EXPECT_EQ(WideCopy(nullptr, -1), L"");
  EXPECT_EQ(WideCopy(nullptr, 5), L"");
}

TEST(SkinText, DrawSkinTextDrawsWideTextAndReturnsItsHeight) {
  GdiSurface surface(120, 40);
  surface.Fill(RGB(255, 255, 255));
  SetTextColor(surface.Dc(), RGB(0, 0, 0));
  SetBkMode(surface.Dc(), TRANSPARENT);
  RECT measure{0, 0, 0, 0};
  const int measured = DrawSkinText(surface.Dc(), L"\u78c1\u76d8 Wg", measure, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_GT(measured, 0);
  EXPECT_GT(measure.right, 0);
  EXPECT_EQ(surface.Get(2, 5), RGB(255, 255, 255));  // measuring draws nothing
  RECT r{0, 0, 120, 40};
  const int height = DrawSkinText(surface.Dc(), L"\u78c1\u76d8 Wg", r, DT_SINGLELINE);
  EXPECT_EQ(height, measured);
  int inked = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 120; ++x) inked += surface.Get(x, y) != RGB(255, 255, 255);
  EXPECT_GT(inked, 10);
}

TEST(DynamicUser32, TheSystemLibraryHasEveryFunction) {
  const TDynamicUser32& user32 = DynamicUser32();
  EXPECT_TRUE(user32.HasGetScrollBarInfo());
  EXPECT_TRUE(user32.HasTrackMouseEvent());
  EXPECT_TRUE(user32.HasGetComboBoxInfo());
  EXPECT_TRUE(user32.HasDisableProcessWindowsGhosting());
}

// A plain window at (0, 0), 100 x 100, that the mouse can be over (a static control is
// transparent to hit-testing).
HWND MakeWindow(DWORD style) {
  static const ATOM kClass = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"SkinTextTestWindow";
    return RegisterClassW(&wc);
  }();
  return CreateWindowExW(0, MAKEINTATOM(kClass), L"", style, 0, 0, 100, 100, nullptr, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

TEST(DynamicUser32, SafeGetScrollBarInfoAnswersWhenTheFunctionExists) {
  const HWND window = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VSCROLL);
  ASSERT_NE(window, nullptr);
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  EXPECT_TRUE(SafeGetScrollBarInfo(window, OBJID_VSCROLL, &info));
  EXPECT_GT(info.rcScrollBar.bottom, info.rcScrollBar.top);
  DestroyWindow(window);
}

TEST(DynamicUser32, MissingFunctionsAnswerFalseOrDoNothing) {
  const TDynamicUser32 none(L"no-such-library-here.dll");
  EXPECT_FALSE(none.HasGetScrollBarInfo());
  EXPECT_FALSE(none.HasTrackMouseEvent());
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  EXPECT_FALSE(none.SafeGetScrollBarInfo(nullptr, OBJID_VSCROLL, &info));
  none.TrackMouseLeave(nullptr);
  // A library without those names (kernel32) binds nothing either.
  const TDynamicUser32 other(L"kernel32.dll");
  EXPECT_FALSE(other.HasGetScrollBarInfo());
  EXPECT_FALSE(other.SafeGetScrollBarInfo(nullptr, OBJID_VSCROLL, &info));
}

// Pumps messages until `window` receives WM_MOUSELEAVE or `patience` milliseconds pass.
bool MouseLeaveArrives(HWND window, DWORD patience) {
  const DWORD until = GetTickCount() + patience;
  while (GetTickCount() < until) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_MOUSELEAVE && msg.hwnd == window) return true;
      DispatchMessageW(&msg);
    }
    Sleep(5);
  }
  return false;
}

TEST(DynamicUser32, TrackMouseLeaveAsksForALeaveNotification) {
  const HWND window = MakeWindow(WS_POPUP | WS_VISIBLE);
  ASSERT_NE(window, nullptr);
  SetCursorPos(50, 50);  // over the window
  // Without a request, leaving sends nothing.
  SetCursorPos(600, 600);
  EXPECT_FALSE(MouseLeaveArrives(window, 300));
  SetCursorPos(50, 50);
  TrackMouseLeave(window);
  SetCursorPos(600, 600);
  EXPECT_TRUE(MouseLeaveArrives(window, 2000));
  DestroyWindow(window);
}

}  // namespace
