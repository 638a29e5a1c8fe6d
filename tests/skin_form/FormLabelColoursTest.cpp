// Labels drawn straight on a skinned form: the frame paints the form in the skin's face
// colour, so labels in the default text colour take the skin's text colour while skinned
// and get exactly their own back afterwards. Labels with a colour of their own, and
// windowed controls, are left alone.
#include <windows.h>

#include <gtest/gtest.h>

#include "framework/StdCtrls.h"
#include "skin/form/WinSkinForm.h"
#include "tests/skin_form/SkinFormTestSupport.h"

namespace {

TLabel* AddLabel(TForm* form, int top, const wchar_t* caption) {
  auto* label = new TLabel(form);
  label->SetParent(form);
  label->SetBounds(20, top, 200, 20);
  label->SetCaption(caption);
  return label;
}

class FormLabelColoursTest : public SkinFormTest {
 protected:
  void SetUp() override {
    SkinFormTest::SetUp();
    test = std::make_unique<SkinnedTestForm>("dark", "Labels", 320, 220);
    TForm* form = test->form;
    form->Font()->SetColor(clWindowText);
    following = AddLabel(form, 20, L"跟随窗体的标签");
    ASSERT_TRUE(following->ParentFont());
    own = AddLabel(form, 50, L"button text");
    own->Font()->SetColor(clBtnText);
    link = AddLabel(form, 80, L"http://example.invalid/");
    link->Font()->SetColor(clPurple);
    edit = new TEdit(form);
    edit->SetParent(form);
    edit->SetBounds(20, 110, 200, 24);
    editColour = edit->Font()->Color();
    ASSERT_TRUE(test->ShowAndWaitForSkin());
  }
  void TearDown() override {
    test.reset();
    SkinFormTest::TearDown();
  }

  void SwitchSkinning(bool on) {
    test->data->SetActive(on);
    SkinManage()->RunPendingAction();
  }

  std::unique_ptr<SkinnedTestForm> test;
  TLabel* following = nullptr;
  TLabel* own = nullptr;
  TLabel* link = nullptr;
  TEdit* edit = nullptr;
  TColor editColour = clNone;
};

}  // namespace

TEST_F(FormLabelColoursTest, DefaultColouredLabelsTakeTheSkinsTextColourAndGetTheirOwnBack) {
  const TColor text = test->data->ButtonTextColour;
  ASSERT_NE(text, clWindowText);
  EXPECT_EQ(following->Font()->Color(), text);
  EXPECT_EQ(own->Font()->Color(), text);
  EXPECT_EQ(link->Font()->Color(), clPurple);
  EXPECT_EQ(edit->Font()->Color(), editColour) << "a windowed control keeps its font";
  EXPECT_EQ(test->form->Font()->Color(), clWindowText) << "the form's own font is not changed";

  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    SwitchSkinning(false);
    EXPECT_EQ(following->Font()->Color(), clWindowText);
    EXPECT_TRUE(following->ParentFont()) << "the label follows the form's font again";
    EXPECT_EQ(own->Font()->Color(), clBtnText);
    EXPECT_FALSE(own->ParentFont());
    EXPECT_EQ(link->Font()->Color(), clPurple);
    SwitchSkinning(true);
    ASSERT_NE(test->Frame(), nullptr);
    EXPECT_EQ(following->Font()->Color(), text);
  }
  SwitchSkinning(false);
  test->form->Font()->SetColor(clMaroon);
  EXPECT_EQ(following->Font()->Color(), clMaroon);
}

TEST_F(FormLabelColoursTest, TheLabelsShowLightTextOnTheDarkFace) {
  RedrawWindow(test->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  PumpFor(50);
  HDC dc = GetDC(test->Handle());
  int bright = 0;
  for (int y = following->Top(); y < following->Top() + following->Height(); ++y)
    for (int x = following->Left(); x < following->Left() + 120; ++x) {
      const COLORREF c = GetPixel(dc, x, y);
      bright += (GetRValue(c) + GetGValue(c) + GetBValue(c)) / 3 > 150;
    }
  ReleaseDC(test->Handle(), dc);
  EXPECT_GT(bright, 20) << "the label's text is drawn in the skin's light text colour";
}

TEST_F(FormLabelColoursTest, ANewSkinRecoloursTheLabelsAndAColourChosenMeanwhileIsKept) {
  test->data->SetSkinFile(SkinPath("default"));
  SkinManage()->RunPendingAction();
  EXPECT_EQ(following->Font()->Color(), test->data->ButtonTextColour);
  own->Font()->SetColor(clNavy);
  SwitchSkinning(false);
  EXPECT_EQ(own->Font()->Color(), clNavy) << "the application's later choice stays";
  EXPECT_EQ(following->Font()->Color(), clWindowText);
}

TEST_F(FormLabelColoursTest, ALabelFreedWhileSkinnedIsNotTouchedAtUnskin) {
  delete following;
  following = nullptr;
  SwitchSkinning(false);
  EXPECT_EQ(own->Font()->Color(), clBtnText);
  SwitchSkinning(true);
  EXPECT_EQ(own->Font()->Color(), test->data->ButtonTextColour);
}
