// TSkinControl: attach and detach, message routing, painting entry points.
#include "skin/controls/WinSubClass.h"

#include "framework/ClassBuilder.h"

#include <cstring>

#include "skin/controls/WinSubClassHelpers.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"

// ---- The window-procedure thunk of raw-window attach ----
//
// Ten bytes of i386 code: replace the window handle argument with the object and jump to
// SkinThunkEntry, which has the window procedure's stdcall signature. One executable page
// per thunk keeps the allocation trivially correct; objects are few (one per control).

struct TWndProcThunk {
  uint8_t code[16];
};

LRESULT CALLBACK SkinThunkEntry(TSkinControl* self, UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage message;
  message.Msg = msg;
  message.WParam = wParam;
  message.LParam = lParam;
  try {
    self->SkinWndProc(message);
  } catch (...) {
    // A painting or handler failure must never leave the window procedure.
  }
  return message.Result;
}

namespace {

static_assert(sizeof(void*) == 4, "the window-procedure thunk is i386 code");

TWndProcThunk* MakeThunk(TSkinControl* self) {
  void* memory = VirtualAlloc(nullptr, sizeof(TWndProcThunk), MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE);
  if (memory == nullptr) return nullptr;
  auto* thunk = static_cast<TWndProcThunk*>(memory);
  uint8_t* p = thunk->code;
  const uint32_t object = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(self));
  const uint32_t entry = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&SkinThunkEntry));
  p[0] = 0xC7;  // mov dword ptr [esp+4], object
  p[1] = 0x44;
  p[2] = 0x24;
  p[3] = 0x04;
  std::memcpy(p + 4, &object, 4);
  p[8] = 0xE9;  // jmp entry (relative to the next instruction)
  const uint32_t relative = entry - (static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p)) + 13);
  std::memcpy(p + 9, &relative, 4);
  FlushInstructionCache(GetCurrentProcess(), thunk, sizeof(TWndProcThunk));
  return thunk;
}

void FreeThunk(TWndProcThunk* thunk) {
  if (thunk != nullptr) VirtualFree(thunk, 0, MEM_RELEASE);
}

}  // namespace

// ---- TSkinControl ----

const TClassInfo& TSkinControl::StaticClass() {
  static const TClassInfo info = TClassBuilder<TSkinControl>("TSkinControl", &Inherited::StaticClass()).Build();
  return info;
}

TSkinControl::TSkinControl(TComponent* owner) : TComponent(owner) {}

TSkinControl::~TSkinControl() {
  *alive_ = false;
  Detach();
  if (Form != nullptr) Form->RemoveSkinControl(this);
  Form = nullptr;
}

void TSkinControl::WatchControl(TControl* control) {
  // The control may go first; its news clears our reference.
  if (control != nullptr && control != Owner()) control->FreeNotification(this);
}

void TSkinControl::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != TOperation::opRemove) return;
  if (component == Control) {
    // The control is being destroyed: its handler is gone with it, nothing to restore.
    Control = nullptr;
    OldWindowProc = nullptr;
  }
  if (component == Companion) Companion = nullptr;
}

void TSkinControl::Detach() {
  if (Control != nullptr && OldWindowProc) {
    Control->WindowProc = OldWindowProc;
    OldWindowProc = nullptr;
  }
  if (WndProcThunk != nullptr) {
    if (Handle != nullptr && IsWindow(Handle)) {
      if (UnicodeWindow)
        SetWindowLongPtrW(Handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OldWndProc));
      else
        SetWindowLongPtrA(Handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OldWndProc));
    }
    FreeThunk(WndProcThunk);
    WndProcThunk = nullptr;
  }
}

TWinControl* TSkinControl::WinControl() const { return dynamic_cast<TWinControl*>(Control); }

void TSkinControl::InitSkin(TSkinControlList* form, TSkinData* skinData, bool setColour, TCanvas* canvas,
                            TWinControl* control) {
  if (Attached) return;
  SetColour = setColour ? 1 : 0;
  SkinData = skinData;
  Form = form;
  Canvas = canvas;
  Control = control != nullptr ? control : dynamic_cast<TControl*>(Owner());
  if (Control == nullptr) return;
  WatchControl(Control);
  if (TWinControl* win = WinControl()) {
    Handle = win->Handle();
    UnicodeWindow = IsWindowUnicode(Handle) ? 1 : 0;
  }
  OldWindowProc = Control->WindowProc;
  Control->WindowProc = [this](TMessage& message) { SkinWndProc(message); };
  if (Form != nullptr) Form->AddSkinControl(this);
  ApplySkinColours(true);
  Control->Invalidate();
  Attached = 1;
  SkinState = kSkinAttached;
}

void TSkinControl::AttachToControl(TSkinControlList* form, TSkinData* skinData, TCanvas* canvas,
                                   TControl* control) {
  InitSkin(form, skinData, SetColour != 0, canvas, dynamic_cast<TWinControl*>(control));
}

void TSkinControl::InitSkinHandle(HWND handle, TSkinData* skinData, TSkinControlList* form, TCanvas* canvas) {
  if (Attached || handle == nullptr || !IsWindow(handle)) return;
  SkinData = skinData;
  Canvas = canvas;
  Form = form;
  Handle = handle;
  Enabled = 1;
  Mode = 0;
  if (Form != nullptr) Form->AddSkinControl(this);
  UnicodeWindow = IsWindowUnicode(Handle) ? 1 : 0;
  Caption = GetWindowTextWide(Handle);
  WndProcThunk = MakeThunk(this);
  if (WndProcThunk == nullptr) return;
  const auto thunk = reinterpret_cast<LONG_PTR>(WndProcThunk->code);
  if (UnicodeWindow) {
    OldWndProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(Handle, GWLP_WNDPROC));
    SetWindowLongPtrW(Handle, GWLP_WNDPROC, thunk);
  } else {
    OldWndProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(Handle, GWLP_WNDPROC));
    SetWindowLongPtrA(Handle, GWLP_WNDPROC, thunk);
  }
  InvalidateRect(Handle, nullptr, TRUE);
  Attached = 1;
  SkinState = kSkinAttached;
}

void TSkinControl::Unskin() { RestoreSkinColours(); }

void TSkinControl::UpdateSkin() {
  ApplySkinColours(false);
  Refresh();
}

void TSkinControl::ApplySkinColours(bool remember) {
  if (!SetColour || Control == nullptr || SkinData == nullptr) return;
  if (remember) SavedColour = Control->Color();
  Control->SetColor(SkinData->ButtonFaceColour);
  TFont* font = Control->Font();
  if (font == nullptr) return;
  if (remember) {
    // A colour of the control's own choosing (a link's, say) stays.
    const TColor colour = font->Color();
    FontColourSet = 0;
    if (colour != clWindowText && colour != clBtnText) return;
    SavedFontColour = colour;
    FontColourSet = Control->ParentFont() ? 2 : 1;
  }
  if (FontColourSet) font->SetColor(SkinData->ButtonTextColour);
}

void TSkinControl::RestoreSkinColours() {
  if (!SetColour || Control == nullptr || Control->DestroyingState()) return;
  Control->SetColor(SavedColour);
  if (!FontColourSet || Control->Font() == nullptr) return;
  Control->Font()->SetColor(SavedFontColour);
  if (FontColourSet == 2) Control->SetParentFont(true);
  FontColourSet = 0;
}

void TSkinControl::SkinWndProc(TMessage& message) {
  if (message.Msg == SKM_ENABLESKIN) {
    const bool wasActive = Active != 0;
    Active = message.WParam > 0 ? 1 : 0;
    if (Active != (wasActive ? 1 : 0)) ActiveChanged();
    if (Active && !wasActive) Refresh();
    return;
  }
  if (!Active) {
    CallOldProc(message);
    return;
  }
  // The control's own handling may run a modal loop (a scroll bar's tracking, a menu) in
  // which this object is freed (skinning stopped from a timer): nothing of it is touched
  // after that.
  const std::shared_ptr<bool> alive = alive_;
  if (BeforeProc(message)) {
    CallOldProc(message);
    if (!*alive) return;
    AfterProc(message);
  }
}

void TSkinControl::CallOldProc(TMessage& message) {
  if (OldWindowProc) {
    // A copy: the member may be destroyed with this object while the handler runs.
    const TWndMethod previous = OldWindowProc;
    previous(message);
  } else if (OldWndProc != nullptr) {
    // A Unicode window receives wide messages through the thunk: pass them on as such.
    message.Result = UnicodeWindow ? CallWindowProcW(OldWndProc, Handle, message.Msg, message.WParam, message.LParam)
                                   : CallWindowProcA(OldWndProc, Handle, message.Msg, message.WParam, message.LParam);
  }
}

bool TSkinControl::BeforeProc(TMessage& message) {
  switch (message.Msg) {
    case WM_NCDESTROY:
      CallOldProc(message);
      Active = 0;
      SkinState = kSkinWindowDestroyed;
      Unskin();
      return false;
    case SKM_QUERYSKIN:
      message.Result = 1;
      return false;
    default:
      return true;
  }
}

void TSkinControl::AfterProc(TMessage& message) {
  switch (message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case CM_ENABLEDCHANGED:
      Refresh();
      break;
    case WM_PAINT:
      PaintWindow(reinterpret_cast<HDC>(message.WParam));
      break;
    default:
      break;
  }
}

void TSkinControl::PaintWindow(HDC dc) {
  RECT rect;
  if (Handle == nullptr || !GetWindowRect(Handle, &rect)) return;
  WindowRect = rect;
  OffsetRect(&rect, -rect.left, -rect.top);
  if (dc != nullptr) {
    try {
      DrawSkin(dc, rect);
    } catch (...) {
    }
    return;
  }
  HDC windowDc = GetWindowDC(Handle);
  if (windowDc == nullptr) return;
  try {
    DrawSkin(windowDc, rect);
  } catch (...) {
  }
  ReleaseDC(Handle, windowDc);
}

void TSkinControl::DrawSkin(HDC, const RECT&) {}

void TSkinControl::PaintReplace(TMessage& message) {
  PAINTSTRUCT paint{};
  HDC dc = reinterpret_cast<HDC>(message.WParam);
  const bool ownPaint = dc == nullptr;
  if (ownPaint) dc = BeginPaint(Handle, &paint);
  RECT rect;
  if (dc != nullptr && GetWindowRect(Handle, &rect)) {
    WindowRect = rect;
    OffsetRect(&rect, -rect.left, -rect.top);
    try {
      DrawSkin(dc, rect);
    } catch (...) {
    }
  }
  if (ownPaint) EndPaint(Handle, &paint);
  message.Result = 0;
}

void TSkinControl::EraseWithParent(TMessage& message) {
  HDC dc = reinterpret_cast<HDC>(message.WParam);
  if (Control != nullptr) {
    DrawParentBackground(Control, dc);
  } else {
    RECT client;
    GetClientRect(Handle, &client);
    FillControlBackground(dc, client);
  }
  message.Result = 1;
}

void TSkinControl::Refresh() {
  if (Companion != nullptr) {
    Companion->Invalidate();
    return;
  }
  if (Handle == nullptr) return;
  InvalidateRect(Handle, nullptr, TRUE);
  UpdateWindow(Handle);
}

TColor TSkinControl::GetControlColour(TColor defaultColour) const {
  if (Control == nullptr || GetPropInfo(Control, "Color") == nullptr) return defaultColour;
  return Control->Color();
}

namespace {
void FillSolid(HDC dc, const RECT& rect, TColor colour) {
  HBRUSH brush = CreateSolidBrush(ColorToRGB(colour));
  FillRect(dc, &rect, brush);
  DeleteObject(brush);
}
}  // namespace

void TSkinControl::FillSkinBackground(HDC dc, const RECT& rect) const {
  FillSolid(dc, rect, SkinData != nullptr ? SkinData->ButtonFaceColour : clBtnFace);
}

void TSkinControl::FillControlBackground(HDC dc, const RECT& rect) const {
  FillSolid(dc, rect, GetControlColour(SkinData != nullptr ? SkinData->ButtonFaceColour : clBtnFace));
}

LONG_PTR TSkinControl::GetWindowLongX(HWND window, int index) const {
  return UnicodeWindow ? GetWindowLongPtrW(window, index) : GetWindowLongPtrA(window, index);
}

void TSkinControl::DrawCaptionFocus(HDC dc, UINT flags, const RECT& rect) {
  RECT text = rect;
  DrawSkinText(dc, Caption, text, flags | DT_CALCRECT | DT_NOCLIP);
  const int width = text.right - text.left;
  const int height = text.bottom - text.top;
  if (flags & DT_CENTER)
    OffsetRect(&text, (rect.right - rect.left - width) / 2, (rect.bottom - rect.top - height) / 2 - 1);
  else if (flags & DT_RIGHT)
    OffsetRect(&text, rect.right - rect.left - width, 0);
  InflateRect(&text, 2, 1);
  RECT clipped;
  IntersectRect(&clipped, &text, &rect);
  DrawFocusRect(dc, &clipped);
}

void TSkinControl::EmulateMouseDown(const TMessage& message) {
  if (Control == nullptr) return;
  int x = static_cast<int16_t>(LOWORD(message.LParam));
  int y = static_cast<int16_t>(HIWORD(message.LParam));
  if (Control->Width() > 0x8000 || Control->Height() > 0x8000) {
    POINT cursor{};
    GetCursorPos(&cursor);
    if (Handle != nullptr) ScreenToClient(Handle, &cursor);
    x = cursor.x;
    y = cursor.y;
  }
  Control->MouseDownFrom(mbLeft, KeysToShiftState(message.WParam), x, y);
}

int TSkinControl::StateFrameIndex(bool isDefault) const {
  if (!Enabled) return 3;
  if (MouseState & kMousePressed) return 2;
  if (MouseState & kMouseHot) return 4;
  if (Focused || isDefault) return 5;
  return 1;
}
