// Builds skin archives and skin files (the layout TSkinReader reads, see SkinArchive.h).
//
// The names text joins the names with CR LF (no break after the last). The extra block of
// versions 30000/40000/50000 is written as zeros. The two reserved header words are
// written as given, 0 by default: readers ignore them and nothing depends on their value.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

struct TSkinEntry {
  std::string Name;  // ANSI bytes, as the skin's INI text names it
  std::vector<uint8_t> Bytes;
};

struct TSkinArchiveOptions {
  int32_t Version = 20000;
  int32_t Reserved1 = 0;
  int32_t Reserved2 = 0;
};

// The archive bytes. Throws Exception when the entries cannot be stored so that a reader
// gets them back: an unknown version, more than 1001 entries, an empty name or one
// holding CR, LF or NUL, or an archive larger than a signed 32-bit size.
std::vector<uint8_t> BuildSkinArchive(std::span<const TSkinEntry> entries,
                                      const TSkinArchiveOptions& options = {});

// A whole skin file: the archive compressed with LzhCompress (expanded size, then the
// LZHUF stream). Throws as BuildSkinArchive.
std::vector<uint8_t> BuildSkinFile(std::span<const TSkinEntry> entries,
                                   const TSkinArchiveOptions& options = {});
