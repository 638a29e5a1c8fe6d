// The private messages of the skinning engine that skinned controls answer. The manager's
// unit holds the table of all of them; until it is built here, the two numbers the
// controls need are defined locally (the same values, so both agree either way).
#pragma once

#include <windows.h>

#if __has_include("skin/manager/SkinMessages.h")
#include "skin/manager/SkinMessages.h"
#else
// wParam > 0 switches a skinned control's skinning on, 0 off.
inline constexpr UINT SKM_ENABLESKIN = 0x3506;
// Any skinned window answers 1.
inline constexpr UINT SKM_QUERYSKIN = 0x3523;
#endif
