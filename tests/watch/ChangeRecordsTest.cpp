// Decoding of change-record buffers: full names, trimming, rename pairing within one
// batch, the all-zero buffer, the trailing-backslash rule and malformed records.
#include "watch/ChangeRecords.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/watch/RecordBuilder.h"

namespace {

constexpr uint32_t kAdd = kActionAdded;
constexpr uint32_t kRemove = kActionRemoved;
constexpr uint32_t kModify = kActionModified;
constexpr uint32_t kOld = kActionRenamedOldName;
constexpr uint32_t kNew = kActionRenamedNewName;

struct Record {
  uint32_t action;
  std::u16string name;
};

struct BatchCase {
  const char* what;
  std::u16string directory;
  std::vector<Record> records;
  std::vector<FileChange> expected;
};

std::vector<uint8_t> Build(const std::vector<Record>& records) {
  RecordBuilder b;
  for (const Record& r : records) b.Add(r.action, r.name);
  return b.Bytes();
}

class DecodeBatch : public testing::TestWithParam<BatchCase> {};

TEST_P(DecodeBatch, GivesExactlyTheExpectedChanges) {
  const BatchCase& c = GetParam();
  const std::vector<uint8_t> bytes = Build(c.records);
  const DecodedBatch batch = DecodeChangeRecords(bytes, c.directory);
  EXPECT_EQ(batch.status, RecordStatus::kOk);
  EXPECT_EQ(batch.recordCount, c.records.size());
  EXPECT_EQ(batch.changes, c.expected);
}

const BatchCase kBatches[] = {
    {"added file in a subfolder of a root",
     u"C:\\",
     {{kAdd, u"dir\\new.txt"}},
     {{foAdded, u"C:\\dir\\new.txt", u""}}},
    {"removed and modified map to 1 and 2",
     u"D:\\w\\",
     {{kRemove, u"a"}, {kModify, u"b"}},
     {{foRemoved, u"D:\\w\\a", u""}, {foModified, u"D:\\w\\b", u""}}},
    {"old then new name is one rename",
     u"D:\\",
     {{kOld, u"a.txt"}, {kNew, u"b.txt"}},
     {{foRenamed, u"D:\\a.txt", u"D:\\b.txt"}}},
    {"a second new name pairs with the same old name",
     u"D:\\",
     {{kOld, u"a"}, {kNew, u"b"}, {kNew, u"c"}},
     {{foRenamed, u"D:\\a", u"D:\\b"}, {foRenamed, u"D:\\a", u"D:\\c"}}},
    {"a new name without an old name in this batch is dropped",
     u"D:\\",
     {{kNew, u"b"}},
     {}},
    {"a new name after an added record is dropped",
     u"D:\\",
     {{kOld, u"a"}, {kAdd, u"x"}, {kNew, u"b"}},
     {{foAdded, u"D:\\x", u""}}},
    {"a new name pairs with the most recent old name",
     u"D:\\",
     {{kOld, u"a"}, {kOld, u"b"}, {kNew, u"c"}},
     {{foRenamed, u"D:\\b", u"D:\\c"}}},
    {"unknown actions raise nothing and keep a pending rename",
     u"D:\\",
     {{0, u"z"}, {kOld, u"a"}, {6, u"y"}, {0xFFFFFFFFu, u"q"}, {kNew, u"b"}},
     {{foRenamed, u"D:\\a", u"D:\\b"}}},
    {"leading and trailing blanks are part of the name; NUL padding is not",
     u"D:\\",
     {{kAdd, u"  a b.txt \t"}, {kAdd, std::u16string(u"\0\x1f" u"c\0\0", 5)}},
     {{foAdded, u"D:\\  a b.txt \t", u""}, {foAdded, u"D:\\\x1f" u"c", u""}}},
    {"blanks inside and at the end of a path stay",
     u"D:\\",
     {{kAdd, u"dir\\ x "}},
     {{foAdded, u"D:\\dir\\ x ", u""}}},
    {"a name of NULs only gives an empty full name, never the directory alone",
     u"D:\\",
     {{kAdd, std::u16string(u"\0\0", 2)}, {kOld, u"a"}, {kNew, std::u16string(u"\0", 1)}},
     {{foAdded, u"", u""}, {foRenamed, u"D:\\a", u""}}},
    {"an empty name gives an empty full name",
     u"D:\\",
     {{kRemove, u""}},
     {{foRemoved, u"", u""}}},
    {"names arrive exactly as the system gave them",
     u"D:\\",
     {{kAdd, u"한국어\\파일.txt"},
      {kAdd, u"\U0001F600 emoji"},
      {kAdd, u"\uFEFFbom"},
      {kAdd, u"\u3000ideographic space\u3000"},
      {kOld, u"磁盘"},
      {kNew, u"监视"}},
     {{foAdded, u"D:\\한국어\\파일.txt", u""},
      {foAdded, u"D:\\\U0001F600 emoji", u""},
      {foAdded, u"D:\\\uFEFFbom", u""},
      {foAdded, u"D:\\\u3000ideographic space\u3000", u""},
      {foRenamed, u"D:\\磁盘", u"D:\\监视"}}},
    {"an unpaired surrogate is passed through",
     u"D:\\",
     {{kAdd, std::u16string(1, char16_t{0xD800}) + u"x"}},
     {{foAdded, u"D:\\" + std::u16string(1, char16_t{0xD800}) + u"x", u""}}},
};

INSTANTIATE_TEST_SUITE_P(ChangeRecords, DecodeBatch, testing::ValuesIn(kBatches),
                         [](const testing::TestParamInfo<BatchCase>& param) {
                           return "case" + std::to_string(param.index);
                         });

TEST(ChangeRecords, AllZeroBufferIsOneRecordThatRaisesNothing) {
  const std::vector<uint8_t> zeros(65536, 0);
  const DecodedBatch batch = DecodeChangeRecords(zeros, u"D:\\");
  EXPECT_EQ(batch.status, RecordStatus::kOk);
  EXPECT_EQ(batch.recordCount, 1u);
  EXPECT_TRUE(batch.changes.empty());
}

TEST(ChangeRecords, EmptyBufferRaisesNothing) {
  const DecodedBatch batch = DecodeChangeRecords({}, u"D:\\");
  EXPECT_EQ(batch.status, RecordStatus::kOk);
  EXPECT_EQ(batch.recordCount, 0u);
  EXPECT_TRUE(batch.changes.empty());
}

TEST(ChangeRecords, PairingDoesNotCrossBatches) {
  const auto first = Build({{kOld, u"a"}});
  const auto second = Build({{kNew, u"b"}});
  EXPECT_TRUE(DecodeChangeRecords(first, u"D:\\").changes.empty());
  EXPECT_TRUE(DecodeChangeRecords(second, u"D:\\").changes.empty());
}

TEST(ChangeRecords, FullBufferOfRecordsIsDecodedCompletely) {
  RecordBuilder b;
  size_t count = 0;
  while (b.Bytes().size() + 12 + 20 <= 65536) {
    b.Add(kAdd, u"f" + std::u16string(4, static_cast<char16_t>(u'0' + count % 10)));
    ++count;
  }
  const DecodedBatch batch = DecodeChangeRecords(b.Bytes(), u"E:\\t\\");
  EXPECT_EQ(batch.status, RecordStatus::kOk);
  ASSERT_EQ(batch.changes.size(), count);
  EXPECT_EQ(batch.changes.back().fileName1,
            u"E:\\t\\f" + std::u16string(4, static_cast<char16_t>(u'0' + (count - 1) % 10)));
}

TEST(ChangeRecords, RecordsPackedWithoutPaddingAreAccepted) {
  // Two records with a 1-unit name each, the second starting right after the first name.
  RecordBuilder b;
  b.Add(kAdd, u"a");  // 12 + 2 bytes, padded to 16
  std::vector<uint8_t> bytes = b.Bytes();
  bytes.resize(14);
  bytes[0] = 14;  // NextEntryOffset of the first record
  const std::vector<uint8_t> second = RecordBuilder().Add(kRemove, u"b").Bytes();
  bytes.insert(bytes.end(), second.begin(), second.end());
  const DecodedBatch batch = DecodeChangeRecords(bytes, u"D:\\");
  EXPECT_EQ(batch.status, RecordStatus::kOk);
  EXPECT_EQ(batch.changes,
            (std::vector<FileChange>{{foAdded, u"D:\\a", u""}, {foRemoved, u"D:\\b", u""}}));
}

// Malformed buffers: decoding stops at the bad record, keeps what came before, and never
// reads outside the buffer (the sanitizers and the fuzz target watch the last part).
struct MalformedCase {
  const char* what;
  std::vector<uint8_t> bytes;
  size_t expectedChanges;
};

std::vector<MalformedCase> MalformedCases() {
  std::vector<MalformedCase> cases;
  const std::vector<uint8_t> two = RecordBuilder().Add(kAdd, u"ab").Add(kAdd, u"cd").Bytes();
  // Second record starts at 16.
  {
    std::vector<uint8_t> b(two.begin(), two.begin() + 5);
    cases.push_back({"header cut short", b, 0});
  }
  {
    std::vector<uint8_t> b(two.begin(), two.begin() + 16 + 13);
    cases.push_back({"second record's name cut short", b, 1});
  }
  {
    auto b = RecordBuilder().Add(kAdd, u"ab").Patch(0, 8, 0xFFFFFFF0u).Bytes();
    cases.push_back({"name length far past the end", b, 0});
  }
  {
    auto b = RecordBuilder().Add(kAdd, u"ab").Patch(0, 8, 3).Bytes();
    cases.push_back({"odd name length", b, 0});
  }
  {
    auto b = RecordBuilder().Add(kAdd, u"ab").Add(kAdd, u"cd").Patch(0, 0, 0x10000).Bytes();
    cases.push_back({"next offset past the end", b, 1});
  }
  {
    auto b = RecordBuilder().Add(kAdd, u"ab").Add(kAdd, u"cd").Patch(0, 0, 4).Bytes();
    cases.push_back({"next offset inside its own record", b, 1});
  }
  {
    auto b = RecordBuilder().Add(kAdd, u"ab").Add(kAdd, u"cd").Patch(0, 0, 0xFFFFFFFFu).Bytes();
    cases.push_back({"next offset that wraps a 32-bit size", b, 1});
  }
  {
    auto b = RecordBuilder().Add(kAdd, u"ab").Patch(0, 0, 16).Bytes();
    cases.push_back({"next offset at the exact end", b, 1});
  }
  {
    auto b = RecordBuilder().Add(kAdd, u"ab").Add(kAdd, u"cd").Patch(0, 0, 16).Bytes();
    // Second record points back to the first: a loop.
    b[16] = 0xF0;
    b[17] = 0xFF;
    b[18] = 0xFF;
    b[19] = 0xFF;
    cases.push_back({"loop back to an earlier record", b, 2});
  }
  return cases;
}

TEST(ChangeRecords, MalformedRecordsEndTheBatchSafely) {
  for (const MalformedCase& c : MalformedCases()) {
    SCOPED_TRACE(c.what);
    // A private copy of exactly the bytes, so that any read past them is caught.
    std::vector<uint8_t> exact(c.bytes);
    const DecodedBatch batch = DecodeChangeRecords(exact, u"D:\\");
    EXPECT_EQ(batch.status, RecordStatus::kMalformed);
    EXPECT_EQ(batch.changes.size(), c.expectedChanges);
  }
}

struct BackslashCase {
  std::u16string given;
  std::u16string stored;
};

TEST(ChangeRecords, TrailingBackslashIsAddedOnlyWhenMissing) {
  const BackslashCase cases[] = {
      {u"C:\\data", u"C:\\data\\"},
      {u"C:\\data\\", u"C:\\data\\"},
      {u"D:\\", u"D:\\"},
      {u"D:", u"D:\\"},
      {u"", u"\\"},
      // In UTF-16 no character hides a backslash in its second byte: 表 (U+8868) is one
      // code unit, so the backslash is still added after it.
      {u"D:\\表", u"D:\\表\\"},
      {u"D:\\한국어", u"D:\\한국어\\"},
  };
  for (const BackslashCase& c : cases) EXPECT_EQ(WithTrailingBackslash(c.given), c.stored);
}

TEST(ChangeRecords, RootNeverGivesADoubledBackslash) {
  const auto bytes = Build({{kAdd, u"a.txt"}});
  const DecodedBatch batch = DecodeChangeRecords(bytes, WithTrailingBackslash(u"D:\\"));
  ASSERT_EQ(batch.changes.size(), 1u);
  EXPECT_EQ(batch.changes[0].fileName1, u"D:\\a.txt");
}

// The filter set and its system mask.
TEST(WatchTypes, FilterMaskMapsEachMember) {
  const struct {
    TNotifyFilter member;
    uint32_t mask;
  } cases[] = {
      {nfFileNameChange, 0x001},  {nfDirNameChange, 0x002}, {nfAttributeChange, 0x004},
      {nfSizeChange, 0x008},      {nfWriteChange, 0x010},   {nfAccessChange, 0x020},
      {nfCreationDateChange, 0x040}, {nfSecurityChange, 0x100},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FilterMask(TNotifyFilters{c.member}), c.mask) << int{c.member};
    EXPECT_EQ(TNotifyFilters{c.member}.Bits(), 1u << c.member);
  }
}

TEST(WatchTypes, FilterMaskOfSets) {
  EXPECT_EQ(FilterMask({nfFileNameChange, nfDirNameChange, nfSizeChange, nfWriteChange}), 0x1bu);
  EXPECT_EQ(FilterMask({}), 0u);
  EXPECT_EQ(FilterMask(TNotifyFilters::FromBits(0xFF)), 0x17Fu);
  EXPECT_EQ(FilterMask({nfFileNameChange, nfDirNameChange}), 0x3u);
}

TEST(WatchTypes, SetOperations) {
  TNotifyFilters s{nfSizeChange};
  EXPECT_TRUE(s.Contains(nfSizeChange));
  EXPECT_FALSE(s.Contains(nfWriteChange));
  s.Include(nfSecurityChange);
  EXPECT_EQ(s.Bits(), 0x88u);
  s.Exclude(nfSizeChange);
  EXPECT_EQ(s, TNotifyFilters{nfSecurityChange});
  EXPECT_TRUE(TNotifyFilters{}.Empty());
  EXPECT_EQ(sizeof(TFileOperation), 1u);
  EXPECT_EQ(int{foOverflow}, 4);
}

}  // namespace
