// TWinSkinPopMenu: the skinned background and frame of one menu popup window ("#32768").
// The skin manager's creation hook attaches one to each popup it accepts; it paints the
// window from the skin's MenuBackground element (also when the popup is printed), keeps
// that picture for the items drawn over it, and lets go of the window when it is destroyed.
#pragma once

#include <windows.h>

#include <memory>

#include "skin/manager/SkinManage.h"

class TBitmap;
class TSkinData;

class TWinSkinPopMenu : public TSkinPopupBase {
 public:
  explicit TWinSkinPopMenu(TSkinManage& manager) : manager_(manager) {}
  ~TWinSkinPopMenu() override;

  // Remembers the window, skin and menu, and subclasses the window.
  void Attach(HWND window, TSkinData* skinData, HMENU menu);
  // Restores the window's procedure and empties Background.
  void Detach();
  TBitmap* Background() const override { return background_.get(); }

  WNDPROC PreviousWndProc = nullptr;
  TSkinData* SkinData = nullptr;
  // Where the client area starts inside the window (items are placed in client terms).
  POINT ClientOrigin{0, 0};

  static LRESULT CALLBACK WindowProcStub(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam);
  bool CanPaint() const;
  // Background := the MenuBackground picture at the window's size.
  bool BuildBackground();
  void PaintFrame(HRGN update);
  void Print(HDC dc, LPARAM flags);

  TSkinManage& manager_;
  std::unique_ptr<TBitmap> background_;
  bool attached_ = false;
};

// The background of the live skinned popup that shows `menu`, and where the popup's client
// area starts in it (`clientOrigin` is left alone when there is none); else null.
TBitmap* FindPopupBackground(HMENU menu, POINT& clientOrigin);
// Makes the skin manager attach TWinSkinPopMenu objects to accepted popups.
void InstallSkinPopMenus();
