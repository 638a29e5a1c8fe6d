// TControl, TGraphicControl, TCustomControl and the shared helpers. TWinControl is in
// WinControl.cpp.
#include "framework/Controls.h"

#include <algorithm>
#include <cwchar>

#include "framework/Application.h"
#include "framework/ClassBuilder.h"
#include "framework/Forms.h"
#include "framework/Menus.h"
#include "framework/Thread.h"

const TIdentMap& CursorIdents() {
  static const TIdentMap map{{"crDefault", crDefault}, {"crNone", crNone},         {"crArrow", crArrow},
                             {"crCross", crCross},     {"crIBeam", crIBeam},       {"crSizeNESW", crSizeNESW},
                             {"crSizeNS", crSizeNS},   {"crSizeNWSE", crSizeNWSE}, {"crSizeWE", crSizeWE},
                             {"crUpArrow", crUpArrow}, {"crHourGlass", crHourGlass}, {"crNo", crNo},
                             {"crAppStart", crAppStart}, {"crHelp", crHelp},     {"crHandPoint", crHandPoint},
                             {"crSizeAll", crSizeAll}};
  return map;
}

HCURSOR CursorHandle(TCursor cursor) {
  const wchar_t* id = IDC_ARROW;
  switch (cursor) {
    case crNone: return nullptr;
    case crCross: id = IDC_CROSS; break;
    case crIBeam: id = IDC_IBEAM; break;
    case crSizeNESW: id = IDC_SIZENESW; break;
    case crSizeNS: id = IDC_SIZENS; break;
    case crSizeNWSE: id = IDC_SIZENWSE; break;
    case crSizeWE: id = IDC_SIZEWE; break;
    case crUpArrow: id = IDC_UPARROW; break;
    case crHourGlass: id = IDC_WAIT; break;
    case crNo: id = IDC_NO; break;
    case crAppStart: id = IDC_APPSTARTING; break;
    case crHelp: id = IDC_HELP; break;
    case crHandPoint: id = IDC_HAND; break;
    case crSizeAll: id = IDC_SIZEALL; break;
    default: break;
  }
  return LoadCursorW(nullptr, id);  // shared system cursors: never destroyed
}

TShiftState KeysToShiftState(WPARAM keys) {
  TShiftState s;
  if (keys & MK_SHIFT) s.Include(ssShift);
  if (keys & MK_CONTROL) s.Include(ssCtrl);
  if (keys & MK_LBUTTON) s.Include(ssLeft);
  if (keys & MK_RBUTTON) s.Include(ssRight);
  if (keys & MK_MBUTTON) s.Include(ssMiddle);
  if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
  return s;
}

TShiftState KeyDataToShiftState(LPARAM keyData) {
  TShiftState s;
  if (GetKeyState(VK_SHIFT) < 0) s.Include(ssShift);
  if (GetKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
  if (keyData & 0x20000000) s.Include(ssAlt);
  return s;
}

const wchar_t* ControlAtomName() {
  static const std::wstring name = [] {
    wchar_t buffer[40];
    std::swprintf(buffer, 40, L"ControlOfs%.8X%.8X",
                  static_cast<unsigned>(reinterpret_cast<uintptr_t>(GetModuleHandleW(nullptr))),
                  static_cast<unsigned>(TThread::MainThreadID()));
    // Kept for the life of the process, as window properties of this name come and go.
    GlobalAddAtomW(buffer);
    return std::wstring(buffer);
  }();
  return name.c_str();
}

TWinControl* FindControl(HWND window) {
  if (!window) return nullptr;
  DWORD process = 0;
  if (!GetWindowThreadProcessId(window, &process) || process != GetCurrentProcessId()) return nullptr;
  return static_cast<TWinControl*>(GetPropW(window, ControlAtomName()));
}

TCustomForm* GetParentForm(TControl* control) {
  if (!control) return nullptr;
  while (control->Parent()) control = control->Parent();
  return dynamic_cast<TCustomForm*>(control);
}

void PaintOnCanvas(TCanvas* canvas, HDC dc, const TFont* font, const std::function<void()>& paint) {
  canvas->Lock();
  canvas->SetHandle(dc);
  try {
    canvas->Font()->Assign(font);
    paint();
  } catch (...) {
    canvas->SetHandle(nullptr);
    canvas->Unlock();
    throw;
  }
  canvas->SetHandle(nullptr);
  canvas->Unlock();
}

// ---- TControl ----

const TClassInfo& TControl::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TControl>("TControl", &Inherited::StaticClass())
          .Property("Left", &TControl::Left, &TControl::SetLeft)
          .Property("Top", &TControl::Top, &TControl::SetTop)
          .Property("Width", &TControl::Width, &TControl::SetWidth)
          .Property("Height", &TControl::Height, &TControl::SetHeight)
          .Property("ClientWidth", &TControl::ClientWidth, &TControl::SetClientWidth)
          .Property("ClientHeight", &TControl::ClientHeight, &TControl::SetClientHeight)
          .Property("Align", &TControl::Align, &TControl::SetAlign)
          .Property("AutoSize", &TControl::AutoSize, &TControl::SetAutoSize)
          .Property("Visible", &TControl::Visible, &TControl::SetVisible)
          .Property("Enabled", &TControl::Enabled, &TControl::SetEnabled)
          .Property("Caption", &TControl::Caption, &TControl::SetCaption)
          .Property("Text", &TControl::Text, &TControl::SetText)
          .Property("Color", &TControl::Color, &TControl::SetColor, &ColorIdents())
          .Property("ParentColor", &TControl::ParentColor, &TControl::SetParentColor)
          .Property("Font", &TControl::Font, &TControl::SetFont)
          .Property("ParentFont", &TControl::ParentFont, &TControl::SetParentFont)
          .Property("Hint", &TControl::Hint, &TControl::SetHint)
          .Property("ShowHint", &TControl::ShowHint, &TControl::SetShowHint)
          .Property("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint)
          .Property("Cursor", &TControl::Cursor, &TControl::SetCursor, &CursorIdents())
          .Property("PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu)
          .Property("OnClick", &TControl::OnClick)
          .Property("OnDblClick", &TControl::OnDblClick)
          .Property("OnMouseDown", &TControl::OnMouseDown)
          .Property("OnMouseUp", &TControl::OnMouseUp)
          .Property("OnMouseMove", &TControl::OnMouseMove)
          .Property("OnMouseEnter", &TControl::OnMouseEnter)
          .Property("OnMouseLeave", &TControl::OnMouseLeave)
          .Property("OnResize", &TControl::OnResize)
          .Build();
  return info;
}

TControl::TControl(TComponent* owner) : TComponent(owner), font_(new TFont) {
  WindowProc = [this](TMessage& m) { WndProc(m); };
  font_->OnChange = [this](TObject*) { FontChanged(); };
}

TControl::~TControl() {
  // Owned helpers go while this is still a whole control: a skinned-control object of a
  // windowless control puts WindowProc back as it leaves (TWinControl does the same).
  Destroying();
  DestroyComponents();
  if (Application) Application->ControlDestroying(this);
  if (parent_) parent_->RemoveControl(this);
  if (popupMenu_) popupMenu_->RemoveFreeNotification(this);
  delete font_;
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage m{msg, wParam, lParam, 0};
  if (WindowProc) {
    WindowProc(m);
  } else {
    WndProc(m);
  }
  return m.Result;
}

TComponent* TControl::GetParentComponent() const { return parent_; }

void TControl::SetParentComponent(TComponent* parent) {
  if (auto* window = dynamic_cast<TWinControl*>(parent)) SetParent(window);
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  if (parent == this) throw Exception("A control cannot be its own parent");
  if (parent_) parent_->RemoveControl(this);
  if (parent) parent->InsertControl(this);
}

void TControl::UpdateBoundsFields(int left, int top, int width, int height) {
  const bool resized = width != width_ || height != height_;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  if (resized) Resize();
}

void TControl::SetBounds(int left, int top, int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  Invalidate();
  UpdateBoundsFields(left, top, width, height);
  Invalidate();
  if (parent_ && align_ != alNone) parent_->Realign();
}

TRect TControl::ClientRect() { return Rect(0, 0, width_, height_); }

void TControl::SetClientSize(int width, int height) { SetBounds(left_, top_, width, height); }

TPoint TControl::ClientOrigin() {
  TPoint p{left_, top_};
  if (parent_) {
    const TPoint o = parent_->ClientOrigin();
    p.x += o.x;
    p.y += o.y;
  }
  return p;
}

TPoint TControl::ClientToScreen(TPoint point) {
  const TPoint o = ClientOrigin();
  return Point(point.x + o.x, point.y + o.y);
}

TPoint TControl::ScreenToClient(TPoint point) {
  const TPoint o = ClientOrigin();
  return Point(point.x - o.x, point.y - o.y);
}

void TControl::SetAlign(TAlign value) {
  if (value == align_) return;
  align_ = value;
  if (parent_) parent_->Realign();
}

void TControl::SetVisible(bool value) {
  if (value == visible_) return;
  VisibleChanging();
  visible_ = value;
  Perform(CM_VISIBLECHANGED, value);
  if (parent_ && align_ != alNone) parent_->Realign();
}

bool TControl::Showing() const { return visible_ && parent_ && parent_->Showing(); }

void TControl::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  Perform(CM_ENABLEDCHANGED);
}

std::wstring TControl::Text() {
  const auto length = static_cast<size_t>(std::max<LRESULT>(0, Perform(WM_GETTEXTLENGTH)));
  std::wstring text(length + 1, L'\0');
  const auto got = static_cast<size_t>(std::max<LRESULT>(
      0, Perform(WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()))));
  text.resize(std::min(got, length));
  return text;
}

void TControl::SetText(const std::wstring& value) {
  if (Text() == value) return;
  Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value.c_str()));
  Perform(CM_TEXTCHANGED);
}

void TControl::SetColor(TColor value) {
  if (value == color_ && !parentColor_) return;
  color_ = value;
  parentColor_ = false;
  Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool value) {
  if (value == parentColor_) return;
  parentColor_ = value;
  if (value && parent_) Perform(CM_PARENTCOLORCHANGED);
}

void TControl::ParentColorChanged() {
  if (!parentColor_ || !parent_) return;
  if (color_ != parent_->Color()) {
    color_ = parent_->Color();
    Perform(CM_COLORCHANGED);
  }
  parentColor_ = true;  // CM_COLORCHANGED from the parent keeps it following
}

void TControl::ColorChanged() { Invalidate(); }

void TControl::SetParentFont(bool value) {
  if (value == parentFont_) return;
  parentFont_ = value;
  if (value && parent_) ParentFontChanged();
}

void TControl::ParentFontChanged() {
  if (!parentFont_ || !parent_) return;
  applyingParentFont_ = true;
  try {
    font_->Assign(parent_->Font());
  } catch (...) {
    applyingParentFont_ = false;
    throw;
  }
  applyingParentFont_ = false;
}

void TControl::FontChanged() {
  if (!applyingParentFont_) parentFont_ = false;
  Perform(CM_FONTCHANGED);
}

void TControl::SetShowHint(bool value) {
  showHint_ = value;
  parentShowHint_ = false;
}

void TControl::SetParentShowHint(bool value) {
  parentShowHint_ = value;
  if (value && parent_) showHint_ = parent_->ShowHint();
}

void TControl::SetCursor(TCursor value) {
  if (value == cursor_) return;
  cursor_ = value;
  Perform(CM_CURSORCHANGED);
}

void TControl::SetPopupMenu(TPopupMenu* value) {
  if (value == popupMenu_) return;
  if (popupMenu_) popupMenu_->RemoveFreeNotification(this);
  popupMenu_ = value;
  if (popupMenu_) popupMenu_->FreeNotification(this);
}

void TControl::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove && component == popupMenu_) popupMenu_ = nullptr;
}

void TControl::SetAutoSize(bool value) {
  if (value == autoSize_) return;
  autoSize_ = value;
  if (value) AdjustSize();
}

void TControl::AdjustSize() {
  if (!autoSize_ || Loading()) return;
  int w = width_, h = height_;
  if (CanAutoSize(w, h)) SetBounds(left_, top_, w, h);
}

void TControl::Loaded() {
  TComponent::Loaded();
  if (parentShowHint_ && parent_) showHint_ = parent_->ShowHint();
  AdjustSize();
}

void TControl::Invalidate() {
  if (!parent_ || !parent_->HandleAllocated() || !visible_) return;
  const TRect r = BoundsRect();
  InvalidateRect(parent_->handle_, &r, !controlStyle_.Contains(csOpaque));
}

void TControl::Update() {
  if (parent_) parent_->Update();
}

void TControl::Repaint() {
  Invalidate();
  Update();
}

void TControl::BringToFront() {
  if (!parent_) return;
  auto& list = parent_->controls_;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  list.push_back(this);
  Invalidate();
}

void TControl::SendToBack() {
  if (!parent_) return;
  auto& list = parent_->controls_;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  list.insert(list.begin(), this);
  Invalidate();
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::Resize() {
  if (OnResize) OnResize(this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

bool TControl::MouseCapture() const {
  if (auto* self = dynamic_cast<const TWinControl*>(this)) return self->handle_ && GetCapture() == self->handle_;
  return parent_ && parent_->captureControl_ == this;
}

void TControl::SetMouseCapture(bool value) {
  if (value == MouseCapture()) return;
  if (auto* self = dynamic_cast<TWinControl*>(this)) {
    if (value) {
      SetCapture(self->Handle());
    } else {
      ReleaseCapture();
    }
    return;
  }
  if (!parent_) return;
  if (value) {
    parent_->captureControl_ = this;
    SetCapture(parent_->Handle());
  } else {
    parent_->captureControl_ = nullptr;
    if (parent_->handle_ && GetCapture() == parent_->handle_) ReleaseCapture();
  }
}

void TControl::HandleMouseMessage(TMessage& m) {
  const int x = m.XPos(), y = m.YPos();
  TShiftState shift = KeysToShiftState(m.WParam);
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (Application) Application->CancelHint();
      if (m.Msg == WM_LBUTTONDBLCLK) {
        shift.Include(ssDouble);
        if (controlStyle_.Contains(csDoubleClicks)) DblClick();
      }
      if (controlStyle_.Contains(csCaptureMouse)) SetMouseCapture(true);
      if (controlStyle_.Contains(csClickEvents)) controlState_.Include(csClicked);
      MouseDown(mbLeft, shift, x, y);
      break;
    case WM_LBUTTONUP: {
      if (controlStyle_.Contains(csCaptureMouse)) SetMouseCapture(false);
      if (controlState_.Contains(csClicked)) {
        controlState_.Exclude(csClicked);
        const TRect r = ClientRect();
        const POINT p{x, y};
        if (PtInRect(&r, p)) Click();
      }
      MouseUp(mbLeft, shift, x, y);
      break;
    }
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      if (Application) Application->CancelHint();
      MouseDown(mbRight, shift, x, y);
      break;
    case WM_RBUTTONUP:
      MouseUp(mbRight, shift, x, y);
      break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      MouseDown(mbMiddle, shift, x, y);
      break;
    case WM_MBUTTONUP:
      MouseUp(mbMiddle, shift, x, y);
      break;
    case WM_MOUSEMOVE:
      MouseMove(shift, x, y);
      break;
    default:
      break;
  }
}

void TControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
    case WM_MOUSEMOVE:
      HandleMouseMessage(m);
      break;
    case WM_CONTEXTMENU:
      if (popupMenu_) {
        POINT p{m.XPos(), m.YPos()};
        if (m.LParam == -1) p = ClientToScreen(Point(0, 0));
        popupMenu_->SetPopupComponent(this);
        popupMenu_->Popup(p.x, p.y);
        m.Result = 1;
        return;
      }
      break;
    case CM_VISIBLECHANGED:
      if (parent_ && parent_->HandleAllocated()) {
        const TRect r = BoundsRect();
        InvalidateRect(parent_->handle_, &r, TRUE);
      }
      break;
    case CM_ENABLEDCHANGED:
      Invalidate();
      break;
    case CM_COLORCHANGED:
      ColorChanged();
      break;
    case CM_FONTCHANGED:
    case CM_TEXTCHANGED:
      Invalidate();
      AdjustSize();
      break;
    case CM_PARENTFONTCHANGED:
      ParentFontChanged();
      break;
    case CM_PARENTCOLORCHANGED:
      ParentColorChanged();
      break;
    case CM_MOUSEENTER:
      if (OnMouseEnter) OnMouseEnter(this);
      break;
    case CM_MOUSELEAVE:
      if (OnMouseLeave) OnMouseLeave(this);
      break;
    default:
      break;
  }
  DefaultHandler(m);
}

void TControl::DefaultHandler(TMessage& m) {
  switch (m.Msg) {
    case WM_GETTEXTLENGTH:
      m.Result = static_cast<LRESULT>(text_.size());
      break;
    case WM_GETTEXT: {
      auto* buffer = reinterpret_cast<wchar_t*>(m.LParam);
      const size_t room = m.WParam;
      if (!buffer || room == 0) {
        m.Result = 0;
        break;
      }
      const size_t n = std::min(room - 1, text_.size());
      std::copy_n(text_.data(), n, buffer);
      buffer[n] = L'\0';
      m.Result = static_cast<LRESULT>(n);
      break;
    }
    case WM_SETTEXT:
      text_ = m.LParam ? reinterpret_cast<const wchar_t*>(m.LParam) : L"";
      m.Result = TRUE;
      break;
    default:
      break;
  }
}

// ---- TGraphicControl ----

const TClassInfo& TGraphicControl::StaticClass() {
  static const TClassInfo info = TClassBuilder<TGraphicControl>("TGraphicControl", &Inherited::StaticClass()).Build();
  return info;
}

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner), canvas_(new TCanvas) {}

TGraphicControl::~TGraphicControl() { delete canvas_; }

void TGraphicControl::WndProc(TMessage& m) {
  if (m.Msg == WM_PAINT && m.WParam) {
    PaintOnCanvas(canvas_, reinterpret_cast<HDC>(m.WParam), Font(), [this] { Paint(); });
    m.Result = 0;
    return;
  }
  TControl::WndProc(m);
}

// ---- TCustomControl ----

const TClassInfo& TCustomControl::StaticClass() {
  static const TClassInfo info = TClassBuilder<TCustomControl>("TCustomControl", &Inherited::StaticClass()).Build();
  return info;
}

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner), canvas_(new TCanvas) {}

TCustomControl::~TCustomControl() {
  // The window goes first (TWinControl), but painting may not touch the canvas then.
  DestroyHandle();
  delete canvas_;
}

void TCustomControl::PaintWindow(HDC dc) {
  PaintOnCanvas(canvas_, dc, Font(), [this] {
    canvas_->Brush()->SetColor(Color());
    Paint();
  });
}
