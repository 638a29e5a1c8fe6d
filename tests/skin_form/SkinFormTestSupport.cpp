#include <gtest/gtest.h>

#include "tests/skin_form/SkinFormTestSupport.h"

#include "framework/Application.h"
#include "skin/data/SkinManagerLink.h"

bool PumpUntil(const std::function<bool()>& done, int ms) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (static_cast<int>(GetTickCount() - start) > ms) return false;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(5);
  }
  return true;
}

void PumpFor(int ms) {
  PumpUntil([] { return false; }, ms);
}

std::string SkinPath(const std::string& name) {
  std::string path = "\\\\?\\unix";
  for (const char c : std::string(PTEST_BINARY_DIR) + "/skins/" + name + ".skn") path += c == '/' ? '\\' : c;
  return path;
}

namespace {

std::string Layout(const std::string& caption, int width, int height) {
  return "object SkinTestForm: TForm\n  Left = 120\n  Top = 100\n  BorderStyle = bsSizeable\n"
         "  Caption = '" + caption + "'\n  ClientWidth = " + std::to_string(width) +
         "\n  ClientHeight = " + std::to_string(height) + "\n  Color = clBtnFace\nend\n";
}

}  // namespace

SkinnedTestForm::SkinnedTestForm(const std::string& skin, const std::string& caption, int clientWidth,
                                 int clientHeight) {
  form = TCustomForm::CreateFromLayout<TForm>(Application, Layout(caption, clientWidth, clientHeight));
  data = new TSkinData(form);
  data->SetSkinFile(SkinPath(skin));
  data->SetActive(true);
}

SkinnedTestForm::~SkinnedTestForm() { delete form; }

bool SkinnedTestForm::ShowAndWaitForSkin() {
  form->Show();
  SetForegroundWindow(form->Handle());
  return PumpUntil([this] {
    TWinSkinForm* frame = Frame();
    return frame != nullptr && frame->State == kFrameActive;
  });
}

TWinSkinForm* SkinnedTestForm::Frame() const {
  TSkinManage* manager = SkinManage();
  if (manager == nullptr || !form->HandleAllocated()) return nullptr;
  return dynamic_cast<TWinSkinForm*>(manager->FindSkinForm(form->Handle()));
}

void SkinFormTest::SetUp() {
  InstallSkinForms();
  FreeSkinManager();
  SetSkinMessageSink([](const std::wstring& text) { ADD_FAILURE() << "skin message: " << text.size(); });
}

void SkinFormTest::TearDown() {
  PumpFor(20);
  FreeSkinManager();
  SetSkinMessageSink({});
}
