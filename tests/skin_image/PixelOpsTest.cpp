#include <gtest/gtest.h>

#include "skin/image/PixelOps.h"
#include "tests/skin_image/PixelImages.h"

namespace {

// Both storage orders: DIB sections are bottom-up, and the views hide it.
class PixelOpsTest : public ::testing::TestWithParam<bool> {
 protected:
  bool BottomUp() const { return GetParam(); }
};

TEST_P(PixelOpsTest, MakeGrayTakesThePlainMeanTruncated) {
  struct Case {
    Rgb in;
    int grey;
  };
  const Case cases[] = {
      {{10, 20, 31}, 20},     // 61 / 3 = 20.33
      {{255, 255, 254}, 254}, // 764 / 3 = 254.67, truncated
      {{255, 0, 0}, 85},      // unweighted: red counts as much as green
      {{0, 255, 0}, 85},
      {{0, 0, 2}, 0},
      {{255, 255, 255}, 255},
  };
  Image24 image(3, 2, BottomUp());
  image.FillDistinct();
  const auto padding = image.Padding();
  for (const Case& c : cases) {
    image.Set(1, 1, c.in);
    MakeGrayPixels(image.View());
    EXPECT_EQ(image.Get(1, 1), (Rgb{c.grey, c.grey, c.grey}))
        << c.in.r << "," << c.in.g << "," << c.in.b;
  }
  EXPECT_EQ(image.Padding(), padding);
}

TEST_P(PixelOpsTest, ReplaceKeyColorChangesOnlyExactMagenta) {
  Image24 image(4, 1, BottomUp());
  image.Set(0, 0, {255, 0, 255});
  image.Set(1, 0, {254, 0, 255});
  image.Set(2, 0, {255, 1, 255});
  image.Set(3, 0, {255, 0, 255});
  ReplaceKeyColorPixels(image.View(), 0x00123456);
  EXPECT_EQ(image.Get(0, 0), (Rgb{0x56, 0x34, 0x12}));
  EXPECT_EQ(image.Get(1, 0), (Rgb{254, 0, 255}));
  EXPECT_EQ(image.Get(2, 0), (Rgb{255, 1, 255}));
  EXPECT_EQ(image.Get(3, 0), (Rgb{0x56, 0x34, 0x12}));
}

TEST_P(PixelOpsTest, ReplaceKeyColorTakesTheBytesOfASystemColourAsTheyAre) {
  Image24 image(1, 1, BottomUp());
  image.Set(0, 0, {255, 0, 255});
  ReplaceKeyColorPixels(image.View(), static_cast<int32_t>(0x8000000F));
  EXPECT_EQ(image.Get(0, 0), (Rgb{0x0F, 0, 0}));
}

TEST_P(PixelOpsTest, MirrorReversesEveryRow) {
  for (int width : {1, 2, 5, 6}) {
    Image24 image(width, 3, BottomUp());
    image.FillDistinct();
    Image24 before = image;
    const auto padding = image.Padding();
    MirrorPixels(image.View());
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < width; ++x)
        EXPECT_EQ(image.Get(x, y), before.Get(width - 1 - x, y)) << width << " " << x << "," << y;
    EXPECT_EQ(image.Padding(), padding);
  }
}

TEST_P(PixelOpsTest, FlipReversesTheRowOrder) {
  for (int height : {1, 2, 3, 4}) {
    Image24 image(3, height, BottomUp());
    image.FillDistinct();
    Image24 before = image;
    FlipPixels(image.View());
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < 3; ++x)
        EXPECT_EQ(image.Get(x, y), before.Get(x, height - 1 - y)) << height << " " << x << "," << y;
  }
}

TEST_P(PixelOpsTest, EmptyImagesAreLeftAlone) {
  for (auto [w, h] : {std::pair{0, 3}, {3, 0}, {0, 0}}) {
    Image24 image(w, h, BottomUp());
    MakeGrayPixels(image.View());
    ReplaceKeyColorPixels(image.View(), 0);
    MirrorPixels(image.View());
    FlipPixels(image.View());
  }
  Bgr24View none;  // no memory at all
  MakeGrayPixels(none);
  MirrorPixels(none);
  FlipPixels(none);
}

TEST_P(PixelOpsTest, RotateLeftMovesTheTopRightCornerToTheTopLeft) {
  Image24 image(4, 3, BottomUp());
  image.FillDistinct();
  const Image32 source = Image32::From(image, /*bottomUp=*/true);
  Image24 turned(3, 4, BottomUp());
  ASSERT_TRUE(RotateLeftPixels(source.View(), turned.View()));
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(turned.Get(x, y), image.Get(4 - 1 - y, x));
  EXPECT_EQ(turned.Get(0, 0), image.Get(3, 0));
}

TEST_P(PixelOpsTest, RotateRightMovesTheBottomLeftCornerToTheTopLeft) {
  Image24 image(4, 3, BottomUp());
  image.FillDistinct();
  const Image32 source = Image32::From(image, /*bottomUp=*/false);
  Image24 turned(3, 4, BottomUp());
  ASSERT_TRUE(RotateRightPixels(source.View(), turned.View()));
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(turned.Get(x, y), image.Get(y, 3 - 1 - x));
  EXPECT_EQ(turned.Get(0, 0), image.Get(0, 2));
}

Image24 Turned(Image24& image, bool left, bool bottomUp) {
  const Image32 source = Image32::From(image, true);
  Image24 turned(image.Height(), image.Width(), bottomUp);
  const bool done = left ? RotateLeftPixels(source.View(), turned.View())
                         : RotateRightPixels(source.View(), turned.View());
  EXPECT_TRUE(done);
  return turned;
}

void ExpectSame(Image24& a, Image24& b) {
  ASSERT_EQ(a.Width(), b.Width());
  ASSERT_EQ(a.Height(), b.Height());
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x) ASSERT_EQ(a.Get(x, y), b.Get(x, y)) << x << "," << y;
}

TEST_P(PixelOpsTest, LeftThenRightAndFourLeftsRestoreTheImage) {
  for (auto [w, h] : {std::pair{5, 3}, {1, 7}, {6, 1}, {4, 4}}) {
    Image24 image(w, h, BottomUp());
    image.FillDistinct();
    Image24 left = Turned(image, true, BottomUp());
    Image24 back = Turned(left, false, !BottomUp());
    ExpectSame(back, image);
    Image24 turned = image;
    for (int i = 0; i < 4; ++i) turned = Turned(turned, true, (i & 1) != 0);
    ExpectSame(turned, image);
  }
}

TEST_P(PixelOpsTest, RotationRefusesATargetOfTheWrongSize) {
  Image24 image(4, 3, BottomUp());
  image.FillDistinct();
  const Image32 source = Image32::From(image, true);
  Image24 same(4, 3, BottomUp());
  const Image24 untouched = same;
  EXPECT_FALSE(RotateLeftPixels(source.View(), same.View()));
  EXPECT_FALSE(RotateRightPixels(source.View(), same.View()));
  Image24 copy = untouched;
  ExpectSame(same, copy);
}

TEST_P(PixelOpsTest, RotatingAnEmptyImageOnlyExchangesTheSizes) {
  Image24 image(0, 3, BottomUp());
  const Image32 source = Image32::From(image, true);
  Image24 turned(3, 0, BottomUp());
  EXPECT_TRUE(RotateLeftPixels(source.View(), turned.View()));
  EXPECT_TRUE(RotateRightPixels(source.View(), turned.View()));
}

INSTANTIATE_TEST_SUITE_P(StorageOrder, PixelOpsTest, ::testing::Bool(),
                         [](const auto& param) { return param.param ? "BottomUp" : "TopDown"; });

}  // namespace
