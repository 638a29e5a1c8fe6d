// The owners of scroll-bar overlays: TSkinScrollbar (framework controls with built-in
// bars), TSkinListView (plus its header), TSkinScrollbarH (raw windows) and TSkinScControl
// (stand-alone scroll bar controls); and their registration with control discovery.
#include "skin/controls/WinSubClassScroll.h"

#include <commctrl.h>

#include <algorithm>
#include <cctype>
#include <initializer_list>

#include "framework/ClassBuilder.h"
#include "framework/Messages.h"
#include "skin/controls/RegisterSkinControls.h"
#include "skin/controls/WinSubClassHelpers.h"
#include "skin/data/WinSkinData.h"

namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

void FillWithColour(HDC dc, const RECT& rect, TColor colour) {
  if (rect.right <= rect.left || rect.bottom <= rect.top) return;
  HBRUSH brush = CreateSolidBrush(ColorToRGB(colour));
  FillRect(dc, &rect, brush);
  DeleteObject(brush);
}

// The offset of the client area inside the window (the border's width and height).
POINT ClientOffset(HWND window) {
  RECT bounds{};
  GetWindowRect(window, &bounds);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  return {origin.x - bounds.left, origin.y - bounds.top};
}

// The square between two shown bars, in window coordinates of the host.
void FillCorner(HDC dc, HWND host, const TWScrollbar* horz, const TWScrollbar* vert, TColor colour) {
  if (dc == nullptr || horz == nullptr || vert == nullptr || !horz->Shown || !vert->Shown) return;
  const POINT offset = ClientOffset(host);
  RECT corner{vert->BarClientRect.left, horz->BarClientRect.top, vert->BarClientRect.right,
              horz->BarClientRect.bottom};
  OffsetRect(&corner, offset.x, offset.y);
  FillWithColour(dc, corner, colour);
}

void InvalidateShown(TWScrollbar* bar) {
  if (bar != nullptr && bar->Shown) bar->Invalidate();
}

void RepositionAll(HWND host, std::initializer_list<TWScrollbar*> bars) {
  for (TWScrollbar* bar : bars)
    if (bar != nullptr) bar->Reposition(host);
}

void HideAll(std::initializer_list<TWScrollbar*> bars) {
  for (TWScrollbar* bar : bars)
    if (bar != nullptr) bar->HideBar();
}

// A WM_HSCROLL/WM_VSCROLL the control handled: the overlay shows the part it acts on.
void ShowHotPart(TWScrollbar* bar, WPARAM scrollCode) {
  if (bar == nullptr) return;
  bar->HotPart = LOWORD(scrollCode);
  bar->Invalidate();
}

// Overlays follow SKM_ENABLESKIN: hidden while the control shows unskinned, placed again
// when the skin comes back; the host's frame repaints either way.
void FollowActive(bool active, HWND host, std::initializer_list<TWScrollbar*> bars) {
  if (active)
    RepositionAll(host, bars);
  else
    HideAll(bars);
  if (host != nullptr && IsWindow(host)) RedrawWindow(host, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

}  // namespace

// ---- TSkinScrollbar ----

const TClassInfo& TSkinScrollbar::StaticClass() {
  static const TClassInfo info = TClassBuilder<TSkinScrollbar>("TSkinScrollbar", &Inherited::StaticClass()).Build();
  return info;
}

TSkinScrollbar::~TSkinScrollbar() {
  HorzBar.reset();
  VertBar.reset();
}

void TSkinScrollbar::InitSkin(TSkinControlList* form, TSkinData* skinData, bool, TCanvas* canvas,
                              TWinControl* control) {
  InitScrollbars(control != nullptr ? control : dynamic_cast<TControl*>(Owner()), skinData, form, canvas);
}

void TSkinScrollbar::InitScrollbars(TControl* control, TSkinData* skinData, TSkinControlList* form, TCanvas* canvas) {
  auto* win = dynamic_cast<TWinControl*>(control);
  if (Attached || win == nullptr || skinData == nullptr) return;
  HasBorder = Lower(GetEnumPropByName(control, "BorderStyle")) != "bsnone";
  if (control->ClassName() == "TImageScrollBox" || Mode == 1) HasBorder = 0;
  // A grid's fixed cells take the skin's face colour.
  const int32_t fixed = GetOrdPropByName(control, "FixedColor");
  if (fixed != -1) {
    SavedColour = fixed;
    SetColour = 1;
    SetPropByName(control, "FixedColor", std::to_string(skinData->ButtonFaceColour));
  }
  const uint8_t setColour = SetColour;
  const TColor saved = SavedColour;
  // The base attach replaces the control's message handler and registers with the form.
  TSkinControl::InitSkin(form, skinData, false, canvas, win);
  SetColour = setColour;
  SavedColour = saved;
  if (!Attached) return;
  HorzBar = std::make_unique<TWScrollbar>(this);
  VertBar = std::make_unique<TWScrollbar>(this);
  HorzBar->Place(this, control, kBarHorizontal);
  VertBar->Place(this, control, kBarVertical);
  HorzBar->SetEnabled(control->Enabled());
  VertBar->SetEnabled(control->Enabled());
  if (!control->Visible()) HideAll({HorzBar.get(), VertBar.get()});
}

void TSkinScrollbar::RepositionBars() { RepositionAll(Handle, {HorzBar.get(), VertBar.get()}); }

void TSkinScrollbar::DrawBorder(HDC dc) {
  if (dc == nullptr || SkinData == nullptr || Handle == nullptr) return;
  RECT bounds{};
  GetWindowRect(Handle, &bounds);
  RECT outer{0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top};
  HBRUSH shadow = CreateSolidBrush(ColorToRGB(SkinData->ButtonShadowColour));
  FrameRect(dc, &outer, shadow);
  DeleteObject(shadow);
  InflateRect(&outer, -1, -1);
  HBRUSH face = CreateSolidBrush(ColorToRGB(SkinData->ButtonFaceColour));
  FrameRect(dc, &outer, face);
  DeleteObject(face);
}

bool TSkinScrollbar::BeforeProc(TMessage& message) {
  // After the re-creation the old window, and with it the way to its form, is gone.
  if (message.Msg == CM_RECREATEWND) reskinForm_ = FormWindowOf(Handle);
  if (message.Msg == WM_NCPAINT && HasBorder) {
    CallOldProc(message);
    HDC dc = GetWindowDC(Handle);
    if (dc != nullptr) {
      DrawBorder(dc);
      ReleaseDC(Handle, dc);
    }
    return false;
  }
  return TSkinControl::BeforeProc(message);
}

void TSkinScrollbar::AfterProc(TMessage& message) {
  switch (message.Msg) {
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
      RepositionBars();
      return;
    case WM_HSCROLL:
      ShowHotPart(HorzBar.get(), message.WParam);
      return;
    case WM_VSCROLL:
      ShowHotPart(VertBar.get(), message.WParam);
      return;
    case WM_MOUSEWHEEL:
      InvalidateShown(HorzBar.get());
      InvalidateShown(VertBar.get());
      return;
    case CM_VISIBLECHANGED:
      if (message.WParam != 0) {
        RepositionBars();
      } else {
        HideAll({HorzBar.get(), VertBar.get()});
      }
      return;
    case CM_ENABLEDCHANGED:
      if (Control != nullptr) {
        if (HorzBar) HorzBar->SetEnabled(Control->Enabled());
        if (VertBar) VertBar->SetEnabled(Control->Enabled());
      }
      InvalidateShown(HorzBar.get());
      InvalidateShown(VertBar.get());
      return;
    case CM_RECREATEWND: {
      // The control has a new window: the form's discovery makes this object again for
      // it (and this one, with its overlays, goes). The old handle names the object.
      const HWND form = reskinForm_;
      reskinForm_ = nullptr;
      if (Control != nullptr && Form != nullptr && Handle != nullptr && form != nullptr)
        PostMessageW(form, SKM_RESKINSCROLL, reinterpret_cast<WPARAM>(Handle), 0);
      return;
    }
    case SKM_PAINTTO:
      if (message.LParam == SKIN_MAGIC) {
        if (message.WParam != 0 && HasBorder) DrawBorder(reinterpret_cast<HDC>(message.WParam));
        message.Result = SKIN_MAGIC;
        return;
      }
      break;
    default:
      break;
  }
  TSkinControl::AfterProc(message);
}

void TSkinScrollbar::DrawSkin(HDC dc, const RECT&) {
  const LONG style = Handle != nullptr ? GetWindowLongW(Handle, GWL_STYLE) : 0;
  auto update = [&](TWScrollbar* bar, LONG styleBit) {
    if (bar == nullptr) return;
    if (bar->Shown)
      bar->Invalidate();
    else if ((style & styleBit) != 0)
      bar->Reposition(Handle);
  };
  update(VertBar.get(), WS_VSCROLL);
  update(HorzBar.get(), WS_HSCROLL);
  if (SkinData != nullptr) FillCorner(dc, Handle, HorzBar.get(), VertBar.get(), SkinData->ButtonFaceColour);
}

void TSkinScrollbar::ActiveChanged() { FollowActive(Active != 0, Handle, {HorzBar.get(), VertBar.get()}); }

void TSkinScrollbar::UpdateSkin() {
  if (Control != nullptr && SkinData != nullptr) {
    const int32_t fixed = GetOrdPropByName(Control, "FixedColor");
    if (fixed != -1) {
      SavedColour = fixed;
      SetColour = 1;
      SetPropByName(Control, "FixedColor", std::to_string(SkinData->ButtonFaceColour));
    }
  }
  InvalidateShown(HorzBar.get());
  InvalidateShown(VertBar.get());
  if (Handle != nullptr) RedrawWindow(Handle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void TSkinScrollbar::Unskin() {
  if (SetColour && Control != nullptr && !Control->DestroyingState())
    SetPropByName(Control, "FixedColor", std::to_string(SavedColour));
  SetColour = 0;
  TSkinControl::Unskin();
  if (SkinState != kSkinWindowDestroyed) {
    HorzBar.reset();
    VertBar.reset();
    // The native bars and border show again.
    if (Handle != nullptr && IsWindow(Handle))
      RedrawWindow(Handle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE);
  }
}

// ---- TSkinListView ----

const TClassInfo& TSkinListView::StaticClass() {
  static const TClassInfo info = TClassBuilder<TSkinListView>("TSkinListView", &Inherited::StaticClass()).Build();
  return info;
}

void TSkinListView::InitScrollbars(TControl* control, TSkinData* skinData, TSkinControlList* form, TCanvas* canvas) {
  TSkinScrollbar::InitScrollbars(control, skinData, form, canvas);
  if (!Attached || Handle == nullptr) return;
  HWND header = reinterpret_cast<HWND>(SendMessageW(Handle, LVM_GETHEADER, 0, 0));
  if (header == nullptr) return;
  TSkinAttachRequest request;
  request.Form = form;
  request.SkinData = skinData;
  request.Canvas = canvas;
  request.Window = header;
  Header = CreateSkinControl("TSkinHeader", request);
}

// ---- TSkinScrollbarH ----

const TClassInfo& TSkinScrollbarH::StaticClass() {
  static const TClassInfo info = TClassBuilder<TSkinScrollbarH>("TSkinScrollbarH", &Inherited::StaticClass()).Build();
  return info;
}

TSkinScrollbarH::~TSkinScrollbarH() {
  HorzBar.reset();
  VertBar.reset();
}

void TSkinScrollbarH::InitSkinHandle(HWND handle, TSkinData* skinData, TSkinControlList* form, TCanvas* canvas) {
  if (Attached) return;
  Control = nullptr;
  TSkinControl::InitSkinHandle(handle, skinData, form, canvas);
  if (!Attached) return;
  HorzBar = std::make_unique<TWScrollbar>(this);
  VertBar = std::make_unique<TWScrollbar>(this);
  HorzBar->PlaceRaw(this, Handle, kBarHorizontal);
  VertBar->PlaceRaw(this, Handle, kBarVertical);
}

void TSkinScrollbarH::AfterProc(TMessage& message) {
  if (Handle != nullptr && !IsWindowVisible(Handle)) HideAll({HorzBar.get(), VertBar.get()});
  switch (message.Msg) {
    case WM_SIZE:
    case WM_NCPAINT:
      RepositionAll(Handle, {HorzBar.get(), VertBar.get()});
      if (message.Msg == WM_SIZE) Refresh();
      return;
    case WM_HSCROLL:
      ShowHotPart(HorzBar.get(), message.WParam);
      return;
    case WM_VSCROLL:
      ShowHotPart(VertBar.get(), message.WParam);
      return;
    default:
      TSkinControl::AfterProc(message);
  }
}

void TSkinScrollbarH::DrawSkin(HDC dc, const RECT&) {
  InvalidateShown(HorzBar.get());
  InvalidateShown(VertBar.get());
  if (SkinData != nullptr) FillCorner(dc, Handle, HorzBar.get(), VertBar.get(), SkinData->ButtonFaceColour);
}

void TSkinScrollbarH::ActiveChanged() { FollowActive(Active != 0, Handle, {HorzBar.get(), VertBar.get()}); }

void TSkinScrollbarH::Unskin() {
  TSkinControl::Unskin();
  if (SkinState != kSkinWindowDestroyed) {
    HorzBar.reset();
    VertBar.reset();
    if (Handle != nullptr && IsWindow(Handle)) RedrawWindow(Handle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
  }
}

// ---- TSkinScControl ----

const TClassInfo& TSkinScControl::StaticClass() {
  static const TClassInfo info = TClassBuilder<TSkinScControl>("TSkinScControl", &Inherited::StaticClass()).Build();
  return info;
}

TSkinScControl::~TSkinScControl() { Bar.reset(); }

void TSkinScControl::InitSkin(TSkinControlList* form, TSkinData* skinData, bool, TCanvas* canvas,
                              TWinControl* control) {
  InitScrollControl(control != nullptr ? control : dynamic_cast<TControl*>(Owner()), skinData, form, canvas);
}

void TSkinScControl::InitScrollControl(TControl* control, TSkinData* skinData, TSkinControlList* form, TCanvas* canvas) {
  auto* win = dynamic_cast<TWinControl*>(control);
  if (Attached || win == nullptr) return;
  TSkinControl::InitSkin(form, skinData, false, canvas, win);
  if (!Attached) return;
  Bar = std::make_unique<TWScrollbar>(this);
  Bar->Place(this, control, kBarControl);
  // The overlay is a plain window: the control's hint stays with the control.
  if (!control->Visible()) Bar->HideBar();
}

void TSkinScControl::InitSkinHandle(HWND handle, TSkinData* skinData, TSkinControlList* form, TCanvas* canvas) {
  if (Attached) return;
  TSkinControl::InitSkinHandle(handle, skinData, form, canvas);
  if (!Attached) return;
  Bar = std::make_unique<TWScrollbar>(this);
  Bar->PlaceRaw(this, Handle, kBarControl);
}

void TSkinScControl::AfterProc(TMessage& message) {
  switch (message.Msg) {
    case WM_WINDOWPOSCHANGED:
      if (Bar) Bar->Reposition(Handle);
      return;
    case WM_NCPAINT:
      if (auto* win = WinControl(); win != nullptr && win->HandleAllocated()) Handle = win->Handle();
      if (Bar) Bar->Reposition(Handle);
      return;
    case SBM_SETSCROLLINFO:
    case SBM_SETPOS:
    case SBM_SETRANGE:
    case SBM_SETRANGEREDRAW:
    case CN_BASE + WM_VSCROLL:
    case CN_BASE + WM_HSCROLL:
      if (Bar) Bar->Invalidate();
      return;
    case CM_VISIBLECHANGED:
      if (Bar) {
        if (message.WParam != 0)
          Bar->Reposition(Handle);
        else
          Bar->HideBar();
      }
      return;
    default:
      TSkinControl::AfterProc(message);
  }
}

void TSkinScControl::DrawSkin(HDC, const RECT&) {
  if (Bar) Bar->Invalidate();
}

void TSkinScControl::ActiveChanged() { FollowActive(Active != 0, Handle, {Bar.get()}); }

void TSkinScControl::Unskin() {
  TSkinControl::Unskin();
  if (SkinState != kSkinWindowDestroyed) Bar.reset();
}

// ---- Registration ----

namespace {

// Framework controls only: the family attaches through InitScrollbars.
template <class T>
TSkinControlItem* MakeForControl(const TSkinAttachRequest& request) {
  if (request.Control == nullptr) return nullptr;
  return AttachSkinObject(new T(request.Control), request);
}

template <class T>
TSkinControlItem* MakeForWindow(const TSkinAttachRequest& request) {
  if (request.Control != nullptr || request.Window == nullptr) return nullptr;
  return AttachSkinObject(new T(nullptr), request);
}

}  // namespace

void RegisterScrollbarControls() {
  RegisterSkinControlClass("TSkinScrollbar", MakeForControl<TSkinScrollbar>);
  RegisterSkinControlClass("TSkinListView", MakeForControl<TSkinListView>);
  RegisterSkinControlClass("TSkinScrollbarH", MakeForWindow<TSkinScrollbarH>);
  RegisterSkinControlClass("TSkinScControl", StandardSkinFactory<TSkinScControl>());
  RegisterSkinControlClass("TComboxScrollBar", MakeForWindow<TComboxScrollBar>);
}
