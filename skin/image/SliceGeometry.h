// Where the pieces of an element image go (the drawing primitives of unit WinSkinData):
// which state frame of an image is used, how a frame is cut by its margins into nine (or
// three) pieces, and where each piece lands in the target. Pure geometry, so the rules
// are tested without Windows; SkinDraw carries the plans out with GDI.
//
// Safety rules kept by every plan, whatever a skin says: a frame count below 1 counts as
// 1 and a frame index is kept within 1 .. count, so no frame lies outside the image;
// negative margins count as 0 and margins larger than the frame are cut to it; a piece
// whose source or destination has no area is left out. So every source rectangle lies
// inside the image.
// Portable: no Windows header.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

// (Left, Top, Right, Bottom), Right and Bottom exclusive.
struct SliceRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool HasArea() const { return right > left && bottom > top; }
  // Right < Left or Bottom < Top: targets like this are not drawn at all.
  bool Inverted() const { return right < left || bottom < top; }
  friend bool operator==(const SliceRect&, const SliceRect&) = default;
};

// Nine-slice margins in pixels (keys LeftWidth, TopHeight, RightWidth, BottomHeight).
struct SliceMargins {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  friend bool operator==(const SliceMargins&, const SliceMargins&) = default;
};

// One state frame of an image: its rectangle in the image.
struct FrameCell {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  SliceRect Rect() const { return {x, y, x + width, y + height}; }
  friend bool operator==(const FrameCell&, const FrameCell&) = default;
};

// Frame `frameIndex` (1-based) of `frameCount` equal frames, side by side (width div
// count each) or stacked (height div count each).
FrameCell SelectFrame(int imageWidth, int imageHeight, int frameCount, int frameIndex,
                      bool stacked);

// One stretched copy: source rectangle in the image, destination rectangle in the target.
struct SliceCopy {
  enum class Piece : uint8_t {
    TopLeft,
    BottomLeft,
    TopRight,
    LeftEdge,
    TopEdge,
    Centre,
    BottomRight,
    RightEdge,
    BottomEdge,
    Left,
    Middle,
    Right,
    Whole,
  };
  Piece piece = Piece::Whole;
  SliceRect source;
  SliceRect dest;
  friend bool operator==(const SliceCopy&, const SliceCopy&) = default;
};

// The nine-slice of one frame onto a target of width x height (destination rectangles
// relative to the target's top-left corner). Copies are listed in drawing order: the
// three left/top corners, the left and top edges, the centre, then the bottom-right
// corner, right and bottom edges (which cover whatever a tiled centre painted beyond
// its area). Margins that do not fit the target (width < left + right) are dropped in
// that direction on both sides.
struct NineSlicePlan {
  FrameCell frame;
  SliceMargins margins;  // as used, after the rules above
  std::array<SliceCopy, 9> copies{};
  int count = 0;
  // The centre piece, or null when it has no area.
  const SliceCopy* Centre() const;
};
NineSlicePlan PlanNineSlice(int targetWidth, int targetHeight, int imageWidth, int imageHeight,
                            SliceMargins margins, bool stacked, int frameCount, int frameIndex);

// Top-left corners of the unscaled tiles that fill `area` with tiles of tileWidth x
// tileHeight, row by row, starting at the area's top-left corner; the last row and column
// may run past the area. Nothing when the tile or the area is empty.
struct TileOrigin {
  int x = 0;
  int y = 0;
  friend bool operator==(const TileOrigin&, const TileOrigin&) = default;
};
std::vector<TileOrigin> TileOrigins(const SliceRect& area, int tileWidth, int tileHeight);

// A horizontal band whose middle is repeated unscaled sideways (left and right margins
// only; every piece stretched vertically to the target height). Destination rectangles
// are relative to the target's top-left corner.
std::vector<SliceCopy> PlanThreeSlice(int targetWidth, int targetHeight, int imageWidth,
                                      int imageHeight, SliceMargins margins, bool stacked,
                                      int frameCount, int frameIndex);

// A band stretched in three pieces over `target` (absolute coordinates): one copy of the
// whole frame when the frame is wider than the target, else left part, stretched middle
// and right part, each over the target's full height.
std::vector<SliceCopy> PlanStretchStrip(const SliceRect& target, int imageWidth,
                                        int imageHeight, SliceMargins margins, bool stacked,
                                        int frameCount, int frameIndex);

// The unscaled frame centred in `target` (absolute coordinates): offsets (target size -
// frame size) div 2, truncating toward zero, so a larger frame overhangs equally.
SliceCopy PlanCentredFrame(const SliceRect& target, int imageWidth, int imageHeight,
                           int frameCount, int frameIndex);
