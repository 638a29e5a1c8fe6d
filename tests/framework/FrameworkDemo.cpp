// Shows the test form (the main window's controls with Chinese text in "宋体") for a
// look or a screenshot: framework_demo.exe [milliseconds before it closes itself].
#include <windows.h>

#include <cstdlib>

#include "tests/framework/TestForm.h"

int main(int argc, char** argv) {
  try {
    Application->Initialize();
    TTestForm* form = MakeTestForm();
    form->Memo1->Lines()->Add(L"增加文件:    D:\\新建文件夹\\报告.txt;   ");
    form->Memo1->Lines()->Add(L"重命名文件:  D:\\a.txt;   D:\\b.txt");
    form->StatusBar1->Panels()->Items(1)->SetText(L"正在监视系统盘");
    if (argc > 1) {
      auto* closer = new TTimer(form);
      closer->OnTimer = [form](TObject*) { form->Close(); };
      closer->SetInterval(std::atoi(argv[1]));
    }
    // Closing the form ends the program.
    form->OnClose = [](TObject*, TCloseAction&) { Application->Terminate(); };
    form->Show();
    while (!Application->Terminated()) Application->HandleMessage();
    delete form;
    return 0;
  } catch (const std::exception& e) {
    MessageBoxA(nullptr, e.what(), "framework_demo", MB_OK);
    return 1;
  }
}
