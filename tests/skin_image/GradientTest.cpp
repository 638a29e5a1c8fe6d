#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "framework/SysUtils.h"
#include "skin/image/ColourMath.h"
#include "skin/image/Gradient.h"

namespace {

constexpr int32_t kBlack = 0x000000;
constexpr int32_t kWhite = 0xFFFFFF;
const int32_t kRed = MakeColour(255, 0, 0);

std::vector<int> Reds(const std::vector<int32_t>& entries) {
  std::vector<int> reds;
  for (int32_t c : entries) reds.push_back(RedOf(c));
  return reds;
}

TEST(Gradient, OneColourIsTheTruncatedMiddle) {
  GradientCache cache;
  const int slot = cache.Build(1, kBlack, kWhite);
  EXPECT_EQ(cache.Entries(slot), (std::vector<int32_t>{MakeColour(127, 127, 127)}));
  // Falling: 255 + (-255) / 2 = 255 - 127 (toward zero).
  EXPECT_EQ(GradientColour(1, kWhite, kBlack, 0), MakeColour(128, 128, 128));
}

TEST(Gradient, RisingChannelsRoundHalfUpAndEndOnTheEndColour) {
  GradientCache cache;
  const int slot = cache.Build(3, kBlack, kRed);
  EXPECT_EQ(Reds(cache.Entries(slot)), (std::vector<int>{0, 128, 255}));
  for (int32_t c : cache.Entries(slot)) {
    EXPECT_EQ(GreenOf(c), 0);
    EXPECT_EQ(BlueOf(c), 0);
  }
  const int two = cache.Build(2, MakeColour(10, 20, 30), MakeColour(40, 50, 60));
  EXPECT_EQ(cache.Entries(two),
            (std::vector<int32_t>{MakeColour(10, 20, 30), MakeColour(40, 50, 60)}));
  // 5 colours 0 .. 10: steps 4, half 2: (10 i + 2) / 4 = 0, 3, 5, 8, 10.
  const int five = cache.Build(5, kBlack, MakeColour(0, 10, 0));
  std::vector<int> greens;
  for (int32_t c : cache.Entries(five)) greens.push_back(GreenOf(c));
  EXPECT_EQ(greens, (std::vector<int>{0, 3, 5, 8, 10}));
}

TEST(Gradient, FallingChannelEndsOneAboveAndIsNeverFoundAgain) {
  GradientCache cache;
  const int first = cache.Build(3, kRed, kBlack);
  EXPECT_EQ(Reds(cache.Entries(first)), (std::vector<int>{255, 128, 1}));
  EXPECT_EQ(cache.Find(3, kRed, kBlack), -1);
  const int again = cache.Get(3, kRed, kBlack);
  EXPECT_EQ(again, (first + 1) % GradientCache::kSlots);
  EXPECT_EQ(cache.Get(3, kRed, kBlack), (first + 2) % GradientCache::kSlots);
  // Two colours have no rounding step, so they end on the end colour and are found.
  const int two = cache.Build(2, kRed, kBlack);
  EXPECT_EQ(cache.Get(2, kRed, kBlack), two);
}

TEST(Gradient, FindMatchesCountFirstAndLastAndPrefersTheHighestSlot) {
  GradientCache cache;
  EXPECT_EQ(cache.Find(4, kBlack, kWhite), -1);
  for (int i = 0; i < 5; ++i) cache.Build(7, MakeColour(i, 0, 0), kWhite);
  const int low = cache.Build(4, kBlack, kWhite);
  cache.Build(5, kBlack, kWhite);
  const int high = cache.Build(4, kBlack, kWhite);
  ASSERT_LT(low, high);
  EXPECT_EQ(cache.Find(4, kBlack, kWhite), high);
  EXPECT_EQ(cache.Find(5, kBlack, kWhite), high - 1);
  EXPECT_EQ(cache.Find(6, kBlack, kWhite), -1);            // count differs
  EXPECT_EQ(cache.Find(4, MakeColour(1, 0, 0), kWhite), -1);  // first entry differs
  EXPECT_EQ(cache.Find(4, kBlack, MakeColour(254, 255, 255)), -1);
  // Get finds without building: the counter stays.
  const int next = cache.NextSlot();
  EXPECT_EQ(cache.Get(4, kBlack, kWhite), high);
  EXPECT_EQ(cache.NextSlot(), next);
}

TEST(Gradient, SlotsAreReplacedInCyclicOrder) {
  GradientCache cache;
  std::vector<int> slots;
  for (int i = 0; i < 2 * GradientCache::kSlots + 3; ++i)
    slots.push_back(cache.Build(2, MakeColour(i, 0, 0), kWhite));
  for (size_t i = 0; i < slots.size(); ++i) EXPECT_EQ(slots[i], static_cast<int>(i % 16));
  // The oldest gradients are gone; the last 16 are there.
  EXPECT_EQ(cache.Find(2, MakeColour(0, 0, 0), kWhite), -1);
  EXPECT_EQ(cache.Find(2, MakeColour(34, 0, 0), kWhite), 2);
  EXPECT_EQ(cache.Find(2, MakeColour(19, 0, 0), kWhite), 3);
}

TEST(Gradient, CountBelowOneIsTheCallersError) {
  GradientCache cache;
  for (int32_t count : {0, -1, std::numeric_limits<int32_t>::min()}) {
    EXPECT_THROW(cache.Find(count, kBlack, kWhite), EAssertionFailed);
    EXPECT_THROW(cache.Build(count, kBlack, kWhite), EAssertionFailed);
    EXPECT_THROW(cache.Get(count, kBlack, kWhite), EAssertionFailed);
    EXPECT_THROW(GradientColour(count, kBlack, kWhite, 0), EAssertionFailed);
  }
  EXPECT_EQ(cache.NextSlot(), 0);
  EXPECT_TRUE(cache.Entries(0).empty());
  EXPECT_TRUE(cache.Entries(-1).empty());
  EXPECT_TRUE(cache.Entries(16).empty());
}

TEST(Gradient, HugeCountsComputeWithoutOverflow) {
  const int32_t count = std::numeric_limits<int32_t>::max();
  EXPECT_EQ(GradientColour(count, kBlack, kWhite, count - 1), kWhite);
  EXPECT_EQ(GradientColour(count, kBlack, kWhite, 0), kBlack);
  EXPECT_EQ(RedOf(GradientColour(count, kBlack, kWhite, count / 2)), 128);
}

TEST(Gradient, TheProcessWideCacheServesTheFreeFunctions) {
  const int32_t start = MakeColour(1, 2, 3);
  const int32_t end = MakeColour(201, 202, 203);
  const int slot = GetGradient(9, start, end);
  EXPECT_EQ(FindGradient(9, start, end), slot);
  EXPECT_EQ(TheGradientCache().Entries(slot).size(), 9u);
  EXPECT_EQ(GetGradient(9, start, end), slot);
  const int built = BuildGradient(9, start, end);
  EXPECT_EQ(FindGradient(9, start, end), std::max(slot, built));
}

struct BandCase {
  int32_t rectLo, rectHi, clipLo, clipHi;
  int32_t count, first, last;
};

TEST(Gradient, ClippedFillsPaintOnlyTheVisibleBandsOfTheWholeGradient) {
  const BandCase cases[] = {
      {10, 20, 0, 100, 10, 0, 9},    // wholly visible
      {10, 20, 13, 100, 10, 3, 9},   // starts left of the clip box
      {10, 20, 0, 16, 10, 0, 5},     // ends right of it
      {10, 20, 12, 15, 10, 2, 4},    // both
      {10, 20, 10, 20, 10, 0, 9},
      {-5, 5, -100, 0, 10, 0, 4},
  };
  for (const BandCase& c : cases) {
    const GradientBands bands = GradientBandRange(c.rectLo, c.rectHi, c.clipLo, c.clipHi);
    EXPECT_EQ(bands.count, c.count);
    EXPECT_EQ(bands.first, c.first);
    EXPECT_EQ(bands.last, c.last);
    EXPECT_TRUE(bands.Any());
  }
}

TEST(Gradient, EmptyOrHiddenRectanglesPaintNothing) {
  EXPECT_FALSE(GradientBandRange(10, 10, 0, 100).Any());
  EXPECT_FALSE(GradientBandRange(20, 10, 0, 100).Any());
  EXPECT_FALSE(GradientBandRange(10, 20, 30, 40).Any());   // clip box right of it
  EXPECT_FALSE(GradientBandRange(10, 20, -40, 5).Any());   // left of it
  EXPECT_FALSE(GradientBandRange(std::numeric_limits<int32_t>::min(),
                                 std::numeric_limits<int32_t>::max(), 0, 10)
                   .Any());  // longer than any gradient
}

}  // namespace
