#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/data/SkinArchiveWriter.h"
#include "skin/data/SkinFileExpand.h"

namespace {

std::vector<TSkinEntry> SampleEntries() {
  std::string ini = "[Personality]\r\nTop=top.bmp\r\n";
  for (int i = 0; i < 40; ++i) ini += "; filler line " + std::to_string(i * 7919 % 1000) + "\r\n";
  std::vector<uint8_t> picture(3000);
  for (size_t i = 0; i < picture.size(); ++i) picture[i] = static_cast<uint8_t>(i * i % 251);
  return {{"skin.ini", {ini.begin(), ini.end()}}, {"top.bmp", picture}};
}

TEST(SkinFileExpand, GivesTheArchiveOfAWholeFile) {
  const auto entries = SampleEntries();
  const std::vector<uint8_t> file = BuildSkinFile(entries);
  std::vector<uint8_t> archive;
  std::string reason;
  ASSERT_TRUE(ExpandSkinFile(file, &archive, &reason)) << reason;
  EXPECT_EQ(archive, BuildSkinArchive(entries));
}

TEST(SkinFileExpand, EveryCutOffFileIsRefused) {
  const std::vector<uint8_t> file = BuildSkinFile(SampleEntries());
  for (size_t size = 0; size < file.size(); ++size) {
    const std::vector<uint8_t> cut(file.begin(), file.begin() + static_cast<ptrdiff_t>(size));
    std::vector<uint8_t> archive;
    std::string reason;
    EXPECT_FALSE(ExpandSkinFile(cut, &archive, &reason)) << size << " of " << file.size();
    EXPECT_FALSE(reason.empty()) << size;
  }
}

TEST(SkinFileExpand, BytesAfterTheStreamDoNoHarm) {
  const auto entries = SampleEntries();
  std::vector<uint8_t> file = BuildSkinFile(entries);
  file.insert(file.end(), {0xFF, 0x00, 0x12});
  std::vector<uint8_t> archive;
  ASSERT_TRUE(ExpandSkinFile(file, &archive, nullptr));
  EXPECT_EQ(archive, BuildSkinArchive(entries));
}

TEST(SkinFileExpand, RefusesImpossibleSizes) {
  std::vector<uint8_t> file = BuildSkinFile(SampleEntries());
  std::string reason;
  file[3] = 0x80;  // negative
  EXPECT_FALSE(ExpandSkinFile(file, nullptr, &reason));
  EXPECT_NE(reason.find("negative"), std::string::npos);
  file[3] = 0x7F;  // far more than the stream can hold
  EXPECT_FALSE(ExpandSkinFile(file, nullptr, &reason));
  EXPECT_NE(reason.find("impossible"), std::string::npos);
}

TEST(SkinFileExpand, EmptyStatedSizeGivesAnEmptyArchive) {
  const std::vector<uint8_t> file = {0, 0, 0, 0};
  std::vector<uint8_t> archive = {1, 2, 3};
  EXPECT_TRUE(ExpandSkinFile(file, &archive, nullptr));
  EXPECT_TRUE(archive.empty());
}

}  // namespace
