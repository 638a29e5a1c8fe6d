// TSkinManage: the process-wide skin manager. A WH_CBT hook of the GUI thread sees windows
// created, activated and destroyed; the manager decides which get a skinned frame
// (SkinWindow) and which menu popups a skinned background, keeps those objects, and
// carries out the skin components' start, stop and refresh requests from a timer, so that
// they never run inside a property setter or a hook call.
//
// InstallSkinManager() makes the skin component create this manager (instead of the
// recording one); frames and popups come from the factories the form layer installs.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "skin/data/SkinManagerLink.h"
#include "skin/manager/SkinManageLinks.h"
#include "skin/manager/SkinMessages.h"

class TCustomForm;
class TTimer;
class TWinControl;

// Pending action codes.
inline constexpr int32_t kActionStart = 1;
inline constexpr int32_t kActionStop = 2;
inline constexpr int32_t kActionRefresh = 3;
inline constexpr int32_t kActionPurge = 6;
inline constexpr int32_t kActionReskin = 7;

// Menu kinds about to open.
inline constexpr int32_t kMenuKindPopup = 0;
inline constexpr int32_t kMenuKindMenuBar = 1;
inline constexpr int32_t kMenuKindSystem = 2;

class TSkinManage : public TSkinManagerLink {
 public:
  // moduleMode false: the program's manager.
  explicit TSkinManage(bool moduleMode = false);
  ~TSkinManage() override;

  // TSkinManagerLink.
  void AddSkinData(TSkinData* skinData) override;
  void RemoveSkinData(TSkinData* skinData) override;
  void InstallHook() override;
  void RequestAction(int32_t action, int32_t delayMs) override;
  void NotifySkinChanged() override;
  bool SkinWindow(HWND window) override;

  bool SkinForm(TCustomForm* form);
  // SkinForm for every form of the application, the last first, MDI children last of all.
  void SkinAllForms();
  TSkinFrameBase* FindSkinForm(HWND window) const;
  // Drops the frame of `window` from the list without freeing it (unless shutting down);
  // the caller takes it.
  std::unique_ptr<TSkinFrameBase> RemoveSkinForm(HWND window);
  void PurgeSkinForms();
  void FreeDeadForms();
  void FreeAllForms();
  bool AttachPopup(HWND window);
  bool DetachPopup(HWND window);
  bool IsPopupSkinned(HWND window) const;
  void AssignPopupMenu(HMENU menu);
  TBitmap* PopupBackground(HMENU menu) const;
  void SetMdiMaximised(bool value);
  TSkinData* FindSkinData(HWND window) const;
  bool WantSkin(HWND window, const std::string& className) const;
  // Runs the pending action now (what the timer does).
  void RunPendingAction();

  static void SetFrameFactory(TSkinFrameFactory factory);
  static void SetPopupFactory(TSkinPopupFactory factory);

  // The hook procedure (public for the hook stub).
  LRESULT HookProc(int code, WPARAM wParam, LPARAM lParam);

  int32_t FormCount() const { return static_cast<int32_t>(skinForms_.size()); }
  TSkinFrameBase* Form(int32_t index) const { return skinForms_[static_cast<size_t>(index)].get(); }
  int32_t PopupCount() const { return static_cast<int32_t>(skinPopups_.size()); }
  const std::vector<TSkinData*>& SkinDatas() const { return skinDatas_; }
  bool TimerEnabled() const;
  int32_t TimerInterval() const;
  HHOOK CbtHook() const { return cbtHook_; }

  bool BulkStart = false;
  int32_t MenuKind = kMenuKindPopup;
  bool MdiMaximised = false;
  HWND MdiClient = nullptr;
  TWinControl* MdiMainForm = nullptr;
  int32_t PendingAction = 0;
  TSkinData* MainSkinData = nullptr;
  HINSTANCE ModuleInstance = nullptr;
  HWND ReskinWindow = nullptr;
  DWORD VersionWord = 0;

 private:
  void OnActionTimer();
  // Unskins, repaints and frees one frame (stop).
  void UnskinAndFree(size_t index);

  std::unique_ptr<TTimer> actionTimer_;
  HHOOK cbtHook_ = nullptr;
  std::vector<std::unique_ptr<TSkinFrameBase>> skinForms_;
  std::vector<std::unique_ptr<TSkinPopupBase>> skinPopups_;
  std::vector<TSkinData*> skinDatas_;
};

// The process's manager when it is a TSkinManage, else null.
TSkinManage* SkinManage();
// Makes skin components create a TSkinManage from now on.
void InstallSkinManager();
// The class name of a window as the manager reads it (buffer of 100 characters).
std::string WindowClassName(HWND window);
