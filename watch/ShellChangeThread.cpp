#include "watch/ShellChangeThread.h"

#include <algorithm>
#include <span>
#include <utility>

#include "framework/ClassBuilder.h"
#include "watch/ChangeRecords.h"
#include "watch/WatchCounters.h"
#include "watch/WideText.h"

namespace {

// Completion keys: the directory's reads, and empty wake-up packets.
constexpr ULONG_PTR kReadKey = 1;
constexpr ULONG_PTR kWakeKey = 0;

class CriticalSection {
 public:
  CriticalSection() { InitializeCriticalSection(&cs_); }
  ~CriticalSection() { DeleteCriticalSection(&cs_); }
  CriticalSection(const CriticalSection&) = delete;
  CriticalSection& operator=(const CriticalSection&) = delete;
  void Enter() { EnterCriticalSection(&cs_); }
  void Leave() { LeaveCriticalSection(&cs_); }

 private:
  CRITICAL_SECTION cs_;
};

class Lock {
 public:
  explicit Lock(CriticalSection& cs) : cs_(cs) { cs_.Enter(); }
  ~Lock() { cs_.Leave(); }
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;

 private:
  CriticalSection& cs_;
};

}  // namespace

// What the GUI thread and the worker share: the requested settings, the stop request and
// the port that wakes the worker. The port lives as long as the last holder.
struct TShellChangeThread::Control {
  CriticalSection lock;
  Settings settings;
  uint64_t generation = 0;  // raised by every Configure
  bool stop = false;
  HANDLE port = CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 1);

  Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  ~Control() {
    if (port) CloseHandle(port);
  }
  void Wake() {
    if (port) PostQueuedCompletionStatus(port, 0, kWakeKey, nullptr);
  }
  bool StopRequested() {
    Lock l(lock);
    return stop;
  }
};

const TClassInfo& TShellChangeThread::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TShellChangeThread>("TShellChangeThread", &Inherited::StaticClass()).Build();
  return info;
}

TShellChangeThread::TShellChangeThread(TFileDealMethod changeHandler)
    : TThread(true), control_(std::make_shared<Control>()) {
  SetFreeOnTerminate(true);
  auto sink = [handler = std::move(changeHandler)](const FileChange& change) {
    if (handler) handler(change.operation, ToWide(change.fileName1), ToWide(change.fileName2));
  };
  auto toGuiThread = [](std::function<void()> call) { TThread::Queue(nullptr, std::move(call)); };
  delivery_ = ChangeDelivery::Create(std::move(sink), std::move(toGuiThread));
  ++GetWatchCounters().workersAlive;
}

TShellChangeThread::~TShellChangeThread() { --GetWatchCounters().workersAlive; }

void TShellChangeThread::Configure(const std::wstring& directory, bool active, bool subtree,
                                   uint32_t filterMask) {
  ++GetWatchCounters().configureCalls;
  delivery_->SetActive(active);
  {
    Lock l(control_->lock);
    control_->settings = {WithTrailingBackslash(ToU16(directory)), subtree, filterMask};
    ++control_->generation;
  }
  control_->Wake();
}

void TShellChangeThread::Silence() { delivery_->Silence(); }

void TShellChangeThread::TerminatedSet() {
  // Once the worker sees the stop request it may end and free this object at any moment:
  // from here on only the local reference to the shared part is used.
  const std::shared_ptr<Control> control = control_;
  {
    Lock l(control->lock);
    control->stop = true;
  }
  control->Wake();
}

void TShellChangeThread::Execute() {
  try {
    WatchUntilStopped();
  } catch (...) {
    // Out of memory while decoding or queueing: this worker stops watching. It stays
    // until the watcher lets it go, since the watcher still holds it.
  }
  CloseDirectory();
  if (opener_) opener_->Stop();
  WaitUntilStopped();
}

void TShellChangeThread::WatchUntilStopped() {
  Control& control = *control_;
  if (!control.port) return;
  uint64_t appliedGeneration = 0;
  for (;;) {
    Settings requested;
    bool reconfigure = false;
    {
      Lock l(control.lock);
      if (control.stop) return;
      if (control.generation != appliedGeneration) {
        appliedGeneration = control.generation;
        requested = control.settings;
        reconfigure = true;
      }
    }
    if (reconfigure) {
      // Unchanged settings keep the armed read, so no change slips through a re-open.
      if (!directoryHandle_ || !(requested == armed_)) Reopen(requested);
      // Reopen may have consumed wake-ups: look at the requests again before waiting.
      continue;
    }
    DWORD bytes = 0;
    ULONG_PTR key = 0;
    OVERLAPPED* overlapped = nullptr;
    const BOOL ok = GetQueuedCompletionStatus(control.port, &bytes, &key, &overlapped, INFINITE);
    const DWORD error = ok ? ERROR_SUCCESS : GetLastError();
    if (overlapped == &overlapped_) {
      ReadCompleted(ok, bytes, error, true);
    } else if (!ok && !overlapped) {
      Sleep(10);  // the port itself failed; never spin
    }
  }
}

void TShellChangeThread::WaitUntilStopped() {
  Control& control = *control_;
  while (!control.StopRequested()) {
    if (!control.port) {
      Sleep(50);
      continue;
    }
    DWORD bytes = 0;
    ULONG_PTR key = 0;
    OVERLAPPED* overlapped = nullptr;
    if (!GetQueuedCompletionStatus(control.port, &bytes, &key, &overlapped, INFINITE) && !overlapped)
      Sleep(10);
  }
}

bool TShellChangeThread::Reopen(const Settings& settings) {
  CloseDirectory();
  if (opener_) opener_->Cancel();
  armed_ = settings;
  const std::wstring path = ToWide(armed_.directory);
  // FILE_LIST_DIRECTORY is all that watching needs; asking for write access as well
  // would refuse read-only folders and media.
  HANDLE handle = CreateFileW(path.c_str(), FILE_LIST_DIRECTORY,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;  // idle until re-configured or stopped
  directoryHandle_ = handle;
  ++GetWatchCounters().directoryHandlesOpen;
  if (!CreateIoCompletionPort(handle, control_->port, kReadKey, 0) || !IssueRead()) {
    CloseDirectory();
    return false;
  }
  ++GetWatchCounters().directoriesArmed;
  if (armed_.subtree && WineRemedyEnabled()) {
    if (!opener_) opener_ = std::make_unique<SubfolderOpener>();
    opener_->OpenTree(path);
  }
  return true;
}

bool TShellChangeThread::IssueRead() {
  if (buffer_.size() != bufferSize_) buffer_.resize(bufferSize_);
  overlapped_ = OVERLAPPED{};
  bytesReturned_ = 0;
  if (!ReadDirectoryChangesW(directoryHandle_, buffer_.data(), bufferSize_, armed_.subtree, armed_.filterMask,
                             &bytesReturned_, &overlapped_, nullptr)) {
    if (GetLastError() != ERROR_INVALID_PARAMETER || bufferSize_ == kShareBufferSize) return false;
    // A network share: the largest buffer it takes.
    bufferSize_ = kShareBufferSize;
    return IssueRead();
  }
  readOutstanding_ = true;
  ++GetWatchCounters().readsOutstanding;
  return true;
}

void TShellChangeThread::CloseDirectory() {
  if (!directoryHandle_) return;
  if (readOutstanding_) {
    // The read must be over before the handle goes and before the buffer and the
    // overlapped record serve another read: cancel it and wait for its completion.
    CancelIoEx(directoryHandle_, &overlapped_);
    while (readOutstanding_) {
      DWORD bytes = 0;
      ULONG_PTR key = 0;
      OVERLAPPED* overlapped = nullptr;
      const BOOL ok = GetQueuedCompletionStatus(control_->port, &bytes, &key, &overlapped, INFINITE);
      const DWORD error = ok ? ERROR_SUCCESS : GetLastError();
      if (overlapped == &overlapped_) {
        try {
          ReadCompleted(ok, bytes, error, false);
        } catch (...) {
          // Decoding the last batch ran out of memory; the read is over all the same.
        }
      } else if (!ok && !overlapped) {
        Sleep(10);
      }
    }
  }
  CloseHandle(directoryHandle_);
  directoryHandle_ = nullptr;
  --GetWatchCounters().directoryHandlesOpen;
}

void TShellChangeThread::ReadCompleted(BOOL ok, DWORD bytes, DWORD error, bool reissue) {
  readOutstanding_ = false;
  --GetWatchCounters().readsOutstanding;
  if (ok && bytes > 0) {
    const size_t size = std::min<size_t>(bytes, buffer_.size());
    ChangeBatch batch = DecodeChangeRecords(std::span<const uint8_t>(buffer_.data(), size), armed_.directory).changes;
    if (reissue && !IssueRead()) CloseDirectory();
    if (armed_.subtree && WineRemedyEnabled()) OpenAddedFolders(batch);
    delivery_->Post(std::move(batch), armed_.directory);
    return;
  }
  if (ok || error == ERROR_NOTIFY_ENUM_DIR) {
    // A read with no data: the system's own record of changes overflowed and was dropped,
    // unless the directory itself is being deleted, which ends its events instead.
    if (DirectoryDeletePending()) {
      if (reissue) CloseDirectory();
      return;
    }
    ++GetWatchCounters().overflows;
    delivery_->PostOverflow(armed_.directory);
    if (reissue && !IssueRead()) CloseDirectory();
    return;
  }
  // The read failed: cancelled by CloseDirectory, or the directory is gone (deleted,
  // unmounted, share lost). Either way this directory's events end here.
  if (reissue) CloseDirectory();
}

bool TShellChangeThread::DirectoryDeletePending() const {
  FILE_STANDARD_INFO info{};
  if (!GetFileInformationByHandleEx(directoryHandle_, FileStandardInfo, &info, sizeof info))
    return false;
  return info.DeletePending != FALSE;
}

void TShellChangeThread::OpenAddedFolders(const ChangeBatch& batch) {
  // Opened here, before the batch is handed over, so that by the time the handler hears
  // of a new folder, Wine already watches it; its subfolders go to the opener's thread.
  for (const FileChange& change : batch) {
    const std::u16string* name = change.operation == foAdded     ? &change.fileName1
                                 : change.operation == foRenamed ? &change.fileName2
                                                                 : nullptr;
    if (!name || name->empty()) continue;
    const std::wstring path = ToWide(*name);
    if (!SubfolderOpener::OpenFolderOnce(path)) continue;
    if (!opener_) opener_ = std::make_unique<SubfolderOpener>();
    opener_->OpenTree(path);
  }
}
