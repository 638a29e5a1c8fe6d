// Test helper: a key pressed with Ctrl (and Shift) held, as the program's message loop
// meets it: the thread's key state says Ctrl is down and the key-down message is posted
// to the window with the focus, then the loop handles what is waiting.
#pragma once

#include <windows.h>

#include "framework/Application.h"

inline void PressWithControl(WORD key, bool shift = false) {
  BYTE saved[256] = {};
  GetKeyboardState(saved);
  BYTE state[256];
  CopyMemory(state, saved, sizeof state);
  state[VK_CONTROL] = state[VK_LCONTROL] = 0x80;
  if (shift) state[VK_SHIFT] = state[VK_LSHIFT] = 0x80;
  SetKeyboardState(state);
  HWND target = GetFocus() != nullptr ? GetFocus() : GetActiveWindow();
  PostMessageW(target, WM_KEYDOWN, key, 1);
  Application->ProcessMessages();
  SetKeyboardState(saved);
  Application->ProcessMessages();
}
