// TSkinGroupBox: messages and painting.
#include "skin/controls/WinSubClassGroupBox.h"

#include "framework/ClassBuilder.h"
#include "skin/controls/WinSubClassChildPaint.h"
#include "skin/controls/WinSubClassHelpers.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"

const TClassInfo& TSkinGroupBox::StaticClass() {
  static const TClassInfo info = TClassBuilder<TSkinGroupBox>("TSkinGroupBox", &Inherited::StaticClass()).Build();
  return info;
}

void TSkinGroupBox::InitSkin(TSkinControlList* form, TSkinData* skinData, bool setColour, TCanvas* canvas,
                             TWinControl* control) {
  if (Attached) return;
  TSkinControl::InitSkin(form, skinData, setColour, canvas, control);
  if (Attached) Mode = 1;
}

bool TSkinGroupBox::BeforeProc(TMessage& message) {
  if (Mode == 1 && message.Msg == WM_PAINT) {
    PaintReplace(message);
    return false;
  }
  return TSkinControl::BeforeProc(message);
}

std::wstring TSkinGroupBox::GroupCaption() const {
  std::wstring text = GetWindowTextWide(Handle);
  if (!text.empty()) return text;
  const TObject* object = Control != nullptr ? static_cast<const TObject*>(Control) : ControlOfWindow(Handle);
  return GetTextPropByName(object, "Caption");
}

void TSkinGroupBox::DrawSkin(HDC dc, const RECT& rect) {
  if (SkinData == nullptr || dc == nullptr) return;
  const std::wstring caption = GroupCaption();
  const int saved = SaveDC(dc);
  if (Control != nullptr) FillSkinBackground(dc, rect);
  HFONT font = Control != nullptr ? Control->Font()->Handle()
                                  : reinterpret_cast<HFONT>(SendMessageW(Handle, WM_GETFONT, 0, 0));
  if (font != nullptr) SelectObject(dc, font);
  const TColor textColour = Control != nullptr ? Control->Font()->Color() : SkinData->ButtonTextColour;
  SetTextColor(dc, ColorToRGB(textColour));
  SIZE zero{};
  GetTextExtentPoint32W(dc, L"0", 1, &zero);
  const int y = zero.cy / 2 - 1;
  if (Control == nullptr) {
    // Cover the control's own etched edge.
    RECT edge{rect.left, rect.top + y, rect.right, rect.bottom};
    HBRUSH brush = SkinData->ButtonFaceBrush.Get();
    for (int i = 0; i < 2 && brush != nullptr; ++i) {
      FrameRect(dc, &edge, brush);
      InflateRect(&edge, -1, -1);
    }
  }
  HPEN pen = CreatePen(PS_SOLID, 1, ColorToRGB(SkinData->ButtonShadowColour));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  RoundRect(dc, rect.left + 1, rect.top + y, rect.right - 1, rect.bottom - 1, 5, 5);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(pen);
  if (!caption.empty()) {
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, ColorToRGB(SkinData->ButtonFaceColour));
    const bool right = (GetWindowLongX(Handle, GWL_EXSTYLE) & WS_EX_RIGHT) != 0;
    RECT area = rect;
    if (right) {
      area.right -= 8;
      DrawSkinText(dc, caption, area, RightToLeftFlag(Control, DT_EXPANDTABS | DT_RIGHT));
    } else {
      area.left += 8;
      DrawSkinText(dc, caption, area, DT_EXPANDTABS);
    }
  }
  RestoreDC(dc, saved);
  // The group box's graphic children go on top, as its own painting would put them.
  PaintGraphicChildren(dc, Control);
}
