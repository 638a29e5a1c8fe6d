#include "watch/ChangeQueue.h"

#include <utility>

size_t ChangeQueue::CostOf(const FileChange& change) {
  return sizeof(FileChange) + sizeof(char16_t) * (change.fileName1.size() + change.fileName2.size());
}

bool ChangeQueue::ScheduleLocked() {
  if (scheduled_) return false;
  scheduled_ = true;
  return true;
}

bool ChangeQueue::AppendOverflowLocked(const std::u16string& directory) {
  if (lastIsOverflow_) return false;
  ChangeBatch marker{{foOverflow, directory, {}}};
  bytes_ += CostOf(marker.front());
  batches_.push_back(std::move(marker));
  lastIsOverflow_ = true;
  return true;
}

bool ChangeQueue::Push(ChangeBatch batch, const std::u16string& directory) {
  if (batch.empty()) return false;
  size_t cost = 0;
  for (const FileChange& c : batch) cost += CostOf(c);
  std::lock_guard<std::mutex> lock(mutex_);
  if (cost > maxBytes_ || bytes_ > maxBytes_ - cost) {
    if (!AppendOverflowLocked(directory)) return false;
  } else {
    bytes_ += cost;
    batches_.push_back(std::move(batch));
    lastIsOverflow_ = false;
  }
  return ScheduleLocked();
}

bool ChangeQueue::PushOverflow(const std::u16string& directory) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!AppendOverflowLocked(directory)) return false;
  return ScheduleLocked();
}

std::optional<ChangeBatch> ChangeQueue::Pop() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (batches_.empty()) {
    scheduled_ = false;
    return std::nullopt;
  }
  ChangeBatch batch = std::move(batches_.front());
  batches_.pop_front();
  for (const FileChange& c : batch) bytes_ -= CostOf(c);
  if (batches_.empty()) lastIsOverflow_ = false;
  return batch;
}

void ChangeQueue::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  batches_.clear();
  bytes_ = 0;
  lastIsOverflow_ = false;
}

size_t ChangeQueue::QueuedBatches() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return batches_.size();
}

size_t ChangeQueue::QueuedBytes() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return bytes_;
}
