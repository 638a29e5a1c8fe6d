// TSkinHeader: messages and painting.
#include "skin/controls/WinSubClassHeader.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/ClassBuilder.h"
#include "skin/controls/WinSubClassHasImage.h"
#include "skin/controls/WinSubClassHelpers.h"
#include "skin/controls/WinSubClassItemText.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"

const TClassInfo& TSkinHeader::StaticClass() {
  static const TClassInfo info = TClassBuilder<TSkinHeader>("TSkinHeader", &Inherited::StaticClass()).Build();
  return info;
}

bool TSkinHeader::BeforeProc(TMessage& message) {
  switch (message.Msg) {
    case WM_PAINT:
      PaintReplace(message);
      return false;
    case WM_ERASEBKGND:
      if (SkinData == nullptr || !HasImage(SkinData->Headerbar.get())) return true;
      message.Result = 1;
      return false;
    default:
      return TSkinControl::BeforeProc(message);
  }
}

int TSkinHeader::ItemAt(int x, int y) const {
  const POINT point{x, y};
  for (size_t i = 0; i < ItemRects.size(); ++i)
    if (PtInRect(&ItemRects[i], point)) return static_cast<int>(i);
  return -1;
}

void TSkinHeader::AfterProc(TMessage& message) {
  switch (message.Msg) {
    case WM_MOUSEMOVE: {
      const int item = ItemAt(static_cast<int16_t>(LOWORD(message.LParam)), static_cast<int16_t>(HIWORD(message.LParam)));
      if (item != HotItem) {
        HotItem = item;
        Refresh();
      }
      TrackMouseLeave(Handle);
      break;
    }
    case WM_MOUSELEAVE:
      HotItem = -1;
      Refresh();
      break;
    default:
      TSkinControl::AfterProc(message);
      break;
  }
}

void TSkinHeader::DrawSkin(HDC dc, const RECT& rect) {
  if (SkinData == nullptr || dc == nullptr) return;
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return;
  Enabled = IsWindowEnabled(Handle) ? 1 : 0;
  TBitmap work(width, height, pf24bit);
  TCanvas* canvas = work.Canvas();
  HDC workDc = canvas->Handle();
  const RECT local{0, 0, width, height};
  FillSkinBackground(workDc, local);
  const TDataSkinObject* bar = SkinData->Headerbar.get();
  const int frames = bar != nullptr ? std::max(bar->FrameCount, 1) : 1;
  if (HasImage(bar)) DrawElementFrame(Control, workDc, local, frames, 1, bar);
  AssignItemFont(canvas->Font(), Control, Handle);
  auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(Handle, HDM_GETIMAGELIST, 0, 0));
  const int count = static_cast<int>(SendMessageW(Handle, HDM_GETITEMCOUNT, 0, 0));
  ItemRects.assign(static_cast<size_t>(std::max(count, 0)), RECT{});
  for (int i = 0; i < count; ++i) {
    RECT item{};
    if (!SendMessageW(Handle, HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item))) continue;
    ItemRects[static_cast<size_t>(i)] = item;
    wchar_t text[256] = {};
    HDITEMW info{};
    info.mask = HDI_TEXT | HDI_FORMAT | HDI_IMAGE;
    info.pszText = text;
    info.cchTextMax = 255;
    info.iImage = -1;
    if (!SendMessageW(Handle, HDM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&info))) continue;
    const bool hot = i == HotItem;
    if (HasImage(bar)) DrawElementFrame(Control, workDc, item, frames, hot ? 2 : 1, bar);
    if (bar != nullptr) canvas->Font()->SetColor(hot ? bar->MouseOverColour2 : bar->NormalColour2);
    else canvas->Font()->SetColor(SkinData->ButtonTextColour);
    int alignment = 0;
    if (info.fmt & HDF_RIGHT) alignment = 2;
    else if (info.fmt & HDF_CENTER) alignment = 1;
    const int image = (info.fmt & HDF_IMAGE) || info.iImage >= 0 ? info.iImage : -1;
    DrawItemImageAndText(Control, canvas, item, alignment, text, image, images, Enabled != 0);
  }
  BitBlt(dc, rect.left, rect.top, width, height, workDc, 0, 0, SRCCOPY);
}
