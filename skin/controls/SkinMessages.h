// The private messages of the skinning engine that skinned controls answer. The numbers
// are fixed: applications send them to skinned windows.
#pragma once

#include <windows.h>

// wParam > 0 switches a skinned control's skinning on, 0 off.
inline constexpr UINT SKM_ENABLESKIN = 0x3506;
// Any skinned window answers 1.
inline constexpr UINT SKM_QUERYSKIN = 0x3523;
