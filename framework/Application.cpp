#include "framework/Application.h"

#include <algorithm>

#include "framework/ClassBuilder.h"
#include "framework/ResourceCount.h"
#include "framework/Thread.h"

namespace {

constexpr wchar_t kAppWindowClass[] = L"TApplication";

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
      TClassBuilder<TApplication>("TApplication", &Inherited::StaticClass()).Build();
  return info;
}

TApplication::TApplication(TComponent* owner) : TComponent(owner), title_(ModuleBaseName()) {}

TApplication::~TApplication() {
  Destroying();
  DestroyComponents();  // forms first, while the window still exists
  if (handle_) {
    SetSyncWakeWindow(nullptr);
    DestroyWindow(handle_);
    handle_ = nullptr;
  }
}

void TApplication::Initialize() { Handle(); }

HWND TApplication::Handle() {
  if (handle_) return handle_;
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  if (!GetClassInfoExW(instance, kAppWindowClass, &wc)) {
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &TApplication::WndProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, L"MAINICON");
    if (!wc.hIcon) wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kAppWindowClass;
    if (!RegisterClassExW(&wc)) throw Exception("cannot register the application window class");
  }
  // Hidden, zero-sized, never shown: it receives the thread hand-over wake-ups.
  HWND window = CreateWindowExW(0, kAppWindowClass, title_.c_str(),
                                WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                                GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0,
                                nullptr, nullptr, instance, this);
  if (!window) throw Exception("cannot create the application window");
  ResourceCreated(TResourceKind::Window);
  handle_ = window;
  SetSyncWakeWindow(window);
  return handle_;
}

LRESULT CALLBACK TApplication::WndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  try {
    switch (msg) {
      case WM_NULL:
        CheckSynchronize();
        return 0;
      case WM_NCDESTROY:
        ResourceFreed(TResourceKind::Window);
        break;
      case WM_CLOSE:
        if (Application && Application->handle_ == window) {
          Application->Terminate();
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

void TApplication::AddForm(TCustomForm* form) {
  if (std::find(forms_.begin(), forms_.end(), form) == forms_.end()) forms_.push_back(form);
}

void TApplication::RemoveForm(TCustomForm* form) {
  forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
  if (mainForm_ == form) mainForm_ = nullptr;
}

void TApplication::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
}

void TApplication::Terminate() {
  if (terminated_) return;
  terminated_ = true;
  PostQuitMessage(0);
}

bool TApplication::ProcessMessage(MSG& msg) {
  if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    terminated_ = true;
    return true;
  }
  if (!IsKeyMsg(msg)) {
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
}

void TApplication::Idle() {
  CheckSynchronize();
  // Sleep until a message arrives or a worker hands over a call.
  HANDLE event = SyncEvent();
  MsgWaitForMultipleObjects(1, &event, FALSE, INFINITE, QS_ALLINPUT);
}

void TApplication::HandleMessage() {
  MSG msg;
  if (!ProcessMessage(msg)) Idle();
}

void TApplication::HandleException(std::exception_ptr error) {
  if (OnException) {
    try {
      OnException(error);
    } catch (...) {
    }
  }
}

// Filled in by the forms layer as it grows; kept minimal here.
void TApplication::FormConstructed(TComponent* /*form*/) {}
bool TApplication::IsKeyMsg(MSG& /*msg*/) { return false; }
TCustomForm* TApplication::ActiveForm() const { return nullptr; }

void TApplication::Run() {
  Handle();
  while (!terminated_) HandleMessage();
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
