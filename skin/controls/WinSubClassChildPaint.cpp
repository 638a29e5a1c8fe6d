// Graphic children painted over a skinned control.
#include "skin/controls/WinSubClassChildPaint.h"

#include "framework/GdiHandles.h"

void PaintGraphicChildren(HDC dc, TControl* control) {
  auto* parent = dynamic_cast<TWinControl*>(control);
  if (parent == nullptr || dc == nullptr) return;
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* child = parent->Controls(i);
    if (dynamic_cast<TWinControl*>(child) != nullptr || !child->Visible()) continue;
    SavedDCState keep(dc);
    POINT origin{};
    GetViewportOrgEx(dc, &origin);
    SetViewportOrgEx(dc, origin.x + child->Left(), origin.y + child->Top(), nullptr);
    IntersectClipRect(dc, 0, 0, child->Width(), child->Height());
    child->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  }
}
