// Glyph, speed and drop-down buttons: glyph cells and layout, the flat speed button's
// missing face, a speed button freeing its skinned object in time, the drop-down mark. The controls are small test classes that publish the
// properties the skin objects read by name.
#include <gtest/gtest.h>

#include <memory>

#include "framework/ClassBuilder.h"
#include "skin/controls/WinSubClassButtons.h"
#include "skin/data/SkinDraw.h"
#include "tests/skin_controls/SkinControlsSupport.h"

FRAMEWORK_ENUM(TTestLayout, blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom)

// A push button with a glyph, as glyph buttons publish it.
class TTestGlyphButton : public TButton {
  FRAMEWORK_CLASS(TTestGlyphButton, TButton)

 public:
  explicit TTestGlyphButton(TComponent* owner) : TButton(owner), glyph_(std::make_unique<TBitmap>()) {}
  TBitmap* Glyph() const { return glyph_.get(); }
  void SetGlyph(TBitmap* value) { CopyFrom(value); }
  int32_t NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int32_t value) { numGlyphs_ = value; }
  TTestLayout Layout() const { return layout_; }
  void SetLayout(TTestLayout value) { layout_ = value; }
  int32_t Margin() const { return margin_; }
  void SetMargin(int32_t value) { margin_ = value; }
  int32_t Spacing() const { return spacing_; }
  void SetSpacing(int32_t value) { spacing_ = value; }

 private:
  void CopyFrom(TBitmap* value) {
    glyph_->SetSize(value->Width(), value->Height());
    glyph_->Canvas()->Draw(0, 0, value);
  }
  std::unique_ptr<TBitmap> glyph_;
  int32_t numGlyphs_ = 1;
  TTestLayout layout_ = blGlyphLeft;
  int32_t margin_ = -1;
  int32_t spacing_ = 4;
};

const TClassInfo& TTestGlyphButton::StaticClass() {
  static const TClassInfo info = TClassBuilder<TTestGlyphButton>("TTestGlyphButton", &Inherited::StaticClass())
                                     .Property("Glyph", &TTestGlyphButton::Glyph, &TTestGlyphButton::SetGlyph)
                                     .Property("NumGlyphs", &TTestGlyphButton::NumGlyphs, &TTestGlyphButton::SetNumGlyphs)
                                     .Property("Layout", &TTestGlyphButton::Layout, &TTestGlyphButton::SetLayout)
                                     .Property("Margin", &TTestGlyphButton::Margin, &TTestGlyphButton::SetMargin)
                                     .Property("Spacing", &TTestGlyphButton::Spacing, &TTestGlyphButton::SetSpacing)
                                     .Build();
  return info;
}

// A flat tool button without a window.
class TTestSpeedButton : public TGraphicControl {
  FRAMEWORK_CLASS(TTestSpeedButton, TGraphicControl)

 public:
  using TGraphicControl::TGraphicControl;
  bool Down() const { return down_; }
  void SetDown(bool value) { down_ = value; }
  bool Flat() const { return flat_; }
  void SetFlat(bool value) { flat_ = value; }

 private:
  bool down_ = false;
  bool flat_ = true;
};

const TClassInfo& TTestSpeedButton::StaticClass() {
  static const TClassInfo info = TClassBuilder<TTestSpeedButton>("TTestSpeedButton", &Inherited::StaticClass())
                                     .Property("Down", &TTestSpeedButton::Down, &TTestSpeedButton::SetDown)
                                     .Property("Flat", &TTestSpeedButton::Flat, &TTestSpeedButton::SetFlat)
                                     .Build();
  return info;
}

namespace {

class GlyphButtons : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { skin = LoadBuiltSkin("default").release(); }
  static void TearDownTestSuite() {
    delete skin;
    skin = nullptr;
  }
  void SetUp() override {
    ASSERT_NE(skin, nullptr);
    SetCursorPos(0, 0);
    view = std::make_unique<TControlsForm>();
    view->check->SetFocus();
  }
  void TearDown() override { view.reset(); }

  // A 16 x 16 glyph of `cells` cells: red, blue, lime, yellow; bottom-left pixel of each
  // cell white (the transparent colour).
  static std::unique_ptr<TBitmap> Glyph(int cells) {
    static const TColor colours[] = {clRed, clBlue, clLime, clYellow};
    auto b = std::make_unique<TBitmap>(16 * cells, 16);
    for (int i = 0; i < cells; ++i) {
      b->Canvas()->Brush()->SetColor(colours[i]);
      b->Canvas()->FillRect({16 * i, 0, 16 * i + 16, 16});
      b->Canvas()->SetPixel(16 * i, 15, clWhite);
    }
    return b;
  }
  TTestGlyphButton* MakeGlyphButton(int cells) {
    auto* b = new TTestGlyphButton(view->form);
    b->SetParent(view->form);
    b->SetBounds(120, 60, 100, 30);
    b->SetCaption(L"");
    auto glyph = Glyph(cells);
    b->SetGlyph(glyph.get());
    b->SetNumGlyphs(cells);
    return b;
  }

  static TSkinData* skin;
  std::unique_ptr<TControlsForm> view;
  TRecordingList list;
};
TSkinData* GlyphButtons::skin = nullptr;

TEST_F(GlyphButtons, TheGlyphCellFollowsTheStateAndSitsCentredWithoutCaption) {
  TTestGlyphButton* b = MakeGlyphButton(2);
  TSkinBitButton skinned(nullptr);
  skinned.InitSkin(&list, skin, false, nullptr, b);
  const HWND h = b->Handle();
  // No caption: spacing 0, margin centres the glyph: (100 - 16) / 2 = 42, y = (30 - 16 + 1) / 2 = 7.
  auto normal = PaintOf(h);
  EXPECT_EQ(normal->At(50, 15), RGB(255, 0, 0));
  EXPECT_EQ(normal->At(41, 15), PaintOf(h)->At(41, 15));
  EXPECT_NE(normal->At(42, 22), RGB(255, 255, 255)) << "the bottom-left colour is transparent";
  b->SetEnabled(false);
  EXPECT_EQ(PaintOf(h)->At(50, 15), RGB(0, 0, 255)) << "disabled: cell 2";
  b->SetEnabled(true);
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  EXPECT_EQ(PaintOf(h)->At(50, 15), RGB(255, 0, 0)) << "pressed: cell 3 missing, the first cell";
  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
}

TEST_F(GlyphButtons, ADisabledSingleCellGlyphIsGreyed) {
  TTestGlyphButton* b = MakeGlyphButton(1);
  b->SetNumGlyphs(0);  // counts as one cell
  TSkinBitButton skinned(nullptr);
  skinned.InitSkin(&list, skin, false, nullptr, b);
  b->SetEnabled(false);
  const COLORREF c = PaintOf(b->Handle())->At(50, 15);
  EXPECT_EQ(GetRValue(c), GetGValue(c));
  EXPECT_EQ(GetGValue(c), GetBValue(c));
}

TEST_F(GlyphButtons, RightLayoutPutsTheGlyphAtTheFarMargin) {
  TTestGlyphButton* b = MakeGlyphButton(1);
  b->SetLayout(blGlyphRight);
  b->SetMargin(4);
  b->SetCaption(L"右");
  TSkinBitButton skinned(nullptr);
  skinned.InitSkin(&list, skin, false, nullptr, b);
  auto c = PaintOf(b->Handle());
  // Glyph at 100 - 4 - 16 = 80.
  EXPECT_EQ(c->At(80, 10), RGB(255, 0, 0));
  EXPECT_EQ(c->At(95, 10), RGB(255, 0, 0));
  EXPECT_NE(c->At(78, 10), RGB(255, 0, 0));
}

TEST_F(GlyphButtons, AFlatSpeedButtonShowsNoFaceUntilHotAndADownOneShowsThePressedFace) {
  auto* speed = new TTestSpeedButton(view->form);
  speed->SetParent(view->form);
  speed->SetBounds(250, 150, 60, 30);
  TSkinSpeedButton skinned(nullptr);
  skinned.InitSpeedButton(&list, skin, nullptr, speed);
  EXPECT_EQ(skinned.Companion, speed);
  auto paint = [&] {
    auto c = std::make_unique<TCapture>(60, 30);
    speed->Perform(WM_PAINT, reinterpret_cast<WPARAM>(c->Dc()), 0);
    return c;
  };
  const TDataSkinButton& face = *skin->Buttons;
  auto faceAt = [&](int frame) {
    std::unique_ptr<TBitmap> image =
        BuildNineSlice({0, 0, 60, 30}, face.Bitmap.get(), face.Margins, false, face.Tile != 0, face.FrameCount, frame);
    return GetPixel(image->Canvas()->Handle(), 30, 1);
  };
  EXPECT_EQ(paint()->At(30, 1), ColorToRGB(skin->ButtonFaceColour)) << "flat and idle: background only";
  speed->Perform(CM_MOUSEENTER, 0, 0);
  EXPECT_EQ(paint()->At(30, 1), faceAt(4)) << "hot";
  speed->Perform(CM_MOUSELEAVE, 0, 0);
  speed->SetDown(true);
  EXPECT_EQ(paint()->At(30, 1), faceAt(2)) << "down";
  speed->SetDown(false);
  speed->SetFlat(false);
  EXPECT_EQ(paint()->At(30, 1), faceAt(1)) << "not flat: the normal face";
}

// The skinned object of a speed button, owned by the button as discovery makes it. As
// it goes it notes whether its button was still a whole control then: still among its
// parent's controls, which the button leaves only once its control part is torn down.
class TProbeSpeedSkin : public TSkinSpeedButton {
 public:
  TProbeSpeedSkin(TControl* button, TWinControl* parent, int& verdict)
      : TSkinSpeedButton(button), button_(button), parent_(parent), verdict_(verdict) {}
  ~TProbeSpeedSkin() override {
    // Pointers compared only: nothing of the button is read here.
    verdict_ = 0;
    for (int i = 0; i < parent_->ControlCount(); ++i)
      if (parent_->Controls(i) == button_) verdict_ = 1;
  }

 private:
  TControl* button_;
  TWinControl* parent_;
  int& verdict_;
};

TEST_F(GlyphButtons, ASpeedButtonFreesItsSkinnedObjectWhileItIsStillAWholeControl) {
  auto* speed = new TTestSpeedButton(view->form);
  speed->SetParent(view->form);
  speed->SetBounds(250, 150, 60, 30);
  int verdict = -1;  // -1: the object was never freed
  auto* skinned = new TProbeSpeedSkin(speed, view->form, verdict);
  skinned->InitSpeedButton(&list, skin, nullptr, speed);
  ASSERT_EQ(skinned->Attached, 1);
  speed->Perform(CM_MOUSEENTER, 0, 0);
  EXPECT_EQ(skinned->MouseState & kMouseHot, kMouseHot) << "the object sees the button's messages";
  const int controls = view->form->ControlCount();
  delete speed;
  // The object puts the button's WindowProc back as it goes: that must happen before the
  // button's control part (which holds WindowProc) is destroyed.
  EXPECT_EQ(verdict, 1);
  EXPECT_EQ(view->form->ControlCount(), controls - 1);
  EXPECT_EQ(list.removed, list.added) << "the object left the frame's list";
}

TEST_F(GlyphButtons, TheMenuButtonDrawsItsDropDownMark) {
  TSkinMenuButton skinned(nullptr);
  skinned.InitSkin(&list, skin, false, nullptr, view->button2);
  // Inside the triangle (w - 15, h/2 - 1), (w - 9, h/2 - 1), (w - 12, h/2 + 2).
  EXPECT_EQ(PaintOf(view->button2->Handle())->At(100 - 12, 15), GetSysColor(COLOR_WINDOWTEXT));
  view->button2->SetEnabled(false);
  EXPECT_EQ(PaintOf(view->button2->Handle())->At(100 - 12, 15), GetSysColor(COLOR_BTNSHADOW));
}

}  // namespace
