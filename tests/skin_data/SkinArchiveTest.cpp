#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/Streams.h"
#include "framework/SysUtils.h"
#include "skin/data/Lzh.h"
#include "skin/data/LzhCompressor.h"
#include "skin/data/SkinArchive.h"
#include "skin/data/SkinArchiveWriter.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Names = std::vector<std::string>;

Bytes B(const std::string& text) { return Bytes(text.begin(), text.end()); }

void PutInt32(Bytes& out, int32_t value) {
  const auto v = static_cast<uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

int32_t GetInt32(const Bytes& in, size_t at) {
  return static_cast<int32_t>(static_cast<uint32_t>(in[at]) | (static_cast<uint32_t>(in[at + 1]) << 8) |
                              (static_cast<uint32_t>(in[at + 2]) << 16) |
                              (static_cast<uint32_t>(in[at + 3]) << 24));
}

// An archive laid out field by field, free to state things that are not true.
Bytes RawArchive(int32_t version, int32_t namesLength, size_t extra, const std::string& names,
                 const std::vector<int32_t>& sizes, const Bytes& data) {
  Bytes out;
  PutInt32(out, version);
  PutInt32(out, namesLength);
  PutInt32(out, 0);
  PutInt32(out, 0);
  out.insert(out.end(), extra, uint8_t{0});
  out.insert(out.end(), names.begin(), names.end());
  for (int32_t size : sizes) PutInt32(out, size);
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

Bytes RawArchive(const std::string& names, const std::vector<int32_t>& sizes, const Bytes& data) {
  return RawArchive(20000, static_cast<int32_t>(names.size()), 0, names, sizes, data);
}

std::vector<TSkinEntry> SampleEntries() {
  return {{"Skin.INI", B("[TitleBar]\r\nSkinName=Test\r\n")},
          {"Combo-Arrows.bmp", B("BM-combo-arrows")},
          {"empty.bmp", {}},
          {"Title.bmp", B("BM-title-bitmap")}};
}

std::string Extract(const TSkinReader& reader, const std::string& name) {
  TMemoryStream dest;
  reader.ExtractByName(name, dest);
  EXPECT_EQ(dest.Position(), 0);
  return std::string(dest.Bytes().begin(), dest.Bytes().end());
}

void LoadSample(TSkinReader& reader) {
  ASSERT_TRUE(reader.LoadArchive(BuildSkinArchive(SampleEntries())));
}

Bytes Archive(const std::vector<TSkinEntry>& entries, const TSkinArchiveOptions& options = {}) {
  return BuildSkinArchive(entries, options);
}

void ExpectSampleTables(const TSkinReader& reader) {
  EXPECT_EQ(reader.Names(), (Names{"skin.ini", "combo-arrows.bmp", "empty.bmp", "title.bmp"}));
  EXPECT_EQ(reader.EntryCount(), 4);
  EXPECT_EQ(reader.ArchiveHeader().Version, 20000);
  EXPECT_EQ(Extract(reader, "title.bmp"), "BM-title-bitmap");
}

TEST(SkinArchive, OlderSkinTextIsExact) {
  EXPECT_STREQ(kOlderSkinFileText, "This is Older Skin File\rPlease update to new version !");
}

TEST(SkinArchive, LoadsWholeSkinFile) {
  const std::vector<TSkinEntry> entries = SampleEntries();
  const Bytes archive = BuildSkinArchive(entries);
  TMemoryStream skin(BuildSkinFile(entries));
  EXPECT_EQ(GetInt32(skin.Buffer(), 0), static_cast<int32_t>(archive.size()));

  TSkinReader reader;
  ASSERT_TRUE(reader.Load(skin)) << reader.LastError();
  EXPECT_EQ(reader.LastStatus(), TSkinLoadStatus::slLoaded);
  EXPECT_EQ(reader.LastError(), "");
  ExpectSampleTables(reader);
  const std::string namesText = "Skin.INI\r\nCombo-Arrows.bmp\r\nempty.bmp\r\nTitle.bmp";
  EXPECT_EQ(reader.ArchiveHeader().NamesLength, static_cast<int32_t>(namesText.size()));
  size_t dataSize = 0;
  for (size_t i = 0; i < entries.size(); ++i) {
    EXPECT_EQ(reader.Sizes()[i], static_cast<int32_t>(entries[i].Bytes.size()));
    dataSize += entries[i].Bytes.size();
  }
  EXPECT_EQ(reader.Sizes()[entries.size()], 0);
  EXPECT_EQ(reader.Data().Bytes().size(), dataSize);
  EXPECT_EQ(archive.size(), 16 + namesText.size() + 4 * entries.size() + dataSize);
}

TEST(SkinArchive, EveryKnownVersionSkipsItsExtraBlock) {
  struct VersionCase {
    int32_t version;
    size_t extra;
  };
  for (const VersionCase c : {VersionCase{20000, 0}, VersionCase{30000, 256},
                              VersionCase{40000, 80}, VersionCase{50000, 48}}) {
    TSkinArchiveOptions options;
    options.Version = c.version;
    options.Reserved1 = 7;
    options.Reserved2 = -9;
    const Bytes archive = BuildSkinArchive(SampleEntries(), options);
    // The writer's layout: header, zero extra block, names text joined by CR LF.
    EXPECT_EQ(SkinArchiveExtraSize(c.version), static_cast<int32_t>(c.extra));
    EXPECT_EQ(GetInt32(archive, 0), c.version);
    EXPECT_EQ(GetInt32(archive, 8), 7);
    EXPECT_EQ(GetInt32(archive, 12), -9);
    for (size_t i = 16; i < 16 + c.extra; ++i) ASSERT_EQ(archive[i], 0) << i;
    EXPECT_EQ(std::string(archive.begin() + static_cast<ptrdiff_t>(16 + c.extra),
                          archive.begin() + static_cast<ptrdiff_t>(16 + c.extra + 10)),
              "Skin.INI\r\n");

    TSkinReader reader;
    ASSERT_TRUE(reader.LoadArchive(archive)) << c.version << ": " << reader.LastError();
    EXPECT_EQ(reader.ArchiveHeader().Version, c.version);
    EXPECT_EQ(reader.ArchiveHeader().Reserved1, 7);
    EXPECT_EQ(reader.ArchiveHeader().Reserved2, -9);
    EXPECT_EQ(reader.EntryCount(), 4);
    EXPECT_EQ(Extract(reader, "combo-arrows.bmp"), "BM-combo-arrows") << c.version;
    EXPECT_EQ(Extract(reader, "title.bmp"), "BM-title-bitmap") << c.version;
  }
}

TEST(SkinArchive, ExtractByNameIgnoresAsciiCase) {
  TSkinReader reader;
  LoadSample(reader);
  EXPECT_EQ(Extract(reader, "Combo-Arrows.bmp"), "BM-combo-arrows");
  EXPECT_EQ(Extract(reader, "COMBO-ARROWS.BMP"), "BM-combo-arrows");
  EXPECT_EQ(Extract(reader, "title.bmp"), "BM-title-bitmap");
}

TEST(SkinArchive, ExtractByNameWithoutMatchLeavesDestinationEmpty) {
  TSkinReader reader;
  LoadSample(reader);
  TMemoryStream dest(B("old content"));
  reader.ExtractByName("missing.bmp", dest);
  EXPECT_EQ(dest.Size(), 0);
  reader.ExtractByName("combo-arrows", dest);  // a part of a name is not the name
  EXPECT_EQ(dest.Size(), 0);
  reader.ExtractByName("empty.bmp", dest);
  EXPECT_EQ(dest.Size(), 0);
}

TEST(SkinArchive, ExtractByPartFindsFirstNameContainingThePart) {
  const std::vector<TSkinEntry> entries = {{"a.bmp", B("A")},
                                           {"old.ini.bak", B("OLD")},
                                           {"skin.ini", B("INI")}};
  TSkinReader reader;
  ASSERT_TRUE(reader.LoadArchive(BuildSkinArchive(entries)));
  TMemoryStream dest;
  std::string fullName = "unchanged";
  reader.ExtractByPart(".ini", dest, fullName);
  EXPECT_EQ(fullName, "old.ini.bak");
  EXPECT_EQ(std::string(dest.Bytes().begin(), dest.Bytes().end()), "OLD");
  EXPECT_EQ(dest.Position(), 0);

  reader.ExtractByPart("skin.", dest, fullName);
  EXPECT_EQ(fullName, "skin.ini");
  EXPECT_EQ(std::string(dest.Bytes().begin(), dest.Bytes().end()), "INI");
}

TEST(SkinArchive, ExtractByPartIsCaseSensitiveAndKeepsNameWhenMissing) {
  TSkinReader reader;
  LoadSample(reader);
  TMemoryStream dest(B("old"));
  std::string fullName = "unchanged";
  reader.ExtractByPart(".INI", dest, fullName);  // names are stored in lower case
  EXPECT_EQ(dest.Size(), 0);
  EXPECT_EQ(fullName, "unchanged");
  reader.ExtractByPart(".ini", dest, fullName);
  EXPECT_EQ(fullName, "skin.ini");
  EXPECT_EQ(std::string(dest.Bytes().begin(), dest.Bytes().end()),
            "[TitleBar]\r\nSkinName=Test\r\n");
}

TEST(SkinArchive, DuplicateNamesGiveTheFirstEntry) {
  const std::vector<TSkinEntry> entries = {
      {"x.bmp", B("first")}, {"X.BMP", B("second")}, {"x.bmp", B("third")}};
  TSkinReader reader;
  ASSERT_TRUE(reader.LoadArchive(BuildSkinArchive(entries)));
  EXPECT_EQ(Extract(reader, "x.bmp"), "first");
  TMemoryStream dest;
  std::string fullName;
  reader.ExtractByPart("x", dest, fullName);
  EXPECT_EQ(std::string(dest.Bytes().begin(), dest.Bytes().end()), "first");
  reader.ExtractByIndex(1, dest);
  EXPECT_EQ(std::string(dest.Bytes().begin(), dest.Bytes().end()), "second");
  reader.ExtractByIndex(3, dest);
  EXPECT_EQ(dest.Size(), 0);
}

struct SplitCase {
  std::string text;
  Names names;
};

TEST(SkinArchive, NamesTextSplitting) {
  const SplitCase cases[] = {
      {"a\r\nb", {"a", "b"}},
      {"a\rb", {"a", "b"}},
      {"a\nb", {"a", "b"}},
      {"a\n\rb", {"a", "", "b"}},
      {"a\r\n\r\nb", {"a", "", "b"}},
      {"a\r\r\nb", {"a", "", "b"}},
      {"a\r\n", {"a"}},
      {"a\n", {"a"}},
      {"a\r\n\r\n", {"a", ""}},
      {"\r\n", {""}},
      {"\r\na", {"", "a"}},
      {"", {}},
      {std::string("a\r\nb\0c\r\nd", 9), {"a", "b"}},
      {std::string("\0a", 2), {}},
      {"MiXeD.BMP\r\nZ", {"mixed.bmp", "z"}},
      {"\xC6\xA4\xB7\xF4.BMP", {"\xC6\xA4\xB7\xF4.bmp"}},  // only ASCII letters change
  };
  for (const SplitCase& c : cases) {
    EXPECT_EQ(SplitSkinNames(c.text), c.names) << '"' << c.text << '"';
  }
}

TEST(SkinArchive, NamesTextSplittingDecidesEntryOffsets) {
  // Four names (one empty) from lone CR, LF and CR LF breaks; the NUL cuts off "ignored"
  // although the names length still counts its bytes.
  const std::string names("A\rB\n\r\nC\r\n\0ignored", 17);
  TSkinReader reader;
  ASSERT_TRUE(reader.LoadArchive(RawArchive(names, {1, 2, 0, 3}, B("abbccc"))))
      << reader.LastError();
  EXPECT_EQ(reader.Names(), (Names{"a", "b", "", "c"}));
  EXPECT_EQ(Extract(reader, "B"), "bb");
  EXPECT_EQ(Extract(reader, "c"), "ccc");
}

TEST(SkinArchive, UnknownVersionIsReportedAndTablesStay) {
  for (int32_t version : {10000, 0, -1, 20001, 60000}) {
    TSkinReader reader;
    LoadSample(reader);
    Bytes archive = Archive({{"other.bmp", B("x")}});
    archive[0] = static_cast<uint8_t>(version);
    archive[1] = static_cast<uint8_t>(version >> 8);
    archive[2] = static_cast<uint8_t>(version >> 16);
    archive[3] = static_cast<uint8_t>(version >> 24);
    EXPECT_FALSE(reader.LoadArchive(archive));
    EXPECT_EQ(reader.LastStatus(), TSkinLoadStatus::slUnknownVersion);
    EXPECT_NE(reader.LastError().find("unknown version " + std::to_string(version)),
              std::string::npos)
        << reader.LastError();
    ExpectSampleTables(reader);

    TMemoryStream skin(LzhCompress(archive));
    EXPECT_FALSE(reader.Load(skin));
    EXPECT_EQ(reader.LastStatus(), TSkinLoadStatus::slUnknownVersion);
    ExpectSampleTables(reader);
  }
}

struct MalformedCase {
  const char* name;
  Bytes archive;
  std::string where;  // text the error must hold
};

TEST(SkinArchive, MalformedArchivesAreRefusedAndTablesStay) {
  std::string tooManyNames;
  for (int i = 0; i < 1002; ++i) tooManyNames += "n" + std::to_string(i) + "\r\n";
  const std::vector<int32_t> manySizes(1002, 0);
  const MalformedCase cases[] = {
      {"empty", {}, "header at offset 0 needs 16 bytes, only 0"},
      {"short header", Bytes(15, 0), "header at offset 0 needs 16 bytes, only 15"},
      {"negative names length", RawArchive(20000, -1, 0, "a", {1}, B("x")),
       "names length -1 at offset 4 is negative"},
      {"extra block past end", RawArchive(30000, 0, 100, "", {}, {}),
       "extra block of version 30000 (256 bytes at offset 16) runs past the end of the "
       "archive (116 bytes)"},
      {"names past end", RawArchive(20000, 50, 0, "a\r\nb", {}, {}),
       "names text (50 bytes at offset 16) runs past the end of the archive (20 bytes)"},
      {"names past end after extra", RawArchive(40000, 5, 80, "abcd", {}, {}),
       "names text (5 bytes at offset 96)"},
      {"size table past end", RawArchive(20000, 4, 0, "a\r\nb", {}, Bytes(7, 0)),
       "size table (2 entries at offset 20) runs past the end of the archive (27 bytes)"},
      {"too many names", RawArchive(tooManyNames, manySizes, {}),
       "lists 1002 names; at most 1001"},
      {"negative size", RawArchive("a\r\nb\r\nc", {1, -5, 1}, B("xy")),
       "entry 1 (\"b\") has the negative size -5 at offset 27"},
      {"size INT_MIN", RawArchive("a", {INT32_MIN}, {}), "negative size -2147483648 at offset 17"},
  };
  for (const MalformedCase& c : cases) {
    TSkinReader reader;
    LoadSample(reader);
    EXPECT_FALSE(reader.LoadArchive(c.archive)) << c.name;
    EXPECT_EQ(reader.LastStatus(), TSkinLoadStatus::slBadArchive) << c.name;
    EXPECT_NE(reader.LastError().find(c.where), std::string::npos)
        << c.name << ": " << reader.LastError();
    ExpectSampleTables(reader);
    // The same archive inside a skin file is refused the same way.
    TMemoryStream skin(LzhCompress(c.archive));
    EXPECT_FALSE(reader.Load(skin)) << c.name;
    EXPECT_EQ(reader.LastStatus(), TSkinLoadStatus::slBadArchive) << c.name;
    ExpectSampleTables(reader);
  }
}

TEST(SkinArchive, ExactlyTheLargestNameCountIsAccepted) {
  std::vector<TSkinEntry> entries;
  for (int i = 0; i < kSkinMaxEntries; ++i) {
    entries.push_back({"e" + std::to_string(i), B(std::to_string(i))});
  }
  TSkinReader reader;
  ASSERT_TRUE(reader.LoadArchive(BuildSkinArchive(entries))) << reader.LastError();
  EXPECT_EQ(reader.EntryCount(), kSkinMaxEntries);
  EXPECT_EQ(reader.Sizes()[kSkinMaxEntries - 1], 4);
  EXPECT_EQ(Extract(reader, "e1000"), "1000");
}

TEST(SkinArchive, EntriesPastTheEndOfDataGiveTheBytesPresent) {
  TSkinReader reader;
  ASSERT_TRUE(reader.LoadArchive(RawArchive("a\r\nb\r\nc", {5, 10, 4}, B("12345678"))))
      << reader.LastError();
  EXPECT_EQ(Extract(reader, "a"), "12345");
  EXPECT_EQ(Extract(reader, "b"), "678");
  EXPECT_EQ(Extract(reader, "c"), "");

  // Offsets beyond 32 bits neither wrap nor overflow.
  ASSERT_TRUE(reader.LoadArchive(
      RawArchive("a\r\nb\r\nc\r\nd", {INT32_MAX, INT32_MAX, INT32_MAX, 1}, B("xyz"))));
  EXPECT_EQ(Extract(reader, "a"), "xyz");
  EXPECT_EQ(Extract(reader, "d"), "");
  TMemoryStream dest;
  std::string fullName;
  reader.ExtractByPart("d", dest, fullName);
  EXPECT_EQ(fullName, "d");
  EXPECT_EQ(dest.Size(), 0);
}

TEST(SkinArchive, DataBeyondTheSizeTableIsUnused) {
  TSkinReader reader;
  ASSERT_TRUE(reader.LoadArchive(RawArchive("a\r\nb", {2, 1}, B("aabTRAILING"))));
  EXPECT_EQ(Extract(reader, "a"), "aa");
  EXPECT_EQ(Extract(reader, "b"), "b");
  EXPECT_EQ(reader.Data().Bytes().size(), 11u);
}

TEST(SkinArchive, ArchiveWithoutNamesLoadsEmpty) {
  TSkinReader reader;
  LoadSample(reader);
  ASSERT_TRUE(reader.LoadArchive(RawArchive("", {}, {})));
  EXPECT_EQ(reader.EntryCount(), 0);
  EXPECT_TRUE(reader.Names().empty());
  EXPECT_EQ(reader.Sizes()[0], 0);  // the previous sizes do not linger
  EXPECT_EQ(Extract(reader, "title.bmp"), "");
}

struct BadSkinFileCase {
  const char* name;
  Bytes file;
  std::string where;
};

TEST(SkinArchive, ImpossibleSkinFilesAreRefused) {
  Bytes hugeSize;
  PutInt32(hugeSize, INT32_MAX);
  hugeSize.insert(hugeSize.end(), 10, 0x55);
  Bytes negative;
  PutInt32(negative, -16);
  negative.insert(negative.end(), 10, 0x55);
  const BadSkinFileCase cases[] = {
      {"empty", {}, "skin file is 0 bytes; the expanded size at offset 0 needs 4"},
      {"three bytes", {1, 0, 0}, "skin file is 3 bytes"},
      {"negative size", negative, "expanded size -16 at offset 0 is negative"},
      {"absurd size", hugeSize, "expanded size 2147483647 at offset 0 is impossible for 14 bytes"},
  };
  for (const BadSkinFileCase& c : cases) {
    TSkinReader reader;
    LoadSample(reader);
    TMemoryStream skin(c.file);
    EXPECT_FALSE(reader.Load(skin)) << c.name;
    EXPECT_EQ(reader.LastStatus(), TSkinLoadStatus::slBadSkinFile) << c.name;
    EXPECT_NE(reader.LastError().find(c.where), std::string::npos)
        << c.name << ": " << reader.LastError();
    ExpectSampleTables(reader);
  }
}

TEST(SkinArchive, ExpanderErrorsReachTheCaller) {
  TSkinReader reader;
  LoadSample(reader);
  TMemoryStream skin(BuildSkinFile(std::vector<TSkinEntry>{{"a.bmp", B("x")}}));
  LzhFailTableAllocationsForTesting(1);
  try {
    reader.Load(skin);
    ADD_FAILURE() << "no exception";
  } catch (const ElzhException& e) {
    EXPECT_STREQ(e.what(), "LZH : Cannot get memory for dictionary tables");
  }
  LzhFailTableAllocationsForTesting(0);
  ExpectSampleTables(reader);
  EXPECT_TRUE(reader.Load(skin));
  EXPECT_EQ(reader.Names(), Names{"a.bmp"});
}

TEST(SkinArchive, ZeroExpandedSizeIsAnEmptyArchive) {
  TSkinReader reader;
  LoadSample(reader);
  TMemoryStream skin(Bytes{0, 0, 0, 0});
  EXPECT_FALSE(reader.Load(skin));
  EXPECT_EQ(reader.LastStatus(), TSkinLoadStatus::slBadArchive);
  ExpectSampleTables(reader);
}

TEST(SkinArchive, TruncatedSkinFileNeverReadsOutOfBounds) {
  std::vector<TSkinEntry> entries = SampleEntries();
  entries.push_back({"big.bmp", Bytes(5000, 0x42)});
  const Bytes file = BuildSkinFile(entries);
  for (size_t keep : {file.size() - 1, file.size() / 2, size_t{5}}) {
    TSkinReader reader;
    TMemoryStream skin(Bytes(file.begin(), file.begin() + static_cast<ptrdiff_t>(keep)));
    // Whatever the cut leaves, the reader either loads an archive or says why not.
    if (!reader.Load(skin)) {
      EXPECT_NE(reader.LastStatus(), TSkinLoadStatus::slLoaded) << keep;
      EXPECT_FALSE(reader.LastError().empty()) << keep;
    } else {
      for (const std::string& name : reader.Names()) Extract(reader, name);
    }
  }
}

TEST(SkinArchiveWriter, RefusesWhatReadersCannotGetBack) {
  const Bytes x = B("x");
  EXPECT_THROW(Archive({{"a", x}}, {10000, 0, 0}), Exception);
  EXPECT_THROW(Archive({{"", x}}), Exception);
  EXPECT_THROW(Archive({{"a\rb", x}}), Exception);
  EXPECT_THROW(Archive({{"a\nb", x}}), Exception);
  EXPECT_THROW(Archive({{std::string("a\0b", 3), x}}), Exception);
  std::vector<TSkinEntry> tooMany(kSkinMaxEntries + 1, TSkinEntry{"n", {}});
  EXPECT_THROW(BuildSkinArchive(tooMany), Exception);
  tooMany.pop_back();
  EXPECT_NO_THROW(BuildSkinArchive(tooMany));
}

TEST(SkinArchiveWriter, EmptyEntryListMakesHeaderOnly) {
  const Bytes archive = Archive({});
  EXPECT_EQ(archive, Bytes({0x20, 0x4E, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

}  // namespace
