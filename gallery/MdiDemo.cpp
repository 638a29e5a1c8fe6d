#include "gallery/MdiDemo.h"

#include <string>

#include "framework/Menus.h"
#include "framework/StdCtrls.h"

namespace {

TMenuItem* AddItem(TMainMenu* menu, TMenuItem* parent, const wchar_t* caption, TNotifyEvent onClick = {}) {
  auto* item = new TMenuItem(menu);
  item->SetCaption(caption);
  item->OnClick = std::move(onClick);
  if (parent) {
    parent->Add(item);
  } else {
    menu->Items()->Add(item);
  }
  return item;
}

}  // namespace

TForm* AddMdiChild(TForm* mdiForm) {
  auto* child = new TForm(mdiForm);
  child->SetFormStyle(fsMDIChild);
  const int number = mdiForm->MDIChildCount() + 1;
  child->SetCaption(L"Child " + std::to_wstring(number));
  child->SetBounds(10 + 24 * (number - 1), 10 + 24 * (number - 1), 260, 170);
  auto* memo = new TMemo(child);
  memo->SetParent(child);
  memo->SetAlign(alClient);
  memo->SetScrollBars(ssVertical);
  std::wstring text;
  for (int line = 1; line <= 20; ++line) text += L"MDI child " + std::to_wstring(number) + L", line " + std::to_wstring(line) + L"\r\n";
  memo->SetText(text);
  child->OnClose = [](TObject*, TCloseAction& action) { action = caFree; };
  child->Show();
  return child;
}

TForm* ShowMdiDemo(TComponent* owner, int children) {
  auto* form = new TForm(owner);
  form->SetFormStyle(fsMDIForm);
  form->SetCaption(L"MDI demo");
  form->SetBounds(120, 90, 640, 440);
  auto* menu = new TMainMenu(form);
  TMenuItem* file = AddItem(menu, nullptr, L"&File");
  AddItem(menu, file, L"&New child", [form](TObject*) { AddMdiChild(form); });
  AddItem(menu, file, L"&Close demo", [form](TObject*) { form->Close(); });
  TMenuItem* window = AddItem(menu, nullptr, L"&Window");
  AddItem(menu, window, L"&Cascade", [form](TObject*) { form->Cascade(); });
  AddItem(menu, window, L"&Tile", [form](TObject*) { form->Tile(); });
  AddItem(menu, window, L"&Arrange icons", [form](TObject*) { form->ArrangeIcons(); });
  form->SetMenu(menu);
  form->OnClose = [](TObject*, TCloseAction& action) { action = caFree; };
  form->Show();
  for (int i = 0; i < children; ++i) AddMdiChild(form);
  return form;
}
