// Helpers of the skinned-control tests: our default skin, a form with every kind of
// control the tests skin, a list standing in for the form's frame object, pictures of
// what a skinned control paints.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/ButtonCtrls.h"
#include "framework/ComCtrls.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "skin/controls/WinSubClass.h"
#include "skin/data/WinSkinData.h"

// The path of a file of the build (a Linux path) as Wine programs open it.
std::string WinePath(const std::string& linuxPath);

// A skin component holding skins/NAME.skn of the build.
std::unique_ptr<TSkinData> LoadBuiltSkin(const std::string& name);

// Stands in for the form's frame object: remembers what registered.
class TRecordingList : public TSkinControlList {
 public:
  void AddSkinControl(TSkinControlItem* item) override;
  void RemoveSkinControl(TSkinControlItem* item) override;
  std::vector<TSkinControl*> controls;
  int added = 0;
  int removed = 0;
};

// A form with two buttons, a check box, a radio pair and a status bar of two panels,
// shown topmost. Tests read the screen, and ctest runs test programs side by side: one
// form at a time is shown (a mutex shared by the processes).
struct TControlsForm {
  TControlsForm();
  ~TControlsForm();
  TForm* form = nullptr;
  TButton* button = nullptr;
  TButton* button2 = nullptr;
  TCheckBox* check = nullptr;
  TRadioButton* radio = nullptr;
  TRadioButton* radio2 = nullptr;
  TStatusBar* status = nullptr;
  std::vector<std::wstring> clicks;

 private:
  HANDLE screenLock_ = nullptr;
};

// A 32-bit picture of what `window` paints when sent WM_PAINT with a DC of the
// window's size (the skinned controls paint into a DC given in wParam).
class TCapture {
 public:
  TCapture(int width, int height);
  ~TCapture();
  TCapture(const TCapture&) = delete;
  TCapture& operator=(const TCapture&) = delete;
  HDC Dc() const { return dc_; }
  COLORREF At(int x, int y) const;
  int Width() const { return width_; }
  int Height() const { return height_; }
  void Fill(COLORREF colour);

 private:
  int width_ = 0;
  int height_ = 0;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  uint32_t* bits_ = nullptr;
};

// The window painted through WM_PAINT with the capture's DC.
std::unique_ptr<TCapture> PaintOf(HWND window);
// What the screen shows of the window (the window must be on top).
std::unique_ptr<TCapture> ScreenOf(HWND window);

// Serves the thread's messages for a while / until done.
void PumpFor(DWORD milliseconds);
