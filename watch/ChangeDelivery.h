// The GUI-thread end of a watcher's worker: it owns the queue the worker appends decoded
// batches to, asks the GUI thread to run ProcessBuffer when the queue stops being empty,
// and there hands each change to the sink (the watcher's handler) in order.
//
// Threads: Post and PostOverflow on the worker; everything else on the GUI thread only,
// so the active flag and the sink are never read by the worker. The object is shared:
// the worker and every scheduled ProcessBuffer call hold it, so a worker that has ended
// and freed itself leaves nothing dangling. Portable.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "watch/ChangeQueue.h"

class ChangeDelivery : public std::enable_shared_from_this<ChangeDelivery> {
 public:
  using Sink = std::function<void(const FileChange&)>;
  // Runs a call on the GUI thread later, in the order of the requests, without waiting.
  using Scheduler = std::function<void(std::function<void()>)>;

  static std::shared_ptr<ChangeDelivery> Create(Sink sink, Scheduler scheduler,
                                                size_t maxQueuedBytes = ChangeQueue::kDefaultMaxBytes);

  // Worker thread: hand over a decoded batch, or report that the system lost changes.
  void Post(ChangeBatch batch, const std::u16string& directory);
  void PostOverflow(const std::u16string& directory);

  // GUI thread. While inactive nothing is delivered and queued batches are dropped.
  void SetActive(bool active) { active_ = active; }
  bool Active() const { return active_; }
  // For good: the worker was replaced or stopped; nothing of it reaches a handler again.
  void Silence();
  bool Silenced() const { return silenced_; }

  // GUI thread: delivers the queued batches in order. A change is delivered only while
  // the delivery is active and not silenced, checked before each change, so a handler
  // that deactivates its watcher stops the rest of the batch and everything queued. A
  // call made from inside a handler (a modal loop that serves queued calls) returns at
  // once: the outer call goes on in order, and no handler runs nested in another.
  void ProcessBuffer();

  size_t QueuedBatches() const { return queue_.QueuedBatches(); }

 private:
  ChangeDelivery(Sink sink, Scheduler scheduler, size_t maxQueuedBytes);
  void Schedule();

  Sink sink_;
  Scheduler scheduler_;
  ChangeQueue queue_;
  bool active_ = false;
  bool silenced_ = false;
  bool delivering_ = false;
};
