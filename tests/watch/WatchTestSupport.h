// Helpers of the watcher tests under Wine: a unique folder on drive D: per test, file
// operations through the wide API, a GUI-thread pump that serves queued calls, and an
// event recorder.
#pragma once

#include <windows.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "watch/WatchTypes.h"

namespace watchtest {

struct Event {
  TFileOperation operation;
  std::wstring fileName1;
  std::wstring fileName2;
  friend bool operator==(const Event&, const Event&) = default;
};
std::string Describe(const Event& e);
inline void PrintTo(const Event& e, std::ostream* out) { *out << Describe(e); }
std::string Describe(const std::vector<Event>& events);

// Collects events; `only` keeps those whose names start with a prefix (other tests may
// run on the same drive at the same time).
class Recorder {
 public:
  explicit Recorder(std::wstring only = {}) : only_(std::move(only)) {}
  TFileDealMethod Handler();
  std::vector<Event> events;
  std::function<void(const Event&)> also;

 private:
  std::wstring only_;
};

// Serves the GUI thread's queued calls and messages until `done` or the timeout.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);
void PumpFor(DWORD ms);

// A fresh folder D:\ptest-watch-<process>-<n>-<name>, removed with its contents at the end.
class TempFolder {
 public:
  explicit TempFolder(const std::wstring& name);
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::wstring& Path() const { return path_; }  // no trailing backslash
  std::wstring operator/(const std::wstring& relative) const { return path_ + L"\\" + relative; }

 private:
  std::wstring path_;
};

bool WriteFile(const std::wstring& path, const std::string& bytes = "x");
bool AppendFile(const std::wstring& path, const std::string& bytes);
bool MakeFolder(const std::wstring& path);
bool RemoveTree(const std::wstring& path);

// Threads of this process (Toolhelp snapshot) and its open handles (system handle
// table); -1 when the system cannot say.
int ThreadCount();
int HandleCount();

}  // namespace watchtest
