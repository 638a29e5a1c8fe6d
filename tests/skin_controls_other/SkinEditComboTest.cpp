// Skinned edits, combo boxes and date-time pickers on raw windows: the skin's border,
// the combo's edge and button in each state (hot only over the button), the picker's
// arrow button, and the controls still typing, dropping down and opening the calendar.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>

#include "skin/controls/WinSubClassComBox.h"
#include "skin/controls/WinSubClassDateTime.h"
#include "skin/controls/WinSubClassEdit.h"
#include "skin/controls/WinSubClassHelpers.h"
#include "skin/controls/WinSubClassUpDown.h"
#include "skin/data/SkinDraw.h"
#include "tests/skin_controls_other/OtherControlsFixtures.h"

namespace {

class SkinnedFields : public TOtherSkinRawTest {};

// ---- Edit ----

TEST_F(SkinnedFields, AnEditWithAnEdgeGetsTheFlatBorderAndStillTakesTyping) {
  const HWND edit = host->Add(L"Edit", ES_AUTOHSCROLL, 10, 10, 140, 24, L"", WS_EX_CLIENTEDGE);
  TSkinEdit skinned(nullptr);
  skinned.InitSkinHandle(edit, skin, &list, nullptr);
  SendMessageW(edit, WM_CHAR, L'a', 0);
  SendMessageW(edit, WM_CHAR, L'b', 0);
  wchar_t text[16] = {};
  GetWindowTextW(edit, text, 16);
  EXPECT_STREQ(text, L"ab");
  auto shown = ScreenOf(edit);
  for (const POINT p : {POINT{0, 0}, POINT{139, 12}, POINT{70, 23}}) EXPECT_EQ(shown->At(p.x, p.y), Shadow());
  EXPECT_EQ(shown->At(1, 1), 0xFFFFFFu);
  EXPECT_EQ(shown->At(138, 22), 0xFFFFFFu);
  // A frame repaint by the control itself is painted over again.
  RedrawWindow(edit, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(ScreenOf(edit)->At(0, 0), Shadow());
}

TEST_F(SkinnedFields, AnEditWithoutAnEdgeKeepsItsLook) {
  const HWND edit = host->Add(L"Edit", 0, 10, 10, 140, 24, L"x");
  auto before = ScreenOf(edit);
  TSkinEdit skinned(nullptr);
  skinned.InitSkinHandle(edit, skin, &list, nullptr);
  EXPECT_EQ(DifferingPixels(*before, *ScreenOf(edit), RECT{0, 0, 140, 24}), 0);
}

TEST_F(SkinnedFields, AnEditsSpinChildGetsASkinnedUpDownOnlyWhenTheSettingsAskForSpins) {
  for (const bool spins : {true, false}) {
    const HWND edit = host->Add(L"Edit", 0, 10, 10, 140, 24, L"", WS_EX_CLIENTEDGE);
    const HWND spin = CreateWindowExW(0, UPDOWN_CLASSW, L"", WS_CHILD | WS_VISIBLE, 100, 0, 16, 20, edit, nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
    const TSkinControlTypes saved = skin->SkinControls();
    TSkinControlTypes types = saved;
    if (spins) types.Include(xcSpin);
    else types.Exclude(xcSpin);
    skin->SetSkinControls(types);
    {
      TSkinEdit skinned(nullptr);
      skinned.InitSkinHandle(edit, skin, &list, nullptr);
      UpdateWindow(edit);
      skinned.PaintWindow(nullptr);
      ASSERT_EQ(skinned.UpDown != nullptr, spins);
      if (spins) {
        EXPECT_EQ(skinned.UpDown->Handle, spin);
        EXPECT_EQ(SendMessageW(spin, SKM_QUERYSKIN, 0, 0), 1);
      }
    }
    skin->SetSkinControls(saved);
    EXPECT_EQ(SendMessageW(spin, SKM_QUERYSKIN, 0, 0), 0);  // the up-down went with the edit's object
    DestroyWindow(edit);
  }
}

TEST_F(SkinnedFields, TheClientPaintRequestPaintsTheTextIntoTheGivenDc) {
  const HWND edit = host->Add(L"Edit", 0, 10, 10, 140, 24, L"WWWW", WS_EX_CLIENTEDGE);
  TSkinEdit skinned(nullptr);
  skinned.InitSkinHandle(edit, skin, &list, nullptr);
  TCapture capture(140, 24);
  capture.Fill(RGB(1, 2, 3));
  EXPECT_EQ(SendMessageW(edit, SKM_PAINTCLIENT, reinterpret_cast<WPARAM>(capture.Dc()), SKIN_MAGIC), SKIN_MAGIC);
  int painted = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 100; ++x) painted += capture.At(x, y) != RGB(1, 2, 3);
  EXPECT_GT(painted, 50);
  // Without the check value the request is not the engine's: no answer of its kind.
  EXPECT_NE(SendMessageW(edit, SKM_PAINTCLIENT, 0, 0), SKIN_MAGIC);
}

// ---- Combo box ----

class SkinnedCombo : public SkinnedFields {
 protected:
  HWND MakeCombo(DWORD style, DWORD exStyle = 0) {
    const HWND combo = host->Add(L"ComboBox", style | WS_VSCROLL, 10, 10, 150, 200, L"", exStyle);
    for (const wchar_t* item : {L"一", L"二", L"三", L"四", L"五", L"六", L"七", L"八", L"九", L"十", L"十一", L"十二"})
      SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
    SetFocus(host->Window());
    return combo;
  }
  // The button part of the combined combo image, frame `frame`, shows at the right (or
  // the left, for right-to-left combos) of the control.
  testing::AssertionResult ButtonShows(HWND combo, int frame, bool rtl = false) {
    RECT rect{};
    GetWindowRect(combo, &rect);
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    const TDataSkinObject& image = rtl ? *skin->SunkEdge : *skin->ComboButton;
    auto want = RawFrame(image, 4, frame, w, h);
    const int a = GetSystemMetrics(SM_CXHSCROLL) + 2;
    const RECT part = rtl ? RECT{0, 0, a, h} : RECT{w - a, 0, w, h};
    auto wantPart = std::make_unique<TCapture>(a, h);
    BitBlt(wantPart->Dc(), 0, 0, a, h, want->Dc(), part.left, 0, SRCCOPY);
    return SameOpaquePixels(*ScreenOf(combo), part, *wantPart);
  }
};

TEST_F(SkinnedCombo, TheSkinModelComposedTheComboImage) {
  ASSERT_EQ(skin->ComboButton->Style, 2);
  ASSERT_EQ(skin->ComboButton->FrameCount, 4);
}

TEST_F(SkinnedCombo, ADropDownListShowsTheButtonInItsStateHotOnlyOverTheButton) {
  const HWND combo = MakeCombo(CBS_DROPDOWNLIST);
  TSkinComBox skinned(nullptr);
  skinned.InitSkinHandle(combo, skin, &list, nullptr);
  EXPECT_TRUE(ButtonShows(combo, 1));
  RECT client{};
  GetClientRect(combo, &client);
  // Over the text part: not hot.
  SendMessageW(combo, WM_MOUSEMOVE, 0, MAKELPARAM(10, client.bottom / 2));
  EXPECT_EQ(skinned.MouseState & kMouseHot, 0);
  EXPECT_TRUE(ButtonShows(combo, 1));
  // Over the button: hot.
  SendMessageW(combo, WM_MOUSEMOVE, 0, MAKELPARAM(client.right - 5, client.bottom / 2));
  EXPECT_EQ(skinned.MouseState & kMouseHot, kMouseHot);
  EXPECT_TRUE(ButtonShows(combo, 4));
  // Back over the text part, and away.
  SendMessageW(combo, WM_MOUSEMOVE, 0, MAKELPARAM(10, client.bottom / 2));
  EXPECT_EQ(skinned.MouseState & kMouseHot, 0);
  SendMessageW(combo, WM_MOUSEMOVE, 0, MAKELPARAM(client.right - 5, client.bottom / 2));
  SendMessageW(combo, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(skinned.MouseState & kMouseHot, 0);
  EnableWindow(combo, FALSE);
  EXPECT_TRUE(ButtonShows(combo, 3));
}

TEST_F(SkinnedCombo, ADropDownListStillDropsDownAndSelects) {
  const HWND combo = MakeCombo(CBS_DROPDOWNLIST);
  TSkinComBox skinned(nullptr);
  skinned.InitSkinHandle(combo, skin, &list, nullptr);
  SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
  PumpFor(30);
  EXPECT_TRUE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_EQ(skinned.Dropped, 1);  // the reflected CBN_DROPDOWN
  SendMessageW(combo, CB_SETCURSEL, 2, 0);
  SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
  PumpFor(30);
  EXPECT_FALSE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_EQ(skinned.Dropped, 0);
  EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 2);
}

TEST_F(SkinnedCombo, ADropDownCombosEditIsFollowedAndGivenBackExactly) {
  const HWND combo = MakeCombo(CBS_DROPDOWN);
  const HWND edit = GetWindow(combo, GW_CHILD);
  ASSERT_NE(edit, nullptr);
  const WNDPROC original = WindowProcOf(edit);
  {
    TSkinComBox skinned(nullptr);
    skinned.InitSkinHandle(combo, skin, &list, nullptr);
    EXPECT_EQ(skinned.EditWindow, edit);
    EXPECT_NE(WindowProcOf(edit), original);
    SendMessageW(edit, WM_CHAR, L'z', 0);
    wchar_t text[16] = {};
    GetWindowTextW(combo, text, 16);
    EXPECT_NE(wcschr(text, L'z'), nullptr);
    EXPECT_TRUE(ButtonShows(combo, 1));
  }
  EXPECT_EQ(WindowProcOf(edit), original);
}

TEST_F(SkinnedCombo, TheListsScrollBarIsSkinnedAndGivenBackWithTheCombo) {
  struct Case {
    DWORD style;
    const char* barClass;  // null: the list gets none
  };
  const Case cases[] = {{CBS_DROPDOWNLIST, "TComboxScrollBar"}, {CBS_SIMPLE, "TSkinScrollbarH"}, {CBS_DROPDOWN, nullptr}};
  for (const Case& c : cases) {
    const HWND combo = MakeCombo(c.style);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(combo, &info));
    const WNDPROC listProc = WindowProcOf(info.hwndList);
    {
      TSkinComBox skinned(nullptr);
      skinned.InitSkinHandle(combo, skin, &list, nullptr);
      if (c.barClass == nullptr) {
        EXPECT_EQ(skinned.ListScrollBar, nullptr);
      } else {
        ASSERT_NE(skinned.ListScrollBar, nullptr) << c.barClass;
        EXPECT_EQ(skinned.ListScrollBar->ClassName(), c.barClass);
        EXPECT_EQ(skinned.ListScrollBar->Handle, info.hwndList);
        EXPECT_EQ(SendMessageW(info.hwndList, SKM_QUERYSKIN, 0, 0), 1);
      }
    }
    EXPECT_EQ(WindowProcOf(info.hwndList), listProc);
    EXPECT_EQ(SendMessageW(info.hwndList, SKM_QUERYSKIN, 0, 0), 0);
    DestroyWindow(combo);
  }
}

TEST_F(SkinnedCombo, ARightToLeftComboHasItsButtonOnTheLeft) {
  const HWND combo = MakeCombo(CBS_DROPDOWNLIST, WS_EX_LEFTSCROLLBAR);
  TSkinComBox skinned(nullptr);
  skinned.InitSkinHandle(combo, skin, &list, nullptr);
  EXPECT_TRUE(ButtonShows(combo, 1, true));
  EXPECT_EQ(skinned.ButtonRect.left, 0);
}

TEST_F(SkinnedCombo, WithoutTheCombinedImageEdgeButtonAndArrowAreDrawnApart) {
  // Style 0: the sunken edge, the button cell and the arrow glyph.
  TDataSkinBorder& button = *skin->ComboButton;
  const int savedStyle = button.Style;
  button.Style = 0;
  const HWND combo = MakeCombo(CBS_DROPDOWNLIST);
  TSkinComBox skinned(nullptr);
  skinned.InitSkinHandle(combo, skin, &list, nullptr);
  auto shown = ScreenOf(combo);
  button.Style = savedStyle;
  RECT rect{};
  GetWindowRect(combo, &rect);
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  const int b = GetSystemMetrics(SM_CXHSCROLL);
  EXPECT_EQ(skinned.ButtonRect.right, w - 2);
  EXPECT_EQ(skinned.ButtonRect.left, w - 2 - (b + 2));
  EXPECT_EQ(skinned.ButtonRect.top, 2);
  EXPECT_EQ(skinned.ButtonRect.bottom, h - 2);
  // The edge: the sunken edge's frame 1 on the control's border ring.
  auto edge = RawFrame(*skin->SunkEdge, 4, 1, w, h);
  auto ring = std::make_unique<TCapture>(w, 2);
  BitBlt(ring->Dc(), 0, 0, w, 2, edge->Dc(), 0, 0, SRCCOPY);
  EXPECT_TRUE(SameOpaquePixels(*shown, RECT{0, 0, w, 2}, *ring));
}

// ---- Date-time picker ----

TEST_F(SkinnedFields, APickerGetsAnArrowButtonOverItsOwnButtonAndGetsItBackOnDetach) {
  const HWND picker = host->Add(DATETIMEPICK_CLASSW, 0, 10, 10, 160, 24);
  const LONG styleBefore = GetWindowLongW(picker, GWL_STYLE);
  ASSERT_EQ(styleBefore & WS_CLIPCHILDREN, 0);
  const HWND nativeChild = GetWindow(picker, GW_CHILD);
  {
    TSkinDateTime skinned(nullptr);
    skinned.InitSkinHandle(picker, skin, &list, nullptr);
    ASSERT_NE(skinned.Arrow, nullptr);
    const HWND arrow = skinned.Arrow->Handle();
    EXPECT_EQ(GetParent(arrow), picker);
    EXPECT_EQ(GetWindowLongW(arrow, GWL_STYLE) & WS_TABSTOP, 0);
    EXPECT_NE(GetWindowLongW(picker, GWL_STYLE) & WS_CLIPCHILDREN, 0);
    RECT pickerRect{}, arrowRect{};
    GetWindowRect(picker, &pickerRect);
    GetWindowRect(arrow, &arrowRect);
    const int width = GetSystemMetrics(SM_CXHSCROLL);
    EXPECT_EQ(arrowRect.right - arrowRect.left, width);
    EXPECT_EQ(arrowRect.bottom - arrowRect.top, 24 - 4);
    EXPECT_EQ(arrowRect.left - pickerRect.left, 160 - width - 4);
    EXPECT_EQ(arrowRect.top - pickerRect.top, 2);
    // The arrow: cell 1 of the combo arrow; hot: cell 4.
    const TDataSkinObject& cells = *skin->ComboArrow;
    auto expected = [&](int cell) {
      auto want = std::make_unique<TCapture>(width, 20);
      want->Fill(Face());
      DrawStripCellBlit(nullptr, want->Dc(), RECT{0, 0, width, 20}, cells.FrameCount, cell, cells.Bitmap.get());
      return want;
    };
    PumpFor(100);  // the picker's own repaint after attach comes first
    EXPECT_TRUE(SamePixels(*ScreenOf(arrow), RECT{0, 0, width, 20}, *expected(1)));
    SendMessageW(arrow, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_TRUE(SamePixels(*ScreenOf(arrow), RECT{0, 0, width, 20}, *expected(4)));
    SendMessageW(arrow, WM_MOUSELEAVE, 0, 0);
    EXPECT_TRUE(SamePixels(*ScreenOf(arrow), RECT{0, 0, width, 20}, *expected(1)));
    // The border over the picker's edge.
    auto shown = ScreenOf(picker);
    EXPECT_EQ(shown->At(0, 0), Shadow());
    EXPECT_EQ(shown->At(1, 1), 0xFFFFFFu);
  }
  EXPECT_EQ(GetWindowLongW(picker, GWL_STYLE), styleBefore);
  EXPECT_EQ(GetWindow(picker, GW_CHILD), nativeChild);
}

TEST_F(SkinnedFields, APressOnTheArrowOpensThePickersCalendar) {
  const HWND picker = host->Add(DATETIMEPICK_CLASSW, 0, 10, 10, 160, 24);
  TSkinDateTime skinned(nullptr);
  skinned.InitSkinHandle(picker, skin, &list, nullptr);
  ASSERT_NE(skinned.Arrow, nullptr);
  const HWND arrow = skinned.Arrow->Handle();
  SendMessageW(arrow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
  SendMessageW(arrow, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
  PumpFor(100);
  const HWND calendar = reinterpret_cast<HWND>(SendMessageW(picker, DTM_GETMONTHCAL, 0, 0));
  EXPECT_NE(calendar, nullptr);
  if (calendar != nullptr) {
    EXPECT_TRUE(IsWindowVisible(calendar));
    SendMessageW(calendar, WM_KEYDOWN, VK_ESCAPE, 0);
    SendMessageW(picker, WM_KEYDOWN, VK_ESCAPE, 0);
    PumpFor(30);
  }
}

}  // namespace
