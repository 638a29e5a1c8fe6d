// The main window made from the layout the program carries (resource TFORM1): every
// value of the layout table, the components in their order, and the stored skin.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "app/Test.h"
#include "framework/Streams.h"
#include "skin/data/WinSkinData.h"
#include "tests/app/AppTestSupport.h"

namespace {

using apptest::FormPtr;
using apptest::MakeMainForm;

TEST(MainForm, WindowHasTheLayoutValues) {
  FormPtr form = MakeMainForm();
  EXPECT_EQ(form->Name(), L"Form1");
  EXPECT_EQ(form->Caption(), L"磁盘监视");
  EXPECT_EQ(form->BorderStyle(), bsDialog);
  EXPECT_EQ(form->BorderIcons(), TBorderIcons{biSystemMenu});
  EXPECT_EQ(form->Left(), 235);
  EXPECT_EQ(form->Top(), 174);
  EXPECT_EQ(form->ClientWidth(), 667);
  EXPECT_EQ(form->ClientHeight(), 446);
  EXPECT_EQ(form->Color(), clBtnFace);
  EXPECT_EQ(form->Font()->Name(), L"宋体");
  EXPECT_EQ(form->Font()->Charset(), GB2312_CHARSET);
  EXPECT_EQ(form->Font()->Height(), -13);
  EXPECT_EQ(form->Font()->Color(), clWindowText);
  EXPECT_TRUE(form->Font()->Style().Empty());
  EXPECT_EQ(form->TextHeight(), 13);
  EXPECT_TRUE(static_cast<bool>(form->OnCreate));
  EXPECT_TRUE(static_cast<bool>(form->OnClose));
  // The window itself: a dialog frame, no minimise or maximise box, not resizable.
  const auto style = static_cast<DWORD>(GetWindowLongW(form->Handle(), GWL_STYLE));
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
  EXPECT_TRUE(style & WS_SYSMENU);
  RECT client{};
  GetClientRect(form->Handle(), &client);
  EXPECT_EQ(client.right, 667);
  EXPECT_EQ(client.bottom, 446);
}

TEST(MainForm, ComponentsAreCreatedInLayoutOrder) {
  FormPtr form = MakeMainForm();
  const wchar_t* const names[] = {L"Label1",  L"Label2",     L"Memo1",
                                  L"Button1", L"Button2",    L"Button3",
                                  L"StatusBar1", L"FileSystemWatcher1", L"SkinData1"};
  ASSERT_EQ(form->ComponentCount(), 9);
  for (int i = 0; i < 9; ++i) EXPECT_EQ(form->Components(i)->Name(), names[i]) << i;
  EXPECT_EQ(form->Memo1, form->Components(2));
  EXPECT_EQ(form->SkinData1, form->Components(8));
}

struct ControlCase {
  const wchar_t* name;
  int left, top, width, height;
  const wchar_t* text;
  int tabOrder;  // -1: not a windowed control
};

TEST(MainForm, ControlsSitWhereTheLayoutSays) {
  FormPtr form = MakeMainForm();
  const ControlCase cases[] = {
      {L"Label1", 19, 14, 160, 16, L"了解兼职推荐软件工作", -1},
      {L"Label2", 224, 13, 128, 16, L"下载更多免费软件", -1},
      {L"Memo1", 14, 108, 636, 314, L"", 0},
      {L"Button1", 116, 58, 105, 38, L"监视系统盘", 1},
      {L"Button2", 261, 60, 109, 35, L"监视全部硬盘", 2},
      {L"Button3", 426, 61, 113, 33, L"中止监视", 3},
      {L"StatusBar1", 0, 425, 667, 21, nullptr, 4},
  };
  for (const ControlCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.name);
    auto* control = dynamic_cast<TControl*>(form->FindComponent(c.name));
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->Parent(), form.get());
    EXPECT_EQ(control->Left(), c.left);
    EXPECT_EQ(control->Top(), c.top);
    EXPECT_EQ(control->Width(), c.width);
    if (c.tabOrder < 0) {
      // The labels size themselves to their text: 16 pixels high in "宋体" itself, a few
      // more in the font that stands in for it under Wine (never clipped).
      EXPECT_GE(control->Height(), c.height);
      EXPECT_LE(control->Height(), c.height + 6);
    } else {
      EXPECT_EQ(control->Height(), c.height);
    }
    if (c.text) {
      EXPECT_EQ(control->Text(), c.text);
    }
    if (c.tabOrder >= 0 && c.tabOrder < 4) {
      auto* win = dynamic_cast<TWinControl*>(control);
      ASSERT_NE(win, nullptr);
      EXPECT_EQ(win->TabOrder(), c.tabOrder);
    }
    if (c.tabOrder < 0) {
      EXPECT_EQ(control->Font()->Name(), L"宋体");
      EXPECT_EQ(control->Font()->Charset(), GB2312_CHARSET);
      EXPECT_EQ(control->Font()->Height(), -16);
      EXPECT_EQ(control->Font()->Color(), static_cast<TColor>(RGB(128, 0, 128)));
      EXPECT_EQ(control->Font()->Style(), TFontStyles{fsUnderline});
      EXPECT_EQ(control->Cursor(), crHandPoint);
      EXPECT_TRUE(control->ShowHint());
      EXPECT_EQ(control->Hint(), kAuthorPage);
      EXPECT_TRUE(static_cast<bool>(control->OnClick));
    } else {
      EXPECT_EQ(control->Font()->Name(), L"宋体");
      EXPECT_EQ(control->Font()->Height(), -13);
    }
  }
  // Tab order as the keyboard walks it.
  std::vector<TWinControl*> order;
  form->GetTabOrderList(order);
  ASSERT_GE(order.size(), 4u);
  EXPECT_EQ(order[0], form->Memo1);
  EXPECT_EQ(order[1], form->Button1);
  EXPECT_EQ(order[2], form->Button2);
  EXPECT_EQ(order[3], form->Button3);
}

TEST(MainForm, LogBoxAndStatusBarSettings) {
  FormPtr form = MakeMainForm();
  EXPECT_EQ(form->Memo1->ScrollBars(), ssBoth);
  EXPECT_TRUE(form->Memo1->WordWrap());
  EXPECT_FALSE(form->Memo1->ReadOnly());
  EXPECT_EQ(form->Memo1->MaxLength(), 0) << "the log is never limited";
  EXPECT_EQ(form->Memo1->Lines()->Count(), 0);

  TStatusBar* bar = form->StatusBar1;
  EXPECT_FALSE(bar->SimplePanel());
  ASSERT_EQ(bar->Panels()->Count(), 2);
  EXPECT_EQ(bar->Panels()->Items(0)->Text(), L"Helvor设计,Quorren1.0");
  EXPECT_EQ(bar->Panels()->Items(0)->Width(), 300);
  EXPECT_EQ(bar->Panels()->Items(1)->Text(), L"没有监视");
  EXPECT_EQ(bar->Panels()->Items(1)->Width(), 50);
  EXPECT_EQ(bar->PanelTextShown(0), L"Helvor设计,Quorren1.0");
  EXPECT_EQ(bar->PanelTextShown(1), L"没有监视");
}

TEST(MainForm, PlacedWatcherIsNeverActive) {
  FormPtr form = MakeMainForm();
  TFileSystemWatcher* watcher = form->FileSystemWatcher1;
  ASSERT_NE(watcher, nullptr);
  EXPECT_FALSE(watcher->Actived());
  EXPECT_EQ(watcher->WatchedDir(), L"C:\\");
  EXPECT_TRUE(watcher->WatchSubTree());
  EXPECT_EQ(watcher->NotifyFilters(), (TNotifyFilters{nfFileNameChange, nfDirNameChange}));
  EXPECT_TRUE(static_cast<bool>(watcher->OnChange()));
  EXPECT_FALSE(watcher->HasWorker());
  EXPECT_EQ(WatcherCount, 0) << "FormCreate empties the table";
}

TEST(MainForm, SkinComponentHasItsStoredValues) {
  FormPtr form = MakeMainForm();
  TSkinData* skin = form->SkinData1;
  ASSERT_NE(skin, nullptr);
  EXPECT_TRUE(skin->Active());
  EXPECT_EQ(skin->DisableTag(), 99);
  EXPECT_EQ(skin->SkinFormtype(), sfMainform);
  EXPECT_TRUE(skin->MenuUpdate());
  EXPECT_FALSE(skin->MenuMerge());
  EXPECT_EQ(skin->Version(), "4.86.06.13");
  EXPECT_EQ(skin->SkinControls().Bits(), 0x1FFFFBu);
  EXPECT_EQ(skin->Options(), (TSkinOptions{xoPreview, xoToolbarBK}));
  EXPECT_TRUE(skin->SkinFile().empty());

  // The stored Skin3rd lines are the component's own defaults, all 117 of them.
  TSkinData fresh(nullptr);
  ASSERT_EQ(skin->Skin3rd()->Count(), 117);
  EXPECT_EQ(skin->Skin3rd()->ToVector(), fresh.Skin3rd()->ToVector());
  EXPECT_EQ(skin->Skin3rd()->Get(0), L"TCategoryButtons=scrollbar");
  EXPECT_EQ(skin->Skin3rd()->Get(1), L"TPngBitBtn=pngbitbtn");
  EXPECT_EQ(skin->Skin3rd()->Get(116), L"TOVCDBNUMERICFIELD=Edit");
}

TEST(MainForm, StoredSkinIsThePackedDefaultSkin) {
  FormPtr form = MakeMainForm();
  const std::vector<uint8_t> expected = ReadFileBytes(apptest::WineUnixPath(PTEST_DEFAULT_SKIN));
  ASSERT_FALSE(expected.empty());
  TMemoryStream* stored = form->SkinData1->SkinStream.get();
  ASSERT_EQ(static_cast<size_t>(stored->Size()), expected.size());
  EXPECT_EQ(std::memcmp(stored->Memory(), expected.data(), expected.size()), 0);
  EXPECT_FALSE(form->SkinData1->SkinEmpty) << "the stored skin builds a model";
}

}  // namespace
