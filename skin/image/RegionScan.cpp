#include "skin/image/RegionScan.h"

#include <algorithm>
#include <limits>

#include "skin/image/ColourMath.h"

namespace {

constexpr int32_t kRdhRectangles = 1;  // RDH_RECTANGLES
constexpr int32_t kHeaderBytes = 32;
constexpr int32_t kBoundsStart = 0x7FFFFFFF;

int32_t Saturate(int64_t value) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

}  // namespace

KeyRange KeyRange::Of(int32_t colour, int blueTolerance, int greenTolerance,
                      int redTolerance) {
  auto high = [](int low, int tolerance) {
    return static_cast<int>(std::min<int64_t>(255, static_cast<int64_t>(low) + tolerance));
  };
  KeyRange range;
  range.redLo = RedOf(colour);
  range.greenLo = GreenOf(colour);
  range.blueLo = BlueOf(colour);
  range.redHi = high(range.redLo, redTolerance);
  range.greenHi = high(range.greenLo, greenTolerance);
  range.blueHi = high(range.blueLo, blueTolerance);
  return range;
}

RegionData::RegionData() {
  words_.reserve(kHeaderWords + 4 * kGrowth);
  words_.assign(kHeaderWords, 0);
  words_[0] = kHeaderBytes;
  words_[1] = kRdhRectangles;
  Restart();
}

void RegionData::Restart() {
  count_ = 0;
  words_.resize(kHeaderWords);
  words_[2] = 0;
  words_[3] = 0;
  words_[4] = kBoundsStart;
  words_[5] = kBoundsStart;
  words_[6] = 0;
  words_[7] = 0;
}

void RegionData::Add(const RegionRect& rect) {
  if (words_.size() == words_.capacity()) words_.reserve(words_.capacity() + 4 * kGrowth);
  words_.insert(words_.end(), {rect.left, rect.top, rect.right, rect.bottom});
  ++count_;
  words_[2] = count_;
  words_[4] = std::min(words_[4], rect.left);
  words_[5] = std::min(words_[5], rect.top);
  words_[6] = std::max(words_[6], rect.right);
  words_[7] = std::max(words_[7], rect.bottom);
}

RegionRect RegionData::Bounds() const { return {words_[4], words_[5], words_[6], words_[7]}; }

RegionRect RegionData::Rect(int index) const {
  const size_t at = kHeaderWords + 4 * static_cast<size_t>(index);
  return {words_[at], words_[at + 1], words_[at + 2], words_[at + 3]};
}

void ScanRegionRects(const ConstBgra32View& image, int xOffset, int yOffset,
                     const KeyRange& key, int batch,
                     const std::function<void(const RegionData&)>& flush) {
  RegionData data;
  const int limit = std::max(batch, 1);
  if (!image.Empty()) {
    for (int y = 0; y < image.height; ++y) {
      const uint8_t* row = image.Row(y);
      auto isKey = [&key, row](int x) {
        const uint8_t* p = row + 4 * static_cast<ptrdiff_t>(x);
        return key.Contains(p[0], p[1], p[2]);
      };
      const int32_t top = Saturate(static_cast<int64_t>(y) + yOffset);
      const int32_t bottom = Saturate(static_cast<int64_t>(y) + yOffset + 1);
      int x = 0;
      while (x < image.width) {
        while (x < image.width && isKey(x)) ++x;
        if (x == image.width) break;
        const int start = x;
        while (x < image.width && !isKey(x)) ++x;
        data.Add({Saturate(static_cast<int64_t>(start) + xOffset), top,
                  Saturate(static_cast<int64_t>(x) + xOffset), bottom});
        if (data.Count() == limit) {
          flush(data);
          data.Restart();
        }
      }
    }
  }
  flush(data);
}
