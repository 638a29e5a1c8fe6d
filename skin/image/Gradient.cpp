#include "skin/image/Gradient.h"

#include <algorithm>
#include <limits>

#include "framework/SysUtils.h"
#include "skin/image/ColourMath.h"

namespace {

void RequirePositiveCount(int32_t count) {
  if (count < 1) throw EAssertionFailed("gradient colour count must be positive");
}

int GradientChannel(int start, int end, int64_t count, int64_t index) {
  const int64_t delta = end - start;
  if (count == 1) return static_cast<int>(start + delta / 2);
  const int64_t steps = count - 1;
  const int64_t half = steps / 2;
  return static_cast<int>(start + (delta * index + half) / steps);
}

}  // namespace

int32_t GradientColour(int32_t count, int32_t start, int32_t end, int32_t index) {
  RequirePositiveCount(count);
  return MakeColour(GradientChannel(RedOf(start), RedOf(end), count, index),
                    GradientChannel(GreenOf(start), GreenOf(end), count, index),
                    GradientChannel(BlueOf(start), BlueOf(end), count, index));
}

int GradientCache::Find(int32_t count, int32_t start, int32_t end) const {
  RequirePositiveCount(count);
  for (int slot = kSlots - 1; slot >= 0; --slot) {
    const std::vector<int32_t>& entries = slots_[slot];
    if (entries.size() == static_cast<size_t>(count) && entries.front() == start &&
        entries.back() == end)
      return slot;
  }
  return -1;
}

int GradientCache::Build(int32_t count, int32_t start, int32_t end) {
  RequirePositiveCount(count);
  const int slot = next_;
  std::vector<int32_t>& entries = slots_[slot];
  entries.resize(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) entries[i] = GradientColour(count, start, end, i);
  next_ = (next_ + 1) % kSlots;
  return slot;
}

int GradientCache::Get(int32_t count, int32_t start, int32_t end) {
  const int slot = Find(count, start, end);
  return slot >= 0 ? slot : Build(count, start, end);
}

const std::vector<int32_t>& GradientCache::Entries(int slot) const {
  static const std::vector<int32_t> kNone;
  return slot >= 0 && slot < kSlots ? slots_[slot] : kNone;
}

GradientCache& TheGradientCache() {
  static GradientCache cache;
  return cache;
}

int FindGradient(int32_t count, int32_t start, int32_t end) {
  return TheGradientCache().Find(count, start, end);
}

int BuildGradient(int32_t count, int32_t start, int32_t end) {
  return TheGradientCache().Build(count, start, end);
}

int GetGradient(int32_t count, int32_t start, int32_t end) {
  return TheGradientCache().Get(count, start, end);
}

GradientBands GradientBandRange(int32_t rectLo, int32_t rectHi, int32_t clipLo, int32_t clipHi) {
  GradientBands bands;
  const int64_t count = static_cast<int64_t>(rectHi) - rectLo;
  if (count <= 0 || count > std::numeric_limits<int32_t>::max()) return bands;
  int64_t first = 0;
  int64_t last = count - 1;
  if (rectLo < clipLo) first = static_cast<int64_t>(clipLo) - rectLo;
  if (rectHi > clipHi) last -= static_cast<int64_t>(rectHi) - clipHi;
  bands.count = static_cast<int32_t>(count);
  // Clip boxes wholly outside the rectangle leave first > last: nothing is painted.
  bands.first = static_cast<int32_t>(std::min<int64_t>(first, count));
  bands.last = static_cast<int32_t>(std::max<int64_t>(last, -1));
  return bands;
}
