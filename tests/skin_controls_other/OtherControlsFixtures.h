// The fixtures the tests of the other skinned controls share: our default skin, loaded
// once a test suite, and the list the objects under test register with; the controls
// go on a raw host window or on a framework form. The mouse is parked in the screen's
// corner before each test so that no control starts hot.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "skin/data/WinSkinData.h"
#include "tests/skin_controls/SkinControlsSupport.h"
#include "tests/skin_controls_other/OtherControlsSupport.h"

class TOtherSkinTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { skin = LoadBuiltSkin("default").release(); }
  static void TearDownTestSuite() {
    delete skin;
    skin = nullptr;
  }
  void SetUp() override { ASSERT_NE(skin, nullptr); }
  static COLORREF Face() { return ColorToRGB(skin->ButtonFaceColour); }
  static COLORREF Shadow() { return ColorToRGB(skin->ButtonShadowColour); }

  static inline TSkinData* skin = nullptr;
  TRecordingList list;
};

// Raw common-control windows on a TRawHost.
class TOtherSkinRawTest : public TOtherSkinTest {
 protected:
  void SetUp() override {
    TOtherSkinTest::SetUp();
    if (HasFatalFailure()) return;
    SetCursorPos(0, 0);
    host = std::make_unique<TRawHost>();
  }
  void TearDown() override { host.reset(); }

  std::unique_ptr<TRawHost> host;
};

// Framework controls on a TControlsForm.
class TOtherSkinFormTest : public TOtherSkinTest {
 protected:
  void SetUp() override {
    TOtherSkinTest::SetUp();
    if (HasFatalFailure()) return;
    SetCursorPos(0, 0);
    view = std::make_unique<TControlsForm>();
  }
  void TearDown() override { view.reset(); }

  std::unique_ptr<TControlsForm> view;
};
