// TSkinTabBtn: tabs painted as button faces.
#include "skin/controls/WinSubClassTabBtn.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/ClassBuilder.h"
#include "skin/controls/WinSubClassHelpers.h"
#include "skin/controls/WinSubClassItemText.h"
#include "skin/data/WinSkinData.h"

const TClassInfo& TSkinTabBtn::StaticClass() {
  static const TClassInfo info = TClassBuilder<TSkinTabBtn>("TSkinTabBtn", &Inherited::StaticClass()).Build();
  return info;
}

bool TSkinTabBtn::BeforeProc(TMessage& message) {
  if (message.Msg == WM_PAINT) {
    PaintReplace(message);
    return false;
  }
  return TSkinControl::BeforeProc(message);
}

void TSkinTabBtn::DrawSkin(HDC dc, const RECT& rect) {
  if (SkinData == nullptr || dc == nullptr || SkinData->Buttons == nullptr) return;
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return;
  Enabled = IsWindowEnabled(Handle) ? 1 : 0;
  TBitmap work(width, height, pf24bit);
  TCanvas* canvas = work.Canvas();
  HDC workDc = canvas->Handle();
  FillSkinBackground(workDc, RECT{0, 0, width, height});
  AssignItemFont(canvas->Font(), Control, Handle);
  const TDataSkinButton& buttons = *SkinData->Buttons;
  const int frames = std::max(buttons.FrameCount, 1);
  auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(Handle, TCM_GETIMAGELIST, 0, 0));
  const int count = static_cast<int>(SendMessageW(Handle, TCM_GETITEMCOUNT, 0, 0));
  const int focus = static_cast<int>(SendMessageW(Handle, TCM_GETCURFOCUS, 0, 0));
  for (int i = 0; i < count; ++i) {
    RECT tab{};
    if (!SendMessageW(Handle, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&tab))) continue;
    const bool pressed = i == focus;
    DrawElementFrame(Control, workDc, tab, frames, !Enabled ? 3 : pressed ? 2 : 1, &buttons);
    wchar_t text[80] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = text;
    item.cchTextMax = 79;
    item.iImage = -1;
    SendMessageW(Handle, TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    canvas->Font()->SetColor(pressed ? buttons.PressedColour2 : buttons.NormalColour2);
    DrawItemImageAndText(Control, canvas, tab, 1, text, item.iImage, images, Enabled != 0);
  }
  BitBlt(dc, rect.left, rect.top, width, height, workDc, 0, 0, SRCCOPY);
}
