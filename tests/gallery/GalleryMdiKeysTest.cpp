// The MDI demo through the program's message loop: Ctrl+Tab and Ctrl+F6 move between the
// children, Ctrl+Shift+Tab back, Ctrl+F4 closes the active child.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "gallery/GalleryForm.h"
#include "tests/gallery/MdiKeysTestSupport.h"

namespace {

struct FormDeleter {
  void operator()(TCustomForm* f) const { delete f; }
};

class GalleryMdiKeys : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterGalleryClasses();
    form.reset(TCustomForm::Create<TGalleryForm>(Application));
    form->Show();
    form->MdiButtonClick(nullptr);
    demo = form->MdiDemo();
    ASSERT_NE(demo, nullptr);
    SetForegroundWindow(demo->Handle());
    Application->ProcessMessages();
  }
  void TearDown() override {
    form.reset();
    Application->ProcessMessages();
  }
  std::unique_ptr<TGalleryForm, FormDeleter> form;
  TForm* demo = nullptr;
};

TEST_F(GalleryMdiKeys, ControlTabMovesBetweenChildrenAndControlF4ClosesTheActiveOne) {
  ASSERT_EQ(GetActiveWindow(), demo->Handle()) << "the demo is the active window";
  ASSERT_EQ(demo->MDIChildCount(), 3);
  TCustomForm* first = demo->ActiveMDIChild();
  ASSERT_NE(first, nullptr);

  PressWithControl(VK_TAB);
  TCustomForm* second = demo->ActiveMDIChild();
  EXPECT_NE(second, first) << "Ctrl+Tab activates another child";
  PressWithControl(VK_TAB, true);
  EXPECT_EQ(demo->ActiveMDIChild(), first) << "Ctrl+Shift+Tab goes back";
  PressWithControl(VK_F6);
  EXPECT_EQ(demo->ActiveMDIChild(), second) << "Ctrl+F6 as Ctrl+Tab";

  PressWithControl(VK_F4);
  EXPECT_EQ(demo->MDIChildCount(), 2) << "Ctrl+F4 closes the active child";
  TCustomForm* now = demo->ActiveMDIChild();
  ASSERT_NE(now, nullptr);
  EXPECT_NE(now, second);
  // A key without Ctrl is the focused control's.
  const int before = demo->MDIChildCount();
  PostMessageW(GetFocus(), WM_KEYDOWN, VK_F4, 1);
  Application->ProcessMessages();
  EXPECT_EQ(demo->MDIChildCount(), before);
  EXPECT_EQ(demo->ActiveMDIChild(), now);
}

}  // namespace
