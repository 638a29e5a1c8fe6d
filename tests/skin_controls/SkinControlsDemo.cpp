// Shows a form with skinned buttons, check boxes, radio buttons and a status bar for a
// few seconds (for screenshots): skin_controls_demo [default|dark] [seconds]
#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "skin/controls/WinSubClassButtons.h"
#include "skin/controls/WinSubClassCheck.h"
#include "skin/controls/WinSubClassStatusBar.h"
#include "tests/skin_controls/SkinControlsSupport.h"

int main(int argc, char** argv) {
  const std::string skinName = argc > 1 ? argv[1] : "default";
  const int seconds = argc > 2 ? std::atoi(argv[2]) : 10;
  std::unique_ptr<TSkinData> skin = LoadBuiltSkin(skinName);
  if (!skin) return 1;
  TControlsForm view;
  view.form->SetColor(skin->ButtonFaceColour);
  auto* menuButton = new TButton(view.form);
  menuButton->SetParent(view.form);
  menuButton->SetBounds(230, 10, 110, 30);
  menuButton->SetCaption(L"菜单");
  auto* twoLines = new TButton(view.form);
  twoLines->SetParent(view.form);
  twoLines->SetBounds(230, 50, 110, 44);
  twoLines->SetCaption(L"两行||文字");
  auto* disabled = new TButton(view.form);
  disabled->SetParent(view.form);
  disabled->SetBounds(230, 104, 110, 30);
  disabled->SetCaption(L"不可用");
  disabled->SetEnabled(false);
  view.check->SetChecked(true);
  auto* grey = new TCheckBox(view.form);
  grey->SetParent(view.form);
  grey->SetBounds(10, 130, 150, 20);
  grey->SetCaption(L"部分");
  grey->SetAllowGrayed(true);
  grey->SetState(cbGrayed);
  view.radio2->SetChecked(true);
  view.button2->SetDefault(true);

  TRecordingList list;
  std::vector<std::unique_ptr<TSkinControl>> skinned;
  auto add = [&](TSkinControl* object, TWinControl* control, bool setColour) {
    object->InitSkin(&list, skin.get(), setColour, nullptr, control);
    skinned.emplace_back(object);
  };
  add(new TSkinButton(nullptr), view.button, true);
  add(new TSkinButton(nullptr), view.button2, true);
  add(new TSkinMenuButton(nullptr), menuButton, true);
  add(new TSkinButton(nullptr), twoLines, true);
  add(new TSkinButton(nullptr), disabled, true);
  add(new TSkinCheckBox(nullptr), view.check, true);
  add(new TSkinCheckBox(nullptr), grey, true);
  add(new TSkinRadioButton(nullptr), view.radio, true);
  add(new TSkinRadioButton(nullptr), view.radio2, true);
  add(new TSkinStatusBar(nullptr), view.status, false);
  view.button->SetFocus();
  PumpFor(static_cast<DWORD>(seconds) * 1000);
  skinned.clear();
  return 0;
}
