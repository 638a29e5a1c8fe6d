// Item painting shared by the skinned tab and header controls: the window's font on a
// canvas, and an item's image (from the control's system image list) and text laid out
// as DrawImageAndText lays them out for framework image lists.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "framework/Controls.h"
#include "framework/Graphics.h"

// The font the control paints its items in onto `font`: a framework control's own font,
// else the one the window uses (WM_GETFONT; the system font when it has none).
void AssignItemFont(TFont* font, TControl* control, HWND window);

// Image `imageIndex` of `images` (when not -1 and narrower than `rect`) followed by the
// text; alignment 0 left (3 pixels in), 1 centred, 2 right (2 pixels margin); both
// centred vertically; the text in the shadow colour when `enabled` is false.
void DrawItemImageAndText(TControl* control, TCanvas* canvas, const RECT& rect, int alignment,
                          const std::wstring& text, int imageIndex, HIMAGELIST images, bool enabled);
