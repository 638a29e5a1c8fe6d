// Test helper: serves the GUI thread's messages and thread hand-overs until a condition
// holds or a generous timeout passes.
#pragma once

#include <windows.h>

#include <functional>

#include "framework/Application.h"
#include "framework/Thread.h"

inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 30000) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return false;
    Application->ProcessMessages();
    if (done()) break;
    HANDLE event = SyncEvent();
    MsgWaitForMultipleObjects(1, &event, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

// Handles the messages already waiting.
inline void Pump() { Application->ProcessMessages(); }
