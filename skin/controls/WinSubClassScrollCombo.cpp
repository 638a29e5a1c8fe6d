// TComboxScrollBar: the vertical bar of a combo box's drop-down list, painted straight
// into the list's window DC (the list is a pop-up: an overlay could not follow it), with
// its own thumb drag, since the list's native thumb tracking would repaint the plain bar.
#include "skin/controls/WinSubClassScroll.h"

#include <algorithm>

#include "framework/Bitmap.h"
#include "framework/ClassBuilder.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"

namespace {
// A list box message after which the list's bar is repainted as well.
constexpr UINT kListRepaintMessage = 0x1AE;
}  // namespace

const TClassInfo& TComboxScrollBar::StaticClass() {
  static const TClassInfo info = TClassBuilder<TComboxScrollBar>("TComboxScrollBar", &Inherited::StaticClass()).Build();
  return info;
}

void TComboxScrollBar::InitSkinHandle(HWND handle, TSkinData* skinData, TSkinControlList* form, TCanvas* canvas) {
  ArrowSize = GetSystemMetrics(SM_CXHSCROLL);
  TSkinControl::InitSkinHandle(handle, skinData, form, canvas);
}

void TComboxScrollBar::PaintWindow(HDC) {
  // The bar lies in the non-client area: always paint through the window DC.
  if (Handle == nullptr) return;
  RECT rect{};
  if (!GetWindowRect(Handle, &rect)) return;
  OffsetRect(&rect, -rect.left, -rect.top);
  HDC dc = GetWindowDC(Handle);
  if (dc == nullptr) return;
  try {
    DrawSkin(dc, rect);
  } catch (...) {
  }
  ReleaseDC(Handle, dc);
}

void TComboxScrollBar::DrawSkin(HDC dc, const RECT& rect) {
  TScrollGeometry geometry;
  if (!BuiltInBarGeometry(Handle, true, geometry)) return;
  RECT window{};
  GetWindowRect(Handle, &window);
  TScrollPaintInput input;
  input.Kind = kBarVertical;
  input.Vertical = true;
  input.ArrowSize = ArrowSize;
  input.NoStates = true;
  input.Target = {rect.right - rect.left, rect.bottom - rect.top};
  int32_t length = 0;
  std::unique_ptr<TBitmap> image = BuildScrollBarImage(SkinData, geometry, input, ThumbStart, ThumbEnd, length);
  if (!image) return;
  BarLength = length;
  BitBlt(dc, geometry.Bar.left - window.left, geometry.Bar.top - window.top, image->Width(), image->Height(),
         image->Canvas()->Handle(), 0, 0, SRCCOPY);
}

bool TComboxScrollBar::BeforeProc(TMessage& message) {
  switch (message.Msg) {
    case WM_NCPAINT:
      return true;
    case WM_NCMOUSEMOVE:
      // The platform does no hot tracking on the bar; nothing to repaint plain.
      if (message.WParam == HTVSCROLL || message.WParam == HTHSCROLL) {
        message.Result = 0;
        return false;
      }
      return true;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:  // a quick second press on the thumb drags as well
      if (message.WParam == HTVSCROLL && DragThumb(message.LParam)) {
        message.Result = 0;
        return false;
      }
      return true;
    default:
      return TSkinControl::BeforeProc(message);
  }
}

void TComboxScrollBar::AfterProc(TMessage& message) {
  switch (message.Msg) {
    case WM_NCPAINT:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case kListRepaintMessage:
      PaintWindow(nullptr);
      return;
    default:
      TSkinControl::AfterProc(message);
  }
}

int32_t TComboxScrollBar::PositionForThumb(int32_t offset, int32_t track, int32_t thumbLength, const SCROLLINFO& info) {
  int32_t n = std::max(offset, 0);
  int32_t position = info.nMin;
  if (info.nPage != 0) {
    const int32_t free = track - thumbLength;
    if (free <= 0) return info.nMin;
    if (n > free) n = free + 1;
    const int32_t page = static_cast<int32_t>(info.nPage);
    position = info.nMin + MulDiv(n, info.nMax - info.nMin - page, free);
    if (position >= info.nMax - page) position = info.nMax - page + 1;
  } else {
    if (track <= 0) return info.nMin;
    position = info.nMin + MulDiv(std::min(n, track - thumbLength), info.nMax - info.nMin, track);
    position = std::min(position, info.nMax);
  }
  return std::max(position, info.nMin);
}

bool TComboxScrollBar::DragThumb(LPARAM lParam) {
  SCROLLBARINFO bar{};
  bar.cbSize = sizeof bar;
  if (!SafeGetScrollBarInfo(Handle, OBJID_VSCROLL, &bar)) return false;
  const int32_t a = static_cast<int16_t>(HIWORD(lParam)) - bar.rcScrollBar.top;
  if (a < bar.xyThumbTop || a > bar.xyThumbBottom) return false;
  SetCapture(Handle);
  // Distances are measured between the points the mouse messages carry (the press's own
  // point first), not from the cursor now: input that is already queued is then followed
  // step by step.
  const int32_t startY = static_cast<int16_t>(HIWORD(lParam));
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  GetScrollInfo(Handle, SB_VERT, &info);
  const int32_t start = bar.xyThumbTop - ArrowSize;
  const int32_t track = (bar.rcScrollBar.bottom - bar.rcScrollBar.top) - 2 * ArrowSize;
  const int32_t thumbLength = bar.xyThumbBottom - bar.xyThumbTop;
  int32_t position = info.nPos;
  const HWND list = Handle;
  for (;;) {
    // The capture went elsewhere (the list closed): the drag is over.
    if (GetCapture() != list || !IsWindow(list)) break;
    MSG msg{};
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      // Not WaitMessage: input already queued but seen by an earlier peek would never
      // wake it.
      MsgWaitForMultipleObjectsEx(0, nullptr, 50, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
      continue;
    }
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (msg.message == WM_NCMOUSEMOVE || msg.message == WM_MOUSEMOVE) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
      const int32_t wanted = PositionForThumb(start + (msg.pt.y - startY), track, thumbLength, info);
      if (wanted != position) {
        SendMessageW(list, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, wanted), 0);
        position = wanted;
      }
    } else if (msg.message == WM_NCLBUTTONUP || msg.message == WM_LBUTTONUP) {
      SendMessageW(list, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, position), 0);
      PostMessageW(list, WM_VSCROLL, SB_ENDSCROLL, 0);
      break;
    } else {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  if (GetCapture() == list) ReleaseCapture();
  return true;
}

