#include "skin/data/Lzh.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <new>

#include "skin/data/LzhCoding.h"

namespace {

using namespace lzh;

// Everything Expand allocates: the tree and the ring (with a look-ahead of spare room).
struct ExpandTables {
  HuffmanTree tree;
  std::array<uint8_t, kRingAllocated> ring;
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

// Reads InStream in blocks; Finish() moves the stream back over the bytes read ahead but
// not used, so the stream ends where single-byte reads would have left it.
class StreamSource {
 public:
  explicit StreamSource(TStream& stream) : stream_(stream) {}
  uint8_t Next() {
    if (next_ == filled_ && !Refill()) return 0;
    return buffer_[next_++];
  }
  void Finish() {
    if (filled_ > next_) stream_.Seek(-static_cast<int64_t>(filled_ - next_), TSeekOrigin::soCurrent);
    next_ = filled_ = 0;
  }

 private:
  bool Refill() {
    const int64_t left = std::max<int64_t>(stream_.Size() - stream_.Position(), 0);
    const size_t wanted = static_cast<size_t>(std::min<int64_t>(left, kBlock));
    next_ = 0;
    filled_ = wanted != 0 ? stream_.Read(buffer_.data(), wanted) : 0;
    return filled_ != 0;
  }

  static constexpr size_t kBlock = 16384;
  TStream& stream_;
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

template <class Source, class Sink>
void Decode(ExpandTables& tables, int32_t outputSize, Source& source, Sink& sink) {
  HuffmanTree& tree = tables.tree;
  uint8_t* const ring = tables.ring.data();
  tree.Start();
  std::fill(ring, ring + kStartPosition, kInitialFill);
  std::fill(ring + kStartPosition, ring + kRingAllocated, uint8_t{0});
  BitReader<Source> bits(source);
  unsigned r = kStartPosition;
  int64_t produced = 0;  // 64-bit: a last match may pass a size near 2^31
  while (produced < outputSize) {
    unsigned node = tree.son[kRoot];
    while (node < kNodeCount) node = tree.son[node + bits.Bit()];
    const unsigned symbol = node - kNodeCount;
    tree.Update(symbol);
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
    CallbackSink sink(WriteProc);
    Decode(*tables, OutputSize, source, sink);
    return;
  }
  // Our own stream callbacks: the same bytes in blocks. Whatever was produced reaches
  // OutStream, and InStream is repositioned, also when an exception ends the decoding.
  const auto source = std::make_unique<StreamSource>(*InStream);
  const auto sink = std::make_unique<StreamSink>(*OutStream);
  try {
    Decode(*tables, OutputSize, *source, *sink);
  } catch (...) {
    try {
      sink->Flush();
      source->Finish();
    } catch (...) {
    }
    throw;
  }
  sink->Flush();
  source->Finish();
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
  constexpr int64_t kBytesPerStreamByte = 8 * (kLookAhead / 10);  // 48
  constexpr int64_t kMissingTailBytes = 4096;
  constexpr int64_t kMaxExpanded = int64_t{256} << 20;
  const int64_t streamBytes = std::max<int64_t>(compressedBytes - kHeaderBytes, 0);
  if (streamBytes >= kMaxExpanded / kBytesPerStreamByte) return kMaxExpanded;
  return std::min((streamBytes + kMissingTailBytes) * kBytesPerStreamByte, kMaxExpanded);
}

std::vector<uint8_t> LzhExpandSkinStream(std::span<const uint8_t> file) {
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
  std::vector<uint8_t> out(static_cast<size_t>(size));
  SpanSource source(file.subspan(4));
  SpanSink sink(out);
  Decode(*tables, size, source, sink);
  return out;
}

void LzhFailTableAllocationsForTesting(int count) { failingAllocations.store(count); }
