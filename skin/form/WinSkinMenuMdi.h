// The MDI main form's client window under a skinned frame: its scroll bars dropped when the
// skin says so, the menu bar following the children's menus, the maximised-child state kept
// in the manager, and SKM_REDRAWMDI redrawing the whole main form.
#pragma once

#include <windows.h>

class TWinSkinForm;

// Subclasses the MDI client of `frame`'s window (an MDI main form); nothing otherwise.
void AttachMdiClient(TWinSkinForm* frame, HWND client);
// Gives the MDI client of `frame` its own procedure back.
void DetachMdiClient(TWinSkinForm* frame);
// Whether `frame` has its MDI client subclassed.
bool HasMdiClientSkin(const TWinSkinForm* frame);
