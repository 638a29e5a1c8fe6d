// The hand-over of decoded batches from a watcher's worker thread to the GUI thread. The
// worker appends and goes straight back to reading; it never waits for the GUI thread. The
// GUI thread takes the batches in the order they were appended.
//
// The queue is bounded by the memory its changes hold. A batch that would pass the bound
// is dropped and one overflow change (foOverflow, the watched directory) takes its place,
// once per run of dropped batches, so that the loss is reported where it happened.
// Portable; any thread may append, one thread takes.
#pragma once

#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "watch/ChangeRecords.h"

using ChangeBatch = std::vector<FileChange>;

class ChangeQueue {
 public:
  // Generous: about a quarter of a million short names.
  static constexpr size_t kDefaultMaxBytes = size_t{32} << 20;

  explicit ChangeQueue(size_t maxBytes = kDefaultMaxBytes) : maxBytes_(maxBytes) {}
  ChangeQueue(const ChangeQueue&) = delete;
  ChangeQueue& operator=(const ChangeQueue&) = delete;

  // Appends a batch (an empty one is ignored). Returns true when the taker must be
  // scheduled: no earlier append is still waiting for a take that empties the queue.
  bool Push(ChangeBatch batch, const std::u16string& directory);
  // Appends the overflow change for `directory` (the system itself lost changes), unless
  // the last entry already is one.
  bool PushOverflow(const std::u16string& directory);

  // The oldest batch; nullopt when the queue is empty, after which the next append
  // returns true again.
  std::optional<ChangeBatch> Pop();
  // Drops everything waiting.
  void Clear();

  size_t QueuedBatches() const;
  size_t QueuedBytes() const;

  // Memory a change is counted with.
  static size_t CostOf(const FileChange& change);

 private:
  bool ScheduleLocked();
  bool AppendOverflowLocked(const std::u16string& directory);

  mutable std::mutex mutex_;
  std::deque<ChangeBatch> batches_;
  size_t bytes_ = 0;
  const size_t maxBytes_;
  bool scheduled_ = false;
  bool lastIsOverflow_ = false;
};
