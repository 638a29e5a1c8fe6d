// The skinned classes that work through a control's own properties and drawing: glyph
// items that take the skin's check and radio marks into their pictures, advanced page
// controls that get the skin's tab frames as their tab pictures, and tab sets whose tab
// strip is composed from the skin. The controls are small test classes publishing the
// property names those controls have.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "framework/ClassBuilder.h"
#include "framework/ExtCtrls.h"
#include "framework/Strings.h"
#include "skin/controls/WinSubClassHelpers.h"
#include "skin/controls/WinSubClassObjImage.h"
#include "skin/controls/WinSubClassTab31.h"
#include "skin/controls/WinSubClassTabAdvPage.h"
#include "skin/controls/WinSubClassUpDown.h"
#include "skin/data/SkinDraw.h"
#include "tests/skin_controls_other/OtherControlsFixtures.h"

namespace {

// A check group: its items draw their marks from CustomGlyphs while UseCustomGlyphs.
class TTestGlyphGroup : public TCustomControl {
  FRAMEWORK_CLASS(TTestGlyphGroup, TCustomControl)

 public:
  explicit TTestGlyphGroup(TComponent* owner) : TCustomControl(owner), glyphs_(std::make_unique<TBitmap>()) {}
  TBitmap* CustomGlyphs() const { return glyphs_.get(); }
  void SetCustomGlyphs(TBitmap* value) { CopyBitmap(value, glyphs_.get()); }
  int32_t TransparentColour() const { return transparent_; }
  void SetTransparentColour(int32_t value) { transparent_ = value; }
  bool UseCustomGlyphs() const { return use_; }
  void SetUseCustomGlyphs(bool value) {
    if (value && !use_) ++reloads;
    use_ = value;
  }
  int reloads = 0;

 private:
  std::unique_ptr<TBitmap> glyphs_;
  int32_t transparent_ = 0;
  bool use_ = false;
};

const TClassInfo& TTestGlyphGroup::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TTestGlyphGroup>("TTestGlyphGroup", &Inherited::StaticClass())
          .Property("CustomGlyphs", &TTestGlyphGroup::CustomGlyphs, &TTestGlyphGroup::SetCustomGlyphs)
          .Property("transparentcolor", &TTestGlyphGroup::TransparentColour, &TTestGlyphGroup::SetTransparentColour)
          .Property("UseCustomGlyphs", &TTestGlyphGroup::UseCustomGlyphs, &TTestGlyphGroup::SetUseCustomGlyphs)
          .Build();
  return info;
}

// The "Properties" object of a glyph control.
class TTestGlyphProperties : public TPersistent {
  FRAMEWORK_CLASS(TTestGlyphProperties, TPersistent)

 public:
  TTestGlyphProperties() : glyph_(std::make_unique<TBitmap>()) {}
  TBitmap* Glyph() const { return glyph_.get(); }
  void SetGlyph(TBitmap* value) { CopyBitmap(value, glyph_.get()); }

 private:
  std::unique_ptr<TBitmap> glyph_;
};

const TClassInfo& TTestGlyphProperties::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TTestGlyphProperties>("TTestGlyphProperties", &Inherited::StaticClass())
          .Property("Glyph", &TTestGlyphProperties::Glyph, &TTestGlyphProperties::SetGlyph)
          .Build();
  return info;
}

class TTestGlyphControl : public TCustomControl {
  FRAMEWORK_CLASS(TTestGlyphControl, TCustomControl)

 public:
  explicit TTestGlyphControl(TComponent* owner)
      : TCustomControl(owner), properties_(std::make_unique<TTestGlyphProperties>()) {}
  TTestGlyphProperties* Properties() const { return properties_.get(); }
  void SetProperties(TTestGlyphProperties*) {}

 private:
  std::unique_ptr<TTestGlyphProperties> properties_;
};

const TClassInfo& TTestGlyphControl::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TTestGlyphControl>("TTestGlyphControl", &Inherited::StaticClass())
          .Property("Properties", &TTestGlyphControl::Properties, &TTestGlyphControl::SetProperties)
          .Build();
  return info;
}

// An advanced page control: it draws its tabs from two pictures.
class TTestAdvPages : public TCustomControl {
  FRAMEWORK_CLASS(TTestAdvPages, TCustomControl)

 public:
  explicit TTestAdvPages(TComponent* owner)
      : TCustomControl(owner), normal_(std::make_unique<TBitmap>()), active_(std::make_unique<TBitmap>()) {}
  TBitmap* TabBackGround() const { return normal_.get(); }
  void SetTabBackGround(TBitmap* value) { CopyBitmap(value, normal_.get()); }
  TBitmap* TabBackGroundActive() const { return active_.get(); }
  void SetTabBackGroundActive(TBitmap* value) { CopyBitmap(value, active_.get()); }

 private:
  std::unique_ptr<TBitmap> normal_;
  std::unique_ptr<TBitmap> active_;
};

const TClassInfo& TTestAdvPages::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TTestAdvPages>("TTestAdvPages", &Inherited::StaticClass())
          .Property("TabBackGround", &TTestAdvPages::TabBackGround, &TTestAdvPages::SetTabBackGround)
          .Property("TabBackGroundActive", &TTestAdvPages::TabBackGroundActive, &TTestAdvPages::SetTabBackGroundActive)
          .Build();
  return info;
}

// A tab set: tab texts, the selected tab and the first tab shown.
class TTestTabSet : public TCustomControl {
  FRAMEWORK_CLASS(TTestTabSet, TCustomControl)

 public:
  explicit TTestTabSet(TComponent* owner) : TCustomControl(owner), tabs_(std::make_unique<TStringList>()) {}
  TStringList* Tabs() const { return tabs_.get(); }
  void SetTabs(TStringList*) {}
  int32_t TabIndex() const { return tabIndex_; }
  void SetTabIndex(int32_t value) { tabIndex_ = value; }
  int32_t FirstIndex() const { return firstIndex_; }
  void SetFirstIndex(int32_t value) { firstIndex_ = value; }

 private:
  std::unique_ptr<TStringList> tabs_;
  int32_t tabIndex_ = 0;
  int32_t firstIndex_ = 0;
};

const TClassInfo& TTestTabSet::StaticClass() {
  static const TClassInfo info = TClassBuilder<TTestTabSet>("TTestTabSet", &Inherited::StaticClass())
                                     .Property("Tabs", &TTestTabSet::Tabs, &TTestTabSet::SetTabs)
                                     .Property("TabIndex", &TTestTabSet::TabIndex, &TTestTabSet::SetTabIndex)
                                     .Property("FirstIndex", &TTestTabSet::FirstIndex, &TTestTabSet::SetFirstIndex)
                                     .Build();
  return info;
}

class SkinnedByProperties : public TOtherSkinFormTest {
 protected:
  template <class T>
  T* Place(int x, int y, int width, int height) {
    auto* control = new T(view->form);
    control->SetParent(view->form);
    control->SetBounds(x, y, width, height);
    return control;
  }
  static bool SamePicture(TBitmap* a, TBitmap* b) {
    if (a->Width() != b->Width() || a->Height() != b->Height()) return false;
    for (int y = 0; y < a->Height(); ++y)
      for (int x = 0; x < a->Width(); ++x)
        if (GetPixel(a->Canvas()->Handle(), x, y) != GetPixel(b->Canvas()->Handle(), x, y)) return false;
    return true;
  }
};

TEST_F(SkinnedByProperties, CheckAndRadioGroupsTakeTheSkinsMarksAndGiveThemUp) {
  struct Case {
    int mode;
    TBitmap* mark;
  };
  const Case cases[] = {{1, skin->Buttons->CheckBitmap.get()}, {2, skin->Buttons->RadioBitmap.get()}};
  for (const Case& c : cases) {
    auto* group = Place<TTestGlyphGroup>(150, 50, 150, 80);
    TSkinObjImage skinned(nullptr);
    skinned.Mode = c.mode;
    skinned.InitSkin(&list, skin, false, nullptr, group);
    EXPECT_EQ(skinned.GlyphMode, c.mode);
    EXPECT_TRUE(SamePicture(group->CustomGlyphs(), c.mark)) << c.mode;
    EXPECT_EQ(group->TransparentColour(), static_cast<int32_t>(kSkinKeyColour));
    EXPECT_TRUE(group->UseCustomGlyphs());
    EXPECT_EQ(group->reloads, 1);  // switched off and on: the control reloads its marks
    skinned.UpdateSkin();
    EXPECT_EQ(group->reloads, 2);
    skinned.Unskin();
    EXPECT_FALSE(group->UseCustomGlyphs());
    delete group;
  }
}

TEST_F(SkinnedByProperties, AGlyphControlTakesTheMarkIntoItsPropertiesGlyph) {
  auto* control = Place<TTestGlyphControl>(150, 50, 60, 30);
  TSkinObjImage skinned(nullptr);
  skinned.GlyphMode = 3;
  skinned.InitSkin(&list, skin, false, nullptr, control);
  EXPECT_TRUE(SamePicture(control->Properties()->Glyph(), skin->Buttons->CheckBitmap.get()));
  skinned.Unskin();
  EXPECT_TRUE(control->Properties()->Glyph()->Empty());
}

TEST_F(SkinnedByProperties, AnAdvancedPageControlGetsTheTabFramesAsItsTabPictures) {
  auto* pages = Place<TTestAdvPages>(150, 50, 200, 100);
  TSkinAdvPage skinned(nullptr);
  skinned.Mode = 4;
  skinned.InitSkin(&list, skin, false, nullptr, pages);
  EXPECT_EQ(skinned.PageMode, 4);
  const TDataSkinBorder& tabs = *skin->Tabs;
  for (int frame = 1; frame <= 2; ++frame) {
    TBitmap* picture = frame == 1 ? pages->TabBackGround() : pages->TabBackGroundActive();
    auto want = BuildNineSlice(RECT{0, 0, 100, 21}, tabs.Bitmap.get(), tabs.Margins, false, tabs.Tile != 0,
                               tabs.FrameCount, frame);
    EXPECT_TRUE(SamePicture(picture, want.get())) << frame;
  }
  skinned.Unskin();
  EXPECT_TRUE(pages->TabBackGround()->Empty());
  EXPECT_TRUE(pages->TabBackGroundActive()->Empty());
}

TEST_F(SkinnedByProperties, AnAdvancedPageControlWithoutItsModeKeepsItsPictures) {
  auto* pages = Place<TTestAdvPages>(150, 50, 200, 100);
  TSkinAdvPage skinned(nullptr);
  skinned.InitSkin(&list, skin, false, nullptr, pages);
  EXPECT_TRUE(pages->TabBackGround()->Empty());
}

TEST_F(SkinnedByProperties, ATabSetDrawsTheTabsThatFitWithTheFlippedTabPicture) {
  auto* tabSet = Place<TTestTabSet>(10, 140, 200, 24);
  for (const wchar_t* name : {L"一", L"二二", L"三三三", L"四四四四", L"五五五五五", L"六六六六六六"})
    tabSet->Tabs()->Add(name);
  tabSet->SetTabIndex(1);
  const HWND window = tabSet->Handle();
  const WNDPROC original = WindowProcOf(window);
  {
    TSkinTab31 skinned(nullptr);
    skinned.InitSkin(&list, skin, false, nullptr, tabSet);
    ASSERT_EQ(skinned.Attached, 1);
    EXPECT_NE(WindowProcOf(window), original);  // attached by handle
    EXPECT_EQ(skinned.Scroller, nullptr);
    auto painted = PaintOf(window);
    ASSERT_GE(skinned.TabRects.size(), 2u);
    // Each tab is its text's width plus 9; those that do not fit in width - 9 are left out.
    TBitmap probe(1, 1);
    probe.Canvas()->Font()->Assign(tabSet->Font());
    int x = 0;
    size_t fitting = 0;
    for (int i = 0; i < tabSet->Tabs()->Count(); ++i) {
      const int w = probe.Canvas()->TextWidth(tabSet->Tabs()->Get(i)) + 9;
      if (x + w > 200 - 9) break;
      ASSERT_LT(fitting, skinned.TabRects.size());
      EXPECT_EQ(skinned.TabRects[fitting].left, x);
      EXPECT_EQ(skinned.TabRects[fitting].right, x + w);
      x += w;
      ++fitting;
    }
    EXPECT_EQ(skinned.TabRects.size(), fitting);
    EXPECT_LT(fitting, 6u);
    // The selected tab is frame 2 of the picture turned upside down: its bottom rows are
    // the top rows of frame 2.
    const TDataSkinBorder& tabs = *skin->Tabs;
    const RECT second = skinned.TabRects[1];
    auto upright = RawFrame(tabs, tabs.FrameCount, 2, second.right - second.left, 24);
    for (int x2 = 0; x2 < second.right - second.left; ++x2) {
      const COLORREF want = upright->At(x2, 0);
      if (want == kSkinKeyColour) continue;
      EXPECT_EQ(painted->At(second.left + x2, 23), want) << x2;
    }
    // From the first visible tab on.
    tabSet->SetFirstIndex(2);
    PaintOf(window);
    EXPECT_EQ(skinned.TabRects.at(0).right, probe.Canvas()->TextWidth(L"三三三") + 9);
  }
  EXPECT_EQ(WindowProcOf(window), original);
}

TEST_F(SkinnedByProperties, ATabSetsScrollerGetsASidewaysUpDownAndKeeps21PixelsFree) {
  auto* tabSet = Place<TTestTabSet>(10, 140, 200, 24);
  auto* scroller = new TPanel(tabSet);  // the tab set's first component
  scroller->SetParent(tabSet);
  scroller->SetBounds(170, 2, 28, 20);
  for (const wchar_t* name : {L"一一一一", L"二二二二", L"三三三三", L"四四四四"}) tabSet->Tabs()->Add(name);
  TSkinTab31 skinned(nullptr);
  skinned.InitSkin(&list, skin, false, nullptr, tabSet);
  ASSERT_NE(skinned.Scroller, nullptr);
  EXPECT_EQ(skinned.Scroller->HorzMode, 1);
  EXPECT_EQ(skinned.Scroller->Handle, scroller->Handle());
  PaintOf(tabSet->Handle());
  ASSERT_FALSE(skinned.TabRects.empty());
  EXPECT_LE(skinned.TabRects.back().right, 200 - 21);
}

}  // namespace
