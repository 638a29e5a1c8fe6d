// Starts gallery.exe, finds its window and checks that a window of every windowed control
// kind is there, switches skins and skinning a few times, then closes it.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "skin/manager/SkinMessages.h"

namespace {

std::wstring GalleryPath() {
  std::wstring path = L"\\\\?\\unix";
  for (const char* p = PTEST_GALLERY_EXE; *p; ++p) path += *p == '/' ? L'\\' : static_cast<wchar_t>(*p);
  return path;
}

// A visible top-level window of one class in one process.
struct Search {
  DWORD process;
  const wchar_t* className;
  HWND found;
};

// Window enumeration callbacks: nothing may leave them as an exception.
BOOL CALLBACK FindTopLevel(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  if (process == search->process && wcscmp(name, search->className) == 0 && IsWindowVisible(window)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

struct TextSearch {
  const wchar_t* text;
  HWND found;
};

BOOL CALLBACK FindByText(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<TextSearch*>(data);
  wchar_t text[64] = {};
  GetWindowTextW(window, text, 64);
  if (wcscmp(text, search->text) == 0) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

HWND ChildWithText(HWND parent, const wchar_t* text) {
  TextSearch search{text, nullptr};
  EnumChildWindows(parent, &FindByText, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

BOOL CALLBACK CollectClass(HWND window, LPARAM data) {
  try {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    reinterpret_cast<std::set<std::wstring>*>(data)->insert(name);
    return TRUE;
  } catch (...) {
    return FALSE;
  }
}

bool StartGallery(PROCESS_INFORMATION& process, Search& search) {
  std::wstring command = L"\"" + GalleryPath() + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return false;
  search = {process.dwProcessId, L"TGalleryForm", nullptr};
  for (int i = 0; i < 300 && !search.found; ++i) {
    EnumWindows(&FindTopLevel, reinterpret_cast<LPARAM>(&search));
    if (!search.found) Sleep(100);
  }
  return true;
}

void EndGallery(PROCESS_INFORMATION& process) {
  if (WaitForSingleObject(process.hProcess, 20000) != WAIT_OBJECT_0) {
    ADD_FAILURE() << "the gallery did not end after WM_CLOSE";
    TerminateProcess(process.hProcess, 1);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

struct SkinCount {
  int buttons = 0, skinnedButtons = 0, combos = 0, skinnedCombos = 0;
};

BOOL CALLBACK CountSkinned(HWND window, LPARAM data) {
  auto* count = reinterpret_cast<SkinCount*>(data);
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  if (!IsWindowVisible(window)) return TRUE;
  const bool skinned = SendMessageW(window, SKM_QUERYSKIN, 0, 0) == 1;
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  if (_wcsicmp(name, L"Button") == 0 && (style & BS_TYPEMASK) <= BS_DEFPUSHBUTTON) {
    ++count->buttons;
    count->skinnedButtons += skinned;
  } else if (_wcsicmp(name, L"ComboBox") == 0) {
    ++count->combos;
    count->skinnedCombos += skinned;
  }
  return TRUE;
}

// The system's file dialog, opened from the gallery, gets the skinned frame, and its push
// buttons and combo boxes are skinned through their windows.
TEST(GallerySmoke, TheSystemFileDialogIsSkinnedThroughItsChildWindows) {
  PROCESS_INFORMATION process{};
  Search search{};
  ASSERT_TRUE(StartGallery(process, search)) << "cannot start " << std::string(PTEST_GALLERY_EXE);
  ASSERT_NE(search.found, nullptr) << "the gallery window did not appear";
  const HWND open = ChildWithText(search.found, L"Open file...");
  ASSERT_NE(open, nullptr);
  PostMessageW(open, BM_CLICK, 0, 0);
  Search dialog{process.dwProcessId, L"#32770", nullptr};
  for (int i = 0; i < 100 && !dialog.found; ++i) {
    Sleep(100);
    EnumWindows(&FindTopLevel, reinterpret_cast<LPARAM>(&dialog));
  }
  EXPECT_NE(dialog.found, nullptr) << "no file dialog";
  if (dialog.found) {
    bool skinned = false;
    for (int i = 0; i < 50 && !skinned; ++i) {
      skinned = SendMessageW(dialog.found, SKM_QUERYSKIN, 0, 0) == 1;
      if (!skinned) Sleep(100);
    }
    EXPECT_TRUE(skinned) << "the dialog has no skinned frame";
    Sleep(500);
    SkinCount count;
    EnumChildWindows(dialog.found, &CountSkinned, reinterpret_cast<LPARAM>(&count));
    EXPECT_GE(count.buttons, 2) << "Open and Cancel";
    EXPECT_EQ(count.skinnedButtons, count.buttons);
    EXPECT_GE(count.combos, 1);
    EXPECT_EQ(count.skinnedCombos, count.combos);
    PostMessageW(dialog.found, WM_COMMAND, IDCANCEL, 0);
    for (int i = 0; i < 50 && IsWindow(dialog.found); ++i) Sleep(100);
    EXPECT_FALSE(IsWindow(dialog.found)) << "Cancel closes the dialog";
  }
  PostMessageW(search.found, WM_CLOSE, 0, 0);
  EndGallery(process);
}

TEST(GallerySmoke, StartsWithAWindowOfEveryControlKind) {
  PROCESS_INFORMATION process{};
  Search search{};
  ASSERT_TRUE(StartGallery(process, search)) << "cannot start " << std::string(PTEST_GALLERY_EXE);
  if (search.found) {
    wchar_t caption[64] = {};
    GetWindowTextW(search.found, caption, 64);
    EXPECT_EQ(std::wstring(caption), L"Control gallery");
    std::set<std::wstring> classes;
    EnumChildWindows(search.found, &CollectClass, reinterpret_cast<LPARAM>(&classes));
    for (const wchar_t* kind :
         {L"TBitBtn", L"TScrollBar", L"TListBox", L"TListView", L"TComboBox", L"TGroupBox", L"TRadioGroup",
          L"TGroupButton", L"TProgressBar", L"TTrackBar", L"TUpDown", L"TPageControl", L"TTabSheet", L"TTabControl",
          L"THeaderControl", L"TTreeView", L"TDateTimePicker", L"TToolBar", L"TScrollBox", L"TPanel", L"TEdit",
          L"TMemo", L"TButton", L"TCheckBox", L"TRadioButton", L"TStatusBar"})
      EXPECT_TRUE(classes.count(kind)) << "no window of class " << std::string(kind, kind + wcslen(kind));
    // Switch skins and skinning off and on a few times, as a user would with the "Skin"
    // group; the window lives through it.
    const HWND dark = ChildWithText(search.found, L"Dark skin");
    const HWND off = ChildWithText(search.found, L"Skinning off");
    const HWND standard = ChildWithText(search.found, L"Default skin");
    EXPECT_TRUE(dark && off && standard) << "the skin choices";
    if (dark && off && standard) {
      for (int cycle = 0; cycle < 3; ++cycle) {
        for (HWND button : {dark, off, standard}) {
          SendMessageW(button, BM_CLICK, 0, 0);
          Sleep(400);  // the skin manager acts 250 ms after a request
        }
      }
      EXPECT_EQ(WaitForSingleObject(process.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "the gallery ended";
      EXPECT_TRUE(IsWindowVisible(search.found));
      EXPECT_EQ(SendMessageW(standard, BM_GETCHECK, 0, 0), BST_CHECKED);
    }
    PostMessageW(search.found, WM_CLOSE, 0, 0);
  }
  EXPECT_NE(search.found, nullptr) << "the gallery window did not appear";
  EndGallery(process);
}

}  // namespace
