// The scan behind BitmapToRegion (unit WinSkinData): every row of a 32-bit image is cut
// into maximal runs of pixels outside a key-colour range, each run one rectangle one
// pixel high, gathered in the memory layout of the Win32 RGNDATA structure so that
// ExtCreateRegion takes the buffer as it is.
// Portable: no Windows header.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "skin/image/PixelView.h"

// The key colour and its tolerances: a pixel is "key" when each of its red, green and
// blue lies in key .. min(255, key + tolerance) (an empty range when a tolerance is
// negative: then no pixel is key).
struct KeyRange {
  int redLo = 0, redHi = -1;
  int greenLo = 0, greenHi = -1;
  int blueLo = 0, blueHi = -1;

  // `colour`: 0x00BBGGRR.
  static KeyRange Of(int32_t colour, int blueTolerance, int greenTolerance, int redTolerance);
  bool Contains(int blue, int green, int red) const {
    return red >= redLo && red <= redHi && green >= greenLo && green <= greenHi &&
           blue >= blueLo && blue <= blueHi;
  }
};

struct RegionRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
  friend bool operator==(const RegionRect&, const RegionRect&) = default;
};

// Rectangles in RGNDATA layout: a 32-byte header (header size 32, type RDH_RECTANGLES,
// rectangle count, region size 0, bounding rectangle) followed by the rectangles, 16
// bytes each, all little 32-bit integers. Room grows by 500 rectangles at a time.
class RegionData {
 public:
  static constexpr int kGrowth = 500;

  RegionData();
  void Add(const RegionRect& rect);
  // Empties the buffer for the next batch: count 0, bounds back to their start value.
  void Restart();

  int Count() const { return count_; }
  RegionRect Bounds() const;
  RegionRect Rect(int index) const;
  // The RGNDATA bytes: 32 + 16 * Count().
  const void* Data() const { return words_.data(); }
  size_t Size() const { return (kHeaderWords + 4 * static_cast<size_t>(count_)) * 4; }
  size_t CapacityRects() const { return (words_.capacity() - kHeaderWords) / 4; }

 private:
  static constexpr size_t kHeaderWords = 8;
  std::vector<int32_t> words_;
  int count_ = 0;
};

// Scans `image` row by row from the top and hands the gathered rectangles to `flush`
// each time `batch` of them are waiting, and once more at the end (then possibly with
// none, so an image made only of key pixels still yields one, empty, batch). Each run
// [x1, x2) of row y becomes (x1 + xOffset, y + yOffset, x2 + xOffset, y + yOffset + 1);
// coordinates beyond 32 bits saturate.
void ScanRegionRects(const ConstBgra32View& image, int xOffset, int yOffset,
                     const KeyRange& key, int batch,
                     const std::function<void(const RegionData&)>& flush);

inline constexpr int kRegionBatch = 2000;
