#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <vector>

#include "skin/image/SliceGeometry.h"

namespace {

using Piece = SliceCopy::Piece;

std::vector<SliceCopy> Copies(const NineSlicePlan& plan) {
  return {plan.copies.begin(), plan.copies.begin() + plan.count};
}

TEST(SelectFrame, SideBySideAndStacked) {
  // A four-frame image 80 pixels wide, frame 3: x = 40 .. 59.
  EXPECT_EQ(SelectFrame(80, 20, 4, 3, false), (FrameCell{40, 0, 20, 20}));
  EXPECT_EQ(SelectFrame(80, 20, 4, 1, false), (FrameCell{0, 0, 20, 20}));
  EXPECT_EQ(SelectFrame(20, 60, 3, 2, true), (FrameCell{0, 20, 20, 20}));
  // Widths that do not divide evenly: the remainder at the right is never used.
  EXPECT_EQ(SelectFrame(83, 20, 4, 4, false), (FrameCell{60, 0, 20, 20}));
}

TEST(SelectFrame, AbsurdCountsAndIndexesStayInsideTheImage) {
  // Frame count 0 or negative counts as one frame (no division by zero).
  EXPECT_EQ(SelectFrame(80, 20, 0, 1, false), (FrameCell{0, 0, 80, 20}));
  EXPECT_EQ(SelectFrame(80, 20, -3, 1, true), (FrameCell{0, 0, 80, 20}));
  // Index 0 or beyond the count is kept within 1 .. count.
  EXPECT_EQ(SelectFrame(80, 20, 4, 0, false), (FrameCell{0, 0, 20, 20}));
  EXPECT_EQ(SelectFrame(80, 20, 4, 9, false), (FrameCell{60, 0, 20, 20}));
  EXPECT_EQ(SelectFrame(80, 20, 4, -2147483647 - 1, false), (FrameCell{0, 0, 20, 20}));
  // More frames than pixels: empty frames.
  EXPECT_EQ(SelectFrame(3, 20, 5, 5, false).width, 0);
  EXPECT_EQ(SelectFrame(-4, -4, 1, 1, false), (FrameCell{0, 0, 0, 0}));
}

TEST(NineSlice, PiecesLandInTheDocumentedOrderAndPlaces) {
  // Frame 2 of 2 in a 60 x 20 image: x = 30 .. 59. Margins L3 T4 R5 B6, target 100 x 50.
  const NineSlicePlan plan = PlanNineSlice(100, 50, 60, 20, {3, 4, 5, 6}, false, 2, 2);
  const std::vector<SliceCopy> expected = {
      {Piece::TopLeft, {30, 0, 33, 4}, {0, 0, 3, 4}},
      {Piece::BottomLeft, {30, 14, 33, 20}, {0, 44, 3, 50}},
      {Piece::TopRight, {55, 0, 60, 4}, {95, 0, 100, 4}},
      {Piece::LeftEdge, {30, 4, 33, 14}, {0, 4, 3, 44}},
      {Piece::TopEdge, {33, 0, 55, 4}, {3, 0, 95, 4}},
      {Piece::Centre, {33, 4, 55, 14}, {3, 4, 95, 44}},
      {Piece::BottomRight, {55, 14, 60, 20}, {95, 44, 100, 50}},
      {Piece::RightEdge, {55, 4, 60, 14}, {95, 4, 100, 44}},
      {Piece::BottomEdge, {33, 14, 55, 20}, {3, 44, 95, 50}},
  };
  EXPECT_EQ(Copies(plan), expected);
  EXPECT_EQ(plan.margins, (SliceMargins{3, 4, 5, 6}));
  ASSERT_NE(plan.Centre(), nullptr);
  EXPECT_EQ(plan.Centre()->dest, (SliceRect{3, 4, 95, 44}));
}

TEST(NineSlice, StackedFramesCutTheHeight) {
  const NineSlicePlan plan = PlanNineSlice(10, 10, 8, 30, {2, 2, 2, 2}, true, 3, 3);
  EXPECT_EQ(plan.frame, (FrameCell{0, 20, 8, 10}));
  EXPECT_EQ(plan.copies[0].source, (SliceRect{0, 20, 2, 22}));
  EXPECT_EQ(plan.Centre()->source, (SliceRect{2, 22, 6, 28}));
}

TEST(NineSlice, ANarrowTargetDropsLeftAndRightButKeepsTopAndBottom) {
  // Target 7 wide < 3 + 5: the frame is stretched across the whole width.
  const NineSlicePlan plan = PlanNineSlice(7, 50, 30, 20, {3, 4, 5, 6}, false, 1, 1);
  EXPECT_EQ(plan.margins, (SliceMargins{0, 4, 0, 6}));
  const std::vector<SliceCopy> expected = {
      {Piece::TopEdge, {0, 0, 30, 4}, {0, 0, 7, 4}},
      {Piece::Centre, {0, 4, 30, 14}, {0, 4, 7, 44}},
      {Piece::BottomEdge, {0, 14, 30, 20}, {0, 44, 7, 50}},
  };
  EXPECT_EQ(Copies(plan), expected);
}

TEST(NineSlice, AShortTargetDropsTopAndBottom) {
  const NineSlicePlan plan = PlanNineSlice(50, 9, 30, 20, {3, 4, 5, 6}, false, 1, 1);
  EXPECT_EQ(plan.margins, (SliceMargins{3, 0, 5, 0}));
  const std::vector<SliceCopy> expected = {
      {Piece::LeftEdge, {0, 0, 3, 20}, {0, 0, 3, 9}},
      {Piece::Centre, {3, 0, 25, 20}, {3, 0, 45, 9}},
      {Piece::RightEdge, {25, 0, 30, 20}, {45, 0, 50, 9}},
  };
  EXPECT_EQ(Copies(plan), expected);
  // Exactly L + R wide keeps the margins; the centre then has no area and is left out.
  const NineSlicePlan exact = PlanNineSlice(8, 9, 30, 20, {3, 0, 5, 0}, false, 1, 1);
  EXPECT_EQ(exact.margins, (SliceMargins{3, 0, 5, 0}));
  EXPECT_EQ(exact.Centre(), nullptr);
}

TEST(NineSlice, NoMarginsIsOneStretchOfTheFrame) {
  const NineSlicePlan plan = PlanNineSlice(33, 17, 80, 20, {}, false, 4, 3);
  const std::vector<SliceCopy> expected = {{Piece::Centre, {40, 0, 60, 20}, {0, 0, 33, 17}}};
  EXPECT_EQ(Copies(plan), expected);
}

TEST(NineSlice, MarginsLargerThanTheFrameAreCutToIt) {
  // Frame 10 x 10, margins 30: each margin is cut to 10; the middle pieces have no source.
  const NineSlicePlan plan = PlanNineSlice(200, 200, 20, 10, {30, 30, 30, 30}, false, 2, 1);
  EXPECT_EQ(plan.margins, (SliceMargins{10, 10, 10, 10}));
  for (const SliceCopy& copy : Copies(plan)) {
    EXPECT_TRUE(copy.piece == Piece::TopLeft || copy.piece == Piece::TopRight ||
                copy.piece == Piece::BottomLeft || copy.piece == Piece::BottomRight)
        << static_cast<int>(copy.piece);
    EXPECT_GE(copy.source.left, 0);
    EXPECT_LE(copy.source.right, 10);
  }
  // Negative margins count as 0.
  const NineSlicePlan negative = PlanNineSlice(20, 20, 10, 10, {-3, -1, -9, -2}, false, 1, 1);
  EXPECT_EQ(negative.margins, (SliceMargins{}));
  EXPECT_EQ(negative.count, 1);
}

TEST(NineSlice, EmptyImagesAndTargetsGiveNoCopies) {
  EXPECT_EQ(PlanNineSlice(20, 20, 0, 0, {1, 1, 1, 1}, false, 1, 1).count, 0);
  EXPECT_EQ(PlanNineSlice(0, 0, 20, 20, {1, 1, 1, 1}, false, 1, 1).count, 0);
  EXPECT_EQ(PlanNineSlice(-5, 20, 20, 20, {}, false, 1, 1).count, 0);
  EXPECT_EQ(PlanNineSlice(20, 20, 3, 20, {}, false, 5, 1).count, 0);  // frames 0 wide
}

// Whatever the numbers, every source lies inside its frame and every destination inside
// the target; the plan never asks for a pixel outside the image.
TEST(NineSlice, RandomInputsNeverLeaveTheImageOrTheTarget) {
  std::mt19937 random(20240611);
  std::uniform_int_distribution<int> size(-3, 60);
  std::uniform_int_distribution<int> margin(-10, 70);
  std::uniform_int_distribution<int> frames(-2, 8);
  for (int i = 0; i < 20000; ++i) {
    const int iw = size(random), ih = size(random), tw = size(random), th = size(random);
    const SliceMargins m{margin(random), margin(random), margin(random), margin(random)};
    const int count = frames(random), index = frames(random);
    const bool stacked = (i & 1) != 0;
    const NineSlicePlan plan = PlanNineSlice(tw, th, iw, ih, m, stacked, count, index);
    const SliceRect frame = plan.frame.Rect();
    ASSERT_GE(frame.left, 0);
    ASSERT_GE(frame.top, 0);
    ASSERT_LE(frame.right, std::max(iw, 0));
    ASSERT_LE(frame.bottom, std::max(ih, 0));
    for (const SliceCopy& copy : Copies(plan)) {
      ASSERT_TRUE(copy.source.HasArea());
      ASSERT_TRUE(copy.dest.HasArea());
      ASSERT_GE(copy.source.left, frame.left);
      ASSERT_GE(copy.source.top, frame.top);
      ASSERT_LE(copy.source.right, frame.right);
      ASSERT_LE(copy.source.bottom, frame.bottom);
      ASSERT_GE(copy.dest.left, 0);
      ASSERT_GE(copy.dest.top, 0);
      ASSERT_LE(copy.dest.right, tw);
      ASSERT_LE(copy.dest.bottom, th);
    }
  }
}

TEST(Tiles, RowsAndColumnsFromTheTopLeftMayRunPastTheArea) {
  // A centre 10 x 5 filled with 4 x 3 tiles: columns at 3, 7, 11; rows at 2, 5.
  const std::vector<TileOrigin> origins = TileOrigins({3, 2, 13, 7}, 4, 3);
  const std::vector<TileOrigin> expected = {{3, 2}, {7, 2}, {11, 2}, {3, 5}, {7, 5}, {11, 5}};
  EXPECT_EQ(origins, expected);
  EXPECT_TRUE(TileOrigins({3, 2, 3, 7}, 4, 3).empty());
  EXPECT_TRUE(TileOrigins({3, 2, 13, 7}, 0, 3).empty());
  EXPECT_TRUE(TileOrigins({3, 2, 13, 7}, 4, -1).empty());
  EXPECT_EQ(TileOrigins({0, 0, 8, 6}, 4, 3).size(), 4u);  // an even fit: no overhang
}

TEST(ThreeSlice, MiddleRepeatsUnscaledBetweenTheEnds) {
  // Frame 1 of 2 in a 24 x 6 image: 12 wide, L 3, R 4, middle 5. Target 20 x 9.
  const std::vector<SliceCopy> copies = PlanThreeSlice(20, 9, 24, 6, {3, 1, 4, 1}, false, 2, 1);
  const std::vector<SliceCopy> expected = {
      {Piece::Left, {0, 0, 3, 6}, {0, 0, 3, 9}},
      {Piece::Middle, {3, 0, 8, 6}, {3, 0, 8, 9}},
      {Piece::Middle, {3, 0, 8, 6}, {8, 0, 13, 9}},
      {Piece::Middle, {3, 0, 8, 6}, {13, 0, 18, 9}},  // starts below 20 - 4, runs past it
      {Piece::Right, {8, 0, 12, 6}, {16, 0, 20, 9}},
  };
  EXPECT_EQ(copies, expected);
}

TEST(ThreeSlice, AFrameNoWiderThanItsEndsDrawsOnlyTheEnds) {
  const std::vector<SliceCopy> copies = PlanThreeSlice(30, 5, 6, 5, {3, 0, 4, 0}, true, 1, 1);
  ASSERT_EQ(copies.size(), 2u);
  EXPECT_EQ(copies[0].piece, Piece::Left);
  EXPECT_EQ(copies[1].piece, Piece::Right);
  const std::vector<SliceCopy> tight = PlanThreeSlice(30, 5, 7, 5, {3, 0, 4, 0}, false, 1, 1);
  ASSERT_EQ(tight.size(), 2u);
  EXPECT_EQ(tight[1].source, (SliceRect{3, 0, 7, 5}));
}

TEST(StretchStrip, AFrameWiderThanTheTargetIsStretchedWhole) {
  const std::vector<SliceCopy> copies =
      PlanStretchStrip({10, 20, 40, 28}, 100, 8, {5, 0, 5, 0}, false, 2, 2);
  const std::vector<SliceCopy> expected = {{Piece::Whole, {50, 0, 100, 8}, {10, 20, 40, 28}}};
  EXPECT_EQ(copies, expected);
}

TEST(StretchStrip, OtherwiseThreePiecesOverTheFullHeight) {
  const std::vector<SliceCopy> copies =
      PlanStretchStrip({10, 20, 110, 28}, 60, 8, {5, 99, 7, 99}, false, 2, 2);
  const std::vector<SliceCopy> expected = {
      {Piece::Left, {30, 0, 35, 8}, {10, 20, 15, 28}},
      {Piece::Middle, {35, 0, 53, 8}, {15, 20, 103, 28}},
      {Piece::Right, {53, 0, 60, 8}, {103, 20, 110, 28}},
  };
  EXPECT_EQ(copies, expected);
  EXPECT_TRUE(PlanStretchStrip({10, 20, 5, 28}, 60, 8, {}, false, 1, 1).empty());  // inverted
}

TEST(CentredFrame, PlacedInTheMiddleAndOverhangingEquallyWhenLarger) {
  EXPECT_EQ(PlanCentredFrame({10, 10, 30, 20}, 40, 6, 4, 2).dest, (SliceRect{15, 12, 25, 18}));
  EXPECT_EQ(PlanCentredFrame({10, 10, 30, 20}, 40, 6, 4, 2).source, (SliceRect{10, 0, 20, 6}));
  // A 30 x 15 frame on a 10 x 10 target: offsets -10 and -2 (truncated toward zero).
  const SliceCopy large = PlanCentredFrame({0, 0, 10, 10}, 30, 15, 1, 1);
  EXPECT_EQ(large.dest, (SliceRect{-10, -2, 20, 13}));
  EXPECT_LE(std::abs(-large.dest.left - (large.dest.right - 10)), 1);
  EXPECT_LE(std::abs(-large.dest.top - (large.dest.bottom - 10)), 1);
}

}  // namespace
