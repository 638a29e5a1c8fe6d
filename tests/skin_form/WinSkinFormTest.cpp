// The skinned frame on a framework form: attach on activation, client size kept, region
// with the skin's rounded corners, caption pixels from the skin, caption buttons, and
// Unskin giving the window back exactly.
#include <gtest/gtest.h>

#include "framework/ResourceCount.h"
#include "skin/data/SkinDraw.h"
#include "tests/skin_form/SkinFormTestSupport.h"

namespace {

RECT WindowRect(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

RECT ClientRectOf(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  return r;
}

TWinSysButton* ButtonWithAction(TWinSkinForm& frame, int32_t action) {
  for (auto& button : frame.Buttons)
    if (button->Element->Action == action && button->Visible) return button.get();
  return nullptr;
}

LPARAM ScreenPoint(HWND window, POINT framePoint) {
  const RECT r = WindowRect(window);
  return MAKELPARAM(r.left + framePoint.x, r.top + framePoint.y);
}

POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

}  // namespace

class WinSkinFormTest : public SkinFormTest {};

TEST_F(WinSkinFormTest, ActivationSkinsTheFormAndTheClientAreaKeepsItsSize) {
  for (const char* skin : {"default", "dark"}) {
    SkinnedTestForm test(skin);
    const RECT clientBefore = ClientRectOf(test.Handle());
    ASSERT_TRUE(test.ShowAndWaitForSkin()) << skin;
    TWinSkinForm* frame = test.Frame();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->DrawFrame);
    EXPECT_GT(frame->TopHeight, frame->BottomHeight) << skin;
    const RECT client = ClientRectOf(test.Handle());
    EXPECT_EQ(client.right, 400) << skin;
    EXPECT_EQ(client.bottom, 300) << skin;
    EXPECT_EQ(clientBefore.right, client.right);
    const RECT bounds = WindowRect(test.Handle());
    EXPECT_EQ(bounds.right - bounds.left, 400 + frame->LeftWidth + frame->RightWidth) << skin;
    EXPECT_EQ(bounds.bottom - bounds.top, 300 + frame->TopHeight + frame->BottomHeight) << skin;
    // Asked without a position, the window reports the same client area for its rectangle.
    RECT asked = bounds;
    SendMessageW(test.Handle(), WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&asked));
    EXPECT_EQ(asked.right - asked.left, 400) << skin;
    EXPECT_EQ(asked.bottom - asked.top, 300) << skin;
    EXPECT_EQ(asked.left, bounds.left + frame->LeftWidth) << skin;
    // The window answers that it is skinned.
    EXPECT_EQ(SendMessageW(test.Handle(), SKM_QUERYSKIN, 0, 0), 1);
    EXPECT_EQ(SendMessageW(test.Handle(), SKM_PING, 0, SKIN_MAGIC), SKIN_MAGIC);
    EXPECT_EQ(SendMessageW(test.Handle(), SKM_PING, 0, 5), 1);
    FreeSkinManager();
  }
}

TEST_F(WinSkinFormTest, TheRegionCutsTheRoundedCorners) {
  SkinnedTestForm test;
  ASSERT_TRUE(test.ShowAndWaitForSkin());
  TWinSkinForm* frame = test.Frame();
  ASSERT_TRUE(frame->HasRegion());
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(test.Handle(), region), ERROR);
  const RECT bounds = WindowRect(test.Handle());
  const int w = bounds.right - bounds.left;
  const int h = bounds.bottom - bounds.top;
  EXPECT_FALSE(PtInRegion(region, 0, 0));
  EXPECT_FALSE(PtInRegion(region, w - 1, 0));
  EXPECT_TRUE(PtInRegion(region, w / 2, h / 2));
  EXPECT_TRUE(PtInRegion(region, w / 2, 1));
  EXPECT_TRUE(PtInRegion(region, 0, h / 2));
  DeleteObject(region);
  // The same size again keeps the region; a new size makes a new one.
  frame->BuildRegion();
  EXPECT_EQ(frame->RegionSize.cx, w);
  SetWindowPos(test.Handle(), nullptr, 0, 0, w + 40, h + 20, SWP_NOMOVE | SWP_NOZORDER);
  PumpFor(20);
  EXPECT_EQ(frame->RegionSize.cx, w + 40);
  EXPECT_EQ(frame->RegionSize.cy, h + 20);
}

TEST_F(WinSkinFormTest, TheCaptionStripShowsTheSkinsTopBorder) {
  SkinnedTestForm test;
  ASSERT_TRUE(test.ShowAndWaitForSkin());
  TWinSkinForm* frame = test.Frame();
  RedrawWindow(test.Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  PumpFor(50);
  TBitmap* top = test.data->BorderTop->Bitmap.get();
  ASSERT_NE(top, nullptr);
  const int frames = test.data->BorderTop->FrameCount > 0 ? test.data->BorderTop->FrameCount : 1;
  const int frameHeight = top->Height() / frames;
  // Frame 1 (active) is the upper one; its centre column stretches over the caption.
  const int row = frameHeight - 2;
  const COLORREF expected = GetPixel(top->Canvas()->Handle(), top->Width() / 2, row);
  HDC dc = GetWindowDC(test.Handle());
  const COLORREF shown = GetPixel(dc, frame->LeftWidth + 40, row);
  ReleaseDC(test.Handle(), dc);
  EXPECT_EQ(shown, expected);
  // The caption text was placed inside the caption strip.
  EXPECT_GE(frame->CaptionTextRect.top, 0);
  EXPECT_LE(frame->CaptionTextRect.bottom, frame->TopHeight);
  EXPECT_GT(frame->CaptionTextRect.right, frame->CaptionTextRect.left);
}

TEST_F(WinSkinFormTest, UnskinGivesTheWindowBackExactly) {
  SkinnedTestForm test;
  const HWND window = test.Handle();
  // Not shown yet, so not skinned (the manager skins on activation): the window as it is.
  const LONG_PTR proc = GetWindowLongPtrW(window, GWLP_WNDPROC);
  const LONG style = GetWindowLongW(window, GWL_STYLE) | WS_VISIBLE;
  const RECT bounds = WindowRect(window);
  ASSERT_TRUE(test.ShowAndWaitForSkin());
  EXPECT_NE(GetWindowLongPtrW(window, GWLP_WNDPROC), proc);
  test.data->SetActive(false);
  ASSERT_TRUE(PumpUntil([&] { return test.Frame() == nullptr; }));
  EXPECT_EQ(GetWindowLongPtrW(window, GWLP_WNDPROC), proc);
  EXPECT_EQ(GetWindowLongW(window, GWL_STYLE), style);
  const RECT after = WindowRect(window);
  EXPECT_EQ(after.left, bounds.left);
  EXPECT_EQ(after.top, bounds.top);
  EXPECT_EQ(after.right, bounds.right);
  EXPECT_EQ(after.bottom, bounds.bottom);
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(window, region), ERROR);
  DeleteObject(region);
  EXPECT_EQ(SendMessageW(window, SKM_QUERYSKIN, 0, 0), 0);
}

TEST_F(WinSkinFormTest, HundredSkinCyclesLeaveNoGdiObjectOrWindowBehind) {
  SkinnedTestForm test;
  ASSERT_TRUE(test.ShowAndWaitForSkin());
  TSkinManage* manager = SkinManage();
  const HWND window = test.Handle();
  const LONG_PTR skinnedProc = GetWindowLongPtrW(window, GWLP_WNDPROC);
  auto cycle = [&] {
    test.data->SetActive(false);
    manager->RunPendingAction();
    test.data->SetActive(true);
    manager->RunPendingAction();
    PumpUntil([&] { return test.Frame() != nullptr && test.Frame()->State == kFrameActive; });
  };
  cycle();
  const int64_t gdi = GdiObjectCount();
  const int64_t windows = WindowCount();
  const RECT bounds = WindowRect(window);
  for (int i = 0; i < 100; ++i) cycle();
  EXPECT_EQ(GdiObjectCount(), gdi);
  EXPECT_EQ(WindowCount(), windows);
  EXPECT_EQ(GetWindowLongPtrW(window, GWLP_WNDPROC), skinnedProc);
  const RECT after = WindowRect(window);
  EXPECT_EQ(after.right - after.left, bounds.right - bounds.left);
  EXPECT_EQ(after.bottom - after.top, bounds.bottom - bounds.top);
  EXPECT_EQ(manager->FormCount(), 1);
}

TEST_F(WinSkinFormTest, TheCloseButtonClosesOnlyWhenReleasedOverIt) {
  SkinnedTestForm test;
  ASSERT_TRUE(test.ShowAndWaitForSkin());
  const HWND window = test.Handle();
  TWinSkinForm* frame = test.Frame();
  RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  PumpFor(20);
  TWinSysButton* close = ButtonWithAction(*frame, 0);
  ASSERT_NE(close, nullptr);
  const LPARAM onButton = ScreenPoint(window, Centre(close->Bounds));
  const LPARAM elsewhere = ScreenPoint(window, {frame->FrameWidth / 2, frame->TopHeight / 2});
  EXPECT_EQ(SendMessageW(window, WM_NCHITTEST, 0, onButton), HTCAPTION);
  // Pressed over it, released elsewhere: nothing.
  SendMessageW(window, WM_NCLBUTTONDOWN, HTCAPTION, onButton);
  EXPECT_EQ(frame->HotObject, close);
  EXPECT_EQ(close->State, 2);
  SendMessageW(window, WM_NCLBUTTONUP, HTCAPTION, elsewhere);
  PumpFor(50);
  EXPECT_TRUE(IsWindowVisible(window));
  // Released over another button: nothing either.
  TWinSysButton* other = nullptr;
  for (auto& button : frame->Buttons)
    if (button.get() != close && button->Visible && button->Bounds.right > button->Bounds.left) other = button.get();
  if (other != nullptr) {
    SendMessageW(window, WM_NCLBUTTONDOWN, HTCAPTION, onButton);
    SendMessageW(window, WM_NCLBUTTONUP, HTCAPTION, ScreenPoint(window, Centre(other->Bounds)));
    PumpFor(50);
    EXPECT_TRUE(IsWindowVisible(window));
  }
  // Pressed and released over it: the window closes.
  SendMessageW(window, WM_NCLBUTTONDOWN, HTCAPTION, onButton);
  SendMessageW(window, WM_NCLBUTTONUP, HTCAPTION, onButton);
  EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(window); }, 1000));
}

TEST_F(WinSkinFormTest, TheCloseButtonClosesWithTheRealMouse) {
  SkinnedTestForm test;
  ASSERT_TRUE(test.ShowAndWaitForSkin());
  const HWND window = test.Handle();
  TWinSkinForm* frame = test.Frame();
  RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  PumpFor(20);
  TWinSysButton* close = ButtonWithAction(*frame, 0);
  ASSERT_NE(close, nullptr);
  const RECT bounds = WindowRect(window);
  const POINT centre = Centre(close->Bounds);
  SetCursorPos(bounds.left + centre.x, bounds.top + centre.y);
  PumpFor(50);
  INPUT inputs[2] = {};
  inputs[0].type = INPUT_MOUSE;
  inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  inputs[1].type = INPUT_MOUSE;
  inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(1, &inputs[0], sizeof(INPUT));
  PumpFor(50);
  EXPECT_EQ(frame->HotObject, close);
  SendInput(1, &inputs[1], sizeof(INPUT));
  EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(window); }, 1500));
}

TEST_F(WinSkinFormTest, RepaintingAnInactiveFrameUsesTheInactiveLook) {
  SkinnedTestForm test;
  ASSERT_TRUE(test.ShowAndWaitForSkin());
  TWinSkinForm* frame = test.Frame();
  TBitmap* top = test.data->BorderTop->Bitmap.get();
  ASSERT_NE(top, nullptr);
  ASSERT_GE(test.data->BorderTop->FrameCount, 2) << "the skin has an active and an inactive top border";
  const int cell = top->Height() / test.data->BorderTop->FrameCount;
  const int row = cell - 2;
  const COLORREF activeLook = GetPixel(top->Canvas()->Handle(), top->Width() / 2, row);
  const COLORREF inactiveLook = GetPixel(top->Canvas()->Handle(), top->Width() / 2, cell + row);
  ASSERT_NE(activeLook, inactiveLook);
  // The frame paints into a given DC on request: the caption strip shows the look of the
  // activation the window was last told.
  auto captionPixel = [&] {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, frame->FrameWidth, frame->FrameHeight);
    HGDIOBJ old = SelectObject(memory, bitmap);
    EXPECT_EQ(SendMessageW(test.Handle(), SKM_PAINTTO, reinterpret_cast<WPARAM>(memory), SKIN_MAGIC), SKIN_MAGIC);
    const COLORREF pixel = GetPixel(memory, frame->LeftWidth + 40, row);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixel;
  };
  SendMessageW(test.Handle(), WM_NCACTIVATE, FALSE, 0);
  EXPECT_FALSE(frame->Active);
  EXPECT_EQ(captionPixel(), inactiveLook);
  SendMessageW(test.Handle(), WM_NCACTIVATE, TRUE, 0);
  EXPECT_TRUE(frame->Active);
  EXPECT_EQ(captionPixel(), activeLook);
}

// For looking at: shows a skinned form (active, then inactive) for screenshots. Run with
// --gtest_also_run_disabled_tests --gtest_filter=*ForScreenshots* and PTEST_SHOT_SKIN.
TEST_F(WinSkinFormTest, DISABLED_ForScreenshots) {
  const char* skin = getenv("PTEST_SHOT_SKIN");
  SkinnedTestForm test(skin != nullptr ? skin : "default", "磁盘监视 skinned frame", 420, 240);
  ASSERT_TRUE(test.ShowAndWaitForSkin());
  PumpFor(4000);
  SkinnedTestForm other(skin != nullptr ? skin : "default", "Another window", 200, 120);
  SetWindowPos(other.form->Handle(), nullptr, 600, 400, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ASSERT_TRUE(other.ShowAndWaitForSkin());
  PumpFor(4000);
}

// For measuring: the time of 300 whole-frame repaints of one form skinned and unskinned,
// printed as a ratio. Run with --gtest_also_run_disabled_tests --gtest_filter=*Repaint*.
TEST_F(WinSkinFormTest, DISABLED_RepaintCostSkinnedAgainstUnskinned) {
  SkinnedTestForm test;
  ASSERT_TRUE(test.ShowAndWaitForSkin());
  const HWND window = test.Handle();
  auto measure = [&] {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (int i = 0; i < 300; ++i)
      RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOCHILDREN);
    QueryPerformanceCounter(&end);
    return static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
  };
  measure();
  const double skinned = measure();
  test.data->SetActive(false);
  SkinManage()->RunPendingAction();
  PumpFor(50);
  measure();
  const double plain = measure();
  printf("repaint x300: skinned %.1f ms, unskinned %.1f ms, ratio %.2f\n", skinned * 1000, plain * 1000,
         skinned / plain);
  EXPECT_GT(plain, 0.0);
}

namespace {
LRESULT messageBoxSkinned = -1;
void CALLBACK InspectMessageBox(HWND, UINT, UINT_PTR id, DWORD) {
  const HWND box = FindWindowW(L"#32770", L"Skinned box");
  if (box == nullptr) return;
  KillTimer(nullptr, id);
  messageBoxSkinned = SendMessageW(box, SKM_QUERYSKIN, 0, 0);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
}
}  // namespace

TEST_F(WinSkinFormTest, AMessageBoxOfTheProgramIsSkinned) {
  SkinnedTestForm test;
  ASSERT_TRUE(test.ShowAndWaitForSkin());
  messageBoxSkinned = -1;
  const UINT_PTR timer = SetTimer(nullptr, 0, 300, &InspectMessageBox);
  MessageBoxW(test.Handle(), L"Text", L"Skinned box", MB_OK);
  KillTimer(nullptr, timer);
  EXPECT_EQ(messageBoxSkinned, 1);
}

namespace {
void CALLBACK CloseTheBox(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  if (HWND box = FindWindowW(L"#32770", L"磁盘监视")) PostMessageW(box, WM_COMMAND, IDOK, 0);
}
}  // namespace

// For looking at: a skinned message box over a skinned form for five seconds.
TEST_F(WinSkinFormTest, DISABLED_MessageBoxForScreenshots) {
  SkinnedTestForm test;
  ASSERT_TRUE(test.ShowAndWaitForSkin());
  const UINT_PTR timer = SetTimer(nullptr, 0, 5000, &CloseTheBox);
  MessageBoxW(test.Handle(), L"已停止所有监视。", L"磁盘监视", MB_OK | MB_ICONINFORMATION);
  KillTimer(nullptr, timer);
}

TEST_F(WinSkinFormTest, LoadingAnotherSkinRepaintsTheFrameWithTheNewLook) {
  SkinnedTestForm test;
  ASSERT_TRUE(test.ShowAndWaitForSkin());
  TWinSkinForm* frame = test.Frame();
  auto captionMatchesSkin = [&] {
    RedrawWindow(test.Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    PumpFor(30);
    TBitmap* top = test.data->BorderTop->Bitmap.get();
    const int frames = test.data->BorderTop->FrameCount > 0 ? test.data->BorderTop->FrameCount : 1;
    const int row = top->Height() / frames - 2;
    const COLORREF expected = GetPixel(top->Canvas()->Handle(), top->Width() / 2, row);
    HDC dc = GetWindowDC(test.Handle());
    const COLORREF shown = GetPixel(dc, frame->LeftWidth + 40, row);
    ReleaseDC(test.Handle(), dc);
    return shown == expected;
  };
  EXPECT_TRUE(captionMatchesSkin());
  const size_t buttons = frame->Buttons.size();
  test.data->SetSkinFile(SkinPath("dark"));
  // The new skin dropped the caption buttons; the refresh rebuilds them.
  EXPECT_TRUE(frame->Buttons.empty());
  SkinManage()->RunPendingAction();
  EXPECT_EQ(frame->Buttons.size(), buttons);
  EXPECT_EQ(frame->State, kFrameActive);
  EXPECT_TRUE(captionMatchesSkin());
  const RECT client = ClientRectOf(test.Handle());
  EXPECT_EQ(client.right, 400);
  EXPECT_EQ(client.bottom, 300);
}

TEST_F(WinSkinFormTest, TheIconButtonShowsTheProgramsIconUnlessTheWindowIsADialog) {
  SkinnedTestForm test;
  ASSERT_TRUE(test.ShowAndWaitForSkin());
  TWinSkinForm* frame = test.Frame();
  RedrawWindow(test.Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  PumpFor(30);
  TWinSysButton* icon = ButtonWithAction(*frame, 3);
  ASSERT_NE(icon, nullptr) << "the skin's icon button (no picture of its own) is not shown";
  const int size = GetSystemMetrics(SM_CXSMICON);
  ASSERT_NE(icon->Element->Bitmap, nullptr);
  EXPECT_EQ(icon->Element->Bitmap->Width(), size);
  EXPECT_EQ(icon->Element->FrameCount, 1);
  ASSERT_NE(frame->IconBitmap, nullptr);
  EXPECT_EQ(icon->Bounds.left, icon->Element->XCoord);
  EXPECT_EQ(icon->Bounds.top, icon->Element->YCoord);
  EXPECT_EQ(icon->Bounds.right - icon->Bounds.left, size);
  // The icon is drawn: its square holds colours that the caption strip beside it lacks.
  HDC dc = GetWindowDC(test.Handle());
  const COLORREF strip = GetPixel(dc, icon->Bounds.right + 150, icon->Bounds.top + size / 2);
  int differing = 0;
  for (int y = icon->Bounds.top; y < icon->Bounds.bottom; ++y)
    for (int x = icon->Bounds.left; x < icon->Bounds.right; ++x) differing += GetPixel(dc, x, y) != strip ? 1 : 0;
  ReleaseDC(test.Handle(), dc);
  EXPECT_GT(differing, size * size / 4);

  // A dialog frame has no icon.
  SkinnedTestForm dialog("default", "Dialog", 300, 200);
  dialog.form->SetBorderStyle(bsDialog);
  ASSERT_TRUE(dialog.ShowAndWaitForSkin());
  RedrawWindow(dialog.Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  PumpFor(30);
  EXPECT_EQ(dialog.Frame()->Kind, kKindDialog);
  EXPECT_EQ(ButtonWithAction(*dialog.Frame(), 3), nullptr);
}

TEST_F(WinSkinFormTest, AWindowSkinnedWhileAnotherIsActiveStartsWithTheInactiveLook) {
  SkinnedTestForm first;
  ASSERT_TRUE(first.ShowAndWaitForSkin());
  SkinnedTestForm second("default", "Second", 200, 120);
  // Shown without taking the activation, then attached (as the start action does).
  SetWindowPos(second.Handle(), HWND_TOP, 500, 300, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  ASSERT_NE(GetActiveWindow(), second.Handle());
  ASSERT_TRUE(SkinManage()->SkinWindow(second.Handle()));
  ASSERT_TRUE(PumpUntil([&] { return second.Frame() != nullptr && second.Frame()->State == kFrameActive; }));
  EXPECT_FALSE(second.Frame()->Active);
  EXPECT_TRUE(first.Frame()->Active);
  // Activating it brings the active look.
  SetForegroundWindow(second.Handle());
  EXPECT_TRUE(PumpUntil([&] { return second.Frame()->Active && !first.Frame()->Active; }));
}
