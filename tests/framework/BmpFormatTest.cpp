// The .bmp header checks: good files of every accepted depth and layout, and malformed or
// cut-off files refused with a reason (never a read outside the file).
#include <gtest/gtest.h>

#include <cstring>

#include "framework/BmpFormat.h"

namespace {

std::vector<uint8_t> MakeBmp(int32_t width, int32_t height, uint16_t bits, int paletteCount = -1) {
  std::vector<uint32_t> palette;
  if (bits <= 8) palette.assign(paletteCount < 0 ? (1u << bits) : static_cast<size_t>(paletteCount), 0x112233);
  const size_t stride = BmpStride(width, bits);
  std::vector<uint8_t> rows(stride * static_cast<size_t>(height < 0 ? -height : height), 0xAB);
  std::vector<uint8_t> file = WriteBmp(width, height < 0 ? -height : height, bits, palette, rows);
  if (height < 0) {
    const auto h = static_cast<uint32_t>(height);
    std::memcpy(&file[22], &h, 4);
  }
  return file;
}

void Put32(std::vector<uint8_t>& f, size_t at, uint32_t v) { std::memcpy(&f[at], &v, 4); }
void Put16(std::vector<uint8_t>& f, size_t at, uint16_t v) { std::memcpy(&f[at], &v, 2); }

TEST(BmpFormat, AcceptsEveryDepth) {
  for (uint16_t bits : std::initializer_list<uint16_t>{1, 4, 8, 16, 24, 32}) {
    const auto file = MakeBmp(13, 7, bits);
    TBmpInfo info;
    std::string error;
    ASSERT_TRUE(ParseBmp(file, info, error)) << bits << ": " << error;
    EXPECT_EQ(info.width, 13);
    EXPECT_EQ(info.height, 7);
    EXPECT_EQ(info.bitCount, bits);
    EXPECT_FALSE(info.topDown);
    EXPECT_EQ(info.stride % 4, 0u);
    EXPECT_EQ(info.pixelOffset + info.stride * 7, file.size());
    EXPECT_EQ(info.palette.size(), bits <= 8 ? (1u << bits) : 0u);
  }
}

TEST(BmpFormat, TopDownRowsAndShortPalette) {
  const auto file = MakeBmp(4, -3, 8, 2);
  TBmpInfo info;
  std::string error;
  ASSERT_TRUE(ParseBmp(file, info, error)) << error;
  EXPECT_TRUE(info.topDown);
  EXPECT_EQ(info.height, 3);
  ASSERT_EQ(info.palette.size(), 2u);
  EXPECT_EQ(info.palette[0], 0x112233u);
}

TEST(BmpFormat, BitFieldsAfterAnInfoHeader) {
  auto file = MakeBmp(2, 2, 16);
  // Turn it into BI_BITFIELDS 5-6-5 with the masks after the 40-byte header.
  std::vector<uint8_t> out(file.begin(), file.begin() + 54);
  Put32(out, 30, 3);
  for (uint32_t m : {0xF800u, 0x07E0u, 0x001Fu}) {
    out.resize(out.size() + 4);
    Put32(out, out.size() - 4, m);
  }
  out.insert(out.end(), file.begin() + 54, file.end());
  Put32(out, 10, 66);
  TBmpInfo info;
  std::string error;
  ASSERT_TRUE(ParseBmp(out, info, error)) << error;
  EXPECT_TRUE(info.bitFields);
  EXPECT_EQ(info.masks[1], 0x07E0u);
  EXPECT_EQ(info.pixelOffset, 66u);
}

struct BadCase {
  const char* name;
  void (*mutate)(std::vector<uint8_t>&);
  const char* reason;
};

const BadCase kBad[] = {
    {"Empty", [](std::vector<uint8_t>& f) { f.clear(); }, "short"},
    {"NoSignature", [](std::vector<uint8_t>& f) { f[0] = 'X'; }, "BM"},
    {"HeaderCut", [](std::vector<uint8_t>& f) { f.resize(30); }, "cut off"},
    {"PixelsCut", [](std::vector<uint8_t>& f) { f.resize(f.size() - 1); }, "cut off"},
    {"UnknownHeaderSize", [](std::vector<uint8_t>& f) { Put32(f, 14, 41); }, "header size"},
    {"ZeroWidth", [](std::vector<uint8_t>& f) { Put32(f, 18, 0); }, "no pixels"},
    {"NegativeWidth", [](std::vector<uint8_t>& f) { Put32(f, 18, static_cast<uint32_t>(-5)); }, "no pixels"},
    {"Huge", [](std::vector<uint8_t>& f) { Put32(f, 18, 100000); }, "too large"},
    {"TwoPlanes", [](std::vector<uint8_t>& f) { Put16(f, 26, 2); }, "plane"},
    {"OddDepth", [](std::vector<uint8_t>& f) { Put16(f, 28, 7); }, "bits per pixel"},
    {"Rle", [](std::vector<uint8_t>& f) { Put32(f, 30, 1); }, "compressed"},
    {"PaletteTooBig", [](std::vector<uint8_t>& f) { Put32(f, 46, 300); }, "palette"},
    {"PixelOffsetPastEnd", [](std::vector<uint8_t>& f) { Put32(f, 10, 0x7FFFFFF0); }, "cut off"},
    {"PixelOffsetInHeader", [](std::vector<uint8_t>& f) { Put32(f, 10, 20); }, "overlaps"},
    {"BitFieldsOn8Bit", [](std::vector<uint8_t>& f) { Put32(f, 30, 3); }, "bit fields"},
};

class BmpFormatBad : public ::testing::TestWithParam<BadCase> {};

TEST_P(BmpFormatBad, IsRefusedWithAReason) {
  auto file = MakeBmp(10, 10, 8);
  GetParam().mutate(file);
  TBmpInfo info;
  std::string error;
  EXPECT_FALSE(ParseBmp(file, info, error));
  EXPECT_NE(error.find(GetParam().reason), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(All, BmpFormatBad, ::testing::ValuesIn(kBad),
                         [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

TEST(BmpFormat, EveryTruncationIsRefused) {
  const auto file = MakeBmp(9, 5, 24);
  for (size_t n = 0; n < file.size(); ++n) {
    TBmpInfo info;
    std::string error;
    EXPECT_FALSE(ParseBmp(std::span<const uint8_t>(file.data(), n), info, error)) << n;
  }
}

}  // namespace
