// Wine 8 watches, below a directory watched with its subtree, only the folders that were
// created after the watch was armed, and folders it has seen opened. Opening each existing
// folder once (and each folder reported as added) makes Wine watch it too. Windows needs
// none of this, so it only runs where ntdll exports wine_get_version.
#pragma once

#include <windows.h>

#include <cstdint>
#include <deque>
#include <memory>
#include <string>

// True when the process runs on Wine.
bool RunningOnWine();

// Whether watchers apply the remedy: by default exactly on Wine; tests may force it.
enum class WineRemedyMode { kAuto, kAlways, kNever };
void SetWineRemedyMode(WineRemedyMode mode);
bool WineRemedyEnabled();

// Opens folders on a thread of its own, so that neither the GUI thread nor the reading
// worker waits for a walk over a whole disk. Used by one worker thread; the opener's own
// thread starts with the first request and ends in Stop (or the destructor).
class SubfolderOpener {
 public:
  SubfolderOpener();
  SubfolderOpener(const SubfolderOpener&) = delete;
  SubfolderOpener& operator=(const SubfolderOpener&) = delete;
  ~SubfolderOpener();

  // Opens `folder` and every folder below it, once each; requests are served in order.
  void OpenTree(std::wstring folder);
  // Drops the waiting requests and the walk under way (the watch was re-armed).
  void Cancel();
  // Ends the thread; returns once it has ended.
  void Stop();

  // Opens one path as a folder on the calling thread and closes it again; false if it
  // is not a folder that could be opened.
  static bool OpenFolderOnce(const std::wstring& path);

 private:
  class WalkerThread;
  friend class WalkerThread;

  void Run();
  void Walk(const std::wstring& root, uint64_t generation);
  bool Abandoned(uint64_t generation);

  CRITICAL_SECTION lock_;
  CONDITION_VARIABLE wake_;
  std::deque<std::wstring> requests_;
  uint64_t generation_ = 0;
  bool stop_ = false;
  std::unique_ptr<WalkerThread> thread_;
};
