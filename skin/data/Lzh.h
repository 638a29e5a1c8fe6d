// LZH expander of skin streams: LZSS over a 4096-byte ring whose literals and match
// lengths are coded by an adaptive Huffman tree and whose match positions by a fixed
// prefix code (the published LZHUF scheme, see LzhCoding.h).
//
// Stream layout (a skin file): offset 0, 4 bytes: expanded size, signed 32-bit little-
// endian; offset 4: the bit stream, most significant bit first. Corrupt input is not
// detected: it yields wrong bytes, never a fault; input missing at the end reads as zero
// bits.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "framework/Streams.h"
#include "framework/SysUtils.h"

// The error of the expander; it carries only its message.
class ElzhException : public Exception {
 public:
  using Exception::Exception;
};

inline constexpr const char* kLzhNoMemoryMessage =
    "LZH : Cannot get memory for dictionary tables";
// Releasing the tables cannot fail in this implementation; the text is kept so that
// callers that show expander errors know the whole set.
inline constexpr const char* kLzhFreeErrorMessage =
    "LZH : Error freeing memory for dictionary tables";

// Byte movers bound to an object. Read: fill up to `count` bytes, `got` = bytes
// delivered (0 at the end of the input). Write: take `count` bytes, `done` = count.
// The expander moves exactly one byte per call.
using TLzhReadProc = std::function<void(uint8_t* byteBuffer, uint16_t count, uint16_t& got)>;
using TLzhWriteProc =
    std::function<void(const uint8_t* byteBuffer, uint16_t count, uint16_t& done)>;

class TLZH {
 public:
  // Not owned. Used by the stream-bound callbacks below.
  TStream* InStream = nullptr;
  TStream* OutStream = nullptr;

  // Decodes symbols until at least OutputSize bytes were handed to WriteProc (nothing
  // when OutputSize <= 0). A match is always written whole, so a corrupt stream can give
  // up to 59 bytes more. The working tables live only during the call; failing to get
  // them raises ElzhException(kLzhNoMemoryMessage).
  void Expand(int32_t OutputSize, const TLzhReadProc& ReadProc, const TLzhWriteProc& WriteProc);

  // The stream-bound callbacks: read min(Count, bytes left in InStream) from InStream;
  // write Count bytes to OutStream. A missing stream moves nothing.
  void ReadFromInStream(uint8_t* ByteBuffer, uint16_t Count, uint16_t& Got);
  void WriteToOutStream(const uint8_t* ByteBuffer, uint16_t Count, uint16_t& Done);
  // The two above bound to this object. Expand recognises them and then moves the
  // bytes in blocks instead of one call per byte; the streams see the same bytes and
  // InStream ends at the same position as with single-byte calls.
  TLzhReadProc StreamReadProc();
  TLzhWriteProc StreamWriteProc();

 private:
  struct StreamReader {
    TLZH* owner;
    void operator()(uint8_t* buffer, uint16_t count, uint16_t& got) const {
      owner->ReadFromInStream(buffer, count, got);
    }
  };
  struct StreamWriter {
    TLZH* owner;
    void operator()(const uint8_t* buffer, uint16_t count, uint16_t& done) const {
      owner->WriteToOutStream(buffer, count, done);
    }
  };
};

// The largest expanded size that a skin stream of `compressedBytes` bytes (size header
// included) can sensibly state. Readers refuse a larger stated size before allocating.
int64_t LzhMaxExpandedSize(int64_t compressedBytes);

// Expands a whole skin stream (size header + bit stream) and returns exactly max(size, 0)
// bytes. Throws ElzhException when the input is shorter than the header or states more
// than LzhMaxExpandedSize(file.size()) bytes. `bytesAsked`, when given, receives how many
// bit-stream bytes the byte-at-a-time decoder would have asked for, counting requests
// past the end: the decoder reads one byte ahead, so a complete stream is asked for
// exactly one byte more than it has, and a cut-off stream for more than that.
std::vector<uint8_t> LzhExpandSkinStream(std::span<const uint8_t> file,
                                         int64_t* bytesAsked = nullptr);

// For tests: the next `count` table allocations fail as if memory were exhausted.
void LzhFailTableAllocationsForTesting(int count);
