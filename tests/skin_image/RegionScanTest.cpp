#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

#include "skin/image/RegionScan.h"
#include "tests/skin_image/PixelImages.h"

namespace {

constexpr int32_t kMagenta = 0xFF00FF;
const Rgb kKey{255, 0, 255};
const Rgb kInk{10, 20, 30};

// Every batch the scan hands over, as rectangles.
struct Batches {
  std::vector<std::vector<RegionRect>> rects;
  std::vector<RegionRect> bounds;

  std::vector<RegionRect> All() const {
    std::vector<RegionRect> all;
    for (const auto& batch : rects) all.insert(all.end(), batch.begin(), batch.end());
    return all;
  }
};

Batches Scan(const Image32& image, int xOffset, int yOffset, const KeyRange& key,
             int batch = kRegionBatch) {
  Batches batches;
  ScanRegionRects(image.View(), xOffset, yOffset, key, batch, [&](const RegionData& data) {
    std::vector<RegionRect> rects;
    for (int i = 0; i < data.Count(); ++i) rects.push_back(data.Rect(i));
    batches.rects.push_back(rects);
    batches.bounds.push_back(data.Bounds());
  });
  return batches;
}

Image32 Row(const std::vector<Rgb>& pixels, bool bottomUp = false) {
  Image32 image(static_cast<int>(pixels.size()), 1, bottomUp);
  for (size_t x = 0; x < pixels.size(); ++x) image.Set(static_cast<int>(x), 0, pixels[x]);
  return image;
}

const KeyRange kMagentaTolerance1 = KeyRange::Of(kMagenta, 1, 1, 1);

TEST(RegionScan, AMagentaMiddlePixelSplitsARowIntoTwoRectangles) {
  const Batches b = Scan(Row({kInk, kInk, kKey, kInk, kInk}), 0, 0, kMagentaTolerance1);
  ASSERT_EQ(b.rects.size(), 1u);
  EXPECT_EQ(b.All(), (std::vector<RegionRect>{{0, 0, 2, 1}, {3, 0, 5, 1}}));
  EXPECT_EQ(b.bounds[0], (RegionRect{0, 0, 5, 1}));
}

TEST(RegionScan, RunsAreMaximalPerRowAndOffsetsMoveThem) {
  Image32 image(4, 3, /*bottomUp=*/true);
  const Rgb rows[3][4] = {{kKey, kInk, kInk, kKey}, {kInk, kInk, kInk, kInk}, {kKey, kKey, kKey, kKey}};
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) image.Set(x, y, rows[y][x]);
  const Batches b = Scan(image, 100, -7, kMagentaTolerance1);
  EXPECT_EQ(b.All(), (std::vector<RegionRect>{{101, -7, 103, -6}, {100, -6, 104, -5}}));
  // The bounds start as (max, max, 0, 0) and only widen: above the origin they still
  // reach down to 0, which covers every rectangle (all the bounds need to do).
  EXPECT_EQ(b.bounds.back(), (RegionRect{100, -7, 104, 0}));
}

TEST(RegionScan, TheToleranceWidensTheKeyUpwardsOnly) {
  // Key magenta with tolerance 1: red 255, green 0..1, blue 255.
  const Batches b = Scan(Row({{255, 1, 255}, {254, 0, 255}, {255, 2, 255}, {255, 0, 254}}), 0,
                         0, kMagentaTolerance1);
  EXPECT_EQ(b.All(), (std::vector<RegionRect>{{1, 0, 4, 1}}));
  // A key colour of (10, 20, 30) with tolerances red 0, green 5, blue 2.
  const KeyRange range = KeyRange::Of(0x1E140A, /*blue=*/2, /*green=*/5, /*red=*/0);
  EXPECT_TRUE(range.Contains(32, 25, 10));
  EXPECT_FALSE(range.Contains(33, 25, 10));
  EXPECT_FALSE(range.Contains(30, 26, 10));
  EXPECT_FALSE(range.Contains(30, 20, 11));
  EXPECT_FALSE(range.Contains(29, 20, 10));
  // The top is 255 however large the tolerance.
  EXPECT_EQ(KeyRange::Of(kMagenta, std::numeric_limits<int>::max(), 0, 0).blueHi, 255);
}

TEST(RegionScan, ANegativeToleranceKeysNothing) {
  const Batches b = Scan(Row({kKey, kKey}), 0, 0, KeyRange::Of(kMagenta, 0, -1, 0));
  EXPECT_EQ(b.All(), (std::vector<RegionRect>{{0, 0, 2, 1}}));
}

TEST(RegionScan, OnlyKeyPixelsGiveOneEmptyBatch) {
  const Batches b = Scan(Row({kKey, kKey, kKey}), 0, 0, kMagentaTolerance1);
  ASSERT_EQ(b.rects.size(), 1u);
  EXPECT_TRUE(b.rects[0].empty());
  EXPECT_EQ(b.bounds[0], (RegionRect{0x7FFFFFFF, 0x7FFFFFFF, 0, 0}));
  const Batches none = Scan(Image32(0, 0), 0, 0, kMagentaTolerance1);
  ASSERT_EQ(none.rects.size(), 1u);
  EXPECT_TRUE(none.rects[0].empty());
}

TEST(RegionScan, BatchesFlushWhenFullAndOnceAtTheEnd) {
  // 7 rows of ink-key-ink: 14 rectangles in batches of 5: 5, 5, 4.
  Image32 image(3, 7);
  for (int y = 0; y < 7; ++y) {
    image.Set(0, y, kInk);
    image.Set(1, y, kKey);
    image.Set(2, y, kInk);
  }
  const Batches b = Scan(image, 0, 0, kMagentaTolerance1, 5);
  ASSERT_EQ(b.rects.size(), 3u);
  EXPECT_EQ(b.rects[0].size(), 5u);
  EXPECT_EQ(b.rects[1].size(), 5u);
  EXPECT_EQ(b.rects[2].size(), 4u);
  // Each batch's bounds cover its own rectangles only (they restart).
  EXPECT_EQ(b.bounds[1], (RegionRect{0, 2, 3, 5}));
  EXPECT_EQ(b.All().size(), 14u);
  EXPECT_EQ(b.All()[13], (RegionRect{2, 6, 3, 7}));
  // A multiple of the batch: the last flush is empty.
  const Batches even = Scan(image, 0, 0, kMagentaTolerance1, 7);
  ASSERT_EQ(even.rects.size(), 3u);
  EXPECT_TRUE(even.rects[2].empty());
}

TEST(RegionScan, OffsetsBeyond32BitsSaturate) {
  const int big = std::numeric_limits<int>::max();
  const Batches b = Scan(Row({kInk, kInk}), big - 1, big, kMagentaTolerance1);
  EXPECT_EQ(b.All(), (std::vector<RegionRect>{{big - 1, big, big, big}}));
}

TEST(RegionData, TheBufferHasTheRgnDataLayout) {
  RegionData data;
  data.Add({1, 2, 3, 4});
  data.Add({-5, 0, 2, 9});
  ASSERT_EQ(data.Size(), 32u + 2 * 16u);
  int32_t words[16];
  std::memcpy(words, data.Data(), sizeof words);
  const int32_t expected[16] = {32, 1, 2, 0, -5, 0, 3, 9, 1, 2, 3, 4, -5, 0, 2, 9};
  for (int i = 0; i < 16; ++i) EXPECT_EQ(words[i], expected[i]) << i;
}

TEST(RegionData, RoomGrowsBy500Rectangles) {
  RegionData data;
  EXPECT_EQ(data.CapacityRects(), 500u);
  for (int i = 0; i < 501; ++i) data.Add({i, 0, i + 1, 1});
  EXPECT_EQ(data.CapacityRects(), 1000u);
  data.Restart();
  EXPECT_EQ(data.Count(), 0);
  EXPECT_EQ(data.Size(), 32u);
  EXPECT_EQ(data.Bounds(), (RegionRect{0x7FFFFFFF, 0x7FFFFFFF, 0, 0}));
}

}  // namespace
