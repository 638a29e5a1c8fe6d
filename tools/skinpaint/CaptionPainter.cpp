// Caption buttons: four frames each, in the order the frame code picks them: 1 normal,
// 2 pressed, 3 hot, 4 disabled (also used for every button of an inactive window).
//
// Frames 1 to 3 carry the active caption behind them, so a button repainted on its own
// (hot to normal) restores the caption exactly; frame 4 is glyph-only on magenta, since
// it shows on both the active and the inactive caption.
#include <cmath>
#include <numbers>

#include "tools/skinpaint/PaintKit.h"

namespace {

enum class Glyph { Close, Maximise, Restore, Minimise, Help };

constexpr double kGlyphBox = 10;

Shape GlyphShape(Glyph g, double w, double h) {
  using namespace shapes;
  const double x0 = std::floor((w - kGlyphBox) / 2), y0 = std::floor((h - kGlyphBox) / 2);
  const double x1 = x0 + kGlyphBox, y1 = y0 + kGlyphBox;
  switch (g) {
    case Glyph::Close:
      return Union(Segment(x0 + 0.8, y0 + 0.8, x1 - 0.8, y1 - 0.8, 1.3),
                   Segment(x1 - 0.8, y0 + 0.8, x0 + 0.8, y1 - 0.8, 1.3));
    case Glyph::Maximise:
      return Subtract(Rect(x0, y0, x1, y1), Rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1));
    case Glyph::Restore: {
      const Shape front = Subtract(Rect(x0, y0 + 2, x1 - 2, y1), Rect(x0 + 1, y0 + 3, x1 - 3, y1 - 1));
      const Shape back = Subtract(Rect(x0 + 2, y0, x1, y1 - 2), Rect(x0 + 3, y0 + 1, x1 - 1, y1 - 3));
      return Union(front, Subtract(back, Rect(x0, y0 + 2, x1 - 2, y1)));
    }
    case Glyph::Minimise:
      return Rect(x0, y0 + 5, x1, y0 + 6);
    case Glyph::Help: {
      // A hook over a short stem, then a dot, with a clear gap between them.
      const double cx = x0 + 5.5;  // on a pixel's centre, so the stem is crisp
      const double cy = y0 + 2.6, r = 2.4, end = 2 * std::numbers::pi + 0.9;
      const double ex = cx + r * std::cos(end), ey = cy + r * std::sin(end);
      const Shape hook = Union(Arc(cx, cy, r, std::numbers::pi, end, 1.3),
                               Polyline({{ex, ey}, {cx, ey + 1.1}, {cx, ey + 2.2}}, 1.3));
      return Union(hook, Circle(cx, y0 + 9.3, 0.95));
    }
  }
  return Rect(0, 0, 0, 0);
}

Bitmap24 PaintButton(const SkinStyle& s, Glyph glyph) {
  const int w = s.captionButtonWidth, h = s.captionButtonHeight;
  const bool close = glyph == Glyph::Close;
  const Shape face = shapes::RoundRect(0, 0, w, h, 3);
  const Shape mark = GlyphShape(glyph, w, h);
  const double top = s.captionButtonTop;
  auto paint = [&](Canvas& c, int frame) {
    if (frame == 4) {
      c.Fill(mark, s.captionGlyphDisabled);
      return;
    }
    c.Fill(shapes::Rect(0, 0, w, h),
           [&s, top](double, double y) { return CaptionColourAt(s, s.active, y + top); });
    Rgb ink = s.active.glyph;
    if (frame == 2) {  // pressed
      c.Fill(face, close ? s.closePressed : s.captionPressed);
      ink = close ? s.closeGlyphHot : s.onAccent;
    } else if (frame == 3) {  // hot
      if (close) {
        c.Fill(face, s.closeHot);
        ink = s.closeGlyphHot;
      } else {
        c.Fill(face, s.captionHot, s.captionHotOpacity);
      }
    }
    c.Fill(mark, ink);
  };
  // Frame 4's soft edges are blended toward the inactive caption, where it is mostly seen.
  const Flatten disabled = Flatten::Keyed(CaptionColourAt(s, s.inactive, top + h / 2.0));
  return PaintFrames(4, w, h, paint, [&](int frame) {
    return frame == 4 ? disabled : Flatten::Opaque(s.active.captionBottom);
  });
}

}  // namespace

void PaintCaptionButtons(const SkinStyle& s, std::vector<SkinImage>& out) {
  out.push_back({"caption_close.bmp", PaintButton(s, Glyph::Close)});
  out.push_back({"caption_max.bmp", PaintButton(s, Glyph::Maximise)});
  out.push_back({"caption_restore.bmp", PaintButton(s, Glyph::Restore)});
  out.push_back({"caption_min.bmp", PaintButton(s, Glyph::Minimise)});
  out.push_back({"caption_help.bmp", PaintButton(s, Glyph::Help)});
}
