// BitmapToRegion: the window region cut out of a frame picture by its key colour.
#include <vector>

#include "skin/data/SkinDraw.h"
#include "skin/image/RegionScan.h"

gdi::Region RegionFromPixels(const ConstBgra32View& pixels, int xOffset, int yOffset,
                             int blueTolerance, int greenTolerance, int redTolerance,
                             COLORREF key) {
  const KeyRange range = KeyRange::Of(static_cast<int32_t>(key & 0xFFFFFF), blueTolerance,
                                      greenTolerance, redTolerance);
  gdi::Region result;
  bool failed = false;
  // Each batch of at most kRegionBatch rectangles becomes a region of its own, united
  // with what was built so far; this keeps every ExtCreateRegion call bounded.
  ScanRegionRects(pixels, xOffset, yOffset, range, kRegionBatch, [&](const RegionData& data) {
    if (failed || (data.Count() == 0 && result)) return;
    gdi::Region part(ExtCreateRegion(nullptr, static_cast<DWORD>(data.Size()),
                                     static_cast<const RGNDATA*>(data.Data())));
    if (!part) {
      failed = true;
      return;
    }
    if (!result) {
      result = std::move(part);
    } else if (CombineRgn(result.Get(), result.Get(), part.Get(), RGN_OR) == ERROR) {
      failed = true;
    }
  });
  if (failed) return {};
  return result;
}

gdi::Region BitmapToRegion(HBITMAP bitmap, int xOffset, int yOffset, int blueTolerance,
                           int greenTolerance, int redTolerance, COLORREF key) {
  BITMAP info{};
  if (!bitmap || GetObjectW(bitmap, sizeof info, &info) != sizeof info) return {};
  const int width = info.bmWidth;
  const int height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
  std::vector<uint8_t> pixels;
  if (width > 0 && height > 0) {
    BITMAPINFO request{};
    request.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    request.bmiHeader.biWidth = width;
    request.bmiHeader.biHeight = -height;  // top-down rows
    request.bmiHeader.biPlanes = 1;
    request.bmiHeader.biBitCount = 32;
    request.bmiHeader.biCompression = BI_RGB;
    pixels.resize(4 * static_cast<size_t>(width) * height);
    WindowDC screen(nullptr);
    if (GetDIBits(screen.Get(), bitmap, 0, static_cast<UINT>(height), pixels.data(), &request,
                  DIB_RGB_COLORS) != height)
      return {};
  }
  const ConstBgra32View view{pixels.empty() ? nullptr : pixels.data(),
                             4 * static_cast<ptrdiff_t>(width), width, height};
  return RegionFromPixels(view, xOffset, yOffset, blueTolerance, greenTolerance, redTolerance,
                          key);
}
