// Process-wide counts of what the watchers create and free, for tests and diagnostics:
// each "alive" count returns to its earlier value when every watcher has ended.
#pragma once

#include <atomic>
#include <cstdint>

struct WatchCounters {
  std::atomic<int> workersAlive{0};          // TShellChangeThread objects not yet freed
  std::atomic<int> directoryHandlesOpen{0};  // watched directory handles
  std::atomic<int> readsOutstanding{0};      // ReadDirectoryChangesW calls not yet completed
  std::atomic<int> openerThreadsAlive{0};    // Wine subfolder-opener threads
  std::atomic<int64_t> configureCalls{0};    // TShellChangeThread::Configure calls
  std::atomic<int64_t> directoriesArmed{0};  // successful openings of a watched directory
  std::atomic<int64_t> overflows{0};         // reads that came back empty: the system lost changes
  std::atomic<int64_t> foldersOpened{0};     // folders the Wine remedy opened
  std::atomic<int64_t> walksCompleted{0};    // subtree walks of the Wine remedy finished
};

inline WatchCounters& GetWatchCounters() {
  static WatchCounters counters;
  return counters;
}
