#include "skin/data/LzhCompressor.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <memory>

#include "framework/SysUtils.h"
#include "skin/data/LzhCoding.h"

namespace {

using namespace lzh;

// The match finder: for each ring position a node of a binary search tree ordered by the
// 60 bytes that start there; one tree per first byte. The tie-breaking (equal keys go
// right, the nearest of equally long matches wins, a full-length match replaces the old
// node) decides which matches are found and so the exact output.
class MatchFinder {
 public:
  static constexpr int kNil = kRingSize;  // "no node"

  MatchFinder() {
    std::fill(right_.begin() + kRingSize + 1, right_.end(), kNil);
    std::fill(up_.begin(), up_.begin() + kRingSize, kNil);
  }

  // text: the ring, with its first kLookAhead - 1 bytes repeated after its end, and room
  // for comparing eight bytes at a time past that.
  std::array<uint8_t, kRingAllocated + 8> text{};
  unsigned matchLength = 0;
  unsigned matchPosition = 0;  // distance - 1

  // Inserts the string at r and finds the longest match for it among the strings in
  // the tree.
  void Insert(int r) {
    const uint8_t* key = &text[r];
    int p = kRingSize + 1 + key[0];
    int cmp = 1;
    left_[r] = right_[r] = kNil;
    matchLength = 0;
    for (;;) {
      if (cmp >= 0) {
        if (right_[p] == kNil) {
          right_[p] = r;
          up_[r] = p;
          return;
        }
        p = right_[p];
      } else {
        if (left_[p] == kNil) {
          left_[p] = r;
          up_[r] = p;
          return;
        }
        p = left_[p];
      }
      const unsigned i = CommonLength(key, &text[p], cmp);
      if (i > kThreshold) {
        const unsigned distance = ((r - p) & kRingMask) - 1;
        if (i > matchLength) {
          matchPosition = distance;
          matchLength = i;
          if (matchLength >= kLookAhead) break;
        } else if (i == matchLength && distance < matchPosition) {
          matchPosition = distance;
        }
      }
    }
    // A full-length match: r takes p's place in the tree.
    up_[r] = up_[p];
    left_[r] = left_[p];
    right_[r] = right_[p];
    up_[left_[p]] = r;
    up_[right_[p]] = r;
    if (right_[up_[p]] == p) {
      right_[up_[p]] = r;
    } else {
      left_[up_[p]] = r;
    }
    up_[p] = kNil;
  }

  // How many of the first kLookAhead bytes of `key` and `other` agree (byte 0 is known
  // to) and the sign of the first difference, 0 when all agree.
  static unsigned CommonLength(const uint8_t* key, const uint8_t* other, int& cmp) {
    cmp = 0;
    if constexpr (std::endian::native == std::endian::little) {
      for (unsigned i = 1; i < kLookAhead; i += 8) {
        uint64_t a, b;
        std::memcpy(&a, key + i, sizeof a);
        std::memcpy(&b, other + i, sizeof b);
        if (a == b) continue;
        const unsigned k = i + static_cast<unsigned>(std::countr_zero(a ^ b)) / 8;
        if (k >= kLookAhead) break;
        cmp = key[k] - other[k];
        return k;
      }
      return kLookAhead;
    } else {
      unsigned i = 1;
      for (; i < kLookAhead; ++i) {
        cmp = key[i] - other[i];
        if (cmp != 0) break;
      }
      return i;
    }
  }

  void Delete(int p) {
    if (up_[p] == kNil) return;  // not in a tree
    int q;
    if (right_[p] == kNil) {
      q = left_[p];
    } else if (left_[p] == kNil) {
      q = right_[p];
    } else {
      q = left_[p];
      if (right_[q] != kNil) {
        do {
          q = right_[q];
        } while (right_[q] != kNil);
        right_[up_[q]] = left_[q];
        up_[left_[q]] = up_[q];
        left_[q] = left_[p];
        up_[left_[p]] = q;
      }
      right_[q] = right_[p];
      up_[right_[p]] = q;
    }
    up_[q] = up_[p];
    if (right_[up_[p]] == p) {
      right_[up_[p]] = q;
    } else {
      left_[up_[p]] = q;
    }
    up_[p] = kNil;
  }

 private:
  // Nodes 0 ... 4095 are ring positions, kNil the empty node, kRingSize + 1 + c the root
  // of the tree for first byte c (only its right link is used).
  std::array<int, kRingSize + 1> left_{};
  std::array<int, kRingSize + 257> right_{};
  std::array<int, kRingSize + 1> up_{};
};

// The coding loop of the published encoder, input from a span instead of a file.
void EncodeStream(std::span<const uint8_t> input, std::vector<uint8_t>& out,
                  LzhCompressStats& stats) {
  const auto finder = std::make_unique<MatchFinder>();
  const auto encoder = std::make_unique<LzhTokenWriter>(out);
  auto& text = finder->text;
  size_t next = 0;  // next input byte
  int s = 0;        // oldest ring position, replaced by the next input byte
  int r = kStartPosition;
  std::fill(text.begin(), text.begin() + r, kInitialFill);
  int len = 0;  // bytes of look-ahead at r
  while (len < static_cast<int>(kLookAhead) && next < input.size()) text[r + len++] = input[next++];
  for (int i = 1; i <= static_cast<int>(kLookAhead); ++i) finder->Insert(r - i);
  finder->Insert(r);
  do {
    unsigned matchLength = std::min(finder->matchLength, static_cast<unsigned>(len));
    if (matchLength <= kThreshold) {
      matchLength = 1;
      encoder->Literal(text[r]);
    } else {
      encoder->Match(matchLength, finder->matchPosition);
    }
    unsigned i = 0;
    for (; i < matchLength && next < input.size(); ++i) {
      finder->Delete(s);
      const uint8_t c = input[next++];
      text[s] = c;
      if (s < static_cast<int>(kLookAhead) - 1) text[s + kRingSize] = c;
      s = (s + 1) & kRingMask;
      r = (r + 1) & kRingMask;
      finder->Insert(r);
    }
    for (; i < matchLength; ++i) {  // the input is exhausted: the look-ahead shrinks
      finder->Delete(s);
      s = (s + 1) & kRingMask;
      r = (r + 1) & kRingMask;
      if (--len != 0) finder->Insert(r);
    }
  } while (len > 0);
  encoder->Finish();
  stats = encoder->Stats();
}

}  // namespace

LzhTokenWriter::LzhTokenWriter(std::vector<uint8_t>& out) : out_(out) { tree_.Start(); }

void LzhTokenWriter::Literal(uint8_t byte) { Symbol(byte); }

void LzhTokenWriter::Match(unsigned length, unsigned position) {
  if (length <= kThreshold || length > kLookAhead) {
    throw Exception("LZH : a match of " + std::to_string(length) + " bytes cannot be coded");
  }
  Symbol(kMatchSymbolBias + length);
  const unsigned upper = (position >> 6) & 0x3F;
  PutBits(kPositionTables.code[upper], kPositionTables.codeLength[upper]);
  PutBits(position & 0x3F, 6);
}

void LzhTokenWriter::Symbol(unsigned symbol) {
  // The path from the leaf up to the root gives the code backwards: at each level the
  // node's oddness tells which of the two siblings was taken.
  unsigned length = 0;
  for (unsigned node = tree_.parent[kNodeCount + symbol]; node != kRoot;
       node = tree_.parent[node]) {
    path_[length++] = static_cast<uint8_t>(node & 1);
  }
  // In pieces, so that a code longer than 16 bits comes out whole (the published
  // encoder builds the code in a 16-bit word and loses the bits beyond it).
  stats_.longestCode = std::max(stats_.longestCode, length);
  while (length != 0) {
    const unsigned piece = std::min(length, 16u);
    uint32_t value = 0;
    for (unsigned k = 0; k < piece; ++k) value = (value << 1) | path_[--length];
    PutBits(value, piece);
  }
  if (tree_.frequency[kRoot] == kMaxFrequency) ++stats_.rebuilds;
  tree_.Update(symbol);
}

// Most significant bit first; `count` <= 16.
void LzhTokenWriter::PutBits(uint32_t value, unsigned count) {
  pending_ = (pending_ << count) | value;
  pendingCount_ += count;
  while (pendingCount_ >= 8) {
    pendingCount_ -= 8;
    out_.push_back(static_cast<uint8_t>(pending_ >> pendingCount_));
  }
  pending_ &= (1u << pendingCount_) - 1;
}

void LzhTokenWriter::Finish() {
  if (pendingCount_ != 0) {
    out_.push_back(static_cast<uint8_t>(pending_ << (8 - pendingCount_)));
  }
  pending_ = 0;
  pendingCount_ = 0;
}

std::vector<uint8_t> LzhCompress(std::span<const uint8_t> input, LzhCompressStats& stats) {
  stats = {};
  if (input.size() > 0x7FFFFFFF) {
    throw Exception("LZH : cannot compress " + std::to_string(input.size()) +
                    " bytes; the size header holds at most 2147483647");
  }
  const auto size = static_cast<uint32_t>(input.size());
  std::vector<uint8_t> out;
  out.reserve(input.size() / 2 + 64);
  for (unsigned k = 0; k < 4; ++k) out.push_back(static_cast<uint8_t>(size >> (8 * k)));
  if (size != 0) EncodeStream(input, out, stats);
  return out;
}

std::vector<uint8_t> LzhCompress(std::span<const uint8_t> input) {
  LzhCompressStats stats;
  return LzhCompress(input, stats);
}
