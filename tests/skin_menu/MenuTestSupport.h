// The menu tests' form: a skinned framework form with a main menu (several top-level items,
// a sub-menu, checked and disabled items, shortcuts, a separator) and a popup menu, and a
// driver that gives real mouse and keyboard input from a second thread while the GUI
// thread runs the menu loops.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>

#include "framework/Menus.h"
#include "tests/skin_form/SkinFormTestSupport.h"

class MenuTestForm : public SkinnedTestForm {
 public:
  explicit MenuTestForm(const std::string& skin = "default");

  TMainMenu* mainMenu = nullptr;
  TPopupMenu* popupMenu = nullptr;
  TMenuItem* fileOpen = nullptr;
  TMenuItem* fileSave = nullptr;  // disabled
  TMenuItem* editUndo = nullptr;
  TMenuItem* editOptions = nullptr;  // sub-menu
  TMenuItem* optionAlpha = nullptr;  // checked
  TMenuItem* viewToolbar = nullptr;  // checked
  TMenuItem* popupCopy = nullptr;
  // The commands run so far, by caption, in order ("Open;Undo;").
  std::wstring ran;
  // The clicks of the bar's items (run as their drop-downs open), by caption ("File;").
  std::wstring opened;
};

// Real input (SendInput) at screen coordinates.
void MoveMouse(POINT at);
void ClickAt(POINT at, bool right = false);
void PressKey(WORD key);
void PressAltWith(WORD key);

// The visible menu popup windows ("#32768") of this process, top-most first.
int VisiblePopupCount();
HWND TopPopup();

// Waits (on the calling thread, no message handling) until `done` or `ms` have passed.
bool WaitFor(const std::function<bool()>& done, int ms = 3000);

// Runs `script` on a second thread while this (GUI) thread handles messages; true when
// the script finished in time.
bool RunScript(const std::function<void()>& script, int ms = 20000);

// With PTEST_MENU_SHOT_DIR set (a path the program can write, e.g. \\?\unix\tmp\x),
// saves the screen there as `name`.bmp, to look at the open menus.
void SaveScreenShot(const std::string& name);

// The screen point of a frame point of `window`.
POINT ScreenOf(HWND window, POINT framePoint);
POINT CentreOf(const RECT& r);
COLORREF ScreenPixel(POINT at);
