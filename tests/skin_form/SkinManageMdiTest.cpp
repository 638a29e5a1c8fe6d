// The skin manager with an MDI form and its children: skinning switched off and on again
// gives every child that is already open its frame back, however the children are shown.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/skin_form/SkinFormTestSupport.h"

namespace {

TForm* AddChild(TForm* mdiForm, int number) {
  auto* child = new TForm(mdiForm);
  child->SetFormStyle(fsMDIChild);
  child->SetCaption(L"Child " + std::to_wstring(number));
  child->SetBounds(10 + 24 * number, 10 + 24 * number, 220, 150);
  child->Show();
  return child;
}

TWinSkinForm* FrameOf(TCustomForm* form) {
  TSkinManage* manager = SkinManage();
  if (manager == nullptr || !form->HandleAllocated()) return nullptr;
  return dynamic_cast<TWinSkinForm*>(manager->FindSkinForm(form->Handle()));
}

bool AllSkinned(const std::vector<TForm*>& forms) {
  for (TForm* form : forms) {
    TWinSkinForm* frame = FrameOf(form);
    if (frame == nullptr || frame->State != kFrameActive) return false;
  }
  return true;
}

struct ChildShow {
  const char* what;
  bool maximised;
};

class SkinManageMdiTest : public SkinFormTest, public ::testing::WithParamInterface<ChildShow> {};

}  // namespace

TEST_P(SkinManageMdiTest, SkinningOffAndOnGivesTheOpenChildrenTheirFramesBack) {
  SkinnedTestForm test("default", "MDI frame test", 560, 420);
  test.form->SetFormStyle(fsMDIForm);
  ASSERT_TRUE(test.ShowAndWaitForSkin());
  TSkinManage* manager = SkinManage();
  ASSERT_NE(manager, nullptr);
  std::vector<TForm*> children;
  for (int i = 0; i < 3; ++i) children.push_back(AddChild(test.form, i));
  if (GetParam().maximised) children.back()->SetWindowState(wsMaximized);
  // Children made while skinning is on are skinned as they are created.
  ASSERT_TRUE(PumpUntil([&] { return AllSkinned(children); }));

  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    test.data->SetActive(false);
    manager->RunPendingAction();
    EXPECT_EQ(manager->FormCount(), 0);
    for (TForm* child : children) {
      EXPECT_EQ(FrameOf(child), nullptr);
      EXPECT_EQ(SendMessageW(child->Handle(), SKM_QUERYSKIN, 0, 0), 0) << "the child's own procedure is back";
    }
    test.data->SetActive(true);
    manager->RunPendingAction();
    ASSERT_NE(test.Frame(), nullptr);
    EXPECT_EQ(test.Frame()->MdiRole, 1);
    for (TForm* child : children) {
      TWinSkinForm* frame = FrameOf(child);
      ASSERT_NE(frame, nullptr) << WideToUtf8(child->Caption()) << " has no frame after skinning came back";
      EXPECT_EQ(frame->MdiRole, 2);
      EXPECT_EQ(SendMessageW(child->Handle(), SKM_QUERYSKIN, 0, 0), 1);
    }
    EXPECT_EQ(manager->FormCount(), 1 + static_cast<int>(children.size()));
    EXPECT_TRUE(PumpUntil([&] { return AllSkinned(children); })) << "every child completes its set-up";
  }
  EXPECT_EQ(test.form->MDIChildCount(), 3);
  EXPECT_EQ(GetParam().maximised, manager->MdiMaximised);
}

INSTANTIATE_TEST_SUITE_P(Children, SkinManageMdiTest,
                         ::testing::Values(ChildShow{"Normal", false}, ChildShow{"Maximised", true}),
                         [](const ::testing::TestParamInfo<ChildShow>& param) { return std::string(param.param.what); });

// The manager keeps the MDI client and form of the skinned MDI form; once that frame goes
// (skinning off, or the form freed), nothing may still point at them.
TEST_F(SkinFormTest, TheManagerForgetsAnMdiFormWhoseFrameIsGone) {
  SkinnedTestForm other("default", "Stays open", 300, 200);
  ASSERT_TRUE(other.ShowAndWaitForSkin());
  auto host = std::make_unique<SkinnedTestForm>("default", "MDI host", 480, 360);
  host->form->SetFormStyle(fsMDIForm);
  ASSERT_TRUE(host->ShowAndWaitForSkin());
  AddChild(host->form, 0);
  TSkinManage* manager = SkinManage();
  ASSERT_NE(manager, nullptr);
  EXPECT_EQ(manager->MdiClient, host->form->ClientHandle());
  EXPECT_EQ(manager->MdiMainForm, host->form);

  host->data->SetActive(false);
  manager->RunPendingAction();
  EXPECT_EQ(manager->MdiClient, nullptr);
  EXPECT_EQ(manager->MdiMainForm, nullptr);
  host->data->SetActive(true);
  manager->RunPendingAction();
  EXPECT_EQ(manager->MdiClient, host->form->ClientHandle());

  host.reset();
  PumpFor(50);
  ASSERT_EQ(SkinManage(), manager) << "the other form's skin keeps the manager";
  EXPECT_EQ(manager->MdiClient, nullptr);
  EXPECT_EQ(manager->MdiMainForm, nullptr);
  EXPECT_NE(other.Frame(), nullptr);
}

// The MDI client is laid out from the size WM_SIZE carries: a skinned MDI form restored
// from the task bar shows its client area and children again.
TEST_F(SkinFormTest, ASkinnedMdiFormRestoredFromMinimisedShowsItsClientArea) {
  SkinnedTestForm test("default", "MDI restore", 480, 360);
  test.form->SetFormStyle(fsMDIForm);
  ASSERT_TRUE(test.ShowAndWaitForSkin());
  AddChild(test.form, 0);
  const HWND client = test.form->ClientHandle();
  ASSERT_NE(client, nullptr);
  auto clientSize = [](HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return SIZE{r.right, r.bottom};
  };
  const SIZE before = clientSize(client);
  ASSERT_GT(before.cx, 0);
  ShowWindow(test.Handle(), SW_MINIMIZE);
  PumpFor(100);
  ShowWindow(test.Handle(), SW_RESTORE);
  PumpFor(100);
  const SIZE after = clientSize(client);
  EXPECT_EQ(after.cx, before.cx);
  EXPECT_EQ(after.cy, before.cy);
  RECT outer{};
  GetWindowRect(client, &outer);
  const SIZE form = clientSize(test.Handle());
  EXPECT_GT(form.cx, 0);
  EXPECT_EQ(outer.right - outer.left, form.cx) << "the MDI client fills the form's client area";
}
