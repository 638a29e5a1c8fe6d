// Text helpers shared by the menu bar and the item painter: the system menu font and the
// menu-bar caption.
#pragma once

#include <windows.h>

#include <string>

class TSkinData;

// The system's menu font (regular or bold), made once, freed when the program ends.
HFONT SkinMenuFont(bool bold);
// A bar caption centred in `rect` (accelerator underlined) in MenuBarTextColour, or
// ButtonShadowColour when disabled; the menu font is selected for the call.
void DrawMenuBarCaption(HDC dc, const RECT& rect, const std::wstring& caption, bool enabled,
                        const TSkinData& skinData);
