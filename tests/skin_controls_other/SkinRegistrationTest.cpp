// The other skinned classes are known to control discovery by name: a factory makes the
// object, presets its mode and attaches it to a raw window or a framework control; the
// classes that work through a framework object make nothing for a raw window.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "framework/ExtCtrls.h"
#include "skin/controls/RegisterOtherSkinControls.h"
#include "skin/controls/WinSubClassTab.h"
#include "skin/form/SkinControlRegistry.h"
#include "tests/skin_controls_other/OtherControlsFixtures.h"

namespace {

class SkinnedRegistry : public TOtherSkinTest {
 protected:
  static void SetUpTestSuite() {
    TOtherSkinTest::SetUpTestSuite();
    RegisterOtherSkinControls();
  }
  TSkinAttachRequest RawRequest(HWND window, int32_t preset = 0) {
    TSkinAttachRequest request;
    request.Form = &list;
    request.SkinData = skin;
    request.Window = window;
    request.Preset = preset;
    return request;
  }
};

TEST_F(SkinnedRegistry, EveryOtherClassIsRegisteredByName) {
  for (const char* name : {"TSkinGroupBox", "TSkinBox", "TSkinBoxH", "TSkinSizer", "TSkinTab", "TSkinTab31",
                           "TSkinTabBtn", "TSkinTabSheet", "TSkinAdvPage", "TSkinTrackBar", "TSkinProgress",
                           "TSkinUpDown", "TSkinEdit", "TSkinComBox", "TSkinDateTime", "TSkinHeader",
                           "TSkinObjImage"})
    EXPECT_TRUE(IsSkinControlClassRegistered(name)) << name;
  EXPECT_FALSE(IsSkinControlClassRegistered("TSkinMP"));  // no media player in the framework
}

TEST_F(SkinnedRegistry, AFactoryAttachesToARawWindowAndTheItemGivesItBack) {
  TRawHost host;
  struct Case {
    const char* name;
    const wchar_t* windowClass;
  };
  const Case cases[] = {{"TSkinProgress", PROGRESS_CLASSW}, {"TSkinComBox", L"ComboBox"},
                        {"TSkinHeader", WC_HEADERW},        {"TSkinDateTime", DATETIMEPICK_CLASSW},
                        {"TSkinTab", WC_TABCONTROLW},       {"TSkinEdit", L"Edit"}};
  for (const Case& c : cases) {
    const HWND window = host.Add(c.windowClass, 0, 10, 10, 150, 40);
    const WNDPROC original = WindowProcOf(window);
    TSkinControlItem* item = CreateSkinControl(c.name, RawRequest(window, 2));
    ASSERT_NE(item, nullptr) << c.name;
    EXPECT_EQ(item->SkinClassName(), c.name);
    EXPECT_TRUE(item->IsAttached());
    EXPECT_EQ(item->SkinnedWindow(), window);
    EXPECT_EQ(item->SkinnedControl(), nullptr);
    EXPECT_EQ(SendMessageW(window, SKM_QUERYSKIN, 0, 0), 1) << c.name;
    if (auto* tab = dynamic_cast<TSkinTab*>(item)) {
      EXPECT_EQ(tab->Mode, 2);  // the preset
    }
    item->FreeItem();
    EXPECT_EQ(WindowProcOf(window), original) << c.name;
  }
  EXPECT_TRUE(list.controls.empty());
}

TEST_F(SkinnedRegistry, FrameworkOnlyClassesMakeNothingForARawWindow) {
  TRawHost host;
  const HWND window = host.Add(L"Static", 0, 10, 10, 100, 20);
  for (const char* name : {"TSkinTab31", "TSkinObjImage", "TSkinAdvPage", "TSkinBox"})
    EXPECT_EQ(CreateSkinControl(name, RawRequest(window)), nullptr) << name;
  EXPECT_EQ(list.added, 0);
}

TEST_F(SkinnedRegistry, AFactoryAttachesToAFrameworkControl) {
  TControlsForm view;
  auto* panel = new TPanel(view.form);
  panel->SetParent(view.form);
  panel->SetBounds(150, 50, 100, 60);
  panel->SetColor(clRed);
  TSkinAttachRequest request = RawRequest(nullptr);
  request.Control = panel;
  request.SetColour = true;
  TSkinControlItem* item = CreateSkinControl("TSkinBox", request);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->SkinnedControl(), panel);
  EXPECT_EQ(panel->Color(), skin->ButtonFaceColour);
  item->UnskinItem();
  EXPECT_EQ(panel->Color(), clRed);
  item->FreeItem();
}

}  // namespace
