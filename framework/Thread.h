// TThread: a worker thread object in the RAD-library manner.
//
// - Created suspended (TThread(true)): Start() (or Resume()) runs Execute(). Created not
//   suspended (TThread(false)): C++ cannot run code after the most derived constructor, so
//   such a thread starts when the creator calls Start(), or at once through
//   TThread::New<T>(args...), which constructs and then starts it.
// - Terminate() sets the flag that Execute polls (Terminated()); it wakes nothing.
// - FreeOnTerminate: the object deletes itself on its own thread when Execute returns
//   (after OnTerminate ran on the GUI thread). Do not WaitFor such a thread.
// - Synchronize(method): runs method on the GUI thread and waits for it; an exception
//   thrown there is rethrown in the calling thread. Queue(method): hands method to the
//   GUI thread without waiting; queued and synchronized calls arrive in call order. A
//   queued call runs even if the thread has ended by then: capture by value what it needs.
// - The GUI thread serves these calls from its message loop (a posted wake-up to the
//   hidden application window) and while it waits in WaitFor or any modal loop of the
//   framework, so waiting on the GUI thread for a thread that synchronizes never
//   deadlocks.
// - Deleting a thread object that is still running first terminates and waits for it;
//   a derived class whose Execute uses its own members must stop the thread in its own
//   destructor (or the owner waits first), since those members go before ~TThread runs.
#pragma once

#include <windows.h>

#include <atomic>
#include <exception>
#include <functional>

#include "framework/Classes.h"

class TThread : public TObject {
  FRAMEWORK_CLASS(TThread, TObject)

 public:
  explicit TThread(bool createSuspended);
  ~TThread() override;

  // Constructs T and starts it.
  template <class T, class... Args>
  static T* New(Args&&... args) {
    T* thread = new T(std::forward<Args>(args)...);
    thread->Start();
    return thread;
  }

  void Start();
  void Resume() { Start(); }
  void Terminate();
  bool Terminated() const { return terminated_.load(); }
  bool Started() const { return started_.load(); }
  bool Finished() const { return finished_.load(); }
  bool FreeOnTerminate() const { return freeOnTerminate_.load(); }
  void SetFreeOnTerminate(bool value) { freeOnTerminate_ = value; }
  // Waits until Execute has returned; returns ReturnValue. On the GUI thread it keeps
  // serving Synchronize/Queue calls and sent messages while it waits.
  DWORD WaitFor();
  HANDLE Handle() const { return handle_; }
  DWORD ThreadID() const { return threadId_; }
  int ReturnValue() const { return returnValue_; }
  // What Execute threw, if anything (kept until the object is freed).
  std::exception_ptr FatalException() const { return fatalException_; }

  // Runs on the GUI thread when Execute has returned (through Synchronize).
  TNotifyEvent OnTerminate;

  void Synchronize(std::function<void()> method);
  void Queue(std::function<void()> method);
  // For code that is not a TThread (or a thread that is not this one).
  static void Synchronize(TThread* thread, std::function<void()> method);
  static void Queue(TThread* thread, std::function<void()> method);
  // Drops queued calls of `thread` that have not run yet.
  static void RemoveQueuedEvents(TThread* thread);

  static DWORD MainThreadID();
  static bool OnMainThread() { return GetCurrentThreadId() == MainThreadID(); }

 protected:
  virtual void Execute() = 0;
  // The termination hook: runs OnTerminate on the GUI thread.
  virtual void DoTerminate();
  // Called by Terminate() after the flag is set (on the calling thread).
  virtual void TerminatedSet() {}
  void SetReturnValue(int value) { returnValue_ = value; }

 private:
  static unsigned __stdcall ThreadProc(void* self);

  HANDLE handle_ = nullptr;
  DWORD threadId_ = 0;
  std::atomic<bool> started_{false};
  std::atomic<bool> finished_{false};
  std::atomic<bool> terminated_{false};
  std::atomic<bool> freeOnTerminate_{false};
  // Set when an unstarted thread is deleted: the thread then ends without Execute.
  std::atomic<bool> abandoned_{false};
  int returnValue_ = 0;
  std::exception_ptr fatalException_;
};

// Runs waiting Synchronize/Queue calls on the GUI thread; true when any ran. The message
// loop calls it; other GUI-thread waits may call it too.
bool CheckSynchronize();
// An auto-reset event set whenever a call is handed to the GUI thread; GUI-thread waits
// include it in their handle list.
HANDLE SyncEvent();
// The window that receives the wake-up message (the hidden application window); the
// application sets it when it creates its window. nullptr: only the event wakes.
void SetSyncWakeWindow(HWND window);
// Waits on the GUI thread for `handle` (or until `timeoutMs`), serving Synchronize and
// Queue calls and sent messages meanwhile. Returns WAIT_OBJECT_0 or WAIT_TIMEOUT.
DWORD WaitServingSynchronize(HANDLE handle, DWORD timeoutMs);
