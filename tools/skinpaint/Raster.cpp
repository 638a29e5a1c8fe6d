#include "tools/skinpaint/Raster.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr int kGrid = 8;  // samples per pixel side near edges
// Farther than this from an edge (half the pixel diagonal) a pixel is wholly in or out.
constexpr double kHalfDiagonal = 0.7072;

double Coverage(const Shape& shape, int x, int y) {
  const double centre = shape(x + 0.5, y + 0.5);
  if (centre > kHalfDiagonal) return 0;
  if (centre < -kHalfDiagonal) return 1;
  int inside = 0;
  for (int sy = 0; sy < kGrid; ++sy)
    for (int sx = 0; sx < kGrid; ++sx)
      if (shape(x + (sx + 0.5) / kGrid, y + (sy + 0.5) / kGrid) <= 0) ++inside;
  return static_cast<double>(inside) / (kGrid * kGrid);
}

Rgba Over(Rgba dst, Rgb src, double a) {
  const double outA = a + dst.a * (1 - a);
  if (outA <= 0) return {};
  const double keep = dst.a * (1 - a);
  return {{(src.r * a + dst.c.r * keep) / outA, (src.g * a + dst.c.g * keep) / outA,
           (src.b * a + dst.c.b * keep) / outA},
          outA};
}

uint8_t Channel(double v) {
  return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255));
}

}  // namespace

Rgb Mix(Rgb a, Rgb b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

uint32_t ToRgb24(Rgb c) {
  return static_cast<uint32_t>(Channel(c.r)) << 16 | static_cast<uint32_t>(Channel(c.g)) << 8 |
         Channel(c.b);
}

namespace shapes {

Shape RoundRect(double x0, double y0, double x1, double y1, double tl, double tr, double br,
                double bl) {
  return [=](double x, double y) {
    const double cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
    const double hx = (x1 - x0) / 2, hy = (y1 - y0) / 2;
    const double px = x - cx, py = y - cy;
    const double r = px < 0 ? (py < 0 ? tl : bl) : (py < 0 ? tr : br);
    const double qx = std::abs(px) - hx + r, qy = std::abs(py) - hy + r;
    const double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
    return outside + std::min(std::max(qx, qy), 0.0) - r;
  };
}

Shape RoundRect(double x0, double y0, double x1, double y1, double r) {
  return RoundRect(x0, y0, x1, y1, r, r, r, r);
}

Shape Rect(double x0, double y0, double x1, double y1) {
  return RoundRect(x0, y0, x1, y1, 0);
}

Shape Circle(double cx, double cy, double r) {
  return [=](double x, double y) { return std::hypot(x - cx, y - cy) - r; };
}

Shape Segment(double ax, double ay, double bx, double by, double width) {
  return [=](double x, double y) {
    const double dx = bx - ax, dy = by - ay;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((x - ax) * dx + (y - ay) * dy) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(x - (ax + t * dx), y - (ay + t * dy)) - width / 2;
  };
}

Shape Polyline(std::vector<std::pair<double, double>> points, double width) {
  std::vector<Shape> parts;
  for (size_t i = 1; i < points.size(); ++i)
    parts.push_back(Segment(points[i - 1].first, points[i - 1].second, points[i].first,
                            points[i].second, width));
  return [parts](double x, double y) {
    double d = 1e9;
    for (const Shape& s : parts) d = std::min(d, s(x, y));
    return d;
  };
}

Shape Arc(double cx, double cy, double r, double a0, double a1, double width) {
  return [=](double x, double y) {
    double a = std::atan2(y - cy, x - cx);
    // Bring the angle into [a0, a0 + 2 pi).
    while (a < a0) a += 2 * std::numbers::pi;
    while (a >= a0 + 2 * std::numbers::pi) a -= 2 * std::numbers::pi;
    double d;
    if (a <= a1) {
      d = std::abs(std::hypot(x - cx, y - cy) - r);
    } else {
      d = std::min(std::hypot(x - (cx + r * std::cos(a0)), y - (cy + r * std::sin(a0))),
                   std::hypot(x - (cx + r * std::cos(a1)), y - (cy + r * std::sin(a1))));
    }
    return d - width / 2;
  };
}

Shape ConvexPolygon(std::vector<std::pair<double, double>> corners) {
  double area = 0;
  for (size_t i = 0; i < corners.size(); ++i) {
    const auto& p = corners[i];
    const auto& q = corners[(i + 1) % corners.size()];
    area += p.first * q.second - q.first * p.second;
  }
  const double sign = area > 0 ? 1 : -1;
  return [corners, sign](double x, double y) {
    double d = -1e9;
    for (size_t i = 0; i < corners.size(); ++i) {
      const auto& p = corners[i];
      const auto& q = corners[(i + 1) % corners.size()];
      const double ex = q.first - p.first, ey = q.second - p.second;
      const double len = std::hypot(ex, ey);
      if (len <= 0) continue;
      // Outward normal for the winding; positive distance outside the edge.
      d = std::max(d, sign * ((x - p.first) * ey - (y - p.second) * ex) / len);
    }
    return d;
  };
}

Shape Union(Shape a, Shape b) {
  return [a, b](double x, double y) { return std::min(a(x, y), b(x, y)); };
}

Shape Intersect(Shape a, Shape b) {
  return [a, b](double x, double y) { return std::max(a(x, y), b(x, y)); };
}

Shape Subtract(Shape a, Shape b) {
  return [a, b](double x, double y) { return std::max(a(x, y), -b(x, y)); };
}

Shape Translate(Shape s, double dx, double dy) {
  return [s, dx, dy](double x, double y) { return s(x - dx, y - dy); };
}

}  // namespace shapes

namespace shaders {

Shader Solid(Rgb c) {
  return [c](double, double) { return c; };
}

Shader Vertical(double y0, Rgb c0, double y1, Rgb c1) {
  return [=](double, double y) {
    return Mix(c0, c1, y1 > y0 ? std::clamp((y - y0) / (y1 - y0), 0.0, 1.0) : 0.0);
  };
}

Shader Horizontal(double x0, Rgb c0, double x1, Rgb c1) {
  return [=](double x, double) {
    return Mix(c0, c1, x1 > x0 ? std::clamp((x - x0) / (x1 - x0), 0.0, 1.0) : 0.0);
  };
}

}  // namespace shaders

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), px_(static_cast<size_t>(width) * height) {}

void Canvas::Fill(const Shape& shape, const Shader& shader, double opacity) {
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      const double a = Coverage(shape, x, y) * opacity;
      if (a <= 0) continue;
      Pixel(x, y) = Over(Pixel(x, y), shader(x + 0.5, y + 0.5), a);
    }
  }
}

void Canvas::Fill(const Shape& shape, Rgb colour, double opacity) {
  Fill(shape, shaders::Solid(colour), opacity);
}

void Canvas::Draw(const Canvas& src, int x, int y) {
  for (int row = 0; row < src.height_; ++row) {
    for (int col = 0; col < src.width_; ++col) {
      const int tx = x + col, ty = y + row;
      if (tx < 0 || ty < 0 || tx >= width_ || ty >= height_) continue;
      const Rgba& s = src.At(col, row);
      if (s.a > 0) Pixel(tx, ty) = Over(Pixel(tx, ty), s.c, s.a);
    }
  }
}

Bitmap24 Canvas::ToBitmap(const Flatten& how) const {
  Bitmap24 out(width_, height_);
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      const Rgba& p = At(x, y);
      if (how.keyBelow > 0 && p.a < how.keyBelow) continue;  // stays magenta
      Rgb c = p.c;
      if (how.matte) c = Mix(*how.matte, p.c, std::clamp(p.a, 0.0, 1.0));
      uint32_t rgb = ToRgb24(c);
      // A painted colour must never read as the key.
      if (IsKeyColour(rgb)) rgb = 0xF804F8;
      out.At(x, y) = rgb;
    }
  }
  return out;
}
