// Helpers of the main-window tests: the form made from the program's layout resource,
// message pumping, file paths that reach Linux from inside Wine.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "app/Test.h"
#include "tests/framework/Pump.h"

namespace apptest {

struct FormDeleter {
  void operator()(TForm1* form) const;
};
using FormPtr = std::unique_ptr<TForm1, FormDeleter>;

// TForm1 from the resource TFORM1, owned by Application, its window made. The deleter
// frees live watchers first, as closing the window does.
FormPtr MakeMainForm();

// A Linux path as a Windows program under Wine opens it ("\\?\unix\...").
std::string WineUnixPath(const std::string& linuxPath);

// A name no other run uses: "ptest-app-<pid>-<n>".
std::wstring UniqueName(const wchar_t* stem);

// The log box's text.
std::wstring LogText(TForm1& form);
// Is `line` one whole line of the log?
bool LogHasLine(TForm1& form, const std::wstring& line);

}  // namespace apptest
