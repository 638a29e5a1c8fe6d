// Controls whose face the skin recolours take the skin's text colour too (a dark skin's
// face with the system's black text is unreadable); what was theirs comes back at unskin.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "framework/ExtCtrls.h"
#include "framework/GroupCtrls.h"
#include "framework/Streams.h"
#include "skin/controls/WinSubClassBox.h"
#include "skin/controls/WinSubClassCheck.h"
#include "skin/controls/WinSubClassGroupBox.h"
#include "tests/skin_controls/SkinControlsSupport.h"

namespace {

int Brightness(COLORREF c) { return (GetRValue(c) + GetGValue(c) + GetBValue(c)) / 3; }

class SkinnedTextColour : public ::testing::Test {
 protected:
  void SetUp() override {
    dark = LoadBuiltSkin("dark");
    light = LoadBuiltSkin("default");
    ASSERT_NE(dark, nullptr);
    ASSERT_NE(light, nullptr);
    // The dark skin is the case in point: a dark face and light text.
    ASSERT_LT(Brightness(ColorToRGB(dark->ButtonFaceColour)), 100);
    ASSERT_GT(Brightness(ColorToRGB(dark->ButtonTextColour)), 150);
    view = std::make_unique<TControlsForm>();
    group = new TGroupBox(view->form);
    group->SetParent(view->form);
    group->SetBounds(170, 40, 120, 60);
    group->SetCaption(L"分组");
    panel = new TPanel(view->form);
    panel->SetParent(view->form);
    panel->SetBounds(170, 110, 120, 40);
    panel->SetCaption(L"面板");
  }
  void TearDown() override { view.reset(); }

  // Pixels of the caption part of a painting (right of `fromX`) brighter than `level`.
  static int BrightPixels(const TCapture& c, int fromX, int level) {
    int n = 0;
    for (int y = 0; y < c.Height(); ++y)
      for (int x = fromX; x < c.Width(); ++x) n += Brightness(c.At(x, y)) > level;
    return n;
  }

  std::unique_ptr<TSkinData> dark;
  std::unique_ptr<TSkinData> light;
  std::unique_ptr<TControlsForm> view;
  TGroupBox* group = nullptr;
  TPanel* panel = nullptr;
  TRecordingList list;
};

TEST_F(SkinnedTextColour, DefaultTextColoursBecomeTheSkinsAndComeBackExactly) {
  struct Case {
    const char* name;
    TControl* control;
    TColor colour;
    std::unique_ptr<TSkinControl> skinned;
  };
  Case cases[] = {{"check box", view->check, clWindowText, std::make_unique<TSkinCheckBox>(nullptr)},
                  {"radio button", view->radio, clBtnText, std::make_unique<TSkinRadioButton>(nullptr)},
                  {"group box", group, clWindowText, std::make_unique<TSkinGroupBox>(nullptr)},
                  {"panel", panel, clBtnText, std::make_unique<TSkinBox>(nullptr)}};
  for (Case& c : cases) {
    c.control->Font()->SetColor(c.colour);
    c.control->SetParentFont(false);
    const TColor face = c.control->Color();
    c.skinned->InitSkin(&list, dark.get(), true, nullptr, dynamic_cast<TWinControl*>(c.control));
    ASSERT_TRUE(c.skinned->IsAttached()) << c.name;
    EXPECT_EQ(c.control->Color(), dark->ButtonFaceColour) << c.name;
    EXPECT_EQ(c.control->Font()->Color(), dark->ButtonTextColour) << c.name;
    c.skinned->Unskin();
    EXPECT_EQ(c.control->Color(), face) << c.name;
    EXPECT_EQ(c.control->Font()->Color(), c.colour) << c.name;
    EXPECT_FALSE(c.control->ParentFont()) << c.name;
  }
}

TEST_F(SkinnedTextColour, AFontFollowingItsParentFollowsItAgainAfterUnskin) {
  view->form->Font()->SetColor(clWindowText);
  view->check->SetParentFont(true);
  ASSERT_EQ(view->check->Font()->Color(), clWindowText);
  TSkinCheckBox skinned(nullptr);
  skinned.InitSkin(&list, dark.get(), true, nullptr, view->check);
  EXPECT_EQ(view->check->Font()->Color(), dark->ButtonTextColour);
  skinned.Unskin();
  EXPECT_EQ(view->check->Font()->Color(), clWindowText);
  EXPECT_TRUE(view->check->ParentFont());
  view->form->Font()->SetColor(clMaroon);
  EXPECT_EQ(view->check->Font()->Color(), clMaroon);
}

TEST_F(SkinnedTextColour, AnExplicitFontColourIsKept) {
  view->check->Font()->SetColor(clPurple);
  panel->Font()->SetColor(clPurple);
  TSkinCheckBox check(nullptr);
  TSkinBox box(nullptr);
  check.InitSkin(&list, dark.get(), true, nullptr, view->check);
  box.InitSkin(&list, dark.get(), true, nullptr, panel);
  EXPECT_EQ(view->check->Font()->Color(), clPurple);
  EXPECT_EQ(panel->Font()->Color(), clPurple);
  check.Unskin();
  box.Unskin();
  EXPECT_EQ(view->check->Font()->Color(), clPurple);
  EXPECT_EQ(panel->Font()->Color(), clPurple);
}

TEST_F(SkinnedTextColour, WithoutSetColourNothingChanges) {
  view->check->Font()->SetColor(clWindowText);
  const TColor face = view->check->Color();
  TSkinCheckBox skinned(nullptr);
  skinned.InitSkin(&list, dark.get(), false, nullptr, view->check);
  EXPECT_EQ(view->check->Color(), face);
  EXPECT_EQ(view->check->Font()->Color(), clWindowText);
}

TEST_F(SkinnedTextColour, CaptionsArePaintedLightOnTheDarkFace) {
  view->check->Font()->SetColor(clWindowText);
  group->Font()->SetColor(clWindowText);
  TSkinCheckBox check(nullptr);
  TSkinGroupBox box(nullptr);
  check.InitSkin(&list, dark.get(), true, nullptr, view->check);
  box.InitSkin(&list, dark.get(), true, nullptr, group);
  const int markWidth = dark->Buttons->CheckBitmap->Width() / dark->Buttons->CheckFrameCount;
  EXPECT_GT(BrightPixels(*PaintOf(view->check->Handle()), markWidth + 2, 150), 10);
  EXPECT_GT(BrightPixels(*PaintOf(group->Handle()), 0, 150), 10);
  // Unskinned, the same caption has no light pixel: the count above is the text's.
  check.Unskin();
  view->check->Font()->SetColor(clBlack);
  view->check->SetColor(dark->ButtonFaceColour);
  TSkinCheckBox again(nullptr);
  again.InitSkin(&list, dark.get(), false, nullptr, view->check);
  EXPECT_EQ(BrightPixels(*PaintOf(view->check->Handle()), markWidth + 2, 150), 0);
}

TEST_F(SkinnedTextColour, ASkinSwitchAppliesTheNewSkinsColours) {
  view->check->Font()->SetColor(clWindowText);
  TSkinCheckBox skinned(nullptr);
  skinned.InitSkin(&list, light.get(), true, nullptr, view->check);
  EXPECT_EQ(view->check->Font()->Color(), light->ButtonTextColour);
  // The same skin component loads the dark skin; the engine then updates its controls.
  light->SkinStream->Buffer() = ReadFileBytes(WinePath(std::string(PTEST_BINARY_DIR) + "/skins/dark.skn"));
  ASSERT_TRUE(light->LoadSkin());
  skinned.UpdateSkin();
  EXPECT_EQ(view->check->Color(), dark->ButtonFaceColour);
  EXPECT_EQ(view->check->Font()->Color(), dark->ButtonTextColour);
  skinned.Unskin();
  EXPECT_EQ(view->check->Font()->Color(), clWindowText);
}

}  // namespace
