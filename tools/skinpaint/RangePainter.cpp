// Progress bars and track bars.
#include "tools/skinpaint/PaintKit.h"

namespace {

// Frame 1 the trough, frame 2 the filled part (drawn over the trough's left part with
// the same nine-slice margins, so its rounded right end marks the position).
Bitmap24 Progress(const SkinStyle& s) {
  constexpr int kW = 24, kH = 14;
  const Shape body = shapes::RoundRect(0, 0, kW, kH, 3);
  return PaintFrames(2, kW, kH, [&](Canvas& c, int frame) {
    if (frame == 1) {
      OutlinedShape(c, body, s.troughLine, s.trough);
    } else {
      OutlinedShape(c, body, s.accentPressed, shaders::Vertical(1, s.accentHot, kH - 1, s.accent));
    }
  }, Flatten::Keyed(s.face));
}

// One chunk of a segmented bar: a filled block and a one-pixel gap in the trough colour.
Bitmap24 ProgressChunk(const SkinStyle& s) {
  constexpr int kW = 10, kH = 14;
  return PaintFrames(1, kW, kH, [&](Canvas& c, int) {
    c.Fill(shapes::Rect(0, 0, kW, kH), s.trough);
    c.Fill(shapes::Rect(0, 1, kW - 2, kH - 1), shaders::Vertical(1, s.accentHot, kH - 1, s.accent));
  }, Flatten::Opaque(s.trough));
}

Bitmap24 Groove(const SkinStyle& s, bool vertical) {
  const int w = vertical ? 4 : 12, h = vertical ? 12 : 4;
  return PaintFrames(1, w, h, [&](Canvas& c, int) {
    c.Fill(shapes::RoundRect(0, 0, w, h, 2), s.troughLine);
  }, Flatten::Opaque(s.face));
}

// A thumb pointing `dir` (or a plain pill when `pointed` is false), upright size 11 x 20.
Shape ThumbShape(Direction dir, bool pointed) {
  constexpr double kAcross = 11, kAlong = 20, kTip = 5;
  // Drawn pointing down in upright coordinates, then turned.
  const Shape upright =
      pointed ? shapes::Union(shapes::RoundRect(0, 0, kAcross, kAlong - kTip, 3, 3, 0, 0),
                              shapes::ConvexPolygon({{0, kAlong - kTip - 0.5},
                                                     {kAcross, kAlong - kTip - 0.5},
                                                     {kAcross / 2, kAlong}}))
              : shapes::RoundRect(0, 0, kAcross, kAlong, 4);
  switch (dir) {
    case Direction::Down:
      return upright;
    case Direction::Up:
      return [upright](double x, double y) { return upright(x, kAlong - y); };
    case Direction::Right:
      return [upright](double x, double y) { return upright(y, x); };
    case Direction::Left:
      break;
  }
  return [upright](double x, double y) { return upright(y, kAlong - x); };
}

// Frames 1 normal, 2 the engine's everyday look (it always draws frame 2): the accent
// knob, 3 disabled, 4 hot, 5 focused.
Bitmap24 TrackbarThumb(const SkinStyle& s, Direction dir, bool pointed) {
  const bool upright = dir == Direction::Up || dir == Direction::Down;
  const int w = upright ? 11 : 20, h = upright ? 20 : 11;
  const Shape body = ThumbShape(dir, pointed);
  return PaintFrames(5, w, h, [&](Canvas& c, int frame) {
    switch (frame) {
      case 1: OutlinedShape(c, body, s.outline, s.field); break;
      case 2: OutlinedShape(c, body, s.accentPressed, s.accent); break;
      case 3: OutlinedShape(c, body, s.outlineDisabled, s.fieldDisabled); break;
      case 4: OutlinedShape(c, body, s.outlineHot, s.accentTint); break;
      default: OutlinedShape(c, body, s.accentPressed, s.accentHot); break;
    }
  }, Flatten::Keyed(s.face));
}

}  // namespace

void PaintRangeParts(const SkinStyle& s, std::vector<SkinImage>& out) {
  out.push_back({"progress.bmp", Progress(s)});
  out.push_back({"progress_chunk.bmp", ProgressChunk(s)});
  out.push_back({"track_h.bmp", Groove(s, false)});
  out.push_back({"track_v.bmp", Groove(s, true)});
  out.push_back({"tb_thumb_h.bmp", TrackbarThumb(s, Direction::Down, false)});
  out.push_back({"tb_thumb_v.bmp", TrackbarThumb(s, Direction::Right, false)});
  out.push_back({"tb_thumb_left.bmp", TrackbarThumb(s, Direction::Left, true)});
  out.push_back({"tb_thumb_right.bmp", TrackbarThumb(s, Direction::Right, true)});
  out.push_back({"tb_thumb_up.bmp", TrackbarThumb(s, Direction::Up, true)});
  out.push_back({"tb_thumb_down.bmp", TrackbarThumb(s, Direction::Down, true)});
}
