// The flat border the skinned edit and date-time picker paint over the window's own
// sunken edge.
#pragma once

#include <windows.h>

// Over the edge of `window`, painted into `dc` where the window occupies `rect`: a ring of
// `shadow`, then `whiteRings` white rings inside it. The client area is never painted; a
// window without an edge gets nothing.
void DrawFlatBorder(HDC dc, const RECT& rect, HWND window, COLORREF shadow, int whiteRings);
