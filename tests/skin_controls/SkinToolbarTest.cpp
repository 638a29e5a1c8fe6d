// Tool bars of a skinned window: the frame's painters go to the custom-draw events a bar
// left empty (its own handlers stay), the bar's background comes from the skin, and
// stopping the skin gives every bar its own handlers back.
#include <gtest/gtest.h>

#include <memory>

#include "framework/ToolBars.h"
#include "skin/controls/RegisterSkinControls.h"
#include "skin/form/ControlDiscovery.h"
#include "tests/skin_form/SkinFormTestSupport.h"

namespace {

constexpr COLORREF kBackground = RGB(200, 30, 90);

COLORREF ScreenPixelOf(HWND window, int x, int y) {
  POINT p{x, y};
  ClientToScreen(window, &p);
  HDC screen = GetDC(nullptr);
  const COLORREF c = GetPixel(screen, p.x, p.y);
  ReleaseDC(nullptr, screen);
  return c;
}

// The middle of the bar as the screen shows it, after the bar painted again.
COLORREF BarMiddle(TToolBar* bar) {
  RedrawWindow(bar->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  PumpFor(50);
  RECT r{};
  GetClientRect(bar->Handle(), &r);
  return ScreenPixelOf(bar->Handle(), r.right / 2, r.bottom / 2);
}

class SkinnedToolbar : public SkinFormTest {
 protected:
  static void SetUpTestSuite() { RegisterSkinControls(); }
};

TEST_F(SkinnedToolbar, EmptyEventsGetThePaintersAndGetThemBackAtUnskin) {
  SkinnedTestForm test("default", "tool bars", 320, 200);
  auto* plain = new TToolBar(test.form);
  plain->SetParent(test.form);
  plain->SetAlign(alTop);
  plain->SetHeight(40);
  auto* own = new TToolBar(test.form);
  own->SetParent(test.form);
  own->SetAlign(alBottom);
  own->SetHeight(40);
  int ownDraws = 0;
  own->OnCustomDraw = [&ownDraws](TToolBar*, const TRect&, bool&) { ++ownDraws; };
  auto callOwn = [&] {
    bool defaultDraw = true;
    if (own->OnCustomDraw) own->OnCustomDraw(own, TRect{0, 0, 1, 1}, defaultDraw);
  };

  ASSERT_TRUE(test.ShowAndWaitForSkin());
  SetWindowPos(test.Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  auto discovered = [&] {
    TWinSkinForm* frame = test.Frame();
    return frame != nullptr && frame->Discovery && frame->Discovery->FindByControl(plain) != nullptr &&
           frame->Discovery->FindByControl(own) != nullptr;
  };
  ASSERT_TRUE(PumpUntil(discovered));
  const COLORREF unskinnedFace = GetSysColor(COLOR_BTNFACE);
  ASSERT_NE(unskinnedFace, kBackground);

  // A skin with a background image for tool bars, drawn.
  auto image = std::make_unique<TBitmap>(8, 8);
  HBRUSH brush = CreateSolidBrush(kBackground);
  RECT all{0, 0, 8, 8};
  FillRect(image->Canvas()->Handle(), &all, brush);
  DeleteObject(brush);
  test.data->ToolbarBackground->Bitmap = std::move(image);
  test.data->SetOptions(test.data->Options().Exclude(xoToolbarBK));

  EXPECT_TRUE(static_cast<bool>(plain->OnCustomDraw));
  EXPECT_TRUE(static_cast<bool>(plain->OnCustomDrawButton));
  EXPECT_TRUE(static_cast<bool>(own->OnCustomDrawButton));
  const int skinned = ownDraws;
  callOwn();
  EXPECT_EQ(ownDraws, skinned + 1) << "the bar's own background handler stays";
  EXPECT_EQ(BarMiddle(plain), kBackground);

  // The option that leaves the background to the bar.
  test.data->SetOptions(test.data->Options().Include(xoToolbarBK));
  EXPECT_NE(BarMiddle(plain), kBackground);
  test.data->SetOptions(test.data->Options().Exclude(xoToolbarBK));

  test.data->SetActive(false);
  SkinManage()->RunPendingAction();
  PumpFor(50);
  EXPECT_FALSE(static_cast<bool>(plain->OnCustomDraw));
  EXPECT_FALSE(static_cast<bool>(plain->OnCustomDrawButton));
  EXPECT_FALSE(static_cast<bool>(own->OnCustomDrawButton));
  const int before = ownDraws;
  callOwn();
  EXPECT_EQ(ownDraws, before + 1) << "the bar's own handler is back, not cleared";
  EXPECT_NE(BarMiddle(plain), kBackground);

  // Skinned again: the painters come back.
  test.data->SetActive(true);
  SkinManage()->RunPendingAction();
  ASSERT_TRUE(PumpUntil(discovered));
  EXPECT_TRUE(static_cast<bool>(plain->OnCustomDraw));
  EXPECT_TRUE(static_cast<bool>(own->OnCustomDrawButton));
  const int again = ownDraws;
  callOwn();
  EXPECT_EQ(ownDraws, again + 1);
}

}  // namespace
