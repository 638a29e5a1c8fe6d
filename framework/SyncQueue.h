// The hand-over of calls from worker threads to the GUI thread. Portable (std::thread
// primitives); the Windows layer installs the wake-up that makes the GUI thread look.
//
// Synchronize(method): run on the GUI thread, wait for the end, rethrow what it threw.
// Queue(method): hand over without waiting. Both kinds share one FIFO, so calls arrive in
// the order they were made. CheckSynchronize() runs on the GUI thread and empties it.
#pragma once

#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

class TSyncQueue {
 public:
  // The GUI thread is the thread that constructs the queue.
  TSyncQueue();
  TSyncQueue(const TSyncQueue&) = delete;
  TSyncQueue& operator=(const TSyncQueue&) = delete;

  std::thread::id OwnerThread() const { return owner_; }
  void SetOwnerThread(std::thread::id id) { owner_ = id; }
  bool OnOwnerThread() const { return std::this_thread::get_id() == owner_; }
  // Called (from any thread) after each new entry; wakes the GUI thread.
  void SetWakeHandler(std::function<void()> wake);

  // On the GUI thread the method runs at once.
  void Synchronize(std::function<void()> method, const void* tag = nullptr);
  void Queue(std::function<void()> method, const void* tag = nullptr);
  // Drops queued (not synchronized) calls made with `tag`.
  void RemoveQueued(const void* tag);
  // GUI thread: runs every waiting call, oldest first; true when any ran. An exception
  // of a queued call goes to the error handler (default: dropped), one of a synchronized
  // call back to its waiting thread.
  bool CheckSynchronize();
  bool HasPending();
  void SetErrorHandler(std::function<void(std::exception_ptr)> handler);

 private:
  struct Entry {
    std::function<void()> method;
    const void* tag = nullptr;
    bool waits = false;
    bool done = false;
    std::exception_ptr error;
  };
  void Push(const std::shared_ptr<Entry>& entry);

  std::thread::id owner_;
  std::mutex lock_;
  std::condition_variable doneSignal_;
  std::deque<std::shared_ptr<Entry>> entries_;
  std::function<void()> wake_;
  std::function<void(std::exception_ptr)> onError_;
};

// The queue of the program's GUI thread (the thread that ran static initialisation).
TSyncQueue& MainSyncQueue();
