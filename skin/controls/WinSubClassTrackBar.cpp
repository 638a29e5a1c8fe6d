// TSkinTrackBar: the custom-draw answers and the channel and thumb pictures.
#include "skin/controls/WinSubClassTrackBar.h"

#include <algorithm>

#include "framework/ClassBuilder.h"
#include "skin/controls/WinSubClassHasImage.h"
#include "skin/controls/WinSubClassHelpers.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"

namespace {

// The framework's reflected WM_NOTIFY (the same number as SKM_SKINNED, which only form
// windows receive).
constexpr UINT kReflectedNotify = 0xBC4E;

}  // namespace

const TClassInfo& TSkinTrackBar::StaticClass() {
  static const TClassInfo info = TClassBuilder<TSkinTrackBar>("TSkinTrackBar", &Inherited::StaticClass()).Build();
  return info;
}

bool TSkinTrackBar::BeforeProc(TMessage& message) {
  if ((message.Msg == WM_NOTIFY || message.Msg == kReflectedNotify) && message.LParam != 0) {
    auto* header = reinterpret_cast<NMHDR*>(message.LParam);
    if (header->code == static_cast<UINT>(NM_CUSTOMDRAW) && header->hwndFrom == Handle) {
      LRESULT result = 0;
      if (CustomDraw(*reinterpret_cast<NMCUSTOMDRAW*>(message.LParam), result)) {
        message.Result = result;
        return false;
      }
    }
  }
  return TSkinControl::BeforeProc(message);
}

bool TSkinTrackBar::CustomDraw(NMCUSTOMDRAW& draw, LRESULT& result) {
  if (draw.dwDrawStage == CDDS_PREPAINT) {
    result = CDRF_NOTIFYITEMDRAW;
    return true;
  }
  if (draw.dwDrawStage != CDDS_ITEMPREPAINT) return false;
  switch (draw.dwItemSpec) {
    case TBCD_TICS:
      result = CDRF_DODEFAULT;
      return true;
    case TBCD_THUMB:
      try {
        DrawThumb(draw.hdc);
      } catch (...) {
      }
      result = CDRF_SKIPDEFAULT;
      return true;
    case TBCD_CHANNEL:
      try {
        DrawChannel(draw.hdc);
      } catch (...) {
      }
      result = CDRF_SKIPDEFAULT;
      return true;
    default:
      return false;
  }
}

void TSkinTrackBar::DrawThumb(HDC dc) {
  if (SkinData == nullptr || dc == nullptr) return;
  RECT thumb{};
  SendMessageW(Handle, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  const bool vertical = (GetWindowLongX(Handle, GWL_STYLE) & TBS_VERT) != 0;
  const TDataSkinObject* image =
      vertical && HasImage(SkinData->TrackbarThumbVert.get()) ? SkinData->TrackbarThumbVert.get()
                                                               : SkinData->TrackbarThumbHorz.get();
  if (HasImage(image)) {
    DrawStripCellBlit(Control, dc, thumb, 5, 2, image->Bitmap.get());
    return;
  }
  HBRUSH brush = CreateSolidBrush(ColorToRGB(SkinData->ButtonShadowColour));
  FrameRect(dc, &thumb, brush);
  DeleteObject(brush);
}

void TSkinTrackBar::DrawChannel(HDC dc) {
  if (SkinData == nullptr || dc == nullptr) return;
  RECT channel{};
  SendMessageW(Handle, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
  const bool vertical = (GetWindowLongX(Handle, GWL_STYLE) & TBS_VERT) != 0;
  if (vertical) {
    // The control reports a vertical channel lying on its side (as a horizontal one):
    // its long side is the one that runs along the bar.
    if (channel.right - channel.left > channel.bottom - channel.top) {
      channel = RECT{channel.top, channel.left, channel.bottom, channel.right};
    }
    const TDataSkinObject* track = SkinData->TrackVert.get();
    if (!HasImage(track)) return;
    const int frames = std::max(track->FrameCount, 1);
    const int width = track->Bitmap->Width() / frames;
    const int left = channel.left + (channel.right - channel.left - width) / 2;
    const RECT target{left, channel.top, left + width, channel.bottom};
    const RECT margins{0, track->Margins.top, 0, track->Margins.bottom};
    DrawNineSlice(dc, target, track->Bitmap.get(), false, false, track->Trans == 1, frames, 1, margins);
    return;
  }
  const TDataSkinObject* track = SkinData->Track.get();
  if (!HasImage(track)) return;
  const int frames = std::max(track->FrameCount, 1);
  const int height = track->Bitmap->Height();
  const int top = channel.top + (channel.bottom - channel.top - height) / 2;
  const RECT target{channel.left, top, channel.right, top + height};
  const RECT margins{track->Margins.left, 0, track->Margins.right, 0};
  DrawNineSlice(dc, target, track->Bitmap.get(), false, false, track->Trans == 1, frames, 1, margins);
}

void TSkinTrackBar::UpdateSkin() {
  TSkinControl::UpdateSkin();
  // The control redraws its channel and thumb (through custom draw) when its focus moves.
  HWND focused = GetFocus();
  if (Handle == nullptr || !IsWindowVisible(Handle)) return;
  SetFocus(Handle);
  if (focused != nullptr && focused != Handle) SetFocus(focused);
}
