// The flat border over a window's edge.
#include "skin/controls/WinSubClassFlatBorder.h"

#include "framework/GdiHandles.h"

namespace {

void Frame(HDC dc, const RECT& rect, COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  FrameRect(dc, &rect, brush);
  DeleteObject(brush);
}

}  // namespace

void DrawFlatBorder(HDC dc, const RECT& rect, HWND window, COLORREF shadow, int whiteRings) {
  if (dc == nullptr) return;
  RECT bounds{};
  RECT client{};
  if (!GetWindowRect(window, &bounds) || !GetClientRect(window, &client)) return;
  if (client.right >= bounds.right - bounds.left || client.bottom >= bounds.bottom - bounds.top) return;  // no edge
  // The client area in `dc` coordinates: the border never paints into it.
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
  OffsetRect(&client, rect.left - bounds.left, rect.top - bounds.top);
  SavedDCState keep(dc);
  ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
  RECT edge = rect;
  Frame(dc, edge, shadow);
  for (int i = 0; i < whiteRings; ++i) {
    InflateRect(&edge, -1, -1);
    Frame(dc, edge, 0xFFFFFF);
  }
}
