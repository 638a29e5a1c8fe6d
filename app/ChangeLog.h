// The log box's writer: collects the lines of reported changes and appends them to the
// memo in batches, in order, none lost, never removing any.
//
// A line waits at most kCoalesceMs for others to join it, so a single change shows almost
// at once while a burst becomes few appends. Each append takes at most what LogBatcher
// allows, and the rest follows kNextChunkMs later. Appends never run inside Add: Add is
// called while the watcher hands over its changes, and the window must get back to its
// messages between appends. They run from a timer of a message-only window of this
// object; WM_TIMER comes only when no posted message waits, so while the watchers keep
// posting, Add posts the append itself once the oldest line has waited kMaxWaitMs.
// GUI thread only.
#pragma once

#include <windows.h>

#include <string>

#include "app/LogBatcher.h"

class TCustomMemo;

class TChangeLog {
 public:
  static constexpr UINT kCoalesceMs = 30;
  static constexpr UINT kNextChunkMs = 10;
  static constexpr DWORD kMaxWaitMs = 100;

  // `memo` must outlive this object.
  explicit TChangeLog(TCustomMemo* memo);
  ~TChangeLog();
  TChangeLog(const TChangeLog&) = delete;
  TChangeLog& operator=(const TChangeLog&) = delete;

  void Add(std::wstring line);
  // Appends everything pending now, in one edit.
  void Flush();
  size_t Pending() const { return batcher_.Pending(); }
  size_t Limit() const { return batcher_.Limit(); }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void AppendNext();
  void Append(const std::wstring& text, size_t count);
  void Arm(UINT milliseconds);
  void Disarm();

  TCustomMemo* memo_;
  LogBatcher batcher_;
  HWND window_ = nullptr;
  UINT armedMs_ = 0;  // 0: no timer
  bool appendPosted_ = false;
  DWORD waitingSince_ = 0;
};
