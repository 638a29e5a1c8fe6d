#include "app/Test.h"

#include "app/LogText.h"
#include "framework/ClassBuilder.h"
#include "skin/data/WinSkinData.h"
#include "util/DriveUtils.h"

TFileSystemWatcher* Watchers[kWatcherSlots];
int32_t WatcherCount = 0;
TForm1* Form1 = nullptr;

namespace {

constexpr wchar_t kWatchingSystemDrive[] = L"正在监视系统盘";
constexpr wchar_t kWatchingAllDrives[] = L"正在监视全部硬盘";
constexpr int kStatePanel = 1;

}  // namespace

const TClassInfo& TForm1::StaticClass() {
  static const TClassInfo info = TClassBuilder<TForm1>("TForm1", &Inherited::StaticClass())
                                     .Field("Memo1", &TForm1::Memo1)
                                     .Field("FileSystemWatcher1", &TForm1::FileSystemWatcher1)
                                     .Field("Button1", &TForm1::Button1)
                                     .Field("Button2", &TForm1::Button2)
                                     .Field("Button3", &TForm1::Button3)
                                     .Field("SkinData1", &TForm1::SkinData1)
                                     .Field("StatusBar1", &TForm1::StatusBar1)
                                     .Field("Label1", &TForm1::Label1)
                                     .Field("Label2", &TForm1::Label2)
                                     .Method("FileSystemWatcher1Change", &TForm1::FileSystemWatcher1Change)
                                     .Method("Button1Click", &TForm1::Button1Click)
                                     .Method("FormClose", &TForm1::FormClose)
                                     .Method("FormCreate", &TForm1::FormCreate)
                                     .Method("Button3Click", &TForm1::Button3Click)
                                     .Method("Button2Click", &TForm1::Button2Click)
                                     .Method("Label1Click", &TForm1::Label1Click)
                                     .Build();
  return info;
}

void RegisterTestClasses() {
  RegisterStandardClasses();
  RegisterClasses({&TFileSystemWatcher::StaticClass(), &TSkinData::StaticClass(), &TForm1::StaticClass()});
}

void TForm1::FormCreate(TObject*) { WatcherCount = 0; }

void TForm1::Button1Click(TObject*) {
  StopWatchers();
  StartWatcher(0, SystemDriveRoot(WindowsDirectory()));
  ShowWatching(kWatchingSystemDrive);
}

void TForm1::Button2Click(TObject*) {
  StopWatchers();
  const std::vector<std::wstring> roots = FixedDriveRoots(FixedDriveLetters());
  for (size_t i = 0; i < roots.size(); ++i) StartWatcher(static_cast<int>(i), roots[i]);
  ShowWatching(kWatchingAllDrives);
}

void TForm1::Button3Click(TObject*) {
  StopWatchers();
  // The status panel keeps the text of the last start command.
  Button2->SetEnabled(true);
  Button1->SetEnabled(true);
}

void TForm1::FormClose(TObject*, TCloseAction&) {
  // Freeing a watcher ends its worker; deactivating first is not needed. The count goes
  // back to 0 so that nothing can free these watchers a second time.
  for (int i = 0; i < WatcherCount; ++i) delete Watchers[i];
  WatcherCount = 0;
}

void TForm1::Label1Click(TObject*) { OpenDocument(kAuthorPage, L""); }

void TForm1::FileSystemWatcher1Change(TFileOperation FileOperation, const std::wstring& FileName1,
                                      const std::wstring& FileName2) {
  std::optional<std::wstring> line = ChangeLogLine(FileOperation, FileName1, FileName2);
  if (line) Log().Add(std::move(*line));
}

void TForm1::FlushLog() {
  if (log_) log_->Flush();
}

void TForm1::StartWatcher(int slot, const std::wstring& root) {
  auto* watcher = new TFileSystemWatcher(this);
  Watchers[slot] = watcher;
  WatcherCount = slot + 1;
  watcher->SetWatchedDir(root);
  watcher->SetWatchSubTree(true);
  watcher->SetNotifyFilters({nfFileNameChange, nfDirNameChange, nfSizeChange, nfWriteChange});
  watcher->SetOnChange([token = std::weak_ptr<int>(lifeToken_), this](
                           TFileOperation operation, const std::wstring& name1, const std::wstring& name2) {
    if (token.lock()) FileSystemWatcher1Change(operation, name1, name2);
  });
  watcher->SetActived(true);
}

void TForm1::StopWatchers() {
  // Also run by the start commands: both start buttons are disabled while watching, so
  // they normally find the table empty; should one run anyway, no watcher is lost.
  for (int i = 0; i < WatcherCount; ++i) {
    Watchers[i]->SetActived(false);
    delete Watchers[i];
  }
  WatcherCount = 0;
}

void TForm1::ShowWatching(const wchar_t* statusText) {
  Button2->SetEnabled(false);
  Button1->SetEnabled(false);
  StatusBar1->Panels()->Items(kStatePanel)->SetText(statusText);
}

TChangeLog& TForm1::Log() {
  if (!log_) log_ = std::make_unique<TChangeLog>(Memo1);
  return *log_;
}
