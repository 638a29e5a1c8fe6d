#include "app/ChangeLog.h"

#include "framework/Application.h"
#include "framework/StdCtrls.h"

namespace {

constexpr wchar_t kWindowClass[] = L"PtestChangeLog";
constexpr UINT_PTR kTimerId = 1;
constexpr UINT kAppendMessage = WM_APP + 1;

double NowMs() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

}  // namespace

TChangeLog::TChangeLog(TCustomMemo* memo) : memo_(memo) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  if (!GetClassInfoExW(instance, kWindowClass, &windowClass)) {
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &TChangeLog::WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kWindowClass;
    RegisterClassExW(&windowClass);
  }
  window_ = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
  if (!window_) throw Exception("cannot create the log writer's window");
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TChangeLog::~TChangeLog() {
  SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  DestroyWindow(window_);
}

LRESULT CALLBACK TChangeLog::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    auto* self = reinterpret_cast<TChangeLog*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == WM_TIMER && wParam == kTimerId) {
      self->AppendNext();
      return 0;
    }
    if (self && message == kAppendMessage) {
      self->appendPosted_ = false;
      self->AppendNext();
      return 0;
    }
  } catch (...) {
    if (Application) Application->HandleException(std::current_exception());
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void TChangeLog::Add(std::wstring line) {
  const bool wasEmpty = batcher_.Empty();
  batcher_.Add(std::move(line));
  if (wasEmpty) {
    waitingSince_ = GetTickCount();
    Arm(kCoalesceMs);
  } else if (!appendPosted_ && GetTickCount() - waitingSince_ >= kMaxWaitMs) {
    appendPosted_ = PostMessageW(window_, kAppendMessage, 0, 0) != FALSE;
  }
}

void TChangeLog::Flush() {
  Disarm();
  size_t count = 0;
  const std::wstring text = batcher_.TakeAll(count);
  Append(text, count);
}

void TChangeLog::AppendNext() {
  size_t count = 0;
  const std::wstring text = batcher_.Take(count);
  if (batcher_.Empty()) {
    Disarm();
  } else {
    waitingSince_ = GetTickCount();
    Arm(kNextChunkMs);
  }
  Append(text, count);
}

void TChangeLog::Append(const std::wstring& text, size_t count) {
  if (count == 0) return;
  const double start = NowMs();
  memo_->AppendText(text);
  batcher_.Appended(count, NowMs() - start);
}

void TChangeLog::Arm(UINT milliseconds) {
  // Re-arming with the same interval would restart the count: a new line must not push
  // the pending append further away.
  if (armedMs_ == milliseconds) return;
  SetTimer(window_, kTimerId, milliseconds, nullptr);
  armedMs_ = milliseconds;
}

void TChangeLog::Disarm() {
  if (armedMs_ == 0) return;
  KillTimer(window_, kTimerId);
  armedMs_ = 0;
}
