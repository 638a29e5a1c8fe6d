#include "tools/skinpaint/PaintKit.h"

#include <utility>

Shape Inset(Shape s, double d) {
  return [s = std::move(s), d](double x, double y) { return s(x, y) + d; };
}

Shape Chevron(double cx, double cy, Direction dir, double across, double along, double stroke) {
  const double a = across / 2, h = along / 2;
  switch (dir) {
    case Direction::Up:
      return shapes::Polyline({{cx - a, cy + h}, {cx, cy - h}, {cx + a, cy + h}}, stroke);
    case Direction::Down:
      return shapes::Polyline({{cx - a, cy - h}, {cx, cy + h}, {cx + a, cy - h}}, stroke);
    case Direction::Left:
      return shapes::Polyline({{cx + h, cy - a}, {cx - h, cy}, {cx + h, cy + a}}, stroke);
    case Direction::Right:
      break;
  }
  return shapes::Polyline({{cx - h, cy - a}, {cx + h, cy}, {cx - h, cy + a}}, stroke);
}

void OutlinedShape(Canvas& c, const Shape& shape, Rgb outline, const Shader& fill) {
  c.Fill(shape, outline);
  c.Fill(Inset(shape, 1), fill);
}

void OutlinedShape(Canvas& c, const Shape& shape, Rgb outline, Rgb fill) {
  OutlinedShape(c, shape, outline, shaders::Solid(fill));
}

Bitmap24 PaintFrames(int count, int w, int h, const std::function<void(Canvas&, int)>& paint,
                     const std::function<Flatten(int)>& how) {
  std::vector<Bitmap24> frames;
  for (int frame = 1; frame <= count; ++frame) {
    Canvas c(w, h);
    paint(c, frame);
    frames.push_back(c.ToBitmap(how(frame)));
  }
  return JoinHorizontally(frames);
}

Bitmap24 PaintFrames(int count, int w, int h, const std::function<void(Canvas&, int)>& paint,
                     const Flatten& how) {
  return PaintFrames(count, w, h, paint, [&how](int) { return how; });
}
