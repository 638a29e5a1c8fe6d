// TShellChangeThread: the worker behind one TFileSystemWatcher. It watches one directory
// (with or without its subtree) with one filter mask through ReadDirectoryChangesW on an
// I/O completion port, decodes each completed read at once, hands the batch to the GUI
// thread without waiting and goes straight back to reading. The GUI thread delivers the
// batches to the change handler in order (ChangeDelivery::ProcessBuffer).
//
// Threads and lifetime:
// - Configure, Silence and Terminate are called on the GUI thread by the watcher; the
//   directory handle, the buffer and the overlapped record belong to the worker thread
//   alone, which opens, reads, cancels and closes. At most one read is outstanding, and
//   none once the worker has ended: a read is cancelled and its completion awaited
//   before the handle closes or the buffer is reused for another directory.
// - The worker frees itself when it ends, which it does only after Terminate: so the
//   watcher may call it until it calls Terminate, and must forget it then. Terminate
//   wakes the worker, so it ends at once, not at the next change in its directory.
// - A worker without a directory (missing, refused, deleted while watched) blocks on its
//   port until it is re-configured or terminated; it never spins.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/Thread.h"
#include "watch/ChangeDelivery.h"
#include "watch/WatchTypes.h"
#include "watch/WineSubfolderOpener.h"

class TShellChangeThread : public TThread {
  FRAMEWORK_CLASS(TShellChangeThread, TThread)

 public:
  // Room for the records of a burst that arrive between two reads: Wine hands over
  // everything gathered since the last read at once, and drops it all (an overflow) when
  // it does not fit. Directories on network shares accept at most kShareBufferSize.
  static constexpr DWORD kBufferSize = DWORD{1} << 20;
  static constexpr DWORD kShareBufferSize = 65536;

  // Created suspended, frees itself when it ends; opens nothing yet.
  explicit TShellChangeThread(TFileDealMethod changeHandler);
  ~TShellChangeThread() override;

  // GUI thread. Stores the settings (the directory with a trailing backslash), sets the
  // active flag (events are delivered only while it is true) and has the worker re-open
  // the directory with them.
  void Configure(const std::wstring& directory, bool active, bool subtree, uint32_t filterMask);
  // GUI thread: nothing of this worker reaches its handler any more, queued batches
  // included (the watcher replaced or stopped it).
  void Silence();

 protected:
  void Execute() override;
  void TerminatedSet() override;

 private:
  struct Settings {
    std::u16string directory;
    bool subtree = true;
    uint32_t filterMask = 0;
    friend bool operator==(const Settings&, const Settings&) = default;
  };
  struct Control;

  void WatchUntilStopped();
  void WaitUntilStopped();
  bool Reopen(const Settings& settings);
  bool IssueRead();
  void CloseDirectory();
  void ReadCompleted(BOOL ok, DWORD bytes, DWORD error, bool reissue);
  bool DirectoryDeletePending() const;
  void OpenAddedFolders(const ChangeBatch& batch);

  // Shared with the GUI thread's calls, so that a Terminate racing with the worker's end
  // never touches freed memory.
  std::shared_ptr<Control> control_;
  std::shared_ptr<ChangeDelivery> delivery_;

  // Worker thread only.
  HANDLE directoryHandle_ = nullptr;
  Settings armed_;
  bool readOutstanding_ = false;
  DWORD bytesReturned_ = 0;
  OVERLAPPED overlapped_{};
  std::unique_ptr<SubfolderOpener> opener_;
  // kBufferSize bytes, or kShareBufferSize once the system refused the larger size.
  std::vector<uint8_t> buffer_;
  DWORD bufferSize_ = kBufferSize;
};
