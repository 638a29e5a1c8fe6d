// Scroll bars: the 23-cell strip of arrows and thumb grips, the two tracks and the two
// thumbs. Arrow cells are opaque (the track colour with its edge line), so an arrow
// repainted in another state leaves nothing behind; grips are magenta around the marks
// because they are drawn over the thumb.
#include "tools/skinpaint/PaintKit.h"

namespace {

// Sub-state of a strip cell: 0 normal, 1 pressed, 2 disabled, 3 hot (cells n, n+1, n+2,
// n+3 of each arrow).
void ArrowCell(const SkinStyle& s, Canvas& c, Direction dir, int sub) {
  const double n = s.scrollSize;
  const bool vertical = dir == Direction::Up || dir == Direction::Down;
  c.Fill(shapes::Rect(0, 0, n, n), s.track);
  // The edge line separating the bar from the content: left for vertical bars, top for
  // horizontal ones, as on the tracks.
  c.Fill(vertical ? shapes::Rect(0, 0, 1, n) : shapes::Rect(0, 0, n, 1), s.trackLine);
  const Shape pad = vertical ? shapes::RoundRect(2, 1, n - 1, n - 1, 2.5)
                             : shapes::RoundRect(1, 2, n - 1, n - 1, 2.5);
  if (sub == 3) c.Fill(pad, s.trackHot);
  if (sub == 1) c.Fill(pad, s.accentTintStrong);
  const Rgb inks[] = {s.glyph, s.accentPressed, s.glyphDisabled, s.glyphHot};
  const double cx = vertical ? n / 2 + 0.5 : n / 2, cy = vertical ? n / 2 : n / 2 + 0.5;
  c.Fill(Chevron(cx, cy, dir, 7, 3.5, 1.4), inks[sub]);
}

// Three short lines across the thumb's middle; vertical thumbs get horizontal lines.
Shape GripLines(bool verticalThumb) {
  Shape lines = shapes::Rect(0, 0, 0, 0);
  for (int i = 0; i < 3; ++i) {
    const double p = 6 + 2 * i;
    lines = shapes::Union(lines, verticalThumb ? shapes::Rect(6, p, 11, p + 1)
                                               : shapes::Rect(p, 6, p + 1, 11));
  }
  return lines;
}

Bitmap24 Strip(const SkinStyle& s) {
  const int n = s.scrollSize;
  const Direction arrows[] = {Direction::Left, Direction::Right, Direction::Up, Direction::Down};
  // Thumb colours for the grip cells: normal, pressed, hot.
  const Rgb thumbs[] = {s.thumb, s.thumbPressed, s.thumbHot};
  const Rgb grips[] = {s.grip, s.gripPressed, s.gripHot};
  std::vector<Bitmap24> cells;
  for (int cell = 1; cell <= 23; ++cell) {
    Canvas c(n, n);
    Flatten how = Flatten::Opaque(s.track);
    if (cell <= 16) {
      ArrowCell(s, c, arrows[(cell - 1) / 4], (cell - 1) % 4);
    } else if (cell <= 22) {
      const int sub = (cell - 17) % 3;
      c.Fill(GripLines(cell >= 20), grips[sub]);
      how = Flatten::Keyed(thumbs[sub]);
    } else {
      c.Fill(shapes::Rect(0, 0, n, n), s.track);  // the corner between two bars
    }
    cells.push_back(c.ToBitmap(how));
  }
  return JoinHorizontally(cells);
}

Bitmap24 Track(const SkinStyle& s, bool vertical) {
  const int n = s.scrollSize, len = 16;
  const int w = vertical ? n : len, h = vertical ? len : n;
  return PaintFrames(4, w, h, [&](Canvas& c, int) {
    c.Fill(shapes::Rect(0, 0, w, h), s.track);
    c.Fill(vertical ? shapes::Rect(0, 0, 1, h) : shapes::Rect(0, 0, w, 1), s.trackLine);
  }, Flatten::Opaque(s.track));
}

// Frames 1 normal, 2 pressed, 3 hot: a slim pill, magenta around it so the track shows.
Bitmap24 Thumb(const SkinStyle& s, bool vertical) {
  const int n = s.scrollSize, len = 24;
  const int w = vertical ? n : len, h = vertical ? len : n;
  const Shape pill = vertical ? shapes::RoundRect(4, 1, n - 4, len - 1, 4.5)
                              : shapes::RoundRect(1, 4, len - 1, n - 4, 4.5);
  const Rgb fills[] = {s.thumb, s.thumbPressed, s.thumbHot};
  return PaintFrames(3, w, h, [&](Canvas& c, int frame) { c.Fill(pill, fills[frame - 1]); },
                     Flatten::Keyed(s.track));
}

}  // namespace

void PaintScrollParts(const SkinStyle& s, std::vector<SkinImage>& out) {
  out.push_back({"scrollbar.bmp", Strip(s)});
  out.push_back({"scroll_track_h.bmp", Track(s, false)});
  out.push_back({"scroll_track_v.bmp", Track(s, true)});
  out.push_back({"scroll_thumb_h.bmp", Thumb(s, false)});
  out.push_back({"scroll_thumb_v.bmp", Thumb(s, true)});
}
