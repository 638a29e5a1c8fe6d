// LZH compressor for skin streams: the published LZHUF encoder (binary-tree match finder
// over the 4096-byte ring, adaptive Huffman coding of literals and lengths, fixed prefix
// code for the upper position bits). For the same input it writes the same bytes as the
// published coder, so streams go both ways between the two.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

// Returns a whole skin stream: the input size as 4-byte little-endian, then the bit
// stream (nothing more for an empty input). Throws Exception for an input of 2^31 bytes
// or more, whose size the header cannot state.
std::vector<uint8_t> LzhCompress(std::span<const uint8_t> input);

// What LzhCompress saw while coding, for tests of rare tree shapes.
struct LzhCompressStats {
  unsigned longestCode = 0;  // bits of the longest literal/length code written
  unsigned rebuilds = 0;     // times the tree was rebuilt at the frequency limit
};
std::vector<uint8_t> LzhCompress(std::span<const uint8_t> input, LzhCompressStats& stats);
