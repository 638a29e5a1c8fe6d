// The free helpers of unit WinSubClass.
#include "skin/controls/WinSubClassHelpers.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "framework/TypInfo.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/SkinElements.h"

namespace {

bool HasProp(const TObject* object, const std::string& name) {
  return object != nullptr && GetPropInfo(object, name) != nullptr;
}

// The unit's start: the atom whose name the framework's control property carries.
struct UnitStart {
  ATOM atom = 0;
  bool nt = false;
  UnitStart() {
    wchar_t name[64];
    swprintf(name, 64, L"ControlOfs%.8X%.8X", static_cast<unsigned>(reinterpret_cast<uintptr_t>(GetModuleHandleW(nullptr))),
             static_cast<unsigned>(GetCurrentThreadId()));
    atom = GlobalAddAtomW(name);
    nt = IsNtPlatform();
  }
  ~UnitStart() {
    if (atom != 0) GlobalDeleteAtom(atom);
  }
};

UnitStart& Unit() {
  static UnitStart unit;
  return unit;
}

// The unit starts with the program, as a unit's initialisation would.
const bool kUnitStarted = (Unit(), true);

}  // namespace

HDC PrepareTextDC(TCanvas* canvas) {
  canvas->TextExtent(L"");  // selects the font and sets its colour
  return canvas->Handle();
}

ATOM ControlAtom() { return Unit().atom; }
bool Win32PlatformIsNT() { return Unit().nt; }

int32_t GetOrdPropByName(const TObject* object, const std::string& name) {
  if (!HasProp(object, name)) return -1;
  try {
    if (PropType(object, name) != TTypeKind::tkInteger) return -1;
    return static_cast<int32_t>(GetOrdProp(object, name));
  } catch (const Exception&) {
    return -1;
  }
}

std::string GetEnumPropByName(const TObject* object, const std::string& name) {
  if (!HasProp(object, name)) return {};
  try {
    switch (PropType(object, name)) {
      case TTypeKind::tkEnumeration: return GetEnumProp(object, name);
      case TTypeKind::tkSet: return GetSetProp(object, name);
      default: return {};
    }
  } catch (const Exception&) {
    return {};
  }
}

std::wstring GetTextPropByName(const TObject* object, const std::string& name) {
  if (!HasProp(object, name)) return {};
  try {
    switch (PropType(object, name)) {
      case TTypeKind::tkWString: return GetWideStrProp(object, name);
      case TTypeKind::tkString: return AnsiToWide(GetStrProp(object, name));
      default: return {};
    }
  } catch (const Exception&) {
    return {};
  }
}

TObject* GetObjectPropByName(const TObject* object, const std::string& name, const TClassInfo& info) {
  if (!HasProp(object, name)) return nullptr;
  try {
    if (PropType(object, name) != TTypeKind::tkClass) return nullptr;
    TObject* value = GetObjectProp(object, name);
    return value != nullptr && value->InheritsFrom(info) ? value : nullptr;
  } catch (const Exception&) {
    return nullptr;
  }
}

void SetPropByName(TObject* object, const std::string& name, const std::string& value) {
  if (!HasProp(object, name)) return;
  try {
    switch (PropType(object, name)) {
      case TTypeKind::tkInteger: {
        char* end = nullptr;
        const long number = std::strtol(value.c_str(), &end, 10);
        if (end != value.c_str() && *end == '\0') SetOrdProp(object, name, number);
        break;
      }
      case TTypeKind::tkEnumeration: SetEnumProp(object, name, value); break;
      case TTypeKind::tkString: SetStrProp(object, name, value); break;
      case TTypeKind::tkWString: SetWideStrProp(object, name, AnsiToWide(value)); break;
      default: break;
    }
  } catch (const Exception&) {
    // A value the property refuses leaves it as it was.
  }
}

std::wstring GetWindowTextWide(HWND window) {
  if (Win32PlatformIsNT()) {
    const int length = GetWindowTextLengthW(window);
    if (length <= 0) return {};
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
    const int got = GetWindowTextW(window, buffer.data(), length + 1);
    return std::wstring(buffer.data(), static_cast<size_t>(std::max(got, 0)));
  }
  char buffer[1000] = {};
  SendMessageA(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
  buffer[sizeof buffer - 1] = '\0';
  return AnsiToWide(buffer);
}

bool IsPopupWindow(HWND window) {
  return (GetWindowLongW(window, GWL_STYLE) & static_cast<LONG>(WS_POPUP)) != 0 ||
         reinterpret_cast<uintptr_t>(GetParent(window)) == 0x10014;
}

HWND FormWindowOf(HWND window) {
  if (window == nullptr || !IsWindow(window)) return nullptr;
  for (HWND w = GetAncestor(window, GA_PARENT); w != nullptr && w != GetDesktopWindow(); w = GetAncestor(w, GA_PARENT)) {
    const LONG style = GetWindowLongW(w, GWL_STYLE);
    const LONG exStyle = GetWindowLongW(w, GWL_EXSTYLE);
    if ((style & WS_CHILD) == 0 || (exStyle & WS_EX_MDICHILD) != 0) return w;
  }
  return nullptr;
}

void CopyBitmap(TBitmap* source, TBitmap* dest) {
  if (source == nullptr || dest == nullptr) return;
  dest->SetPixelFormat(source->PixelFormat());
  dest->SetSize(source->Width(), source->Height());
  if (source->Empty()) return;
  dest->Canvas()->Draw(0, 0, source);
}

void DrawElementFrame(TControl*, HDC dc, const RECT& rect, int frameCount, int frameIndex,
                      const TDataSkinObject* element) {
  if (rect.right < rect.left || rect.bottom < rect.top) return;
  if (element == nullptr || element->Bitmap == nullptr || element->Bitmap->Empty()) return;
  std::unique_ptr<TBitmap> image = BuildNineSlice(rect, element->Bitmap.get(), element->Margins, false,
                                                  element->Tile != 0, frameCount, frameIndex);
  if (!image) return;
  const RECT target = rect;
  if (element->Trans == 1) {
    TransparentBlit(dc, target, image.get(), static_cast<TColor>(kSkinKeyColour));
  } else {
    BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, image->Canvas()->Handle(), 0,
           0, SRCCOPY);
  }
}

namespace {

// Cell `cellIndex` of the strip as a bitmap of the target's size.
std::unique_ptr<TBitmap> StretchedCell(const RECT& rect, int cellCount, int cellIndex, TBitmap* bitmap) {
  if (rect.right < rect.left || rect.bottom < rect.top) return nullptr;
  if (bitmap == nullptr || bitmap->Empty() || rect.right == rect.left || rect.bottom == rect.top) return nullptr;
  cellCount = std::max(cellCount, 1);
  cellIndex = std::clamp(cellIndex, 1, cellCount);
  const int cellWidth = bitmap->Width() / cellCount;
  if (cellWidth <= 0) return nullptr;
  auto cell = std::make_unique<TBitmap>(rect.right - rect.left, rect.bottom - rect.top, pf24bit);
  HDC target = cell->Canvas()->Handle();
  SetStretchBltMode(target, COLORONCOLOR);
  StretchBlt(target, 0, 0, cell->Width(), cell->Height(), bitmap->Canvas()->Handle(), (cellIndex - 1) * cellWidth, 0,
             cellWidth, bitmap->Height(), SRCCOPY);
  return cell;
}

}  // namespace

void DrawStripCell(TControl*, TCanvas* canvas, const RECT& rect, int cellCount, int cellIndex, TBitmap* bitmap) {
  if (canvas == nullptr) return;
  std::unique_ptr<TBitmap> cell = StretchedCell(rect, cellCount, cellIndex, bitmap);
  if (!cell) return;
  cell->SetTransparentColor(static_cast<TColor>(kSkinKeyColour));
  cell->SetTransparent(true);
  canvas->Draw(rect.left, rect.top, cell.get());
}

void DrawStripCellDC(TControl* control, HDC dc, const RECT& rect, int cellCount, int cellIndex, TBitmap* bitmap) {
  TCanvas canvas;
  canvas.SetHandle(dc);
  DrawStripCell(control, &canvas, rect, cellCount, cellIndex, bitmap);
  canvas.SetHandle(nullptr);
}

void DrawStripCellBlit(TControl*, HDC dc, const RECT& rect, int cellCount, int cellIndex, TBitmap* bitmap) {
  std::unique_ptr<TBitmap> cell = StretchedCell(rect, cellCount, cellIndex, bitmap);
  if (!cell) return;
  TransparentBlit(dc, rect, cell.get(), static_cast<TColor>(kSkinKeyColour));
}

UINT RightToLeftFlag(const TControl* control, UINT flags, const TControl* companion) {
  auto rightToLeft = [](const TControl* c) {
    if (c == nullptr) return false;
    std::string mode = GetEnumPropByName(c, "BiDiMode");
    std::transform(mode.begin(), mode.end(), mode.begin(), [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
    return mode == "bdrighttoleft";
  };
  return rightToLeft(control) || rightToLeft(companion) ? flags | DT_RTLREADING : flags;
}

// The text is placed by its measured size but clipped to `rect`, not to the measured width:
// Wine draws a mixed Latin/CJK text in its linked substitute font a few pixels wider than it
// measures it, which would cut the last character off.
void DrawCaptionText(TControl* control, TCanvas* canvas, const RECT& rect, UINT alignment, bool enabled,
                     const std::wstring& text) {
  if (canvas == nullptr) return;
  canvas->Font()->SetStyle({});
  HDC dc = PrepareTextDC(canvas);
  SetBkMode(dc, TRANSPARENT);
  RECT measured = rect;
  DrawSkinText(dc, text, measured, DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | alignment);
  const int width = measured.right - measured.left;
  const int height = measured.bottom - measured.top;
  RECT target = rect;
  if (alignment == DT_CENTER) target.left = rect.left + (rect.right - rect.left - width) / 2;
  else if (alignment & DT_RIGHT) target.left = rect.right - width;
  target.right = target.left + width;
  target.top = rect.top + (rect.bottom - rect.top - height) / 2;
  target.bottom = target.top + height;
  const COLORREF oldColour = enabled ? GetTextColor(dc) : SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
  DrawSkinText(dc, text, target, RightToLeftFlag(control, alignment | DT_EXPANDTABS | DT_NOCLIP));
  RestoreDC(dc, saved);
  SetTextColor(dc, oldColour);
}

void LayOutImageAndText(TControl* control, TCanvas* canvas, const RECT& rect, int alignment,
                        const std::wstring& text, SIZE imageSize, bool enabled,
                        const std::function<void(HDC dc, int x, int y)>& drawImage) {
  if (canvas == nullptr) return;
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  const int imageWidth = imageSize.cx > 0 ? imageSize.cx + 2 : 0;
  HDC dc = PrepareTextDC(canvas);
  SetBkMode(dc, TRANSPARENT);
  RECT measured{0, 0, std::max(width - imageWidth, 0), height};
  DrawSkinText(dc, text, measured, DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_WORDBREAK | DT_END_ELLIPSIS);
  const int textWidth = std::min<int>(measured.right - measured.left, width - imageWidth);
  const int textHeight = measured.bottom - measured.top;
  int indent = 3;
  if (alignment == 1) indent = (width - imageWidth - textWidth) / 2;
  if (alignment == 2) indent = width - imageWidth - textWidth - 2;
  indent = std::max(indent, 1);
  int x = rect.left + indent;
  if (imageWidth > 0) {
    drawImage(dc, x, rect.top + (height - imageSize.cy) / 2);
    x += imageWidth;
  }
  // To the area's edge, not the measured width: Wine draws mixed CJK and Latin a little
  // wider than it measures, and the last word would wrap out of sight.
  RECT textRect{x, rect.top + (height - textHeight) / 2, rect.right, 0};
  textRect.bottom = std::min<LONG>(textRect.top + textHeight, rect.bottom);
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
  if (!enabled) SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
  DrawSkinText(dc, text, textRect, RightToLeftFlag(control, DT_EXPANDTABS | DT_WORDBREAK | DT_END_ELLIPSIS));
  RestoreDC(dc, saved);
}

void DrawImageAndText(TControl* control, TCanvas* canvas, const RECT& rect, int alignment, const std::wstring& text,
                      int imageIndex, TImageList* images) {
  if (canvas == nullptr) return;
  const bool withImage = imageIndex != -1 && images != nullptr && imageIndex < images->Count() &&
                         images->Width() < rect.right - rect.left;
  const SIZE imageSize = withImage ? SIZE{images->Width(), images->Height()} : SIZE{0, 0};
  const bool enabled = control == nullptr || control->Enabled();
  LayOutImageAndText(control, canvas, rect, alignment, text, imageSize, enabled,
                     [&](HDC, int x, int y) { images->Draw(*canvas, x, y, imageIndex, enabled); });
}

void DrawCentredText(TCanvas* canvas, const RECT& rect, const std::wstring& text, int alignIndex, bool enabled) {
  if (canvas == nullptr) return;
  static constexpr UINT kFlags[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  const UINT flag = alignIndex >= 0 && alignIndex <= 2 ? kFlags[alignIndex] : DT_LEFT;
  canvas->Brush()->SetStyle(bsClear);
  canvas->Font()->SetStyle({});
  if (!enabled) canvas->Font()->SetColor(clBtnShadow);
  HDC dc = PrepareTextDC(canvas);
  SetBkMode(dc, TRANSPARENT);
  RECT measured = rect;
  DrawSkinText(dc, text, measured, flag | DT_SINGLELINE | DT_EXPANDTABS | DT_CALCRECT | DT_NOCLIP);
  const int dx = ((rect.right - rect.left) - (measured.right - measured.left)) / 2;
  const int dy = ((rect.bottom - rect.top) - (measured.bottom - measured.top)) / 2;
  OffsetRect(&measured, dx, dy);
  // Unclipped to the measured width (Wine draws mixed CJK and Latin a little wider than
  // it measures), but never past the area.
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
  DrawSkinText(dc, text, measured, flag | DT_SINGLELINE | DT_EXPANDTABS | DT_NOCLIP);
  RestoreDC(dc, saved);
}

void DrawSmallArrow(TCanvas* canvas, int x, int y, int direction) {
  if (canvas == nullptr) return;
  struct Segment {
    int x1, y1, x2, y2;
  };
  auto lines = [&](const std::vector<Segment>& segments) {
    for (const Segment& s : segments) {
      canvas->MoveTo(s.x1, s.y1);
      canvas->LineTo(s.x2, s.y2);
    }
  };
  switch (direction) {
    case 0:
      lines({{x, y, x, y - 1}, {x + 1, y + 1, x + 4, y + 4}, {x, y + 1, x + 3, y + 4}, {x, y + 2, x + 2, y + 4},
             {x - 1, y + 1, x - 4, y + 4}, {x, y + 2, x - 3, y + 4}, {x, y + 1, x - 2, y + 4}});
      break;
    case 1:
      lines({{x, y + 3, x, y + 4}, {x + 1, y + 2, x + 4, y - 1}, {x, y + 2, x + 3, y - 1}, {x, y + 1, x + 2, y},
             {x - 1, y + 2, x - 4, y - 1}, {x, y + 2, x - 3, y - 1}, {x, y + 1, x - 2, y}});
      break;
    case 2:
    case 3: {
      const int s = direction == 2 ? 1 : -1;
      const TPoint points[] = {{x, y}, {x + s, y + 2}, {x + s, y - 2}, {x - s, y}, {x + s, y + 2}};
      canvas->Polyline(points, 5);
      break;
    }
    default: break;
  }
}
