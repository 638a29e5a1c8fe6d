// The engine's ways of putting an element picture on screen, on Bitmap24 surfaces, so a
// skin can be previewed without Windows: pick one of n equal state frames, cut it into
// nine pieces by its margins and fit it to a target (stretching with nearest-pixel
// sampling, as GDI's COLORONCOLOR mode does), optionally leaving magenta pixels out.
#pragma once

#include "tools/skinpaint/Bitmap24.h"

struct SliceMargins {
  int left = 0, top = 0, right = 0, bottom = 0;
};

struct TargetRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
};

// Copies the source rectangle (sx, sy, sw, sh) onto the destination rectangle
// (dx, dy, dw, dh), scaling by nearest pixel; `keyed` leaves magenta pixels out.
void StretchCopy(const Bitmap24& src, int sx, int sy, int sw, int sh, Bitmap24& dst, int dx,
                 int dy, int dw, int dh, bool keyed);

// Frame `index` (1-based) of `count` as (x, y, w, h) in the picture.
TargetRect FrameRect(const Bitmap24& image, int count, int index, bool stacked);

// A picture of w x h made from one frame: corners unscaled, edges stretched along
// their length, the centre stretched or tiled. Margins are dropped in a direction the
// target is too small for.
Bitmap24 BuildNineSlice(int w, int h, const Bitmap24& image, SliceMargins m, bool stacked,
                        bool tile, int count, int index);
void DrawNineSlice(Bitmap24& dst, TargetRect r, const Bitmap24& image, SliceMargins m,
                   bool stacked, bool tile, bool keyed, int count, int index);
// One frame stretched whole over the target.
void DrawFrameStretched(Bitmap24& dst, TargetRect r, const Bitmap24& image, bool keyed, int count,
                        int index);
// One frame unscaled, centred in the target.
void DrawCentredFrame(Bitmap24& dst, TargetRect r, const Bitmap24& image, bool keyed, int count,
                      int index);
