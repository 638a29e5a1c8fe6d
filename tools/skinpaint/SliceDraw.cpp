#include "tools/skinpaint/SliceDraw.h"

#include <algorithm>

void StretchCopy(const Bitmap24& src, int sx, int sy, int sw, int sh, Bitmap24& dst, int dx,
                 int dy, int dw, int dh, bool keyed) {
  if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) return;
  for (int row = 0; row < dh; ++row) {
    const int y = sy + static_cast<int>((2 * static_cast<int64_t>(row) + 1) * sh / (2 * dh));
    for (int col = 0; col < dw; ++col) {
      const int x = sx + static_cast<int>((2 * static_cast<int64_t>(col) + 1) * sw / (2 * dw));
      if (!src.Contains(x, y) || !dst.Contains(dx + col, dy + row)) continue;
      const uint32_t p = src.At(x, y);
      if (keyed && p == kMagenta) continue;
      dst.At(dx + col, dy + row) = p;
    }
  }
}

TargetRect FrameRect(const Bitmap24& image, int count, int index, bool stacked) {
  count = std::max(count, 1);
  if (stacked) {
    const int fh = image.height / count;
    return {0, fh * (index - 1), image.width, fh * index};
  }
  const int fw = image.width / count;
  return {fw * (index - 1), 0, fw * index, image.height};
}

Bitmap24 BuildNineSlice(int w, int h, const Bitmap24& image, SliceMargins m, bool stacked,
                        bool tile, int count, int index) {
  Bitmap24 out(w, h);
  const TargetRect f = FrameRect(image, count, index, stacked);
  const int sx = f.left, sy = f.top, fw = f.Width(), fh = f.Height();
  int l = m.left, t = m.top, r = m.right, b = m.bottom;
  if (w < l + r) l = r = 0;
  if (h < t + b) t = b = 0;
  auto copy = [&](int x, int y, int cw, int ch, int tx, int ty, int tw, int th) {
    StretchCopy(image, x, y, cw, ch, out, tx, ty, tw, th, false);
  };
  // The engine's order: the three pieces after the centre cover a tiled centre's overrun.
  if (l * t > 0) copy(sx, sy, l, t, 0, 0, l, t);
  if (l * b > 0) copy(sx, sy + fh - b, l, b, 0, h - b, l, b);
  if (r * t > 0) copy(sx + fw - r, sy, r, t, w - r, 0, r, t);
  if (l > 0) copy(sx, sy + t, l, fh - t - b, 0, t, l, h - t - b);
  if (t > 0) copy(sx + l, sy, fw - l - r, t, l, 0, w - l - r, t);
  if (!tile) {
    copy(sx + l, sy + t, fw - l - r, fh - t - b, l, t, w - l - r, h - t - b);
  } else if (fw - l - r > 0 && fh - t - b > 0) {
    const int tw = fw - l - r, th = fh - t - b;
    for (int y = t; y < h - b; y += th)
      for (int x = l; x < w - r; x += tw) copy(sx + l, sy + t, tw, th, x, y, tw, th);
  }
  if (r * b > 0) copy(sx + fw - r, sy + fh - b, r, b, w - r, h - b, r, b);
  if (r > 0) copy(sx + fw - r, sy + t, r, fh - t - b, w - r, t, r, h - t - b);
  if (b > 0) copy(sx + l, sy + fh - b, fw - l - r, b, l, h - b, w - l - r, b);
  return out;
}

void DrawNineSlice(Bitmap24& dst, TargetRect r, const Bitmap24& image, SliceMargins m,
                   bool stacked, bool tile, bool keyed, int count, int index) {
  if (r.Width() <= 0 || r.Height() <= 0) return;
  dst.Put(BuildNineSlice(r.Width(), r.Height(), image, m, stacked, tile, count, index), r.left,
          r.top, keyed);
}

void DrawFrameStretched(Bitmap24& dst, TargetRect r, const Bitmap24& image, bool keyed, int count,
                        int index) {
  const TargetRect f = FrameRect(image, count, index, false);
  StretchCopy(image, f.left, f.top, f.Width(), f.Height(), dst, r.left, r.top, r.Width(),
              r.Height(), keyed);
}

void DrawCentredFrame(Bitmap24& dst, TargetRect r, const Bitmap24& image, bool keyed, int count,
                      int index) {
  const TargetRect f = FrameRect(image, count, index, false);
  const int x = r.left + (r.Width() - f.Width()) / 2, y = r.top + (r.Height() - f.Height()) / 2;
  StretchCopy(image, f.left, f.top, f.Width(), f.Height(), dst, x, y, f.Width(), f.Height(), keyed);
}
