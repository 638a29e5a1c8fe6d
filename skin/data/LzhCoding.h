// The coding shared by the LZH expander and compressor: the fixed parameters, the
// adaptive Huffman tree of literals and match lengths, and the fixed prefix code of the
// upper 6 bits of a match position. This is the published LZHUF scheme; every number
// below is part of the stream format and cannot change.
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

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

// Told of every change of the tree's shape; the decoder uses it to keep a table of the
// top levels valid.
struct NoShapeObserver {
  void Swapped(unsigned, unsigned) {}
  void Rebuilt() {}
};

// The adaptive Huffman tree. Nodes are kept in order of non-decreasing frequency (the
// sibling property); an inner node's children are son[n] and son[n] + 1; a leaf's son is
// kNodeCount + symbol. parent[kNodeCount + s] is the node that holds the leaf of symbol s.
struct HuffmanTree {
  // Entries from kNodeCount on are sentinels (0xFFFF) that end every scan upwards; there
  // are four so that the scan can read four entries at a time.
  std::array<uint16_t, kNodeCount + 4> frequency;
  std::array<uint16_t, kNodeCount + kSymbolCount> parent;
  std::array<uint16_t, kNodeCount> son;

  // Every symbol with frequency 1, paired up level by level into a balanced tree.
  void Start();
  // Counts one more use of `symbol` and restores the order of the nodes: each node on
  // the way up is incremented and, when it now exceeds the next node, swapped with the
  // last node whose count is still smaller. A root count of kMaxFrequency first
  // rebuilds the tree.
  template <class Observer>
  void Update(unsigned symbol, Observer& observer);
  void Update(unsigned symbol) {
    NoShapeObserver none;
    Update(symbol, none);
  }
  // The same for a symbol just found by walking down from the root: path[0] is the
  // root's child taken, path[depth - 1] the node that holds the leaf. Until the first
  // swap the way up is that path backwards, so its nodes need not be looked up one after
  // the other.
  template <class Observer>
  void UpdateAlong(unsigned symbol, const uint16_t* path, unsigned depth, Observer& observer);
  // Halves all leaf counts (rounding up) and builds the tree again from them.
  void Rebuild();

 private:
  // The last node from `node` on whose frequency is below `count`, given that
  // frequency[node] is. The nodes that follow are at least count - 1 (the order), so the
  // ones below count are a run of count - 1.
  unsigned LastBelow(unsigned node, unsigned count) const;
  // Increments `node` and swaps it forward when it passed the next node; returns the
  // node that now holds what `node` held.
  template <class Observer>
  unsigned IncrementAt(unsigned node, Observer& observer);
};

inline unsigned HuffmanTree::LastBelow(unsigned node, unsigned count) const {
  if constexpr (std::endian::native == std::endian::little) {
    // Four entries at a time: the run's length is hard to predict, and a mispredicted
    // branch per entry would cost more than the compare.
    const uint64_t below = 0x0001000100010001ull * (count - 1);
    for (;;) {
      uint64_t next;
      std::memcpy(&next, frequency.data() + node + 1, sizeof next);
      const uint64_t differ = next ^ below;
      // The high bit of every 16-bit lane that is not count - 1.
      const uint64_t stops =
          (((differ & 0x7FFF7FFF7FFF7FFFull) + 0x7FFF7FFF7FFF7FFFull) | differ) &
          0x8000800080008000ull;
      if (stops != 0) return node + static_cast<unsigned>(std::countr_zero(stops)) / 16;
      node += 4;
    }
  } else {
    while (count > frequency[node + 1]) ++node;  // stops at the sentinel at the latest
    return node;
  }
}

template <class Observer>
inline unsigned HuffmanTree::IncrementAt(unsigned node, Observer& observer) {
  // Plain pointers: this runs for every level of every symbol, also in debug builds.
  uint16_t* const freq = frequency.data();
  uint16_t* const up = parent.data();
  uint16_t* const down = son.data();
  const unsigned count = ++freq[node];
  if (count <= freq[node + 1]) return node;
  // Out of order: swap with the last node that still has a smaller count.
  const unsigned last = LastBelow(node + 1, count);
  freq[node] = freq[last];
  freq[last] = static_cast<uint16_t>(count);

  const unsigned moving = down[node];
  up[moving] = static_cast<uint16_t>(last);
  if (moving < kNodeCount) up[moving + 1] = static_cast<uint16_t>(last);

  const unsigned other = down[last];
  down[last] = static_cast<uint16_t>(moving);
  up[other] = static_cast<uint16_t>(node);
  if (other < kNodeCount) up[other + 1] = static_cast<uint16_t>(node);
  down[node] = static_cast<uint16_t>(other);
  observer.Swapped(node, last);
  return last;
}

template <class Observer>
inline void HuffmanTree::Update(unsigned symbol, Observer& observer) {
  if (frequency[kRoot] == kMaxFrequency) {
    Rebuild();
    observer.Rebuilt();
  }
  const uint16_t* const up = parent.data();
  unsigned node = up[kNodeCount + symbol];
  do {
    node = up[IncrementAt(node, observer)];
  } while (node != 0);  // the root's parent is 0 (node 0 is always a leaf)
}

template <class Observer>
inline void HuffmanTree::UpdateAlong(unsigned symbol, const uint16_t* path, unsigned depth,
                                     Observer& observer) {
  if (frequency[kRoot] == kMaxFrequency) {
    Update(symbol, observer);  // rebuilds: the path is no longer the tree's
    return;
  }
  for (unsigned level = depth; level-- > 0;) {
    const unsigned node = path[level];
    const unsigned now = IncrementAt(node, observer);
    if (now != node) {
      // The subtree moved: its new parents are found one by one from here.
      const uint16_t* const up = parent.data();
      for (unsigned above = up[now]; above != 0; above = up[IncrementAt(above, observer)]) {
      }
      return;
    }
  }
  ++frequency[kRoot];  // the root never passes the sentinel after it
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
