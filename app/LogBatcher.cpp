#include "app/LogBatcher.h"

#include <algorithm>

void LogBatcher::Add(std::wstring line) { lines_.push_back(std::move(line)); }

std::wstring LogBatcher::TakeAtMost(size_t most, size_t& count) {
  count = std::min(most, lines_.size());
  size_t length = 0;
  for (size_t i = 0; i < count; ++i) length += lines_[i].size() + 2;
  std::wstring text;
  text.reserve(length);
  for (size_t i = 0; i < count; ++i) {
    text += lines_.front();
    text += L"\r\n";
    lines_.pop_front();
  }
  return text;
}

std::wstring LogBatcher::Take(size_t& count) { return TakeAtMost(limit_, count); }

std::wstring LogBatcher::TakeAll(size_t& count) { return TakeAtMost(lines_.size(), count); }

void LogBatcher::Appended(size_t count, double milliseconds) {
  if (count == 0) return;
  if (milliseconds > kBudgetMs) {
    // Scale down to what the measured rate says fits the budget.
    const double fitting = static_cast<double>(count) * kBudgetMs / milliseconds;
    limit_ = std::clamp(static_cast<size_t>(fitting), kMinLimit, kMaxLimit);
  } else if (count >= limit_ && milliseconds < kBudgetMs / 2) {
    limit_ = std::min(limit_ * 2, kMaxLimit);
  }
}
