// Drives ptest.exe from another process as a user would: starts it, finds its window by
// the caption, clicks its buttons with real mouse input at their screen positions, types
// keys, reads the log box and the status bar's panels, and grabs pixels from the screen.
// Windows only; the program runs under Wine beside this one.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace e2e {

// The path of ptest.exe as this program opens it (CMake passes the Linux path; under Wine
// "\\?\unix\..." reaches it).
std::wstring ProgramPath();

// Waits (sleeping `stepMs` between tries) until `done` holds; false after `timeoutMs`.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs, DWORD stepMs = 20);

// Screen pixels of a rectangle, top row first, as 0x00RRGGBB.
struct Pixels {
  int width = 0, height = 0;
  std::vector<uint32_t> rgb;
  uint32_t At(int x, int y) const { return rgb[static_cast<size_t>(y) * width + x]; }
  // How many pixels satisfy `test`.
  int Count(const std::function<bool(uint32_t)>& test) const;
  bool operator==(const Pixels&) const = default;
};
Pixels GrabScreen(const RECT& screenRect);

// Mouse and keyboard input as the system's input queue receives it (SendInput).
void MoveMouse(POINT screenPoint);
void ClickAt(POINT screenPoint);
// One mouse button event at `screenPoint` (MOUSEEVENTF_LEFTDOWN, _LEFTUP, _RIGHTDOWN, ...).
void MouseButtonAt(DWORD buttonFlags, POINT screenPoint);
// Two left clicks within the system's double-click time.
void DoubleClickAt(POINT screenPoint);
void RightClickAt(POINT screenPoint);
// A key press: `modifier` (0 for none, else e.g. VK_MENU) held while `key` goes down and up.
void PressKey(WORD key, WORD modifier = 0);

// One running ptest.exe and its main window. The destructor ends a process still running.
class ProgramUnderTest {
 public:
  // Starts ptest.exe with `arguments` (in C:\) and waits for its visible main window
  // "磁盘监视" and for its skinned frame; throws std::runtime_error when the window does
  // not come.
  explicit ProgramUnderTest(const std::wstring& arguments = L"");
  ~ProgramUnderTest();
  ProgramUnderTest(const ProgramUnderTest&) = delete;
  ProgramUnderTest& operator=(const ProgramUnderTest&) = delete;

  HWND Window() const { return window_; }
  DWORD ProcessId() const { return processId_; }
  HANDLE Process() const { return process_; }

  // A child window of the main window by class ("TButton") and text; nullptr if none.
  HWND Child(const wchar_t* className, const std::wstring& text = L"") const;
  HWND Button(const std::wstring& caption) const { return Child(L"TButton", caption); }
  HWND LogBox() const { return Child(L"TMemo"); }
  HWND StatusBar() const { return Child(L"TStatusBar"); }

  // Raises the window and clicks the middle of `control` with the left button; throws
  // when another window covers that point.
  void Click(HWND control);
  // Clicks `control` until `done` holds, a few times at most: other programs on the same
  // display may move the mouse between the move and the click. For commands that a
  // second click leaves as they are (a disabled button ignores it).
  bool ClickUntil(HWND control, const std::function<bool()>& done);
  // What may have kept the last ClickUntil from working (foreground, mouse capture).
  const std::string& LastClickTrouble() const { return clickTrouble_; }
  void BringToFront();
  // Raises the window and waits until it is the foreground window (keys go there);
  // throws when it does not become it.
  void MakeForeground();

  // The whole text of a window (WM_GETTEXT, wide).
  std::wstring Text(HWND control) const;
  std::wstring LogText() const { return Text(LogBox()); }
  // Is `line` one whole line of the log? Waits up to `timeoutMs` for it.
  bool WaitForLogLine(const std::wstring& line, DWORD timeoutMs = 10000) const;
  // The watchers arm their watches on their own threads, a moment after the click: makes
  // probe files in the root of `drive` until one is reported. False after `timeoutMs`.
  bool WaitUntilDriveWatched(wchar_t drive, DWORD timeoutMs = 10000) const;
  // How often `line` occurs as a whole line of the log.
  int CountLogLines(const std::wstring& line) const;
  // The text of status-bar part `index` (SB_GETTEXTW into memory of the program).
  std::wstring StatusPanel(int index) const;

  // The main window's rectangle on the screen, and a point given in window coordinates
  // (origin at its top-left corner, the frame included) on the screen.
  RECT WindowRect() const;
  POINT WindowToScreenPoint(int x, int y) const;
  // A point of the main window's client area in screen coordinates.
  POINT ClientToScreenPoint(int x, int y) const;
  RECT ScreenRectOf(HWND control) const;

  // Waits for the process to end; true when it ended within `timeoutMs`.
  bool WaitForExit(DWORD timeoutMs) const;

 private:
  HANDLE process_ = nullptr;
  HANDLE thread_ = nullptr;
  DWORD processId_ = 0;
  HWND window_ = nullptr;
  std::string clickTrouble_;
};

// Files made, changed, renamed and removed from inside Wine, as a user's programs do.
namespace files {
// A name no other run uses: "<stem>-<pid>-<n>".
std::wstring Unique(const std::wstring& stem);
bool Create(const std::wstring& path, const std::string& content = "");
bool Append(const std::wstring& path, const std::string& content);
bool Rename(const std::wstring& from, const std::wstring& to);
bool Remove(const std::wstring& path);
bool MakeFolder(const std::wstring& path);
// Removes a folder with everything in it; missing is fine.
void RemoveTree(const std::wstring& path);
}  // namespace files

// The log-line texts of the program, written out here independently of its sources.
std::wstring AddedLine(const std::wstring& name);
std::wstring RemovedLine(const std::wstring& name);
std::wstring ModifiedLine(const std::wstring& name);
std::wstring RenamedLine(const std::wstring& from, const std::wstring& to);

}  // namespace e2e
