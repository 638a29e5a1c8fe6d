// The MDI main form's client window under the skinned frame, and the two toolbar painters.
#include <gtest/gtest.h>

#include "framework/ToolBars.h"
#include "skin/data/SkinDraw.h"
#include "skin/form/WinSkinMenu.h"
#include "skin/form/WinSkinMenuMdi.h"
#include "skin/form/WinSkinMenuToolbar.h"
#include "tests/skin_menu/MenuTestSupport.h"

namespace {

bool ColourNear(COLORREF a, COLORREF b, int tolerance = 2) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

}  // namespace

class SkinMdiTest : public SkinFormTest {};

TEST_F(SkinMdiTest, TheMdiClientIsSubclassedWhileTheMainFormIsSkinned) {
  TForm* main = TCustomForm::CreateFromLayout<TForm>(Application, R"(object MdiMain: TForm
  Left = 100
  Top = 80
  Caption = 'MDI'
  ClientWidth = 420
  ClientHeight = 300
  FormStyle = fsMDIForm
end
)");
  auto* data = new TSkinData(main);
  data->SetSkinFile(SkinPath("default"));
  data->SetActive(true);
  auto* menu = new TMainMenu(main);
  auto* window = new TMenuItem(menu);
  window->SetCaption(L"&Window");
  auto* cascade = new TMenuItem(menu);
  cascade->SetCaption(L"&Cascade");
  menu->Items()->Add(window);
  window->Add(cascade);
  main->SetMenu(menu);
  main->Show();
  SetForegroundWindow(main->Handle());
  TSkinManage* manager = SkinManage();
  auto frameOf = [&] {
    return manager != nullptr ? dynamic_cast<TWinSkinForm*>(manager->FindSkinForm(main->Handle())) : nullptr;
  };
  ASSERT_TRUE(PumpUntil([&] { return frameOf() != nullptr && frameOf()->State == kFrameActive; }));
  TWinSkinForm* frame = frameOf();
  const HWND client = main->ClientHandle();
  ASSERT_TRUE(IsWindow(client));
  EXPECT_EQ(frame->MdiRole, 1);
  EXPECT_TRUE(HasMdiClientSkin(frame));
  ASSERT_NE(frame->MenuBar, nullptr);
  EXPECT_EQ(frame->MenuBar->Buttons.size(), 1u);
  // Scroll bars of the client are dropped (the skin has no xoMDIScrollbar).
  SetWindowLongW(client, GWL_STYLE, GetWindowLongW(client, GWL_STYLE) | WS_VSCROLL | WS_HSCROLL);
  SetWindowPos(client, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  EXPECT_EQ(GetWindowLongW(client, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL), 0);
  EXPECT_EQ(SendMessageW(client, SKM_REDRAWMDI, 0, 0), 0);
  // A maximised child sets the manager's state; cascading clears it.
  auto* child = new TForm(main);
  child->SetFormStyle(fsMDIChild);
  child->SetCaption(L"Child");
  child->SetBounds(10, 10, 200, 150);
  child->Show();
  PumpFor(100);
  SendMessageW(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child->Handle()), 0);
  SendMessageW(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(child->Handle()), 0);
  PumpFor(100);
  EXPECT_TRUE(manager->MdiMaximised);
  SendMessageW(client, WM_MDICASCADE, 0, 0);
  PumpFor(50);
  EXPECT_FALSE(manager->MdiMaximised);
  // Unskinning gives the client its own procedure back.
  data->SetActive(false);
  ASSERT_TRUE(PumpUntil([&] { return frameOf() == nullptr; }));
  EXPECT_FALSE(HasMdiClientSkin(frame));
  EXPECT_EQ(SendMessageW(client, SKM_QUERYSKIN, 0, 0), 0);
  delete main;
}

class SkinToolbarPainterTest : public SkinFormTest {};

TEST_F(SkinToolbarPainterTest, ButtonFramesFollowTheState) {
  SkinnedTestForm test;
  ASSERT_TRUE(test.ShowAndWaitForSkin());
  TSkinData* data = test.data;
  ASSERT_TRUE(data->Buttons && data->Buttons->Bitmap && !data->Buttons->Bitmap->Empty());
  TBitmap surface(60, 40);
  TCanvas* canvas = surface.Canvas();
  const RECT bounds{0, 0, 60, 40};
  TBitmap* image = data->Buttons->Bitmap.get();
  const int frameWidth = image->Width() / 5;
  auto frameCentre = [&](int frame) {
    return GetPixel(image->Canvas()->Handle(), frameWidth * (frame - 1) + frameWidth / 2, image->Height() / 2);
  };
  const struct {
    TCustomDrawState state;
    int frame;  // 0: nothing drawn
  } cases[] = {
      {TCustomDrawState{cdsSelected}, 2},
      {TCustomDrawState{cdsHot}, 4},
      {TCustomDrawState{cdsFocused}, 4},
      {TCustomDrawState{cdsDefault}, 1},
      {TCustomDrawState{cdsDefault, cdsGrayed}, 0},
      {TCustomDrawState{cdsDefault, cdsDisabled}, 0},
      {TCustomDrawState{}, 0},
  };
  for (const auto& c : cases) {
    canvas->Brush()->SetColor(static_cast<TColor>(0x00FF00));
    canvas->FillRect(bounds);
    const bool drawn = PaintToolbarButton(data, kFrameActive, canvas, bounds, c.state);
    EXPECT_EQ(drawn, c.frame != 0) << c.frame;
    const COLORREF centre = GetPixel(canvas->Handle(), 30, 20);
    if (c.frame != 0) {
      EXPECT_TRUE(ColourNear(centre, frameCentre(c.frame))) << c.frame;
    } else {
      EXPECT_EQ(centre, RGB(0, 255, 0));
    }
  }
  // Only while the frame is active, and not when the skin data says so.
  EXPECT_FALSE(PaintToolbarButton(data, kFrameAttached, canvas, bounds, TCustomDrawState{cdsHot}));
  TSkinOptions options = data->Options();
  options.Include(xoToolbarButton);
  data->SetOptions(options);
  EXPECT_FALSE(PaintToolbarButton(data, kFrameActive, canvas, bounds, TCustomDrawState{cdsHot}));
}

TEST_F(SkinToolbarPainterTest, TheBackgroundIsStretchedUnlessTheOptionSaysNo) {
  SkinnedTestForm test;
  ASSERT_TRUE(test.ShowAndWaitForSkin());
  TSkinData* data = test.data;
  TBitmap surface(200, 30);
  TCanvas* canvas = surface.Canvas();
  const RECT bounds{0, 0, 200, 30};
  auto fill = [&] {
    canvas->Brush()->SetColor(static_cast<TColor>(0x00FF00));
    canvas->FillRect(bounds);
  };
  TSkinOptions options = data->Options();
  options.Include(xoToolbarBK);
  data->SetOptions(options);
  fill();
  PaintToolbarBackground(data, canvas, bounds);
  EXPECT_EQ(GetPixel(canvas->Handle(), 100, 15), RGB(0, 255, 0));
  options.Exclude(xoToolbarBK);
  data->SetOptions(options);
  fill();
  PaintToolbarBackground(data, canvas, bounds);
  TBitmap* image = data->ToolbarBackground ? data->ToolbarBackground->Bitmap.get() : nullptr;
  if (image != nullptr && !image->Empty()) {
    // The middle of the whole image lands in the middle of the bar.
    EXPECT_TRUE(ColourNear(GetPixel(canvas->Handle(), 100, 15),
                           GetPixel(image->Canvas()->Handle(), image->Width() / 2, image->Height() / 2)));
  } else {
    EXPECT_EQ(GetPixel(canvas->Handle(), 100, 15), RGB(0, 255, 0));
  }
}
