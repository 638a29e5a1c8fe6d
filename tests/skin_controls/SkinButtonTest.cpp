// Skinned push buttons on a framework form and on raw windows: the face frames of each
// state from the skin's Buttons element, clicks, the private messages, exact detach.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "framework/ResourceCount.h"
#include "skin/controls/WinSubClassButtons.h"
#include "skin/controls/WinSubClassCheck.h"
#include "skin/controls/WinSubClassStatusBar.h"
#include "skin/data/SkinDraw.h"
#include "tests/skin_controls/SkinControlsSupport.h"

namespace {

class SkinnedButtons : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { skin = LoadBuiltSkin("default").release(); }
  static void TearDownTestSuite() {
    delete skin;
    skin = nullptr;
  }
  void SetUp() override {
    ASSERT_NE(skin, nullptr);
    SetCursorPos(0, 0);
    view = std::make_unique<TControlsForm>();
  }
  void TearDown() override { view.reset(); }

  // The face of frame `frame` at (x, y) of a w x h button: the nine-sliced frame, the
  // skin's face colour where the picture is transparent.
  static COLORREF Face(int w, int h, int frame, int x, int y) {
    const TDataSkinButton& b = *skin->Buttons;
    const RECT r{0, 0, w, h};
    std::unique_ptr<TBitmap> image = BuildNineSlice(r, b.Bitmap.get(), b.Margins, false, b.Tile != 0, b.FrameCount, frame);
    COLORREF c = GetPixel(image->Canvas()->Handle(), x, y);
    if (c == kSkinKeyColour && b.Trans == 1) c = ColorToRGB(skin->ButtonFaceColour);
    return c;
  }
  // Points of the face away from the caption.
  static std::vector<POINT> Samples(int w, int h) { return {{w / 2, 1}, {1, h / 2}, {w - 2, h / 2}, {w / 2, h - 2}, {3, 3}}; }
  static std::vector<COLORREF> Expected(int w, int h, int frame) {
    std::vector<COLORREF> out;
    for (POINT p : Samples(w, h)) out.push_back(Face(w, h, frame, p.x, p.y));
    return out;
  }
  static std::vector<COLORREF> Seen(const TCapture& c) {
    std::vector<COLORREF> out;
    for (POINT p : Samples(c.Width(), c.Height())) out.push_back(c.At(p.x, p.y));
    return out;
  }
  std::unique_ptr<TSkinButton> Attach(TButton* button) {
    auto skinned = std::make_unique<TSkinButton>(nullptr);
    skinned->InitSkin(&list, skin, false, nullptr, button);
    return skinned;
  }

  static TSkinData* skin;
  std::unique_ptr<TControlsForm> view;
  TRecordingList list;
};
TSkinData* SkinnedButtons::skin = nullptr;

TEST_F(SkinnedButtons, TheSkinFramesDifferSoEveryStateIsVisible) {
  // Without this the state checks below could not tell the frames apart.
  ASSERT_GE(skin->Buttons->FrameCount, 5);
  for (int a = 1; a <= 5; ++a)
    for (int b = a + 1; b <= 5; ++b) EXPECT_NE(Expected(100, 30, a), Expected(100, 30, b)) << a << " " << b;
}

TEST_F(SkinnedButtons, EachStatePaintsItsFrameOfTheButtonsElement) {
  auto skinned = Attach(view->button);
  view->check->SetFocus();  // the button neither focused nor default
  const HWND h = view->button->Handle();
  EXPECT_EQ(Seen(*PaintOf(h)), Expected(100, 30, 1)) << "normal";

  SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(skinned->MouseState & kMouseHot);
  EXPECT_EQ(Seen(*PaintOf(h)), Expected(100, 30, 4)) << "hot";

  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(Seen(*PaintOf(h)), Expected(100, 30, 2)) << "pressed while held";
  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  SendMessageW(h, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(skinned->MouseState, 0);
  // The press took the focus.
  EXPECT_EQ(GetFocus(), h);
  EXPECT_EQ(Seen(*PaintOf(h)), Expected(100, 30, 5)) << "focused";

  SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  view->button->SetEnabled(false);
  EXPECT_EQ(Seen(*PaintOf(h)), Expected(100, 30, 3)) << "disabled wins over hot";
}

TEST_F(SkinnedButtons, ADefaultButtonThatIsNeitherHotNorPressedUsesFrameFive) {
  auto skinned = Attach(view->button2);
  view->check->SetFocus();
  view->button2->SetDefault(true);
  EXPECT_EQ(Seen(*PaintOf(view->button2->Handle())), Expected(100, 30, 5));
}

TEST_F(SkinnedButtons, TheScreenShowsTheSkinnedFace) {
  auto skinned = Attach(view->button);
  view->check->SetFocus();
  PumpFor(50);
  EXPECT_EQ(Seen(*ScreenOf(view->button->Handle())), Expected(100, 30, 1));
}

TEST_F(SkinnedButtons, AClickStillFiresOnClickAndTheMouseDownEvent) {
  auto skinned = Attach(view->button);
  std::vector<POINT> downs;
  view->button->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int x, int y) { downs.push_back({x, y}); };
  const HWND h = view->button->Handle();
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(7, 9));
  EXPECT_TRUE(view->clicks.empty()) << "the click comes with the release";
  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(7, 9));
  PumpFor(20);
  EXPECT_EQ(view->clicks, std::vector<std::wstring>{L"button"});
  ASSERT_EQ(downs.size(), 1u);
  EXPECT_EQ(downs[0].x, 7);
  EXPECT_EQ(downs[0].y, 9);
  // A release without a press is no click.
  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(7, 9));
  EXPECT_EQ(view->clicks.size(), 1u);
}

TEST_F(SkinnedButtons, SpaceShowsThePressedFaceAndTheControlsOwnKeyHandlingClicks) {
  auto skinned = Attach(view->button);
  view->button->SetFocus();
  const HWND h = view->button->Handle();
  SendMessageW(h, WM_KEYDOWN, VK_SPACE, 0x00390001);
  EXPECT_TRUE(skinned->MouseState & kMousePressed);
  EXPECT_EQ(Seen(*PaintOf(h)), Expected(100, 30, 2));
  SendMessageW(h, WM_KEYUP, VK_SPACE, static_cast<LPARAM>(0xC0390001u));
  EXPECT_FALSE(skinned->MouseState & kMousePressed);
  PumpFor(20);
  EXPECT_EQ(view->clicks, std::vector<std::wstring>{L"button"});
}

TEST_F(SkinnedButtons, Tag5555ShowsTheParentsBackgroundAtTheTransparentCorners) {
  // A face whose top-left corner pixel is the key colour in every frame.
  auto keyed = LoadBuiltSkin("default");
  ASSERT_EQ(keyed->Buttons->Trans, 1);
  ASSERT_FALSE(keyed->Options().Contains(xoTransparent));
  TBitmap* faces = keyed->Buttons->Bitmap.get();
  const int frameWidth = faces->Width() / keyed->Buttons->FrameCount;
  for (int f = 0; f < keyed->Buttons->FrameCount; ++f) faces->Canvas()->SetPixel(f * frameWidth, 0, static_cast<TColor>(kSkinKeyColour));
  view->form->SetColor(clRed);
  view->check->SetFocus();
  TSkinButton plain(nullptr), transparent(nullptr);
  plain.InitSkin(&list, keyed.get(), false, nullptr, view->button);
  EXPECT_EQ(plain.Transparent, 0);
  EXPECT_EQ(PaintOf(view->button->Handle())->At(0, 0), ColorToRGB(keyed->ButtonFaceColour));
  view->button2->SetTag(kTransparentTag);
  transparent.InitSkin(&list, keyed.get(), false, nullptr, view->button2);
  EXPECT_EQ(transparent.Transparent, 1);
  auto c = PaintOf(view->button2->Handle());
  EXPECT_EQ(c->At(0, 0), RGB(255, 0, 0));
  EXPECT_NE(c->At(1, 1), RGB(255, 0, 0)) << "only the keyed pixel";
}

TEST_F(SkinnedButtons, AHugeControlGetsItsMouseDownAtTheCursor) {
  auto skinned = Attach(view->button);
  std::vector<POINT> downs;
  view->button->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int x, int y) { downs.push_back({x, y}); };
  view->button->SetWidth(40000);
  SetCursorPos(60, 70);
  POINT expected{};
  GetCursorPos(&expected);
  ScreenToClient(view->button->Handle(), &expected);
  TMessage m{WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(0xFFF0, 3), 0};
  skinned->EmulateMouseDown(m);
  ASSERT_EQ(downs.size(), 1u);
  EXPECT_EQ(downs[0].x, expected.x);
  EXPECT_EQ(downs[0].y, expected.y);
}

TEST_F(SkinnedButtons, QuerySkinAnswersOneOnlyWhileSkinned) {
  const HWND h = view->button->Handle();
  EXPECT_EQ(SendMessageW(h, SKM_QUERYSKIN, 0, 0), 0);
  auto skinned = Attach(view->button);
  EXPECT_EQ(SendMessageW(h, SKM_QUERYSKIN, 0, 0), 1);
  skinned.reset();
  EXPECT_EQ(SendMessageW(h, SKM_QUERYSKIN, 0, 0), 0);
}

TEST_F(SkinnedButtons, EnableSkinZeroShowsTheButtonUnskinnedAndOneBringsTheSkinBack) {
  auto skinned = Attach(view->button);
  view->check->SetFocus();
  const HWND h = view->button->Handle();
  const auto skinnedLook = Expected(100, 30, 1);
  EXPECT_EQ(Seen(*ScreenOf(h)), skinnedLook);

  SendMessageW(h, SKM_ENABLESKIN, 0, 0);
  EXPECT_EQ(skinned->Active, 0);
  const auto plain = Seen(*ScreenOf(h));
  EXPECT_NE(plain, skinnedLook);
  // Messages still pass through the object, which now hands them all on.
  EXPECT_EQ(SendMessageW(h, SKM_QUERYSKIN, 0, 0), 0);

  SendMessageW(h, SKM_ENABLESKIN, 1, 0);
  EXPECT_EQ(skinned->Active, 1);
  // Repainted at once: the screen shows the skin without another invalidation.
  RECT update{};
  EXPECT_FALSE(GetUpdateRect(h, &update, FALSE));
  PumpFor(30);
  RECT rect;
  GetWindowRect(h, &rect);
  HDC screen = GetDC(nullptr);
  const COLORREF top = GetPixel(screen, rect.left + 50, rect.top + 1);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(top, skinnedLook[0]);
}

TEST_F(SkinnedButtons, InitSkinTwiceAttachesOnce) {
  auto skinned = Attach(view->button);
  skinned->InitSkin(&list, skin, false, nullptr, view->button);
  EXPECT_EQ(list.added, 1);
  EXPECT_EQ(skinned->SkinState, kSkinAttached);
  skinned.reset();
  EXPECT_EQ(list.removed, 1);
  EXPECT_TRUE(list.controls.empty());
}

TEST_F(SkinnedButtons, DetachPutsTheControlsOwnHandlerBack) {
  int before = 0;
  const TWndMethod original = view->button->WindowProc;
  view->button->WindowProc = [&](TMessage& m) {
    ++before;
    original(m);
  };
  auto skinned = Attach(view->button);
  const HWND h = view->button->Handle();
  const WNDPROC windowProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(h, GWLP_WNDPROC));
  before = 0;
  SendMessageW(h, WM_NULL, 0, 0);
  EXPECT_EQ(before, 1) << "passed on through the saved handler";
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(h, GWLP_WNDPROC)), windowProc)
      << "a framework control keeps its window procedure";
  skinned.reset();
  before = 0;
  EXPECT_EQ(SendMessageW(h, SKM_QUERYSKIN, 0, 0), 0);
  EXPECT_EQ(before, 1);
  // The control paints itself again.
  view->check->SetFocus();
  EXPECT_NE(Seen(*ScreenOf(h)), Expected(100, 30, 1));
  // The counting handler refers to this test's locals: put the control's own one back
  // before the fixture destroys the form.
  view->button->WindowProc = original;
}

TEST_F(SkinnedButtons, WindowDestructionRestoresTheColourAndLeavesStateSix) {
  view->button->SetColor(clRed);
  auto skinned = std::make_unique<TSkinButton>(nullptr);
  skinned->InitSkin(&list, skin, true, nullptr, view->button);
  EXPECT_EQ(view->button->Color(), skin->ButtonFaceColour);
  view->button->DestroyHandle();
  EXPECT_EQ(skinned->SkinState, kSkinWindowDestroyed);
  EXPECT_EQ(skinned->Active, 0);
  EXPECT_EQ(view->button->Color(), clRed);
  EXPECT_EQ(list.controls.size(), 1u) << "stays listed until the form's sweep";
  skinned.reset();
  EXPECT_EQ(SendMessageW(view->button->Handle(), SKM_QUERYSKIN, 0, 0), 0);
}

TEST_F(SkinnedButtons, TheObjectMayOutliveItsControl) {
  auto skinned = Attach(view->button);
  delete view->button;
  view->button = nullptr;
  EXPECT_EQ(skinned->Control, nullptr);
  skinned.reset();  // nothing to restore, nothing touched
}

TEST_F(SkinnedButtons, AttachAndDetachAHundredTimesKeepsTheGdiCountersFlat) {
  auto cycle = [&] {
    auto b = Attach(view->button);
    auto c = std::make_unique<TSkinCheckBox>(nullptr);
    c->InitSkin(&list, skin, true, nullptr, view->check);
    auto s = std::make_unique<TSkinStatusBar>(nullptr);
    s->InitSkin(&list, skin, false, nullptr, view->status);
    PaintOf(view->button->Handle());
    PaintOf(view->check->Handle());
    PaintOf(view->status->Handle());
  };
  cycle();  // the shared work bitmap and fonts are made once
  PumpFor(20);
  const int64_t gdi = GdiObjectCount();
  const int64_t windows = WindowCount();
  for (int i = 0; i < 100; ++i) cycle();
  PumpFor(20);
  EXPECT_EQ(GdiObjectCount(), gdi);
  EXPECT_EQ(WindowCount(), windows);
  EXPECT_GT(ResourceTotalCreated(TResourceKind::Bitmap), 100);
}

// ---- Raw windows ----

std::vector<std::pair<WPARAM, LPARAM>> gCommands;

LRESULT CALLBACK ParentProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND) gCommands.emplace_back(wp, lp);
  return DefWindowProcW(w, msg, wp, lp);
}

class RawButtons : public SkinnedButtons {
 protected:
  void SetUp() override {
    SkinnedButtons::SetUp();
    gCommands.clear();
    WNDCLASSW wc{};
    wc.lpfnWndProc = &ParentProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"SkinTestParent";
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    RegisterClassW(&wc);
    parent = CreateWindowExW(0, L"SkinTestParent", L"raw", WS_POPUP | WS_VISIBLE, 420, 40, 300, 120, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    wide = CreateWindowExW(0, L"BUTTON", L"宽", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 100, 30, parent,
                           reinterpret_cast<HMENU>(101), GetModuleHandleW(nullptr), nullptr);
    ansi = CreateWindowExA(0, "BUTTON", "Ansi", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 120, 10, 100, 30, parent,
                           reinterpret_cast<HMENU>(102), GetModuleHandleW(nullptr), nullptr);
  }
  void TearDown() override {
    DestroyWindow(parent);
    SkinnedButtons::TearDown();
  }
  HWND parent = nullptr, wide = nullptr, ansi = nullptr;
};

TEST_F(RawButtons, WideAndAnsiWindowsGetThunksOfTheirKindAndComeBackExactly) {
  ASSERT_TRUE(IsWindowUnicode(wide));
  ASSERT_FALSE(IsWindowUnicode(ansi));
  const LONG_PTR wideW = GetWindowLongPtrW(wide, GWLP_WNDPROC), wideA = GetWindowLongPtrA(wide, GWLP_WNDPROC);
  const LONG_PTR ansiW = GetWindowLongPtrW(ansi, GWLP_WNDPROC), ansiA = GetWindowLongPtrA(ansi, GWLP_WNDPROC);
  {
    TSkinButton w(nullptr), a(nullptr);
    w.InitSkinHandle(wide, skin, &list, nullptr);
    a.InitSkinHandle(ansi, skin, &list, nullptr);
    EXPECT_EQ(w.UnicodeWindow, 1);
    EXPECT_EQ(a.UnicodeWindow, 0);
    EXPECT_TRUE(IsWindowUnicode(wide)) << "replaced with SetWindowLongW";
    EXPECT_FALSE(IsWindowUnicode(ansi)) << "replaced with SetWindowLongA";
    EXPECT_NE(GetWindowLongPtrW(wide, GWLP_WNDPROC), wideW);
    EXPECT_NE(GetWindowLongPtrA(ansi, GWLP_WNDPROC), ansiA);
    EXPECT_EQ(w.Caption, L"宽");
    EXPECT_EQ(SendMessageW(wide, SKM_QUERYSKIN, 0, 0), 1);
    EXPECT_EQ(SendMessageA(ansi, SKM_QUERYSKIN, 0, 0), 1);
    EXPECT_EQ(Seen(*PaintOf(wide)), Expected(100, 30, 1));
    EXPECT_EQ(Seen(*PaintOf(ansi)), Expected(100, 30, 1));
    // Texts pass through both kinds unharmed.
    SendMessageW(wide, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"改过的"));
    wchar_t text[32] = {};
    GetWindowTextW(wide, text, 32);
    EXPECT_STREQ(text, L"改过的");
    SendMessageA(ansi, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Changed"));
    char narrow[32] = {};
    GetWindowTextA(ansi, narrow, 32);
    EXPECT_STREQ(narrow, "Changed");
  }
  EXPECT_EQ(GetWindowLongPtrW(wide, GWLP_WNDPROC), wideW);
  EXPECT_EQ(GetWindowLongPtrA(wide, GWLP_WNDPROC), wideA);
  EXPECT_EQ(GetWindowLongPtrW(ansi, GWLP_WNDPROC), ansiW);
  EXPECT_EQ(GetWindowLongPtrA(ansi, GWLP_WNDPROC), ansiA);
  EXPECT_EQ(SendMessageW(wide, SKM_QUERYSKIN, 0, 0), 0);
  EXPECT_EQ(SendMessageA(ansi, SKM_QUERYSKIN, 0, 0), 0);
}

TEST_F(RawButtons, ARawButtonReportsItsClickToTheParentWithItsId) {
  TSkinButton w(nullptr), a(nullptr);
  w.InitSkinHandle(wide, skin, &list, nullptr);
  a.InitSkinHandle(ansi, skin, &list, nullptr);
  for (HWND h : {wide, ansi}) {
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  }
  PumpFor(30);
  ASSERT_EQ(gCommands.size(), 2u);
  EXPECT_EQ(gCommands[0].first, MAKEWPARAM(101, BN_CLICKED));
  EXPECT_EQ(gCommands[0].second, reinterpret_cast<LPARAM>(wide));
  EXPECT_EQ(gCommands[1].first, MAKEWPARAM(102, BN_CLICKED));
  EXPECT_EQ(gCommands[1].second, reinterpret_cast<LPARAM>(ansi));
}

TEST_F(RawButtons, DestroyingARawWindowWhileSkinnedIsSafe) {
  auto w = std::make_unique<TSkinButton>(nullptr);
  w->InitSkinHandle(wide, skin, &list, nullptr);
  DestroyWindow(wide);
  EXPECT_EQ(w->SkinState, kSkinWindowDestroyed);
  w.reset();
}

// A caption mixing CJK and Latin, which Wine draws a little wider than it measures: the
// skinned face shows all of it, centred, not its last character cut or wrapped away.
TEST_F(RawButtons, AMixedCjkAndLatinCaptionIsShownWhole) {
  SetWindowTextW(wide, L"打开(&O)");
  SetWindowPos(wide, nullptr, 0, 0, 80, 28, SWP_NOMOVE | SWP_NOZORDER);
  TSkinButton w(nullptr);
  w.InitSkinHandle(wide, skin, &list, nullptr);
  // The fonts of a Chinese system's dialogs.
  for (const wchar_t* name : {L"宋体", L"SimSun", L"MS Shell Dlg", L"Tahoma"}) {
    for (int height : {-12, -13}) {
      SCOPED_TRACE(testing::Message() << height << " " << (name == std::wstring(L"Tahoma") ? "Tahoma" : "CJK"));
      HFONT font = CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, name);
      SendMessageW(wide, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
      const std::unique_ptr<TCapture> face = PaintOf(wide);
      // The text is the darkest ink on the face: find its columns.
      int left = -1, right = -1;
      for (int x = 0; x < face->Width(); ++x)
        for (int y = 4; y < face->Height() - 4; ++y) {
          const COLORREF c = face->At(x, y);
          if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 80) {
            if (left < 0) left = x;
            right = x;
          }
        }
      SendMessageW(wide, WM_SETFONT, 0, FALSE);
      DeleteObject(font);
      ASSERT_GE(left, 0) << "no text on the face";
      const int leftMargin = left;
      const int rightMargin = face->Width() - 1 - right;
      EXPECT_LE(std::abs(leftMargin - rightMargin), 3)
          << "the caption is not centred whole: margins " << leftMargin << " and " << rightMargin;
    }
  }
}

}  // namespace
