// A small skinned program for the end-to-end tests of what ptest.exe's own window cannot
// show: a sizeable skinned form "Skinned probe" (with the program's icon in its caption),
// a window of another module "Foreign probe" beside it, which must stay plain, and, with
// --message-box, a message box "Probe box" of the program over the form.
//
//   skinned_probe.exe SKINFILE [--message-box] [--low]
//
// --low places the windows near the bottom of the screen (to look at another program's
// window made inactive by them).
// Ends when the form is closed.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "framework/Application.h"
#include "framework/Forms.h"
#include "skin/controls/RegisterSkinControls.h"
#include "skin/data/WinSkinData.h"
#include "skin/form/WinSkinForm.h"

namespace {

constexpr char kLayout[] =
    "object ProbeForm: TForm\n  Left = 100\n  Top = 100\n  BorderStyle = bsSizeable\n"
    "  Caption = 'Skinned probe'\n  ClientWidth = 400\n  ClientHeight = 200\n  Color = clBtnFace\nend\n";

std::string Ansi(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string result(static_cast<size_t>(size > 0 ? size : 1), '\0');
  if (size > 0) WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, result.data(), size, nullptr, nullptr);
  result.resize(result.size() - 1);
  return result;
}

HWND probeForm = nullptr;

void CALLBACK ShowProbeBox(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  MessageBoxW(probeForm, L"已停止所有监视。", L"Probe box", MB_OK | MB_ICONINFORMATION);
}

// A window whose class belongs to another module (kernel32): the skin manager leaves it.
HWND MakeForeignWindow() {
  const HINSTANCE other = GetModuleHandleW(L"kernel32.dll");
  WNDCLASSW wc{};
  wc.lpfnWndProc = &DefWindowProcW;
  wc.hInstance = other;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"ProbeForeignWindow";
  RegisterClassW(&wc);
  return CreateWindowExW(0, L"ProbeForeignWindow", L"Foreign probe", WS_OVERLAPPEDWINDOW, 600, 100, 300, 200,
                         nullptr, nullptr, other, nullptr);
}

int Run() {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (arguments == nullptr || count < 2) return 2;
  const std::string skinFile = Ansi(arguments[1]);
  bool messageBox = false, low = false;
  for (int i = 2; i < count; ++i) {
    messageBox = messageBox || std::wstring(arguments[i]) == L"--message-box";
    low = low || std::wstring(arguments[i]) == L"--low";
  }
  LocalFree(arguments);

  InstallSkinForms();
  RegisterSkinControls();
  Application->Initialize();
  TForm* form = TCustomForm::CreateFromLayout<TForm>(Application, kLayout);
  auto* data = new TSkinData(form);
  data->SetSkinFile(skinFile);
  data->SetActive(true);

  const HWND foreign = MakeForeignWindow();
  if (low) {
    SetWindowPos(foreign, nullptr, 600, 740, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    form->SetTop(700);
  }
  ShowWindow(foreign, SW_SHOW);
  SetForegroundWindow(foreign);
  form->Show();
  probeForm = form->Handle();
  SetForegroundWindow(probeForm);
  if (messageBox) SetTimer(nullptr, 0, 600, &ShowProbeBox);

  MSG msg;
  while (IsWindowVisible(probeForm) && GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  // As ptest.exe: nothing outlives the process, so it ends here at once.
  ExitProcess(0);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  try {
    return Run();
  } catch (...) {
    return 1;
  }
}
