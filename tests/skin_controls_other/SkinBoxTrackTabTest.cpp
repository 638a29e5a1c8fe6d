// Skinned group boxes, boxes, size grips, track bars, headers and tab controls on raw
// common-control windows (and framework panels where the class serves framework
// controls): the skin's frames where they belong, states told apart, and the controls
// still dragging, switching and closing tabs as asked.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>

#include "framework/ExtCtrls.h"
#include "skin/controls/WinSubClassBox.h"
#include "skin/controls/WinSubClassGroupBox.h"
#include "skin/controls/WinSubClassHeader.h"
#include "skin/controls/WinSubClassSizer.h"
#include "skin/controls/WinSubClassTab.h"
#include "skin/controls/WinSubClassTabBtn.h"
#include "skin/controls/WinSubClassTabSheet.h"
#include "skin/controls/WinSubClassTrackBar.h"
#include "skin/controls/WinSubClassUpDown.h"
#include "skin/data/SkinDraw.h"
#include "tests/skin_controls_other/OtherControlsFixtures.h"

namespace {

class SkinnedOthers : public TOtherSkinRawTest {
 protected:
  HWND MakeTabs(DWORD style, int width = 240, int height = 120) { return host->AddTabs(style, 10, 10, width, height); }
  static RECT ItemRect(HWND tabs, int index) {
    RECT rect{};
    SendMessageW(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
    return rect;
  }
};

// ---- Group boxes, boxes, size grips ----

TEST_F(SkinnedOthers, ARawGroupBoxGetsTheRoundedShadowFrameOverItsOwnEdge) {
  const HWND group = host->Add(L"Button", BS_GROUPBOX, 10, 10, 200, 100, L"分组");
  TSkinGroupBox skinned(nullptr);
  skinned.InitSkinHandle(group, skin, &list, nullptr);
  EXPECT_EQ(skinned.Mode, 0);
  HDC screen = GetDC(nullptr);
  HGDIOBJ old = SelectObject(screen, GetStockObject(DEFAULT_GUI_FONT));
  SIZE zero{};
  GetTextExtentPoint32W(screen, L"0", 1, &zero);
  SelectObject(screen, old);
  ReleaseDC(nullptr, screen);
  const int y = zero.cy / 2 - 1;
  auto shown = ScreenOf(group);
  EXPECT_EQ(shown->At(1, 60), Shadow());
  EXPECT_EQ(shown->At(198, 60), Shadow());
  EXPECT_EQ(shown->At(100, 98), Shadow());
  EXPECT_EQ(shown->At(100, y), Shadow());
  EXPECT_EQ(shown->At(0, 60), Face());  // the control's own edge is covered
  EXPECT_EQ(shown->At(199, 60), Face());
  int caption = 0;
  for (int yy = 0; yy < zero.cy; ++yy)
    for (int x = 8; x < 60; ++x) caption += shown->At(x, yy) != Face() && shown->At(x, yy) != Shadow();
  EXPECT_GT(caption, 10);
}

TEST_F(SkinnedOthers, AFrameworkGroupBoxIsPaintedInsteadOfTheControl) {
  TControlsForm view;
  auto* panel = new TPanel(view.form);
  panel->SetParent(view.form);
  panel->SetBounds(10, 130, 150, 80);
  panel->SetColor(clRed);
  TSkinGroupBox skinned(nullptr);
  skinned.InitSkin(&list, skin, false, nullptr, panel);
  EXPECT_EQ(skinned.Mode, 1);
  auto painted = PaintOf(panel->Handle());
  EXPECT_EQ(painted->At(1, 40), Shadow());
  EXPECT_EQ(painted->At(5, 40), Face());  // filled with the face colour, not the panel's red
  EXPECT_EQ(painted->At(75, 40), Face());
}

TEST_F(SkinnedOthers, ABoxTakesTheFaceColourAndGivesTheOwnColourBack) {
  TControlsForm view;
  auto* panel = new TPanel(view.form);
  panel->SetParent(view.form);
  panel->SetBounds(10, 130, 150, 80);
  panel->SetColor(clRed);
  TSkinBox skinned(nullptr);
  skinned.InitSkin(&list, skin, true, nullptr, panel);
  EXPECT_EQ(skinned.SkinState, kSkinAttached);
  EXPECT_EQ(panel->Color(), skin->ButtonFaceColour);
  EXPECT_FALSE(static_cast<bool>(skinned.OldWindowProc));  // the handler stays the control's own
  EXPECT_EQ(list.added, 1);
  skinned.Unskin();
  EXPECT_EQ(panel->Color(), clRed);
  EXPECT_EQ(skinned.SkinState, kSkinUnskinned);
}

TEST_F(SkinnedOthers, ARawDialogPageAndItsStaticTextsSitOnTheFaceColour) {
  const HWND page = CreateWindowExW(0, L"#32770", L"", WS_CHILD | WS_VISIBLE, 10, 10, 200, 120, host->Window(),
                                    nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(page, nullptr);
  const HWND label = CreateWindowExW(0, L"Static", L"静态文字", WS_CHILD | WS_VISIBLE, 10, 10, 100, 20, page, nullptr,
                                     GetModuleHandleW(nullptr), nullptr);
  TSkinBoxH skinned(nullptr);
  skinned.InitSkinHandle(page, skin, &list, nullptr);
  HDC dc = GetDC(label);
  EXPECT_EQ(SendMessageW(page, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(label)),
            reinterpret_cast<LRESULT>(skin->ButtonFaceBrush.Get()));
  EXPECT_EQ(GetBkColor(dc), Face());
  ReleaseDC(label, dc);
  auto shown = ScreenOf(page);
  EXPECT_EQ(shown->At(150, 100), Face());
  EXPECT_EQ(shown->At(12, 25), Face());  // beside and under the text
}

TEST_F(SkinnedOthers, ATrackBarOnARawDialogPageGetsItsCustomDrawFromThePage) {
  const HWND page = CreateWindowExW(0, L"#32770", L"", WS_CHILD | WS_VISIBLE, 10, 10, 260, 120, host->Window(),
                                    nullptr, GetModuleHandleW(nullptr), nullptr);
  const HWND track = CreateWindowExW(0, TRACKBAR_CLASSW, L"", WS_CHILD | WS_VISIBLE, 10, 10, 200, 34, page, nullptr,
                                     GetModuleHandleW(nullptr), nullptr);
  SendMessageW(track, TBM_SETRANGE, TRUE, MAKELPARAM(0, 10));
  SendMessageW(track, TBM_SETPOS, TRUE, 5);
  TSkinTrackBar skinnedTrack(nullptr);
  skinnedTrack.InitSkinHandle(track, skin, &list, nullptr);
  const auto plain = ScreenOf(track);
  TSkinBoxH skinnedPage(nullptr);
  skinnedPage.InitSkinHandle(page, skin, &list, nullptr);
  auto shown = ScreenOf(track);
  RECT thumb{};
  SendMessageW(track, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  const TDataSkinObject& image = *skin->TrackbarThumbHorz;
  const int w = thumb.right - thumb.left, h = thumb.bottom - thumb.top;
  auto want = std::make_unique<TCapture>(w, h);
  const int cell = image.Bitmap->Width() / 5;
  StretchBlt(want->Dc(), 0, 0, w, h, image.Bitmap->Canvas()->Handle(), cell, 0, cell, image.Bitmap->Height(), SRCCOPY);
  EXPECT_FALSE(SameOpaquePixels(*plain, thumb, *want));  // without the page's help: the control's own thumb
  EXPECT_TRUE(SameOpaquePixels(*shown, thumb, *want));
}

TEST_F(SkinnedOthers, ASizeGripIsPaintedOverInTheFaceColour) {
  const HWND grip = host->Add(L"ScrollBar", SBS_SIZEGRIP, 10, 10, 20, 20);
  TSkinSizer skinned(nullptr);
  skinned.InitSkinHandle(grip, skin, &list, nullptr);
  auto shown = ScreenOf(grip);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) ASSERT_EQ(shown->At(x, y), Face()) << x << "," << y;
}

// ---- Track bar ----

TEST_F(SkinnedOthers, ATrackBarShowsTheSkinsThumbAndChannelAndStillDrags) {
  for (const bool vertical : {false, true}) {
    const HWND track = vertical ? host->Add(TRACKBAR_CLASSW, TBS_VERT, 250, 10, 34, 200)
                                : host->Add(TRACKBAR_CLASSW, 0, 10, 10, 200, 34);
    SendMessageW(track, TBM_SETRANGE, TRUE, MAKELPARAM(0, 10));
    SendMessageW(track, TBM_SETPOS, TRUE, 2);
    TSkinTrackBar skinned(nullptr);
    skinned.InitSkinHandle(track, skin, &list, nullptr);
    auto shown = ScreenOf(track);
    RECT thumb{};
    SendMessageW(track, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    const TDataSkinObject& image = vertical ? *skin->TrackbarThumbVert : *skin->TrackbarThumbHorz;
    const int w = thumb.right - thumb.left, h = thumb.bottom - thumb.top;
    auto want = std::make_unique<TCapture>(w, h);
    const int cell = image.Bitmap->Width() / 5;
    StretchBlt(want->Dc(), 0, 0, w, h, image.Bitmap->Canvas()->Handle(), cell, 0, cell, image.Bitmap->Height(),
               SRCCOPY);
    EXPECT_TRUE(SameOpaquePixels(*shown, thumb, *want)) << "thumb, vertical " << vertical;
    // The channel: the track image's middle, away from the thumb.
    const TDataSkinObject& groove = vertical ? *skin->TrackVert : *skin->Track;
    HDC source = groove.Bitmap->Canvas()->Handle();
    const COLORREF middle = vertical ? GetPixel(source, groove.Bitmap->Width() / 2, groove.Bitmap->Height() / 2)
                                     : GetPixel(source, groove.Bitmap->Width() / 2, groove.Bitmap->Height() / 2);
    int found = 0;
    for (int i = 0; i < 34; ++i) {
      const COLORREF got = vertical ? shown->At(i, 170) : shown->At(170, i);
      found += got == middle;
    }
    EXPECT_GT(found, 0) << "channel, vertical " << vertical;
    // Dragging the thumb still moves it.
    const int cx = (thumb.left + thumb.right) / 2, cy = (thumb.top + thumb.bottom) / 2;
    SendMessageW(track, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(cx, cy));
    SendMessageW(track, WM_MOUSEMOVE, MK_LBUTTON, vertical ? MAKELPARAM(cx, cy + 90) : MAKELPARAM(cx + 90, cy));
    SendMessageW(track, WM_LBUTTONUP, 0, vertical ? MAKELPARAM(cx, cy + 90) : MAKELPARAM(cx + 90, cy));
    EXPECT_GT(SendMessageW(track, TBM_GETPOS, 0, 0), 4) << "vertical " << vertical;
    DestroyWindow(track);
  }
}

// ---- Header ----

TEST_F(SkinnedOthers, AHeaderShowsItsItemsInTheHeaderFramesTheHotOneInFrameTwo) {
  const HWND header = host->Add(WC_HEADERW, HDS_BUTTONS, 10, 10, 240, 24);
  for (int i = 0; i < 2; ++i) {
    HDITEMW item{};
    item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
    item.cxy = 100;
    item.pszText = const_cast<wchar_t*>(i == 0 ? L"名称" : L"大小");
    item.fmt = HDF_STRING | (i == 0 ? HDF_LEFT : HDF_RIGHT);
    SendMessageW(header, HDM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
  TSkinHeader skinned(nullptr);
  skinned.InitSkinHandle(header, skin, &list, nullptr);
  const TDataSkinObject& bar = *skin->Headerbar;
  const int frames = bar.FrameCount;
  ASSERT_EQ(frames, 2);
  auto expectItems = [&](int first, int second) {
    auto shown = PaintOf(header);
    EXPECT_TRUE(SamePixels(*shown, RECT{0, 0, 100, 24}, *ExpectedFrame(bar, frames, first, 100, 24, Face()), 2));
    EXPECT_TRUE(SamePixels(*shown, RECT{100, 0, 200, 24}, *ExpectedFrame(bar, frames, second, 100, 24, Face()), 2));
    // Beyond the items: the bar's frame 1 over the whole header.
    auto whole = ExpectedFrame(bar, frames, 1, 240, 24, Face());
    EXPECT_EQ(shown->At(220, 1), whole->At(220, 1));
    return shown;
  };
  auto normal = expectItems(1, 1);
  // The texts are drawn inside the items.
  EXPECT_GT(DifferingPixels(*normal, *ExpectedFrame(bar, frames, 1, 240, 24, Face()), RECT{3, 3, 40, 21}), 10);
  EXPECT_GT(DifferingPixels(*normal, *ExpectedFrame(bar, frames, 1, 240, 24, Face()), RECT{160, 3, 198, 21}), 10);
  SendMessageW(header, WM_MOUSEMOVE, 0, MAKELPARAM(150, 10));
  EXPECT_EQ(skinned.HotItem, 1);
  expectItems(1, 2);
  SendMessageW(header, WM_MOUSEMOVE, 0, MAKELPARAM(20, 10));
  expectItems(2, 1);
  SendMessageW(header, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(skinned.HotItem, -1);
  expectItems(1, 1);
}

// ---- Tab controls ----

TEST_F(SkinnedOthers, TheFocusedTabIsFrameTwoAndAClickStillSwitchesTabs) {
  const HWND tabs = MakeTabs(0);
  TSkinTab skinned(nullptr);
  skinned.InitSkinHandle(tabs, skin, &list, nullptr);
  EXPECT_EQ(skinned.CloseBoxes, 0);  // a raw tab control has no Tag asking for them
  const TDataSkinBorder& element = *skin->Tabs;
  auto tabFrame = [&](const TCapture& shown, int index, int frame) {
    const RECT r = ItemRect(tabs, index);
    auto want = RawFrame(element, element.FrameCount, frame, r.right - r.left, r.bottom - r.top);
    auto top = std::make_unique<TCapture>(r.right - r.left, 2);
    BitBlt(top->Dc(), 0, 0, r.right - r.left, 2, want->Dc(), 0, 0, SRCCOPY);
    return SameOpaquePixels(shown, RECT{r.left, r.top, r.right, r.top + 2}, *top);
  };
  auto shown = PaintOf(tabs);
  EXPECT_TRUE(tabFrame(*shown, 0, 1));
  EXPECT_TRUE(tabFrame(*shown, 1, 2));
  EXPECT_TRUE(tabFrame(*shown, 2, 1));
  const RECT third = ItemRect(tabs, 2);
  const LPARAM at = MAKELPARAM((third.left + third.right) / 2, (third.top + third.bottom) / 2);
  SendMessageW(tabs, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(tabs, WM_LBUTTONUP, 0, at);
  EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 2);
  shown = PaintOf(tabs);
  EXPECT_TRUE(tabFrame(*shown, 2, 2));
  EXPECT_TRUE(tabFrame(*shown, 1, 1));
  // The pane: the pane picture around the client area.
  RECT pane{};
  GetClientRect(tabs, &pane);
  SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&pane));
  InflateRect(&pane, 4, 4);
  auto wantPane = ExpectedFrame(*skin->TabPane, 1, 1, pane.right - pane.left, pane.bottom - pane.top, Face());
  EXPECT_TRUE(SamePixels(*shown, RECT{pane.left, pane.bottom - 3, pane.right, pane.bottom}, *[&] {
    auto strip = std::make_unique<TCapture>(pane.right - pane.left, 3);
    BitBlt(strip->Dc(), 0, 0, pane.right - pane.left, 3, wantPane->Dc(), 0, pane.bottom - pane.top - 3, SRCCOPY);
    return strip;
  }()));
}

TEST_F(SkinnedOthers, BottomTabsAreTheTopTabsFlippedAndSideTabsTurned) {
  const HWND top = MakeTabs(0);
  TSkinTab skinnedTop(nullptr);
  skinnedTop.InitSkinHandle(top, skin, &list, nullptr);
  const HWND bottom = MakeTabs(TCS_BOTTOM);
  SetWindowPos(bottom, nullptr, 10, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  TSkinTab skinnedBottom(nullptr);
  skinnedBottom.InitSkinHandle(bottom, skin, &list, nullptr);
  EXPECT_EQ(skinnedBottom.Position(), TSkinTabSide::Bottom);
  auto a = PaintOf(top);
  auto b = PaintOf(bottom);
  for (int index = 0; index < 3; ++index) {
    const RECT ra = ItemRect(top, index), rb = ItemRect(bottom, index);
    ASSERT_EQ(ra.right - ra.left, rb.right - rb.left);
    ASSERT_EQ(ra.bottom - ra.top, rb.bottom - rb.top);
    const int h = ra.bottom - ra.top;
    for (int row = 0; row < 2; ++row)
      for (int x = 0; x < ra.right - ra.left; ++x)
        EXPECT_EQ(b->At(rb.left + x, rb.top + h - 1 - row), a->At(ra.left + x, ra.top + row))
            << "tab " << index << " row " << row << " x " << x;
  }
  // Left and right tabs: the tab picture's top edge is the outer column.
  const TDataSkinBorder& element = *skin->Tabs;
  for (const bool right : {false, true}) {
    const HWND side = MakeTabs(TCS_VERTICAL | TCS_MULTILINE | (right ? TCS_RIGHT : 0));
    TSkinTab skinned(nullptr);
    skinned.InitSkinHandle(side, skin, &list, nullptr);
    EXPECT_EQ(skinned.Position(), right ? TSkinTabSide::Right : TSkinTabSide::Left);
    auto shown = PaintOf(side);
    const int focus = static_cast<int>(SendMessageW(side, TCM_GETCURFOCUS, 0, 0));
    for (int index = 0; index < 3; ++index) {
      const RECT r = ItemRect(side, index);
      const int w = r.right - r.left, h = r.bottom - r.top;
      auto lying = RawFrame(element, element.FrameCount, index == focus ? 2 : 1, h, w);
      int compared = 0;
      for (int y = 0; y < h; ++y) {
        // Turned left: lying (x, 0) lands at (0, h - 1 - x); turned right: at (w - 1, x).
        const COLORREF want = right ? lying->At(y, 0) : lying->At(h - 1 - y, 0);
        if (want == kSkinKeyColour) continue;
        ++compared;
        EXPECT_EQ(shown->At(right ? r.right - 1 : r.left, r.top + y), want) << "right " << right << " tab " << index;
      }
      EXPECT_GT(compared, h / 2);
    }
    DestroyWindow(side);
  }
}

TEST_F(SkinnedOthers, ATabControlsScrollerIsSkinnedOnceTheTabsNoLongerFit) {
  const HWND tabs = MakeTabs(0, 240, 80);
  TSkinTab skinned(nullptr);
  skinned.InitSkinHandle(tabs, skin, &list, nullptr);
  EXPECT_EQ(skinned.UpDown, nullptr);
  for (int i = 0; i < 12; ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(L"更多的页");
    SendMessageW(tabs, TCM_INSERTITEMW, 3, reinterpret_cast<LPARAM>(&item));
  }
  PaintOf(tabs);
  const HWND spin = FindWindowExW(tabs, nullptr, UPDOWN_CLASSW, nullptr);
  ASSERT_NE(spin, nullptr);
  ASSERT_NE(skinned.UpDown, nullptr);
  EXPECT_EQ(skinned.UpDown->Handle, spin);
  EXPECT_EQ(SendMessageW(spin, SKM_QUERYSKIN, 0, 0), 1);
  // The scroller still scrolls the tabs.
  RECT r{};
  GetClientRect(spin, &r);
  const LONG before = ItemRect(tabs, 1).left;
  SendMessageW(spin, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.right - 3, r.bottom / 2));
  SendMessageW(spin, WM_LBUTTONUP, 0, MAKELPARAM(r.right - 3, r.bottom / 2));
  EXPECT_LT(ItemRect(tabs, 1).left, before);
}

TEST_F(SkinnedOthers, ACloseBoxAsksTheFormAndClosesTheTabUnlessTheFormSaysNo) {
  const HWND tabs = MakeTabs(0);
  TSkinTab skinned(nullptr);
  skinned.InitSkinHandle(tabs, skin, &list, nullptr);
  skinned.CloseBoxes = 1;  // as a page control with Tag 7777 has
  PaintOf(tabs);
  ASSERT_EQ(skinned.CloseBoxRects.size(), 3u);
  const RECT first = ItemRect(tabs, 0);
  const RECT box = skinned.CloseBoxRects[0];
  EXPECT_EQ(box.right, first.right - 2);
  EXPECT_EQ(box.left, first.right - 8);
  EXPECT_EQ(box.top, first.top + 2);
  EXPECT_EQ(box.bottom, first.top + 8);
  const LPARAM onBox = MAKELPARAM((box.left + box.right) / 2, (box.top + box.bottom) / 2);
  // The form answers non-zero: the tab stays.
  host->closeTabAnswer = 1;
  SendMessageW(tabs, WM_LBUTTONDOWN, MK_LBUTTON, onBox);
  SendMessageW(tabs, WM_LBUTTONUP, 0, onBox);
  EXPECT_EQ(host->closeTabAsked, 1);
  EXPECT_EQ(host->closeTabWParam, reinterpret_cast<WPARAM>(tabs));
  EXPECT_EQ(host->closeTabLParam, 0);
  EXPECT_EQ(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 3);
  // A click on the tab beside its box selects it and asks nothing.
  const LPARAM onTab = MAKELPARAM(first.left + 4, (first.top + first.bottom) / 2);
  SendMessageW(tabs, WM_LBUTTONDOWN, MK_LBUTTON, onTab);
  SendMessageW(tabs, WM_LBUTTONUP, 0, onTab);
  EXPECT_EQ(host->closeTabAsked, 1);
  EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 0);
  // The default answer 0: the tab goes.
  host->closeTabAnswer = 0;
  PaintOf(tabs);
  SendMessageW(tabs, WM_LBUTTONDOWN, MK_LBUTTON, onBox);
  SendMessageW(tabs, WM_LBUTTONUP, 0, onBox);
  EXPECT_EQ(host->closeTabAsked, 2);
  EXPECT_EQ(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 2);
}

TEST_F(SkinnedOthers, ButtonStyleTabsAreButtonFacesTheFocusedOnePressed) {
  const HWND tabs = MakeTabs(TCS_BUTTONS, 240, 30);
  TSkinTabBtn skinned(nullptr);
  skinned.InitSkinHandle(tabs, skin, &list, nullptr);
  auto shown = PaintOf(tabs);
  const TDataSkinButton& buttons = *skin->Buttons;
  for (int index = 0; index < 3; ++index) {
    const RECT r = ItemRect(tabs, index);
    auto want = ExpectedFrame(buttons, buttons.FrameCount, index == 1 ? 2 : 1, r.right - r.left, r.bottom - r.top,
                              Face());
    EXPECT_TRUE(SamePixels(*shown, r, *want, 2)) << index;
  }
}

TEST_F(SkinnedOthers, ATabSheetIsPaintedInTheFaceColour) {
  TControlsForm view;
  auto* page = new TPanel(view.form);
  page->SetParent(view.form);
  page->SetBounds(10, 130, 150, 80);
  page->SetColor(clRed);
  TSkinTabSheet skinned(nullptr);
  skinned.InitSkin(&list, skin, false, nullptr, page);
  auto painted = PaintOf(page->Handle());
  EXPECT_EQ(painted->At(2, 2), Face());
  EXPECT_EQ(painted->At(140, 70), Face());
  TCapture erased(150, 80);
  EXPECT_EQ(SendMessageW(page->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(erased.Dc()), 0), 1);
  EXPECT_EQ(erased.At(75, 40), Face());
}

}  // namespace
