// TSkinProgress: messages and painting.
#include "skin/controls/WinSubClassProgress.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>

#include "framework/ClassBuilder.h"
#include "skin/controls/WinSubClassHasImage.h"
#include "skin/controls/WinSubClassHelpers.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"
#include "skin/image/ImgUtil.h"

namespace {

void FillSolid(HDC dc, const RECT& rect, TColor colour) {
  HBRUSH brush = CreateSolidBrush(ColorToRGB(colour));
  FillRect(dc, &rect, brush);
  DeleteObject(brush);
}

// The chunk image over `fill`: tiled unscaled along the bar, or stretched over it.
void DrawChunk(HDC dc, const RECT& fill, const TDataSkinObject& chunk) {
  if (fill.right <= fill.left || fill.bottom <= fill.top) return;
  const int frames = std::max(chunk.FrameCount, 1);
  const int cellWidth = chunk.Bitmap->Width() / frames;
  if (cellWidth <= 0) return;
  const bool trans = chunk.Trans == 1;
  if (chunk.Tile == 0) {
    DrawFrameStretched(dc, fill, chunk.Bitmap.get(), trans, frames, 1);
    return;
  }
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, fill.left, fill.top, fill.right, fill.bottom);
  for (int x = fill.left; x < fill.right; x += cellWidth) {
    const RECT cell{x, fill.top, x + cellWidth, fill.bottom};
    DrawFrameStretched(dc, cell, chunk.Bitmap.get(), trans, frames, 1);
  }
  RestoreDC(dc, saved);
}

}  // namespace

const TClassInfo& TSkinProgress::StaticClass() {
  static const TClassInfo info = TClassBuilder<TSkinProgress>("TSkinProgress", &Inherited::StaticClass()).Build();
  return info;
}

bool TSkinProgress::BeforeProc(TMessage& message) {
  switch (message.Msg) {
    case WM_PAINT:
      if (SkinData == nullptr || !HasImage(SkinData->Progress.get())) return true;
      PaintReplace(message);
      message.Result = 0;
      return false;
    case WM_ERASEBKGND:
      message.Result = 1;
      return false;
    default:
      return TSkinControl::BeforeProc(message);
  }
}

int TSkinProgress::FilledLength(int length) const {
  const LRESULT position = SendMessageW(Handle, PBM_GETPOS, 0, 0);
  PBRANGE range{};
  SendMessageW(Handle, PBM_GETRANGE, 0, reinterpret_cast<LPARAM>(&range));
  // Measured from the low end of the range, so a range that does not start at 0 fills
  // in proportion too (with the usual low end 0 this is MulDiv(length, P, M)).
  const int span = range.iHigh - range.iLow;
  const int done = static_cast<int>(position) - range.iLow;
  if (span <= 0 || done <= 0 || length <= 0) return 0;
  return std::min(MulDiv(length, done, span), length);
}

void TSkinProgress::DrawSkin(HDC dc, const RECT& rect) {
  if (SkinData == nullptr || !HasImage(SkinData->Progress.get())) return;
  const TDataSkinBorder& progress = *SkinData->Progress;
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return;
  const bool vertical = (GetWindowLongX(Handle, GWL_STYLE) & PBS_VERTICAL) != 0;
  // The bar lying on its side: its length runs left to right.
  const int length = vertical ? height : width;
  const int thickness = vertical ? width : height;
  TBitmap bar(length, thickness, pf24bit);
  HDC barDc = bar.Canvas()->Handle();
  const RECT whole{0, 0, length, thickness};
  FillSolid(barDc, whole, SkinData->ButtonFaceColour);
  const int frames = std::max(progress.FrameCount, 1);
  if (progress.Style == 0) {
    DrawElementFrame(Control, barDc, whole, frames, 1, &progress);
    const int filled = FilledLength(length);
    if (filled > 0) DrawElementFrame(Control, barDc, RECT{0, 0, filled, thickness}, frames, 2, &progress);
  } else {
    DrawNineSlice(barDc, whole, progress.Bitmap.get(), false, progress.Tile != 0, true, frames, 1, progress.Margins);
    const TDataSkinObject* chunk = SkinData->ProgressChunk.get();
    if (HasImage(chunk)) {
      const RECT inner{progress.Margins.left, progress.Margins.top, length - progress.Margins.right,
                       thickness - progress.Margins.bottom};
      const int filled = FilledLength(inner.right - inner.left);
      if (filled > 0) DrawChunk(barDc, RECT{inner.left, inner.top, inner.left + filled, inner.bottom}, *chunk);
    }
  }
  // Upright, the left end (where the filling starts) goes to the bottom.
  if (vertical) RotateLeft(&bar);
  BitBlt(dc, rect.left, rect.top, width, height, bar.Canvas()->Handle(), 0, 0, SRCCOPY);
}
