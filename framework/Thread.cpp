#include "framework/Thread.h"

#include <process.h>

#include <atomic>

#include "framework/ClassBuilder.h"
#include "framework/SyncQueue.h"

namespace {

// Static initialisation runs on the program's main thread: that is the GUI thread.
const DWORD gMainThreadId = GetCurrentThreadId();
std::atomic<HWND> gWakeWindow{nullptr};

HANDLE MakeSyncEvent() {
  static HANDLE event = [] {
    HANDLE e = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    // The event lives as long as the process; the queue wakes through it from any thread.
    MainSyncQueue().SetWakeHandler([e] {
      SetEvent(e);
      if (HWND w = gWakeWindow.load()) PostMessageW(w, WM_NULL, 0, 0);
    });
    return e;
  }();
  return event;
}

// Make sure the wake handler is installed before any worker hands over a call.
[[maybe_unused]] const HANDLE gSyncEventAtStart = MakeSyncEvent();

}  // namespace

HANDLE SyncEvent() { return MakeSyncEvent(); }

void SetSyncWakeWindow(HWND window) {
  MakeSyncEvent();
  gWakeWindow = window;
  // Calls handed over before the window existed still get served.
  if (window && MainSyncQueue().HasPending()) PostMessageW(window, WM_NULL, 0, 0);
}

bool CheckSynchronize() { return MainSyncQueue().CheckSynchronize(); }

DWORD WaitServingSynchronize(HANDLE handle, DWORD timeoutMs) {
  if (GetCurrentThreadId() != gMainThreadId) return WaitForSingleObject(handle, timeoutMs);
  const DWORD start = GetTickCount();
  for (;;) {
    CheckSynchronize();
    DWORD remaining = INFINITE;
    if (timeoutMs != INFINITE) {
      const DWORD elapsed = GetTickCount() - start;
      if (elapsed >= timeoutMs) return WaitForSingleObject(handle, 0);
      remaining = timeoutMs - elapsed;
    }
    HANDLE handles[2] = {handle, SyncEvent()};
    const DWORD r = MsgWaitForMultipleObjects(2, handles, FALSE, remaining, QS_SENDMESSAGE);
    if (r == WAIT_OBJECT_0) return WAIT_OBJECT_0;
    if (r == WAIT_OBJECT_0 + 1) continue;
    if (r == WAIT_OBJECT_0 + 2) {
      // Lets messages sent from other threads be delivered; posted ones stay queued.
      MSG msg;
      PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
      continue;
    }
    if (r == WAIT_TIMEOUT) return WAIT_TIMEOUT;
    return r;
  }
}

const TClassInfo& TThread::StaticClass() {
  static const TClassInfo info = TClassBuilder<TThread>("TThread", &Inherited::StaticClass()).Build();
  return info;
}

DWORD TThread::MainThreadID() { return gMainThreadId; }

TThread::TThread(bool /*createSuspended*/) {
  unsigned id = 0;
  const uintptr_t h = _beginthreadex(nullptr, 0, &TThread::ThreadProc, this, CREATE_SUSPENDED, &id);
  if (h == 0) throw Exception("Thread creation error: " + std::to_string(GetLastError()));
  handle_ = reinterpret_cast<HANDLE>(h);
  threadId_ = id;
}

TThread::~TThread() {
  if (!handle_) return;
  if (GetCurrentThreadId() != threadId_) {
    if (!started_.exchange(true)) {
      // Never started: let the thread end without running Execute.
      abandoned_ = true;
      ResumeThread(handle_);
      WaitServingSynchronize(handle_, INFINITE);
    } else if (!finished_) {
      Terminate();
      WaitServingSynchronize(handle_, INFINITE);
    }
  }
  CloseHandle(handle_);
}

void TThread::Start() {
  if (started_.exchange(true)) return;
  ResumeThread(handle_);
}

void TThread::Terminate() {
  terminated_ = true;
  TerminatedSet();
}

DWORD TThread::WaitFor() {
  if (GetCurrentThreadId() == threadId_) throw Exception("A thread cannot wait for itself");
  if (freeOnTerminate_) throw Exception("Cannot wait for a thread that frees itself");
  if (!started_) throw Exception("Cannot wait for a thread that was never started");
  WaitServingSynchronize(handle_, INFINITE);
  DWORD code = 0;
  GetExitCodeThread(handle_, &code);
  return code;
}

void TThread::DoTerminate() {
  if (OnTerminate) Synchronize([this] { OnTerminate(this); });
}

void TThread::Synchronize(std::function<void()> method) { Synchronize(this, std::move(method)); }

void TThread::Queue(std::function<void()> method) { Queue(this, std::move(method)); }

void TThread::Synchronize(TThread* thread, std::function<void()> method) {
  MainSyncQueue().Synchronize(std::move(method), thread);
}

void TThread::Queue(TThread* thread, std::function<void()> method) {
  MainSyncQueue().Queue(std::move(method), thread);
}

void TThread::RemoveQueuedEvents(TThread* thread) { MainSyncQueue().RemoveQueued(thread); }

unsigned __stdcall TThread::ThreadProc(void* self) {
  auto* thread = static_cast<TThread*>(self);
  unsigned result = 0;
  try {
    const bool abandoned = thread->abandoned_;
    if (!abandoned) {
      try {
        thread->Execute();
      } catch (...) {
        thread->fatalException_ = std::current_exception();
      }
      try {
        thread->DoTerminate();
      } catch (...) {
      }
    }
    result = static_cast<unsigned>(thread->returnValue_);
    const bool freeIt = !abandoned && thread->freeOnTerminate_;
    thread->finished_ = true;
    if (freeIt) delete thread;
  } catch (...) {
  }
  return result;
}
