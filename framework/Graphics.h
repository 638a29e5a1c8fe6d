// Colours, fonts, pens, brushes and the canvas: thin owners of GDI objects whose handles
// are made on first use and counted (ResourceCount.h).
#pragma once

#include <windows.h>

#include <mutex>
#include <string>

#include "framework/Classes.h"
#include "framework/GdiHandles.h"

using TRect = RECT;
using TPoint = POINT;

inline TRect Rect(int left, int top, int right, int bottom) { return RECT{left, top, right, bottom}; }
inline TRect Bounds(int left, int top, int width, int height) {
  return RECT{left, top, left + width, top + height};
}
inline TPoint Point(int x, int y) { return POINT{x, y}; }

// 0x00BBGGRR; with the top bit set, a system colour by its low byte (COLOR_*).
using TColor = int32_t;

constexpr TColor SystemColor(int index) { return static_cast<TColor>(0x80000000u | static_cast<uint32_t>(index)); }
constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
                 clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
                 clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                 clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clWhite = 0xFFFFFF,
                 clNone = 0x1FFFFFFF, clDefault = 0x20000000;
constexpr TColor clScrollBar = SystemColor(COLOR_SCROLLBAR), clBackground = SystemColor(COLOR_BACKGROUND),
                 clActiveCaption = SystemColor(COLOR_ACTIVECAPTION),
                 clInactiveCaption = SystemColor(COLOR_INACTIVECAPTION), clMenu = SystemColor(COLOR_MENU),
                 clWindow = SystemColor(COLOR_WINDOW), clWindowFrame = SystemColor(COLOR_WINDOWFRAME),
                 clMenuText = SystemColor(COLOR_MENUTEXT), clWindowText = SystemColor(COLOR_WINDOWTEXT),
                 clCaptionText = SystemColor(COLOR_CAPTIONTEXT), clActiveBorder = SystemColor(COLOR_ACTIVEBORDER),
                 clInactiveBorder = SystemColor(COLOR_INACTIVEBORDER),
                 clAppWorkSpace = SystemColor(COLOR_APPWORKSPACE), clHighlight = SystemColor(COLOR_HIGHLIGHT),
                 clHighlightText = SystemColor(COLOR_HIGHLIGHTTEXT), clBtnFace = SystemColor(COLOR_BTNFACE),
                 clBtnShadow = SystemColor(COLOR_BTNSHADOW), clGrayText = SystemColor(COLOR_GRAYTEXT),
                 clBtnText = SystemColor(COLOR_BTNTEXT),
                 clInactiveCaptionText = SystemColor(COLOR_INACTIVECAPTIONTEXT),
                 clBtnHighlight = SystemColor(COLOR_BTNHIGHLIGHT), cl3DDkShadow = SystemColor(COLOR_3DDKSHADOW),
                 cl3DLight = SystemColor(COLOR_3DLIGHT), clInfoText = SystemColor(COLOR_INFOTEXT),
                 clInfoBk = SystemColor(COLOR_INFOBK), clHotLight = SystemColor(COLOR_HOTLIGHT);

// Resolves a system colour to RGB; other values pass with the top byte cleared.
COLORREF ColorToRGB(TColor color);
// The system's caption, menu and message fonts and sizes; false when the system has none.
// The structure's size is the one the running system accepts (without the padded
// border on systems older than Vista).
bool SystemNonClientMetrics(NONCLIENTMETRICSW& metrics);
// Identifiers of colours ("clBtnFace", "clRed") for layouts and by-name access.
const TIdentMap& ColorIdents();
// Identifiers of character sets ("GB2312_CHARSET").
const TIdentMap& CharsetIdents();

constexpr int kPixelsPerInch = 96;

FRAMEWORK_ENUM(TFontStyle, fsBold, fsItalic, fsUnderline, fsStrikeOut)
using TFontStyles = TSetOf<TFontStyle>;
FRAMEWORK_ENUM(TFontPitch, fpDefault, fpVariable, fpFixed)
FRAMEWORK_ENUM(TPenStyle, psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame)
FRAMEWORK_ENUM(TBrushStyle, bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross,
               bsDiagCross)

// Font, pen and brush: a set of attributes and the GDI handle made from them on demand.
// OnChange tells the user (a control, a canvas) before the old handle is freed.
class TGraphicsObject : public TPersistent {
  FRAMEWORK_CLASS(TGraphicsObject, TPersistent)

 public:
  TNotifyEvent OnChange;

 protected:
  // Subclasses take their handle out, notify, and only then let the old handle go: a
  // canvas deselects it and a control switches to the new one in OnChange.
  void Notify();
};

class TFont : public TGraphicsObject {
  FRAMEWORK_CLASS(TFont, TGraphicsObject)

 public:
  TFont();
  HFONT Handle();
  bool HandleAllocated() const { return static_cast<bool>(handle_); }

  const std::wstring& Name() const { return name_; }
  void SetName(const std::wstring& value);
  // Negative: character height in pixels; positive: cell height.
  int32_t Height() const { return height_; }
  void SetHeight(int32_t value);
  // Points at 96 pixels per inch.
  int32_t Size() const;
  void SetSize(int32_t value);
  int32_t Charset() const { return charset_; }
  void SetCharset(int32_t value);
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles value);
  TFontPitch Pitch() const { return pitch_; }
  void SetPitch(TFontPitch value);

  void Assign(const TPersistent* source) override;
  bool SameAs(const TFont& other) const;
  LOGFONTW MakeLogFont() const;

 private:
  void Changed();

  std::wstring name_;
  int32_t height_;
  int32_t charset_ = DEFAULT_CHARSET;
  TColor color_ = clWindowText;
  TFontStyles style_;
  TFontPitch pitch_ = fpDefault;
  UniqueGdi<HFONT> handle_;
};

class TPen : public TGraphicsObject {
  FRAMEWORK_CLASS(TPen, TGraphicsObject)

 public:
  HPEN Handle();
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  int32_t Width() const { return width_; }
  void SetWidth(int32_t value);
  TPenStyle Style() const { return style_; }
  void SetStyle(TPenStyle value);
  void Assign(const TPersistent* source) override;

 private:
  void Changed();

  TColor color_ = clBlack;
  int32_t width_ = 1;
  TPenStyle style_ = psSolid;
  UniqueGdi<HPEN> handle_;
};

class TBrush : public TGraphicsObject {
  FRAMEWORK_CLASS(TBrush, TGraphicsObject)

 public:
  // A clear brush answers the stock NULL_BRUSH (not owned).
  HBRUSH Handle();
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  TBrushStyle Style() const { return style_; }
  void SetStyle(TBrushStyle value);
  void Assign(const TPersistent* source) override;

 private:
  void Changed();

  TColor color_ = clWhite;
  TBrushStyle style_ = bsSolid;
  UniqueGdi<HBRUSH> handle_;
};

class TGraphic;

// Drawing on a device context with the canvas's font, pen and brush, which are selected
// into the DC when first needed and deselected when the DC goes. Lock/Unlock serialise
// threads that share a canvas (the GUI thread and a painter).
class TCanvas : public TPersistent {
  FRAMEWORK_CLASS(TCanvas, TPersistent)

 public:
  TCanvas();
  ~TCanvas() override;

  // The DC; a canvas without one asks CreateHandle (a bitmap's canvas makes its memory
  // DC there). Throws Exception when none can be had.
  HDC Handle();
  bool HandleAllocated() const { return handle_ != nullptr; }
  // Uses `dc` (not owned); nullptr deselects the objects and lets the DC go.
  void SetHandle(HDC dc);

  TFont* Font() const { return font_; }
  TPen* Pen() const { return pen_; }
  TBrush* Brush() const { return brush_; }
  DWORD CopyMode() const { return copyMode_; }
  void SetCopyMode(DWORD rop) { copyMode_ = rop; }

  void Lock();
  void Unlock();
  bool TryLock();
  int LockCount() const { return lockCount_; }

  void FillRect(const TRect& rect);
  void FrameRect(const TRect& rect);
  void Rectangle(const TRect& rect);
  void Ellipse(const TRect& rect);
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  void Polyline(const TPoint* points, int count);
  void TextOut(int x, int y, const std::wstring& text);
  void TextRect(const TRect& rect, int x, int y, const std::wstring& text);
  // DrawTextW with the canvas's font; returns the text height.
  int DrawText(const std::wstring& text, TRect& rect, UINT format);
  SIZE TextExtent(const std::wstring& text);
  int TextWidth(const std::wstring& text) { return TextExtent(text).cx; }
  int TextHeight(const std::wstring& text) { return TextExtent(text).cy; }
  COLORREF Pixel(int x, int y);
  void SetPixel(int x, int y, TColor color);
  void Draw(int x, int y, TGraphic* graphic);
  void StretchDraw(const TRect& rect, TGraphic* graphic);
  // Copies `source` of `canvas` to `dest` of this canvas with CopyMode (stretching).
  void CopyRect(const TRect& dest, TCanvas& canvas, const TRect& source);
  TRect ClipRect();
  // Deselects the objects so the next drawing selects them afresh.
  void Refresh();

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  virtual void CreateHandle() {}
  // Before the DC goes away: puts the original objects back.
  void DeselectHandles();
  void Changing();
  void Changed();

 private:
  enum : unsigned { kFontValid = 1, kPenValid = 2, kBrushValid = 4 };
  void RequireState(unsigned what);

  HDC handle_ = nullptr;
  TFont* font_;
  TPen* pen_;
  TBrush* brush_;
  DWORD copyMode_ = SRCCOPY;
  unsigned state_ = 0;
  HGDIOBJ oldFont_ = nullptr, oldPen_ = nullptr, oldBrush_ = nullptr;
  std::recursive_mutex lock_;
  int lockCount_ = 0;
};
