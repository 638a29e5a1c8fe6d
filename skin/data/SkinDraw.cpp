#include "skin/data/SkinDraw.h"

#include <algorithm>

namespace {

// MaskBlt's quaternary operation: keep the destination where the mask is 1 (key
// pixels), copy the source where it is 0.
constexpr DWORD kKeepDestination = 0x00AA0029;
constexpr DWORD kKeyedCopyRop = ((static_cast<DWORD>(SRCCOPY) << 8) & 0xFF000000) | kKeepDestination;

bool Inverted(const RECT& r) { return r.right < r.left || r.bottom < r.top; }
SliceRect ToSlice(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

void StretchPiece(HDC dc, int dx, int dy, const SliceCopy& copy, HDC source) {
  StretchBlt(dc, dx + copy.dest.left, dy + copy.dest.top, copy.dest.Width(), copy.dest.Height(),
             source, copy.source.left, copy.source.top, copy.source.Width(),
             copy.source.Height(), SRCCOPY);
}

// A 32-bit picture of w x h selected into a memory DC of its own, stretch mode
// COLORONCOLOR: the off-screen surface of one primitive. It starts filled with `ground`:
// what shows where no piece lands (possible only when a frame is too small for its
// margins).
struct Scratch {
  gdi::Dib32 dib;
  gdi::MemoryDC dc;
  gdi::Selection selection;

  Scratch(int width, int height, COLORREF ground)
      : dib(gdi::CreateDib32(width, height)), selection(dc.Get(), dib.bitmap.Get()) {
    if (!Ok()) return;
    SetStretchBltMode(dc.Get(), COLORONCOLOR);
    const uint32_t pixel = static_cast<uint32_t>(GetRValue(ground)) << 16 |
                           static_cast<uint32_t>(GetGValue(ground)) << 8 | GetBValue(ground);
    auto* bits = reinterpret_cast<uint32_t*>(dib.bits);
    std::fill(bits, bits + static_cast<size_t>(dib.width) * dib.height, pixel);
  }
  bool Ok() const { return dib && dc && selection.Ok(); }
  SkinImage Image() const { return {dc.Get(), dib.width, dib.height}; }
};

// Drawn transparently, uncovered parts leave the destination alone; drawn opaquely they
// are white, as a new bitmap is.
COLORREF GroundFor(bool trans) { return trans ? kSkinKeyColour : RGB(255, 255, 255); }

// Copies w x h from (sx, sy) of `source` to (x, y) of `dc`, leaving the destination
// unchanged where the source has colour `key`.
// `maskBlt`: one MaskBlt (NT); otherwise three raster operations through the mask.
void KeyedCopy(HDC dc, int x, int y, int w, int h, HDC source, int sx, int sy, COLORREF key,
               bool maskBlt) {
  if (w <= 0 || h <= 0) return;
  gdi::Bitmap mask = gdi::CreateMonoBitmap(w, h);
  gdi::MemoryDC maskDc;
  gdi::Selection maskSelection(maskDc.Get(), mask.Get());
  if (!maskSelection.Ok()) return;
  // Colour to monochrome: pixels of the source's background colour become 1 (white).
  const COLORREF oldBack = SetBkColor(source, key);
  BitBlt(maskDc.Get(), 0, 0, w, h, source, sx, sy, SRCCOPY);
  SetBkColor(source, oldBack);
  if (maskBlt) {
    MaskBlt(dc, x, y, w, h, source, sx, sy, mask.Get(), 0, 0, kKeyedCopyRop);
    return;
  }
  // Older systems: dest ^ src, then & mask (white keeps, black clears), then ^ src.
  const COLORREF oldDestBack = SetBkColor(dc, RGB(255, 255, 255));
  const COLORREF oldDestText = SetTextColor(dc, RGB(0, 0, 0));
  BitBlt(dc, x, y, w, h, source, sx, sy, SRCINVERT);
  BitBlt(dc, x, y, w, h, maskDc.Get(), 0, 0, SRCAND);
  BitBlt(dc, x, y, w, h, source, sx, sy, SRCINVERT);
  SetBkColor(dc, oldDestBack);
  SetTextColor(dc, oldDestText);
}

// Puts a finished off-screen picture at the target's top-left corner.
void Present(HDC dc, const RECT& target, const Scratch& scratch, bool trans) {
  if (trans) {
    TransparentBlit(dc, target, scratch.Image(), kSkinKeyColour);
  } else {
    BitBlt(dc, target.left, target.top, scratch.dib.width, scratch.dib.height, scratch.dc.Get(),
           0, 0, SRCCOPY);
  }
}

}  // namespace

SelectedBitmap::SelectedBitmap(HBITMAP bitmap, int width, int height)
    : selection_(dc_.Get(), bitmap), width_(width), height_(height) {}

SliceMargins MarginsOf(const RECT& margins) {
  return {margins.left, margins.top, margins.right, margins.bottom};
}

namespace {

void PaintNineSlice(HDC dc, int width, int height, const SkinImage& image, const RECT& margins,
                    bool stacked, bool tile, int frameCount, int frameIndex) {
  const NineSlicePlan plan = PlanNineSlice(width, height, image.width, image.height,
                                           MarginsOf(margins), stacked, frameCount, frameIndex);
  for (int i = 0; i < plan.count; ++i) {
    const SliceCopy& copy = plan.copies[i];
    if (copy.piece != SliceCopy::Piece::Centre || !tile) {
      StretchPiece(dc, 0, 0, copy, image.dc);
      continue;
    }
    // Tiles of the centre piece, unscaled, from the centre's top-left corner; those that
    // run past the centre are covered by the right and bottom pieces drawn after it.
    const int tileWidth = copy.source.Width();
    const int tileHeight = copy.source.Height();
    for (const TileOrigin& at : TileOrigins(copy.dest, tileWidth, tileHeight))
      BitBlt(dc, at.x, at.y, tileWidth, tileHeight, image.dc, copy.source.left, copy.source.top,
             SRCCOPY);
  }
}

}  // namespace

gdi::Dib32 BuildNineSliceDib(const RECT& target, const SkinImage& image, const RECT& margins,
                             bool stacked, bool tile, int frameCount, int frameIndex) {
  if (Inverted(target)) return {};
  Scratch scratch(target.right - target.left, target.bottom - target.top, GroundFor(false));
  if (!scratch.Ok()) return {};
  if (!image.Empty())
    PaintNineSlice(scratch.dc.Get(), scratch.dib.width, scratch.dib.height, image, margins,
                   stacked, tile, frameCount, frameIndex);
  GdiFlush();
  return std::move(scratch.dib);
}

void DrawNineSlice(HDC dc, const RECT& target, const SkinImage& image, bool stacked, bool tile,
                   bool trans, int frameCount, int frameIndex, const RECT& margins) {
  if (!dc || Inverted(target) || image.Empty()) return;
  Scratch scratch(target.right - target.left, target.bottom - target.top, GroundFor(trans));
  if (!scratch.Ok()) return;
  PaintNineSlice(scratch.dc.Get(), scratch.dib.width, scratch.dib.height, image, margins,
                 stacked, tile, frameCount, frameIndex);
  Present(dc, target, scratch, trans);
}

void DrawThreeSlice(HDC dc, const RECT& target, const SkinImage& image, bool stacked,
                    bool trans, int frameCount, int frameIndex, const RECT& margins) {
  if (!dc || Inverted(target) || image.Empty()) return;
  Scratch scratch(target.right - target.left, target.bottom - target.top, GroundFor(trans));
  if (!scratch.Ok()) return;
  for (const SliceCopy& copy :
       PlanThreeSlice(scratch.dib.width, scratch.dib.height, image.width, image.height,
                      MarginsOf(margins), stacked, frameCount, frameIndex))
    StretchPiece(scratch.dc.Get(), 0, 0, copy, image.dc);
  Present(dc, target, scratch, trans);
}

void DrawFrameStretched(HDC dc, const RECT& target, const SkinImage& image, bool trans,
                        int frameCount, int frameIndex) {
  if (!dc || Inverted(target) || image.Empty()) return;
  Scratch scratch(target.right - target.left, target.bottom - target.top, GroundFor(trans));
  if (!scratch.Ok()) return;
  const FrameCell frame = SelectFrame(image.width, image.height, frameCount, frameIndex, false);
  if (frame.width <= 0 || frame.height <= 0) return;
  StretchBlt(scratch.dc.Get(), 0, 0, scratch.dib.width, scratch.dib.height, image.dc, frame.x,
             frame.y, frame.width, frame.height, SRCCOPY);
  Present(dc, target, scratch, trans);
}

void DrawCentredFrame(HDC dc, const RECT& target, const SkinImage& image, bool trans,
                      int frameCount, int frameIndex) {
  if (!dc || Inverted(target) || image.Empty()) return;
  const SliceCopy placed =
      PlanCentredFrame(ToSlice(target), image.width, image.height, frameCount, frameIndex);
  if (!placed.source.HasArea()) return;
  const int w = placed.source.Width();
  const int h = placed.source.Height();
  if (trans) {
    KeyedCopy(dc, placed.dest.left, placed.dest.top, w, h, image.dc, placed.source.left,
              placed.source.top, kSkinKeyColour, IsNtPlatform());
  } else {
    BitBlt(dc, placed.dest.left, placed.dest.top, w, h, image.dc, placed.source.left,
           placed.source.top, SRCCOPY);
  }
}

void DrawStretchStrip(HDC dc, const RECT& target, const SkinImage& image, bool stacked,
                      int frameCount, int frameIndex, const RECT& margins) {
  if (!dc || image.Empty()) return;
  for (const SliceCopy& copy : PlanStretchStrip(ToSlice(target), image.width, image.height,
                                                MarginsOf(margins), stacked, frameCount,
                                                frameIndex))
    StretchPiece(dc, 0, 0, copy, image.dc);
}

namespace {

void KeyedBlit(HDC dc, const RECT& target, const SkinImage& bitmap, COLORREF key, bool maskBlt) {
  if (!dc || Inverted(target) || bitmap.Empty()) return;
  const int w = std::min<LONG>(target.right - target.left, bitmap.width);
  const int h = std::min<LONG>(target.bottom - target.top, bitmap.height);
  KeyedCopy(dc, target.left, target.top, w, h, bitmap.dc, 0, 0, key, maskBlt);
}

}  // namespace

void TransparentBlit(HDC dc, const RECT& target, const SkinImage& bitmap, COLORREF key) {
  KeyedBlit(dc, target, bitmap, key, IsNtPlatform());
}

void TransparentBlitWithoutMaskBlt(HDC dc, const RECT& target, const SkinImage& bitmap,
                                   COLORREF key) {
  KeyedBlit(dc, target, bitmap, key, false);
}
