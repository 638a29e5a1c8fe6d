// The skinned frame of ptest.exe as a user meets it: the default skin's frame around the
// window, its region with rounded corners, the caption text, the caption buttons under
// the real mouse, dragging, the system menu, and a message box of the program.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/E2eDriver.h"

namespace {

using namespace e2e;

constexpr UINT kQuerySkin = 0x3523;
constexpr DWORD kStateTimeoutMs = 5000;

// Where the default skin (skins/default/skin.ini, pictures drawn by tools/skinpaint) puts
// things, in window coordinates: borders 5 pixels wide with a 30-pixel caption strip; the
// close button 26 x 20 at 33 pixels left of the right edge, 5 down; the program's icon at
// (8, 7), 16 x 16; the caption text from 30 pixels in.
constexpr int kBorder = 5;
constexpr int kCaptionHeight = 30;
constexpr int kCloseFromRight = 33, kButtonTop = 5, kButtonWidth = 26, kButtonHeight = 20;
constexpr POINT kIconMiddle{16, 15};
constexpr int kTextLeft = 30;
constexpr uint32_t kActiveTitleText = 0xFFFFFF;
constexpr uint32_t kInactiveTitleText = 0x606C78;

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

// A part of the window given in window coordinates, as the screen shows it.
Pixels GrabWindowPart(const ProgramUnderTest& p, int left, int top, int width, int height) {
  const POINT at = p.WindowToScreenPoint(left, top);
  return GrabScreen(RECT{at.x, at.y, at.x + width, at.y + height});
}

uint32_t ScreenPixel(POINT at) { return GrabScreen(RECT{at.x, at.y, at.x + 1, at.y + 1}).At(0, 0); }

int CountColour(const Pixels& pixels, uint32_t colour) {
  return pixels.Count([colour](uint32_t rgb) { return rgb == colour; });
}

// The close button as the screen shows it now.
Pixels CloseButton(const ProgramUnderTest& p) {
  return GrabWindowPart(p, Width(p.WindowRect()) - kCloseFromRight, kButtonTop, kButtonWidth, kButtonHeight);
}

POINT CloseButtonMiddle(const ProgramUnderTest& p) {
  return p.WindowToScreenPoint(Width(p.WindowRect()) - kCloseFromRight + kButtonWidth / 2,
                               kButtonTop + kButtonHeight / 2);
}

// A visible window of `processId` with the class `className`, or null.
HWND VisibleWindowOf(DWORD processId, const wchar_t* className) {
  HWND found = nullptr;
  HWND window = nullptr;
  while ((window = FindWindowExW(nullptr, window, className, nullptr)) != nullptr) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == processId && IsWindowVisible(window)) found = window;
  }
  return found;
}

bool AnswersSkinned(HWND window) {
  DWORD_PTR answer = 0;
  return SendMessageTimeoutW(window, kQuerySkin, 0, 0, SMTO_NORMAL, 2000, &answer) && answer == 1;
}

// The window's region in window coordinates; null when it has none.
HRGN RegionOf(HWND window) {
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  if (GetWindowRgn(window, region) == ERROR) {
    DeleteObject(region);
    return nullptr;
  }
  return region;
}

bool HasRegion(HWND window) {
  HRGN region = RegionOf(window);
  if (region != nullptr) DeleteObject(region);
  return region != nullptr;
}

// Checks the frame of a skinned window: the region leaves the top corners out (the
// desktop shows there) and keeps the caption strip; a plain window has no region.
testing::AssertionResult HasRoundedTopCorners(HWND window) {
  RECT bounds{};
  GetWindowRect(window, &bounds);
  const int w = Width(bounds);
  HRGN region = RegionOf(window);
  if (region == nullptr) return testing::AssertionFailure() << "the window has no region";
  const bool cornersOut = !PtInRegion(region, 0, 0) && !PtInRegion(region, w - 1, 0);
  const bool stripIn = PtInRegion(region, w / 2, 0) && PtInRegion(region, 0, kCaptionHeight) &&
                       PtInRegion(region, w - 1, kCaptionHeight);
  DeleteObject(region);
  if (!cornersOut) return testing::AssertionFailure() << "a top corner is inside the region";
  if (!stripIn) return testing::AssertionFailure() << "the region cuts into the frame";
  // On the screen: the corner pixel is the desktop's, as left of the window on that row.
  const uint32_t desktop = ScreenPixel({bounds.left - 3, bounds.top});
  if (ScreenPixel({bounds.left, bounds.top}) != desktop || ScreenPixel({bounds.right - 1, bounds.top}) != desktop)
    return testing::AssertionFailure() << "the desktop does not show in the corners";
  if (ScreenPixel({bounds.left + w / 2, bounds.top}) == desktop)
    return testing::AssertionFailure() << "the frame's top edge is not drawn";
  return testing::AssertionSuccess();
}

TEST(SkinnedFrameE2e, StartsActiveWithTheDefaultSkinsFrameAroundTheSameClientArea) {
  ProgramUnderTest p;
  ASSERT_TRUE(AnswersSkinned(p.Window()));
  RECT client{};
  GetClientRect(p.Window(), &client);
  EXPECT_EQ(client.right, 667);
  EXPECT_EQ(client.bottom, 446);
  const RECT window = p.WindowRect();
  EXPECT_EQ(Width(window), 667 + 2 * kBorder);
  EXPECT_EQ(Height(window), 446 + kCaptionHeight + kBorder);
  const POINT origin = p.ClientToScreenPoint(0, 0);
  EXPECT_EQ(origin.x - window.left, kBorder);
  EXPECT_EQ(origin.y - window.top, kCaptionHeight);

  p.BringToFront();
  MoveMouse(p.ClientToScreenPoint(600, 300));
  Sleep(300);
  EXPECT_TRUE(HasRoundedTopCorners(p.Window()));
  // The caption text "磁盘监视" in the active title colour, from the text's left edge on.
  const Pixels text = GrabWindowPart(p, kTextLeft, 0, 100, kCaptionHeight);
  EXPECT_GT(CountColour(text, kActiveTitleText), 40) << "no caption text in the active colour";
  // Left of the text: the caption strip only (the icon is further left).
  const Pixels strip = GrabWindowPart(p, kTextLeft + 120, 0, 200, kCaptionHeight);
  EXPECT_EQ(CountColour(strip, kActiveTitleText), 0);
}

TEST(SkinnedFrameE2e, TheSkinFileOnTheCommandLineGivesTheWindowThatSkinsFrame) {
  // The dark skin (skins/dark/skin.ini): borders 4 pixels wide, the same 30-pixel caption,
  // light title text.
  constexpr int kDarkBorder = 4;
  constexpr uint32_t kDarkTitleText = 0xE6E9EC;
  std::wstring skin = L"\\\\?\\unix";
  for (const char* c = PTEST_DARK_SKIN; *c; ++c) skin += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
  ProgramUnderTest p(L"--skin \"" + skin + L"\"");
  ASSERT_TRUE(AnswersSkinned(p.Window()));
  RECT client{};
  GetClientRect(p.Window(), &client);
  EXPECT_EQ(client.right, 667);
  EXPECT_EQ(client.bottom, 446);
  const POINT origin = p.ClientToScreenPoint(0, 0);
  EXPECT_EQ(origin.x - p.WindowRect().left, kDarkBorder);
  EXPECT_EQ(origin.y - p.WindowRect().top, kCaptionHeight);
  p.MakeForeground();
  MoveMouse(p.ClientToScreenPoint(600, 300));
  Sleep(300);
  EXPECT_TRUE(HasRoundedTopCorners(p.Window()));
  const Pixels caption = GrabWindowPart(p, 0, 0, 200, kCaptionHeight);
  EXPECT_GT(CountColour(caption, kDarkTitleText), 40) << "no caption text in the dark skin's colour";
  EXPECT_EQ(CountColour(caption, kActiveTitleText), 0) << "the default skin's title colour";
}

TEST(SkinnedFrameE2e, AtStartTheWindowIsActiveAndLooksIt) {
  // Nobody brings the window forward: the program's own start must activate it.
  ProgramUnderTest p;
  EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == p.Window(); }, kStateTimeoutMs));
  MoveMouse(p.ClientToScreenPoint(600, 300));
  Sleep(300);
  const Pixels text = GrabWindowPart(p, kTextLeft, 0, 100, kCaptionHeight);
  EXPECT_GT(CountColour(text, kActiveTitleText), 40);
  EXPECT_EQ(CountColour(text, kInactiveTitleText), 0);
}

TEST(SkinnedFrameE2e, TheCloseButtonShowsHotAndPressedLooksAndClosesOnlyWhenReleasedOverIt) {
  ProgramUnderTest p;
  p.MakeForeground();
  const POINT away = p.WindowToScreenPoint(300, 15);
  MoveMouse(away);
  Sleep(400);  // the hover timer puts a hot button back to normal
  const Pixels normal = CloseButton(p);

  // Hot under the mouse.
  Pixels hot;
  EXPECT_TRUE(WaitUntil(
      [&] {
        MoveMouse(CloseButtonMiddle(p));
        Sleep(50);
        hot = CloseButton(p);
        return hot != normal;
      },
      kStateTimeoutMs, 50))
      << "the close button does not light up under the mouse";

  // Pressed while the button is held.
  MouseButtonAt(MOUSEEVENTF_LEFTDOWN, CloseButtonMiddle(p));
  Pixels pressed;
  EXPECT_TRUE(WaitUntil(
      [&] {
        pressed = CloseButton(p);
        return pressed != normal && pressed != hot;
      },
      kStateTimeoutMs, 30))
      << "the close button does not look pressed";

  // Released elsewhere: nothing happens, and the button goes back to normal.
  MoveMouse(away);
  Sleep(50);
  MouseButtonAt(MOUSEEVENTF_LEFTUP, away);
  EXPECT_FALSE(p.WaitForExit(1000)) << "releasing the mouse away from the button closed the window";
  EXPECT_TRUE(WaitUntil([&] { return CloseButton(p) == normal; }, kStateTimeoutMs))
      << "the close button stays lit after the mouse left it";

  // A click closes the window and ends the program.
  p.MakeForeground();
  ClickAt(CloseButtonMiddle(p));
  EXPECT_TRUE(p.WaitForExit(kStateTimeoutMs)) << "a click on the close button does not close the window";
}

TEST(SkinnedFrameE2e, DraggingTheCaptionMovesTheWindow) {
  ProgramUnderTest p;
  p.MakeForeground();
  const RECT before = p.WindowRect();
  POINT at = p.WindowToScreenPoint(300, 15);
  MoveMouse(at);
  Sleep(50);
  MouseButtonAt(MOUSEEVENTF_LEFTDOWN, at);
  Sleep(50);
  for (int step = 1; step <= 10; ++step) {
    MoveMouse({at.x + 8 * step, at.y + 5 * step});
    Sleep(30);
  }
  MouseButtonAt(MOUSEEVENTF_LEFTUP, {at.x + 80, at.y + 50});
  EXPECT_TRUE(WaitUntil([&] { return p.WindowRect().left == before.left + 80; }, kStateTimeoutMs));
  const RECT after = p.WindowRect();
  EXPECT_EQ(after.left - before.left, 80);
  EXPECT_EQ(after.top - before.top, 50);
  EXPECT_EQ(Width(after), Width(before));
  EXPECT_EQ(Height(after), Height(before));
  // The frame moved with it, corners and all.
  Sleep(200);
  EXPECT_TRUE(HasRoundedTopCorners(p.Window()));
}

TEST(SkinnedFrameE2e, ARightClickOnTheCaptionOpensTheSystemMenu) {
  ProgramUnderTest p;
  p.MakeForeground();
  EXPECT_EQ(VisibleWindowOf(p.ProcessId(), L"#32768"), nullptr);
  RightClickAt(p.WindowToScreenPoint(300, 15));
  HWND menu = nullptr;
  EXPECT_TRUE(WaitUntil([&] { return (menu = VisibleWindowOf(p.ProcessId(), L"#32768")) != nullptr; },
                        kStateTimeoutMs))
      << "no menu opened";
  if (menu != nullptr) {
    // It opens at the click point.
    RECT r{};
    GetWindowRect(menu, &r);
    const POINT click = p.WindowToScreenPoint(300, 15);
    EXPECT_LE(std::abs(r.left - click.x), 2);
    EXPECT_LE(std::abs(r.top - click.y), 2);
    // The skinned popup answers for its menu window.
    EXPECT_TRUE(AnswersSkinned(menu)) << "the system menu is not skinned";
  }
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(WaitUntil([&] { return VisibleWindowOf(p.ProcessId(), L"#32768") == nullptr; }, kStateTimeoutMs));
  EXPECT_FALSE(p.WaitForExit(200));
}

// ptest.exe's window is a fixed dialog frame (no icon, no minimise or maximise box), and
// the only message box it can show comes while its skin is being replaced (a skin file
// that cannot be loaded), when nothing is skinned. A small skinned program shows the rest.
class SkinnedProbe {
 public:
  explicit SkinnedProbe(bool messageBox = false) {
    const std::wstring program = UnixPath(PTEST_PROBE_EXE);
    std::wstring commandLine = L"\"" + program + L"\" \"" + UnixPath(PTEST_DEFAULT_SKIN) + L"\"";
    if (messageBox) commandLine += L" --message-box";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, L"C:\\",
                        &startup, &info))
      return;
    process_ = info.hProcess;
    CloseHandle(info.hThread);
    processId_ = info.dwProcessId;
    WaitUntil([&] { return (form_ = Find(L"Skinned probe")) != nullptr && HasRegion(form_); }, 10000);
    foreign_ = Find(L"Foreign probe");
  }
  ~SkinnedProbe() {
    if (process_ == nullptr) return;
    if (WaitForSingleObject(process_, 0) != WAIT_OBJECT_0) TerminateProcess(process_, 1);
    WaitForSingleObject(process_, 5000);
    CloseHandle(process_);
  }
  SkinnedProbe(const SkinnedProbe&) = delete;
  SkinnedProbe& operator=(const SkinnedProbe&) = delete;

  HWND Form() const { return form_; }
  HWND Foreign() const { return foreign_; }
  DWORD ProcessId() const { return processId_; }
  bool WaitForExit(DWORD ms) const { return process_ != nullptr && WaitForSingleObject(process_, ms) == WAIT_OBJECT_0; }
  // A visible top-level window of the probe with this caption.
  HWND Find(const wchar_t* caption) const {
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, nullptr, caption)) != nullptr) {
      DWORD owner = 0;
      GetWindowThreadProcessId(window, &owner);
      if (owner == processId_ && IsWindowVisible(window)) return window;
    }
    return nullptr;
  }

 private:
  static std::wstring UnixPath(const char* path) {
    std::wstring result = L"\\\\?\\unix";
    for (const char* c = path; *c; ++c) result += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
    return result;
  }

  HANDLE process_ = nullptr;
  DWORD processId_ = 0;
  HWND form_ = nullptr;
  HWND foreign_ = nullptr;
};

POINT WindowPoint(HWND window, int x, int y) {
  RECT r{};
  GetWindowRect(window, &r);
  return {r.left + x, r.top + y};
}

// The offset of the client area inside the window.
POINT ClientOffset(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  return {origin.x - r.left, origin.y - r.top};
}

TEST(SkinnedProbeE2e, AMessageBoxOfTheProgramIsSkinnedAndAWindowOfAnotherModuleIsNot) {
  SkinnedProbe probe(true);
  ASSERT_NE(probe.Form(), nullptr) << "the probe's form did not come skinned";
  ASSERT_NE(probe.Foreign(), nullptr);
  // The window of another module keeps the system's frame.
  EXPECT_FALSE(AnswersSkinned(probe.Foreign()));
  EXPECT_FALSE(HasRegion(probe.Foreign()));
  EXPECT_EQ(ClientOffset(probe.Foreign()).y, GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME));

  HWND box = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (box = probe.Find(L"Probe box")) != nullptr; }, kStateTimeoutMs))
      << "no message box";
  EXPECT_TRUE(WaitUntil([&] { return AnswersSkinned(box) && HasRegion(box); }, kStateTimeoutMs))
      << "the message box is not skinned";
  Sleep(300);
  EXPECT_TRUE(HasRoundedTopCorners(box));
  EXPECT_EQ(ClientOffset(box).x, kBorder);
  EXPECT_EQ(ClientOffset(box).y, kCaptionHeight);
  // Its caption text in the skin's active title colour.
  RECT r{};
  GetWindowRect(box, &r);
  const Pixels caption = GrabScreen(RECT{r.left, r.top, r.right, r.top + kCaptionHeight});
  EXPECT_GT(CountColour(caption, kActiveTitleText), 20);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(WaitUntil([&] { return probe.Find(L"Probe box") == nullptr; }, kStateTimeoutMs));
}

TEST(SkinnedProbeE2e, DoubleClickingTheIconClosesTheWindow) {
  SkinnedProbe probe;
  ASSERT_NE(probe.Form(), nullptr) << "the probe's form did not come skinned";
  SetForegroundWindow(probe.Form());
  Sleep(300);
  // The program's icon is drawn there: more than the caption's colours.
  const POINT icon = WindowPoint(probe.Form(), kIconMiddle.x - 8, kIconMiddle.y - 8);
  const Pixels iconPixels = GrabScreen(RECT{icon.x, icon.y, icon.x + 16, icon.y + 16});
  const Pixels strip = GrabScreen(RECT{icon.x + 250, icon.y, icon.x + 266, icon.y + 16});
  EXPECT_NE(iconPixels, strip) << "no icon in the caption";
  DoubleClickAt(WindowPoint(probe.Form(), kIconMiddle.x, kIconMiddle.y));
  EXPECT_TRUE(probe.WaitForExit(kStateTimeoutMs)) << "double-clicking the icon does not close the window";
}

}  // namespace
