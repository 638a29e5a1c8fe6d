// The two toolbar painters a frame gives to framework toolbars: the bar's background from
// the skin's ToolbarBackground element and its buttons from the Buttons element. They find
// the frame of `frameWindow` through the skin manager, so they do nothing once it is gone.
#pragma once

#include <windows.h>

#include "framework/ToolBars.h"

class TSkinData;

// Stretches the whole ToolbarBackground image over `rect` (unless xoToolbarBK is set).
void PaintToolbarBackground(TSkinData* skinData, TCanvas* canvas, const TRect& rect);
// Draws the Buttons image frame that matches `state` into the button's bounds inset by one
// pixel, and sets the canvas font colour; false when nothing was drawn (frame state not 1,
// no Buttons element, xoToolbarButton set, or a state without a frame).
bool PaintToolbarButton(TSkinData* skinData, int32_t frameState, TCanvas* canvas, const TRect& bounds,
                        TCustomDrawState state);

TTBCustomDrawEvent ToolbarBackgroundPainter(HWND frameWindow);
TTBCustomDrawBtnEvent ToolbarButtonPainter(HWND frameWindow);
