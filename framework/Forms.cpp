#include "framework/Forms.h"

#include <algorithm>

#include "framework/ClassBuilder.h"
#include "framework/LayoutReader.h"
#include "framework/LayoutResource.h"
#include "framework/Menus.h"

const TClassInfo& TCustomForm::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TCustomForm>("TCustomForm", &Inherited::StaticClass())
          .Property("BorderStyle", &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle)
          .Property("BorderIcons", &TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons)
          .Property("Position", &TCustomForm::Position, &TCustomForm::SetPosition)
          .Property("FormStyle", &TCustomForm::FormStyle, &TCustomForm::SetFormStyle)
          .Property("WindowState", &TCustomForm::WindowState, &TCustomForm::SetWindowState)
          .Property("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview)
          .Property("ActiveControl", &TCustomForm::ActiveControl, &TCustomForm::SetActiveControl)
          .Property("Menu", &TCustomForm::Menu, &TCustomForm::SetMenu)
          .Property("Icon", &TCustomForm::Icon)
          .Property("ModalResult", &TCustomForm::ModalResult, &TCustomForm::SetModalResult)
          .Property("PixelsPerInch", &TCustomForm::PixelsPerInch, &TCustomForm::SetPixelsPerInch)
          .Property("TextHeight", &TCustomForm::TextHeight, &TCustomForm::SetTextHeight)
          .Property("OldCreateOrder", &TCustomForm::OldCreateOrder, &TCustomForm::SetOldCreateOrder)
          .Property("OnCreate", &TCustomForm::OnCreate)
          .Property("OnDestroy", &TCustomForm::OnDestroy)
          .Property("OnClose", &TCustomForm::OnClose)
          .Property("OnCloseQuery", &TCustomForm::OnCloseQuery)
          .Property("OnShow", &TCustomForm::OnShow)
          .Property("OnHide", &TCustomForm::OnHide)
          .Property("OnActivate", &TCustomForm::OnActivate)
          .Property("OnDeactivate", &TCustomForm::OnDeactivate)
          .Property("OnPaint", &TCustomForm::OnPaint)
          .Build();
  return info;
}

const TClassInfo& TForm::StaticClass() {
  static const TClassInfo info = TClassBuilder<TForm>("TForm", &Inherited::StaticClass()).Build();
  return info;
}

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner), icon_(new TIcon), canvas_(new TCanvas) {
  controlStyle_ = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  SetVisible(false);
  SetColor(clBtnFace);
  SetParentFont(false);
  SetBounds(0, 0, 320, 240);
  if (Application) Application->AddForm(this);
}

TCustomForm::~TCustomForm() {
  if (created_ && OnDestroy) {
    try {
      OnDestroy(this);
    } catch (...) {
      if (Application) Application->HandleException(std::current_exception());
    }
  }
  if (Application) Application->RemoveForm(this);
  // Owned components (and controls) go before the window and the canvas.
  Destroying();
  DestroyComponents();
  DestroyHandle();
  delete canvas_;
  delete icon_;
}

bool TCustomForm::ReadLayoutResource() {
  const std::string_view text = FindLayoutResource(Utf8ToWide(ClassName()));
  if (text.data() == nullptr) return false;
  ReadLayout(text);
  return true;
}

void TCustomForm::ReadLayout(std::string_view layout) {
  RegisterStandardClasses();
  ReadComponentLayout(this, layout);
}

void TCustomForm::DoCreate() {
  if (created_) return;
  created_ = true;
  if (OnCreate) OnCreate(this);
}

void TCustomForm::SetBorderStyle(TFormBorderStyle value) {
  if (value == borderStyle_) return;
  borderStyle_ = value;
  RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons value) {
  if (value == borderIcons_) return;
  borderIcons_ = value;
  RecreateWnd();
}

void TCustomForm::SetFormStyle(TFormStyle value) {
  if (value == formStyle_) return;
  const bool mdi = value == fsMDIForm || value == fsMDIChild || formStyle_ == fsMDIForm || formStyle_ == fsMDIChild;
  formStyle_ = value;
  // An MDI frame or child is a different kind of window: make it again.
  if (mdi && HandleAllocated()) {
    RecreateWnd();
    return;
  }
  if (HandleAllocated())
    SetWindowPos(Handle(), value == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TCustomForm::SetWindowState(TWindowState value) {
  if (value == windowState_) return;
  windowState_ = value;
  if (HandleAllocated() && Showing())
    ShowWindow(Handle(), value == wsMinimized ? SW_MINIMIZE : value == wsMaximized ? SW_MAXIMIZE : SW_RESTORE);
}

void TCustomForm::SetActiveControl(TWinControl* control) {
  if (control == activeControl_) return;
  if (control && (control == this || GetParentForm(control) != this))
    throw Exception("Invalid ActiveControl: not a control of this form");
  activeControl_ = control;
  if (control) control->FreeNotification(this);
  if (!Loading() && control && Active() && control->CanFocus()) control->SetFocus();
}

void TCustomForm::SetMenu(TMainMenu* menu) {
  if (menu == menu_) return;
  if (menu_) menu_->RemoveFreeNotification(this);
  menu_ = menu;
  if (menu_) menu_->FreeNotification(this);
  if (HandleAllocated()) {
    ::SetMenu(Handle(), menu_ ? menu_->Handle() : nullptr);
    DrawMenuBar(Handle());
  }
  Perform(CM_MENUCHANGED);
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation != TOperation::opRemove) return;
  if (component == menu_) {
    menu_ = nullptr;
    if (HandleAllocated() && !DestroyingState()) ::SetMenu(Handle(), nullptr);
  }
  if (component == activeControl_) activeControl_ = nullptr;
  if (component == focusedControl_) focusedControl_ = nullptr;
}

bool TCustomForm::Active() const {
  return handle_ && (GetActiveWindow() == handle_ || GetForegroundWindow() == handle_);
}

bool TCustomForm::Showing() const { return handle_ ? IsWindowVisible(handle_) != FALSE : false; }

void TCustomForm::SetClientSize(int width, int height) {
  if (Loading()) {
    // The border style may still change while the layout is read: apply at the end.
    pendingClientSize_ = true;
    if (width != ClientWidth()) pendingClientWidth_ = width;
    if (height != ClientHeight()) pendingClientHeight_ = height;
    return;
  }
  TRect client{};
  if (HandleAllocated()) {
    GetClientRect(handle_, &client);
  } else {
    client = ClientRect();
  }
  int extraHeight = 0;
  if (!HandleAllocated() && menu_) extraHeight = GetSystemMetrics(SM_CYMENU);
  SetBounds(Left(), Top(), width + Width() - client.right, height + Height() - client.bottom + extraHeight);
}

void TCustomForm::Loaded() {
  // Keep the form hidden until shown, whatever the layout said about Visible.
  const bool wantVisible = Visible();
  TWinControl::Loaded();
  if (pendingClientSize_) {
    pendingClientSize_ = false;
    const int w = pendingClientWidth_ ? pendingClientWidth_ : ClientWidth();
    const int h = pendingClientHeight_ ? pendingClientHeight_ : ClientHeight();
    SetClientSize(w, h);
  }
  if (wantVisible && !Showing()) ApplyVisibility();
}

void TCustomForm::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.Style &= ~static_cast<DWORD>(WS_CHILD | WS_VISIBLE | WS_TABSTOP);
  p.Style |= WS_CLIPCHILDREN;
  p.WndParent = nullptr;
  if (Application && Application->MainForm() && Application->MainForm() != this &&
      Application->MainForm()->HandleAllocated())
    p.WndParent = Application->MainForm()->Handle();
  switch (borderStyle_) {
    case bsNone:
      p.Style |= WS_POPUP;
      break;
    case bsSingle:
      p.Style |= WS_CAPTION | WS_BORDER;
      break;
    case bsSizeable:
      p.Style |= WS_CAPTION | WS_THICKFRAME;
      break;
    case bsDialog:
      p.Style |= WS_POPUP | WS_CAPTION;
      p.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
      break;
    case bsToolWindow:
      p.Style |= WS_CAPTION;
      p.ExStyle |= WS_EX_TOOLWINDOW;
      break;
    case bsSizeToolWin:
      p.Style |= WS_CAPTION | WS_THICKFRAME;
      p.ExStyle |= WS_EX_TOOLWINDOW;
      break;
  }
  if (borderStyle_ != bsNone && borderIcons_.Contains(biSystemMenu)) {
    p.Style |= WS_SYSMENU;
    if (borderStyle_ == bsSingle || borderStyle_ == bsSizeable) {
      if (borderIcons_.Contains(biMinimize)) p.Style |= WS_MINIMIZEBOX;
      if (borderIcons_.Contains(biMaximize)) p.Style |= WS_MAXIMIZEBOX;
    }
    if (borderStyle_ == bsDialog && borderIcons_.Contains(biHelp)) p.ExStyle |= WS_EX_CONTEXTHELP;
  }
  if (formStyle_ == fsStayOnTop) p.ExStyle |= WS_EX_TOPMOST;
  if (formStyle_ == fsMDIChild) {
    TCustomForm* parent = FindMDIParent();
    if (!parent || !parent->HandleAllocated() || !parent->clientHandle_)
      throw Exception("Cannot create form " + WideToUtf8(Name()) + ": no MDI form is open");
    p.Style = (p.Style & ~static_cast<DWORD>(WS_POPUP)) | WS_CHILD | WS_CLIPSIBLINGS;
    p.ExStyle |= WS_EX_MDICHILD;
    p.WndParent = parent->clientHandle_;
  }
  if (position_ == poDefault || position_ == poDefaultPosOnly) p.X = p.Y = static_cast<int>(CW_USEDEFAULT);
  p.WindowClass.style = CS_DBLCLKS;
  if (Application && Application->Icon()) p.WindowClass.hIcon = Application->Icon()->Handle();
}

void TCustomForm::CreateHandleDone() {
  if (formStyle_ == fsMDIForm) {
    CLIENTCREATESTRUCT client{nullptr, 0xFF00};
    RECT r{};
    GetClientRect(handle_, &r);
    clientHandle_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr,
                                    WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL, 0, 0, r.right,
                                    r.bottom, handle_, nullptr, GetModuleHandleW(nullptr), &client);
  }
  if (menu_) ::SetMenu(handle_, menu_->Handle());
  HICON icon = icon_->Handle() ? icon_->Handle() : (Application && Application->Icon() ? Application->Icon()->Handle() : nullptr);
  if (icon) SendMessageW(handle_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
}

void TCustomForm::DestroyWnd() {
  // DestroyWindow would destroy the attached menu, which the menu component owns.
  if (handle_ && menu_) ::SetMenu(handle_, nullptr);
  // The children of the MDI client (the MDI children's windows) go with it.
  for (TCustomForm* child : MDIChildList()) child->DestroyHandle();
  // An MDI child leaves through its client, which keeps its own list and active child.
  if (handle_ && formStyle_ == fsMDIChild && (GetWindowLongW(handle_, GWL_EXSTYLE) & WS_EX_MDICHILD))
    if (HWND client = GetParent(handle_)) SendMessageW(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(handle_), 0);
  TWinControl::DestroyWnd();
  clientHandle_ = nullptr;
}

// ---- MDI ----

TCustomForm* TCustomForm::FindMDIParent() const {
  auto isMDIForm = [](TCustomForm* f) { return f && f->formStyle_ == fsMDIForm; };
  if (auto* owner = dynamic_cast<TCustomForm*>(Owner()); isMDIForm(owner)) return owner;
  if (!Application) return nullptr;
  if (isMDIForm(Application->MainForm())) return Application->MainForm();
  for (int i = 0; i < Application->FormCount(); ++i)
    if (isMDIForm(Application->Forms(i))) return Application->Forms(i);
  return nullptr;
}

std::vector<TCustomForm*> TCustomForm::MDIChildList() const {
  std::vector<TCustomForm*> children;
  if (!clientHandle_ || !Application) return children;
  for (int i = 0; i < Application->FormCount(); ++i) {
    TCustomForm* f = Application->Forms(i);
    if (f && f != this && f->formStyle_ == fsMDIChild && f->handle_ && GetParent(f->handle_) == clientHandle_)
      children.push_back(f);
  }
  return children;
}

int TCustomForm::MDIChildCount() const { return static_cast<int>(MDIChildList().size()); }

TCustomForm* TCustomForm::MDIChildren(int index) const {
  const std::vector<TCustomForm*> children = MDIChildList();
  if (index < 0 || index >= static_cast<int>(children.size())) return nullptr;
  return children[static_cast<size_t>(index)];
}

TCustomForm* TCustomForm::ActiveMDIChild() const {
  if (!clientHandle_) return nullptr;
  auto active = reinterpret_cast<HWND>(SendMessageW(clientHandle_, WM_MDIGETACTIVE, 0, 0));
  return dynamic_cast<TCustomForm*>(FindControl(active));
}

void TCustomForm::Cascade() {
  if (clientHandle_) SendMessageW(clientHandle_, WM_MDICASCADE, 0, 0);
}

void TCustomForm::Tile() {
  if (clientHandle_) SendMessageW(clientHandle_, WM_MDITILE, MDITILE_VERTICAL, 0);
}

void TCustomForm::ArrangeIcons() {
  if (clientHandle_) SendMessageW(clientHandle_, WM_MDIICONARRANGE, 0, 0);
}

void TCustomForm::AlignControls(TRect& rect) {
  TWinControl::AlignControls(rect);
  // The MDI client takes the area the aligned controls leave.
  if (clientHandle_)
    SetWindowPos(clientHandle_, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void TCustomForm::DefaultHandler(TMessage& m) {
  if (handle_ && !(m.Msg >= CM_BASE && m.Msg < CM_BASE + 0x1000)) {
    // MDI frames and children fall back to the MDI default procedures.
    if (formStyle_ == fsMDIForm && clientHandle_) {
      m.Result = DefFrameProcW(handle_, clientHandle_, m.Msg, m.WParam, m.LParam);
      if (m.Msg == WM_SETTEXT && m.LParam) text_ = reinterpret_cast<const wchar_t*>(m.LParam);
      return;
    }
    if (formStyle_ == fsMDIChild && (GetWindowLongW(handle_, GWL_EXSTYLE) & WS_EX_MDICHILD)) {
      m.Result = DefMDIChildProcW(handle_, m.Msg, m.WParam, m.LParam);
      if (m.Msg == WM_SETTEXT && m.LParam) text_ = reinterpret_cast<const wchar_t*>(m.LParam);
      return;
    }
  }
  TWinControl::DefaultHandler(m);
}

void TCustomForm::ApplyPosition() {
  if (positioned_) return;
  positioned_ = true;
  RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  TCustomForm* over = nullptr;
  switch (position_) {
    case poScreenCenter:
    case poDesktopCenter:
      break;
    case poMainFormCenter:
      over = Application ? Application->MainForm() : nullptr;
      break;
    case poOwnerFormCenter:
      over = dynamic_cast<TCustomForm*>(Owner());
      break;
    default:
      return;
  }
  if (over && over != this && over->HandleAllocated()) GetWindowRect(over->Handle(), &area);
  SetBounds(area.left + (area.right - area.left - Width()) / 2, area.top + (area.bottom - area.top - Height()) / 2,
            Width(), Height());
}

void TCustomForm::ApplyVisibility() {
  if (Loading()) return;
  if (Visible()) {
    HandleNeeded();
    ApplyPosition();
    const int show = windowState_ == wsMinimized ? SW_SHOWMINIMIZED : windowState_ == wsMaximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    ShowWindow(handle_, show);
    if (OnShow) OnShow(this);
  } else if (handle_ && IsWindowVisible(handle_)) {
    if (OnHide) OnHide(this);
    ShowWindow(handle_, SW_HIDE);
  }
}

void TCustomForm::Show() {
  SetVisible(true);
  if (!Showing()) ApplyVisibility();
  if (handle_) SetForegroundWindow(handle_);
}

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::DoClose(TCloseAction& action) {
  if (OnClose) OnClose(this, action);
}

void TCustomForm::Close() {
  if (modal_) {
    if (modalResult_ == mrNone) modalResult_ = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  // An MDI child is minimised, as its frame's own close box suggests, unless told otherwise.
  TCloseAction action = caHide;
  if (formStyle_ == fsMDIChild) action = borderIcons_.Contains(biMinimize) ? caMinimize : caNone;
  DoClose(action);
  if (action == caNone) return;
  if (Application && Application->MainForm() == this) {
    Application->Terminate();
  } else if (action == caHide) {
    Hide();
  } else if (action == caMinimize) {
    SetWindowState(wsMinimized);
  } else {
    Release();
  }
}

void TCustomForm::Release() {
  if (Application) Application->ReleaseForm(this);
}

namespace {
BOOL CALLBACK CollectEnabledWindow(HWND window, LPARAM list) {
  try {
    if (IsWindowVisible(window) && IsWindowEnabled(window))
      reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  } catch (...) {
  }
  return TRUE;
}
}  // namespace

int TCustomForm::ShowModal() {
  if (Showing() || !Enabled() || modal_) throw Exception("Cannot make a visible window modal");
  modal_ = true;
  modalResult_ = mrNone;
  // Disable the other windows of this thread while the form runs.
  std::vector<HWND> disabled;
  EnumThreadWindows(GetCurrentThreadId(), &CollectEnabledWindow, reinterpret_cast<LPARAM>(&disabled));
  for (HWND w : disabled) EnableWindow(w, FALSE);
  try {
    Show();
    while (modalResult_ == mrNone) {
      Application->HandleMessage();
      if (Application->Terminated()) modalResult_ = mrCancel;
      if (modalResult_ != mrNone) {
        TCloseAction action = caHide;
        if (!CloseQuery()) {
          modalResult_ = mrNone;
          continue;
        }
        DoClose(action);
        if (action == caNone) modalResult_ = mrNone;
      }
    }
  } catch (...) {
    for (HWND w : disabled) EnableWindow(w, TRUE);
    modal_ = false;
    throw;
  }
  for (HWND w : disabled) EnableWindow(w, TRUE);
  modal_ = false;
  Hide();
  return modalResult_;
}

bool TCustomForm::SetFocusedControl(TWinControl* control) {
  if (control == focusedControl_) return true;
  TWinControl* old = focusedControl_;
  focusedControl_ = control;
  if (control && control != this) {
    activeControl_ = control;
    control->FreeNotification(this);
  }
  if (old && old != this) old->Perform(CM_EXIT);
  if (control && control != this) control->Perform(CM_ENTER);
  Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(control));
  return true;
}

bool TCustomForm::DialogKeyOfForm(TMessage& m) {
  if (GetKeyState(VK_MENU) < 0) return false;
  switch (m.WParam) {
    case VK_TAB:
      if (GetKeyState(VK_CONTROL) < 0) return false;
      SelectNext(activeControl_, GetKeyState(VK_SHIFT) >= 0, true);
      return true;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
      if (activeControl_ && activeControl_->Parent()) {
        activeControl_->Parent()->SelectNext(activeControl_, m.WParam == VK_RIGHT || m.WParam == VK_DOWN, false);
        return true;
      }
      return false;
    default:
      return false;
  }
}

void TCustomForm::PaintWindow(HDC dc) {
  if (!OnPaint) return;
  canvas_->Lock();
  canvas_->SetHandle(dc);
  try {
    canvas_->Font()->Assign(Font());
    canvas_->Brush()->SetColor(Color());
    OnPaint(this);
  } catch (...) {
    canvas_->SetHandle(nullptr);
    canvas_->Unlock();
    throw;
  }
  canvas_->SetHandle(nullptr);
  canvas_->Unlock();
}

void TCustomForm::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_CLOSE:
      Close();
      m.Result = 0;
      return;
    case WM_COMMAND:
      if (m.LParam == 0 && HIWORD(m.WParam) == 0 && menu_ && menu_->DispatchCommand(LOWORD(m.WParam))) {
        m.Result = 0;
        return;
      }
      break;
    case WM_ACTIVATE:
      TWinControl::WndProc(m);
      if (LOWORD(m.WParam) != WA_INACTIVE) {
        if (activeControl_ && activeControl_->CanFocus() && activeControl_->HandleAllocated())
          ::SetFocus(activeControl_->Handle());
        if (OnActivate) OnActivate(this);
      } else if (OnDeactivate) {
        OnDeactivate(this);
      }
      return;
    case WM_SETFOCUS:
      // An MDI child activates itself in its client first.
      if (formStyle_ == fsMDIChild) DefaultHandler(m);
      // The form itself got the focus: pass it to the active control.
      if (activeControl_ && activeControl_ != this && activeControl_->CanFocus() && activeControl_->HandleAllocated()) {
        ::SetFocus(activeControl_->Handle());
        return;
      }
      break;
    case CM_VISIBLECHANGED:
      ApplyVisibility();
      TControl::WndProc(m);
      return;
    case CM_DIALOGKEY:
      if (DialogKeyOfForm(m)) {
        m.Result = 1;
        return;
      }
      break;
    case CM_RELEASE:
      Release();
      return;
    case WM_NCDESTROY:
      if (modal_) modalResult_ = mrCancel;
      break;
    default:
      break;
  }
  TWinControl::WndProc(m);
}

// ---- standard classes for layouts ----

#include "framework/ButtonCtrls.h"
#include "framework/Buttons.h"
#include "framework/ComCtrls.h"
#include "framework/DateCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/GroupCtrls.h"
#include "framework/HeaderCtrls.h"
#include "framework/ImageList.h"
#include "framework/ListCtrls.h"
#include "framework/RangeCtrls.h"
#include "framework/TabCtrls.h"
#include "framework/ToolBars.h"
#include "framework/StdCtrls.h"

void RegisterStandardClasses() {
  static const bool done = [] {
    RegisterClasses({&TForm::StaticClass(), &TButton::StaticClass(), &TEdit::StaticClass(), &TMemo::StaticClass(),
                     &TLabel::StaticClass(), &TStatusBar::StaticClass(), &TTimer::StaticClass(),
                     &TImageList::StaticClass(), &TMainMenu::StaticClass(), &TPopupMenu::StaticClass(),
                     &TMenuItem::StaticClass(), &TPanel::StaticClass()});
    RegisterButtonControlClasses();
    RegisterButtonClasses();
    RegisterListClasses();
    RegisterRangeClasses();
    RegisterTabClasses();
    RegisterGroupClasses();
    RegisterToolBarClasses();
    RegisterHeaderClasses();
    RegisterDateClasses();
    return true;
  }();
  (void)done;
}
