// TSkinReader: expands a skin file in memory and hands out its entries by name.
//
// Skin file (all integers little-endian):
//   0   4   expanded size E (signed 32-bit)
//   4   ..  LZHUF bit stream producing E bytes: the archive
// Archive:
//   0   4   version: 20000, 30000, 40000 or 50000
//   4   4   names length N (bytes of the names text)
//   8   8   two reserved words, ignored
//   16  X   extra block, skipped: X = 0 / 256 / 80 / 48 for the four versions
//   16+X       N    names text: one name per line (CR, LF or CR LF; NUL ends the text)
//   16+X+N     4*C  entry sizes, C = number of names (at most 1001)
//   16+X+N+4C  ..   entry data, back to back in name order
//
// Bad input never reads outside the bytes given. Load and LoadArchive refuse (return
// false, LastStatus/LastError say what is wrong and at which offset, the tables stay as
// they were) on: a skin file shorter than 4 bytes; a negative expanded size or one that
// the compressed bytes cannot produce; an archive shorter than its 16-byte header; an
// unknown version; a negative names length; an extra block, names text or size table that
// runs past the end; more than 1001 names; a negative entry size. An entry whose data run
// past the end of the entry data yields the bytes that are present.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "framework/Streams.h"

// The text the program shows when a skin's archive version is not known.
inline constexpr char kOlderSkinFileText[] =
    "This is Older Skin File\rPlease update to new version !";

inline constexpr int32_t kSkinMaxEntries = 1001;
inline constexpr size_t kSkinArchiveHeaderSize = 16;

enum class TSkinLoadStatus {
  slNotLoaded,       // nothing loaded yet
  slLoaded,          // the last Load succeeded
  slUnknownVersion,  // the archive version is not known: show kOlderSkinFileText
  slBadSkinFile,     // the outer layer (expanded size) is impossible
  slBadArchive,      // the expanded archive is malformed
};

struct TSkinArchiveHeader {
  int32_t Version = 0;
  int32_t NamesLength = 0;
  int32_t Reserved1 = 0;
  int32_t Reserved2 = 0;
};

// Size of the extra block after the header for a known version, or -1.
int32_t SkinArchiveExtraSize(int32_t version);

// Splits a names text into names: a line ends at CR, LF or CR LF (once); every line is a
// name, empty ones included; a break at the very end starts no further name; a NUL ends
// the text. ASCII letters are lower-cased.
std::vector<std::string> SplitSkinNames(std::string_view text);

class TSkinReader {
 public:
  // Expands the skin file held in `Skin` and reads its archive. True when the archive was
  // read; false leaves every table unchanged (see LastStatus). Errors of the expander
  // itself (ElzhException) pass on to the caller.
  bool Load(TMemoryStream& Skin);
  // Reads already-expanded archive bytes (the second half of Load).
  bool LoadArchive(std::span<const uint8_t> Archive);

  // Clears Dest, copies the first entry named `Name` (ASCII case-insensitive) into it and
  // rewinds it. Dest stays empty when no entry matches.
  void ExtractByName(std::string_view Name, TMemoryStream& Dest) const;
  // Clears Dest, copies the first entry whose (lower-case) name contains `Part`, rewinds
  // Dest and sets FullName to the entry's name. No match: Dest empty, FullName unchanged.
  void ExtractByPart(std::string_view Part, TMemoryStream& Dest, std::string& FullName) const;
  // Clears Dest and copies entry `Index` (0-based) into it; nothing for a bad index.
  void ExtractByIndex(int32_t Index, TMemoryStream& Dest) const;

  const std::vector<std::string>& Names() const { return names_; }
  int32_t EntryCount() const { return entryCount_; }
  const std::array<int32_t, kSkinMaxEntries>& Sizes() const { return sizes_; }
  const TMemoryStream& Data() const { return data_; }
  const TSkinArchiveHeader& ArchiveHeader() const { return header_; }

  TSkinLoadStatus LastStatus() const { return lastStatus_; }
  // What was wrong with the last refused skin and where; empty after a successful load.
  const std::string& LastError() const { return lastError_; }

 private:
  bool Refuse(TSkinLoadStatus status, std::string message);
  void CopyEntry(int64_t offset, int32_t size, TMemoryStream& Dest) const;

  std::vector<std::string> names_;
  int32_t entryCount_ = 0;
  std::array<int32_t, kSkinMaxEntries> sizes_{};
  TMemoryStream data_;
  TSkinArchiveHeader header_;
  TSkinLoadStatus lastStatus_ = TSkinLoadStatus::slNotLoaded;
  std::string lastError_;
};
