#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "skin/image/ColourMath.h"

namespace {

constexpr int32_t kBlack = 0x000000;
constexpr int32_t kWhite = 0xFFFFFF;
constexpr int32_t kGrey128 = 0x808080;

struct MixCase {
  int32_t colour1, colour2, weight, expected;
};

TEST(MixColors, WeightCountsInPercentBelow100AndInPerMilleFrom100On) {
  const MixCase cases[] = {
      // Mid grey with weight 150: 15 % grey, 85 % the other colour, half rounded up.
      {kGrey128, kBlack, 150, MakeColour(19, 19, 19)},        // (19200 + 500) / 1000
      {kGrey128, kWhite, 150, MakeColour(236, 236, 236)},     // (216750 + 19200 + 500) / 1000
      {kGrey128, MakeColour(100, 200, 10), 150, MakeColour(104, 189, 28)},
      {kGrey128, MakeColour(18, 0, 0), 150, MakeColour(35, 19, 19)},  // 34.5 rounds up
      // Weight 0: only colour 2.
      {MakeColour(200, 0, 100), MakeColour(1, 250, 50), 0, MakeColour(1, 250, 50)},
      // Weight 100 is per mille: 10 % of colour 1, not all of it.
      {MakeColour(200, 0, 100), MakeColour(0, 250, 50), 100, MakeColour(20, 225, 55)},
      // Weight 50: half and half, rounded up.
      {kWhite, kBlack, 50, MakeColour(128, 128, 128)},
      {MakeColour(10, 20, 30), MakeColour(20, 40, 60), 50, MakeColour(15, 30, 45)},
      // Weight 99 is still percent, 1000 is all of colour 1.
      {kWhite, kBlack, 99, MakeColour(252, 252, 252)},        // (25245 + 50) / 100
      {MakeColour(1, 2, 3), MakeColour(200, 100, 50), 1000, MakeColour(1, 2, 3)},
  };
  for (const MixCase& c : cases)
    EXPECT_EQ(MixPlainColors(c.colour1, c.colour2, c.weight), c.expected)
        << std::hex << c.colour1 << " " << c.colour2 << std::dec << " w=" << c.weight;
}

TEST(MixColors, WeightsOutsideTheRangeKeepTheLowEightBitsWithoutOverflow) {
  // Mixing a colour with itself gives it back for any weight: the arithmetic never
  // overflows, however large the weight (the sanitizers watch this).
  const int32_t weights[] = {std::numeric_limits<int32_t>::max(),
                             std::numeric_limits<int32_t>::min(), -5000, 1001, 123456789};
  for (int32_t weight : weights)
    EXPECT_EQ(MixPlainColors(MakeColour(17, 99, 254), MakeColour(17, 99, 254), weight),
              MakeColour(17, 99, 254))
        << weight;
  // Weight -50 (percent): 150 % of colour 2 less 50 % of colour 1.
  EXPECT_EQ(MixPlainColors(MakeColour(0, 0, 0), MakeColour(100, 0, 0), -50),
            MakeColour(150, 0, 0));
  // Weight 2000 (per mille): 200 % of colour 1 less colour 2; 400 + 0.5 -> 400, low byte 144.
  EXPECT_EQ(MixPlainColors(MakeColour(200, 0, 0), MakeColour(0, 0, 0), 2000),
            MakeColour(400 & 0xFF, 0, 0));
  // Negative per channel: (0 * -1000 + 1 * 2000 ... ) stays in its low byte too.
  EXPECT_EQ(MixPlainColors(MakeColour(0, 0, 0), MakeColour(255, 0, 0), 2000),
            MakeColour((-254) & 0xFF, 0, 0));  // (255 * -1000 + 500) / 1000 = -254
}

TEST(ColorSaturation, DarkColoursGive200OthersTheScaledSaturation) {
  struct Case {
    int32_t colour;
    int32_t expected;
  };
  const Case cases[] = {
      {MakeColour(80, 80, 80), 200},
      {MakeColour(0, 0, 159), 200},
      {kBlack, 200},
      {MakeColour(255, 0, 0), 255},
      {kWhite, 0},
      {MakeColour(160, 0, 0), 255},      // one channel at 160 is not dark
      {MakeColour(255, 255, 0), 255},
      {MakeColour(200, 100, 100), 128},  // 127.5: ties go to the even neighbour
      {MakeColour(200, 140, 140), 76},   // 76.5 -> 76 (even), not 77
      {MakeColour(255, 170, 85), 170},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ColorSaturation(c.colour), c.expected) << std::hex << c.colour;
}

TEST(ColorSaturation, ReadsTheBytesOfASystemColourAsTheyAre) {
  // 0x8000000F: red 0x0F, green 0, blue 0, all dark.
  EXPECT_EQ(ColorSaturation(static_cast<int32_t>(0x8000000F)), 200);
  // 0x80FF0000: blue 255 (the top byte is ignored).
  EXPECT_EQ(ColorSaturation(static_cast<int32_t>(0x80FF0000)), 255);
}

TEST(Colour, BytesAndComposition) {
  EXPECT_EQ(RedOf(0x00123456), 0x56);
  EXPECT_EQ(GreenOf(0x00123456), 0x34);
  EXPECT_EQ(BlueOf(0x00123456), 0x12);
  EXPECT_EQ(MakeColour(0x56, 0x34, 0x12), 0x00123456);
  EXPECT_EQ(MakeColour(300, -1, 256), MakeColour(44, 255, 0));
}

}  // namespace
