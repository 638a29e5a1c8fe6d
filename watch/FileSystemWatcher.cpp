#include "watch/FileSystemWatcher.h"

#include "framework/ClassBuilder.h"

namespace {

bool SameTextAsciiCase(const std::wstring& a, const std::wstring& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    wchar_t x = a[i];
    wchar_t y = b[i];
    if (x >= L'a' && x <= L'z') x = static_cast<wchar_t>(x - L'a' + L'A');
    if (y >= L'a' && y <= L'z') y = static_cast<wchar_t>(y - L'a' + L'A');
    if (x != y) return false;
  }
  return true;
}

}  // namespace

const TClassInfo& TFileSystemWatcher::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TFileSystemWatcher>("TFileSystemWatcher", &Inherited::StaticClass())
          .Property("Actived", &TFileSystemWatcher::Actived, &TFileSystemWatcher::SetActived)
          .Property("WatchedDir", &TFileSystemWatcher::WatchedDir, &TFileSystemWatcher::SetWatchedDir)
          .Property("WatchSubTree", &TFileSystemWatcher::WatchSubTree,
                    &TFileSystemWatcher::SetWatchSubTree)
          .Property("NotifyFilters", &TFileSystemWatcher::NotifyFilters,
                    &TFileSystemWatcher::SetNotifyFilters)
          .Property("OnChange", &TFileSystemWatcher::OnChange, &TFileSystemWatcher::SetOnChange)
          .Build();
  return info;
}

void RegisterWatchClasses() { RegisterFrameworkClass(TFileSystemWatcher::StaticClass()); }

TFileSystemWatcher::TFileSystemWatcher(TComponent* owner) : TComponent(owner) {}

TFileSystemWatcher::~TFileSystemWatcher() {
  if (worker_) worker_->Terminate();
  worker_ = nullptr;
}

void TFileSystemWatcher::SetActived(bool value) {
  if (value == actived_) return;
  actived_ = value;
  ApplyToWorker();
  if (value)
    StartWorker();
  else
    StopWorker();
}

void TFileSystemWatcher::SetWatchedDir(const std::wstring& value) {
  if (SameTextAsciiCase(value, watchedDir_)) return;
  watchedDir_ = value;
  ApplyToWorker();
}

void TFileSystemWatcher::SetWatchSubTree(bool value) {
  if (value == watchSubTree_) return;
  watchSubTree_ = value;
  ApplyToWorker();
}

void TFileSystemWatcher::SetNotifyFilters(TNotifyFilters value) {
  if (value == notifyFilters_) return;
  notifyFilters_ = value;
  ApplyToWorker();
}

void TFileSystemWatcher::SetOnChange(const TFileDealMethod& value) {
  onChange_ = value;
  if (onChange_ && actived_) {
    StopWorker();
    StartWorker();
  } else {
    StopWorker();
  }
  ApplyToWorker();
}

void TFileSystemWatcher::ApplyToWorker() {
  if (Designing()) return;
  if (worker_) worker_->Configure(watchedDir_, actived_, watchSubTree_, FilterMask());
}

void TFileSystemWatcher::StartWorker() {
  if (Designing() || !onChange_) return;
  if (worker_) StopWorker();
  worker_ = new TShellChangeThread(onChange_);
  worker_->Configure(watchedDir_, actived_, watchSubTree_, FilterMask());
  worker_->Resume();
}

void TFileSystemWatcher::StopWorker() {
  if (Designing()) return;
  if (!worker_) return;
  // Silenced first: after a stop or a handler change nothing of the old worker arrives.
  worker_->Silence();
  worker_->Terminate();
  worker_ = nullptr;
}
