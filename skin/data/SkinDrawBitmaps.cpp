// The drawing primitives on framework bitmaps and canvases: each finds the picture's DC
// and hands over to the DC-level primitive.
#include "framework/Bitmap.h"
#include "skin/data/SkinDraw.h"

SkinImage ImageOf(TBitmap* bitmap) {
  if (!bitmap || bitmap->Empty() || !bitmap->Handle()) return {};
  return {bitmap->Canvas()->Handle(), bitmap->Width(), bitmap->Height()};
}

std::unique_ptr<TBitmap> BuildNineSlice(const RECT& target, TBitmap* image, const RECT& margins,
                                        bool stacked, bool tile, int frameCount, int frameIndex) {
  gdi::Dib32 built =
      BuildNineSliceDib(target, ImageOf(image), margins, stacked, tile, frameCount, frameIndex);
  if (!built) return nullptr;
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetHandle(built.bitmap.Release());
  return bitmap;
}

void DrawNineSlice(HDC dc, const RECT& target, TBitmap* image, bool stacked, bool tile,
                   bool trans, int frameCount, int frameIndex, const RECT& margins) {
  DrawNineSlice(dc, target, ImageOf(image), stacked, tile, trans, frameCount, frameIndex, margins);
}

void DrawThreeSlice(TCanvas* canvas, const RECT& target, TBitmap* image, bool stacked,
                    bool trans, int frameCount, int frameIndex, const RECT& margins) {
  if (!canvas) return;
  DrawThreeSlice(canvas->Handle(), target, ImageOf(image), stacked, trans, frameCount,
                 frameIndex, margins);
}

void DrawFrameStretched(HDC dc, const RECT& target, TBitmap* image, bool trans, int frameCount,
                        int frameIndex) {
  DrawFrameStretched(dc, target, ImageOf(image), trans, frameCount, frameIndex);
}

void DrawCentredFrame(HDC dc, const RECT& target, TBitmap* image, bool trans, int frameCount,
                      int frameIndex) {
  DrawCentredFrame(dc, target, ImageOf(image), trans, frameCount, frameIndex);
}

void DrawStretchStrip(HDC dc, const RECT& target, TBitmap* image, bool stacked, int frameCount,
                      int frameIndex, const RECT& margins) {
  DrawStretchStrip(dc, target, ImageOf(image), stacked, frameCount, frameIndex, margins);
}

void TransparentBlit(HDC dc, const RECT& target, TBitmap* bitmap, TColor key) {
  TransparentBlit(dc, target, ImageOf(bitmap), ColorToRGB(key));
}

gdi::Region BitmapToRegion(TBitmap* bitmap, int xOffset, int yOffset, int blueTolerance,
                           int greenTolerance, int redTolerance, TColor key) {
  if (!bitmap) return {};
  if (bitmap->PixelFormat() != pf32bit) bitmap->SetPixelFormat(pf32bit);
  ConstBgra32View rows;
  if (!bitmap->Empty()) {
    rows.width = bitmap->Width();
    rows.height = bitmap->Height();
    rows.row0 = bitmap->ScanLine(0);
    rows.stride = rows.height > 1 ? bitmap->ScanLine(1) - rows.row0 : bitmap->Stride();
  }
  return RegionFromPixels(rows, xOffset, yOffset, blueTolerance, greenTolerance, redTolerance,
                          ColorToRGB(key));
}
