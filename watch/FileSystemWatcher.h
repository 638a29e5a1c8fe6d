// Unit FileSystemWatcher: TFileSystemWatcher, a non-visual component that reports every
// change below one directory through one event, OnChange, on the GUI thread; its worker
// TShellChangeThread; and their types (TFileOperation, TNotifyFilter, TNotifyFilters,
// TFileDealMethod).
//
// States: inactive (Actived False, no worker); armed (Actived True, no handler, no
// worker); watching (Actived True, a handler, exactly one worker). All properties are set
// and OnChange is called on the GUI thread only; the worker never reads the component.
#pragma once

#include <cstdint>
#include <string>

#include "framework/Classes.h"
#include "watch/ShellChangeThread.h"
#include "watch/WatchTypes.h"

class TFileSystemWatcher : public TComponent {
  FRAMEWORK_CLASS(TFileSystemWatcher, TComponent)

 public:
  // Inactive, watching "C:\" with its subtree for file and folder names; no worker.
  explicit TFileSystemWatcher(TComponent* owner);
  // Marks a running worker terminated (which ends it); a batch it already handed over
  // may still reach the handler.
  ~TFileSystemWatcher() override;

  // Published, in this order.
  bool Actived() const { return actived_; }
  void SetActived(bool value);
  const std::wstring& WatchedDir() const { return watchedDir_; }
  // A text that differs only in ASCII letter case changes nothing.
  void SetWatchedDir(const std::wstring& value);
  bool WatchSubTree() const { return watchSubTree_; }
  void SetWatchSubTree(bool value);
  TNotifyFilters NotifyFilters() const { return notifyFilters_; }
  void SetNotifyFilters(TNotifyFilters value);
  const TFileDealMethod& OnChange() const { return onChange_; }
  // Always re-applies: a watching component gets a new worker that calls the new handler.
  void SetOnChange(const TFileDealMethod& value);

  bool HasWorker() const { return worker_ != nullptr; }

 private:
  void ApplyToWorker();
  uint32_t FilterMask() const { return ::FilterMask(notifyFilters_); }
  void StartWorker();
  void StopWorker();

  bool actived_ = false;
  std::wstring watchedDir_ = L"C:\\";
  // The running worker; it frees itself after StopWorker or the destructor let it go.
  TShellChangeThread* worker_ = nullptr;
  TFileDealMethod onChange_;
  bool watchSubTree_ = true;
  TNotifyFilters notifyFilters_{nfFileNameChange, nfDirNameChange};
};

// Lets stored layouts create TFileSystemWatcher by its class name; call once at start-up.
void RegisterWatchClasses();
