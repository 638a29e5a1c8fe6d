// Colour gradients of the skinning engine (unit ImgUtil): the colour table of a gradient
// and the process-wide cache of the 16 tables computed last, so that repeated paints of
// the same gradient (same length, same end colours) do not recompute it. Painting them
// on a device context is ImgUtil's FillGradient.
// Portable: no Windows header.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

// Entry `index` (0 .. count - 1) of the gradient of `count` colours from `start` to `end`
// (plain colours; bytes 0, 1, 2 are red, green, blue). One colour: start + (end - start)/2
// per channel; otherwise start + ((end - start) * index + half) / steps, steps = count - 1,
// half = steps div 2, divisions truncating toward zero. A falling channel therefore ends
// one above its end value when count is 3 or more. `count` must be positive.
int32_t GradientColour(int32_t count, int32_t start, int32_t end, int32_t index);

// Up to 16 gradient tables, replaced strictly in cyclic order.
class GradientCache {
 public:
  static constexpr int kSlots = 16;

  // The highest slot holding exactly `count` entries whose first entry is `start` and whose
  // last is `end`, or -1. A count below 1 throws EAssertionFailed.
  int Find(int32_t count, int32_t start, int32_t end) const;
  // Computes the gradient into the next slot in turn and returns that slot. A count below
  // 1 throws EAssertionFailed (the slot counter then stays where it was).
  int Build(int32_t count, int32_t start, int32_t end);
  // Find, or Build when nothing is found.
  int Get(int32_t count, int32_t start, int32_t end);

  // The table of a slot (empty before the slot is first built). It stays valid until the
  // slot is built again, 16 builds later; use it at once.
  const std::vector<int32_t>& Entries(int slot) const;
  int NextSlot() const { return next_; }

 private:
  std::array<std::vector<int32_t>, kSlots> slots_;
  int next_ = 0;
};

// The process-wide cache (main thread only; no lock).
GradientCache& TheGradientCache();
int FindGradient(int32_t count, int32_t start, int32_t end);
int BuildGradient(int32_t count, int32_t start, int32_t end);
int GetGradient(int32_t count, int32_t start, int32_t end);

// The part of a gradient a clipped fill paints, along one axis: the gradient spans
// rectLo .. rectHi (`count` bands of one pixel), the visible part clipLo .. clipHi; bands
// `first` .. `last` (inclusive, relative to rectLo) are painted. count <= 0 or
// first > last: nothing to paint.
struct GradientBands {
  int32_t count = 0;
  int32_t first = 0;
  int32_t last = -1;
  bool Any() const { return count > 0 && first <= last; }
};
GradientBands GradientBandRange(int32_t rectLo, int32_t rectHi, int32_t clipLo, int32_t clipHi);

// Gradients longer than this are painted without a table (colour by colour through
// GradientColour), so an absurdly long rectangle never asks for a huge allocation.
inline constexpr int32_t kLongestCachedGradient = 1 << 16;
