// Speed of the region scan (a window shape from its frame image) and of the pixel
// transforms. Run optimised: scripts/bench.sh builds build/bench, then
// build/bench/tests/skin_image/skin_image_bench.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "skin/image/PixelOps.h"
#include "skin/image/RegionScan.h"
#include "skin/image/SliceGeometry.h"

namespace {

// A 32-bit picture of width x height whose pixels are magenta where `keyed` says so.
struct Picture {
  int width, height;
  std::vector<uint8_t> bytes;
  Picture(int w, int h) : width(w), height(h), bytes(4 * static_cast<size_t>(w) * h, 0x40) {}
  void Key(int x, int y) {
    uint8_t* p = &bytes[4 * (static_cast<size_t>(y) * width + x)];
    p[0] = 255;
    p[1] = 0;
    p[2] = 255;
  }
  ConstBgra32View View() const { return {bytes.data(), 4 * static_cast<ptrdiff_t>(width), width, height}; }
};

// A window 800 x 600 with rounded top corners: one rectangle per row.
Picture RoundedWindow() {
  Picture p(800, 600);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6 - y; ++x) {
      p.Key(x, y);
      p.Key(799 - x, y);
    }
  return p;
}

// Every other pixel keyed: the worst case, 400 rectangles per row, many flushes.
Picture Comb() {
  Picture p(800, 600);
  for (int y = 0; y < 600; ++y)
    for (int x = y & 1; x < 800; x += 2) p.Key(x, y);
  return p;
}

void ScanRegion(benchmark::State& state, const Picture& picture) {
  const KeyRange key = KeyRange::Of(0xFF00FF, 1, 1, 1);
  int64_t rects = 0;
  for (auto _ : state) {
    ScanRegionRects(picture.View(), 0, 0, key, kRegionBatch,
                    [&rects](const RegionData& data) { rects += data.Count(); });
  }
  benchmark::DoNotOptimize(rects);
  state.SetItemsProcessed(state.iterations() * picture.width * picture.height);
}

void BM_RegionScanRoundedWindow(benchmark::State& state) {
  static const Picture picture = RoundedWindow();
  ScanRegion(state, picture);
}
BENCHMARK(BM_RegionScanRoundedWindow);

void BM_RegionScanComb(benchmark::State& state) {
  static const Picture picture = Comb();
  ScanRegion(state, picture);
}
BENCHMARK(BM_RegionScanComb);

void BM_RotateLeft(benchmark::State& state) {
  const Picture source = RoundedWindow();
  std::vector<uint8_t> target(3 * 600 * 800);
  const Bgr24View view{target.data(), 3 * 600, 600, 800};
  for (auto _ : state) {
    RotateLeftPixels(source.View(), view);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * 800 * 600);
}
BENCHMARK(BM_RotateLeft);

void BM_PlanNineSlice(benchmark::State& state) {
  int frame = 1;
  for (auto _ : state) {
    const NineSlicePlan plan = PlanNineSlice(75, 23, 300, 21, {4, 4, 4, 4}, false, 5, frame);
    benchmark::DoNotOptimize(plan);
    frame = frame % 5 + 1;
  }
}
BENCHMARK(BM_PlanNineSlice);

}  // namespace

BENCHMARK_MAIN();
