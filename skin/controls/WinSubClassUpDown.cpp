// TSkinUpDown: messages and painting.
#include "skin/controls/WinSubClassUpDown.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/ClassBuilder.h"
#include "skin/controls/WinSubClassHasImage.h"
#include "skin/controls/WinSubClassHelpers.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"

namespace {

// The two halves of `rect`: left/right when horizontal, else top/bottom (truncated).
void SplitHalves(const RECT& rect, bool horizontal, RECT halves[2]) {
  halves[0] = rect;
  halves[1] = rect;
  if (horizontal) {
    const int middle = rect.left + (rect.right - rect.left) / 2;
    halves[0].right = middle;
    halves[1].left = middle;
  } else {
    const int middle = rect.top + (rect.bottom - rect.top) / 2;
    halves[0].bottom = middle;
    halves[1].top = middle;
  }
}

}  // namespace

const TClassInfo& TSkinUpDown::StaticClass() {
  static const TClassInfo info = TClassBuilder<TSkinUpDown>("TSkinUpDown", &Inherited::StaticClass()).Build();
  return info;
}

bool TSkinUpDown::Horizontal() const {
  return HorzMode == 1 || (GetWindowLongX(Handle, GWL_STYLE) & UDS_HORZ) != 0;
}

int TSkinUpDown::HalfAt(int x, int y) const {
  RECT client{};
  if (!GetClientRect(Handle, &client)) return -1;
  const POINT point{x, y};
  if (!PtInRect(&client, point)) return -1;
  RECT halves[2];
  SplitHalves(client, Horizontal(), halves);
  return PtInRect(&halves[0], point) ? 0 : 1;
}

int TSkinUpDown::HalfState(int half) const {
  if (!Enabled) return 3;
  if ((MouseState & kMousePressed) && PressedHalf == half) return 2;
  if (HotHalf == half) return 4;
  return 1;
}

bool TSkinUpDown::BeforeProc(TMessage& message) {
  switch (message.Msg) {
    case WM_PAINT:
      PaintReplace(message);
      return false;
    case WM_ERASEBKGND:
      if (Control == nullptr) {
        RECT client{};
        GetClientRect(Handle, &client);
        HBRUSH white = CreateSolidBrush(0xFFFFFF);
        FillRect(reinterpret_cast<HDC>(message.WParam), &client, white);
        DeleteObject(white);
      }
      message.Result = 1;
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      CallOldProc(message);
      PressedHalf = HalfAt(static_cast<int16_t>(LOWORD(message.LParam)), static_cast<int16_t>(HIWORD(message.LParam)));
      MouseState |= kMousePressed;
      PaintWindow(nullptr);
      return false;
    case WM_LBUTTONUP:
      MouseState &= static_cast<uint8_t>(~kMousePressed);
      PressedHalf = -1;
      CallOldProc(message);
      PaintWindow(nullptr);
      return false;
    default:
      return TSkinControl::BeforeProc(message);
  }
}

void TSkinUpDown::AfterProc(TMessage& message) {
  switch (message.Msg) {
    case WM_MOUSEMOVE: {
      const int half = HalfAt(static_cast<int16_t>(LOWORD(message.LParam)), static_cast<int16_t>(HIWORD(message.LParam)));
      TrackMouseLeave(Handle);
      if (half != HotHalf) {
        HotHalf = half;
        PaintWindow(nullptr);
      }
      break;
    }
    case WM_MOUSELEAVE:
    case CM_MOUSELEAVE:
      if (HotHalf != -1) {
        HotHalf = -1;
        PaintWindow(nullptr);
      }
      break;
    case WM_PAINT:
      break;  // painted instead of the control
    default:
      TSkinControl::AfterProc(message);
      break;
  }
}

void TSkinUpDown::DrawSkin(HDC dc, const RECT& rect) {
  if (SkinData == nullptr) return;
  Enabled = (GetWindowLongX(Handle, GWL_STYLE) & WS_DISABLED) == 0 ? 1 : 0;
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return;
  const bool horizontal = Horizontal();
  TBitmap work(width, height, pf24bit);
  TCanvas* canvas = work.Canvas();
  HDC workDc = canvas->Handle();
  const RECT local{0, 0, width, height};
  HBRUSH face = CreateSolidBrush(ColorToRGB(SkinData->ButtonFaceColour));
  FillRect(workDc, &local, face);
  DeleteObject(face);
  RECT halves[2];
  SplitHalves(local, horizontal, halves);
  const TDataSkinBorder* element = horizontal ? SkinData->UpDownHorz.get() : SkinData->UpDownVert.get();
  for (int half = 0; half < 2; ++half) {
    const int part = horizontal ? half + 2 : half;  // 0 up, 1 down, 2 left, 3 right
    const int state = HalfState(half);
    const RECT& area = halves[half];
    if (HasImage(element)) {
      const int frames = std::max(element->FrameCount, 1);
      const int frame = horizontal ? state + 4 * part - 8 : state + 4 * part;
      DrawElementFrame(Control, workDc, area, frames, frame, element);
      if (element->Image2 != nullptr && !element->Image2->Empty())
        DrawCentredFrame(workDc, area, element->Image2.get(), true, frames, frame);
      continue;
    }
    const bool down = state == 2 || state == 4;
    canvas->Pen()->SetColor(SkinData->ButtonDkShadowColour);
    canvas->Brush()->SetColor(down ? SkinData->ButtonShadowColour : SkinData->ButtonFaceColour);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Rectangle(area);
    canvas->Pen()->SetColor(Enabled ? SkinData->ButtonTextColour : SkinData->ButtonShadowColour);
    const int x = area.left + (area.right - area.left) / 2;
    int y = area.top + (area.bottom - area.top) / 2;
    if (part < 2) y -= 2;
    DrawSmallArrow(canvas, x, y, part);
  }
  BitBlt(dc, rect.left, rect.top, width, height, workDc, 0, 0, SRCCOPY);
}
