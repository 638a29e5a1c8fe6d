// TArrowButton and TSkinDateTime.
#include "skin/controls/WinSubClassDateTime.h"

#include <algorithm>

#include "framework/ClassBuilder.h"
#include "skin/controls/WinSubClassFlatBorder.h"
#include "skin/controls/WinSubClassHasImage.h"
#include "skin/controls/WinSubClassHelpers.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"

// ---- TArrowButton ----

const TClassInfo& TArrowButton::StaticClass() {
  static const TClassInfo info = TClassBuilder<TArrowButton>("TArrowButton", &Inherited::StaticClass()).Build();
  return info;
}

TArrowButton::TArrowButton(TComponent* owner) : TCustomControl(owner) {}

void TArrowButton::CreateOn(HWND picker, TSkinData* skinData) {
  Picker = picker;
  SkinData = skinData;
  SetTabStop(false);
  PlaceOnPicker();
  HandleNeeded();
}

void TArrowButton::PlaceOnPicker() {
  if (Picker == nullptr) return;
  RECT picker{};
  GetWindowRect(Picker, &picker);
  const int width = GetSystemMetrics(SM_CXHSCROLL);
  const int height = std::max<int>(picker.bottom - picker.top - 4, 0);
  const bool rtl = (GetWindowLongW(Picker, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
  const int left = rtl ? 2 : static_cast<int>(picker.right - picker.left) - width - 4;
  // The picker's own edge: the arrow sits in its client coordinates.
  POINT origin{picker.left, picker.top};
  ::ScreenToClient(Picker, &origin);
  SetBounds(left + origin.x, 2 + origin.y, width, height);
}

void TArrowButton::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.WndParent = Picker;
  params.Style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
}

void TArrowButton::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_MOUSEMOVE:
      if (!Hot && IsWindowEnabled(Picker)) {
        Hot = 1;
        Invalidate();
      }
      TrackMouseLeave(Handle());
      break;
    case WM_MOUSELEAVE:
      if (Hot) {
        Hot = 0;
        Invalidate();
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      // The picker's own button lies under this one: the click opens its calendar.
      POINT point{static_cast<int16_t>(LOWORD(message.LParam)), static_cast<int16_t>(HIWORD(message.LParam))};
      MapWindowPoints(Handle(), Picker, &point, 1);
      PostMessageW(Picker, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
      PostMessageW(Picker, WM_LBUTTONUP, 0, MAKELPARAM(point.x, point.y));
      message.Result = 0;
      return;
    }
    case WM_LBUTTONUP:
      ::SetFocus(Picker);
      message.Result = 0;
      return;
    default:
      break;
  }
  TCustomControl::WndProc(message);
}

void TArrowButton::Paint() {
  TCanvas* canvas = Canvas();
  if (canvas == nullptr || SkinData == nullptr) return;
  const RECT all{0, 0, Width(), Height()};
  HDC dc = canvas->Handle();
  HBRUSH face = CreateSolidBrush(ColorToRGB(SkinData->ButtonFaceColour));
  FillRect(dc, &all, face);
  DeleteObject(face);
  const TDataSkinObject* arrow = SkinData->ComboArrow.get();
  if (!HasImage(arrow)) return;
  DrawStripCellBlit(this, dc, all, std::max(arrow->FrameCount, 1), Hot ? 4 : 1, arrow->Bitmap.get());
}

// ---- TSkinDateTime ----

const TClassInfo& TSkinDateTime::StaticClass() {
  static const TClassInfo info = TClassBuilder<TSkinDateTime>("TSkinDateTime", &Inherited::StaticClass()).Build();
  return info;
}

TSkinDateTime::TSkinDateTime(TComponent* owner) : TSkinControl(owner) {}

TSkinDateTime::~TSkinDateTime() { FreeArrow(); }

void TSkinDateTime::InitSkin(TSkinControlList* form, TSkinData* skinData, bool setColour, TCanvas* canvas,
                             TWinControl* control) {
  if (Attached) return;
  TSkinControl::InitSkin(form, skinData, setColour, canvas, control);
  if (Attached) AttachArrow();
}

void TSkinDateTime::InitSkinHandle(HWND handle, TSkinData* skinData, TSkinControlList* form, TCanvas* canvas) {
  if (Attached) return;
  TSkinControl::InitSkinHandle(handle, skinData, form, canvas);
  if (Attached) AttachArrow();
}

void TSkinDateTime::AttachArrow() {
  const LONG style = GetWindowLongW(Handle, GWL_STYLE);
  if ((style & WS_CLIPCHILDREN) == 0) {
    SetWindowLongW(Handle, GWL_STYLE, style | WS_CLIPCHILDREN);
    AddedClipChildren = 1;
  }
  Arrow = std::make_unique<TArrowButton>(nullptr);
  try {
    Arrow->CreateOn(Handle, SkinData);
  } catch (const Exception&) {
    Arrow.reset();
  }
}

void TSkinDateTime::FreeArrow() {
  Arrow.reset();
  if (AddedClipChildren && Handle != nullptr && IsWindow(Handle)) {
    SetWindowLongW(Handle, GWL_STYLE, GetWindowLongW(Handle, GWL_STYLE) & ~WS_CLIPCHILDREN);
    AddedClipChildren = 0;
  }
}

void TSkinDateTime::Unskin() {
  TSkinControl::Unskin();
  if (SkinState != kSkinWindowDestroyed) FreeArrow();
}

void TSkinDateTime::AfterProc(TMessage& message) {
  if (message.Msg == WM_SIZE && Arrow != nullptr) {
    Arrow->PlaceOnPicker();
    Arrow->Invalidate();
    return;
  }
  if (message.Msg == WM_NCPAINT) {
    PaintWindow(nullptr);
    return;
  }
  TSkinControl::AfterProc(message);
}

void TSkinDateTime::DrawSkin(HDC dc, const RECT& rect) {
  if (SkinData == nullptr || dc == nullptr) return;
  if (Arrow != nullptr) Arrow->PlaceOnPicker();
  DrawFlatBorder(dc, rect, Handle, ColorToRGB(SkinData->ButtonShadowColour), 1);
}
