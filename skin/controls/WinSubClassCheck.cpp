// TSkinCheckBox and TSkinRadioButton: messages and painting.
#include "skin/controls/WinSubClassCheck.h"

#include <algorithm>
#include <cctype>

#include "framework/ClassBuilder.h"
#include "skin/controls/WinSubClassButtons.h"
#include "skin/controls/WinSubClassHelpers.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"

namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

bool HasProp(const TObject* object, const char* name) { return object != nullptr && GetPropInfo(object, name) != nullptr; }

bool HasImage(const std::unique_ptr<TBitmap>& bitmap) { return bitmap != nullptr && !bitmap->Empty(); }

bool Disabled(HWND window) { return (GetWindowLongW(window, GWL_STYLE) & WS_DISABLED) != 0; }

bool TransparentFor(const TControl* control, const TSkinData* skinData) {
  return (control != nullptr && control->Tag() == kTransparentTag) ||
         (skinData != nullptr && skinData->Options().Contains(xoTransparent));
}

// The mark cell and the caption of a check box or radio button, straight into `dc`.
void PaintMarkAndCaption(TSkinControl& self, HDC dc, const RECT& rect, TBitmap* mark, int frameCount, int frame,
                         bool transparent, bool radio) {
  frameCount = std::max(frameCount, 1);
  const int cellWidth = mark->Width() / frameCount;
  const int cellHeight = mark->Height();
  const bool rightButton = (self.GetWindowLongX(self.Handle, GWL_STYLE) & BS_RIGHTBUTTON) != 0;
  RECT cell;
  RECT textArea = rect;
  cell.top = rect.top + (rect.bottom - rect.top - cellHeight) / 2;
  cell.bottom = cell.top + cellHeight;
  if (rightButton) {
    cell.right = rect.right - (radio ? 1 : 0);
    cell.left = cell.right - cellWidth;
    textArea.right = cell.left - 2;
  } else {
    cell.left = rect.left;
    cell.right = cell.left + cellWidth;
    textArea.left = cell.right + 2;
  }
  if (self.Mode == 1 && !transparent) self.FillSkinBackground(dc, rect);
  DrawStripCellBlit(self.Control, dc, cell, frameCount, frame, mark);
  if (self.Mode == 0) return;

  self.Caption = self.Control != nullptr ? GetTextPropByName(self.Control, "Caption") : GetWindowTextWide(self.Handle);
  HFONT font = self.Control != nullptr ? self.Control->Font()->Handle()
                                       : reinterpret_cast<HFONT>(SendMessageW(self.Handle, WM_GETFONT, 0, 0));
  const int saved = SaveDC(dc);
  if (font != nullptr) SelectObject(dc, font);
  const bool enabled = !Disabled(self.Handle);
  const TColor textColour = !enabled ? clBtnShadow : self.Control != nullptr ? self.Control->Font()->Color()
                                                                              : self.SkinData->ButtonTextColour;
  SetTextColor(dc, ColorToRGB(textColour));
  SetBkColor(dc, ColorToRGB(self.SkinData->ButtonFaceColour));
  SetBkMode(dc, TRANSPARENT);
  const UINT flags = DT_WORDBREAK | DT_EXPANDTABS | (rightButton ? DT_RIGHT : 0);
  RECT measured = textArea;
  DrawSkinText(dc, self.Caption, measured, flags | DT_CALCRECT | DT_NOCLIP);
  OffsetRect(&textArea, 0, ((textArea.bottom - textArea.top) - (measured.bottom - measured.top)) / 2);
  if (GetFocus() == self.Handle && !self.Caption.empty()) self.DrawCaptionFocus(dc, flags, textArea);
  DrawSkinText(dc, self.Caption, textArea, RightToLeftFlag(self.Control, flags));
  RestoreDC(dc, saved);
}

}  // namespace

const TClassInfo& TSkinCheckBox::StaticClass() {
  static const TClassInfo info = TClassBuilder<TSkinCheckBox>("TSkinCheckBox", &Inherited::StaticClass()).Build();
  return info;
}
const TClassInfo& TSkinRadioButton::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TSkinRadioButton>("TSkinRadioButton", &Inherited::StaticClass()).Build();
  return info;
}

// ---- TSkinCheckBox ----

void TSkinCheckBox::InitSkin(TSkinControlList* form, TSkinData* skinData, bool setColour, TCanvas* canvas,
                             TWinControl* control) {
  if (Attached) return;
  TSkinControl::InitSkin(form, skinData, setColour, canvas, control);
  if (!Attached) return;
  Mode = SkinData != nullptr && SkinData->Buttons && HasImage(SkinData->Buttons->CheckBitmap) ? 1 : 0;
  Transparent = TransparentFor(Control, SkinData) ? 1 : 0;
  Refresh();
}

bool TSkinCheckBox::BeforeProc(TMessage& message) {
  if (!TSkinControl::BeforeProc(message)) return false;
  switch (message.Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
      if (Mode != 1) return true;
      PaintReplace(message);
      return false;
    case WM_ERASEBKGND:
      if (!Transparent) return true;
      EraseWithParent(message);
      return false;
    default:
      return true;
  }
}

void TSkinCheckBox::AfterProc(TMessage& message) {
  switch (message.Msg) {
    case BM_SETCHECK:
      LastCheck = static_cast<int32_t>(message.WParam) + 1;
      Refresh();
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case CM_EXIT:
    case 0xB0D0:
      Refresh();
      break;
    default:
      TSkinControl::AfterProc(message);
      break;
  }
}

int TSkinCheckBox::CheckFrame() {
  const LRESULT state = SendMessageW(Handle, BM_GETSTATE, 0, 0);
  int index = (state & BST_CHECKED) ? 2 : 1;
  bool indeterminate = (state & BST_INDETERMINATE) != 0;
  if (Control != nullptr) {
    if (HasProp(Control, "State")) {
      const std::string value = Lower(GetEnumPropByName(Control, "State"));
      if (value.find("uncheck") != std::string::npos) {
        index = 1;
      } else if (value.find("check") != std::string::npos) {
        index = 2;
      } else if (value.find("gray") != std::string::npos) {
        index = 4;
        indeterminate = true;
      }
    } else if (HasProp(Control, "Checked")) {
      index = Lower(GetEnumPropByName(Control, "Checked")) == "true" ? 2 : 1;
    }
    if (HasProp(Control, "DataField") && LastCheck != 0) index = LastCheck == 3 ? 4 : LastCheck;
    if (HasProp(Control, "DataBinding")) index = 1;
  }
  const bool disabled = Disabled(Handle);
  const int frames = SkinData->Buttons->CheckFrameCount;
  if (indeterminate) return frames == 12 ? (disabled ? 12 : 9) : 4;
  if (disabled) index += 2;
  if (frames == 12) {
    if (index == 2) index = 5;
    else if (index == 3) index = 4;
    else if (index == 4) index = 8;
  }
  return index;
}

void TSkinCheckBox::DrawSkin(HDC dc, const RECT& rect) {
  if (SkinData == nullptr || !SkinData->Buttons || !HasImage(SkinData->Buttons->CheckBitmap)) {
    Mode = 0;
    return;
  }
  PaintMarkAndCaption(*this, dc, rect, SkinData->Buttons->CheckBitmap.get(), SkinData->Buttons->CheckFrameCount,
                      CheckFrame(), Transparent != 0, false);
}

// ---- TSkinRadioButton ----

void TSkinRadioButton::InitSkin(TSkinControlList* form, TSkinData* skinData, bool setColour, TCanvas* canvas,
                                TWinControl* control) {
  if (Attached) return;
  TSkinControl::InitSkin(form, skinData, setColour, canvas, control);
  if (!Attached) return;
  Mode = SkinData != nullptr && SkinData->Buttons && HasImage(SkinData->Buttons->RadioBitmap) ? 1 : 0;
  Transparent = TransparentFor(Control, SkinData) ? 1 : 0;
  Refresh();
}

bool TSkinRadioButton::BeforeProc(TMessage& message) {
  if (!TSkinControl::BeforeProc(message)) return false;
  switch (message.Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
      if (Mode != 1) return true;
      PaintReplace(message);
      return false;
    case WM_ERASEBKGND:
      if (!Transparent) return true;
      EraseWithParent(message);
      return false;
    default:
      return true;
  }
}

void TSkinRadioButton::AfterProc(TMessage& message) {
  switch (message.Msg) {
    case BM_SETCHECK:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case CM_EXIT:
    case 0xB0D0:
      Refresh();
      break;
    default:
      TSkinControl::AfterProc(message);
      break;
  }
}

int TSkinRadioButton::RadioFrame() {
  int index = (SendMessageW(Handle, BM_GETCHECK, 0, 0) & BST_CHECKED) ? 2 : 1;
  if (HasProp(Control, "Checked")) index = Lower(GetEnumPropByName(Control, "Checked")) == "true" ? 2 : 1;
  if (Disabled(Handle)) index += 2;
  if (SkinData->Buttons->RadioFrameCount == 8) {
    if (index == 2) index = 5;
    else if (index == 3) index = 4;
    else if (index == 4) index = 8;
  }
  return index;
}

void TSkinRadioButton::DrawSkin(HDC dc, const RECT& rect) {
  if (SkinData == nullptr || !SkinData->Buttons || !HasImage(SkinData->Buttons->RadioBitmap)) {
    Mode = 0;
    return;
  }
  PaintMarkAndCaption(*this, dc, rect, SkinData->Buttons->RadioBitmap.get(), SkinData->Buttons->RadioFrameCount,
                      RadioFrame(), Transparent != 0, true);
}
