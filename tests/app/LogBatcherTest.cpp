// How pending log lines are cut into appends: in order, none lost, each append near the
// time budget.
#include <gtest/gtest.h>

#include <string>

#include "app/LogBatcher.h"

namespace {

std::wstring Line(int i) { return L"line " + std::to_wstring(i); }

TEST(LogBatcher, TakesLinesInOrderEachEndedByCrLf) {
  LogBatcher batcher;
  for (int i = 0; i < 3; ++i) batcher.Add(Line(i));
  size_t count = 0;
  EXPECT_EQ(batcher.Take(count), L"line 0\r\nline 1\r\nline 2\r\n");
  EXPECT_EQ(count, 3u);
  EXPECT_TRUE(batcher.Empty());
  EXPECT_EQ(batcher.Take(count), L"");
  EXPECT_EQ(count, 0u);
}

TEST(LogBatcher, EmptyLinesStayLines) {
  LogBatcher batcher;
  batcher.Add(L"");
  batcher.Add(L"");
  size_t count = 0;
  EXPECT_EQ(batcher.Take(count), L"\r\n\r\n");
  EXPECT_EQ(count, 2u);
}

TEST(LogBatcher, TakeStopsAtTheLimitAndTheRestFollows) {
  LogBatcher batcher;
  const int total = static_cast<int>(LogBatcher::kStartLimit) * 2 + 7;
  for (int i = 0; i < total; ++i) batcher.Add(Line(i));
  std::wstring all;
  size_t taken = 0;
  while (!batcher.Empty()) {
    size_t count = 0;
    all += batcher.Take(count);
    EXPECT_LE(count, batcher.Limit());
    EXPECT_GT(count, 0u);
    taken += count;
  }
  EXPECT_EQ(taken, static_cast<size_t>(total));
  std::wstring expected;
  for (int i = 0; i < total; ++i) expected += Line(i) + L"\r\n";
  EXPECT_EQ(all, expected);
}

TEST(LogBatcher, TakeAllIgnoresTheLimit) {
  LogBatcher batcher;
  const size_t total = LogBatcher::kStartLimit * 3;
  for (size_t i = 0; i < total; ++i) batcher.Add(L"x");
  size_t count = 0;
  EXPECT_EQ(batcher.TakeAll(count).size(), total * 3);
  EXPECT_EQ(count, total);
}

TEST(LogBatcher, SlowAppendsShrinkTheLimitToTheBudget) {
  LogBatcher batcher;
  // 256 lines took 4 times the budget: a quarter of them fits.
  batcher.Appended(LogBatcher::kStartLimit, LogBatcher::kBudgetMs * 4);
  EXPECT_EQ(batcher.Limit(), LogBatcher::kStartLimit / 4);
  // Never below the minimum, however slow.
  batcher.Appended(batcher.Limit(), 1e6);
  EXPECT_EQ(batcher.Limit(), LogBatcher::kMinLimit);
}

TEST(LogBatcher, FastFullAppendsGrowTheLimitUpToTheMaximum) {
  LogBatcher batcher;
  batcher.Appended(LogBatcher::kStartLimit, 1.0);
  EXPECT_EQ(batcher.Limit(), LogBatcher::kStartLimit * 2);
  for (int i = 0; i < 20; ++i) batcher.Appended(batcher.Limit(), 1.0);
  EXPECT_EQ(batcher.Limit(), LogBatcher::kMaxLimit);
}

TEST(LogBatcher, OnlyAFullAppendTellsThatMoreWouldFit) {
  LogBatcher batcher;
  batcher.Appended(3, 0.5);  // a few lines, fast: says nothing about 256
  EXPECT_EQ(batcher.Limit(), LogBatcher::kStartLimit);
  batcher.Appended(LogBatcher::kStartLimit, LogBatcher::kBudgetMs * 0.75);  // within budget
  EXPECT_EQ(batcher.Limit(), LogBatcher::kStartLimit);
  batcher.Appended(0, 1e6);  // nothing appended: nothing learnt
  EXPECT_EQ(batcher.Limit(), LogBatcher::kStartLimit);
}

}  // namespace
