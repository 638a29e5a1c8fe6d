// Program gallery: one window with every control kind the skin engine skins, for looking
// at skins. gallery.exe [skin file] starts with that skin instead of the stored one.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "framework/Application.h"
#include "framework/SysUtils.h"
#include "gallery/GalleryForm.h"
#include "skin/controls/RegisterSkinControls.h"
#include "skin/form/WinSkinForm.h"

namespace {

TGalleryForm* GalleryForm1 = nullptr;

std::wstring FirstArgument() {
  int count = 0;
  LPWSTR* list = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!list) return {};
  std::wstring first = count > 1 ? list[1] : L"";
  LocalFree(list);
  return first;
}

int Run() {
  Application->Initialize();
  RegisterGalleryClasses();
  // Before the layout loads: its skin component creates the skin manager, which then
  // gives the window its frame and its controls their skinned classes.
  InstallSkinForms();
  RegisterSkinControls();
  Application->CreateForm(&GalleryForm1);
  if (!GalleryForm1 || !GalleryForm1->SkinData1) {
    MessageBoxW(nullptr, L"The gallery's layout is missing from the program.", L"gallery", MB_ICONERROR);
    return 1;
  }
  const std::wstring skin = FirstArgument();
  if (!skin.empty()) GalleryForm1->ApplySkinFile(skin);
  Application->Run();
  // As in ptest: end here rather than take the windows down one by one (the skin manager
  // is a static object that would go before the skin component that uses it).
  ExitProcess(0);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  try {
    return Run();
  } catch (const std::exception& error) {
    MessageBoxW(nullptr, Utf8ToWide(error.what()).c_str(), L"gallery", MB_ICONERROR);
  } catch (...) {
    MessageBoxW(nullptr, L"The gallery stopped on an unexpected error.", L"gallery", MB_ICONERROR);
  }
  return 1;
}
