// The coding shared by the LZH expander and compressor: the fixed parameters, the
// adaptive Huffman tree of literals and match lengths, and the fixed prefix code of the
// upper 6 bits of a match position. This is the published LZHUF scheme; every number
// below is part of the stream format and cannot change.
#pragma once

#include <array>
#include <cstdint>

namespace lzh {

inline constexpr unsigned kRingSize = 4096;  // sliding dictionary
inline constexpr unsigned kRingMask = kRingSize - 1;
inline constexpr unsigned kLookAhead = 60;   // longest match
inline constexpr unsigned kThreshold = 2;    // matches this long or shorter go as literals
// The ring is allocated with room for one look-ahead beyond its end, so that a match can
// be compared without wrapping.
inline constexpr unsigned kRingAllocated = kRingSize + kLookAhead - 1;
// Ring content before the first byte: spaces, and the first byte goes to kStartPosition.
inline constexpr unsigned kStartPosition = kRingSize - kLookAhead;  // 4036
inline constexpr uint8_t kInitialFill = 0x20;

inline constexpr unsigned kSymbolCount = 256 - kThreshold + kLookAhead;  // 314
inline constexpr unsigned kNodeCount = kSymbolCount * 2 - 1;             // 627
inline constexpr unsigned kRoot = kNodeCount - 1;                        // 626
inline constexpr unsigned kMaxFrequency = 0x8000;  // the root's count that forces a rebuild
// Symbol of a match of `length` bytes (3 ... 60) and back.
inline constexpr unsigned kFirstMatchSymbol = 256;
inline constexpr unsigned kMatchSymbolBias = 255 - kThreshold;  // symbol = bias + length

// The adaptive Huffman tree. Nodes are kept in order of non-decreasing frequency (the
// sibling property); an inner node's children are son[n] and son[n] + 1; a leaf's son is
// kNodeCount + symbol. parent[kNodeCount + s] is the node that holds the leaf of symbol s.
struct HuffmanTree {
  std::array<uint16_t, kNodeCount + 1> frequency;  // [kNodeCount] is a sentinel 0xFFFF
  std::array<uint16_t, kNodeCount + kSymbolCount> parent;
  std::array<uint16_t, kNodeCount> son;

  // Every symbol with frequency 1, paired up level by level into a balanced tree.
  void Start();
  // Counts one more use of `symbol` and restores the order of the nodes.
  inline void Update(unsigned symbol);
  // Halves all leaf counts (rounding up) and builds the tree again from them.
  void Rebuild();
};

inline void HuffmanTree::Update(unsigned symbol) {
  if (frequency[kRoot] == kMaxFrequency) Rebuild();
  unsigned node = parent[kNodeCount + symbol];
  do {
    const unsigned count = ++frequency[node];
    // Out of order: swap with the last node that still has a smaller count.
    if (count > frequency[node + 1]) {
      unsigned last = node + 1;
      while (count > frequency[last + 1]) ++last;  // stops at the sentinel at the latest
      frequency[node] = frequency[last];
      frequency[last] = static_cast<uint16_t>(count);

      const unsigned moving = son[node];
      parent[moving] = static_cast<uint16_t>(last);
      if (moving < kNodeCount) parent[moving + 1] = static_cast<uint16_t>(last);

      const unsigned other = son[last];
      son[last] = static_cast<uint16_t>(moving);
      parent[other] = static_cast<uint16_t>(node);
      if (other < kNodeCount) parent[other + 1] = static_cast<uint16_t>(node);
      son[node] = static_cast<uint16_t>(other);

      node = last;
    }
    node = parent[node];
  } while (node != 0);  // the root's parent is 0 (node 0 is always a leaf)
}

// Match positions (distance - 1, 0 ... 4095): the upper 6 bits by a fixed prefix code of
// 3 to 8 bits, the lower 6 bits verbatim. The decoder reads one byte b and looks up the
// upper bits and the code length; the encoder writes code[upper] in codeLength[upper]
// bits.
struct PositionTables {
  std::array<uint8_t, 256> upperOfByte;
  std::array<uint8_t, 256> lengthOfByte;
  std::array<uint8_t, 64> code;
  std::array<uint8_t, 64> codeLength;
};

constexpr PositionTables MakePositionTables() {
  // Runs of byte values with the same upper bits: how many upper values use the run
  // size, the bytes per value, and the code length.
  struct Run {
    unsigned values, bytesPerValue, length;
  };
  constexpr Run kRuns[] = {{1, 32, 3}, {3, 16, 4}, {8, 8, 5},
                           {12, 4, 6}, {24, 2, 7}, {16, 1, 8}};
  PositionTables tables{};
  unsigned byte = 0, upper = 0;
  for (const Run& run : kRuns) {
    for (unsigned v = 0; v < run.values; ++v, ++upper) {
      tables.code[upper] = static_cast<uint8_t>(byte >> (8 - run.length));
      tables.codeLength[upper] = static_cast<uint8_t>(run.length);
      for (unsigned k = 0; k < run.bytesPerValue; ++k, ++byte) {
        tables.upperOfByte[byte] = static_cast<uint8_t>(upper);
        tables.lengthOfByte[byte] = static_cast<uint8_t>(run.length);
      }
    }
  }
  return tables;
}

inline constexpr PositionTables kPositionTables = MakePositionTables();
static_assert(kPositionTables.upperOfByte[0x1F] == 0 && kPositionTables.upperOfByte[0x20] == 1);
static_assert(kPositionTables.upperOfByte[0x50] == 4 && kPositionTables.upperOfByte[0x90] == 12);
static_assert(kPositionTables.upperOfByte[0xC0] == 24 && kPositionTables.upperOfByte[0xF0] == 48);
static_assert(kPositionTables.upperOfByte[0xFF] == 63 && kPositionTables.lengthOfByte[0xFF] == 8);

}  // namespace lzh
