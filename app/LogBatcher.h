// Lines waiting for the log box, and how many of them go into the next append. Portable.
//
// Under Wine each append to a visible multi-line edit costs about 20 ms whatever its
// length, plus a share per line; so lines that arrive together are appended together,
// in order. A single append must not hold the GUI thread for long, though, or the window
// stops answering during a burst: the batcher keeps the number of lines per append near
// what fits a time budget, learning from how long the last appends took.
#pragma once

#include <cstddef>
#include <deque>
#include <string>

class LogBatcher {
 public:
  static constexpr size_t kMinLimit = 32;
  static constexpr size_t kMaxLimit = 8192;
  static constexpr size_t kStartLimit = 256;
  static constexpr double kBudgetMs = 60.0;

  void Add(std::wstring line);
  bool Empty() const { return lines_.empty(); }
  size_t Pending() const { return lines_.size(); }
  // Lines one append takes at most.
  size_t Limit() const { return limit_; }

  // Removes the oldest lines, at most Limit(), and returns them joined, each ended by
  // CR LF. `count` receives the number of lines taken.
  std::wstring Take(size_t& count);
  // Everything pending, joined the same way (for a final flush).
  std::wstring TakeAll(size_t& count);
  // How long appending `count` lines took: adjusts Limit() so that appends stay near the
  // budget (only a full append tells that more lines would have fitted).
  void Appended(size_t count, double milliseconds);

 private:
  std::wstring TakeAtMost(size_t most, size_t& count);

  std::deque<std::wstring> lines_;
  size_t limit_ = kStartLimit;
};
