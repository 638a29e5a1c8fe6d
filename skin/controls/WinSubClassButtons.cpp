// TSkinButton and TSkinMenuButton: messages and painting of skinned push buttons.
#include "skin/controls/WinSubClassButtons.h"

#include <algorithm>
#include <cctype>

#include "framework/ClassBuilder.h"
#include "skin/controls/WinSubClassHelpers.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"

namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::wstring ClassNameOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

}  // namespace

std::wstring SplitCaption(const std::wstring& caption) {
  std::wstring text = caption;
  const size_t at = text.find(L"||");
  if (at != std::wstring::npos) text.replace(at, 2, L"\r\n");
  return text;
}

const TClassInfo& TSkinButton::StaticClass() {
  static const TClassInfo info = TClassBuilder<TSkinButton>("TSkinButton", &Inherited::StaticClass()).Build();
  return info;
}
const TClassInfo& TSkinBitButton::StaticClass() {
  static const TClassInfo info = TClassBuilder<TSkinBitButton>("TSkinBitButton", &Inherited::StaticClass()).Build();
  return info;
}
const TClassInfo& TSkinSpeedButton::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TSkinSpeedButton>("TSkinSpeedButton", &Inherited::StaticClass()).Build();
  return info;
}
const TClassInfo& TSkinMenuButton::StaticClass() {
  static const TClassInfo info = TClassBuilder<TSkinMenuButton>("TSkinMenuButton", &Inherited::StaticClass()).Build();
  return info;
}

TSkinButton::TSkinButton(TComponent* owner) : TSkinControl(owner), Buffer(std::make_unique<TBitmap>()) {}

TSkinButton::~TSkinButton() = default;

void TSkinButton::DecideTransparent() {
  const bool tagged = Control != nullptr && Control->Tag() == kTransparentTag;
  const bool option = SkinData != nullptr && SkinData->Options().Contains(xoTransparent);
  Transparent = tagged || option ? 1 : 0;
}

void TSkinButton::InitSkin(TSkinControlList* form, TSkinData* skinData, bool setColour, TCanvas* canvas,
                           TWinControl* control) {
  if (Attached) return;
  TSkinControl::InitSkin(form, skinData, setColour, canvas, control);
  if (!Attached) return;
  DecideTransparent();
  const std::string name = Lower(Control->ClassName());
  Mode = name.rfind("trz", 0) == 0 || name.rfind("tel", 0) == 0 ? 1 : 0;
}

void TSkinButton::InitSkinHandle(HWND handle, TSkinData* skinData, TSkinControlList* form, TCanvas* canvas) {
  TSkinControl::InitSkinHandle(handle, skinData, form, canvas);
  DecideTransparent();
}

bool TSkinButton::BeforeProc(TMessage& message) {
  switch (message.Msg) {
    case WM_PAINT:
      PaintReplace(message);
      return false;
    case WM_ERASEBKGND:
      message.Result = 1;
      return false;
    case WM_TIMER:
      KillTimer(Handle, 1);
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (!Focused) SetFocus(Handle);
      MouseState |= kMousePressed;
      PaintWindow(nullptr);
      if (Mode == 0 && Control != nullptr) EmulateMouseDown(message);
      return false;
    default:
      return TSkinControl::BeforeProc(message);
  }
}

void TSkinButton::ClickNow() {
  if (Control != nullptr) {
    Control->Click();
    return;
  }
  const std::wstring name = ClassNameOf(Handle);
  std::wstring lower(name);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](wchar_t c) { return static_cast<wchar_t>(towlower(c)); });
  const WPARAM id = lower == L"tbutton" ? 0 : MAKEWPARAM(GetDlgCtrlID(Handle), BN_CLICKED);
  PostMessageW(GetParent(Handle), WM_COMMAND, id, reinterpret_cast<LPARAM>(Handle));
}

void TSkinButton::AfterProc(TMessage& message) {
  switch (message.Msg) {
    case WM_SETTEXT:
      PaintWindow(nullptr);
      break;
    case WM_KEYDOWN:
      if (message.WParam == VK_SPACE) {
        MouseState |= kMousePressed;
        Refresh();
      }
      break;
    case WM_KEYUP:
      if (message.WParam == VK_SPACE) {
        MouseState &= static_cast<uint8_t>(~kMousePressed);
        Refresh();
      }
      break;
    case WM_MOUSEMOVE:
      if (Enabled && !(MouseState & kMouseHot)) {
        MouseState |= kMouseHot;
        Refresh();
      }
      TrackMouseLeave(Handle);
      break;
    case WM_LBUTTONUP:
      if (MouseState & kMousePressed) {
        MouseState &= static_cast<uint8_t>(~kMousePressed);
        Refresh();
        ClickNow();
      }
      break;
    case WM_MOUSELEAVE:
      MouseState &= static_cast<uint8_t>(~(kMouseHot | kMousePressed));
      Refresh();
      break;
    case CM_DIALOGKEY:
    case CM_FOCUSCHANGED:
      Refresh();
      break;
    default:
      TSkinControl::AfterProc(message);
      break;
  }
}

bool TSkinButton::IsDefault() const { return Control != nullptr && Lower(GetEnumPropByName(Control, "Default")) == "true"; }

void TSkinButton::ReadState() {
  Focused = Handle != nullptr && GetFocus() == Handle ? 1 : 0;
  if (Handle != nullptr) Enabled = (GetWindowLongW(Handle, GWL_STYLE) & WS_DISABLED) == 0 ? 1 : 0;
  Caption = Control != nullptr ? GetTextPropByName(Control, "Caption") : GetWindowTextWide(Handle);
}

bool TSkinButton::PaintFace(const RECT& rect, int stateIndex) {
  if (SkinData == nullptr || !SkinData->Buttons || !SkinData->Buttons->Bitmap || SkinData->Buttons->Bitmap->Empty())
    return false;
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return false;
  if (Buffer->Width() != width || Buffer->Height() != height) Buffer->SetSize(width, height);
  HDC dc = Buffer->Canvas()->Handle();
  const RECT local{0, 0, width, height};
  if (Transparent && Control != nullptr)
    DrawParentBackground(Control, dc);
  else
    FillSkinBackground(dc, local);
  DrawElementFrame(Control, dc, local, SkinData->Buttons->FrameCount, stateIndex, SkinData->Buttons.get());
  return true;
}

HGDIOBJ TSkinButton::SelectCaptionFont(int stateIndex) {
  TCanvas* canvas = Buffer->Canvas();
  HGDIOBJ previous = nullptr;
  TColor colour;
  if (Control != nullptr) {
    canvas->Font()->Assign(Control->Font());
    colour = Control->Font()->Color();
  } else {
    colour = SkinData->ButtonTextColour;
  }
  const TDataSkinButton& face = *SkinData->Buttons;
  if (stateIndex == 1 && face.HasNormalColour2) colour = face.NormalColour2;
  if (stateIndex == 4 && face.HasMouseOverColour2) colour = face.MouseOverColour2;
  if (stateIndex == 2 && face.HasPressedColour2) colour = face.PressedColour2;
  if (stateIndex == 3) colour = clBtnShadow;
  canvas->Font()->SetColor(colour);
  HDC dc = PrepareTextDC(canvas);
  if (Control == nullptr) {
    auto font = reinterpret_cast<HFONT>(SendMessageW(Handle, WM_GETFONT, 0, 0));
    if (font != nullptr) previous = SelectObject(dc, font);
  }
  SetTextColor(dc, ColorToRGB(colour));
  SetBkMode(dc, TRANSPARENT);
  return previous;
}

void TSkinButton::DrawSkin(HDC dc, const RECT& rect) {
  ReadState();
  const int state = StateFrameIndex(IsDefault());
  if (!PaintFace(rect, state)) return;
  HGDIOBJ previous = SelectCaptionFont(state);
  HDC buffer = Buffer->Canvas()->Handle();
  Caption = SplitCaption(Caption);
  RECT area{0, 0, rect.right - rect.left, rect.bottom - rect.top};
  InflateRect(&area, -2, -2);
  RECT text = area;
  DrawSkinText(buffer, Caption, text, DT_CALCRECT | DT_NOCLIP | DT_WORDBREAK | DT_EXPANDTABS | DT_CENTER);
  const int textWidth = text.right - text.left;
  const int textHeight = text.bottom - text.top;
  text.left = area.left + (area.right - area.left - textWidth) / 2;
  text.right = text.left + textWidth;
  text.top = area.top + (area.bottom - area.top - textHeight) / 2 - 1;
  text.bottom = text.top + textHeight;
  // Drawn centred across the whole face: Wine draws mixed CJK and Latin text a little
  // wider than it measures it, and in the measured width the last character would wrap
  // out of sight.
  RECT drawn{area.left, text.top, area.right, text.bottom};
  DrawSkinText(buffer, Caption, drawn, RightToLeftFlag(Control, DT_WORDBREAK | DT_EXPANDTABS | DT_CENTER));
  if (Focused && !SkinData->Options().Contains(xoNoFocusRect)) {
    InflateRect(&text, 2, 2);
    DrawFocusRect(buffer, &text);
  }
  BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, buffer, 0, 0, SRCCOPY);
  if (previous != nullptr) SelectObject(buffer, previous);
}

// ---- TSkinMenuButton ----

void TSkinMenuButton::DrawSkin(HDC dc, const RECT& rect) {
  ReadState();
  const int state = StateFrameIndex(IsDefault());
  if (!PaintFace(rect, state)) return;
  HGDIOBJ previous = SelectCaptionFont(state);
  HDC buffer = Buffer->Canvas()->Handle();
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  const std::wstring caption = SplitCaption(Caption);
  RECT text{0, 0, std::max(width - 17, 0), height};
  DrawSkinText(buffer, caption, text, DT_CALCRECT | DT_NOCLIP | DT_WORDBREAK | DT_EXPANDTABS);
  const int textWidth = text.right - text.left;
  const int textHeight = text.bottom - text.top;
  OffsetRect(&text, (width - 17 - textWidth) / 2 + 2, (height - textHeight + 1) / 2);
  // Room up to the arrow, as on the push button: the measured width can be short.
  RECT drawn = text;
  drawn.right = std::max<LONG>(text.right, width - 15);
  DrawSkinText(buffer, caption, drawn, RightToLeftFlag(Control, DT_WORDBREAK | DT_EXPANDTABS));
  if (Focused && !SkinData->Options().Contains(xoNoFocusRect)) {
    InflateRect(&text, 2, 2);
    DrawFocusRect(buffer, &text);
  }
  const POINT mark[3] = {{width - 12, height / 2 + 2}, {width - 15, height / 2 - 1}, {width - 9, height / 2 - 1}};
  const COLORREF colour = GetSysColor(Enabled ? COLOR_WINDOWTEXT : COLOR_BTNSHADOW);
  HBRUSH brush = CreateSolidBrush(colour);
  HPEN pen = CreatePen(PS_SOLID, 1, colour);
  HGDIOBJ oldBrush = SelectObject(buffer, brush);
  HGDIOBJ oldPen = SelectObject(buffer, pen);
  Polygon(buffer, mark, 3);
  SelectObject(buffer, oldPen);
  SelectObject(buffer, oldBrush);
  DeleteObject(pen);
  DeleteObject(brush);
  BitBlt(dc, rect.left, rect.top, width, height, buffer, 0, 0, SRCCOPY);
  if (previous != nullptr) SelectObject(buffer, previous);
}
