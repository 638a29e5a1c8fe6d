#include "skin/data/Lzh.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "framework/Streams.h"
#include "skin/data/LzhCoding.h"
#include "skin/data/LzhCompressor.h"

namespace {

using Bytes = std::vector<uint8_t>;

// The published coder's inputs (*.bin) and its output for them (*.lzh).
std::string VectorPath(const std::string& name) {
  std::string path = std::string(PTEST_SHARED_DIR) + "/testdata/lzhuf/" + name;
#ifdef _WIN32
  // Under Wine no drive maps the Linux root; Wine's \\?\unix\ prefix reaches it.
  std::replace(path.begin(), path.end(), '/', '\\');
  path = "\\\\?\\unix" + path;
#endif
  return path;
}

Bytes ReadVector(const std::string& name) { return ReadFileBytes(VectorPath(name)); }

void PutInt32(Bytes& out, int32_t value) {
  const auto v = static_cast<uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

int32_t GetInt32(const Bytes& in) {
  return static_cast<int32_t>(static_cast<uint32_t>(in[0]) | static_cast<uint32_t>(in[1]) << 8 |
                              static_cast<uint32_t>(in[2]) << 16 |
                              static_cast<uint32_t>(in[3]) << 24);
}

Bytes WithSize(int32_t size, const Bytes& stream) {
  Bytes file;
  PutInt32(file, size);
  file.insert(file.end(), stream.begin(), stream.end());
  return file;
}

// Expands as the skin reader does: streams rewound, the size read from the input, then
// Expand with the stream-bound callbacks (the block-moving path).
struct StreamRun {
  Bytes out;
  int64_t inPosition = 0;
};

StreamRun ExpandThroughStreams(const Bytes& file, bool viaOwnCallbacks = true) {
  TMemoryStream in(file);
  TMemoryStream out;
  TLZH lzh;
  lzh.InStream = &in;
  lzh.OutStream = &out;
  in.SetPosition(0);
  out.SetPosition(0);
  int32_t size = 0;
  in.ReadBuffer(&size, 4);
  if (viaOwnCallbacks) {
    lzh.Expand(size, lzh.StreamReadProc(), lzh.StreamWriteProc());
  } else {
    // The same stream moves behind other callbacks: the byte-at-a-time path.
    lzh.Expand(
        size,
        [&lzh](uint8_t* buffer, uint16_t count, uint16_t& got) {
          lzh.ReadFromInStream(buffer, count, got);
        },
        [&lzh](const uint8_t* buffer, uint16_t count, uint16_t& done) {
          lzh.WriteToOutStream(buffer, count, done);
        });
  }
  return {Bytes(out.Bytes().begin(), out.Bytes().end()), in.Position()};
}

// Expands the bit stream after the header through counting callbacks.
struct CallbackRun {
  Bytes out;
  size_t bytesDelivered = 0;
  int reads = 0;
  bool singleBytes = true;  // every call moved exactly one byte
};

CallbackRun ExpandThroughCallbacks(const Bytes& file, int32_t size) {
  CallbackRun run;
  size_t next = 4;
  TLZH lzh;
  lzh.Expand(
      size,
      [&](uint8_t* buffer, uint16_t count, uint16_t& got) {
        ++run.reads;
        run.singleBytes = run.singleBytes && count == 1;
        got = 0;
        if (next < file.size()) {
          *buffer = file[next++];
          got = 1;
          ++run.bytesDelivered;
        }
      },
      [&](const uint8_t* buffer, uint16_t count, uint16_t& done) {
        run.singleBytes = run.singleBytes && count == 1;
        run.out.insert(run.out.end(), buffer, buffer + count);
        done = count;
      });
  return run;
}

// ---- the published coder's vectors ----

class LzhVectorTest : public testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    input_ = ReadVector(std::string(GetParam()) + ".bin");
    coded_ = ReadVector(std::string(GetParam()) + ".lzh");
    ASSERT_GE(coded_.size(), 4u);
  }
  Bytes input_, coded_;
};

TEST_P(LzhVectorTest, HeaderStatesTheInputSize) {
  EXPECT_EQ(GetInt32(coded_), static_cast<int32_t>(input_.size()));
}

TEST_P(LzhVectorTest, CompressWritesThePublishedBytes) {
  LzhCompressStats stats;
  EXPECT_EQ(LzhCompress(input_, stats), coded_);
  EXPECT_LE(stats.longestCode, 16u);  // the published encoder is right only up to 16 bits
}

TEST_P(LzhVectorTest, ExpandGivesTheInputOnEveryPath) {
  EXPECT_EQ(LzhExpandSkinStream(coded_), input_);

  const StreamRun fast = ExpandThroughStreams(coded_);
  EXPECT_EQ(fast.out, input_);
  const StreamRun slow = ExpandThroughStreams(coded_, false);
  EXPECT_EQ(slow.out, input_);
  EXPECT_EQ(fast.inPosition, slow.inPosition);

  const CallbackRun run = ExpandThroughCallbacks(coded_, GetInt32(coded_));
  EXPECT_EQ(run.out, input_);
  EXPECT_TRUE(run.singleBytes);
  EXPECT_EQ(fast.inPosition, static_cast<int64_t>(4 + run.bytesDelivered));
}

TEST_P(LzhVectorTest, StatedSizeIsWithinTheBound) {
  EXPECT_LE(static_cast<int64_t>(input_.size()),
            LzhMaxExpandedSize(static_cast<int64_t>(coded_.size())));
}

INSTANTIATE_TEST_SUITE_P(Published, LzhVectorTest,
                         testing::Values("empty", "one-byte", "spaces", "text", "random-40k",
                                         "gradient.bmp", "mixed-300k"),
                         [](const testing::TestParamInfo<const char*>& param) {
                           std::string name = param.param;
                           std::replace(name.begin(), name.end(), '-', '_');
                           std::replace(name.begin(), name.end(), '.', '_');
                           return name;
                         });

// ---- streams written by hand: symbols coded in the fresh tree ----

class StreamBuilder {
 public:
  StreamBuilder() { tree_.Start(); }
  // Codes a symbol the way the tree stands now, then counts it as the decoder will.
  StreamBuilder& Symbol(unsigned symbol) {
    std::vector<unsigned> path;
    for (unsigned node = tree_.parent[lzh::kNodeCount + symbol]; node != lzh::kRoot;
         node = tree_.parent[node]) {
      path.push_back(node & 1);
    }
    for (auto bit = path.rbegin(); bit != path.rend(); ++bit) Bit(*bit);
    tree_.Update(symbol);
    return *this;
  }
  StreamBuilder& Match(unsigned length, unsigned position) {
    Symbol(lzh::kMatchSymbolBias + length);
    const unsigned upper = position >> 6;
    const unsigned code = lzh::kPositionTables.code[upper];
    for (unsigned k = lzh::kPositionTables.codeLength[upper]; k-- > 0;) Bit((code >> k) & 1);
    for (unsigned k = 6; k-- > 0;) Bit((position >> k) & 1);
    return *this;
  }
  Bytes Finish() {
    Bytes out = bytes_;
    if (count_ != 0) out.push_back(static_cast<uint8_t>(pending_ << (8 - count_)));
    return out;
  }

 private:
  void Bit(unsigned bit) {
    pending_ = (pending_ << 1) | bit;
    if (++count_ == 8) {
      bytes_.push_back(static_cast<uint8_t>(pending_));
      pending_ = 0;
      count_ = 0;
    }
  }
  lzh::HuffmanTree tree_;
  Bytes bytes_;
  unsigned pending_ = 0, count_ = 0;
};

TEST(LzhExpand, FirstMatchReadsTheInitialSpaces) {
  // Positions 0 ... 4035 before the first byte hold spaces; a distance of 1 repeats the
  // space just copied.
  for (unsigned position : {0u, 1u, 100u, 2000u, 4035u}) {
    SCOPED_TRACE(position);
    const Bytes file = WithSize(60, StreamBuilder().Match(60, position).Finish());
    EXPECT_EQ(LzhExpandSkinStream(file), Bytes(60, ' '));
    EXPECT_EQ(ExpandThroughStreams(file).out, Bytes(60, ' '));
  }
  // The compressor finds those spaces too: two match symbols, no 100 literals.
  const Bytes spaces(100, ' ');
  const Bytes coded = LzhCompress(spaces);
  EXPECT_LT(coded.size(), 4u + 8u);
  EXPECT_EQ(LzhExpandSkinStream(coded), spaces);
}

TEST(LzhExpand, LiteralsAndMatchesAsWritten) {
  const Bytes file = WithSize(8, StreamBuilder()
                                     .Symbol('a')
                                     .Symbol('b')
                                     .Match(4, 1)  // distance 2: "abab"
                                     .Symbol('z')
                                     .Symbol('!')
                                     .Finish());
  const Bytes expected = {'a', 'b', 'a', 'b', 'a', 'b', 'z', '!'};
  EXPECT_EQ(LzhExpandSkinStream(file), expected);
  EXPECT_EQ(ExpandThroughCallbacks(file, 8).out, expected);
}

TEST(LzhExpand, NothingHappensForSizeZeroOrNegative) {
  const Bytes stream = StreamBuilder().Symbol('x').Finish();
  for (int32_t size : {0, -1, -60, INT32_MIN}) {
    SCOPED_TRACE(size);
    const Bytes file = WithSize(size, stream);
    const CallbackRun run = ExpandThroughCallbacks(file, size);
    EXPECT_EQ(run.reads, 0);
    EXPECT_TRUE(run.out.empty());
    const StreamRun streams = ExpandThroughStreams(file);
    EXPECT_EQ(streams.inPosition, 4);
    EXPECT_TRUE(streams.out.empty());
    EXPECT_TRUE(LzhExpandSkinStream(file).empty());
  }
}

TEST(LzhExpand, LastMatchIsWrittenWholeButTheSkinStreamKeepsItsSize) {
  // States 5 bytes but codes 'q' and then a match of 60.
  const Bytes file = WithSize(5, StreamBuilder().Symbol('q').Match(60, 0).Finish());
  EXPECT_EQ(ExpandThroughCallbacks(file, 5).out, Bytes(61, 'q'));
  EXPECT_EQ(ExpandThroughStreams(file).out, Bytes(61, 'q'));
  EXPECT_EQ(LzhExpandSkinStream(file), Bytes(5, 'q'));
}

TEST(LzhExpand, InputEndingEarlyIsDecodedOnFromZeroBits) {
  const Bytes text = ReadVector("text.bin");
  const Bytes coded = ReadVector("text.lzh");
  const size_t streamBytes = coded.size() - 4;
  for (size_t kept : {size_t{0}, size_t{1}, streamBytes / 3, streamBytes / 2, streamBytes - 1}) {
    SCOPED_TRACE(kept);
    const Bytes cut(coded.begin(), coded.begin() + static_cast<std::ptrdiff_t>(4 + kept));
    Bytes zeroFilled = coded;
    std::fill(zeroFilled.begin() + static_cast<std::ptrdiff_t>(4 + kept), zeroFilled.end(), 0);
    zeroFilled.resize(zeroFilled.size() + 4096, 0);

    const Bytes out = LzhExpandSkinStream(cut);
    ASSERT_EQ(out.size(), text.size());
    EXPECT_EQ(out, LzhExpandSkinStream(zeroFilled));
    const StreamRun streams = ExpandThroughStreams(cut);
    EXPECT_EQ(Bytes(streams.out.begin(), streams.out.begin() + static_cast<std::ptrdiff_t>(text.size())), out);
    EXPECT_EQ(streams.inPosition, static_cast<int64_t>(cut.size()));
    // What the kept bits do code is the original text (a third of the stream codes far
    // more than a sixth of the text).
    const auto same = std::mismatch(out.begin(), out.end(), text.begin()).first - out.begin();
    if (kept >= streamBytes / 3) {
      EXPECT_GE(static_cast<size_t>(same), text.size() * kept / streamBytes / 2);
    }
  }
}

TEST(LzhExpand, BlockPathMatchesSingleBytePathOnGarbage) {
  std::mt19937 random(7);
  for (int round = 0; round < 40; ++round) {
    Bytes file;
    PutInt32(file, static_cast<int32_t>(random() % 5000));
    for (unsigned n = random() % 3000; n-- > 0;) file.push_back(static_cast<uint8_t>(random()));
    SCOPED_TRACE(round);
    const StreamRun fast = ExpandThroughStreams(file);
    const StreamRun slow = ExpandThroughStreams(file, false);
    EXPECT_EQ(fast.out, slow.out);
    EXPECT_EQ(fast.inPosition, slow.inPosition);
    const Bytes skin = LzhExpandSkinStream(file);
    ASSERT_EQ(skin.size(), static_cast<size_t>(GetInt32(file)));
    EXPECT_TRUE(std::equal(skin.begin(), skin.end(), fast.out.begin()));
  }
}

TEST(LzhExpand, OneObjectExpandsSeveralStreamsInTurn) {
  const Bytes first = ReadVector("random-40k.lzh");
  const Bytes second = ReadVector("text.lzh");
  TMemoryStream in1(first), in2(second), out1, out2;
  TLZH lzh;
  for (auto [in, out] : {std::pair{&in1, &out1}, std::pair{&in2, &out2}}) {
    lzh.InStream = in;
    lzh.OutStream = out;
    int32_t size = 0;
    in->ReadBuffer(&size, 4);
    lzh.Expand(size, lzh.StreamReadProc(), lzh.StreamWriteProc());
  }
  EXPECT_EQ(Bytes(out1.Bytes().begin(), out1.Bytes().end()), ReadVector("random-40k.bin"));
  EXPECT_EQ(Bytes(out2.Bytes().begin(), out2.Bytes().end()), ReadVector("text.bin"));
}

TEST(LzhExpand, StreamCallbacksMoveWhatTheStreamHas) {
  TMemoryStream in(Bytes{1, 2, 3});
  TMemoryStream out;
  TLZH lzh;
  lzh.InStream = &in;
  lzh.OutStream = &out;
  uint8_t buffer[8] = {};
  uint16_t moved = 99;
  lzh.ReadFromInStream(buffer, 8, moved);
  EXPECT_EQ(moved, 3);
  lzh.ReadFromInStream(buffer, 8, moved);
  EXPECT_EQ(moved, 0);
  lzh.WriteToOutStream(buffer, 2, moved);
  EXPECT_EQ(moved, 2);
  EXPECT_EQ(out.Size(), 2);

  TLZH unbound;  // no streams: nothing moves, nothing breaks
  unbound.ReadFromInStream(buffer, 8, moved);
  EXPECT_EQ(moved, 0);
  unbound.WriteToOutStream(buffer, 8, moved);
  EXPECT_EQ(moved, 0);
  EXPECT_NO_THROW(unbound.Expand(10, unbound.StreamReadProc(), unbound.StreamWriteProc()));
}

TEST(LzhExpand, TableAllocationFailureRaisesTheExpanderError) {
  const Bytes coded = ReadVector("one-byte.lzh");
  LzhFailTableAllocationsForTesting(2);
  try {
    ExpandThroughStreams(coded);
    ADD_FAILURE() << "no exception";
  } catch (const ElzhException& e) {
    EXPECT_STREQ(e.what(), "LZH : Cannot get memory for dictionary tables");
  }
  EXPECT_THROW(LzhExpandSkinStream(coded), ElzhException);
  EXPECT_EQ(LzhExpandSkinStream(coded), ReadVector("one-byte.bin"));  // only those two failed
  EXPECT_STREQ(kLzhFreeErrorMessage, "LZH : Error freeing memory for dictionary tables");
}

// ---- the bound on stated sizes ----

TEST(LzhMaxExpandedSize, FortyEightBytesPerStreamByteWithATailAndACap) {
  const int64_t tail = 48 * 4096;
  struct Case {
    int64_t compressed, expected;
  };
  for (const Case& c : {Case{-5, tail}, Case{0, tail}, Case{4, tail}, Case{5, tail + 48},
                        Case{4 + 100000, tail + 4800000},
                        Case{int64_t{10} << 20, int64_t{256} << 20},
                        Case{INT64_MAX, int64_t{256} << 20}}) {
    SCOPED_TRACE(c.compressed);
    EXPECT_EQ(LzhMaxExpandedSize(c.compressed), c.expected);
  }
}

TEST(LzhMaxExpandedSize, TheDensestStreamsStayBelowIt) {
  // Runs of one byte cost 10 bits per 60 bytes once the tree has adapted: close to the
  // bound, which therefore cannot be much smaller.
  const Bytes zeros(1 << 20, 0);
  const Bytes coded = LzhCompress(zeros);
  const auto streamBytes = static_cast<int64_t>(coded.size()) - 4;
  EXPECT_GT(static_cast<int64_t>(zeros.size()), 45 * streamBytes);
  EXPECT_LE(static_cast<int64_t>(zeros.size()), LzhMaxExpandedSize(streamBytes + 4) - 48 * 4096);
  EXPECT_EQ(LzhExpandSkinStream(coded), zeros);
}

TEST(LzhExpandSkinStream, RefusesShortInputAndOversizedClaims) {
  for (size_t length = 0; length < 4; ++length) {
    SCOPED_TRACE(length);
    const Bytes file(length, 0);
    try {
      LzhExpandSkinStream(file);
      ADD_FAILURE() << "no exception";
    } catch (const ElzhException& e) {
      EXPECT_NE(std::string(e.what()).find("shorter than its 4-byte size header"),
                std::string::npos);
    }
  }
  const Bytes stream = StreamBuilder().Symbol('k').Finish();
  const auto limit = static_cast<int32_t>(LzhMaxExpandedSize(4 + static_cast<int64_t>(stream.size())));
  for (int32_t size : {limit + 1, INT32_MAX}) {
    SCOPED_TRACE(size);
    try {
      LzhExpandSkinStream(WithSize(size, stream));
      ADD_FAILURE() << "no exception";
    } catch (const ElzhException& e) {
      EXPECT_NE(std::string(e.what()).find("stated size " + std::to_string(size)),
                std::string::npos);
    }
  }
  // Exactly at the bound: accepted, the missing input read as zero bits.
  const Bytes atLimit = LzhExpandSkinStream(WithSize(limit, stream));
  ASSERT_EQ(atLimit.size(), static_cast<size_t>(limit));
  EXPECT_EQ(atLimit[0], 'k');
}

// ---- round trips ----

Bytes Generate(const std::string& kind, size_t size) {
  std::mt19937 random(static_cast<unsigned>(size) * 31 + static_cast<unsigned>(kind.size()));
  Bytes out;
  out.reserve(size);
  if (kind == "random") {
    while (out.size() < size) out.push_back(static_cast<uint8_t>(random()));
  } else if (kind == "runs") {
    while (out.size() < size) {
      const auto byte = static_cast<uint8_t>(random() % 4);
      out.insert(out.end(), std::min<size_t>(random() % 200 + 1, size - out.size()), byte);
    }
  } else if (kind == "all-bytes") {
    while (out.size() < size) out.push_back(static_cast<uint8_t>(out.size()));
  } else if (kind == "words") {
    static const char* const kWords[] = {"skin ", "frame ", "button ", "caption ",
                                         "scroll ", "[Form]\r\n", "Left=3\r\n", "bitmap "};
    while (out.size() < size) {
      const std::string word = kWords[random() % 8];
      out.insert(out.end(), word.begin(), word.begin() + static_cast<std::ptrdiff_t>(std::min(word.size(), size - out.size())));
    }
  } else {  // "zeros"
    out.assign(size, 0);
  }
  return out;
}

TEST(LzhRoundTrip, GeneratedData) {
  for (const char* kind : {"random", "runs", "all-bytes", "words", "zeros"}) {
    for (size_t size : {0, 1, 2, 3, 59, 60, 61, 4095, 4096, 4097, 70000, 300000}) {
      SCOPED_TRACE(std::string(kind) + " " + std::to_string(size));
      const Bytes input = Generate(kind, size);
      const Bytes coded = LzhCompress(input);
      ASSERT_GE(coded.size(), 4u);
      EXPECT_EQ(GetInt32(coded), static_cast<int32_t>(size));
      EXPECT_EQ(coded.size() == 4, size == 0);
      EXPECT_EQ(LzhExpandSkinStream(coded), input);
    }
  }
}

TEST(LzhRoundTrip, LongStreamsRebuildTheTree) {
  // The root count starts at 314 and grows by one per symbol; random bytes are mostly
  // literals, so 40,000 of them reach 0x8000 once and 120,000 several times.
  LzhCompressStats stats;
  const Bytes published = ReadVector("random-40k.bin");
  EXPECT_EQ(LzhCompress(published, stats), ReadVector("random-40k.lzh"));
  EXPECT_EQ(stats.rebuilds, 1u);

  const Bytes input = Generate("random", 120000);
  const Bytes coded = LzhCompress(input, stats);
  EXPECT_GE(stats.rebuilds, 3u);
  EXPECT_EQ(LzhExpandSkinStream(coded), input);
  EXPECT_EQ(ExpandThroughStreams(coded).out, input);
}

}  // namespace
