// What the skin manager knows of the objects it keeps: skinned frames and skinned popup
// menus live in the layer above (skin/form); they derive from these bases and that layer
// installs the factories that make them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class TCustomForm;
class TSkinData;
class TBitmap;

// Frame states the manager reads.
inline constexpr int32_t kFrameAttached = 0;
inline constexpr int32_t kFrameActive = 1;
inline constexpr int32_t kFrameRefreshing = 3;
inline constexpr int32_t kFrameDetaching = 4;
inline constexpr int32_t kFrameFirstResize = 5;
inline constexpr int32_t kFrameDead = 6;

class TSkinFrameBase {
 public:
  TSkinFrameBase() = default;
  TSkinFrameBase(const TSkinFrameBase&) = delete;
  TSkinFrameBase& operator=(const TSkinFrameBase&) = delete;
  virtual ~TSkinFrameBase() = default;

  // Removes the skin from the living window and gives it back as it was.
  virtual void Unskin() = 0;
  // The window is being destroyed: restore its procedure, free what hangs on it.
  virtual void Detach() = 0;
  // Frees the caption buttons (they are rebuilt with the layout).
  virtual void FreeButtons() = 0;
  virtual void RebuildLayout() = 0;
  // Re-applies colours and control skins after a skin change.
  virtual void Refresh() = 0;
  virtual void BuildRegion() = 0;
  // Removes and frees the frame's own window region (maximised MDI children).
  virtual void DropRegion() = 0;
  virtual bool HasRegion() const = 0;
  // Skins a child window found by the hook (the size grip); nothing by default.
  virtual void SkinChildWindow(HWND) {}

  HWND Window = nullptr;
  HINSTANCE ModuleInstance = nullptr;
  TSkinData* SkinData = nullptr;
  int32_t State = kFrameAttached;
  uint8_t MdiRole = 0;       // 0 none, 1 MDI main form, 2 MDI child
  uint8_t DisplayState = 0;  // 0 normal, 1 maximised, 2 minimised
};

// A skinned menu popup window ("#32768").
class TSkinPopupBase {
 public:
  TSkinPopupBase() = default;
  TSkinPopupBase(const TSkinPopupBase&) = delete;
  TSkinPopupBase& operator=(const TSkinPopupBase&) = delete;
  // Restores the window's procedure.
  virtual ~TSkinPopupBase() = default;

  HWND Window = nullptr;
  HMENU Menu = nullptr;
  // The popup's background picture, or null.
  virtual TBitmap* Background() const { return nullptr; }
};

class TSkinManage;

// Makes and initialises the frame of an accepted window (form null for a foreign window).
using TSkinFrameFactory = std::function<std::unique_ptr<TSkinFrameBase>(
    TSkinManage& manager, HWND window, TCustomForm* form, TSkinData* skinData,
    const std::string& className)>;
// Makes the skinned popup of a menu popup window (it subclasses the window), or null.
using TSkinPopupFactory = std::function<std::unique_ptr<TSkinPopupBase>(
    TSkinManage& manager, HWND window, TSkinData* skinData)>;
