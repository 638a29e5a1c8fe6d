#include "skin/image/ImgUtil.h"

#include <vector>

#include "skin/image/GdiOwners.h"

int32_t ResolveColour(int32_t colour) {
  if (colour >= 0) return colour;
  return static_cast<int32_t>(GetSysColor(colour & 0xFF));
}

int32_t MixColors(int32_t colour1, int32_t colour2, int32_t weight) {
  return MixPlainColors(ResolveColour(colour1), ResolveColour(colour2), weight);
}

namespace {

void FillBand(HDC dc, const RECT& band, int32_t colour) {
  gdi::Brush brush(CreateSolidBrush(static_cast<COLORREF>(colour)));
  if (brush) FillRect(dc, &band, brush.Get());
}

}  // namespace

void FillGradient(HDC dc, const RECT& rect, int32_t start, int32_t end, int direction) {
  if (direction != 0 && direction != 1) return;
  // An inverted rectangle is nothing to paint (GDI would normalise it and fill it anyway).
  if (rect.right < rect.left || rect.bottom < rect.top) return;
  if (!dc || !RectVisible(dc, &rect)) return;
  start = ResolveColour(start);
  end = ResolveColour(end);
  RECT clip{};
  GetClipBox(dc, &clip);
  const bool across = direction == 0;
  const GradientBands bands = across ? GradientBandRange(rect.left, rect.right, clip.left, clip.right)
                                     : GradientBandRange(rect.top, rect.bottom, clip.top, clip.bottom);
  if (!bands.Any()) return;

  RECT band = rect;
  if (across) {
    band.left = rect.left + bands.first;
    band.right = band.left + 1;
  } else {
    band.top = rect.top + bands.first;
    band.bottom = band.top + 1;
  }
  // Long gradients are not tabled: each band's colour is computed as the table would hold it.
  const std::vector<int32_t>* table = nullptr;
  if (bands.count <= kLongestCachedGradient)
    table = &TheGradientCache().Entries(GetGradient(bands.count, start, end));
  for (int32_t i = bands.first; i <= bands.last; ++i) {
    FillBand(dc, band, table ? (*table)[i] : GradientColour(bands.count, start, end, i));
    OffsetRect(&band, across ? 1 : 0, across ? 0 : 1);
  }
}
