// TWScrollbar: the overlay over one native scroll bar: geometry, placement, hit-testing,
// the press handed to the native bar, and the painting of the skinned bar from the
// Scrollbar strip (23 cells), the track and thumb elements.
#include "skin/controls/WinSubClassScroll.h"

#include <algorithm>

#include "framework/Bitmap.h"
#include "framework/ResourceCount.h"
#include "skin/controls/WinSubClassHelpers.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"

namespace {

constexpr wchar_t kOverlayClass[] = L"PtestSkinScrollbar";
constexpr int kStripCells = 23;
constexpr int kMinimumThumb = 8;
constexpr int32_t kNoRange = 9999999;

// Strip cells (1-based): the normal cell of each arrow and grip; +1 pressed, +3 hot for
// arrows, +1 pressed, +2 hot for grips.
constexpr int kCellLeft = 1;
constexpr int kCellRight = 5;
constexpr int kCellUp = 9;
constexpr int kCellDown = 13;
constexpr int kCellGripH = 17;
constexpr int kCellGripV = 20;

void RegisterOverlayClass() {
  static bool registered = false;
  if (registered) return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.lpszClassName = kOverlayClass;
  registered = RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

}  // namespace

// ---- Geometry ----

bool BuiltInBarGeometry(HWND host, bool vertical, TScrollGeometry& geometry) {
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  if (host == nullptr || !SafeGetScrollBarInfo(host, vertical ? OBJID_VSCROLL : OBJID_HSCROLL, &info)) return false;
  geometry.Bar = info.rcScrollBar;
  geometry.ThumbTop = info.xyThumbTop;
  geometry.ThumbBottom = info.xyThumbBottom;
  geometry.State = info.rgstate[0];
  return true;
}

bool ControlBarGeometry(HWND host, bool vertical, int arrowSize, bool minimumThumb, TScrollGeometry& geometry) {
  if (host == nullptr || !GetWindowRect(host, &geometry.Bar)) return false;
  const int barLength = vertical ? Height(geometry.Bar) : Width(geometry.Bar);
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  if (!GetScrollInfo(host, SB_CTL, &info)) return false;
  const int32_t range = info.nMax == info.nMin ? kNoRange : info.nMax - info.nMin;
  const int usable = barLength - 2 * arrowSize;
  const int offset = info.nPos - info.nMin;
  int size = 0;
  int start = arrowSize;
  if (info.nPage != 0) {
    size = MulDiv(usable, static_cast<int>(info.nPage) - 1, range);
    if (size > kMinimumThumb - 1 || !minimumThumb) {
      if (offset != 0) start = arrowSize + MulDiv(usable, offset, range);
    } else {
      size = kMinimumThumb;
      if (offset != 0) start = arrowSize + MulDiv(usable - kMinimumThumb, offset, range);
    }
  } else {
    size = arrowSize;
    if (offset != 0) start = arrowSize + MulDiv(barLength - 3 * arrowSize, offset, range);
  }
  geometry.ThumbTop = start;
  geometry.ThumbBottom = start + size;
  geometry.State = 0;
  return true;
}

// ---- Painting ----

std::unique_ptr<TBitmap> BuildScrollBarImage(TSkinData* skinData, const TScrollGeometry& geometry,
                                             const TScrollPaintInput& input, int32_t& thumbStart,
                                             int32_t& thumbEnd, int32_t& barLength) {
  if (skinData == nullptr || !skinData->Scrollbar || skinData->Scrollbar->Bitmap == nullptr) return nullptr;
  TBitmap* strip = skinData->Scrollbar->Bitmap.get();
  if (strip->Width() < kStripCells || strip->Height() <= 0) return nullptr;
  // 1.
  if ((geometry.State & STATE_SYSTEM_INVISIBLE) != 0) return nullptr;
  const bool enabled = (geometry.State & STATE_SYSTEM_UNAVAILABLE) == 0;
  // 2.
  RECT r = geometry.Bar;
  OffsetRect(&r, -r.left, -r.top);
  if (r.right < 0 || r.bottom < 0 || r.right > input.Target.cx || r.bottom > input.Target.cy) return nullptr;
  const bool vertical = input.Vertical;
  barLength = vertical ? r.bottom : r.right;
  const int arrow = input.ArrowSize;
  // 3.
  const int stripHeight = strip->Height();
  const int thickness = std::abs(stripHeight - arrow) <= 2 ? stripHeight : arrow;
  // 4.
  int bitmapWidth = r.right;
  int bitmapHeight = r.bottom;
  if (input.Kind == kBarControl) {
    bitmapWidth = vertical ? thickness : barLength;
    bitmapHeight = vertical ? barLength : thickness;
  }
  if (bitmapWidth <= 0 || bitmapHeight <= 0) return nullptr;
  auto image = std::make_unique<TBitmap>(bitmapWidth, bitmapHeight, pf24bit);
  HDC dc = image->Canvas()->Handle();
  if (dc == nullptr) return nullptr;
  SetStretchBltMode(dc, COLORONCOLOR);
  {
    const RECT all{0, 0, bitmapWidth, bitmapHeight};
    HBRUSH face = CreateSolidBrush(ColorToRGB(skinData->ButtonFaceColour));
    FillRect(dc, &all, face);
    DeleteObject(face);
  }
  if (vertical)
    r.right = thickness;
  else
    r.bottom = thickness;
  // 5. The track between the arrows.
  const TDataSkinObject* track = vertical ? skinData->VertScroll.get() : skinData->HorzScroll.get();
  if (track != nullptr && track->Bitmap != nullptr) {
    RECT t = r;
    if (vertical) {
      t.top += arrow;
      t.bottom -= arrow;
    } else {
      t.left += arrow;
      t.right -= arrow;
    }
    if (Width(t) > 0 && Height(t) > 0)
      DrawNineSlice(dc, t, track->Bitmap.get(), false, track->Tile != 0, track->Trans != 0, 4, enabled ? 1 : 3,
                    track->Margins);
  }
  // 6. The arrows.
  const int a = barLength < 2 * arrow ? barLength / 2 : arrow;
  auto arrowCell = [&](int normal, int part) {
    if (input.NoStates || input.HotPart != part) return normal;
    return input.Pressed ? normal + 1 : normal + 3;
  };
  RECT first = vertical ? RECT{0, 0, thickness, a} : RECT{0, 0, a, thickness};
  RECT second = vertical ? RECT{0, barLength - a, thickness, barLength} : RECT{barLength - a, 0, barLength, thickness};
  if (a > 0) {
    DrawStripCellBlit(nullptr, dc, first, kStripCells, arrowCell(vertical ? kCellUp : kCellLeft, kPartFirstArrow), strip);
    DrawStripCellBlit(nullptr, dc, second, kStripCells, arrowCell(vertical ? kCellDown : kCellRight, kPartSecondArrow),
                      strip);
  }
  // 7. The thumb, following the cursor while it is held.
  const int thumbLength = geometry.ThumbBottom - geometry.ThumbTop;
  if (input.Pressed && input.HotPart == kPartThumb && input.Kind != kBarControl && !input.NoStates) {
    const int moved = vertical ? input.Cursor.y - input.DragCursor.y : input.Cursor.x - input.DragCursor.x;
    int start = input.DragThumbStart + moved;
    start = std::min(start, barLength - arrow - thumbLength);
    start = std::max(start, arrow);
    thumbStart = start;
  } else {
    thumbStart = geometry.ThumbTop;
  }
  thumbEnd = thumbStart + thumbLength;
  // 8.
  const int extent = vertical ? bitmapHeight : bitmapWidth;
  if (enabled && thumbLength > 0 && thumbStart >= 0 && thumbEnd <= extent) {
    const TDataSkinObject* thumb = vertical ? skinData->VertScrollThumb.get() : skinData->HorzScrollThumb.get();
    const bool hot = !input.NoStates && input.HotPart == kPartThumb;
    const int frame = hot ? (input.Pressed ? 2 : 3) : 1;
    const RECT t = vertical ? RECT{0, thumbStart, thickness, thumbEnd} : RECT{thumbStart, 0, thumbEnd, thickness};
    if (thumb != nullptr && thumb->Bitmap != nullptr)
      DrawNineSlice(dc, t, thumb->Bitmap.get(), false, false, thumb->Trans != 0,
                    thumb->FrameCount > 0 ? thumb->FrameCount : 1, frame, thumb->Margins);
    // 9. The grip in the middle of a thumb long enough for it.
    if (stripHeight < thumbLength + 2) {
      const int gripStart = thumbStart + (thumbLength - stripHeight) / 2;
      const RECT grip = vertical ? RECT{0, gripStart, thickness, gripStart + stripHeight}
                                 : RECT{gripStart, 0, gripStart + stripHeight, thickness};
      const int cell = (vertical ? kCellGripV : kCellGripH) + (hot ? (input.Pressed ? 1 : 2) : 0);
      if (gripStart >= 0 && gripStart + stripHeight <= extent)
        DrawStripCellBlit(nullptr, dc, grip, kStripCells, cell, strip);
    }
  }
  return image;
}

// ---- The overlay window ----

TWScrollbar::TWScrollbar(TSkinControl* ownerSkin) : ArrowSize(GetSystemMetrics(SM_CXHSCROLL)), OwnerSkin(ownerSkin) {}

TWScrollbar::~TWScrollbar() {
  *alive_ = false;
  // WM_NCDESTROY forgets the window (also when its parent took it down first).
  if (window_ != nullptr && IsWindow(window_)) DestroyWindow(window_);
  window_ = nullptr;
}

void TWScrollbar::MakeWindow(HWND parent) {
  if (window_ != nullptr || parent == nullptr) return;
  RegisterOverlayClass();
  window_ = CreateWindowExW(WS_EX_TOOLWINDOW, kOverlayClass, L"", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent,
                            nullptr, GetModuleHandleW(nullptr), nullptr);
  if (window_ == nullptr) return;
  ResourceCreated(TResourceKind::Window);
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TWScrollbar::WindowProc));
}

void TWScrollbar::Place(TSkinControl* ownerSkin, TControl* hostControl, uint8_t kind) {
  OwnerSkin = ownerSkin;
  HostControl = hostControl;
  auto* win = dynamic_cast<TWinControl*>(hostControl);
  Host = win != nullptr && win->HandleAllocated() ? win->Handle() : nullptr;
  Kind = kind;
  if (kind == kBarControl)
    Vertical = GetEnumPropByName(hostControl, "Kind") == "sbHorizontal" ||
                       GetEnumPropByName(hostControl, "Kind") == "sbhorizontal"
                   ? 0
                   : 1;
  else
    Vertical = kind;
  MakeWindow(GetParent(Host));
  Reposition(Host);
}

void TWScrollbar::PlaceRaw(TSkinControl* ownerSkin, HWND host, uint8_t kind) {
  OwnerSkin = ownerSkin;
  HostControl = nullptr;
  Host = host;
  Kind = kind;
  if (kind == kBarControl)
    Vertical = (GetWindowLongW(host, GWL_STYLE) & SBS_VERT) != 0 ? 1 : 0;
  else
    Vertical = kind;
  MakeWindow(GetParent(Host));
  Reposition(Host);
}

void TWScrollbar::HideBar() {
  if (window_ != nullptr) ShowWindow(window_, SW_HIDE);
  Shown = 0;
}

void TWScrollbar::Invalidate() {
  if (window_ != nullptr && Shown) InvalidateRect(window_, nullptr, FALSE);
}

void TWScrollbar::SetEnabled(bool enabled) {
  if (window_ != nullptr) EnableWindow(window_, enabled ? TRUE : FALSE);
}

bool TWScrollbar::FetchGeometry(TScrollGeometry& geometry, bool minimumThumb) const {
  if (Kind == kBarControl) return ControlBarGeometry(Host, Vertical != 0, ArrowSize, minimumThumb, geometry);
  return BuiltInBarGeometry(Host, Kind == kBarVertical, geometry);
}

void TWScrollbar::Reposition(HWND host) {
  if (host != nullptr) Host = host;
  if (window_ == nullptr || Host == nullptr) return;
  TScrollGeometry geometry;
  if (!FetchGeometry(geometry)) {
    HideBar();
    return;
  }
  if ((GetWindowLongW(Host, GWL_STYLE) & WS_VISIBLE) == 0 || (geometry.State & STATE_SYSTEM_INVISIBLE) != 0) {
    HideBar();
    return;
  }
  const RECT& bar = geometry.Bar;
  POINT corners[2] = {{bar.left, bar.top}, {bar.right, bar.bottom}};
  ScreenToClient(Host, &corners[0]);
  ScreenToClient(Host, &corners[1]);
  BarClientRect = {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
  BarLength = Vertical ? Height(bar) : Width(bar);
  BarOrigin = {bar.left, bar.top};
  POINT position{bar.left, bar.top};
  ScreenToClient(GetParent(window_), &position);
  Shown = 1;
  ShowWindow(window_, SW_SHOWNA);
  HWND above = GetWindow(Host, GW_HWNDPREV);
  UINT flags = SWP_NOACTIVATE;
  if (above == window_) flags |= SWP_NOZORDER;
  SetWindowPos(window_, above != nullptr ? above : HWND_TOP, position.x, position.y, Width(bar), Height(bar), flags);
  MoveWindow(window_, position.x, position.y, Width(bar), Height(bar), TRUE);
}

int32_t TWScrollbar::HitTest(POINT point) const {
  const int a = Vertical ? point.y : point.x;
  if (a < ArrowSize) return kPartFirstArrow;
  if (a < ThumbStart) return kPartPageBefore;
  if (a < ThumbEnd) return kPartThumb;
  if (a < BarLength - ArrowSize) return kPartPageAfter;
  return kPartSecondArrow;
}

LRESULT CALLBACK TWScrollbar::WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<TWScrollbar*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, msg, wParam, lParam);
  try {
    return self->HandleMessage(msg, wParam, lParam);
  } catch (...) {
    return 0;
  }
}

LRESULT TWScrollbar::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT paint{};
      HDC dc = BeginPaint(window_, &paint);
      if (dc != nullptr) Paint(dc);
      EndPaint(window_, &paint);
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_MOUSEMOVE: {
      const POINT point{static_cast<int16_t>(LOWORD(lParam)), static_cast<int16_t>(HIWORD(lParam))};
      const int32_t part = HitTest(point);
      if (part != HotPart) {
        HotPart = part;
        Invalidate();
      }
      TrackMouseLeave(window_);
      return 0;
    }
    case WM_MOUSELEAVE:
      if (!Pressed) {
        HotPart = kPartNone;
        Invalidate();
      }
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      OnButtonDown(lParam);
      return 0;
    case WM_LBUTTONUP:
      OnButtonUp(lParam);
      return 0;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_NCDESTROY: {
      const HWND window = window_;
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      window_ = nullptr;
      Shown = 0;
      ResourceFreed(TResourceKind::Window);
      return DefWindowProcW(window, msg, wParam, lParam);
    }
    default:
      return DefWindowProcW(window_, msg, wParam, lParam);
  }
}

void TWScrollbar::OnButtonDown(LPARAM lParam) {
  GetCursorPos(&DragCursor);
  TScrollGeometry geometry;
  if (FetchGeometry(geometry, false)) DragThumbStart = geometry.ThumbTop;
  POINT point{static_cast<int16_t>(LOWORD(lParam)), static_cast<int16_t>(HIWORD(lParam))};
  HotPart = HitTest(point);
  if (Kind != kBarControl) {
    BarOrigin = {geometry.Bar.left, geometry.Bar.top};
    point.x += BarOrigin.x;
    point.y += BarOrigin.y;
  }
  Pressed = 1;
  Invalidate();
  ReleaseCapture();
  const HWND host = Host;
  // The native bar runs its own tracking loop and returns when the button is released.
  // Anything may happen inside it (skinning stopped by a timer frees this overlay).
  const std::shared_ptr<bool> alive = alive_;
  if (Kind == kBarVertical)
    SendMessageW(host, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(point.x, point.y));
  else if (Kind == kBarHorizontal)
    SendMessageW(host, WM_NCLBUTTONDOWN, HTHSCROLL, MAKELPARAM(point.x, point.y));
  else
    SendMessageW(host, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
  if (!*alive) return;
  Pressed = 0;
  ReleaseCapture();
  Invalidate();
}

void TWScrollbar::OnButtonUp(LPARAM lParam) {
  Pressed = 0;
  ReleaseCapture();
  POINT point{static_cast<int16_t>(LOWORD(lParam)), static_cast<int16_t>(HIWORD(lParam))};
  if (Kind == kBarControl) {
    PostMessageW(Host, WM_LBUTTONUP, MK_LBUTTON, MAKELPARAM(point.x, point.y));
  } else {
    point.x += BarOrigin.x;
    point.y += BarOrigin.y;
    PostMessageW(Host, WM_NCLBUTTONUP, Kind == kBarVertical ? HTVSCROLL : HTHSCROLL, MAKELPARAM(point.x, point.y));
  }
  Invalidate();
}

void TWScrollbar::Paint(HDC dc) {
  if (dc == nullptr || OwnerSkin == nullptr) return;
  TScrollGeometry geometry;
  if (!FetchGeometry(geometry)) return;
  RECT client{};
  GetClientRect(window_, &client);
  TScrollPaintInput input;
  input.Kind = Kind;
  input.Vertical = Vertical != 0;
  input.ArrowSize = ArrowSize;
  input.HotPart = HotPart;
  input.Pressed = Pressed != 0;
  input.DragCursor = DragCursor;
  input.DragThumbStart = DragThumbStart;
  GetCursorPos(&input.Cursor);
  input.Target = {client.right, client.bottom};
  int32_t length = BarLength;
  std::unique_ptr<TBitmap> image =
      BuildScrollBarImage(OwnerSkin->SkinData, geometry, input, ThumbStart, ThumbEnd, length);
  if (!image) return;
  BarLength = length;
  HDC source = image->Canvas()->Handle();
  if (Kind == kBarControl) {
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, 0, 0, client.right, client.bottom, source, 0, 0, image->Width(), image->Height(), SRCCOPY);
  } else {
    BitBlt(dc, 0, 0, image->Width(), image->Height(), source, 0, 0, SRCCOPY);
  }
}
