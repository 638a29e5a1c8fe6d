// Every other skinned class on its raw window: attached once, answering SKM_QUERYSKIN,
// passing everything on while switched off, and giving the window back exactly (its own
// window procedure and style) when freed; a window destroyed under its object leaves the
// object in state 6.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "framework/ResourceCount.h"
#include "skin/controls/WinSubClassBox.h"
#include "skin/controls/WinSubClassComBox.h"
#include "skin/controls/WinSubClassDateTime.h"
#include "skin/controls/WinSubClassEdit.h"
#include "skin/controls/WinSubClassGroupBox.h"
#include "skin/controls/WinSubClassHeader.h"
#include "skin/controls/WinSubClassProgress.h"
#include "skin/controls/WinSubClassSizer.h"
#include "skin/controls/WinSubClassTab.h"
#include "skin/controls/WinSubClassTabBtn.h"
#include "skin/controls/WinSubClassTrackBar.h"
#include "skin/controls/WinSubClassUpDown.h"
#include "tests/skin_controls_other/OtherControlsFixtures.h"

namespace {

struct Kind {
  const char* name;
  const wchar_t* windowClass;
  DWORD style;
  std::function<TSkinControl*()> make;
};

const Kind kKinds[] = {
    {"group box", L"Button", BS_GROUPBOX, [] { return new TSkinGroupBox(nullptr); }},
    {"dialog page", L"#32770", 0, [] { return new TSkinBoxH(nullptr); }},
    {"size grip", L"ScrollBar", SBS_SIZEGRIP, [] { return new TSkinSizer(nullptr); }},
    {"progress", PROGRESS_CLASSW, 0, [] { return new TSkinProgress(nullptr); }},
    {"up-down", UPDOWN_CLASSW, 0, [] { return new TSkinUpDown(nullptr); }},
    {"edit", L"Edit", 0, [] { return new TSkinEdit(nullptr); }},
    {"drop-down combo", L"ComboBox", CBS_DROPDOWN, [] { return new TSkinComBox(nullptr); }},
    {"drop-down list", L"ComboBox", CBS_DROPDOWNLIST, [] { return new TSkinComBox(nullptr); }},
    {"simple combo", L"ComboBox", CBS_SIMPLE, [] { return new TSkinComBox(nullptr); }},
    {"date-time picker", DATETIMEPICK_CLASSW, 0, [] { return new TSkinDateTime(nullptr); }},
    {"track bar", TRACKBAR_CLASSW, 0, [] { return new TSkinTrackBar(nullptr); }},
    {"header", WC_HEADERW, 0, [] { return new TSkinHeader(nullptr); }},
    {"tab control", WC_TABCONTROLW, 0, [] { return new TSkinTab(nullptr); }},
    {"button tabs", WC_TABCONTROLW, TCS_BUTTONS, [] { return new TSkinTabBtn(nullptr); }},
};

class SkinnedDetach : public TOtherSkinRawTest {};

TEST_F(SkinnedDetach, EveryClassAttachesOnceAndGivesTheWindowBackExactly) {
  for (const Kind& kind : kKinds) {
    SCOPED_TRACE(kind.name);
    const HWND window = host->Add(kind.windowClass, kind.style, 10, 10, 160, 60);
    ASSERT_NE(window, nullptr);
    const WNDPROC original = WindowProcOf(window);
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    const LONG exStyle = GetWindowLongW(window, GWL_EXSTYLE);
    EXPECT_EQ(SendMessageW(window, SKM_QUERYSKIN, 0, 0), 0);
    const int added = list.added;
    {
      std::unique_ptr<TSkinControl> skinned(kind.make());
      skinned->InitSkinHandle(window, skin, &list, nullptr);
      const WNDPROC skinnedProc = WindowProcOf(window);
      skinned->InitSkinHandle(window, skin, &list, nullptr);  // a second attach does nothing
      EXPECT_EQ(WindowProcOf(window), skinnedProc);
      EXPECT_EQ(skinned->SkinState, kSkinAttached);
      EXPECT_NE(skinnedProc, original);
      EXPECT_EQ(SendMessageW(window, SKM_QUERYSKIN, 0, 0), 1);
      // Switched off, the window answers as itself; switched on again, as skinned.
      SendMessageW(window, SKM_ENABLESKIN, 0, 0);
      EXPECT_EQ(skinned->Active, 0);
      EXPECT_EQ(SendMessageW(window, SKM_QUERYSKIN, 0, 0), 0);
      SendMessageW(window, SKM_ENABLESKIN, 1, 0);
      EXPECT_EQ(SendMessageW(window, SKM_QUERYSKIN, 0, 0), 1);
      RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
      PumpFor(10);
    }
    EXPECT_GE(list.added, added + 1);
    EXPECT_EQ(list.controls.size(), 0u);  // every object (and the parts it made) left the list
    EXPECT_EQ(WindowProcOf(window), original);
    EXPECT_EQ(GetWindowLongW(window, GWL_STYLE), style);
    EXPECT_EQ(GetWindowLongW(window, GWL_EXSTYLE), exStyle);
    EXPECT_EQ(SendMessageW(window, SKM_QUERYSKIN, 0, 0), 0);
    DestroyWindow(window);
  }
}

TEST_F(SkinnedDetach, AWindowDestroyedUnderItsObjectLeavesItInStateSix) {
  for (const Kind& kind : kKinds) {
    SCOPED_TRACE(kind.name);
    const HWND window = host->Add(kind.windowClass, kind.style, 10, 10, 160, 60);
    std::unique_ptr<TSkinControl> skinned(kind.make());
    skinned->InitSkinHandle(window, skin, &list, nullptr);
    DestroyWindow(window);
    EXPECT_EQ(skinned->SkinState, kSkinWindowDestroyed);
    EXPECT_EQ(skinned->Active, 0);
    skinned.reset();  // freeing it afterwards touches no window
  }
  EXPECT_EQ(list.controls.size(), 0u);
}

TEST_F(SkinnedDetach, AHundredAttachPaintDetachRoundsLeaveNoObjectOrWindowBehind) {
  std::vector<HWND> windows;
  for (const Kind& kind : kKinds) windows.push_back(host->Add(kind.windowClass, kind.style, 10, 10, 160, 60));
  auto round = [&] {
    for (size_t i = 0; i < windows.size(); ++i) {
      std::unique_ptr<TSkinControl> skinned(kKinds[i].make());
      skinned->InitSkinHandle(windows[i], skin, &list, nullptr);
      RedrawWindow(windows[i], nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
      skinned->UpdateSkin();
    }
  };
  round();  // shared drawing surfaces are made on first use
  const int64_t objects = GdiObjectCount();
  const int64_t windowsMade = WindowCount();
  const int64_t bitmapsBefore = ResourceTotalCreated(TResourceKind::Bitmap);
  for (int i = 0; i < 100; ++i) round();
  EXPECT_GT(ResourceTotalCreated(TResourceKind::Bitmap), bitmapsBefore);  // the rounds did paint
  EXPECT_EQ(GdiObjectCount(), objects);
  EXPECT_EQ(WindowCount(), windowsMade);
  EXPECT_TRUE(list.controls.empty());
}

}  // namespace
