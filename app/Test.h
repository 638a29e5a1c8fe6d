// Unit Test: the main window TForm1 of the disk monitor. Its layout (the resource
// "TFORM1", from Test.layout) places two link labels, the log box, the three command
// buttons, the status bar, a watcher that is never activated and the skin component.
//
// Two commands start watching (the Windows drive, or every fixed drive) with watchers
// made at run time and kept in the table Watchers/WatcherCount; the third stops them.
// Every reported change becomes one line of the log (LogText.h), appended in batches by
// TChangeLog.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "app/ChangeLog.h"
#include "app/WatchRoots.h"
#include "framework/ComCtrls.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "watch/FileSystemWatcher.h"

class TSkinData;

// The author's web page: the link labels open it and show it as their tool tip.
inline constexpr wchar_t kAuthorPage[] = L"https://example.org/ptest";

class TForm1 : public TForm {
  FRAMEWORK_CLASS(TForm1, TForm)

 public:
  using TForm::TForm;

  TMemo* Memo1 = nullptr;
  TFileSystemWatcher* FileSystemWatcher1 = nullptr;
  TButton* Button1 = nullptr;
  TButton* Button2 = nullptr;
  TButton* Button3 = nullptr;
  TSkinData* SkinData1 = nullptr;
  TStatusBar* StatusBar1 = nullptr;
  TLabel* Label1 = nullptr;
  TLabel* Label2 = nullptr;

  // Published handlers.
  void FileSystemWatcher1Change(TFileOperation FileOperation, const std::wstring& FileName1,
                                const std::wstring& FileName2);
  void Button1Click(TObject* sender);
  void FormClose(TObject* sender, TCloseAction& action);
  void FormCreate(TObject* sender);
  void Button3Click(TObject* sender);
  void Button2Click(TObject* sender);
  void Label1Click(TObject* sender);

  // Appends the log lines still waiting for their batch (tests).
  void FlushLog();

 private:
  // Creates the watcher of `slot` for `root` and starts it.
  void StartWatcher(int slot, const std::wstring& root);
  // Stops and frees the live watchers (a start command finding some still live).
  void StopWatchers();
  void ShowWatching(const wchar_t* statusText);
  TChangeLog& Log();

  std::unique_ptr<TChangeLog> log_;
  // Watchers hold a weak reference to it: a batch a freed watcher handed over before it
  // ended never reaches a window that is gone.
  std::shared_ptr<int> lifeToken_ = std::make_shared<int>(0);
};

// The watcher table: slots 0 to WatcherCount - 1 hold the live watchers; the others hold
// nothing usable.
extern TFileSystemWatcher* Watchers[kWatcherSlots];
extern int32_t WatcherCount;

extern TForm1* Form1;

// Registers the classes the layout names (the framework's, the watcher, the skin
// component) and TForm1.
void RegisterTestClasses();
