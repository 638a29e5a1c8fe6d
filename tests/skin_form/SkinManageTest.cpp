// The skin manager's attach decision, requests and popup list, with windows of this
// program, a system dialog box and a window of another module.
#include <gtest/gtest.h>

#include <vector>

#include "tests/skin_form/SkinFormTestSupport.h"

namespace {

LRESULT CALLBACK AnswersQuerySkin(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == SKM_QUERYSKIN) return 1;
  return DefWindowProcW(window, msg, wParam, lParam);
}

HWND MakeWindow(const wchar_t* className, WNDPROC proc, HINSTANCE instance, int width, int height,
                DWORD style = WS_OVERLAPPEDWINDOW) {
  WNDCLASSW wc{};
  // Global, so that a window made for another module finds it too.
  wc.style = CS_GLOBALCLASS;
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = className;
  RegisterClassW(&wc);
  return CreateWindowExW(0, className, L"Window", style, 10, 10, width, height, nullptr,
                         nullptr, instance, nullptr);
}

INT_PTR CALLBACK DialogProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG ? TRUE : FALSE; }

// A modeless system dialog box ("#32770") with the given style.
HWND MakeDialog(DWORD style) {
  std::vector<WORD> tmpl(64, 0);
  auto* header = reinterpret_cast<DLGTEMPLATE*>(tmpl.data());
  header->style = style;
  header->cdit = 0;
  header->x = 10;
  header->y = 10;
  header->cx = 160;
  header->cy = 80;
  // menu, class and title (empty) follow the header as three zero words.
  return CreateDialogIndirectParamW(GetModuleHandleW(nullptr), header, nullptr, &DialogProc, 0);
}

}  // namespace

class SkinManageTest : public SkinFormTest {};

TEST_F(SkinManageTest, RequestsBeforeTheFirstActivationOnlySwitchSkinningOnOrOff) {
  TSkinManage manager;
  manager.RequestAction(kActionStart, 250);
  EXPECT_TRUE(manager.Enabled);
  EXPECT_FALSE(manager.TimerEnabled());
  manager.RequestAction(kActionStop, 250);
  EXPECT_FALSE(manager.Enabled);
  EXPECT_FALSE(manager.TimerEnabled());
  manager.RunState = 1;
  manager.RequestAction(kActionRefresh, 250);
  EXPECT_TRUE(manager.TimerEnabled());
  EXPECT_EQ(manager.TimerInterval(), 250);
  EXPECT_EQ(manager.PendingAction, kActionRefresh);
  // Without a requesting component the timer run does nothing but stop the timer.
  manager.RunPendingAction();
  EXPECT_FALSE(manager.TimerEnabled());
}

TEST_F(SkinManageTest, TheAttachDecisionRefusesWhatMustNotBeSkinned) {
  SkinnedTestForm test;  // a manager with a loaded skin, skinning switched on
  TSkinManage* manager = SkinManage();
  ASSERT_NE(manager, nullptr);
  ASSERT_TRUE(manager->Enabled);
  EXPECT_EQ(manager->MainSkinData, test.data);

  const HINSTANCE self = GetModuleHandleW(nullptr);
  struct Case {
    const char* what;
    HWND window;
    bool skinned;
  };
  const HWND answering = MakeWindow(L"AnswersQuerySkin", &AnswersQuerySkin, self, 200, 100);
  const HWND zeroSized = MakeWindow(L"PlainOwnWindow", &DefWindowProcW, self, 0, 0, WS_POPUP);
  const HWND own = MakeWindow(L"PlainOwnWindow2", &DefWindowProcW, self, 200, 100);
  const HWND foreign = MakeWindow(L"ForeignModuleWindow", &DefWindowProcW, GetModuleHandleW(L"kernel32.dll"), 200, 100);
  const HWND dialog = MakeDialog(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME);
  const HWND foregroundDialog = MakeDialog(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFOREGROUND);
  const std::vector<Case> cases = {
      {"answers SKM_QUERYSKIN", answering, false},
      {"zero-sized", zeroSized, false},
      {"own module", own, true},
      {"another module", foreign, false},
      {"system dialog", dialog, true},
      {"dialog with DS_SETFOREGROUND", foregroundDialog, false},
  };
  for (const Case& c : cases) {
    ASSERT_NE(c.window, nullptr) << c.what;
    // The hook may have attached it already (a dialog box activates itself when made).
    const bool attached = manager->FindSkinForm(c.window) != nullptr || manager->SkinWindow(c.window);
    EXPECT_EQ(attached, c.skinned) << c.what;
    EXPECT_EQ(manager->FindSkinForm(c.window) != nullptr, c.skinned) << c.what;
    // Never a second time.
    EXPECT_FALSE(manager->SkinWindow(c.window)) << c.what;
  }
  PumpFor(30);
  // A skinned window answers SKM_QUERYSKIN itself now.
  EXPECT_EQ(SendMessageW(dialog, SKM_QUERYSKIN, 0, 0), 1);
  // Switched off: nothing is skinned.
  manager->Enabled = false;
  const HWND later = MakeWindow(L"PlainOwnWindow3", &DefWindowProcW, self, 200, 100);
  EXPECT_FALSE(manager->SkinWindow(later));
  for (HWND w : {answering, zeroSized, own, foreign, dialog, foregroundDialog, later}) DestroyWindow(w);
  PumpFor(20);
  // Destroyed windows leave dead frames that the purge frees.
  manager->PurgeSkinForms();
  EXPECT_EQ(manager->FormCount(), 0);
}

TEST_F(SkinManageTest, AFormTaggedNinetyNineIsNeverSkinned) {
  SkinnedTestForm test;
  test.form->SetTag(99);
  test.form->Show();
  SetForegroundWindow(test.Handle());
  PumpFor(100);
  EXPECT_EQ(test.Frame(), nullptr);
  EXPECT_FALSE(SkinManage()->SkinWindow(test.Handle()));
  test.form->SetTag(0);
  EXPECT_TRUE(SkinManage()->SkinWindow(test.Handle()));
}

TEST_F(SkinManageTest, TheFormFilterAndTheSkinDataChoice) {
  SkinnedTestForm test;
  TSkinManage* manager = SkinManage();
  const HWND own = MakeWindow(L"SomePreviewWindow", &DefWindowProcW, GetModuleHandleW(nullptr), 200, 100);
  // xoPreview is among the defaults: preview windows are wanted.
  EXPECT_TRUE(manager->WantSkin(own, "SomePreviewWindow"));
  test.data->SetOptions(TSkinOptions{});
  EXPECT_FALSE(manager->WantSkin(own, "SomePreviewWindow"));
  EXPECT_FALSE(manager->WantSkin(own, "SysMonthCal32"));
  EXPECT_FALSE(manager->WantSkin(own, "TPopupDBTreeView"));
  test.data->OnFormSkin = [](TObject*, const std::string& name, bool& doSkin) { doSkin = name != "Vetoed"; };
  EXPECT_FALSE(manager->WantSkin(own, "Vetoed"));
  EXPECT_TRUE(manager->WantSkin(own, "SysMonthCal32"));
  // A dialog component serves system dialogs; the main one everything else.
  TSkinData dialogData(nullptr);
  dialogData.SetSkinFormtype(sfDialog);
  manager->AddSkinData(&dialogData);
  const HWND dialog = MakeDialog(WS_POPUP | WS_CAPTION);
  EXPECT_EQ(manager->FindSkinData(dialog), &dialogData);
  EXPECT_EQ(manager->FindSkinData(own), test.data);
  manager->RemoveSkinData(&dialogData);
  EXPECT_EQ(manager->FindSkinData(dialog), test.data);
  DestroyWindow(dialog);
  DestroyWindow(own);
}

TEST_F(SkinManageTest, ClosingTheLastPopupMakesTheNextOneAContextMenu) {
  SkinnedTestForm test;
  TSkinManage* manager = SkinManage();
  TSkinManage::SetPopupFactory([](TSkinManage&, HWND, TSkinData*) { return std::make_unique<TSkinPopupBase>(); });
  const HWND popup = MakeWindow(L"FakePopupWindow", &DefWindowProcW, GetModuleHandleW(nullptr), 50, 50);
  manager->MenuKind = kMenuKindSystem;
  EXPECT_TRUE(manager->AttachPopup(popup));  // xcSystemMenu is among the defaults
  EXPECT_TRUE(manager->IsPopupSkinned(popup));
  EXPECT_FALSE(manager->AttachPopup(popup));
  manager->AssignPopupMenu(reinterpret_cast<HMENU>(0x1234));
  EXPECT_EQ(manager->PopupBackground(reinterpret_cast<HMENU>(0x1234)), nullptr);
  EXPECT_TRUE(manager->DetachPopup(popup));
  EXPECT_EQ(manager->MenuKind, kMenuKindPopup);
  EXPECT_EQ(manager->PopupCount(), 0);
  manager->MenuKind = kMenuKindMenuBar;
  EXPECT_FALSE(manager->DetachPopup(popup));
  EXPECT_EQ(manager->MenuKind, kMenuKindPopup);
  TSkinManage::SetPopupFactory({});
  DestroyWindow(popup);
}
