// The window frame: four border pictures cut from one painted window, so the pieces
// meet without seams. Each holds two state frames (active, inactive): side by side for
// the left and right borders, stacked for the top and bottom ones.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "tools/skinpaint/PaintKit.h"

namespace {

// Rows of the stretched middle of the sample window; any number works because they are
// all alike.
constexpr int kMiddle = 8;

Canvas PaintWindow(const SkinStyle& s, const FramePalette& p, int w, int h) {
  Canvas c(w, h);
  const double r = s.cornerRadius;
  const Shape outer = shapes::RoundRect(0, 0, w, h, r, r, 0, 0);
  const Shape inner = Inset(outer, 1);
  c.Fill(outer, p.outline);
  c.Fill(inner, [&s, &p](double x, double y) {
    (void)x;
    return CaptionColourAt(s, p, y);
  });
  // A soft light line along the top edge, following the curve and fading into the sides.
  const Shape highlight = shapes::Intersect(shapes::Subtract(inner, shapes::Translate(inner, 0, 1)),
                                            shapes::Rect(0, 0, w, s.captionHeight / 2.0));
  c.Fill(highlight, p.highlight, p.highlightOpacity);
  return c;
}

}  // namespace

Rgb CaptionColourAt(const SkinStyle& s, const FramePalette& p, double y) {
  if (y >= s.captionHeight) return p.side;
  return Mix(p.captionTop, p.captionBottom, std::clamp((y - 1) / (s.captionHeight - 2), 0.0, 1.0));
}

void PaintWindowFrame(const SkinStyle& s, std::vector<SkinImage>& out) {
  const int b = s.border;
  const int w = 2 * b + 2 * s.captionEndFixed + kMiddle;
  const int h = s.captionHeight + kMiddle + b;
  const Bitmap24 active = PaintWindow(s, s.active, w, h).ToBitmap(Flatten::HardEdge());
  const Bitmap24 inactive = PaintWindow(s, s.inactive, w, h).ToBitmap(Flatten::HardEdge());

  const int inner = w - 2 * b;
  const Bitmap24 left[] = {active.Crop(0, 0, b, h), inactive.Crop(0, 0, b, h)};
  const Bitmap24 right[] = {active.Crop(w - b, 0, b, h), inactive.Crop(w - b, 0, b, h)};
  const Bitmap24 top[] = {active.Crop(b, 0, inner, s.captionHeight),
                          inactive.Crop(b, 0, inner, s.captionHeight)};
  const Bitmap24 bottom[] = {active.Crop(b, h - b, inner, b), inactive.Crop(b, h - b, inner, b)};
  out.push_back({"frame_left.bmp", JoinHorizontally(left)});
  out.push_back({"frame_right.bmp", JoinHorizontally(right)});
  out.push_back({"frame_top.bmp", JoinVertically(top)});
  out.push_back({"frame_bottom.bmp", JoinVertically(bottom)});
}
