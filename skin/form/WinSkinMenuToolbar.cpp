#include "skin/form/WinSkinMenuToolbar.h"

#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"
#include "skin/manager/SkinManage.h"

namespace {

constexpr int kButtonFrames = 5;

bool HasImage(const TDataSkinObject* element) {
  return element != nullptr && element->Bitmap && element->Bitmap->Width() > 0 && element->Bitmap->Height() > 0;
}

TSkinFrameBase* FrameOf(HWND window) {
  TSkinManage* manager = SkinManage();
  return manager != nullptr ? manager->FindSkinForm(window) : nullptr;
}

}  // namespace

void PaintToolbarBackground(TSkinData* skinData, TCanvas* canvas, const TRect& rect) {
  if (skinData == nullptr || skinData->SkinEmpty || !HasImage(skinData->ToolbarBackground.get())) return;
  if (skinData->Options().Contains(xoToolbarBK)) return;
  TBitmap* image = skinData->ToolbarBackground->Bitmap.get();
  HDC dc = canvas->Handle();
  const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, image->Canvas()->Handle(), 0, 0,
             image->Width(), image->Height(), SRCCOPY);
  SetStretchBltMode(dc, oldMode);
}

bool PaintToolbarButton(TSkinData* skinData, int32_t frameState, TCanvas* canvas, const TRect& bounds,
                        TCustomDrawState state) {
  if (frameState != kFrameActive || skinData == nullptr || skinData->SkinEmpty) return false;
  TDataSkinButton* element = skinData->Buttons.get();
  if (!HasImage(element) || skinData->Options().Contains(xoToolbarButton)) return false;
  int frame = 0;
  if (state.Contains(cdsSelected)) {
    frame = 2;
  } else if (state.Contains(cdsHot) || state.Contains(cdsFocused)) {
    frame = 4;
  } else if (state.Contains(cdsDefault) && !state.Contains(cdsGrayed) && !state.Contains(cdsDisabled)) {
    frame = 1;
  }
  if (frame == 0) return false;
  if (frame == 1 && element->HasNormalColour2) canvas->Font()->SetColor(element->NormalColour2);
  if (frame == 4 && element->HasMouseOverColour2) canvas->Font()->SetColor(element->MouseOverColour2);
  if (frame == 2 && element->HasPressedColour2) canvas->Font()->SetColor(element->PressedColour2);
  const RECT target{bounds.left + 1, bounds.top + 1, bounds.right - 1, bounds.bottom - 1};
  DrawNineSlice(canvas->Handle(), target, element->Bitmap.get(), false, false, element->Trans == 1, kButtonFrames,
                frame, element->Margins);
  return true;
}

TTBCustomDrawEvent ToolbarBackgroundPainter(HWND frameWindow) {
  return [frameWindow](TToolBar* sender, const TRect& rect, bool&) {
    TSkinFrameBase* frame = FrameOf(frameWindow);
    if (frame != nullptr && sender != nullptr) PaintToolbarBackground(frame->SkinData, sender->Canvas(), rect);
  };
}

TTBCustomDrawBtnEvent ToolbarButtonPainter(HWND frameWindow) {
  return [frameWindow](TToolBar* sender, TToolButton* button, TCustomDrawState state, bool&) {
    TSkinFrameBase* frame = FrameOf(frameWindow);
    if (frame == nullptr || sender == nullptr || button == nullptr) return;
    PaintToolbarButton(frame->SkinData, frame->State, sender->Canvas(), button->BoundsRect(), state);
  };
}
