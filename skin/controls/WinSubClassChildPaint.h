// The graphic (windowless) children of a framework control painted onto a DC, for the
// skinned controls that paint instead of the control and so must put them on top as the
// control's own painting would.
#pragma once

#include <windows.h>

#include "framework/Controls.h"

// Each visible graphic child of `control` (nothing when it is not a windowed framework
// control), in child order, with the DC's origin moved to the child and clipped to it.
void PaintGraphicChildren(HDC dc, TControl* control);
