#include "skin/data/SkinArchive.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "skin/data/Lzh.h"

namespace {

int32_t ReadInt32Le(const uint8_t* p) {
  const uint32_t v = static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                     (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
  return static_cast<int32_t>(v);
}

std::string Num(int64_t value) { return std::to_string(value); }

}  // namespace

int32_t SkinArchiveExtraSize(int32_t version) {
  switch (version) {
    case 20000: return 0;
    case 30000: return 256;
    case 40000: return 80;
    case 50000: return 48;
    default: return -1;
  }
}

std::vector<std::string> SplitSkinNames(std::string_view text) {
  if (const size_t nul = text.find('\0'); nul != std::string_view::npos) {
    text = text.substr(0, nul);
  }
  std::vector<std::string> names;
  size_t start = 0;
  size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c != '\r' && c != '\n') {
      ++i;
      continue;
    }
    names.emplace_back(text.substr(start, i - start));
    i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
    start = i;
  }
  if (start < text.size()) names.emplace_back(text.substr(start));
  for (std::string& name : names) {
    for (char& ch : name) {
      if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
    }
  }
  return names;
}

bool TSkinReader::Refuse(TSkinLoadStatus status, std::string message) {
  lastStatus_ = status;
  lastError_ = std::move(message);
  return false;
}

bool TSkinReader::Load(TMemoryStream& Skin) {
  const std::span<const uint8_t> file = Skin.Bytes();
  if (file.size() < 4) {
    return Refuse(TSkinLoadStatus::slBadSkinFile,
                  "skin file is " + Num(static_cast<int64_t>(file.size())) +
                      " bytes; the expanded size at offset 0 needs 4");
  }
  const int32_t expandedSize = ReadInt32Le(file.data());
  if (expandedSize < 0) {
    return Refuse(TSkinLoadStatus::slBadSkinFile,
                  "skin file: expanded size " + Num(expandedSize) + " at offset 0 is negative");
  }
  const int64_t limit = LzhMaxExpandedSize(static_cast<int64_t>(file.size()));
  if (expandedSize > limit) {
    return Refuse(TSkinLoadStatus::slBadSkinFile,
                  "skin file: expanded size " + Num(expandedSize) +
                      " at offset 0 is impossible for " + Num(static_cast<int64_t>(file.size())) +
                      " bytes of compressed data (at most " + Num(limit) + ")");
  }
  const std::vector<uint8_t> archive = LzhExpandSkinStream(file);
  return LoadArchive(archive);
}

bool TSkinReader::LoadArchive(std::span<const uint8_t> Archive) {
  const auto total = static_cast<int64_t>(Archive.size());
  const std::string archiveEnd = "the end of the archive (" + Num(total) + " bytes)";
  if (Archive.size() < kSkinArchiveHeaderSize) {
    return Refuse(TSkinLoadStatus::slBadArchive,
                  "skin archive: the header at offset 0 needs 16 bytes, only " + Num(total) +
                      " present");
  }
  TSkinArchiveHeader header;
  header.Version = ReadInt32Le(Archive.data());
  header.NamesLength = ReadInt32Le(Archive.data() + 4);
  header.Reserved1 = ReadInt32Le(Archive.data() + 8);
  header.Reserved2 = ReadInt32Le(Archive.data() + 12);

  const int32_t extra = SkinArchiveExtraSize(header.Version);
  if (extra < 0) {
    return Refuse(TSkinLoadStatus::slUnknownVersion,
                  "skin archive: unknown version " + Num(header.Version) +
                      " at offset 0 (known: 20000, 30000, 40000, 50000)");
  }
  if (header.NamesLength < 0) {
    return Refuse(TSkinLoadStatus::slBadArchive, "skin archive: names length " +
                                                     Num(header.NamesLength) +
                                                     " at offset 4 is negative");
  }
  const int64_t namesOffset = static_cast<int64_t>(kSkinArchiveHeaderSize) + extra;
  if (namesOffset > total) {
    return Refuse(TSkinLoadStatus::slBadArchive,
                  "skin archive: the extra block of version " + Num(header.Version) + " (" +
                      Num(extra) + " bytes at offset 16) runs past " + archiveEnd);
  }
  const int64_t sizesOffset = namesOffset + header.NamesLength;
  if (sizesOffset > total) {
    return Refuse(TSkinLoadStatus::slBadArchive,
                  "skin archive: the names text (" + Num(header.NamesLength) +
                      " bytes at offset " + Num(namesOffset) + ") runs past " + archiveEnd);
  }
  const std::string_view namesText(reinterpret_cast<const char*>(Archive.data()) + namesOffset,
                                   static_cast<size_t>(header.NamesLength));
  std::vector<std::string> names = SplitSkinNames(namesText);
  const auto count = static_cast<int64_t>(names.size());
  if (count > kSkinMaxEntries) {
    return Refuse(TSkinLoadStatus::slBadArchive,
                  "skin archive: the names text at offset " + Num(namesOffset) + " lists " +
                      Num(count) + " names; at most " + Num(kSkinMaxEntries) + " are allowed");
  }
  const int64_t dataOffset = sizesOffset + 4 * count;
  if (dataOffset > total) {
    return Refuse(TSkinLoadStatus::slBadArchive,
                  "skin archive: the size table (" + Num(count) + " entries at offset " +
                      Num(sizesOffset) + ") runs past " + archiveEnd);
  }
  std::array<int32_t, kSkinMaxEntries> sizes{};
  for (int64_t i = 0; i < count; ++i) {
    const int64_t at = sizesOffset + 4 * i;
    const int32_t size = ReadInt32Le(Archive.data() + at);
    if (size < 0) {
      return Refuse(TSkinLoadStatus::slBadArchive,
                    "skin archive: entry " + Num(i) + " (\"" + names[static_cast<size_t>(i)] +
                        "\") has the negative size " + Num(size) + " at offset " + Num(at));
    }
    sizes[static_cast<size_t>(i)] = size;
  }

  // Accepted: replace everything at once.
  names_ = std::move(names);
  entryCount_ = static_cast<int32_t>(count);
  sizes_ = sizes;
  data_.Buffer().assign(Archive.begin() + static_cast<ptrdiff_t>(dataOffset), Archive.end());
  data_.SetPosition(0);
  header_ = header;
  lastStatus_ = TSkinLoadStatus::slLoaded;
  lastError_.clear();
  return true;
}

void TSkinReader::CopyEntry(int64_t offset, int32_t size, TMemoryStream& Dest) const {
  const std::span<const uint8_t> data = data_.Bytes();
  const auto dataSize = static_cast<int64_t>(data.size());
  // Entries that run past the end of the entry data give the bytes that are present.
  const int64_t present = std::clamp<int64_t>(dataSize - offset, 0, size);
  if (present > 0) {
    Dest.WriteBuffer(data.data() + offset, static_cast<size_t>(present));
  }
  Dest.SetPosition(0);
}

void TSkinReader::ExtractByName(std::string_view Name, TMemoryStream& Dest) const {
  Dest.Clear();
  std::string wanted(Name);
  for (char& c : wanted) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  int64_t offset = 0;
  for (int32_t i = 0; i < entryCount_; ++i) {
    const int32_t size = sizes_[static_cast<size_t>(i)];
    if (names_[static_cast<size_t>(i)] == wanted) {
      CopyEntry(offset, size, Dest);
      return;
    }
    offset += size;
  }
}

void TSkinReader::ExtractByPart(std::string_view Part, TMemoryStream& Dest,
                                std::string& FullName) const {
  Dest.Clear();
  int64_t offset = 0;
  for (int32_t i = 0; i < entryCount_; ++i) {
    const int32_t size = sizes_[static_cast<size_t>(i)];
    const std::string& name = names_[static_cast<size_t>(i)];
    if (name.find(Part) != std::string::npos) {
      CopyEntry(offset, size, Dest);
      FullName = name;
      return;
    }
    offset += size;
  }
}

void TSkinReader::ExtractByIndex(int32_t Index, TMemoryStream& Dest) const {
  Dest.Clear();
  if (Index < 0 || Index >= entryCount_) return;
  int64_t offset = 0;
  for (int32_t i = 0; i < Index; ++i) offset += sizes_[static_cast<size_t>(i)];
  CopyEntry(offset, sizes_[static_cast<size_t>(Index)], Dest);
}
