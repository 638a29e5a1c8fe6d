#include "framework/Application.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/Bitmap.h"
#include "framework/ClassBuilder.h"
#include "framework/Forms.h"
#include "framework/ResourceCount.h"
#include "framework/Thread.h"

namespace {

constexpr wchar_t kAppWindowClass[] = L"TApplication";
constexpr UINT_PTR kHintShowTimer = 1;
constexpr UINT_PTR kHintHideTimer = 2;

std::wstring ModuleBaseName() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring name = path;
  const size_t slash = name.find_last_of(L"\\/");
  if (slash != std::wstring::npos) name.erase(0, slash + 1);
  const size_t dot = name.find_last_of(L'.');
  if (dot != std::wstring::npos) name.erase(dot);
  return name;
}

}  // namespace

const TClassInfo& TApplication::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TApplication>("TApplication", &Inherited::StaticClass())
          .Property("Title", &TApplication::Title, &TApplication::SetTitle)
          .Property("ShowHint", &TApplication::ShowHint, &TApplication::SetShowHint)
          .Property("HintPause", &TApplication::HintPause, &TApplication::SetHintPause)
          .Property("HintHidePause", &TApplication::HintHidePause, &TApplication::SetHintHidePause)
          .Build();
  return info;
}

TApplication::TApplication(TComponent* owner) : TComponent(owner), title_(ModuleBaseName()) {}

TApplication::~TApplication() {
  Destroying();
  CancelHint();
  DestroyComponents();  // forms first, while the window still exists
  forms_.clear();
  released_.clear();
  if (hintWindow_) {
    DestroyWindow(hintWindow_);
    hintWindow_ = nullptr;
    ResourceFreed(TResourceKind::Window);
  }
  if (handle_) {
    SetSyncWakeWindow(nullptr);
    DestroyWindow(handle_);
    handle_ = nullptr;
  }
  delete icon_;
}

void TApplication::Initialize() {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  RegisterStandardClasses();
  Handle();
}

HWND TApplication::Handle() {
  if (handle_) return handle_;
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  if (!icon_) {
    icon_ = new TIcon;
    if (!icon_->LoadFromResourceName(instance, L"MAINICON"))
      icon_->SetHandle(LoadIconW(nullptr, IDI_APPLICATION), false);
  }
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  if (!GetClassInfoExW(instance, kAppWindowClass, &wc)) {
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &TApplication::WndProc;
    wc.hInstance = instance;
    wc.hIcon = icon_->Handle();
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kAppWindowClass;
    if (!RegisterClassExW(&wc)) throw Exception("cannot register the application window class");
  }
  // Hidden, zero-sized, never shown: it receives the thread hand-over wake-ups and timers.
  HWND window = CreateWindowExW(0, kAppWindowClass, title_.c_str(),
                                WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                                GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0,
                                nullptr, nullptr, instance, nullptr);
  if (!window) throw Exception("cannot create the application window");
  ResourceCreated(TResourceKind::Window);
  handle_ = window;
  SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_->Handle()));
  SetSyncWakeWindow(window);
  return handle_;
}

LRESULT CALLBACK TApplication::WndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  try {
    TApplication* app = Application && Application->handle_ == window ? Application : nullptr;
    switch (msg) {
      case WM_NULL:
        CheckSynchronize();
        if (app) app->FreeReleasedForms();
        return 0;
      case WM_TIMER:
        if (!app) break;
        KillTimer(window, wParam);
        if (wParam == kHintShowTimer && app->hintControl_ && app->hintControl_ == app->mouseControl_) {
          app->ShowHintNow();
        } else if (wParam == kHintHideTimer) {
          app->CancelHint();
        }
        return 0;
      case WM_NCDESTROY:
        ResourceFreed(TResourceKind::Window);
        break;
      case WM_CLOSE:
        if (app) {
          if (app->mainForm_) {
            app->mainForm_->Close();
          } else {
            app->Terminate();
          }
          return 0;
        }
        break;
      default:
        break;
    }
  } catch (...) {
    if (Application) Application->HandleException(std::current_exception());
    return 0;
  }
  return DefWindowProcW(window, msg, wParam, lParam);
}

void TApplication::SetTitle(const std::wstring& title) {
  title_ = title;
  if (handle_) SetWindowTextW(handle_, title_.c_str());
}

TCustomForm* TApplication::Forms(int index) const {
  if (index < 0 || index >= FormCount()) return nullptr;
  return forms_[static_cast<size_t>(index)];
}

TCustomForm* TApplication::ActiveForm() const {
  HWND active = GetActiveWindow();
  for (TCustomForm* f : forms_)
    if (f->HandleAllocated() && f->Handle() == active) return f;
  return nullptr;
}

void TApplication::AddForm(TCustomForm* form) {
  if (std::find(forms_.begin(), forms_.end(), form) == forms_.end()) forms_.push_back(form);
}

void TApplication::RemoveForm(TCustomForm* form) {
  forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
  released_.erase(std::remove(released_.begin(), released_.end(), form), released_.end());
  if (mainForm_ == form) mainForm_ = nullptr;
}

void TApplication::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
}

void TApplication::FormConstructed(TComponent* component) {
  auto* form = dynamic_cast<TCustomForm*>(component);
  if (!form) return;  // any component may be made this way; only forms load layouts
  RegisterStandardClasses();
  form->ReadLayoutResource();
  form->DoCreate();
  if (!mainForm_) mainForm_ = form;
}

void TApplication::ReleaseForm(TCustomForm* form) {
  if (std::find(released_.begin(), released_.end(), form) == released_.end()) released_.push_back(form);
  PostMessageW(Handle(), WM_NULL, 0, 0);
}

void TApplication::FreeReleasedForms() {
  while (!released_.empty()) {
    TCustomForm* form = released_.back();
    released_.pop_back();
    delete form;  // its destructor calls RemoveForm
  }
}

void TApplication::Terminate() {
  if (terminated_) return;
  terminated_ = true;
  PostQuitMessage(0);
}

bool TApplication::IsKeyMsg(MSG& msg) {
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
  TWinControl* control = FindControl(msg.hwnd);
  if (!control) {
    // The edit part of a combo box and the like: ask the framework parent.
    HWND parent = GetParent(msg.hwnd);
    if (parent) control = FindControl(parent);
  }
  if (!control) return false;
  return control->Perform(CN_BASE + msg.message, msg.wParam, msg.lParam) != 0;
}

bool TApplication::IsMDIMsg(MSG& msg) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
  // While an MDI child has the focus, its MDI form is the active window.
  TCustomForm* form = ActiveForm();
  if (form == nullptr || form->FormStyle() != fsMDIForm || form->ClientHandle() == nullptr) return false;
  return TranslateMDISysAccel(form->ClientHandle(), &msg) != FALSE;
}

bool TApplication::ProcessMessage(MSG& msg) {
  if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    terminated_ = true;
    return true;
  }
  bool handled = false;
  try {
    handled = IsMDIMsg(msg) || IsKeyMsg(msg);
  } catch (...) {
    HandleException(std::current_exception());
    handled = true;
  }
  if (!handled) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return true;
}

void TApplication::ProcessMessages() {
  MSG msg;
  CheckSynchronize();
  while (ProcessMessage(msg)) {
  }
  CheckSynchronize();
  FreeReleasedForms();
}

void TApplication::Idle() {
  // A call that ran may have changed what the caller's loop waits for (a modal result,
  // Terminate): return to it instead of sleeping.
  if (CheckSynchronize()) return;
  if (!released_.empty()) {
    FreeReleasedForms();
    return;
  }
  // Sleep until a message arrives or a worker hands over a call.
  HANDLE event = SyncEvent();
  MsgWaitForMultipleObjects(1, &event, FALSE, INFINITE, QS_ALLINPUT);
}

void TApplication::HandleMessage() {
  MSG msg;
  if (!ProcessMessage(msg)) Idle();
}

void TApplication::Run() {
  Handle();
  if (mainForm_ && showMainForm_) mainForm_->Show();
  while (!terminated_) HandleMessage();
}

void TApplication::HandleException(std::exception_ptr error) {
  if (OnException) {
    try {
      OnException(error);
    } catch (...) {
    }
    return;
  }
  // Nobody listens: leave a trace for a debugger and keep running.
  try {
    if (error) std::rethrow_exception(error);
  } catch (const std::exception& e) {
    OutputDebugStringA(e.what());
  } catch (...) {
    OutputDebugStringA("unknown exception at a framework boundary");
  }
}

// ---- mouse tracking and hints ----

void TApplication::SetShowHint(bool value) {
  showHint_ = value;
  if (!value) CancelHint();
}

void TApplication::SetMouseControl(TControl* control) {
  if (control == mouseControl_) return;
  TControl* old = mouseControl_;
  mouseControl_ = control;
  if (hintControl_ && hintControl_ != control) CancelHint();
  if (old) old->Perform(CM_MOUSELEAVE);
  if (control && mouseControl_ == control) {
    control->Perform(CM_MOUSEENTER);
    if (showHint_ && control->ShowHint() && !control->Hint().empty() && mouseControl_ == control) {
      hintControl_ = control;
      if (hintPause_ <= 0) {
        ShowHintNow();
      } else {
        SetTimer(Handle(), kHintShowTimer, static_cast<UINT>(hintPause_), nullptr);
      }
    }
  }
}

void TApplication::ControlDestroying(TControl* control) {
  if (hintControl_ == control) CancelHint();
  if (mouseControl_ == control) mouseControl_ = nullptr;
}

void TApplication::ShowHintNow() {
  if (!hintControl_) return;
  if (!hintWindow_) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    hintWindow_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Handle(), nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    if (!hintWindow_) return;
    ResourceCreated(TResourceKind::Window);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_TRACK | TTF_ABSOLUTE;
    tool.hwnd = Handle();
    tool.uId = 1;
    tool.lpszText = const_cast<wchar_t*>(L"");
    SendMessageW(hintWindow_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(hintWindow_, TTM_SETMAXTIPWIDTH, 0, 400);
  }
  currentHint_ = hintControl_->Hint();
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = Handle();
  tool.uId = 1;
  tool.lpszText = currentHint_.data();
  SendMessageW(hintWindow_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  POINT p{};
  GetCursorPos(&p);
  SendMessageW(hintWindow_, TTM_TRACKPOSITION, 0, MAKELPARAM(p.x, p.y + 20));
  SendMessageW(hintWindow_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
  if (hintHidePause_ > 0) SetTimer(Handle(), kHintHideTimer, static_cast<UINT>(hintHidePause_), nullptr);
}

void TApplication::CancelHint() {
  if (handle_) {
    KillTimer(handle_, kHintShowTimer);
    KillTimer(handle_, kHintHideTimer);
  }
  if (hintWindow_ && !currentHint_.empty()) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = handle_;
    tool.uId = 1;
    SendMessageW(hintWindow_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
  }
  currentHint_.clear();
  hintControl_ = nullptr;
}

TApplication* Application = nullptr;

namespace {

// The application object lives from static initialisation to static destruction.
struct ApplicationHolder {
  ApplicationHolder() { Application = new TApplication(nullptr); }
  ~ApplicationHolder() {
    delete Application;
    Application = nullptr;
  }
} gApplicationHolder;

}  // namespace
