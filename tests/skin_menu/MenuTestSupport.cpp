#include "tests/skin_menu/MenuTestSupport.h"

#include <thread>

#include "framework/Bitmap.h"

MenuTestForm::MenuTestForm(const std::string& skin) : SkinnedTestForm(skin, "Menu test", 420, 260) {
  mainMenu = new TMainMenu(form);
  auto add = [this](TMenuItem* parent, const std::wstring& caption, TShortCut shortCut = 0) {
    auto* item = new TMenuItem(parent->GetParentMenu());
    item->SetCaption(caption);
    item->SetShortCut(shortCut);
    std::wstring name;
    for (wchar_t c : caption)
      if (c != L'&') name += c;
    // The bar's items run their click when their drop-down opens; the others when chosen.
    std::wstring& log = parent == mainMenu->Items() ? opened : ran;
    item->OnClick = [&log, name](TObject*) { log += name + L";"; };
    parent->Add(item);
    return item;
  };
  TMenuItem* file = add(mainMenu->Items(), L"&File");
  fileOpen = add(file, L"&Open", ShortCut('O', scCtrl));
  fileSave = add(file, L"&Save", ShortCut('S', scCtrl));
  fileSave->SetEnabled(false);
  add(file, L"-");
  add(file, L"E&xit");
  TMenuItem* edit = add(mainMenu->Items(), L"&Edit");
  editUndo = add(edit, L"&Undo", ShortCut('Z', scCtrl));
  editOptions = add(edit, L"O&ptions");
  optionAlpha = add(editOptions, L"&Alpha");
  optionAlpha->SetChecked(true);
  add(editOptions, L"&Beta");
  TMenuItem* view = add(mainMenu->Items(), L"&View");
  viewToolbar = add(view, L"&Toolbar");
  viewToolbar->SetChecked(true);
  add(view, L"&Status bar");
  TMenuItem* help = add(mainMenu->Items(), L"&Help");
  add(help, L"&About", VK_F1);
  form->SetMenu(mainMenu);

  popupMenu = new TPopupMenu(form);
  add(popupMenu->Items(), L"Cu&t");
  popupCopy = add(popupMenu->Items(), L"&Copy");
  add(popupMenu->Items(), L"&Paste");
  form->SetPopupMenu(popupMenu);
}

namespace {

void SendMouse(DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  SendInput(1, &input, sizeof input);
}

void SendKey(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &input, sizeof input);
}

BOOL CALLBACK CollectPopup(HWND window, LPARAM data) {
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == GetCurrentProcessId() && lstrcmpW(name, L"#32768") == 0 && IsWindowVisible(window)) {
    auto* found = reinterpret_cast<std::pair<int, HWND>*>(data);
    if (found->first++ == 0) found->second = window;
  }
  return TRUE;
}

}  // namespace

void MoveMouse(POINT at) {
  // A glide in a few steps, as a hand moves it.
  POINT from{};
  GetCursorPos(&from);
  constexpr int kSteps = 4;
  for (int i = 1; i < kSteps; ++i) {
    SetCursorPos(from.x + (at.x - from.x) * i / kSteps, from.y + (at.y - from.y) * i / kSteps);
    Sleep(15);
  }
  SetCursorPos(at.x, at.y);
  // A small real movement, so that the system reports a mouse move there.
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = 1;
  input.mi.dwFlags = MOUSEEVENTF_MOVE;
  SendInput(1, &input, sizeof input);
  input.mi.dx = -1;
  SendInput(1, &input, sizeof input);
  Sleep(60);
}

void ClickAt(POINT at, bool right) {
  MoveMouse(at);
  SendMouse(right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN);
  Sleep(30);
  SendMouse(right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
  Sleep(80);
}

void PressKey(WORD key) {
  SendKey(key, false);
  Sleep(20);
  SendKey(key, true);
  Sleep(80);
}

void PressAltWith(WORD key) {
  SendKey(VK_MENU, false);
  Sleep(20);
  SendKey(key, false);
  Sleep(20);
  SendKey(key, true);
  Sleep(20);
  SendKey(VK_MENU, true);
  Sleep(100);
}

int VisiblePopupCount() {
  std::pair<int, HWND> found{0, nullptr};
  EnumWindows(&CollectPopup, reinterpret_cast<LPARAM>(&found));
  return found.first;
}

HWND TopPopup() {
  std::pair<int, HWND> found{0, nullptr};
  EnumWindows(&CollectPopup, reinterpret_cast<LPARAM>(&found));
  return found.second;
}

bool WaitFor(const std::function<bool()>& done, int ms) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (static_cast<int>(GetTickCount() - start) > ms) return false;
    Sleep(20);
  }
  return true;
}

bool RunScript(const std::function<void()>& script, int ms) {
  std::atomic<bool> finished{false};
  std::thread driver([&] {
    script();
    // A failed step may leave menus open: the GUI thread is inside their loop until they close.
    for (int i = 0; i < 4 && VisiblePopupCount() > 0; ++i) PressKey(VK_ESCAPE);
    finished = true;
  });
  const bool inTime = PumpUntil([&] { return finished.load(); }, ms);
  if (!inTime) {
    // Let the script end before its captures go: close any menu it left open.
    EndMenu();
    PumpUntil([&] { return finished.load(); }, 10000);
  }
  driver.join();
  // Whatever the script left behind (a menu closing, posted commands).
  PumpFor(150);
  return inTime;
}

void SaveScreenShot(const std::string& name) {
  char folder[MAX_PATH] = {};
  if (GetEnvironmentVariableA("PTEST_MENU_SHOT_DIR", folder, sizeof folder) == 0) return;
  Sleep(150);  // let the menu finish painting
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  TBitmap shot(width, height);
  HDC screen = GetDC(nullptr);
  BitBlt(shot.Canvas()->Handle(), 0, 0, width, height, screen, 0, 0, SRCCOPY);
  ReleaseDC(nullptr, screen);
  shot.SaveToFile(std::string(folder) + "\\" + name + ".bmp");
}

POINT ScreenOf(HWND window, POINT framePoint) {
  RECT r{};
  GetWindowRect(window, &r);
  return {r.left + framePoint.x, r.top + framePoint.y};
}

POINT CentreOf(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

COLORREF ScreenPixel(POINT at) {
  HDC dc = GetDC(nullptr);
  const COLORREF colour = GetPixel(dc, at.x, at.y);
  ReleaseDC(nullptr, dc);
  return colour;
}
