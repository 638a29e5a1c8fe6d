// Anti-aliased drawing for skin pictures: shapes are signed distance functions
// (negative inside) in continuous pixel coordinates, where pixel (i, j) covers the square
// [i, i+1) x [j, j+1); a fill samples each pixel near an edge on an 8 x 8 grid and blends
// the colour by the covered fraction. Pictures are painted with straight alpha and
// flattened to 24 bits at the end: uncovered pixels become the magenta key, partly
// covered ones are blended onto the colour the element will be shown on.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "tools/skinpaint/Bitmap24.h"

struct Rgb {
  double r = 0, g = 0, b = 0;  // 0 .. 1
};

constexpr Rgb Hex(uint32_t rgb) {
  return {(rgb >> 16 & 0xFF) / 255.0, (rgb >> 8 & 0xFF) / 255.0, (rgb & 0xFF) / 255.0};
}

// a * (1 - t) + b * t
Rgb Mix(Rgb a, Rgb b, double t);
// 0xRRGGBB, rounded.
uint32_t ToRgb24(Rgb c);

// Signed distance: negative inside the shape.
using Shape = std::function<double(double x, double y)>;
using Shader = std::function<Rgb(double x, double y)>;

namespace shapes {
// Rectangle (x0, y0)-(x1, y1) with corner radii top-left, top-right, bottom-right,
// bottom-left.
Shape RoundRect(double x0, double y0, double x1, double y1, double tl, double tr, double br,
                double bl);
Shape RoundRect(double x0, double y0, double x1, double y1, double r);
Shape Rect(double x0, double y0, double x1, double y1);
Shape Circle(double cx, double cy, double r);
// A stroke of the given width along a segment, with round ends.
Shape Segment(double ax, double ay, double bx, double by, double width);
// Strokes along consecutive points, with round joins.
Shape Polyline(std::vector<std::pair<double, double>> points, double width);
// A stroke along the circle arc from angle a0 to a1 (radians, a0 < a1; y grows downward,
// so angles run clockwise on screen), with round ends.
Shape Arc(double cx, double cy, double r, double a0, double a1, double width);
// A convex polygon, corners in either winding order.
Shape ConvexPolygon(std::vector<std::pair<double, double>> corners);
Shape Union(Shape a, Shape b);
Shape Intersect(Shape a, Shape b);
Shape Subtract(Shape a, Shape b);
Shape Translate(Shape s, double dx, double dy);
}  // namespace shapes

namespace shaders {
Shader Solid(Rgb c);
// Colour c0 at y0 running to c1 at y1, constant beyond.
Shader Vertical(double y0, Rgb c0, double y1, Rgb c1);
Shader Horizontal(double x0, Rgb c0, double x1, Rgb c1);
}  // namespace shaders

struct Rgba {
  Rgb c;
  double a = 0;
};

// How a painted picture becomes 24 bits.
struct Flatten {
  // Pixels covered less than this become magenta (0: no pixel does).
  double keyBelow = 1.0 / 512;
  // Partly covered pixels are blended onto this colour; without it they keep their own
  // colour (a hard edge, as a window region needs).
  std::optional<Rgb> matte;

  static Flatten Keyed(Rgb matte) { return {1.0 / 512, matte}; }
  static Flatten Opaque(Rgb matte) { return {0, matte}; }
  static Flatten HardEdge() { return {0.5, std::nullopt}; }
};

class Canvas {
 public:
  Canvas(int width, int height);

  int Width() const { return width_; }
  int Height() const { return height_; }
  const Rgba& At(int x, int y) const { return px_[static_cast<size_t>(y) * width_ + x]; }

  void Fill(const Shape& shape, const Shader& shader, double opacity = 1.0);
  void Fill(const Shape& shape, Rgb colour, double opacity = 1.0);
  // Paints `src` over this canvas with its top-left corner at (x, y).
  void Draw(const Canvas& src, int x, int y);

  Bitmap24 ToBitmap(const Flatten& how) const;

 private:
  Rgba& Pixel(int x, int y) { return px_[static_cast<size_t>(y) * width_ + x]; }

  int width_;
  int height_;
  std::vector<Rgba> px_;
};
