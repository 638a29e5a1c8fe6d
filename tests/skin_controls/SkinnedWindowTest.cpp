// The skinned controls of a whole skinned window, through the skin manager and the frame as
// the program runs them: discovery at SKM_INITSKIN, the buttons' looks under the real
// mouse and their clicks, the log box's overlays (also after its window is made again),
// a message box's buttons skinned and clicked, and skinning stopped and started again
// leaving every control as it was.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/ComCtrls.h"
#include "framework/ResourceCount.h"
#include "framework/StdCtrls.h"
#include "skin/controls/RegisterSkinControls.h"
#include "skin/controls/WinSubClassScroll.h"
#include "skin/data/SkinDraw.h"
#include "skin/form/ControlDiscovery.h"
#include "tests/skin_form/SkinFormTestSupport.h"

namespace {

// A form like the main window: three buttons, a log box longer than itself, a status bar.
struct MainLikeForm {
  MainLikeForm() : test("default", "skinned controls", 460, 300) {
    TForm* form = test.form;
    for (int i = 0; i < 3; ++i) {
      buttons[i] = new TButton(form);
      buttons[i]->SetParent(form);
      buttons[i]->SetBounds(20 + i * 140, 10, 120, 30);
      buttons[i]->SetCaption(i == 0 ? L"监视系统盘" : i == 1 ? L"监视全部硬盘" : L"中止监视");
      buttons[i]->OnClick = [this, i](TObject*) { clicks.push_back(i); };
    }
    memo = new TMemo(form);
    memo->SetParent(form);
    memo->SetBounds(10, 50, 440, 200);
    memo->SetScrollBars(ssVertical);
    memo->Lines()->BeginUpdate();
    for (int i = 0; i < 300; ++i) memo->Lines()->Add(L"增加文件:    D:\\file_" + std::to_wstring(i) + L".txt;   ");
    memo->Lines()->EndUpdate();
    status = new TStatusBar(form);
    status->SetParent(form);
    status->SetAlign(alBottom);
    status->Panels()->Add()->SetWidth(200);
    status->Panels()->Add()->SetWidth(200);
    status->Panels()->Items(1)->SetText(L"没有监视");
  }
  std::vector<TWinControl*> Controls() const { return {buttons[0], buttons[1], buttons[2], memo, status}; }
  // Waits until the frame discovered the controls.
  bool ShowAndWaitForControls() {
    if (!test.ShowAndWaitForSkin()) return false;
    SetWindowPos(test.Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return PumpUntil([this] {
      TWinSkinForm* frame = test.Frame();
      return frame != nullptr && frame->Discovery && frame->Discovery->Controls().size() == 5;
    });
  }

  SkinnedTestForm test;
  TButton* buttons[3] = {};
  TMemo* memo = nullptr;
  TStatusBar* status = nullptr;
  std::vector<int> clicks;
};

class SkinnedWindow : public SkinFormTest {
 protected:
  static void SetUpTestSuite() { RegisterSkinControls(); }
  void SetUp() override {
    SkinFormTest::SetUp();
    SetCursorPos(0, 0);
  }
};

COLORREF ScreenPixel(HWND window, int x, int y) {
  POINT p{x, y};
  ClientToScreen(window, &p);
  HDC screen = GetDC(nullptr);
  const COLORREF c = GetPixel(screen, p.x, p.y);
  ReleaseDC(nullptr, screen);
  return c;
}

void MouseButton(bool down) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  SendInput(1, &input, sizeof input);
}

TEST_F(SkinnedWindow, DiscoveryAtInitSkinSkinsEveryControlAndTheLogBoxGetsItsOverlay) {
  MainLikeForm view;
  ASSERT_TRUE(view.ShowAndWaitForControls());
  for (TWinControl* c : view.Controls()) EXPECT_EQ(SendMessageW(c->Handle(), SKM_QUERYSKIN, 0, 0), 1) << c->ClassName();
  TSkinControlItem* item = view.test.Frame()->Discovery->FindByControl(view.memo);
  ASSERT_NE(item, nullptr);
  auto* scroll = dynamic_cast<TSkinScrollbar*>(item);
  ASSERT_NE(scroll, nullptr);
  ASSERT_TRUE(scroll->VertBar);
  EXPECT_TRUE(scroll->VertBar->Shown);
  EXPECT_FALSE(scroll->HorzBar->Shown);
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(SafeGetScrollBarInfo(view.memo->Handle(), OBJID_VSCROLL, &info));
  RECT overlay{};
  GetWindowRect(scroll->VertBar->Window(), &overlay);
  EXPECT_TRUE(EqualRect(&overlay, &info.rcScrollBar));
  // SKM_ENABLESKIN 0 shows the button unskinned, 1 brings the skin back.
  HWND button = view.buttons[1]->Handle();
  RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  const COLORREF skinned = ScreenPixel(button, 3, 3);
  SendMessageW(button, SKM_ENABLESKIN, 0, 0);
  RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
  PumpFor(30);
  const COLORREF plain = ScreenPixel(button, 3, 3);
  SendMessageW(button, SKM_ENABLESKIN, 1, 0);
  PumpFor(30);
  EXPECT_NE(plain, skinned);
  EXPECT_EQ(ScreenPixel(button, 3, 3), skinned);
}

// The face of frame `frame` of the skin's push button at (x, y) of a w x h button.
COLORREF Face(TSkinData* skin, int w, int h, int frame, int x, int y) {
  const TDataSkinButton& b = *skin->Buttons;
  std::unique_ptr<TBitmap> image =
      BuildNineSlice(RECT{0, 0, w, h}, b.Bitmap.get(), b.Margins, false, b.Tile != 0, b.FrameCount, frame);
  COLORREF c = GetPixel(image->Canvas()->Handle(), x, y);
  if (c == kSkinKeyColour && b.Trans == 1) c = ColorToRGB(skin->ButtonFaceColour);
  return c;
}

TEST_F(SkinnedWindow, ButtonsShowHotPressedAndFocusedLooksAndAClickStillRunsTheCommand) {
  MainLikeForm view;
  ASSERT_TRUE(view.ShowAndWaitForControls());
  TSkinData* skin = view.test.data;
  HWND button = view.buttons[0]->Handle();
  RECT r{};
  GetClientRect(button, &r);
  // Points of the face away from the caption: the frames differ somewhere among them.
  const std::vector<POINT> samples = {{r.right / 2, 1}, {r.right / 2, 2}, {1, r.bottom / 2}, {3, 3}, {r.right / 2, r.bottom - 2}};
  auto seen = [&] {
    std::vector<COLORREF> out;
    for (POINT p : samples) out.push_back(ScreenPixel(button, p.x, p.y));
    return out;
  };
  auto expected = [&](int frame) {
    std::vector<COLORREF> out;
    for (POINT p : samples) out.push_back(Face(skin, r.right, r.bottom, frame, p.x, p.y));
    return out;
  };
  PumpFor(50);
  EXPECT_EQ(seen(), expected(1)) << "normal";
  POINT centre{r.right / 2, r.bottom / 2};
  ClientToScreen(button, &centre);
  SetCursorPos(centre.x, centre.y);
  PumpFor(150);
  EXPECT_EQ(seen(), expected(4)) << "hot";
  MouseButton(true);
  PumpFor(150);
  EXPECT_EQ(seen(), expected(2)) << "pressed";
  MouseButton(false);
  PumpFor(150);
  ASSERT_EQ(view.clicks.size(), 1u);
  EXPECT_EQ(view.clicks[0], 0);
  // The click gave the focus; with the mouse elsewhere the focused look shows.
  // (The leave notification comes from the system's mouse-tracking timer, after the hover time.)
  SetCursorPos(0, 0);
  PumpUntil([&] { return seen() == expected(5); }, 2000);
  EXPECT_EQ(GetFocus(), button);
  EXPECT_EQ(seen(), expected(5)) << "focused";
  EXPECT_NE(expected(1), expected(4));
  EXPECT_NE(expected(4), expected(2));
  EXPECT_NE(expected(5), expected(1));
}

TEST_F(SkinnedWindow, TheLogBoxOverlayFollowsNewLinesAndAPressOnItScrolls) {
  MainLikeForm view;
  ASSERT_TRUE(view.ShowAndWaitForControls());
  auto* scroll = dynamic_cast<TSkinScrollbar*>(view.test.Frame()->Discovery->FindByControl(view.memo));
  ASSERT_NE(scroll, nullptr);
  SendMessageW(view.memo->Handle(), EM_LINESCROLL, 0, -100000);
  PumpFor(50);
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  SafeGetScrollBarInfo(view.memo->Handle(), OBJID_VSCROLL, &info);
  const int arrow = GetSystemMetrics(SM_CXHSCROLL);
  EXPECT_EQ(scroll->VertBar->ThumbStart, info.xyThumbTop);
  view.memo->Lines()->Add(L"修改文件:D:\\last.txt;   ");
  PumpFor(100);
  SafeGetScrollBarInfo(view.memo->Handle(), OBJID_VSCROLL, &info);
  EXPECT_GT(info.xyThumbTop, arrow + 20);
  EXPECT_EQ(scroll->VertBar->ThumbStart, info.xyThumbTop);
  // The up arrow under the real mouse: one line up.
  const int first = static_cast<int>(SendMessageW(view.memo->Handle(), EM_GETFIRSTVISIBLELINE, 0, 0));
  SetCursorPos((info.rcScrollBar.left + info.rcScrollBar.right) / 2, info.rcScrollBar.top + arrow / 2);
  PumpFor(50);
  MouseButton(true);
  MouseButton(false);
  PumpFor(200);
  EXPECT_EQ(SendMessageW(view.memo->Handle(), EM_GETFIRSTVISIBLELINE, 0, 0), first - 1);
}

// The overlay windows on `parent` (shown or not).
std::vector<HWND> OverlaysOn(HWND parent) {
  std::vector<HWND> found;
  for (HWND w = GetWindow(parent, GW_CHILD); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
    wchar_t name[64] = {};
    GetClassNameW(w, name, 64);
    if (std::wstring(name) == L"PtestSkinScrollbar") found.push_back(w);
  }
  return found;
}

TEST_F(SkinnedWindow, ALogBoxWhoseWindowIsMadeAgainIsSkinnedAgainAndItsOldOverlaysGo) {
  MainLikeForm view;
  ASSERT_TRUE(view.ShowAndWaitForControls());
  TControlDiscovery* discovery = view.test.Frame()->Discovery.get();
  auto* old = dynamic_cast<TSkinScrollbar*>(discovery->FindByControl(view.memo));
  ASSERT_NE(old, nullptr);
  const HWND oldMemo = view.memo->Handle();
  const HWND oldVert = old->VertBar->Window();
  const HWND oldHorz = old->HorzBar->Window();
  ASSERT_TRUE(IsWindowVisible(oldVert));
  ASSERT_EQ(OverlaysOn(view.test.Handle()).size(), 2u);
  // A new scroll-bar style: the framework makes the memo's window again.
  view.memo->SetScrollBars(ssBoth);
  const HWND memo = view.memo->Handle();
  ASSERT_FALSE(IsWindow(oldMemo));
  ASSERT_NE(memo, oldMemo);
  EXPECT_FALSE(IsWindowVisible(oldVert)) << "the overlays of the old window hide with it";
  ASSERT_TRUE(PumpUntil([&] {
    TSkinControlItem* item = discovery->FindByControl(view.memo);
    return item != nullptr && item->SkinnedWindow() == memo;
  })) << "the form's discovery skins the new window";
  EXPECT_EQ(SendMessageW(memo, SKM_QUERYSKIN, 0, 0), 1);
  EXPECT_EQ(discovery->Controls().size(), 5u);
  EXPECT_FALSE(IsWindow(oldVert));
  EXPECT_FALSE(IsWindow(oldHorz));
  auto* fresh = dynamic_cast<TSkinScrollbar*>(discovery->FindByControl(view.memo));
  ASSERT_NE(fresh, nullptr);
  const std::vector<HWND> overlays = OverlaysOn(view.test.Handle());
  ASSERT_EQ(overlays.size(), 2u) << "only the new window's two overlays";
  for (HWND w : overlays) EXPECT_TRUE(w == fresh->VertBar->Window() || w == fresh->HorzBar->Window());
  PumpFor(50);
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(SafeGetScrollBarInfo(memo, OBJID_VSCROLL, &info));
  RECT overlay{};
  GetWindowRect(fresh->VertBar->Window(), &overlay);
  EXPECT_TRUE(fresh->VertBar->Shown);
  EXPECT_TRUE(EqualRect(&overlay, &info.rcScrollBar));
  // A real press on the new bar's down arrow scrolls the new window.
  const int first = static_cast<int>(SendMessageW(memo, EM_GETFIRSTVISIBLELINE, 0, 0));
  const int arrow = GetSystemMetrics(SM_CXHSCROLL);
  SetCursorPos((info.rcScrollBar.left + info.rcScrollBar.right) / 2, info.rcScrollBar.bottom - arrow / 2);
  PumpFor(50);
  MouseButton(true);
  MouseButton(false);
  PumpFor(200);
  EXPECT_EQ(SendMessageW(memo, EM_GETFIRSTVISIBLELINE, 0, 0), first + 1);
}

// ---- A message box of the program ----

struct BoxProbe {
  LRESULT querySkin = -1;
  bool clicked = false;
};
BoxProbe boxProbe;

void CALLBACK ClickTheBoxButton(HWND, UINT, UINT_PTR id, DWORD) {
  const HWND box = FindWindowW(L"#32770", L"Skinned controls box");
  if (box == nullptr) return;
  const HWND ok = GetDlgItem(box, IDOK);
  if (ok == nullptr) return;
  // Wait until the frame's discovery skinned the buttons.
  const LRESULT skinned = SendMessageW(ok, SKM_QUERYSKIN, 0, 0);
  if (skinned != 1 && boxProbe.querySkin == -1) {
    boxProbe.querySkin = 0;
    return;
  }
  KillTimer(nullptr, id);
  boxProbe.querySkin = skinned;
  RECT r{};
  GetWindowRect(ok, &r);
  SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  MouseButton(true);
  MouseButton(false);
  boxProbe.clicked = true;
}

void CALLBACK CancelTheBox(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  if (HWND box = FindWindowW(L"#32770", L"Skinned controls box")) PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
}

TEST_F(SkinnedWindow, AMessageBoxsButtonsAreSkinnedAndReportTheirClicks) {
  MainLikeForm view;
  ASSERT_TRUE(view.ShowAndWaitForControls());
  boxProbe = {};
  const UINT_PTR clicker = SetTimer(nullptr, 0, 400, &ClickTheBoxButton);
  const UINT_PTR fallback = SetTimer(nullptr, 0, 8000, &CancelTheBox);
  const int answer = MessageBoxW(view.test.Handle(), L"已停止所有监视。", L"Skinned controls box", MB_OKCANCEL);
  KillTimer(nullptr, clicker);
  KillTimer(nullptr, fallback);
  EXPECT_EQ(boxProbe.querySkin, 1);
  EXPECT_TRUE(boxProbe.clicked);
  EXPECT_EQ(answer, IDOK);
}

// ---- Stopping and starting the skin ----

struct ControlState {
  LONG_PTR proc;
  LONG style;
  RECT bounds;
};

TEST_F(SkinnedWindow, StoppingTheSkinGivesEveryControlBackAsItWasAgainAndAgainWithNoLeak) {
  MainLikeForm view;
  // The controls before any skin touched them.
  view.test.form->HandleNeeded();
  std::vector<ControlState> before;
  for (TWinControl* c : view.Controls()) {
    ControlState s{};
    s.proc = GetWindowLongPtrW(c->Handle(), GWLP_WNDPROC);
    s.style = GetWindowLongW(c->Handle(), GWL_STYLE);
    GetWindowRect(c->Handle(), &s.bounds);
    MapWindowPoints(nullptr, view.test.Handle(), reinterpret_cast<POINT*>(&s.bounds), 2);
    before.push_back(s);
  }
  ASSERT_TRUE(view.ShowAndWaitForControls());
  auto stop = [&] {
    view.test.data->SetActive(false);
    SkinManage()->RunPendingAction();
    PumpFor(20);
  };
  auto start = [&] {
    view.test.data->SetActive(true);
    SkinManage()->RunPendingAction();
    return PumpUntil([&] {
      TWinSkinForm* frame = view.test.Frame();
      return frame != nullptr && frame->Discovery && frame->Discovery->Controls().size() == 5;
    });
  };
  stop();
  ASSERT_TRUE(start());
  stop();
  const int64_t gdi = GdiObjectCount();
  const int64_t windows = WindowCount();
  for (int round = 0; round < 20; ++round) {
    ASSERT_TRUE(start()) << round;
    for (TWinControl* c : view.Controls()) ASSERT_EQ(SendMessageW(c->Handle(), SKM_QUERYSKIN, 0, 0), 1);
    stop();
  }
  EXPECT_EQ(GdiObjectCount(), gdi);
  EXPECT_EQ(WindowCount(), windows);
  const std::vector<TWinControl*> controls = view.Controls();
  for (size_t i = 0; i < controls.size(); ++i) {
    HWND w = controls[i]->Handle();
    EXPECT_EQ(GetWindowLongPtrW(w, GWLP_WNDPROC), before[i].proc) << i;
    EXPECT_EQ(GetWindowLongW(w, GWL_STYLE), before[i].style) << i;
    RECT bounds{};
    GetWindowRect(w, &bounds);
    MapWindowPoints(nullptr, view.test.Handle(), reinterpret_cast<POINT*>(&bounds), 2);
    EXPECT_TRUE(EqualRect(&bounds, &before[i].bounds)) << i;
    EXPECT_EQ(SendMessageW(w, SKM_QUERYSKIN, 0, 0), 0) << i;
  }
  // The commands still run.
  SendMessageW(view.buttons[2]->Handle(), BM_CLICK, 0, 0);
  PumpFor(20);
  ASSERT_EQ(view.clicks.size(), 1u);
  EXPECT_EQ(view.clicks[0], 2);
}

}  // namespace
