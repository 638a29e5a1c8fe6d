// The gallery window in-process: every control kind is there, in the states it is meant
// to show, and the skin choice switches skins and skinning.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <string>

#include "framework/ClassBuilder.h"
#include "framework/RangeCtrls.h"
#include "framework/ResourceCount.h"
#include "framework/TabCtrls.h"
#include "gallery/GalleryForm.h"

namespace {

struct FormDeleter {
  void operator()(TCustomForm* f) const { delete f; }
};

void Pump() { Application->ProcessMessages(); }

// Every component below `owner`, depth first (radio buttons belong to their groups).
void Collect(TComponent* owner, std::vector<TComponent*>& all) {
  for (int i = 0; i < owner->ComponentCount(); ++i) {
    all.push_back(owner->Components(i));
    Collect(owner->Components(i), all);
  }
}

class Gallery : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterGalleryClasses();
    form.reset(TCustomForm::Create<TGalleryForm>(Application));
    Collect(form.get(), all);
  }
  void TearDown() override {
    form.reset();
    Pump();
  }
  std::vector<TComponent*> OfClass(const std::string& name) const {
    std::vector<TComponent*> found;
    for (TComponent* c : all)
      if (c->ClassName() == name) found.push_back(c);
    return found;
  }
  std::unique_ptr<TGalleryForm, FormDeleter> form;
  std::vector<TComponent*> all;
};

TEST_F(Gallery, HasEveryControlKindWithAWindowForEachWindowedOne) {
  const char* kinds[] = {"TBitBtn",     "TSpeedButton", "TScrollBar",     "TListBox",       "TListView",
                         "TComboBox",   "TGroupBox",    "TRadioGroup",    "TProgressBar",   "TTrackBar",
                         "TUpDown",     "TPageControl", "TTabSheet",      "TTabControl",    "THeaderControl",
                         "TTreeView",   "TDateTimePicker", "TToolBar",    "TToolButton",    "TScrollBox",
                         "TPanel",      "TEdit",        "TMemo",          "TButton",        "TLabel",
                         "TCheckBox",   "TRadioButton", "TStatusBar",     "TMainMenu",      "TPopupMenu",
                         "TSkinData",   "TGroupButton"};
  for (const char* kind : kinds) {
    const std::vector<TComponent*> found = OfClass(kind);
    EXPECT_FALSE(found.empty()) << "no " << kind;
    for (TComponent* c : found) {
      if (auto* w = dynamic_cast<TWinControl*>(c)) {
        EXPECT_TRUE(w->HandleAllocated()) << kind << " " << WideToUtf8(c->Name()) << " has no window for the engine to find";
      }
    }
  }
  EXPECT_NE(form->Menu(), nullptr);
  EXPECT_NE(form->PopupMenu(), nullptr);
}

TEST_F(Gallery, ShowsTheStatesWorthSeeing) {
  auto count = [&](const std::string& kind, const std::function<bool(TComponent*)>& test) {
    int n = 0;
    for (TComponent* c : OfClass(kind)) n += test(c) ? 1 : 0;
    return n;
  };
  auto disabled = [](TComponent* c) { return !static_cast<TControl*>(c)->Enabled(); };
  for (const char* kind : {"TButton", "TBitBtn", "TSpeedButton", "TCheckBox", "TRadioButton", "TEdit", "TComboBox",
                           "TListBox", "TTrackBar", "TScrollBar", "TTabControl"})
    EXPECT_GE(count(kind, disabled), 1) << "no disabled " << kind;
  EXPECT_GE(count("TCheckBox", [](TComponent* c) { return GetEnumProp(c, "State") == "cbChecked"; }), 1);
  EXPECT_GE(count("TCheckBox", [](TComponent* c) { return GetEnumProp(c, "State") == "cbGrayed"; }), 1);
  EXPECT_GE(count("TSpeedButton", [](TComponent* c) { return GetEnumProp(c, "Down") == "True"; }), 1);
  EXPECT_GE(count("TSpeedButton", [](TComponent* c) { return GetEnumProp(c, "Flat") == "True"; }), 1);
  for (const char* value : {"pbHorizontal", "pbVertical"})
    EXPECT_GE(count("TProgressBar", [&](TComponent* c) { return GetEnumProp(c, "Orientation") == value; }), 1) << value;
  for (const char* value : {"trHorizontal", "trVertical"})
    EXPECT_GE(count("TTrackBar", [&](TComponent* c) { return GetEnumProp(c, "Orientation") == value; }), 1) << value;
  for (const char* value : {"sbHorizontal", "sbVertical"})
    EXPECT_GE(count("TScrollBar", [&](TComponent* c) { return GetEnumProp(c, "Kind") == value; }), 1) << value;
  for (const char* value : {"tpTop", "tpBottom", "tpLeft", "tpRight"}) {
    const int tabs = count("TTabControl", [&](TComponent* c) { return GetEnumProp(c, "TabPosition") == value; }) +
                     count("TPageControl", [&](TComponent* c) { return GetEnumProp(c, "TabPosition") == value; });
    EXPECT_GE(tabs, 1) << "no tabs at " << value;
  }
  EXPECT_GE(count("TTabControl", [](TComponent* c) { return GetEnumProp(c, "Style") == "tsButtons"; }), 1);
  for (const char* value : {"dtkDate", "dtkTime"})
    EXPECT_GE(count("TDateTimePicker", [&](TComponent* c) { return GetEnumProp(c, "Kind") == value; }), 1) << value;
  auto* glyphButton = dynamic_cast<TBitBtn*>(form->FindComponent(L"BitBtn1"));
  ASSERT_NE(glyphButton, nullptr);
  EXPECT_FALSE(glyphButton->Glyph()->Empty()) << "glyph buttons show a glyph";
  EXPECT_EQ(form->ActiveControl(), form->FindComponent(L"Edit1")) << "a focused edit";
}

TEST_F(Gallery, SkinChoiceSwitchesSkinsAndSkinning) {
  ASSERT_NE(form->SkinData1, nullptr);
  EXPECT_TRUE(form->SkinData1->Active()) << "the stored default skin";
  ASSERT_TRUE(form->ApplySkinChoice(TSkinChoice::Off));
  EXPECT_FALSE(form->SkinData1->Active());
  EXPECT_TRUE(form->NoSkinItem->Checked());
  EXPECT_EQ(form->SkinGroup->ItemIndex(), 2);
  ASSERT_FALSE(FindSkinFile(TSkinChoice::Dark).empty()) << "the build's dark skin";
  ASSERT_TRUE(form->ApplySkinChoice(TSkinChoice::Dark));
  EXPECT_TRUE(form->SkinData1->Active());
  EXPECT_NE(form->SkinData1->SkinFile().find("dark.skn"), std::string::npos);
  EXPECT_TRUE(form->DarkSkinItem->Checked());
  EXPECT_FALSE(form->DefaultSkinItem->Checked());
  // Picking in the group does the same as the menu.
  form->SkinGroup->Buttons(0)->SetChecked(true);
  EXPECT_EQ(form->SkinChoice(), TSkinChoice::Default);
  EXPECT_NE(form->SkinData1->SkinFile().find("default.skn"), std::string::npos);
  EXPECT_TRUE(FindSkinFile(TSkinChoice::Off).empty());

  // A skin file given by name (command line, file dialog) that is one of the offered skins
  // shows as that choice, however its path is spelt.
  std::wstring dark = FindSkinFile(TSkinChoice::Dark);
  const size_t slash = dark.find_last_of(L'\\');
  ASSERT_NE(slash, std::wstring::npos);
  dark.insert(slash, L"\\.");
  form->ApplySkinFile(dark);
  EXPECT_EQ(form->SkinChoice(), TSkinChoice::Dark);
  EXPECT_EQ(form->SkinGroup->ItemIndex(), 1);
  // A missing file leaves the skin in use.
  form->ApplySkinFile(L"C:\\no such folder\\none.skn");
  EXPECT_TRUE(form->SkinData1->Active());
  EXPECT_EQ(form->SkinGroup->ItemIndex(), 1) << "the choice shown stays";
  EXPECT_NE(form->SkinData1->SkinFile().find("dark.skn"), std::string::npos);
}

// The skin component loading one skin after the other and switching off and on (this test
// program installs no skinned frames, so it checks the gallery and the skin component).
TEST_F(Gallery, HundredSkinCyclesLeaveNoGdiObjectOrWindowBehind) {
  // One cycle first: what is made once (the second skin's model) is made.
  ASSERT_TRUE(form->ApplySkinChoice(TSkinChoice::Dark));
  ASSERT_TRUE(form->ApplySkinChoice(TSkinChoice::Off));
  ASSERT_TRUE(form->ApplySkinChoice(TSkinChoice::Default));
  Pump();
  const int64_t gdi = GdiObjectCount();
  const int64_t windows = WindowCount();
  for (int cycle = 0; cycle < 100; ++cycle) {
    ASSERT_TRUE(form->ApplySkinChoice(TSkinChoice::Dark));
    ASSERT_TRUE(form->ApplySkinChoice(TSkinChoice::Off));
    ASSERT_TRUE(form->ApplySkinChoice(TSkinChoice::Default));
    Pump();
  }
  EXPECT_EQ(GdiObjectCount(), gdi);
  EXPECT_EQ(WindowCount(), windows);
}

TEST_F(Gallery, MdiDemoOpensWithChildrenAndClosesCleanly) {
  form->MdiButtonClick(nullptr);
  TForm* demo = form->MdiDemo();
  ASSERT_NE(demo, nullptr);
  EXPECT_EQ(demo->FormStyle(), fsMDIForm);
  EXPECT_EQ(demo->MDIChildCount(), 3);
  form->MdiButtonClick(nullptr);
  EXPECT_EQ(form->MdiDemo(), demo) << "one demo at a time";
  demo->Close();
  for (int i = 0; i < 50 && form->MdiDemo(); ++i) {
    Pump();
    Sleep(10);
  }
  EXPECT_EQ(form->MdiDemo(), nullptr) << "the freed demo is forgotten";
}

}  // namespace
