// The private window messages of the skinning engine: plain message numbers shared by the
// manager, the skinned frames, popups and controls, and applications that talk to them.
#pragma once

#include <windows.h>

inline constexpr UINT SKM_QUERYSKIN = 0x3523;
inline constexpr UINT SKM_INITSKIN = 0x3503;
inline constexpr UINT SKM_REDRAWFRAME = 0x3502;
inline constexpr UINT SKM_REDRAWMDI = 0x3516;
inline constexpr UINT SKM_RESKINSCROLL = 0x3517;
inline constexpr UINT SKM_BUTTONACTION = 0x3514;
inline constexpr UINT SKM_BUTTONVISIBLE = 0x3515;
inline constexpr UINT SKM_MENUBARCLICK = 0x3518;
inline constexpr UINT SKM_REFRESH = 0x3401;
// The same number as the framework's reflected WM_NOTIFY; told apart by lParam.
inline constexpr UINT SKM_SKINNED = 0xBC4E;
inline constexpr UINT SKM_PAINTTO = 0xBC4B;
inline constexpr UINT SKM_PING = 0xBC4D;
inline constexpr UINT SKM_ENABLESKIN = 0x3506;
inline constexpr UINT SKM_CLOSETAB = 0x3507;
inline constexpr UINT SKM_PAINTCLIENT = 0xBC4A;
// The check value in lParam of SKM_SKINNED, SKM_PAINTTO, SKM_PING and SKM_PAINTCLIENT.
inline constexpr LPARAM SKIN_MAGIC = 0x41A2;

// lParam of the SKM_INITSKIN the manager posts to a newly attached window.
inline constexpr LPARAM kInitSkinLParam = 1000;
