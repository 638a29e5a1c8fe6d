#include "skin/data/Lzh.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <new>

#include "skin/data/LzhCoding.h"

namespace {

using namespace lzh;

// Byte sources: Next() gives the next input byte, or 0 once the input is exhausted.
class CallbackSource {
 public:
  explicit CallbackSource(const TLzhReadProc& read) : read_(read) {}
  uint8_t Next() {
    uint8_t byte = 0;
    uint16_t got = 0;
    read_(&byte, 1, got);
    return got != 0 ? byte : 0;
  }

 private:
  const TLzhReadProc& read_;
};

class SpanSource {
 public:
  explicit SpanSource(std::span<const uint8_t> bytes)
      : next_(bytes.data()), end_(bytes.data() + bytes.size()) {}
  uint8_t Next() { return next_ != end_ ? *next_++ : 0; }

 private:
  const uint8_t* next_;
  const uint8_t* end_;
};

// Reads InStream in blocks. Finish() sets the stream to where single-byte reads would
// have left it after `wanted` bytes (fewer if the stream had fewer).
class StreamSource {
 public:
  explicit StreamSource(TStream& stream) : stream_(stream), start_(stream.Position()) {}
  uint8_t Next() {
    if (next_ == filled_ && !Refill()) return 0;
    return buffer_[next_++];
  }
  void Finish(int64_t wanted) {
    stream_.SetPosition(start_ + std::min(wanted, delivered_));
    next_ = filled_ = 0;
  }

 private:
  bool Refill() {
    const int64_t left = std::max<int64_t>(stream_.Size() - stream_.Position(), 0);
    const size_t wanted = static_cast<size_t>(std::min<int64_t>(left, kBlock));
    next_ = 0;
    filled_ = wanted != 0 ? stream_.Read(buffer_.data(), wanted) : 0;
    delivered_ += static_cast<int64_t>(filled_);
    return filled_ != 0;
  }

  static constexpr size_t kBlock = 16384;
  TStream& stream_;
  const int64_t start_;
  int64_t delivered_ = 0;
  std::array<uint8_t, kBlock> buffer_;
  size_t next_ = 0;
  size_t filled_ = 0;
};

// Byte sinks: Put() takes one output byte.
class CallbackSink {
 public:
  explicit CallbackSink(const TLzhWriteProc& write) : write_(write) {}
  void Put(uint8_t byte) {
    uint16_t done = 0;
    write_(&byte, 1, done);
  }

 private:
  const TLzhWriteProc& write_;
};

// Fills a buffer of the stated size and drops what a corrupt stream gives beyond it.
class SpanSink {
 public:
  explicit SpanSink(std::span<uint8_t> out) : next_(out.data()), end_(out.data() + out.size()) {}
  void Put(uint8_t byte) {
    if (next_ != end_) *next_++ = byte;
  }

 private:
  uint8_t* next_;
  uint8_t* end_;
};

// Collects output in blocks for OutStream; Flush() hands over what is pending.
class StreamSink {
 public:
  explicit StreamSink(TStream& stream) : stream_(stream) {}
  void Put(uint8_t byte) {
    buffer_[pending_++] = byte;
    if (pending_ == kBlock) Flush();
  }
  void Flush() {
    const size_t count = pending_;
    pending_ = 0;
    if (count != 0) stream_.Write(buffer_.data(), count);
  }

 private:
  static constexpr size_t kBlock = 16384;
  TStream& stream_;
  std::array<uint8_t, kBlock> buffer_;
  size_t pending_ = 0;
};

// Most significant bit first, through a 16-bit buffer that is refilled a byte at a time
// whenever it holds 8 bits or fewer; exhausted input reads as zero bytes. Refilling this
// lazily fixes exactly how many bytes are taken from the input.
template <class Source>
class BitReader {
 public:
  explicit BitReader(Source& source) : source_(source) {}
  unsigned Bit() {
    Refill();
    const unsigned bit = buffer_ >> 15;
    buffer_ = (buffer_ << 1) & 0xFFFF;
    --count_;
    return bit;
  }
  unsigned Byte() {
    Refill();
    const unsigned byte = buffer_ >> 8;
    buffer_ = (buffer_ << 8) & 0xFFFF;
    count_ -= 8;
    return byte;
  }
  // The next `count` (<= 8) bits without taking them, then Skip of 1 ... count of them:
  // the same bytes read at the same points as that many calls of Bit() (within 8 bits
  // the buffer needs at most one refill, which happens before the last bit).
  unsigned Peek(unsigned count) {
    Refill();
    return buffer_ >> (16 - count);
  }
  void Skip(unsigned count) {
    buffer_ = (buffer_ << (count - 1)) & 0xFFFF;
    count_ -= count - 1;
    Bit();
  }

 private:
  void Refill() {
    while (count_ <= 8) {
      buffer_ |= static_cast<unsigned>(source_.Next()) << (8 - count_);
      count_ += 8;
    }
  }

  Source& source_;
  unsigned buffer_ = 0;
  unsigned count_ = 0;
};

// The same bits through a 64-bit buffer that is refilled eight bytes at a time when it
// runs dry, for sources whose reads may run ahead (memory, our own stream blocks).
template <class Source>
class WideBitReader {
 public:
  explicit WideBitReader(Source& source) : source_(source) {}
  unsigned Bit() {
    if (count_ == 0) Refill();
    const auto bit = static_cast<unsigned>(buffer_ >> 63);
    buffer_ <<= 1;
    --count_;
    return bit;
  }
  unsigned Byte() {
    if (count_ < 8) Refill();
    const auto byte = static_cast<unsigned>(buffer_ >> 56);
    buffer_ <<= 8;
    count_ -= 8;
    return byte;
  }
  unsigned Peek(unsigned count) {
    if (count_ < count) Refill();
    return static_cast<unsigned>(buffer_ >> (64 - count));
  }
  void Skip(unsigned count) {
    buffer_ <<= count;
    count_ -= count;
  }
  // The input bytes that the byte-at-a-time reader above would have taken by now. It
  // keeps 9 to 16 bits after each refill, and a decoding always ends with a single bit,
  // so after c bits it has read ceil(c / 8) + 1 bytes (none when nothing was decoded).
  int64_t BytesTaken() const {
    const int64_t consumed = 8 * loaded_ - count_;
    return consumed == 0 ? 0 : (consumed + 7) / 8 + 1;
  }

 private:
  void Refill() {
    while (count_ <= 56) {
      buffer_ |= static_cast<uint64_t>(source_.Next()) << (56 - count_);
      count_ += 8;
      ++loaded_;
    }
  }

  Source& source_;
  uint64_t buffer_ = 0;  // next bit in bit 63
  unsigned count_ = 0;
  int64_t loaded_ = 0;  // bytes moved into the buffer, zero fill included
};

// The top levels of the tree as a table: for each prefix of kBits bits, the nodes that
// the walk from the root passes (fewer when it reaches a leaf sooner). The shape up there
// rarely changes, so this saves most of the node-by-node walk. An entry is made when
// first used; a swap or rebuild that changes a node any entry has read drops them all
// (by moving to a new stamp).
class PrefixTable {
 public:
  static constexpr unsigned kBits = 6;
  struct Entry {
    uint32_t stamp;
    uint16_t depth;
    std::array<uint16_t, kBits> nodes;
  };

  const Entry& Lookup(const HuffmanTree& tree, unsigned prefix) {
    Entry& entry = entries_[prefix];
    if (entry.stamp != stamp_) Make(tree, prefix, entry);
    return entry;
  }
  // The tree's shape observer.
  void Swapped(unsigned a, unsigned b) {
    if (readAt_[a] == stamp_ || readAt_[b] == stamp_) ++stamp_;
  }
  void Rebuilt() { ++stamp_; }

 private:
  void Make(const HuffmanTree& tree, unsigned prefix, Entry& entry) {
    unsigned node = kRoot;
    unsigned depth = 0;
    do {
      readAt_[node] = stamp_;
      const unsigned next = tree.son[node];
      if (next >= kNodeCount) break;  // a leaf
      node = next + ((prefix >> (kBits - 1 - depth)) & 1);
      entry.nodes[depth++] = static_cast<uint16_t>(node);
    } while (depth < kBits);
    entry.depth = static_cast<uint16_t>(depth);
    entry.stamp = stamp_;
  }

  uint32_t stamp_ = 1;  // entries and nodes stamped 0 were never made or read
  std::array<Entry, 1u << kBits> entries_{};
  std::array<uint32_t, kNodeCount> readAt_{};  // stamp at which a node's son was read
};

// One literal or length: the first levels from the table, then down one bit per level,
// remembering the way, then the update. Out of line, so that this loop, where the time
// goes, keeps its values in registers whatever the output code around it needs.
template <class Bits>
[[gnu::noinline]] unsigned DecodeSymbol(HuffmanTree& tree, PrefixTable& table, Bits& bits,
                                        uint16_t* path) {
  const PrefixTable::Entry& entry = table.Lookup(tree, bits.Peek(PrefixTable::kBits));
  unsigned depth = entry.depth;
  bits.Skip(depth);
  std::copy(entry.nodes.begin(), entry.nodes.end(), path);
  const uint16_t* const son = tree.son.data();
  unsigned next = son[path[depth - 1]];
  while (next < kNodeCount) {
    const unsigned child = next + bits.Bit();
    path[depth++] = static_cast<uint16_t>(child);
    next = son[child];
  }
  const unsigned symbol = next - kNodeCount;
  tree.UpdateAlong(symbol, path, depth, table);
  return symbol;
}

// Everything Expand allocates: the tree, the ring (with a look-ahead of spare room), the
// way down to the last symbol and the table of the top levels.
struct ExpandTables {
  HuffmanTree tree;
  std::array<uint8_t, kRingAllocated> ring;
  std::array<uint16_t, kNodeCount> path;  // the nodes passed while decoding one symbol
  PrefixTable prefixes;
};

std::atomic<int> failingAllocations{0};

std::unique_ptr<ExpandTables> AllocateTables() {
  int pending = failingAllocations.load();
  while (pending > 0 && !failingAllocations.compare_exchange_weak(pending, pending - 1)) {
  }
  std::unique_ptr<ExpandTables> tables;
  if (pending <= 0) tables.reset(new (std::nothrow) ExpandTables);
  if (!tables) throw ElzhException(kLzhNoMemoryMessage);
  return tables;
}

template <class Bits, class Sink>
void Decode(ExpandTables& tables, int32_t outputSize, Bits& bits, Sink& sink) {
  HuffmanTree& tree = tables.tree;
  uint8_t* const ring = tables.ring.data();
  uint16_t* const path = tables.path.data();
  PrefixTable& table = tables.prefixes;
  table = PrefixTable();
  tree.Start();
  std::fill(ring, ring + kStartPosition, kInitialFill);
  std::fill(ring + kStartPosition, ring + kRingAllocated, uint8_t{0});
  unsigned r = kStartPosition;
  int64_t produced = 0;  // 64-bit: a last match may pass a size near 2^31
  while (produced < outputSize) {
    const unsigned symbol = DecodeSymbol(tree, table, bits, path);
    if (symbol < kFirstMatchSymbol) {
      const auto byte = static_cast<uint8_t>(symbol);
      sink.Put(byte);
      ring[r] = byte;
      r = (r + 1) & kRingMask;
      ++produced;
      continue;
    }
    unsigned first = bits.Byte();
    const unsigned upper = static_cast<unsigned>(kPositionTables.upperOfByte[first]) << 6;
    for (unsigned extra = kPositionTables.lengthOfByte[first] - 2u; extra != 0; --extra) {
      first = ((first << 1) + bits.Bit()) & 0xFFFF;
    }
    const unsigned position = upper | (first & 0x3F);
    const unsigned from = (r - position - 1) & kRingMask;
    const unsigned length = symbol - kMatchSymbolBias;
    for (unsigned k = 0; k < length; ++k) {
      const uint8_t byte = ring[(from + k) & kRingMask];
      sink.Put(byte);
      ring[r] = byte;
      r = (r + 1) & kRingMask;
    }
    produced += length;
  }
}

}  // namespace

void TLZH::Expand(int32_t OutputSize, const TLzhReadProc& ReadProc,
                  const TLzhWriteProc& WriteProc) {
  const std::unique_ptr<ExpandTables> tables = AllocateTables();
  const StreamReader* reader = ReadProc.target<StreamReader>();
  const StreamWriter* writer = WriteProc.target<StreamWriter>();
  const bool streamBound = reader != nullptr && reader->owner == this && writer != nullptr &&
                           writer->owner == this && InStream != nullptr &&
                           OutStream != nullptr && InStream != OutStream;
  if (!streamBound) {
    CallbackSource source(ReadProc);
    BitReader<CallbackSource> bits(source);
    CallbackSink sink(WriteProc);
    Decode(*tables, OutputSize, bits, sink);
    return;
  }
  // Our own stream callbacks: the same bytes in blocks. Whatever was produced reaches
  // OutStream, and InStream is left where byte-at-a-time reading would leave it, also
  // when an exception ends the decoding.
  const auto source = std::make_unique<StreamSource>(*InStream);
  const auto sink = std::make_unique<StreamSink>(*OutStream);
  WideBitReader<StreamSource> bits(*source);
  try {
    Decode(*tables, OutputSize, bits, *sink);
  } catch (...) {
    try {
      sink->Flush();
      source->Finish(bits.BytesTaken());
    } catch (...) {
    }
    throw;
  }
  sink->Flush();
  source->Finish(bits.BytesTaken());
}

void TLZH::ReadFromInStream(uint8_t* ByteBuffer, uint16_t Count, uint16_t& Got) {
  Got = 0;
  if (InStream == nullptr) return;
  const int64_t left = std::max<int64_t>(InStream->Size() - InStream->Position(), 0);
  const auto wanted = static_cast<size_t>(std::min<int64_t>(Count, left));
  Got = static_cast<uint16_t>(wanted != 0 ? InStream->Read(ByteBuffer, wanted) : 0);
}

void TLZH::WriteToOutStream(const uint8_t* ByteBuffer, uint16_t Count, uint16_t& Done) {
  Done = 0;
  if (OutStream == nullptr) return;
  OutStream->Write(ByteBuffer, Count);
  Done = Count;
}

TLzhReadProc TLZH::StreamReadProc() { return StreamReader{this}; }
TLzhWriteProc TLZH::StreamWriteProc() { return StreamWriter{this}; }

// Bound on the expanded size of a stream of n bytes (header included):
// - every symbol costs at least one bit: decoding starts below the root of the tree;
// - a literal gives 1 byte; a match gives at most 60 bytes and costs its symbol plus a
//   position of at least 9 bits (a whole byte, then at least one more bit), so at least
//   10 bits: at most 6 bytes per bit, 48 bytes per byte of bit stream. Long runs of one
//   byte come close to this (10 bits per 60 bytes once the tree has adapted).
// - input that ends early is decoded on from zero bits; a truncated stream may claim the
//   output of up to kMissingTailBytes more input (about 190 KiB of output);
// - and never more than kMaxExpanded in all, so a stated size cannot make a reader
//   allocate gigabytes.
int64_t LzhMaxExpandedSize(int64_t compressedBytes) {
  constexpr int64_t kHeaderBytes = 4;
  constexpr int64_t kMinMatchBits = 1 + 9;
  constexpr int64_t kBytesPerStreamByte = 8 * kLookAhead / kMinMatchBits;  // 48
  constexpr int64_t kMissingTailBytes = 4096;
  constexpr int64_t kMaxExpanded = int64_t{256} << 20;
  const int64_t streamBytes = std::max<int64_t>(compressedBytes - kHeaderBytes, 0);
  if (streamBytes >= kMaxExpanded / kBytesPerStreamByte) return kMaxExpanded;
  return std::min((streamBytes + kMissingTailBytes) * kBytesPerStreamByte, kMaxExpanded);
}

std::vector<uint8_t> LzhExpandSkinStream(std::span<const uint8_t> file, int64_t* bytesAsked) {
  if (bytesAsked != nullptr) *bytesAsked = 0;
  if (file.size() < 4) {
    throw ElzhException("LZH : stream of " + std::to_string(file.size()) +
                        " bytes is shorter than its 4-byte size header");
  }
  const int32_t size = static_cast<int32_t>(static_cast<uint32_t>(file[0]) |
                                            static_cast<uint32_t>(file[1]) << 8 |
                                            static_cast<uint32_t>(file[2]) << 16 |
                                            static_cast<uint32_t>(file[3]) << 24);
  if (size <= 0) return {};
  const int64_t limit = LzhMaxExpandedSize(static_cast<int64_t>(file.size()));
  if (size > limit) {
    throw ElzhException("LZH : stated size " + std::to_string(size) + " bytes is more than a " +
                        std::to_string(file.size()) + "-byte stream can hold (at most " +
                        std::to_string(limit) + ")");
  }
  const std::unique_ptr<ExpandTables> tables = AllocateTables();
  std::vector<uint8_t> out;
  try {
    out.resize(static_cast<size_t>(size));
  } catch (const std::bad_alloc&) {
    throw ElzhException("LZH : Cannot get memory for " + std::to_string(size) +
                        " bytes of output");
  }
  SpanSource source(file.subspan(4));
  WideBitReader<SpanSource> bits(source);
  SpanSink sink(out);
  Decode(*tables, size, bits, sink);
  if (bytesAsked != nullptr) *bytesAsked = bits.BytesTaken();
  return out;
}

void LzhFailTableAllocationsForTesting(int count) { failingAllocations.store(count); }
