#include "tests/app/AppTestSupport.h"

#include <atomic>

#include "framework/Forms.h"

namespace apptest {

void FormDeleter::operator()(TForm1* form) const {
  // A test may end while watching: stop as the window's close would.
  TCloseAction action = caFree;
  if (WatcherCount > 0) form->FormClose(form, action);
  delete form;
}

FormPtr MakeMainForm() {
  RegisterTestClasses();
  FormPtr form(TCustomForm::Create<TForm1>(Application));
  form->HandleNeeded();
  return form;
}

std::string WineUnixPath(const std::string& linuxPath) {
  std::string path = "\\\\?\\unix";
  for (char c : linuxPath) path += c == '/' ? '\\' : c;
  return path;
}

std::wstring UniqueName(const wchar_t* stem) {
  static std::atomic<int> counter{0};
  return std::wstring(L"ptest-app-") + std::to_wstring(GetCurrentProcessId()) + L"-" +
         std::to_wstring(++counter) + L"-" + stem;
}

std::wstring LogText(TForm1& form) { return form.Memo1->Text(); }

bool LogHasLine(TForm1& form, const std::wstring& line) {
  const std::wstring text = L"\r\n" + LogText(form);
  return text.find(L"\r\n" + line + L"\r\n") != std::wstring::npos;
}

}  // namespace apptest
