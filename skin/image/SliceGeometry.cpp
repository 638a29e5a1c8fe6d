#include "skin/image/SliceGeometry.h"

#include <algorithm>

namespace {

using Piece = SliceCopy::Piece;

int NonNegative(int value) { return value < 0 ? 0 : value; }

// Appends a copy when both rectangles have area; a piece without area has nothing to
// copy (GDI would mirror a negative extent, or fail on an empty one).
template <class Sink>
void AddCopy(Sink& sink, Piece piece, const SliceRect& source, const SliceRect& dest) {
  if (source.HasArea() && dest.HasArea()) sink(SliceCopy{piece, source, dest});
}

}  // namespace

FrameCell SelectFrame(int imageWidth, int imageHeight, int frameCount, int frameIndex,
                      bool stacked) {
  const int count = std::max(frameCount, 1);
  const int index = std::clamp(frameIndex, 1, count);
  const int width = NonNegative(imageWidth);
  const int height = NonNegative(imageHeight);
  FrameCell cell;
  if (stacked) {
    cell.width = width;
    cell.height = height / count;
    cell.y = cell.height * (index - 1);
  } else {
    cell.width = width / count;
    cell.height = height;
    cell.x = cell.width * (index - 1);
  }
  return cell;
}

const SliceCopy* NineSlicePlan::Centre() const {
  for (int i = 0; i < count; ++i)
    if (copies[i].piece == Piece::Centre) return &copies[i];
  return nullptr;
}

NineSlicePlan PlanNineSlice(int targetWidth, int targetHeight, int imageWidth, int imageHeight,
                            SliceMargins margins, bool stacked, int frameCount, int frameIndex) {
  NineSlicePlan plan;
  const FrameCell f = SelectFrame(imageWidth, imageHeight, frameCount, frameIndex, stacked);
  plan.frame = f;
  const int w = NonNegative(targetWidth);
  const int h = NonNegative(targetHeight);

  int l = NonNegative(margins.left);
  int t = NonNegative(margins.top);
  int r = NonNegative(margins.right);
  int b = NonNegative(margins.bottom);
  if (static_cast<int64_t>(w) < static_cast<int64_t>(l) + r) l = r = 0;
  if (static_cast<int64_t>(h) < static_cast<int64_t>(t) + b) t = b = 0;
  l = std::min(l, f.width);
  r = std::min(r, f.width);
  t = std::min(t, f.height);
  b = std::min(b, f.height);
  plan.margins = {l, t, r, b};

  const int sx = f.x;
  const int sy = f.y;
  const int sr = f.x + f.width;
  const int sb = f.y + f.height;
  auto add = [&plan](const SliceCopy& copy) { plan.copies[plan.count++] = copy; };
  if (l > 0 && t > 0) AddCopy(add, Piece::TopLeft, {sx, sy, sx + l, sy + t}, {0, 0, l, t});
  if (l > 0 && b > 0)
    AddCopy(add, Piece::BottomLeft, {sx, sb - b, sx + l, sb}, {0, h - b, l, h});
  if (r > 0 && t > 0) AddCopy(add, Piece::TopRight, {sr - r, sy, sr, sy + t}, {w - r, 0, w, t});
  if (l > 0) AddCopy(add, Piece::LeftEdge, {sx, sy + t, sx + l, sb - b}, {0, t, l, h - b});
  if (t > 0) AddCopy(add, Piece::TopEdge, {sx + l, sy, sr - r, sy + t}, {l, 0, w - r, t});
  AddCopy(add, Piece::Centre, {sx + l, sy + t, sr - r, sb - b}, {l, t, w - r, h - b});
  if (r > 0 && b > 0)
    AddCopy(add, Piece::BottomRight, {sr - r, sb - b, sr, sb}, {w - r, h - b, w, h});
  if (r > 0) AddCopy(add, Piece::RightEdge, {sr - r, sy + t, sr, sb - b}, {w - r, t, w, h - b});
  if (b > 0) AddCopy(add, Piece::BottomEdge, {sx + l, sb - b, sr - r, sb}, {l, h - b, w - r, h});
  return plan;
}

std::vector<TileOrigin> TileOrigins(const SliceRect& area, int tileWidth, int tileHeight) {
  std::vector<TileOrigin> origins;
  if (!area.HasArea() || tileWidth <= 0 || tileHeight <= 0) return origins;
  for (int64_t y = area.top; y < area.bottom; y += tileHeight)
    for (int64_t x = area.left; x < area.right; x += tileWidth)
      origins.push_back({static_cast<int>(x), static_cast<int>(y)});
  return origins;
}

std::vector<SliceCopy> PlanThreeSlice(int targetWidth, int targetHeight, int imageWidth,
                                      int imageHeight, SliceMargins margins, bool stacked,
                                      int frameCount, int frameIndex) {
  std::vector<SliceCopy> copies;
  auto add = [&copies](const SliceCopy& copy) { copies.push_back(copy); };
  const FrameCell f = SelectFrame(imageWidth, imageHeight, frameCount, frameIndex, stacked);
  const int w = NonNegative(targetWidth);
  const int h = NonNegative(targetHeight);
  const int l = std::min(NonNegative(margins.left), f.width);
  const int r = std::min(NonNegative(margins.right), f.width);
  const int sx = f.x;
  const int sy = f.y;
  const int sr = f.x + f.width;
  const int sb = f.y + f.height;

  AddCopy(add, Piece::Left, {sx, sy, sx + l, sb}, {0, 0, l, h});
  const int middle = f.width - l - r;
  if (middle > 0) {
    for (int64_t x = l; x < w - r; x += middle) {
      const int left = static_cast<int>(x);
      AddCopy(add, Piece::Middle, {sx + l, sy, sx + l + middle, sb}, {left, 0, left + middle, h});
    }
  }
  AddCopy(add, Piece::Right, {sr - r, sy, sr, sb}, {w - r, 0, w, h});
  return copies;
}

std::vector<SliceCopy> PlanStretchStrip(const SliceRect& target, int imageWidth,
                                        int imageHeight, SliceMargins margins, bool stacked,
                                        int frameCount, int frameIndex) {
  std::vector<SliceCopy> copies;
  if (target.Inverted()) return copies;
  auto add = [&copies](const SliceCopy& copy) { copies.push_back(copy); };
  const FrameCell f = SelectFrame(imageWidth, imageHeight, frameCount, frameIndex, stacked);
  const int64_t span = static_cast<int64_t>(target.right) - target.left;
  if (f.width > span) {
    AddCopy(add, Piece::Whole, f.Rect(), target);
    return copies;
  }
  const int l = std::min(NonNegative(margins.left), f.width);
  const int r = std::min(NonNegative(margins.right), f.width);
  const int sx = f.x;
  const int sy = f.y;
  const int sr = f.x + f.width;
  const int sb = f.y + f.height;
  AddCopy(add, Piece::Left, {sx, sy, sx + l, sb},
          {target.left, target.top, target.left + l, target.bottom});
  AddCopy(add, Piece::Middle, {sx + l, sy, sr - r, sb},
          {target.left + l, target.top, target.right - r, target.bottom});
  AddCopy(add, Piece::Right, {sr - r, sy, sr, sb},
          {target.right - r, target.top, target.right, target.bottom});
  return copies;
}

SliceCopy PlanCentredFrame(const SliceRect& target, int imageWidth, int imageHeight,
                           int frameCount, int frameIndex) {
  const FrameCell f = SelectFrame(imageWidth, imageHeight, frameCount, frameIndex, false);
  const int64_t spanX = static_cast<int64_t>(target.right) - target.left;
  const int64_t spanY = static_cast<int64_t>(target.bottom) - target.top;
  const int x = static_cast<int>(target.left + (spanX - f.width) / 2);
  const int y = static_cast<int>(target.top + (spanY - f.height) / 2);
  return SliceCopy{Piece::Whole, f.Rect(), {x, y, x + f.width, y + f.height}};
}
