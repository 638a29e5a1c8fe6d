#include "tests/e2e/E2eDriver.h"

#include <commctrl.h>

#include <atomic>
#include <cwchar>
#include <stdexcept>

namespace e2e {

namespace {

constexpr wchar_t kCaption[] = L"磁盘监视";
constexpr UINT kSendTimeoutMs = 5000;
// The skinning engine's "are you skinned?" message: a skinned window answers 1.
constexpr UINT kQuerySkinMessage = 0x3523;

std::string Narrow(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                       nullptr, nullptr);
  std::string result(static_cast<size_t>(size > 0 ? size : 0), '\0');
  if (size > 0)
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), result.data(), size, nullptr,
                        nullptr);
  return result;
}

struct WindowSearch {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK FindMainWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != search->processId || !IsWindowVisible(window)) return TRUE;
  wchar_t text[64] = {};
  GetWindowTextW(window, text, 64);
  if (wcscmp(text, kCaption) != 0) return TRUE;
  search->found = window;
  return FALSE;
}

struct ChildSearch {
  const wchar_t* className;
  const std::wstring* text;
  HWND found;
};

BOOL CALLBACK FindChild(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<ChildSearch*>(param);
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  if (wcscmp(name, search->className) != 0) return TRUE;
  if (!search->text->empty()) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    if (wcscmp(search->text->c_str(), text) != 0) return TRUE;
  }
  search->found = window;
  return FALSE;
}

void SendMouse(DWORD flags, POINT point) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = MulDiv(point.x, 65535, width - 1);
  input.mi.dy = MulDiv(point.y, 65535, height - 1);
  input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
  SendInput(1, &input, sizeof input);
}

int CountWholeLines(const std::wstring& text, const std::wstring& line) {
  const std::wstring haystack = L"\r\n" + text;
  const std::wstring needle = L"\r\n" + line + L"\r\n";
  int count = 0;
  for (size_t at = haystack.find(needle); at != std::wstring::npos; at = haystack.find(needle, at + 2)) ++count;
  return count;
}

}  // namespace

std::wstring ProgramPath() {
  std::wstring path = L"\\\\?\\unix";
  for (const char* p = PTEST_APP_EXE; *p; ++p) path += *p == '/' ? L'\\' : static_cast<wchar_t>(*p);
  return path;
}

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs, DWORD stepMs) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return done();
    Sleep(stepMs);
  }
  return true;
}

int Pixels::Count(const std::function<bool(uint32_t)>& test) const {
  int count = 0;
  for (uint32_t p : rgb) count += test(p) ? 1 : 0;
  return count;
}

Pixels GrabScreen(const RECT& r) {
  Pixels pixels;
  pixels.width = r.right - r.left;
  pixels.height = r.bottom - r.top;
  if (pixels.width <= 0 || pixels.height <= 0) return pixels;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = pixels.width;
  info.bmiHeader.biHeight = -pixels.height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap && bits) {
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, pixels.width, pixels.height, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);
    GdiFlush();
    const auto* source = static_cast<const uint32_t*>(bits);
    pixels.rgb.assign(source, source + static_cast<size_t>(pixels.width) * pixels.height);
    for (uint32_t& p : pixels.rgb) p &= 0x00FFFFFFu;
  }
  if (bitmap) DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

void MoveMouse(POINT point) { SendMouse(0, point); }

void ClickAt(POINT point) {
  SendMouse(0, point);
  Sleep(30);
  SendMouse(MOUSEEVENTF_LEFTDOWN, point);
  Sleep(30);
  SendMouse(MOUSEEVENTF_LEFTUP, point);
}

void MouseButtonAt(DWORD buttonFlags, POINT point) { SendMouse(buttonFlags, point); }

void DoubleClickAt(POINT point) {
  SendMouse(0, point);
  Sleep(30);
  for (int i = 0; i < 2; ++i) {
    SendMouse(MOUSEEVENTF_LEFTDOWN, point);
    Sleep(20);
    SendMouse(MOUSEEVENTF_LEFTUP, point);
    Sleep(20);
  }
}

void RightClickAt(POINT point) {
  SendMouse(0, point);
  Sleep(30);
  SendMouse(MOUSEEVENTF_RIGHTDOWN, point);
  Sleep(30);
  SendMouse(MOUSEEVENTF_RIGHTUP, point);
}

void PressKey(WORD key, WORD modifier) {
  auto send = [](WORD vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
    Sleep(20);
  };
  if (modifier) send(modifier, false);
  send(key, false);
  send(key, true);
  if (modifier) send(modifier, true);
}

ProgramUnderTest::ProgramUnderTest(const std::wstring& arguments) {
  const std::wstring program = ProgramPath();
  std::wstring commandLine = L"\"" + program + L"\"";
  if (!arguments.empty()) commandLine += L" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, L"C:\\",
                      &startup, &info))
    throw std::runtime_error("cannot start " + Narrow(program) + ": error " + std::to_string(GetLastError()));
  process_ = info.hProcess;
  thread_ = info.hThread;
  processId_ = info.dwProcessId;
  WaitUntil(
      [&] {
        WindowSearch search{processId_, nullptr};
        EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&search));
        window_ = search.found;
        return window_ != nullptr || WaitForSingleObject(process_, 0) == WAIT_OBJECT_0;
      },
      30000, 50);
  if (!window_) throw std::runtime_error("the window \"磁盘监视\" of ptest.exe did not appear");
  // The skin manager attaches the frame at the first activation and completes it from a
  // posted message (the window grows around its client area and gets its region): wait
  // for that, then let the first paint and the start-up work finish before a test looks
  // or clicks.
  WaitUntil(
      [&] {
        DWORD_PTR answer = 0;
        if (!SendMessageTimeoutW(window_, kQuerySkinMessage, 0, 0, SMTO_NORMAL, kSendTimeoutMs, &answer) ||
            answer != 1)
          return false;
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        const bool cut = GetWindowRgn(window_, region) != ERROR;
        DeleteObject(region);
        return cut;
      },
      5000, 20);
  DWORD_PTR result = 0;
  SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_NORMAL, kSendTimeoutMs, &result);
}

ProgramUnderTest::~ProgramUnderTest() {
  if (WaitForSingleObject(process_, 0) != WAIT_OBJECT_0) {
    if (window_) PostMessageW(window_, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process_, 5000) != WAIT_OBJECT_0) TerminateProcess(process_, 1);
    WaitForSingleObject(process_, 5000);
  }
  CloseHandle(thread_);
  CloseHandle(process_);
}

HWND ProgramUnderTest::Child(const wchar_t* className, const std::wstring& text) const {
  ChildSearch search{className, &text, nullptr};
  EnumChildWindows(window_, FindChild, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void ProgramUnderTest::BringToFront() {
  SetForegroundWindow(window_);
  BringWindowToTop(window_);
  SetWindowPos(window_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
}

void ProgramUnderTest::MakeForeground() {
  const bool foreground = WaitUntil(
      [&] {
        BringToFront();
        return GetForegroundWindow() == window_;
      },
      3000, 100);
  if (!foreground) throw std::runtime_error("the window does not become the foreground window");
}

void ProgramUnderTest::Click(HWND control) {
  if (!control) throw std::runtime_error("no control to click");
  const RECT r = ScreenRectOf(control);
  const POINT middle{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  const bool reachable = WaitUntil(
      [&] {
        BringToFront();
        const HWND hit = WindowFromPoint(middle);
        return hit == control || IsChild(control, hit);
      },
      3000, 100);
  if (!reachable) throw std::runtime_error("another window covers the control to click");
  ClickAt(middle);
}

namespace {
std::string Describe(HWND window) {
  if (!window) return "none";
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  return Narrow(name) + " of process " + std::to_string(pid);
}
}  // namespace

bool ProgramUnderTest::ClickUntil(HWND control, const std::function<bool()>& done) {
  clickTrouble_.clear();
  for (int attempt = 0; attempt < 6; ++attempt) {
    Click(control);
    if (WaitUntil(done, 2000)) return true;
  }
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(0, &info);  // the foreground thread
  const RECT r = ScreenRectOf(control);
  clickTrouble_ = "foreground " + Describe(GetForegroundWindow()) + ", its mouse capture " +
                  Describe(info.hwndCapture) + ", window under the control's middle " +
                  Describe(WindowFromPoint(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2})) +
                  "; the program is " + std::to_string(processId_);
  return false;
}

std::wstring ProgramUnderTest::Text(HWND control) const {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(control, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, kSendTimeoutMs, &length)) return {};
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_NORMAL,
                           kSendTimeoutMs, &copied))
    return {};
  text.resize(copied);
  return text;
}

bool ProgramUnderTest::WaitForLogLine(const std::wstring& line, DWORD timeoutMs) const {
  return WaitUntil([&] { return CountLogLines(line) > 0; }, timeoutMs, 50);
}

bool ProgramUnderTest::WaitUntilDriveWatched(wchar_t drive, DWORD timeoutMs) const {
  const DWORD start = GetTickCount();
  bool seen = false;
  while (!seen && GetTickCount() - start < timeoutMs) {
    const std::wstring probe = std::wstring{drive, L':', L'\\'} + files::Unique(L"ptest-e2e-probe") + L".txt";
    if (!files::Create(probe)) return false;
    seen = WaitForLogLine(AddedLine(probe), 500);
    files::Remove(probe);
  }
  return seen;
}

int ProgramUnderTest::CountLogLines(const std::wstring& line) const { return CountWholeLines(LogText(), line); }

std::wstring ProgramUnderTest::StatusPanel(int index) const {
  const HWND bar = StatusBar();
  if (!bar) return L"<no status bar>";
  DWORD_PTR lengthResult = 0;
  if (!SendMessageTimeoutW(bar, SB_GETTEXTLENGTHW, static_cast<WPARAM>(index), 0, SMTO_NORMAL, kSendTimeoutMs,
                           &lengthResult))
    return L"<no answer>";
  const size_t length = LOWORD(lengthResult);
  // The status bar writes into the program's own memory: lend it a buffer there.
  const size_t bytes = (length + 1) * sizeof(wchar_t);
  void* remote = VirtualAllocEx(process_, nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (!remote) return L"<no memory>";
  std::wstring text(length + 1, L'\0');
  DWORD_PTR ignored = 0;
  SIZE_T read = 0;
  if (SendMessageTimeoutW(bar, SB_GETTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(remote),
                          SMTO_NORMAL, kSendTimeoutMs, &ignored))
    ReadProcessMemory(process_, remote, text.data(), bytes, &read);
  VirtualFreeEx(process_, remote, 0, MEM_RELEASE);
  text.resize(read >= bytes ? length : 0);
  return text;
}

RECT ProgramUnderTest::WindowRect() const {
  RECT r{};
  GetWindowRect(window_, &r);
  return r;
}

POINT ProgramUnderTest::WindowToScreenPoint(int x, int y) const {
  const RECT r = WindowRect();
  return {r.left + x, r.top + y};
}

POINT ProgramUnderTest::ClientToScreenPoint(int x, int y) const {
  POINT p{x, y};
  ClientToScreen(window_, &p);
  return p;
}

RECT ProgramUnderTest::ScreenRectOf(HWND control) const {
  RECT r{};
  GetWindowRect(control, &r);
  return r;
}

bool ProgramUnderTest::WaitForExit(DWORD timeoutMs) const {
  return WaitForSingleObject(process_, timeoutMs) == WAIT_OBJECT_0;
}

namespace files {

std::wstring Unique(const std::wstring& stem) {
  static std::atomic<int> counter{0};
  return stem + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
}

namespace {
bool Write(const std::wstring& path, DWORD access, DWORD disposition, const std::string& content) {
  HANDLE h = CreateFileW(path.c_str(), access, FILE_SHARE_READ, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = content.empty() ||
                  (WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
                   written == content.size());
  CloseHandle(h);
  return ok;
}
}  // namespace

bool Create(const std::wstring& path, const std::string& content) {
  return Write(path, GENERIC_WRITE, CREATE_NEW, content);
}

bool Append(const std::wstring& path, const std::string& content) {
  return Write(path, FILE_APPEND_DATA, OPEN_EXISTING, content);
}

bool Rename(const std::wstring& from, const std::wstring& to) { return MoveFileW(from.c_str(), to.c_str()) != 0; }
bool Remove(const std::wstring& path) { return DeleteFileW(path.c_str()) != 0; }
bool MakeFolder(const std::wstring& path) { return CreateDirectoryW(path.c_str(), nullptr) != 0; }

void RemoveTree(const std::wstring& path) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring full = path + L"\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(full);
      } else {
        DeleteFileW(full.c_str());
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(path.c_str());
}

}  // namespace files

std::wstring AddedLine(const std::wstring& name) { return L"增加文件:    " + name + L";   "; }
std::wstring RemovedLine(const std::wstring& name) { return L"删除文件:  " + name + L";   "; }
std::wstring ModifiedLine(const std::wstring& name) { return L"修改文件: " + name + L";   "; }
std::wstring RenamedLine(const std::wstring& from, const std::wstring& to) {
  return L"重命名文件:  " + from + L";   " + to;
}

}  // namespace e2e
