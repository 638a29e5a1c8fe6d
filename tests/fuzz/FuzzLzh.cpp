// Fuzz target for the LZH coder. Any bytes as a skin stream: expanding must stay inside
// its buffers, refuse what it cannot hold, and give the same bytes (and leave the input
// stream at the same place) through the block path and the byte-at-a-time path. Any
// bytes as plain data: compressing then expanding must give them back.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>
#include <vector>

#include "framework/Streams.h"
#include "skin/data/Lzh.h"
#include "skin/data/LzhCompressor.h"

namespace {

// Inputs are cut here so that each run stays short. libFuzzer would otherwise take the
// largest seed (340 KB) as its length limit; LLVMFuzzerInitialize sets this one instead.
constexpr size_t kMaxInput = 4096;
// Stated sizes up to this are expanded, through both paths, and compared.
constexpr int32_t kMaxCompared = 16 * 1024;

struct StreamRun {
  std::vector<uint8_t> out;
  int64_t inPosition;
};

StreamRun ExpandStreams(std::span<const uint8_t> file, int32_t size, bool ownCallbacks) {
  TMemoryStream in(std::vector<uint8_t>(file.begin(), file.end()));
  TMemoryStream out;
  TLZH lzh;
  lzh.InStream = &in;
  lzh.OutStream = &out;
  in.SetPosition(4);
  if (ownCallbacks) {
    lzh.Expand(size, lzh.StreamReadProc(), lzh.StreamWriteProc());
  } else {
    lzh.Expand(
        size,
        [&lzh](uint8_t* buffer, uint16_t count, uint16_t& got) {
          lzh.ReadFromInStream(buffer, count, got);
        },
        [&lzh](const uint8_t* buffer, uint16_t count, uint16_t& done) {
          lzh.WriteToOutStream(buffer, count, done);
        });
  }
  return {std::vector<uint8_t>(out.Bytes().begin(), out.Bytes().end()), in.Position()};
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  static std::vector<char*> args;
  static char maxLen[] = "-max_len=4096";
  args.assign(*argv, *argv + *argc);
  const bool given = std::any_of(args.begin(), args.end(), [](const char* arg) {
    return std::string_view(arg).starts_with("-max_len=");
  });
  if (!given) {
    args.insert(args.begin() + 1, maxLen);  // before the corpus directories
    args.push_back(nullptr);
    *argc = static_cast<int>(args.size()) - 1;
    *argv = args.data();
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> input(data, size < kMaxInput ? size : kMaxInput);

  if (input.size() < 4) {
    try {
      LzhExpandSkinStream(input);
      std::abort();  // must be refused
    } catch (const ElzhException&) {
    }
  } else {
    const auto stated = static_cast<int32_t>(
        static_cast<uint32_t>(input[0]) | static_cast<uint32_t>(input[1]) << 8 |
        static_cast<uint32_t>(input[2]) << 16 | static_cast<uint32_t>(input[3]) << 24);
    const bool fits = stated <= LzhMaxExpandedSize(static_cast<int64_t>(input.size()));
    // Larger sizes take the same paths, only longer; refusals are decided up front.
    if (!fits || stated <= kMaxCompared) {
      std::vector<uint8_t> expanded;
      bool refused = false;
      try {
        expanded = LzhExpandSkinStream(input);
      } catch (const ElzhException&) {
        refused = true;
      }
      if (refused == fits) std::abort();
      if (fits) {
        if (expanded.size() != static_cast<size_t>(stated < 0 ? 0 : stated)) std::abort();
        const StreamRun fast = ExpandStreams(input, stated, true);
        const StreamRun slow = ExpandStreams(input, stated, false);
        if (fast.out != slow.out || fast.inPosition != slow.inPosition) std::abort();
        if (fast.out.size() < expanded.size() ||
            !std::equal(expanded.begin(), expanded.end(), fast.out.begin())) {
          std::abort();
        }
      }
    }
  }

  const std::vector<uint8_t> coded = LzhCompress(input);
  const std::vector<uint8_t> back = LzhExpandSkinStream(coded);
  if (back.size() != input.size() || !std::equal(back.begin(), back.end(), input.begin())) {
    std::abort();
  }
  return 0;
}
