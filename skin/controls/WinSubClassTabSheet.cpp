// TSkinTabSheet: the page in the face colour.
#include "skin/controls/WinSubClassTabSheet.h"

#include "framework/ClassBuilder.h"
#include "skin/controls/WinSubClassChildPaint.h"
#include "skin/data/WinSkinData.h"

const TClassInfo& TSkinTabSheet::StaticClass() {
  static const TClassInfo info = TClassBuilder<TSkinTabSheet>("TSkinTabSheet", &Inherited::StaticClass()).Build();
  return info;
}

bool TSkinTabSheet::BeforeProc(TMessage& message) {
  if (Mode != 0) return TSkinControl::BeforeProc(message);
  switch (message.Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
      PaintReplace(message);
      return false;
    case WM_ERASEBKGND: {
      RECT client{};
      GetClientRect(Handle, &client);
      if (SkinData != nullptr && SkinData->ButtonFaceBrush)
        FillRect(reinterpret_cast<HDC>(message.WParam), &client, SkinData->ButtonFaceBrush.Get());
      message.Result = 1;
      return false;
    }
    default:
      return TSkinControl::BeforeProc(message);
  }
}

void TSkinTabSheet::DrawSkin(HDC dc, const RECT& rect) {
  if (dc == nullptr) return;
  FillSkinBackground(dc, rect);
  PaintGraphicChildren(dc, Control);
}
