// TWinControl: the window made on demand, the framework window procedure, children,
// painting of graphic children, reflection of child notifications, focus and keys.
#include <algorithm>

#include "framework/Application.h"
#include "framework/ClassBuilder.h"
#include "framework/Controls.h"
#include "framework/Forms.h"
#include "framework/ResourceCount.h"

namespace {

// The control whose window CreateWindowEx is making: its first messages arrive before
// the window property is set.
thread_local TWinControl* gCreatingControl = nullptr;
int gNextControlId = 100;

bool IsClientMouseMessage(UINT msg) { return msg >= WM_MOUSEMOVE && msg <= WM_MBUTTONDBLCLK; }

}  // namespace

LRESULT CALLBACK FrameworkWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* control = static_cast<TWinControl*>(GetPropW(window, ControlAtomName()));
  if (!control) {
    control = gCreatingControl;
    if (!control) return DefWindowProcW(window, msg, wParam, lParam);
    gCreatingControl = nullptr;
    control->AttachHandle(window);
  }
  TMessage m{msg, wParam, lParam, 0};
  try {
    if (control->WindowProc) {
      control->WindowProc(m);
    } else {
      control->WndProc(m);
    }
  } catch (...) {
    if (Application) Application->HandleException(std::current_exception());
  }
  if (msg == WM_NCDESTROY) control->HandleDestroyed();
  return m.Result;
}

const TClassInfo& TWinControl::StaticClass() {
  static const TClassInfo info = TClassBuilder<TWinControl>("TWinControl", &Inherited::StaticClass())
                                     .Property("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder)
                                     .Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop)
                                     .Property("OnKeyDown", &TWinControl::OnKeyDown)
                                     .Property("OnKeyUp", &TWinControl::OnKeyUp)
                                     .Property("OnKeyPress", &TWinControl::OnKeyPress)
                                     .Property("OnEnter", &TWinControl::OnEnter)
                                     .Property("OnExit", &TWinControl::OnExit)
                                     .Build();
  return info;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner), brush_(new TBrush) {
  brush_->SetColor(Color());
  controlId_ = gNextControlId++;
  if (gNextControlId > 0x7FFF) gNextControlId = 100;
}

TWinControl::~TWinControl() {
  Destroying();
  DestroyComponents();  // owned helpers (skinned-control objects) let go of WindowProc
  if (Application) Application->ControlDestroying(this);
  // Children this control parents go with it, as in any RAD framework.
  while (!controls_.empty()) {
    TControl* child = controls_.back();
    RemoveControl(child);
    delete child;
  }
  DestroyHandle();
  delete brush_;
}

TControl* TWinControl::Controls(int index) const {
  if (index < 0 || index >= ControlCount()) return nullptr;
  return controls_[static_cast<size_t>(index)];
}

void TWinControl::InsertControl(TControl* control) {
  if (!control || ContainsControl(control)) return;
  controls_.push_back(control);
  control->parent_ = this;
  if (control->parentFont_) control->ParentFontChanged();
  if (control->parentColor_) control->ParentColorChanged();
  if (control->parentShowHint_) control->showHint_ = ShowHint();
  if (auto* window = dynamic_cast<TWinControl*>(control)) {
    if (window->tabOrder_ < 0) window->tabOrder_ = -1;
    if (handle_) window->UpdateControlState();
  } else {
    control->Invalidate();
  }
  if (control->Align() != alNone) Realign();
}

void TWinControl::RemoveControl(TControl* control) {
  auto it = std::find(controls_.begin(), controls_.end(), control);
  if (it == controls_.end()) return;
  if (captureControl_ == control) {
    captureControl_ = nullptr;
    if (handle_ && GetCapture() == handle_) ReleaseCapture();
  }
  control->Invalidate();
  if (auto* window = dynamic_cast<TWinControl*>(control)) window->DestroyHandle();
  controls_.erase(std::find(controls_.begin(), controls_.end(), control));
  control->parent_ = nullptr;
  if (control->Align() != alNone) Realign();
}

bool TWinControl::ContainsControl(const TControl* control) const {
  for (const TControl* c = control; c; c = c->parent_)
    if (c->parent_ == this) return true;
  return false;
}

TControl* TWinControl::ControlAtPos(TPoint point, bool allowDisabled, bool allowWindows) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl* c = *it;
    const bool windowed = dynamic_cast<TWinControl*>(c) != nullptr;
    if (windowed && !allowWindows) continue;
    if (!c->visible_ || (!c->enabled_ && !allowDisabled)) continue;
    const TRect r = c->BoundsRect();
    if (PtInRect(&r, point)) return c;
  }
  return nullptr;
}

TControl* TWinControl::FindChildControl(std::wstring_view name) const {
  for (TControl* c : controls_)
    if (c->Name().size() == name.size() && CompareStringOrdinal(c->Name().data(), static_cast<int>(name.size()),
                                                               name.data(), static_cast<int>(name.size()), TRUE) == CSTR_EQUAL)
      return c;
  return nullptr;
}

void TWinControl::Broadcast(TMessage& message) {
  for (size_t i = 0; i < controls_.size(); ++i) {
    TControl* c = controls_[i];
    if (c->WindowProc) {
      c->WindowProc(message);
    } else {
      c->WndProc(message);
    }
    if (message.Result != 0) return;
  }
}

bool TWinControl::HasGraphicChildren() const {
  for (const TControl* c : controls_)
    if (!dynamic_cast<const TWinControl*>(c)) return true;
  return false;
}

// ---- window lifetime ----

HWND TWinControl::Handle() {
  if (!handle_) {
    if (parent_) parent_->HandleNeeded();  // may make this window too (visible child)
    if (!handle_) CreateWnd();
  }
  return handle_;
}

void TWinControl::CreateParams(TCreateParams& p) {
  p.Caption = text_;
  p.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if (controlStyle_.Contains(csAcceptsControls)) p.Style |= WS_CLIPCHILDREN;
  if (Visible()) p.Style |= WS_VISIBLE;
  if (!Enabled()) p.Style |= WS_DISABLED;
  if (tabStop_) p.Style |= WS_TABSTOP;
  p.X = Left();
  p.Y = Top();
  p.Width = Width();
  p.Height = Height();
  p.WndParent = Parent() ? Parent()->Handle() : nullptr;
  p.WindowClass = WNDCLASSEXW{};
  p.WindowClass.cbSize = sizeof(WNDCLASSEXW);
  p.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  p.WindowClass.lpfnWndProc = &DefWindowProcW;
  p.WindowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  p.WinClassName = Utf8ToWide(ClassName());
}

void TWinControl::CreateSubClass(TCreateParams& p, const wchar_t* systemClass) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (!GetClassInfoExW(nullptr, systemClass, &wc)) {
    throw Exception("window class " + WideToUtf8(systemClass) + " is not available");
  }
  p.WindowClass = wc;
  p.WindowClass.cbSize = sizeof(WNDCLASSEXW);
  p.WindowClass.style &= ~static_cast<UINT>(CS_GLOBALCLASS);
  p.WindowClass.lpszClassName = nullptr;
  p.WindowClass.lpszMenuName = nullptr;
}

void TWinControl::CreateWnd() {
  TCreateParams p;
  CreateParams(p);
  if ((p.Style & WS_CHILD) && !p.WndParent) throw Exception("Control '" + WideToUtf8(Name()) + "' has no parent window");
  defWndProc_ = p.WindowClass.lpfnWndProc ? p.WindowClass.lpfnWndProc : &DefWindowProcW;
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(instance, p.WinClassName.c_str(), &existing)) {
    if (existing.lpfnWndProc != &FrameworkWindowProc)
      throw Exception("window class name " + WideToUtf8(p.WinClassName) + " is taken");
  } else {
    WNDCLASSEXW wc = p.WindowClass;
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &FrameworkWindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = p.WinClassName.c_str();
    if (!RegisterClassExW(&wc)) throw Exception("cannot register window class " + WideToUtf8(p.WinClassName));
  }
  CreateWindowHandle(p);
  if (!handle_) throw Exception("Error creating window of " + WideToUtf8(Name()) + " (" + ClassName() + ")");
  controlState_.Include(csCreating);
  try {
    Perform(WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 0);
    CreateHandleDone();
    for (TControl* c : std::vector<TControl*>(controls_))
      if (auto* w = dynamic_cast<TWinControl*>(c); w && w->Visible()) w->HandleNeeded();
  } catch (...) {
    controlState_.Exclude(csCreating);
    throw;
  }
  controlState_.Exclude(csCreating);
  Realign();
}

void TWinControl::CreateWindowHandle(const TCreateParams& p) {
  gCreatingControl = this;
  const HMENU id = (p.Style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<intptr_t>(controlId_)) : nullptr;
  HWND window = CreateWindowExW(p.ExStyle, p.WinClassName.c_str(), p.Caption.c_str(), p.Style, p.X, p.Y, p.Width,
                                p.Height, p.WndParent, id, GetModuleHandleW(nullptr), p.Param);
  gCreatingControl = nullptr;
  if (!window) handle_ = nullptr;
}

void TWinControl::AttachHandle(HWND window) {
  handle_ = window;
  SetPropW(window, ControlAtomName(), this);
  ResourceCreated(TResourceKind::Window);
}

void TWinControl::HandleDestroyed() {
  if (!handle_) return;
  RemovePropW(handle_, ControlAtomName());
  handle_ = nullptr;
  captureControl_ = nullptr;
  ResourceFreed(TResourceKind::Window);
}

void TWinControl::DestroyHandle() {
  if (!handle_) return;
  controlState_.Include(csDestroyingHandle);
  for (TControl* c : controls_)
    if (auto* w = dynamic_cast<TWinControl*>(c)) w->DestroyHandle();
  // Keep the text for the next window.
  const int length = GetWindowTextLengthW(handle_);
  std::wstring text(static_cast<size_t>(std::max(length, 0)) + 1, L'\0');
  text.resize(static_cast<size_t>(std::max(0, GetWindowTextW(handle_, text.data(), length + 1))));
  text_ = text;
  DestroyWnd();
  controlState_.Exclude(csDestroyingHandle);
}

void TWinControl::DestroyWnd() {
  if (handle_) DestroyWindow(handle_);
  // A window destroyed some other way has already run WM_NCDESTROY.
  HandleDestroyed();
}

void TWinControl::RecreateWnd() {
  if (handle_) Perform(CM_RECREATEWND);
}

void TWinControl::UpdateControlState() {
  if (!Parent()) return;
  if (!Parent()->HandleAllocated()) return;
  if (Visible()) HandleNeeded();
  if (!handle_) return;
  const bool shown = (GetWindowLongW(handle_, GWL_STYLE) & WS_VISIBLE) != 0;
  if (shown != Visible())
    SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                     (Visible() ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void TWinControl::ShowControl(TControl* control) {
  if (control == this || !control) return;
  control->SetVisible(true);
}

bool TWinControl::Showing() const {
  if (handle_) return IsWindowVisible(handle_) != FALSE;
  return Visible() && (!Parent() || Parent()->Showing());
}

TRect TWinControl::ClientRect() {
  if (handle_) {
    TRect r{};
    GetClientRect(handle_, &r);
    return r;
  }
  TCreateParams p;
  CreateParams(p);
  RECT frame{0, 0, 0, 0};
  AdjustWindowRectEx(&frame, p.Style, FALSE, p.ExStyle);
  return Rect(0, 0, std::max(0, Width() - static_cast<int>(frame.right - frame.left)),
              std::max(0, Height() - static_cast<int>(frame.bottom - frame.top)));
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (left == Left() && top == Top() && width == Width() && height == Height()) return;
  if (handle_) {
    // WM_WINDOWPOSCHANGED brings the fields up to date.
    SetWindowPos(handle_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    if (Left() != left || Top() != top || Width() != width || Height() != height)
      UpdateBoundsFields(left, top, width, height);
  } else {
    UpdateBoundsFields(left, top, width, height);
  }
  Realign();
  if (Parent() && Align() != alNone) Parent()->Realign();
}

void TWinControl::SetClientSize(int width, int height) {
  const TRect client = ClientRect();
  SetBounds(Left(), Top(), width + Width() - client.right, height + Height() - client.bottom);
}

TPoint TWinControl::ClientOrigin() {
  if (!handle_) return TControl::ClientOrigin();
  POINT p{0, 0};
  ::ClientToScreen(handle_, &p);
  return p;
}

void TWinControl::Invalidate() {
  if (handle_) InvalidateRect(handle_, nullptr, TRUE);
}

void TWinControl::Update() {
  if (handle_) UpdateWindow(handle_);
}

void TWinControl::SetEnabled(bool value) { TControl::SetEnabled(value); }

void TWinControl::Realign() {
  if (realigning_ || !HandleAllocated()) return;
  realigning_ = true;
  try {
    TRect r = ClientRect();
    AlignControls(r);
  } catch (...) {
    realigning_ = false;
    throw;
  }
  realigning_ = false;
}

void TWinControl::AlignControls(TRect& rect) {
  auto place = [&](TAlign which) {
    for (TControl* c : controls_) {
      if (c->Align() != which || !c->Visible()) continue;
      switch (which) {
        case alTop:
          c->SetBounds(rect.left, rect.top, rect.right - rect.left, c->Height());
          rect.top += c->Height();
          break;
        case alBottom:
          c->SetBounds(rect.left, rect.bottom - c->Height(), rect.right - rect.left, c->Height());
          rect.bottom -= c->Height();
          break;
        case alLeft:
          c->SetBounds(rect.left, rect.top, c->Width(), rect.bottom - rect.top);
          rect.left += c->Width();
          break;
        case alRight:
          c->SetBounds(rect.right - c->Width(), rect.top, c->Width(), rect.bottom - rect.top);
          rect.right -= c->Width();
          break;
        case alClient:
          c->SetBounds(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
          break;
        default:
          break;
      }
    }
  };
  place(alTop);
  place(alBottom);
  place(alLeft);
  place(alRight);
  place(alClient);
}

void TWinControl::Loaded() {
  TControl::Loaded();
  if (tabOrder_ >= 0) {
    const int wanted = tabOrder_;
    tabOrder_ = -1;
    SetTabOrder(wanted);
  }
  Realign();
}

// ---- tab order and focus ----

int TWinControl::TabOrder() const {
  if (!Parent()) return tabOrder_ < 0 ? 0 : tabOrder_;
  int index = 0;
  for (TControl* c : Parent()->controls_) {
    if (c == this) return index;
    if (dynamic_cast<TWinControl*>(c)) ++index;
  }
  return -1;
}

void TWinControl::SetTabOrder(int value) {
  if (Loading() || !Parent()) {
    tabOrder_ = value;  // applied when loading ends
    return;
  }
  // The tab order is the order of the windowed children in the parent's list.
  auto& list = Parent()->controls_;
  std::vector<TControl*> windows;
  for (TControl* c : list)
    if (dynamic_cast<TWinControl*>(c) && c != this) windows.push_back(c);
  value = std::clamp(value, 0, static_cast<int>(windows.size()));
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  auto at = value < static_cast<int>(windows.size())
                ? std::find(list.begin(), list.end(), windows[static_cast<size_t>(value)])
                : list.end();
  list.insert(at, this);
}

void TWinControl::SetTabStop(bool value) {
  if (value == tabStop_) return;
  tabStop_ = value;
  if (handle_) {
    LONG style = GetWindowLongW(handle_, GWL_STYLE);
    style = value ? (style | WS_TABSTOP) : (style & ~static_cast<LONG>(WS_TABSTOP));
    SetWindowLongW(handle_, GWL_STYLE, style);
  }
  Perform(CM_TABSTOPCHANGED);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) {
  for (TControl* c : controls_)
    if (auto* w = dynamic_cast<TWinControl*>(c)) {
      list.push_back(w);
      w->GetTabOrderList(list);
    }
}

bool TWinControl::CanFocus() const {
  for (const TWinControl* c = this; c; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

bool TWinControl::Focused() const { return handle_ && GetFocus() == handle_; }

void TWinControl::SetFocus() {
  if (!CanFocus()) throw Exception("Cannot focus a disabled or invisible window");
  ::SetFocus(Handle());
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool forward, bool checkTabStop, bool checkParent) {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  if (list.empty()) return nullptr;
  const auto n = static_cast<int>(list.size());
  int start = static_cast<int>(std::find(list.begin(), list.end(), current) - list.begin());
  if (start == n) start = forward ? n - 1 : 0;
  int i = start;
  for (int step = 0; step < n; ++step) {
    i = forward ? (i + 1) % n : (i - 1 + n) % n;
    TWinControl* c = list[static_cast<size_t>(i)];
    if (c == current && step > 0) break;
    if ((!checkTabStop || c->TabStop()) && (!checkParent || c->Parent() == this) && c->CanFocus()) return c;
  }
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool forward, bool checkTabStop) {
  if (TWinControl* next = FindNextControl(current, forward, checkTabStop, !checkTabStop)) next->SetFocus();
}

// ---- messages ----

bool TWinControl::IsControlMouseMsg(TMessage& m) {
  if (!IsClientMouseMessage(m.Msg)) return false;
  TControl* target = nullptr;
  if (captureControl_ && captureControl_->parent_ == this) {
    target = captureControl_;
  } else {
    target = ControlAtPos(Point(m.XPos(), m.YPos()), false);
  }
  if (!target) return false;
  const LPARAM moved = MAKELPARAM(static_cast<WORD>(m.XPos() - target->Left()), static_cast<WORD>(m.YPos() - target->Top()));
  m.Result = target->Perform(m.Msg, m.WParam, moved);
  return true;
}

void TWinControl::UpdateMouseControl(TMessage& m) {
  if (m.Msg != WM_MOUSEMOVE || !Application) return;
  TControl* over = captureControl_;
  if (!over) over = ControlAtPos(Point(m.XPos(), m.YPos()), true);
  if (!over) over = this;
  Application->SetMouseControl(over);
  TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, handle_, 0};
  TrackMouseEvent(&track);
}

void TWinControl::SetCursorFor(TMessage& m) {
  if (LOWORD(m.LParam) != HTCLIENT || reinterpret_cast<HWND>(m.WParam) != handle_) return;
  POINT p{};
  GetCursorPos(&p);
  ::ScreenToClient(handle_, &p);
  TControl* c = ControlAtPos(p, false);
  if (!c) c = this;
  if (c->Cursor() != crDefault) {
    ::SetCursor(CursorHandle(c->Cursor()));
    m.Result = 1;
  }
}

void TWinControl::HandleCtlColor(TMessage& m) {
  const auto dc = reinterpret_cast<HDC>(m.WParam);
  SetTextColor(dc, ColorToRGB(Font()->Color()));
  SetBkColor(dc, ColorToRGB(Color()));
  m.Result = reinterpret_cast<LRESULT>(brush_->Handle());
}

bool TWinControl::ReflectToChild(TMessage& m) {
  HWND child = nullptr;
  switch (m.Msg) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_CHARTOITEM:
    case WM_VKEYTOITEM:
      child = reinterpret_cast<HWND>(m.LParam);
      break;
    case WM_NOTIFY:
      if (m.LParam) child = reinterpret_cast<NMHDR*>(m.LParam)->hwndFrom;
      break;
    case WM_DRAWITEM:
      if (auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam); d && d->CtlType != ODT_MENU) child = d->hwndItem;
      break;
    case WM_MEASUREITEM:
      if (auto* d = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam); d && d->CtlType != ODT_MENU)
        child = GetDlgItem(handle_, static_cast<int>(d->CtlID));
      break;
    case WM_DELETEITEM:
      if (auto* d = reinterpret_cast<DELETEITEMSTRUCT*>(m.LParam)) child = d->hwndItem;
      break;
    case WM_COMPAREITEM:
      if (auto* d = reinterpret_cast<COMPAREITEMSTRUCT*>(m.LParam)) child = d->hwndItem;
      break;
    default:
      return false;
  }
  if (!child || child == handle_) return false;
  TWinControl* control = FindControl(child);
  if (!control) return false;
  m.Result = control->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
  return true;
}

bool TWinControl::DoKeyDown(TMessage& m) {
  TCustomForm* form = GetParentForm(this);
  if (form && form != this && form->KeyPreview() && static_cast<TWinControl*>(form)->DoKeyDown(m)) return true;
  if (!OnKeyDown) return false;
  WORD key = static_cast<WORD>(m.WParam);
  OnKeyDown(this, key, KeyDataToShiftState(m.LParam));
  if (key == 0) return true;
  m.WParam = key;
  return false;
}

bool TWinControl::DoKeyUp(TMessage& m) {
  TCustomForm* form = GetParentForm(this);
  if (form && form != this && form->KeyPreview() && static_cast<TWinControl*>(form)->DoKeyUp(m)) return true;
  if (!OnKeyUp) return false;
  WORD key = static_cast<WORD>(m.WParam);
  OnKeyUp(this, key, KeyDataToShiftState(m.LParam));
  if (key == 0) return true;
  m.WParam = key;
  return false;
}

bool TWinControl::DoKeyPress(TMessage& m) {
  TCustomForm* form = GetParentForm(this);
  if (form && form != this && form->KeyPreview() && static_cast<TWinControl*>(form)->DoKeyPress(m)) return true;
  if (!OnKeyPress) return false;
  auto ch = static_cast<wchar_t>(m.WParam);
  OnKeyPress(this, ch);
  if (ch == 0) return true;
  m.WParam = ch;
  return false;
}

bool TWinControl::DialogKey(TMessage& m) {
  UINT mask = 0;
  switch (m.WParam) {
    case VK_TAB: mask = DLGC_WANTTAB; break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: mask = DLGC_WANTARROWS; break;
    case VK_RETURN:
    case VK_EXECUTE:
    case VK_ESCAPE:
    case VK_CANCEL: mask = DLGC_WANTALLKEYS; break;
    default: return false;
  }
  MSG msg{handle_, WM_KEYDOWN, m.WParam, m.LParam, 0, {0, 0}};
  if (static_cast<UINT>(Perform(WM_GETDLGCODE, m.WParam, reinterpret_cast<LPARAM>(&msg))) & mask) return false;
  TCustomForm* form = GetParentForm(this);
  return form && form->Perform(CM_DIALOGKEY, m.WParam, m.LParam) != 0;
}

void TWinControl::PaintHandler(TMessage& m) {
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  PAINTSTRUCT ps{};
  if (!dc) dc = BeginPaint(handle_, &ps);
  try {
    {
      SavedDCState keep(dc);
      // The window's own painting must not cover graphic children that paint opaquely.
      for (TControl* c : controls_)
        if (!dynamic_cast<TWinControl*>(c) && c->Visible() && c->ControlStyle().Contains(csOpaque))
          ExcludeClipRect(dc, c->Left(), c->Top(), c->Left() + c->Width(), c->Top() + c->Height());
      PaintWindow(dc);
    }
    PaintControls(dc, nullptr);
  } catch (...) {
    if (!m.WParam) EndPaint(handle_, &ps);
    throw;
  }
  if (!m.WParam) EndPaint(handle_, &ps);
  m.Result = 0;
}

void TWinControl::PaintWindow(HDC dc) {
  TMessage paint{WM_PAINT, reinterpret_cast<WPARAM>(dc), 0, 0};
  DefaultHandler(paint);
}

void TWinControl::PaintControls(HDC dc, TControl* first) {
  auto it = controls_.begin();
  if (first) it = std::find(controls_.begin(), controls_.end(), first);
  RECT clip{};
  GetClipBox(dc, &clip);
  for (; it != controls_.end(); ++it) {
    TControl* c = *it;
    if (dynamic_cast<TWinControl*>(c) || !c->Visible()) continue;
    const TRect r = c->BoundsRect();
    RECT overlap{};
    if (!IntersectRect(&overlap, &r, &clip)) continue;
    SavedDCState keep(dc);
    POINT origin{};
    GetViewportOrgEx(dc, &origin);
    SetViewportOrgEx(dc, origin.x + c->Left(), origin.y + c->Top(), nullptr);
    IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  }
}

void TWinControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_SETFOCUS: {
      TCustomForm* form = GetParentForm(this);
      if (form && form != this && !form->SetFocusedControl(this)) return;
      break;
    }
    case WM_KILLFOCUS:
      if (controlState_.Contains(csFocusing)) return;
      break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
      UpdateMouseControl(m);
      if (IsControlMouseMsg(m)) {
        if (m.Result == 0 && handle_) DefWindowProcW(handle_, m.Msg, m.WParam, m.LParam);
        return;
      }
      break;
    case WM_MOUSELEAVE:
      if (Application) {
        TControl* over = Application->MouseControl();
        if (over == this || (over && over->Parent() == this && !dynamic_cast<TWinControl*>(over)))
          Application->SetMouseControl(nullptr);
      }
      break;
    case WM_CANCELMODE:
      if (captureControl_) {
        captureControl_->controlState_.Exclude(csClicked);
        captureControl_ = nullptr;
      }
      break;
    case WM_SETCURSOR:
      SetCursorFor(m);
      if (m.Result) return;
      break;
    case WM_PAINT:
      if (HasGraphicChildren() || defWndProc_ == &DefWindowProcW) {
        PaintHandler(m);
        return;
      }
      break;
    case WM_PRINTCLIENT:
      // PrintWindow and WM_PRINT ask for the client area in a DC: paint it as WM_PAINT
      // does, graphic children included.
      if ((HasGraphicChildren() || defWndProc_ == &DefWindowProcW) && m.WParam) {
        if (m.LParam & PRF_ERASEBKGND) Perform(WM_ERASEBKGND, m.WParam, 0);
        TMessage paint{WM_PAINT, m.WParam, 0, 0};
        PaintHandler(paint);
        return;
      }
      break;
    case WM_ERASEBKGND:
      if (defWndProc_ == &DefWindowProcW && handle_) {
        TRect r{};
        GetClientRect(handle_, &r);
        FillRect(reinterpret_cast<HDC>(m.WParam), &r, brush_->Handle());
        m.Result = 1;
        return;
      }
      break;
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
    case WM_CHARTOITEM:
    case WM_VKEYTOITEM:
      if (ReflectToChild(m)) return;
      break;
    case CN_CTLCOLORMSGBOX:
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORDLG:
    case CN_CTLCOLORSCROLLBAR:
    case CN_CTLCOLORSTATIC:
      HandleCtlColor(m);
      return;
    case WM_WINDOWPOSCHANGED: {
      TControl::WndProc(m);
      if (handle_ && !IsIconic(handle_)) {
        RECT r{};
        GetWindowRect(handle_, &r);
        if (HWND parent = (GetWindowLongW(handle_, GWL_STYLE) & WS_CHILD) ? GetParent(handle_) : nullptr)
          MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
        const bool resized = r.right - r.left != Width() || r.bottom - r.top != Height();
        UpdateBoundsFields(r.left, r.top, r.right - r.left, r.bottom - r.top);
        if (resized) Realign();
      }
      return;
    }
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN:
      if (Application) Application->CancelHint();
      if (DoKeyDown(m) || DialogKey(m)) {
        m.Result = 1;
        return;
      }
      m.Result = 0;
      return;
    case CN_KEYUP:
      m.Result = DoKeyUp(m) ? 1 : 0;
      return;
    case CN_CHAR:
      m.Result = DoKeyPress(m) ? 1 : 0;
      return;
    case CN_SYSCHAR: {
      TCustomForm* form = GetParentForm(this);
      m.Result = form && form->Perform(CM_DIALOGCHAR, m.WParam, m.LParam) != 0 ? 1 : 0;
      return;
    }
    case CM_ENABLEDCHANGED:
      if (handle_) EnableWindow(handle_, Enabled());
      break;
    case CM_VISIBLECHANGED:
      UpdateControlState();
      break;
    case CM_COLORCHANGED: {
      brush_->SetColor(Color());
      TMessage notice{CM_PARENTCOLORCHANGED, 0, 0, 0};
      for (TControl* c : std::vector<TControl*>(controls_)) c->Perform(notice.Msg);
      break;
    }
    case CM_FONTCHANGED:
      if (handle_) Perform(WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), TRUE);
      for (TControl* c : std::vector<TControl*>(controls_)) c->Perform(CM_PARENTFONTCHANGED);
      break;
    case CM_RECREATEWND: {
      const bool wasFocused = Focused();
      DestroyHandle();
      UpdateControlState();
      if (!Parent() && Visible()) HandleNeeded();
      if (wasFocused && handle_) ::SetFocus(handle_);
      return;
    }
    case CM_FOCUSCHANGED:
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR:
      Broadcast(m);
      return;
    case CM_ENTER:
      if (OnEnter) OnEnter(this);
      return;
    case CM_EXIT:
      if (OnExit) OnExit(this);
      return;
    default:
      break;
  }
  TControl::WndProc(m);
}

void TWinControl::DefaultHandler(TMessage& m) {
  // The framework's own notifications are not the window's business.
  if (m.Msg >= CM_BASE && m.Msg < CM_BASE + 0x1000) return;
  if (handle_) {
    m.Result = CallWindowProcW(defWndProc_, handle_, m.Msg, m.WParam, m.LParam);
    if (m.Msg == WM_SETTEXT && m.LParam) text_ = reinterpret_cast<const wchar_t*>(m.LParam);
    return;
  }
  TControl::DefaultHandler(m);
}
