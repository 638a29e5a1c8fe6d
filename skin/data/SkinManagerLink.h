// What the skin component TSkinData needs of the process-wide skin manager, which lives
// in a higher layer (skin/manager). The manager derives from TSkinManagerLink and installs
// its factory at start-up; until one is installed, the manager created here is a
// TRecordingSkinManager, which only notes what it was asked (tests read the notes).
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TSkinData;

// Requests a skin component passes to RequestAction.
inline constexpr int32_t kSkinActionStart = 1;
inline constexpr int32_t kSkinActionStop = 2;
inline constexpr int32_t kSkinActionRefresh = 3;
// The delay every request of the skin component asks for.
inline constexpr int32_t kSkinActionDelayMs = 250;

class TSkinManagerLink {
 public:
  TSkinManagerLink() = default;
  TSkinManagerLink(const TSkinManagerLink&) = delete;
  TSkinManagerLink& operator=(const TSkinManagerLink&) = delete;
  virtual ~TSkinManagerLink() = default;

  virtual void AddSkinData(TSkinData* skinData) = 0;
  virtual void RemoveSkinData(TSkinData* skinData) = 0;
  // The WH_CBT hook of the GUI thread.
  virtual void InstallHook() = 0;
  // Carries out `action` about `delayMs` later (never inside the caller).
  virtual void RequestAction(int32_t action, int32_t delayMs) = 0;
  // A new skin was loaded for ActionSkinData: frames drop their caption buttons.
  virtual void NotifySkinChanged() = 0;
  // Attaches a skinned frame to `window`; true when one was attached.
  virtual bool SkinWindow(HWND window) = 0;

  // The component that asked for the pending action.
  TSkinData* ActionSkinData = nullptr;
  // New windows are skinned only while this is true.
  bool Enabled = false;
  // 0: no window activated yet; 1: running; 4: shutting down.
  int32_t RunState = 0;
};

// Makes a new manager (the manager unit's `Create(false)`); the caller owns it.
using TSkinManagerFactory = std::function<std::unique_ptr<TSkinManagerLink>()>;

// Installs the factory EnsureSkinManager uses; an empty one brings back the recording
// manager. Does not touch a manager that already exists.
void SetSkinManagerFactory(TSkinManagerFactory factory);
// The process-wide manager, or null before the first skin component finished loading.
TSkinManagerLink* SkinManager();
// The process-wide manager, created with the installed factory when absent.
TSkinManagerLink* EnsureSkinManager();
// Destroys the process-wide manager (unit finalisation; also done at process exit).
void FreeSkinManager();

// The manager used until the real one is installed: it records every call and does
// nothing else.
class TRecordingSkinManager : public TSkinManagerLink {
 public:
  struct Call {
    std::string Operation;  // "AddSkinData", "RequestAction", ...
    TSkinData* SkinData = nullptr;
    int32_t Action = 0;
    int32_t DelayMs = 0;
    HWND Window = nullptr;
    // Manager fields at the time of the call.
    TSkinData* ActionSkinData = nullptr;
    int32_t RunState = 0;
  };

  void AddSkinData(TSkinData* skinData) override;
  void RemoveSkinData(TSkinData* skinData) override;
  void InstallHook() override;
  void RequestAction(int32_t action, int32_t delayMs) override;
  void NotifySkinChanged() override;
  bool SkinWindow(HWND window) override;

  std::vector<Call> Calls;
  // The components added and not removed, in order.
  std::vector<TSkinData*> SkinDatas;

 private:
  Call Note(std::string operation) const;
};
