// The other skinned classes on framework controls: a page control whose Tag asks for
// close boxes (the page goes unless the form holding it says no, even when that form
// frees the whole page control; boxes on side tabs are hit where drawn), a track bar
// whose custom draw the framework reflects to it, and a group box painted instead of
// the control.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>

#include "framework/Forms.h"

#include "framework/GroupCtrls.h"
#include "framework/RangeCtrls.h"
#include "framework/TabCtrls.h"
#include "skin/controls/WinSubClassGroupBox.h"
#include "skin/controls/WinSubClassHelpers.h"
#include "skin/controls/WinSubClassTab.h"
#include "skin/controls/WinSubClassTrackBar.h"
#include "tests/skin_controls_other/OtherControlsFixtures.h"

namespace {

class SkinnedFramework : public TOtherSkinFormTest {};

TEST_F(SkinnedFramework, APageControlTaggedForCloseBoxesFreesThePageUnlessTheFormSaysNo) {
  auto* pages = new TPageControl(view->form);
  pages->SetParent(view->form);
  pages->SetBounds(180, 50, 170, 120);
  pages->SetTag(kCloseBoxTag);
  for (const wchar_t* name : {L"一页", L"二页", L"三页"}) {
    auto* page = new TTabSheet(view->form);
    page->SetPageControl(pages);
    page->SetCaption(name);
  }
  TSkinTab skinned(nullptr);
  skinned.InitSkin(&list, skin, false, nullptr, pages);
  ASSERT_EQ(skinned.CloseBoxes, 1);
  // The form's answer: non-zero keeps the page.
  TWndMethod formProc = view->form->WindowProc;
  LRESULT answer = 1;
  int asked = 0;
  view->form->WindowProc = [&](TMessage& message) {
    if (message.Msg == SKM_CLOSETAB) {
      ++asked;
      message.Result = answer;
      return;
    }
    formProc(message);
  };
  PaintOf(pages->Handle());
  const RECT box = skinned.CloseBoxRects.at(1);
  const LPARAM onBox = MAKELPARAM((box.left + box.right) / 2, (box.top + box.bottom) / 2);
  SendMessageW(pages->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, onBox);
  SendMessageW(pages->Handle(), WM_LBUTTONUP, 0, onBox);
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(pages->PageCount(), 3);
  answer = 0;
  SendMessageW(pages->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, onBox);
  SendMessageW(pages->Handle(), WM_LBUTTONUP, 0, onBox);
  EXPECT_EQ(asked, 2);
  ASSERT_EQ(pages->PageCount(), 2);
  EXPECT_EQ(pages->Pages(0)->Caption(), L"一页");
  EXPECT_EQ(pages->Pages(1)->Caption(), L"三页");
  view->form->WindowProc = formProc;
}

// A page control tagged for close boxes on `parent`, with three pages.
TPageControl* MakeClosablePages(TWinControl* parent, TTabPosition position = tpTop) {
  auto* pages = new TPageControl(parent);
  pages->SetParent(parent);
  pages->SetBounds(100, 30, 220, 150);
  pages->SetTabPosition(position);
  pages->SetTag(kCloseBoxTag);
  for (const wchar_t* name : {L"一页", L"二页", L"三页"}) {
    auto* page = new TTabSheet(parent);
    page->SetPageControl(pages);
    page->SetCaption(name);
  }
  return pages;
}

LPARAM CentreOf(const RECT& r) { return MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2); }

TEST_F(SkinnedFramework, AFormThatFreesThePageControlOnTheCloseRequestLeavesTheSkinNothingToTouch) {
  TPageControl* pages = MakeClosablePages(view->form);
  // Owned by the control, as discovery makes it: it goes with the page control.
  auto* skinned = new TSkinTab(pages);
  skinned->InitSkin(&list, skin, false, nullptr, pages);
  ASSERT_EQ(skinned->CloseBoxes, 1);
  TWndMethod formProc = view->form->WindowProc;
  int asked = 0;
  view->form->WindowProc = [&](TMessage& message) {
    if (message.Msg == SKM_CLOSETAB && pages != nullptr) {
      ++asked;
      delete pages;
      pages = nullptr;
      message.Result = 0;
      return;
    }
    formProc(message);
  };
  const HWND tabs = pages->Handle();
  PaintOf(tabs);
  const LPARAM onBox = CentreOf(skinned->CloseBoxRects.at(1));
  const int controlsBefore = view->form->ControlCount();
  SendMessageW(tabs, WM_LBUTTONDOWN, MK_LBUTTON, onBox);
  view->form->WindowProc = formProc;
  EXPECT_EQ(asked, 1);
  EXPECT_FALSE(IsWindow(tabs));
  EXPECT_EQ(view->form->ControlCount(), controlsBefore - 1);
  EXPECT_EQ(list.removed, list.added) << "the object left the list as it went";
}

TEST_F(SkinnedFramework, AnMdiChildFormIsAskedAboutItsOwnTabsNotTheMainFrame) {
  std::unique_ptr<TForm> main(new TForm(nullptr));
  main->SetBounds(30, 30, 500, 380);
  main->SetFormStyle(fsMDIForm);
  main->Show();
  auto* child = new TForm(main.get());
  child->SetFormStyle(fsMDIChild);
  child->SetBounds(10, 10, 360, 250);
  child->Show();
  ASSERT_TRUE(child->HandleAllocated());
  ASSERT_TRUE(GetWindowLongW(child->Handle(), GWL_EXSTYLE) & WS_EX_MDICHILD);
  TPageControl* pages = MakeClosablePages(child);
  TSkinTab skinned(nullptr);
  skinned.InitSkin(&list, skin, false, nullptr, pages);
  ASSERT_EQ(skinned.CloseBoxes, 1);
  int askedChild = 0, askedMain = 0;
  WPARAM tabsAsked = 0;
  LPARAM indexAsked = -1;
  TWndMethod childProc = child->WindowProc;
  child->WindowProc = [&](TMessage& message) {
    if (message.Msg == SKM_CLOSETAB) {
      ++askedChild;
      tabsAsked = message.WParam;
      indexAsked = message.LParam;
      message.Result = 1;  // keep it
      return;
    }
    childProc(message);
  };
  TWndMethod mainProc = main->WindowProc;
  main->WindowProc = [&](TMessage& message) {
    if (message.Msg == SKM_CLOSETAB) ++askedMain;
    mainProc(message);
  };
  PaintOf(pages->Handle());
  const LPARAM onBox = CentreOf(skinned.CloseBoxRects.at(2));
  SendMessageW(pages->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, onBox);
  SendMessageW(pages->Handle(), WM_LBUTTONUP, 0, onBox);
  child->WindowProc = childProc;
  main->WindowProc = mainProc;
  EXPECT_EQ(askedChild, 1);
  EXPECT_EQ(askedMain, 0);
  EXPECT_EQ(tabsAsked, reinterpret_cast<WPARAM>(pages->Handle()));
  EXPECT_EQ(indexAsked, 2);
  EXPECT_EQ(pages->PageCount(), 3) << "the child form said no";
}

// Side tabs are composed lying and turned into place: the close box is drawn, and must be
// found, where the turn puts it: by the outer edge, at the top of a left tab and at the
// bottom of a right one.
TEST_F(SkinnedFramework, ACloseBoxOnASideTabIsHitWhereItIsDrawn) {
  const TDataSkinBorder& element = *skin->Tabs;
  for (const TTabPosition position : {tpLeft, tpRight}) {
    const bool left = position == tpLeft;
    TPageControl* pages = MakeClosablePages(view->form, position);
    TSkinTab skinned(nullptr);
    skinned.InitSkin(&list, skin, false, nullptr, pages);
    ASSERT_EQ(skinned.CloseBoxes, 1);
    ASSERT_EQ(skinned.Position(), left ? TSkinTabSide::Left : TSkinTabSide::Right);
    const HWND tabs = pages->Handle();
    auto shown = PaintOf(tabs);
    const int focus = static_cast<int>(SendMessageW(tabs, TCM_GETCURFOCUS, 0, 0));
    ASSERT_EQ(skinned.CloseBoxRects.size(), 3u);
    for (int index = 0; index < 3; ++index) {
      RECT tab{};
      ASSERT_TRUE(SendMessageW(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&tab)));
      const RECT want = left ? RECT{tab.left + 2, tab.top + 2, tab.left + 8, tab.top + 8}
                             : RECT{tab.right - 8, tab.bottom - 8, tab.right - 2, tab.bottom - 2};
      const RECT& got = skinned.CloseBoxRects[static_cast<size_t>(index)];
      EXPECT_TRUE(EqualRect(&got, &want)) << "left " << left << " tab " << index << ": " << got.left << ","
                                          << got.top << "," << got.right << "," << got.bottom;
      // The box's outline is at the corners of the remembered rectangle.
      const COLORREF pen = ColorToRGB(index == focus ? element.MouseOverColour2 : element.NormalColour2);
      for (const POINT corner : {POINT{want.left, want.top}, POINT{want.right - 1, want.top},
                                 POINT{want.left, want.bottom - 1}, POINT{want.right - 1, want.bottom - 1}})
        EXPECT_EQ(shown->At(corner.x, corner.y), pen) << "left " << left << " tab " << index;
    }
    // A click on the box of the last tab closes its page (the form answers 0).
    const LPARAM onBox = CentreOf(skinned.CloseBoxRects[2]);
    SendMessageW(tabs, WM_LBUTTONDOWN, MK_LBUTTON, onBox);
    SendMessageW(tabs, WM_LBUTTONUP, 0, onBox);
    ASSERT_EQ(pages->PageCount(), 2) << "left " << left;
    EXPECT_EQ(pages->Pages(1)->Caption(), L"二页");
    delete pages;
  }
}

TEST_F(SkinnedFramework, APageControlWithoutTheTagOrInButtonStyleHasNoCloseBoxes) {
  for (const bool buttons : {false, true}) {
    auto* pages = new TPageControl(view->form);
    pages->SetParent(view->form);
    pages->SetBounds(180, 50, 170, 120);
    pages->SetTag(buttons ? kCloseBoxTag : 0);
    if (buttons) SetPropByName(pages, "Style", "tsButtons");
    TSkinTab skinned(nullptr);
    skinned.InitSkin(&list, skin, false, nullptr, pages);
    EXPECT_EQ(skinned.CloseBoxes, 0) << buttons;
    delete pages;
  }
}

TEST_F(SkinnedFramework, AFrameworkTrackBarGetsItsCustomDrawReflected) {
  auto* track = new TTrackBar(view->form);
  track->SetParent(view->form);
  track->SetBounds(150, 150, 200, 34);
  track->SetMax(10);
  track->SetPosition(3);
  auto before = ScreenOf(track->Handle());
  TSkinTrackBar skinned(nullptr);
  skinned.InitSkin(&list, skin, false, nullptr, track);
  auto after = ScreenOf(track->Handle());
  RECT thumb{};
  SendMessageW(track->Handle(), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  const TDataSkinObject& image = *skin->TrackbarThumbHorz;
  const int w = thumb.right - thumb.left, h = thumb.bottom - thumb.top;
  auto want = std::make_unique<TCapture>(w, h);
  const int cell = image.Bitmap->Width() / 5;
  StretchBlt(want->Dc(), 0, 0, w, h, image.Bitmap->Canvas()->Handle(), cell, 0, cell, image.Bitmap->Height(), SRCCOPY);
  EXPECT_TRUE(SameOpaquePixels(*after, thumb, *want));
  EXPECT_GT(DifferingPixels(*before, *after, thumb), 10);
}

TEST_F(SkinnedFramework, AFrameworkGroupBoxDrawsItsCaptionOnTheFace) {
  auto* group = new TGroupBox(view->form);
  group->SetParent(view->form);
  group->SetBounds(180, 50, 170, 100);
  group->SetCaption(L"分组框");
  TSkinGroupBox skinned(nullptr);
  skinned.InitSkin(&list, skin, false, nullptr, group);
  EXPECT_EQ(skinned.Mode, 1);
  EXPECT_EQ(skinned.GroupCaption(), L"分组框");
  auto painted = PaintOf(group->Handle());
  const COLORREF face = ColorToRGB(skin->ButtonFaceColour);
  EXPECT_EQ(painted->At(1, 60), ColorToRGB(skin->ButtonShadowColour));
  EXPECT_EQ(painted->At(80, 60), face);
  int caption = 0;
  for (int y = 0; y < 14; ++y)
    for (int x = 8; x < 60; ++x) caption += painted->At(x, y) != face;
  EXPECT_GT(caption, 10);
}

}  // namespace
