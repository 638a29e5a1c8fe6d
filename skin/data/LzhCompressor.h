// LZH compressor for skin streams: the published LZHUF encoder (binary-tree match finder
// over the 4096-byte ring, adaptive Huffman coding of literals and lengths, fixed prefix
// code for the upper position bits). For the same input it writes the same bytes as the
// published coder, so streams go both ways between the two.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "skin/data/LzhCoding.h"

// Returns a whole skin stream: the input size as 4-byte little-endian, then the bit
// stream (nothing more for an empty input). Throws Exception for an input of 2^31 bytes
// or more, whose size the header cannot state.
std::vector<uint8_t> LzhCompress(std::span<const uint8_t> input);

// What the coder saw while coding, for tests of rare tree shapes.
struct LzhCompressStats {
  unsigned longestCode = 0;  // bits of the longest literal/length code written
  unsigned rebuilds = 0;     // times the tree was rebuilt at the frequency limit
};
std::vector<uint8_t> LzhCompress(std::span<const uint8_t> input, LzhCompressStats& stats);

// The coding half of the compressor: appends literals and matches to `out` as a bit
// stream (no size header). LzhCompress feeds it from its match finder; it can also write
// streams of any chosen shape.
class LzhTokenWriter {
 public:
  explicit LzhTokenWriter(std::vector<uint8_t>& out);
  LzhTokenWriter(const LzhTokenWriter&) = delete;
  LzhTokenWriter& operator=(const LzhTokenWriter&) = delete;

  void Literal(uint8_t byte);
  // `length` 3 ... 60; `position` = distance - 1, 0 ... 4095.
  void Match(unsigned length, unsigned position);
  // Writes the last, partly filled byte (padded with zero bits).
  void Finish();
  const LzhCompressStats& Stats() const { return stats_; }

 private:
  void Symbol(unsigned symbol);
  void PutBits(uint32_t value, unsigned count);

  std::vector<uint8_t>& out_;
  uint32_t pending_ = 0;  // bits not yet written, in the low pendingCount_ bits
  unsigned pendingCount_ = 0;
  LzhCompressStats stats_;
  lzh::HuffmanTree tree_;
  std::array<uint8_t, lzh::kNodeCount> path_;  // one code, leaf first
};
