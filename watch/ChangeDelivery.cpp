#include "watch/ChangeDelivery.h"

#include <utility>

ChangeDelivery::ChangeDelivery(Sink sink, Scheduler scheduler, size_t maxQueuedBytes)
    : sink_(std::move(sink)), scheduler_(std::move(scheduler)), queue_(maxQueuedBytes) {}

std::shared_ptr<ChangeDelivery> ChangeDelivery::Create(Sink sink, Scheduler scheduler,
                                                       size_t maxQueuedBytes) {
  return std::shared_ptr<ChangeDelivery>(
      new ChangeDelivery(std::move(sink), std::move(scheduler), maxQueuedBytes));
}

void ChangeDelivery::Schedule() {
  scheduler_([self = shared_from_this()] { self->ProcessBuffer(); });
}

void ChangeDelivery::Post(ChangeBatch batch, const std::u16string& directory) {
  if (queue_.Push(std::move(batch), directory)) Schedule();
}

void ChangeDelivery::PostOverflow(const std::u16string& directory) {
  if (queue_.PushOverflow(directory)) Schedule();
}

void ChangeDelivery::Silence() {
  silenced_ = true;
  queue_.Clear();
}

void ChangeDelivery::ProcessBuffer() {
  if (delivering_) return;
  delivering_ = true;
  try {
    while (std::optional<ChangeBatch> batch = queue_.Pop()) {
      for (const FileChange& change : *batch) {
        if (!active_ || silenced_ || !sink_) {
          queue_.Clear();
          break;
        }
        sink_(change);
      }
    }
  } catch (...) {
    // The rest of the failing handler's batch is lost with it; later batches still come,
    // from a fresh call (the queue still counts as scheduled, so no append asks again).
    delivering_ = false;
    Schedule();
    throw;
  }
  delivering_ = false;
}
