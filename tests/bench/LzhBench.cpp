// Speed of the LZH coder on a 340 KB mix of text, bitmap and random data, in MB/s of
// uncompressed bytes. Run with scripts/bench.sh (an optimised build without sanitizers).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "framework/Streams.h"
#include "skin/data/Lzh.h"
#include "skin/data/LzhCompressor.h"

namespace {

const std::string kVectors = std::string(PTEST_SHARED_DIR) + "/testdata/lzhuf/";

const std::vector<uint8_t>& Plain() {
  static const std::vector<uint8_t> bytes = ReadFileBytes(kVectors + "mixed-300k.bin");
  return bytes;
}

const std::vector<uint8_t>& Coded() {
  static const std::vector<uint8_t> bytes = ReadFileBytes(kVectors + "mixed-300k.lzh");
  return bytes;
}

int32_t StatedSize(const std::vector<uint8_t>& coded) {
  return static_cast<int32_t>(static_cast<uint32_t>(coded[0]) |
                              static_cast<uint32_t>(coded[1]) << 8 |
                              static_cast<uint32_t>(coded[2]) << 16 |
                              static_cast<uint32_t>(coded[3]) << 24);
}

// As the skin reader does it: memory streams and the stream-bound callbacks.
void ExpandStreams(benchmark::State& state) {
  TMemoryStream in(Coded());
  TMemoryStream out;
  TLZH lzh;
  lzh.InStream = &in;
  lzh.OutStream = &out;
  for (auto _ : state) {
    in.SetPosition(4);
    out.SetPosition(0);
    lzh.Expand(StatedSize(Coded()), lzh.StreamReadProc(), lzh.StreamWriteProc());
    benchmark::DoNotOptimize(out.Memory());
  }
  if (out.Bytes().size() != Plain().size()) state.SkipWithError("wrong output size");
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(Plain().size()));
}
BENCHMARK(ExpandStreams)->Unit(benchmark::kMillisecond);

void ExpandSkinStream(benchmark::State& state) {
  for (auto _ : state) {
    std::vector<uint8_t> out = LzhExpandSkinStream(Coded());
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(Plain().size()));
}
BENCHMARK(ExpandSkinStream)->Unit(benchmark::kMillisecond);

// Other callbacks: one call per byte in each direction.
void ExpandByteCallbacks(benchmark::State& state) {
  const std::vector<uint8_t>& coded = Coded();
  std::vector<uint8_t> out;
  out.reserve(Plain().size() + 64);
  TLZH lzh;
  for (auto _ : state) {
    size_t next = 4;
    out.clear();
    lzh.Expand(
        StatedSize(coded),
        [&](uint8_t* buffer, uint16_t, uint16_t& got) {
          got = next < coded.size() ? 1 : 0;
          *buffer = got != 0 ? coded[next++] : 0;
        },
        [&](const uint8_t* buffer, uint16_t count, uint16_t& done) {
          out.push_back(*buffer);
          done = count;
        });
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(Plain().size()));
}
BENCHMARK(ExpandByteCallbacks)->Unit(benchmark::kMillisecond);

void Compress(benchmark::State& state) {
  for (auto _ : state) {
    std::vector<uint8_t> coded = LzhCompress(Plain());
    benchmark::DoNotOptimize(coded.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(Plain().size()));
}
BENCHMARK(Compress)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
