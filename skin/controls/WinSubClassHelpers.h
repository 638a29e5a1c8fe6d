// The free helpers of unit WinSubClass: properties of framework controls read and set by
// their published names, window text, the drawing of element frames and strip cells,
// caption and item text, and the small arrow of the up-down painter.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "framework/Bitmap.h"
#include "framework/Classes.h"
#include "framework/Controls.h"
#include "framework/Graphics.h"
#include "framework/ImageList.h"

class TDataSkinObject;

// The integer property `name`, or -1 (null object, no such property, not an integer).
int32_t GetOrdPropByName(const TObject* object, const std::string& name);
// The identifier of an enumeration, boolean or set property (e.g. "true"); empty when absent.
std::string GetEnumPropByName(const TObject* object, const std::string& name);
// A string property of any string kind as wide text; empty when absent.
std::wstring GetTextPropByName(const TObject* object, const std::string& name);
// The object property `name` when it is of class `info`, else null.
TObject* GetObjectPropByName(const TObject* object, const std::string& name, const TClassInfo& info);
// Sets an integer, enumeration or string property from text; other kinds are left alone.
void SetPropByName(TObject* object, const std::string& name, const std::string& value);

std::wstring GetWindowTextWide(HWND window);
bool IsPopupWindow(HWND window);
// The form window that holds `window`: its nearest ancestor that is not a child window, or
// is an MDI child (whose root is the MDI main frame, a different form). Null for a window
// that does not exist or has no such ancestor.
HWND FormWindowOf(HWND window);
// Dest gets the source's size and format and its picture.
void CopyBitmap(TBitmap* source, TBitmap* dest);

// One state frame of an element, nine-sliced into `rect` of `dc` (transparent when the
// element's Trans is 1).
void DrawElementFrame(TControl* control, HDC dc, const RECT& rect, int frameCount, int frameIndex,
                      const TDataSkinObject* element);
// Cell `cellIndex` (1-based) of `cellCount` cells side by side, stretched to `rect`,
// magenta transparent: onto a canvas, onto a DC through a temporary canvas, and onto a DC
// through TransparentBlit.
void DrawStripCell(TControl* control, TCanvas* canvas, const RECT& rect, int cellCount, int cellIndex,
                   TBitmap* bitmap);
void DrawStripCellDC(TControl* control, HDC dc, const RECT& rect, int cellCount, int cellIndex,
                     TBitmap* bitmap);
void DrawStripCellBlit(TControl* control, HDC dc, const RECT& rect, int cellCount, int cellIndex,
                       TBitmap* bitmap);

// Flags plus DT_RTLREADING when the control (or `companion`) reads right to left.
UINT RightToLeftFlag(const TControl* control, UINT flags, const TControl* companion = nullptr);
void DrawCaptionText(TControl* control, TCanvas* canvas, const RECT& rect, UINT alignment, bool enabled,
                     const std::wstring& text);
void DrawImageAndText(TControl* control, TCanvas* canvas, const RECT& rect, int alignment,
                      const std::wstring& text, int imageIndex, TImageList* images);
// The layout both image-and-text painters share: an image of `imageSize` (none when its
// width is 0), drawn by `drawImage` at its top-left corner, followed by the text; alignment
// 0 left (3 pixels in), 1 centred, 2 right (2 pixels margin); both centred vertically; the
// text clipped to `rect`, in the shadow colour when `enabled` is false.
void LayOutImageAndText(TControl* control, TCanvas* canvas, const RECT& rect, int alignment,
                        const std::wstring& text, SIZE imageSize, bool enabled,
                        const std::function<void(HDC dc, int x, int y)>& drawImage);
// Single-line text centred in both directions; alignIndex 0 left, 1 right, 2 centre.
void DrawCentredText(TCanvas* canvas, const RECT& rect, const std::wstring& text, int alignIndex,
                     bool enabled);
// Direction 0 up, 1 down, 2 and 3 the sideways marks; anything else draws nothing.
void DrawSmallArrow(TCanvas* canvas, int x, int y, int direction);

// The canvas's DC with the canvas's font and its colour selected (for raw text calls).
HDC PrepareTextDC(TCanvas* canvas);

// The global atom "ControlOfs<instance><thread id>" added when the unit starts, and
// whether the platform is NT.
ATOM ControlAtom();
bool Win32PlatformIsNT();
