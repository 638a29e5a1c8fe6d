#include "framework/SyncQueue.h"

#include <algorithm>

TSyncQueue::TSyncQueue() : owner_(std::this_thread::get_id()) {}

void TSyncQueue::SetWakeHandler(std::function<void()> wake) {
  std::lock_guard guard(lock_);
  wake_ = std::move(wake);
}

void TSyncQueue::SetErrorHandler(std::function<void(std::exception_ptr)> handler) {
  std::lock_guard guard(lock_);
  onError_ = std::move(handler);
}

void TSyncQueue::Push(const std::shared_ptr<Entry>& entry) {
  std::function<void()> wake;
  {
    std::lock_guard guard(lock_);
    entries_.push_back(entry);
    wake = wake_;
  }
  if (wake) wake();
}

void TSyncQueue::Synchronize(std::function<void()> method, const void* tag) {
  if (!method) return;
  if (OnOwnerThread()) {
    method();
    return;
  }
  auto entry = std::make_shared<Entry>();
  entry->method = std::move(method);
  entry->tag = tag;
  entry->waits = true;
  Push(entry);
  std::unique_lock guard(lock_);
  doneSignal_.wait(guard, [&] { return entry->done; });
  if (entry->error) std::rethrow_exception(entry->error);
}

void TSyncQueue::Queue(std::function<void()> method, const void* tag) {
  if (!method) return;
  auto entry = std::make_shared<Entry>();
  entry->method = std::move(method);
  entry->tag = tag;
  Push(entry);
}

void TSyncQueue::RemoveQueued(const void* tag) {
  std::lock_guard guard(lock_);
  entries_.erase(std::remove_if(entries_.begin(), entries_.end(),
                                [tag](const auto& e) { return !e->waits && e->tag == tag; }),
                 entries_.end());
}

bool TSyncQueue::HasPending() {
  std::lock_guard guard(lock_);
  return !entries_.empty();
}

bool TSyncQueue::CheckSynchronize() {
  if (!OnOwnerThread()) return false;
  bool ran = false;
  // One entry at a time: a call may itself synchronize, pump messages or queue more.
  for (;;) {
    std::shared_ptr<Entry> entry;
    std::function<void(std::exception_ptr)> onError;
    {
      std::lock_guard guard(lock_);
      if (entries_.empty()) break;
      entry = entries_.front();
      entries_.pop_front();
      onError = onError_;
    }
    ran = true;
    std::exception_ptr error;
    try {
      entry->method();
    } catch (...) {
      error = std::current_exception();
    }
    entry->method = nullptr;  // release captures on the GUI thread
    if (entry->waits) {
      std::lock_guard guard(lock_);
      entry->error = error;
      entry->done = true;
      doneSignal_.notify_all();
    } else if (error && onError) {
      try {
        onError(error);
      } catch (...) {
      }
    }
  }
  return ran;
}

namespace {
// Constructed during static initialisation, that is on the program's main thread.
[[maybe_unused]] TSyncQueue& gMainQueue = MainSyncQueue();
}  // namespace

TSyncQueue& MainSyncQueue() {
  static TSyncQueue queue;
  return queue;
}
