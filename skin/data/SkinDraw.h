// The drawing primitives of unit WinSkinData: how an element image (several equal state
// frames side by side or stacked, nine-slice margins, magenta 0xFF00FF as the key colour)
// is cut and put on a device context, the region of a window shaped by its frame images,
// the parent-background paint of transparent controls, text output, the lookup of the
// framework control behind a window, and the user32 functions bound at run time.
//
// Every primitive takes its image as a SkinImage: a DC the picture is selected into and
// the picture's size. Frame geometry follows SliceGeometry: frame counts below 1 count as
// 1, frame indexes are kept within the count, margins are cut to the frame, so nothing is
// ever read outside the picture. A target rectangle with Right < Left or Bottom < Top is
// not drawn. Where no piece lands (only when a frame is too small for its margins) the
// destination stays as it was when drawing transparently, and is white otherwise.
// Main thread only.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include <memory>

#include "framework/Bitmap.h"
#include "skin/image/GdiOwners.h"
#include "skin/image/PixelView.h"
#include "skin/image/SliceGeometry.h"

class TControl;
class TWinControl;
class TStringList;

// The key colour of element images: pixels of this colour are left out when drawn
// transparently and cut away from window regions.
inline constexpr COLORREF kSkinKeyColour = 0xFF00FF;

// An element image ready to copy from: a DC with the picture selected, and its size.
struct SkinImage {
  HDC dc = nullptr;
  int width = 0;
  int height = 0;
  bool Empty() const { return dc == nullptr || width <= 0 || height <= 0; }
};

// A bitmap selected into a memory DC of its own for the life of this object (the bitmap
// stays owned by the caller and must outlive it).
class SelectedBitmap {
 public:
  SelectedBitmap(HBITMAP bitmap, int width, int height);
  SkinImage Image() const { return {selection_.Ok() ? dc_.Get() : nullptr, width_, height_}; }
  HDC Dc() const { return dc_.Get(); }

 private:
  gdi::MemoryDC dc_;
  gdi::Selection selection_;
  int width_;
  int height_;
};

// Margins as the element model holds them: (LeftWidth, TopHeight, RightWidth, BottomHeight).
SliceMargins MarginsOf(const RECT& margins);

// A picture of the target's size made of frame `frameIndex` of `frameCount`, cut into
// nine pieces by `margins` (corners unscaled, edges stretched along their length, the
// centre stretched, or tiled unscaled with `tile`), stretch mode COLORONCOLOR. A 32-bit
// top-down DIB section; null for a target without area.
gdi::Dib32 BuildNineSliceDib(const RECT& target, const SkinImage& image, const RECT& margins,
                             bool stacked, bool tile, int frameCount, int frameIndex);

// The nine-slice picture put on `dc` at the target, key-colour pixels left out with `trans`.
void DrawNineSlice(HDC dc, const RECT& target, const SkinImage& image, bool stacked, bool tile,
                   bool trans, int frameCount, int frameIndex, const RECT& margins);

// A horizontal band: left and right parts stretched to the target's height, the middle
// repeated unscaled sideways between them (only the Left and Right margins are used).
void DrawThreeSlice(HDC dc, const RECT& target, const SkinImage& image, bool stacked,
                    bool trans, int frameCount, int frameIndex, const RECT& margins);

// Frame `frameIndex` (frames side by side) stretched over the whole target.
void DrawFrameStretched(HDC dc, const RECT& target, const SkinImage& image, bool trans,
                        int frameCount, int frameIndex);

// Frame `frameIndex` (side by side) unscaled and centred in the target; a frame larger
// than the target overhangs it equally on both sides (within one pixel).
void DrawCentredFrame(HDC dc, const RECT& target, const SkinImage& image, bool trans,
                      int frameCount, int frameIndex);

// A band stretched in three pieces straight onto `dc` (Left and Right margins; the DC's
// own stretch mode applies): the whole frame when it is wider than the target.
void DrawStretchStrip(HDC dc, const RECT& target, const SkinImage& image, bool stacked,
                      int frameCount, int frameIndex, const RECT& margins);

// Copies the picture from its origin (0, 0), target-sized (and never beyond the picture),
// onto the target, leaving the destination unchanged where the picture has colour `key`.
void TransparentBlit(HDC dc, const RECT& target, const SkinImage& bitmap, COLORREF key);
// What TransparentBlit does on the older, non-NT platform (no MaskBlt there): the
// destination's colours set to white background and black text, then the picture XORed
// in, ANDed with the mask and XORed again. The same result; callable everywhere.
void TransparentBlitWithoutMaskBlt(HDC dc, const RECT& target, const SkinImage& bitmap,
                                   COLORREF key);

// The region of the pixels of a 32-bit picture outside the key range (see KeyRange:
// key .. key + tolerance per component), moved by the offsets. Empty (not null) when
// every pixel is key; null only when the system refuses to make a region.
gdi::Region RegionFromPixels(const ConstBgra32View& pixels, int xOffset, int yOffset,
                             int blueTolerance, int greenTolerance, int redTolerance,
                             COLORREF key);
// The same for a bitmap read through GetDIBits (the bitmap must not be selected into a DC).
gdi::Region BitmapToRegion(HBITMAP bitmap, int xOffset, int yOffset, int blueTolerance,
                           int greenTolerance, int redTolerance, COLORREF key);

// ---- The same on framework bitmaps and canvases (the element model's pictures) ----
//
// A picture is copied from through its canvas's DC; a null or empty bitmap draws nothing.

SkinImage ImageOf(TBitmap* bitmap);

// A new bitmap of the target's size (the caller owns it); null for a target without area.
std::unique_ptr<TBitmap> BuildNineSlice(const RECT& target, TBitmap* image, const RECT& margins,
                                        bool stacked, bool tile, int frameCount, int frameIndex);
void DrawNineSlice(HDC dc, const RECT& target, TBitmap* image, bool stacked, bool tile,
                   bool trans, int frameCount, int frameIndex, const RECT& margins);
void DrawThreeSlice(TCanvas* canvas, const RECT& target, TBitmap* image, bool stacked,
                    bool trans, int frameCount, int frameIndex, const RECT& margins);
void DrawFrameStretched(HDC dc, const RECT& target, TBitmap* image, bool trans, int frameCount,
                        int frameIndex);
void DrawCentredFrame(HDC dc, const RECT& target, TBitmap* image, bool trans, int frameCount,
                      int frameIndex);
void DrawStretchStrip(HDC dc, const RECT& target, TBitmap* image, bool stacked, int frameCount,
                      int frameIndex, const RECT& margins);
// `key` may name a system colour; it is resolved.
void TransparentBlit(HDC dc, const RECT& target, TBitmap* bitmap, TColor key);
// Converts the bitmap to 32 bits per pixel (it keeps that format) and reads its rows.
gdi::Region BitmapToRegion(TBitmap* bitmap, int xOffset, int yOffset, int blueTolerance,
                           int greenTolerance, int redTolerance, TColor key);

// Paints what the parent of a (transparent) control shows behind it onto the control's
// `dc`: the parent gets WM_ERASEBKGND and WM_PAINT with `dc` as wParam, its origin moved
// onto the control's and clipped to the control's client area; the DC's state is restored
// afterwards. Nothing for a control without a parent.
void DrawParentBackground(TControl* control, HDC dc);

// The framework control whose window is `window` (through the framework's "ControlOfs"
// window property), or null.
TWinControl* ControlOfWindow(HWND window);

// The shared work bitmap: the off-screen surface of frame, menu-bar and status-bar
// painting. Made on first use, freed when the program ends.
TBitmap* SkinWorkBitmap();
// The work bitmap at least `width` x `height`, its canvas in stretch mode COLORONCOLOR
// (set again here because resizing gives the canvas a new DC).
TBitmap* PrepareSkinWorkBitmap(int width, int height);
// The shared string list, made on first use and freed when the program ends.
TStringList* SkinWorkStrings();

// True on the NT platform (platform id 2), decided once at start-up. Text is then drawn
// with the wide functions, and transparency uses MaskBlt.
bool IsNtPlatform();

// ANSI text (the system code page, 936 on the target systems) to wide text.
std::wstring AnsiToWide(std::string_view text);
// The zero-terminated text at `text` (count -1), or its first `count` characters, but
// never past the terminating zero; empty for a null pointer or another negative count.
std::wstring WideCopy(const wchar_t* text, int count);
// DrawTextW on the NT platform, else the ANSI text through DrawTextA; the height the call
// returns. `rect` is updated as DrawText updates it (DT_CALCRECT).
int DrawSkinText(HDC dc, const std::wstring& text, RECT& rect, UINT format);

// The user32 functions that older systems lack, looked up by name in "user32.dll" (also
// GetComboBoxInfo and DisableProcessWindowsGhosting, which nothing calls yet).
class TDynamicUser32 {
 public:
  explicit TDynamicUser32(const wchar_t* library = L"user32.dll");
  ~TDynamicUser32();
  TDynamicUser32(const TDynamicUser32&) = delete;
  TDynamicUser32& operator=(const TDynamicUser32&) = delete;

  // False when the function is missing, else its result.
  bool SafeGetScrollBarInfo(HWND window, LONG objectId, SCROLLBARINFO* info) const;
  // Asks for WM_MOUSELEAVE (TME_LEAVE); nothing when the function is missing.
  void TrackMouseLeave(HWND window) const;

  bool HasGetScrollBarInfo() const { return getScrollBarInfo_ != nullptr; }
  bool HasTrackMouseEvent() const { return trackMouseEvent_ != nullptr; }
  bool HasGetComboBoxInfo() const { return getComboBoxInfo_ != nullptr; }
  bool HasDisableProcessWindowsGhosting() const { return disableGhosting_ != nullptr; }

 private:
  using GetScrollBarInfoFn = BOOL(WINAPI*)(HWND, LONG, PSCROLLBARINFO);
  using TrackMouseEventFn = BOOL(WINAPI*)(LPTRACKMOUSEEVENT);
  using GetComboBoxInfoFn = BOOL(WINAPI*)(HWND, PCOMBOBOXINFO);
  using DisableGhostingFn = void(WINAPI*)();

  HMODULE module_ = nullptr;
  GetScrollBarInfoFn getScrollBarInfo_ = nullptr;
  TrackMouseEventFn trackMouseEvent_ = nullptr;
  GetComboBoxInfoFn getComboBoxInfo_ = nullptr;
  DisableGhostingFn disableGhosting_ = nullptr;
};

// The process's binding, made on first use and released when the program ends.
const TDynamicUser32& DynamicUser32();
bool SafeGetScrollBarInfo(HWND window, LONG objectId, SCROLLBARINFO* info);
void TrackMouseLeave(HWND window);
