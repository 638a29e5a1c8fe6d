// The helpers of the drawing primitives that deal with framework controls, and the
// unit's shared work objects.
#include <algorithm>

#include "framework/Controls.h"
#include "framework/Strings.h"
#include "skin/data/SkinDraw.h"

void DrawParentBackground(TControl* control, HDC dc) {
  if (!control || !dc) return;
  TWinControl* parent = control->Parent();
  if (!parent) return;
  gdi::SavedState saved(dc);
  const int left = control->Left();
  const int top = control->Top();
  // Parent coordinates land on the control's DC.
  OffsetViewportOrgEx(dc, -left, -top, nullptr);
  const TRect client = control->ClientRect();
  IntersectClipRect(dc, client.left + left, client.top + top, client.right + left,
                    client.bottom + top);
  const auto wParam = reinterpret_cast<WPARAM>(dc);
  try {
    parent->Perform(WM_ERASEBKGND, wParam, 0);
    parent->Perform(WM_PAINT, wParam, 0);
  } catch (...) {
    // A designer swallows painting errors of the parent; a running program passes them on.
    if (!control->ComponentState().Contains(csDesigning)) throw;
  }
}

TWinControl* ControlOfWindow(HWND window) { return window ? FindControl(window) : nullptr; }

namespace {

std::unique_ptr<TBitmap>& WorkBitmapSlot() {
  static std::unique_ptr<TBitmap> bitmap;
  return bitmap;
}

}  // namespace

TBitmap* SkinWorkBitmap() {
  std::unique_ptr<TBitmap>& slot = WorkBitmapSlot();
  if (!slot) {
    slot = std::make_unique<TBitmap>();
    SetStretchBltMode(slot->Canvas()->Handle(), COLORONCOLOR);
  }
  return slot.get();
}

TBitmap* PrepareSkinWorkBitmap(int width, int height) {
  TBitmap* bitmap = SkinWorkBitmap();
  if (bitmap->Width() < width || bitmap->Height() < height)
    bitmap->SetSize(std::max(bitmap->Width(), width), std::max(bitmap->Height(), height));
  SetStretchBltMode(bitmap->Canvas()->Handle(), COLORONCOLOR);
  return bitmap;
}

TStringList* SkinWorkStrings() {
  static TStringList strings;
  return &strings;
}
