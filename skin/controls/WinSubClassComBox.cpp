// TSkinComBox: attach of the edit and list parts, messages and painting.
#include "skin/controls/WinSubClassComBox.h"

#include <algorithm>

#include "framework/ClassBuilder.h"
#include "skin/controls/WinSubClassHasImage.h"
#include "skin/controls/WinSubClassHelpers.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"
#include "skin/controls/WinSubClassScroll.h"

namespace {

// The window property that leads from the combo's edit to its skinned combo object.
constexpr wchar_t kEditOwnerProp[] = L"PtestSkinComboEdit";

// The framework's reflected WM_COMMAND.
constexpr UINT kReflectedCommand = 0xBD11;

}  // namespace

// The edit's replacement procedure: the edit's own first, then the combo follows it.
LRESULT CALLBACK ComboEditProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = static_cast<TSkinComBox*>(GetPropW(window, kEditOwnerProp));
  if (self == nullptr || self->OldEditProc == nullptr) return DefWindowProcW(window, msg, wParam, lParam);
  const bool unicode = IsWindowUnicode(window) != 0;
  const LRESULT result = unicode ? CallWindowProcW(self->OldEditProc, window, msg, wParam, lParam)
                                 : CallWindowProcA(self->OldEditProc, window, msg, wParam, lParam);
  try {
    switch (msg) {
      case WM_PAINT:
        self->PaintWindow(nullptr);
        break;
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
        self->MouseState |= kMousePressed;
        break;
      case WM_LBUTTONUP:
        self->MouseState &= static_cast<uint8_t>(~kMousePressed);
        break;
      case WM_NCDESTROY:
        self->RestoreEdit();
        break;
      default:
        break;
    }
  } catch (...) {
    // Painting failures never leave the window procedure.
  }
  return result;
}

const TClassInfo& TSkinComBox::StaticClass() {
  static const TClassInfo info = TClassBuilder<TSkinComBox>("TSkinComBox", &Inherited::StaticClass()).Build();
  return info;
}

TSkinComBox::TSkinComBox(TComponent* owner) : TSkinControl(owner) {}

TSkinComBox::~TSkinComBox() {
  RestoreEdit();
  ListScrollBar.reset();
}

void TSkinComBox::InitSkin(TSkinControlList* form, TSkinData* skinData, bool setColour, TCanvas* canvas,
                           TWinControl* control) {
  if (Attached) return;
  TSkinControl::InitSkin(form, skinData, setColour, canvas, control);
  if (Attached) AttachParts();
}

void TSkinComBox::InitSkinHandle(HWND handle, TSkinData* skinData, TSkinControlList* form, TCanvas* canvas) {
  if (Attached) return;
  TSkinControl::InitSkinHandle(handle, skinData, form, canvas);
  if (Attached) AttachParts();
}

void TSkinComBox::AttachParts() {
  const LONG_PTR style = GetWindowLongX(Handle, GWL_STYLE);
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  const bool haveInfo = GetComboBoxInfo(Handle, &info) != 0;
  if ((style & 3) != CBS_SIMPLE) {
    if ((style & 3) == CBS_DROPDOWNLIST && haveInfo && info.hwndList != nullptr) {
      auto bar = std::make_unique<TComboxScrollBar>(nullptr);
      bar->InitSkinHandle(info.hwndList, SkinData, Form, Canvas);
      ListScrollBar = std::move(bar);
    }
    EditWindow = GetWindow(Handle, GW_CHILD);
    if (EditWindow != nullptr && GetPropW(EditWindow, kEditOwnerProp) == nullptr) {
      SetPropW(EditWindow, kEditOwnerProp, this);
      const auto proc = reinterpret_cast<LONG_PTR>(&ComboEditProc);
      if (IsWindowUnicode(EditWindow))
        OldEditProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(EditWindow, GWLP_WNDPROC, proc));
      else
        OldEditProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(EditWindow, GWLP_WNDPROC, proc));
    } else {
      EditWindow = nullptr;
    }
    return;
  }
  if (haveInfo && info.hwndList != nullptr && !IsPopupWindow(info.hwndList) &&
      (GetWindowLongW(info.hwndList, GWL_STYLE) & WS_CHILD) != 0) {
    auto bar = std::make_unique<TSkinScrollbarH>(nullptr);
    bar->InitSkinHandle(info.hwndList, SkinData, Form, Canvas);
    ListScrollBar = std::move(bar);
  }
}

void TSkinComBox::RestoreEdit() {
  if (EditWindow == nullptr) return;
  if (IsWindow(EditWindow)) {
    if (IsWindowUnicode(EditWindow))
      SetWindowLongPtrW(EditWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OldEditProc));
    else
      SetWindowLongPtrA(EditWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OldEditProc));
    RemovePropW(EditWindow, kEditOwnerProp);
  }
  EditWindow = nullptr;
  OldEditProc = nullptr;
}

void TSkinComBox::Unskin() {
  TSkinControl::Unskin();
  RestoreEdit();
  if (ListScrollBar != nullptr) {
    if (ListScrollBar->SkinState != kSkinWindowDestroyed) ListScrollBar->Unskin();
    ListScrollBar.reset();
  }
}

bool TSkinComBox::RightToLeft() const { return (GetWindowLongX(Handle, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0; }

bool TSkinComBox::IsFocused() const {
  HWND focus = GetFocus();
  return focus != nullptr && (focus == Handle || IsChild(Handle, focus));
}

int TSkinComBox::ComboState() const {
  if (!Enabled) return 3;
  if (MouseState & kMousePressed) return 2;
  if ((MouseState & kMouseHot) || Focused) return 4;
  return 1;
}

void TSkinComBox::AfterProc(TMessage& message) {
  switch (message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      break;
    case WM_MOUSEMOVE: {
      const POINT point{static_cast<int16_t>(LOWORD(message.LParam)), static_cast<int16_t>(HIWORD(message.LParam))};
      // The button rectangle is in window coordinates; the point is in client ones.
      RECT window{};
      POINT screen = point;
      ClientToScreen(Handle, &screen);
      GetWindowRect(Handle, &window);
      const POINT inWindow{screen.x - window.left, screen.y - window.top};
      const bool hot = IsWindowEnabled(Handle) && PtInRect(&ButtonRect, inWindow);
      TrackMouseLeave(Handle);
      if (hot != ((MouseState & kMouseHot) != 0)) {
        if (hot) MouseState |= kMouseHot;
        else MouseState &= static_cast<uint8_t>(~kMouseHot);
        Refresh();
      }
      break;
    }
    case WM_DRAWITEM:
    case WM_NCPAINT:
      Refresh();
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      MouseState |= kMousePressed;
      Refresh();
      break;
    case WM_LBUTTONUP:
      MouseState &= static_cast<uint8_t>(~kMousePressed);
      Refresh();
      break;
    case CM_MOUSELEAVE:
    case WM_MOUSELEAVE:
      MouseState &= static_cast<uint8_t>(~kMouseHot);
      Refresh();
      break;
    case kReflectedCommand:
      if (HIWORD(message.WParam) == CBN_DROPDOWN) Dropped = 1;
      if (HIWORD(message.WParam) == CBN_CLOSEUP) {
        Dropped = 0;
        MouseState &= static_cast<uint8_t>(~kMousePressed);
      }
      break;
    default:
      TSkinControl::AfterProc(message);
      break;
  }
}

void TSkinComBox::DrawSkin(HDC dc, const RECT& rect) {
  if (SkinData == nullptr || dc == nullptr) return;
  Enabled = IsWindowEnabled(Handle) ? 1 : 0;
  Focused = IsFocused() ? 1 : 0;
  const int state = ComboState();
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return;
  const TDataSkinBorder* button = SkinData->ComboButton.get();
  if (!HasImage(button)) return;
  const bool rtl = RightToLeft();
  const int scrollWidth = GetSystemMetrics(SM_CXHSCROLL);
  const int buttonFrames = std::max(button->FrameCount, 1);
  const int saved = SaveDC(dc);
  if (button->Style == 2) {
    // The skin model composed edge, button and arrow into one image per state.
    const int a = scrollWidth + 2;
    ButtonRect = rtl ? RECT{rect.left, rect.top, rect.left + a, rect.bottom}
                     : RECT{rect.right - a, rect.top, rect.right, rect.bottom};
    const TDataSkinObject* whole = rtl ? SkinData->SunkEdge.get() : static_cast<const TDataSkinObject*>(button);
    if (HasImage(whole))
      DrawNineSlice(dc, rect, whole->Bitmap.get(), false, whole->Tile != 0, true, std::max(whole->FrameCount, 1),
                    state, whole->Margins);
    RestoreDC(dc, saved);
    return;
  }
  ButtonRect = rtl ? RECT{rect.left + 2, rect.top + 2, rect.left + 2 + scrollWidth + 2, rect.bottom - 2}
                   : RECT{rect.right - 2 - (scrollWidth + 2), rect.top + 2, rect.right - 2, rect.bottom - 2};
  if (button->Style == 1) {
    HBRUSH shadow = CreateSolidBrush(ColorToRGB(SkinData->ButtonShadowColour));
    FrameRect(dc, &rect, shadow);
    DeleteObject(shadow);
    DrawStripCellDC(Control, dc, ButtonRect, buttonFrames, state, button->Bitmap.get());
  } else {
    // The edit part keeps what the control painted.
    const RECT interior = rtl ? RECT{ButtonRect.right, rect.top + 2, rect.right - 2, rect.bottom - 2}
                              : RECT{rect.left + 2, rect.top + 2, ButtonRect.left, rect.bottom - 2};
    ExcludeClipRect(dc, interior.left, interior.top, interior.right, interior.bottom);
    const TDataSkinObject* edge = SkinData->SunkEdge.get();
    if (HasImage(edge)) DrawElementFrame(Control, dc, rect, std::max(edge->FrameCount, 1), state, edge);
    TBitmap* face = rtl && HasImage(button->Image2) ? button->Image2.get() : button->Bitmap.get();
    DrawStripCellBlit(Control, dc, ButtonRect, buttonFrames, state, face);
  }
  const TDataSkinObject* arrow = SkinData->ExtraImages.get();
  if (HasImage(arrow)) DrawCentredFrame(dc, ButtonRect, arrow->Bitmap.get(), true, std::max(arrow->FrameCount, 1), state);
  RestoreDC(dc, saved);
}
