// The log box's writer: collects the lines of reported changes and appends them to the
// memo in batches, in order, none lost, never removing any.
//
// A line waits at most kCoalesceMs for others to join it (a GUI timer), so a single change
// shows almost at once while a burst becomes few appends. Each append takes at most what
// LogBatcher allows, and the rest follows kNextChunkMs later; WM_TIMER comes only when no
// other message waits, so input is served between appends. Should posted messages keep
// the timer from ever firing, Add itself appends once the oldest line has waited
// kMaxWaitMs. GUI thread only.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "app/LogBatcher.h"

class TCustomMemo;
class TTimer;

class TChangeLog {
 public:
  static constexpr int kCoalesceMs = 30;
  static constexpr int kNextChunkMs = 10;
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
  void AppendNext();
  void Append(const std::wstring& text, size_t count);
  void Arm(int milliseconds);
  void Disarm();

  TCustomMemo* memo_;
  LogBatcher batcher_;
  std::unique_ptr<TTimer> timer_;
  DWORD waitingSince_ = 0;
};
