#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "skin/data/SkinBitmapCheck.h"

namespace {

void PutU16(std::vector<uint8_t>& out, size_t at, uint32_t v) {
  out[at] = static_cast<uint8_t>(v);
  out[at + 1] = static_cast<uint8_t>(v >> 8);
}
void PutU32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
  PutU16(out, at, v & 0xFFFF);
  PutU16(out, at + 2, v >> 16);
}

// A well-formed bitmap file with a 40-byte header and zero pixels.
std::vector<uint8_t> MakeBmp(int32_t width, int32_t height, uint16_t bits,
                             uint32_t compression = 0, uint32_t coloursUsed = 0) {
  const uint32_t absHeight = static_cast<uint32_t>(height < 0 ? -height : height);
  const uint32_t stride = (static_cast<uint32_t>(width) * bits + 31) / 32 * 4;
  const uint32_t masks = compression == 3 ? 12 : 0;
  const uint32_t table = bits <= 8 ? (coloursUsed ? coloursUsed : 1u << bits) * 4 : 0;
  const uint32_t offset = 14 + 40 + masks + table;
  std::vector<uint8_t> b(offset + stride * absHeight, 0);
  b[0] = 'B';
  b[1] = 'M';
  PutU32(b, 2, static_cast<uint32_t>(b.size()));
  PutU32(b, 10, offset);
  PutU32(b, 14, 40);
  PutU32(b, 18, static_cast<uint32_t>(width));
  PutU32(b, 22, static_cast<uint32_t>(height));
  PutU16(b, 26, 1);
  PutU16(b, 28, bits);
  PutU32(b, 30, compression);
  PutU32(b, 46, coloursUsed);
  return b;
}

TEST(SkinBitmapCheck, AcceptsEveryPlainDepthAndReportsItsFacts) {
  for (const int bitsValue : {1, 4, 8, 16, 24, 32}) {
    const auto bits = static_cast<uint16_t>(bitsValue);
    TSkinBitmapFacts facts;
    std::string reason;
    EXPECT_TRUE(CheckSkinBitmapFile(MakeBmp(13, 7, bits), &facts, &reason)) << bits << reason;
    EXPECT_EQ(facts.Width, 13);
    EXPECT_EQ(facts.Height, 7);
    EXPECT_EQ(facts.BitsPerPixel, bits);
    EXPECT_FALSE(facts.TopDown);
  }
  TSkinBitmapFacts facts;
  EXPECT_TRUE(CheckSkinBitmapFile(MakeBmp(5, -3, 24), &facts, nullptr));
  EXPECT_TRUE(facts.TopDown);
  EXPECT_EQ(facts.Height, 3);
  EXPECT_TRUE(CheckSkinBitmapFile(MakeBmp(5, 3, 32, 3), nullptr, nullptr));
  EXPECT_TRUE(CheckSkinBitmapFile(MakeBmp(5, 3, 8, 0, 2), nullptr, nullptr));
}

TEST(SkinBitmapCheck, EveryTruncationOfAGoodFileIsRefused) {
  const std::vector<uint8_t> good = MakeBmp(9, 4, 24);
  for (size_t size = 0; size < good.size(); ++size) {
    const std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<ptrdiff_t>(size));
    std::string reason;
    EXPECT_FALSE(CheckSkinBitmapFile(cut, nullptr, &reason)) << size;
    EXPECT_FALSE(reason.empty());
  }
}

TEST(SkinBitmapCheck, RefusesMalformedHeaders) {
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
  };
  std::vector<Case> cases;
  auto with = [](std::vector<uint8_t> b, auto change) {
    change(b);
    return b;
  };
  const std::vector<uint8_t> good = MakeBmp(4, 4, 24);
  cases.push_back({"no BM", with(good, [](auto& b) { b[0] = 'X'; })});
  cases.push_back({"header size 41", with(good, [](auto& b) { PutU32(b, 14, 41); })});
  cases.push_back({"zero width", with(good, [](auto& b) { PutU32(b, 18, 0); })});
  cases.push_back({"negative width", with(good, [](auto& b) { PutU32(b, 18, 0xFFFFFFFC); })});
  cases.push_back({"zero height", with(good, [](auto& b) { PutU32(b, 22, 0); })});
  cases.push_back({"two planes", with(good, [](auto& b) { PutU16(b, 26, 2); })});
  cases.push_back({"7 bits", with(good, [](auto& b) { PutU16(b, 28, 7); })});
  cases.push_back({"jpeg", with(good, [](auto& b) { PutU32(b, 30, 4); })});
  cases.push_back({"rle8 on 24 bits", with(good, [](auto& b) { PutU32(b, 30, 1); })});
  cases.push_back({"huge", with(good, [](auto& b) {
                     PutU32(b, 18, 100000);
                     PutU32(b, 22, 100000);
                   })});
  cases.push_back({"taller than its data", with(good, [](auto& b) { PutU32(b, 22, 5); })});
  cases.push_back({"offset past end", with(good, [](auto& b) { PutU32(b, 10, 0xFFFFFFF0); })});
  cases.push_back({"offset wraps", with(good, [](auto& b) { PutU32(b, 10, 0xFFFFFFFF); })});
  cases.push_back({"palette larger than bits",
                   with(MakeBmp(4, 4, 4), [](auto& b) { PutU32(b, 46, 17); })});
  cases.push_back({"palette cut off",
                   with(MakeBmp(4, 4, 8), [](auto& b) { PutU32(b, 46, 0); b.resize(14 + 40 + 100); })});
  cases.push_back({"top-down rle",
                   with(MakeBmp(4, -4, 8, 0), [](auto& b) { PutU32(b, 30, 1); })});
  for (const Case& c : cases) {
    std::string reason;
    EXPECT_FALSE(CheckSkinBitmapFile(c.bytes, nullptr, &reason)) << c.what;
    EXPECT_FALSE(reason.empty()) << c.what;
  }
}

TEST(SkinBitmapCheck, CoreHeaderWithThreeByteColourTable) {
  // 12-byte header: 16-bit width and height, planes, bits; table entries of 3 bytes.
  std::vector<uint8_t> b(14 + 12 + 2 * 3 + 4 * 2, 0);
  b[0] = 'B';
  b[1] = 'M';
  PutU32(b, 10, 14 + 12 + 6);
  PutU32(b, 14, 12);
  PutU16(b, 18, 3);
  PutU16(b, 20, 2);
  PutU16(b, 22, 1);
  PutU16(b, 24, 1);
  TSkinBitmapFacts facts;
  EXPECT_TRUE(CheckSkinBitmapFile(b, &facts, nullptr));
  EXPECT_EQ(facts.Width, 3);
  b.pop_back();
  EXPECT_FALSE(CheckSkinBitmapFile(b, nullptr, nullptr));
}

}  // namespace
