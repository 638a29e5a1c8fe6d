// Program ptest: the disk monitor. Creates the main window TForm1 from its stored layout
// and runs the message loop until that window closes.
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "app/ProgramOptions.h"
#include "app/Test.h"
#include "framework/Application.h"
#include "framework/SysUtils.h"
#include "skin/controls/RegisterSkinControls.h"
#include "skin/data/WinSkinData.h"
#include "skin/form/WinSkinForm.h"

namespace {

std::vector<std::wstring> CommandLineArguments() {
  std::vector<std::wstring> arguments;
  int count = 0;
  LPWSTR* list = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!list) return arguments;
  for (int i = 1; i < count; ++i) arguments.emplace_back(list[i]);
  LocalFree(list);
  return arguments;
}

// The skin component takes file names in the ANSI code page.
std::string AnsiText(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                       nullptr, nullptr);
  std::string result(static_cast<size_t>(size > 0 ? size : 0), '\0');
  if (size > 0)
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), result.data(), size, nullptr,
                        nullptr);
  return result;
}

int Run() {
  const ProgramOptions options = ParseProgramOptions(CommandLineArguments());
  Application->Initialize();
  RegisterTestClasses();
  // Before the layout loads: its skin component then creates the skin manager that gives
  // the window its skinned frame.
  InstallSkinForms();
  // The skinned-control classes control discovery may attach to the window's controls.
  RegisterSkinControls();
  Application->CreateForm(&Form1);
  if (!Form1 || !Form1->Memo1 || !Form1->SkinData1) {
    MessageBoxW(nullptr, L"The main window's layout is missing from the program.", L"ptest", MB_ICONERROR);
    return 1;
  }
  if (options.skinFile) Form1->SkinData1->SetSkinFile(AnsiText(*options.skinFile));
  Application->Run();
  // The window is closed and FormClose has freed the watchers: nothing is left that
  // outlives the process, so it ends here, without taking its windows down one by one
  // and without running static destructors. Hiding or destroying a visible window costs
  // 2 s under Wine on a display without a window manager (the X11 driver waits that long
  // for the window manager to withdraw it), and the skin manager, a static object, would
  // otherwise be destroyed before the skin component of the window that uses it.
  ExitProcess(0);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  try {
    return Run();
  } catch (const std::exception& error) {
    MessageBoxW(nullptr, Utf8ToWide(error.what()).c_str(), L"ptest", MB_ICONERROR);
  } catch (...) {
    MessageBoxW(nullptr, L"The program stopped on an unexpected error.", L"ptest", MB_ICONERROR);
  }
  return 1;
}
