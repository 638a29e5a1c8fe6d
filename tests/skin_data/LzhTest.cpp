#include "skin/data/Lzh.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "framework/Streams.h"
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
  int64_t asked = -1;
  EXPECT_EQ(LzhExpandSkinStream(coded_, &asked), input_);
  // One byte of read-ahead past a complete stream.
  EXPECT_EQ(asked, input_.empty() ? 0 : static_cast<int64_t>(coded_.size() - 4 + 1));

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

// ---- streams written token by token ----

class StreamBuilder {
 public:
  StreamBuilder& Symbol(uint8_t byte) {
    writer_.Literal(byte);
    return *this;
  }
  StreamBuilder& Match(unsigned length, unsigned position) {
    writer_.Match(length, position);
    return *this;
  }
  Bytes Finish() {
    writer_.Finish();
    return bytes_;
  }
  const LzhCompressStats& Stats() const { return writer_.Stats(); }

 private:
  Bytes bytes_;
  LzhTokenWriter writer_{bytes_};
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

TEST(LzhExpand, ReadsOnlyTheBytesItsBitsNeed) {
  // The bit buffer is refilled a byte at a time whenever it holds 8 bits or fewer, so
  // a first code of n bits takes (n + 15) / 8 bytes, whatever follows in the input.
  for (uint8_t literal : {uint8_t{'a'}, uint8_t{0}, uint8_t{255}}) {
    SCOPED_TRACE(literal);
    StreamBuilder stream;
    stream.Symbol(literal);
    const unsigned bits = stream.Stats().longestCode;
    Bytes file = WithSize(1, stream.Finish());
    file.resize(file.size() + 16, 0xA5);
    const CallbackRun run = ExpandThroughCallbacks(file, 1);
    EXPECT_EQ(run.out, Bytes{literal});
    EXPECT_EQ(run.bytesDelivered, (bits + 15) / 8);
    EXPECT_EQ(ExpandThroughStreams(file).inPosition, static_cast<int64_t>(4 + (bits + 15) / 8));
  }
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

    int64_t asked = 0;
    const Bytes out = LzhExpandSkinStream(cut, &asked);
    ASSERT_EQ(out.size(), text.size());
    EXPECT_GT(asked, static_cast<int64_t>(kept + 1));  // the mark of a cut-off stream
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

TEST(LzhTokenWriter, CodesLongerThan16BitsComeOutWhole) {
  // Nine literals whose counts grow like Fibonacci numbers from the weight of the ~300
  // unused symbols stack nine levels above them, so an unused literal then takes 17 or
  // more bits. (The published encoder builds each code in a 16-bit word and would write
  // such a code wrong.) Each next count just exceeds what it must pass to keep the chain.
  std::vector<unsigned> counts{306};
  unsigned chain = 305;
  while (counts.size() < 9) {
    const unsigned previousChain = chain;
    chain += counts.back();
    counts.push_back(std::max(previousChain, counts.back()) + 1);
  }
  Bytes expected;
  for (size_t k = 0; k < counts.size(); ++k) {
    expected.insert(expected.end(), counts[k] - 1, static_cast<uint8_t>('A' + k));
  }
  std::shuffle(expected.begin(), expected.end(), std::mt19937(3));
  expected.push_back(0x01);
  expected.push_back('A');

  StreamBuilder stream;
  for (uint8_t byte : expected) stream.Symbol(byte);
  const Bytes file = WithSize(static_cast<int32_t>(expected.size()), stream.Finish());
  EXPECT_GE(stream.Stats().longestCode, 17u);
  EXPECT_EQ(stream.Stats().rebuilds, 0u);
  EXPECT_EQ(LzhExpandSkinStream(file), expected);
}

TEST(LzhTokenWriter, RefusesLengthsThatHaveNoSymbol) {
  Bytes out;
  LzhTokenWriter writer(out);
  for (unsigned length : {0u, 2u, 61u, 1000u}) {
    EXPECT_THROW(writer.Match(length, 0), Exception) << length;
  }
}

TEST(LzhHuffmanTree, UpdateAlongTheWayDownEqualsUpdate) {
  // The expander updates along the path it walked down; the compressor climbs from the
  // leaf. Skewed symbols make swaps, and 100,000 of them several rebuilds.
  lzh::HuffmanTree climbed, along;
  climbed.Start();
  along.Start();
  std::mt19937 random(11);
  struct Counter {
    int swaps = 0, rebuilds = 0;
    void Swapped(unsigned, unsigned) { ++swaps; }
    void Rebuilt() { ++rebuilds; }
  } counter;
  for (int n = 0; n < 100000; ++n) {
    const unsigned symbol = (random() % 4 == 0) ? random() % lzh::kSymbolCount
                                                : std::min<unsigned>(random() % 20 * random() % 40, 313);
    std::vector<uint16_t> path;
    for (unsigned node = along.parent[lzh::kNodeCount + symbol]; node != lzh::kRoot;
         node = along.parent[node]) {
      path.insert(path.begin(), static_cast<uint16_t>(node));
    }
    climbed.Update(symbol);
    along.UpdateAlong(symbol, path.data(), static_cast<unsigned>(path.size()), counter);
    if (n % 997 == 0 || n == 99999) {
      ASSERT_EQ(climbed.frequency, along.frequency) << n;
      ASSERT_EQ(climbed.son, along.son) << n;
      ASSERT_EQ(climbed.parent, along.parent) << n;
    }
  }
  EXPECT_GE(counter.rebuilds, 2);
  EXPECT_GT(counter.swaps, 10000);
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
