// The other skinned classes on framework controls: a page control whose Tag asks for
// close boxes (the page goes unless the form says no), a track bar whose custom draw the
// framework reflects to it, and a group box painted instead of the control.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>

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
