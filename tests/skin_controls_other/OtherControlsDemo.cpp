// Shows a window with every other skinned control on raw common-control windows for a
// few seconds (for screenshots): skin_controls_other_demo [default|dark] [seconds] [drop]
// ("drop" opens the drop-down list of the first combo box).
#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "skin/controls/WinSubClassBox.h"
#include "skin/controls/WinSubClassComBox.h"
#include "skin/controls/WinSubClassDateTime.h"
#include "skin/controls/WinSubClassEdit.h"
#include "skin/controls/WinSubClassGroupBox.h"
#include "skin/controls/WinSubClassHeader.h"
#include "skin/controls/WinSubClassProgress.h"
#include "skin/controls/WinSubClassSizer.h"
#include "skin/controls/WinSubClassTab.h"
#include "skin/controls/WinSubClassTabBtn.h"
#include "skin/controls/WinSubClassTrackBar.h"
#include "skin/controls/WinSubClassUpDown.h"
#include "tests/skin_controls_other/OtherControlsSupport.h"

int main(int argc, char** argv) {
  const std::string skinName = argc > 1 ? argv[1] : "default";
  const int seconds = argc > 2 ? std::atoi(argv[2]) : 10;
  std::unique_ptr<TSkinData> skin = LoadBuiltSkin(skinName);
  if (!skin) return 1;
  TRawHost host(640, 420);
  SetWindowTextW(host.Window(), L"其他控件");
  std::vector<HWND> windows;
  std::vector<std::unique_ptr<TSkinControl>> skinned;
  TRecordingList list;
  auto add = [&](TSkinControl* object, HWND window) {
    object->InitSkinHandle(window, skin.get(), &list, nullptr);
    skinned.emplace_back(object);
  };
  const HWND group = host.Add(L"Button", BS_GROUPBOX, 8, 4, 300, 150, L"分组框");
  add(new TSkinGroupBox(nullptr), group);
  const HWND edit = host.Add(L"Edit", ES_AUTOHSCROLL, 20, 26, 130, 22, L"编辑框", WS_EX_CLIENTEDGE);
  add(new TSkinEdit(nullptr), edit);
  const HWND combo = host.Add(L"ComboBox", CBS_DROPDOWNLIST | WS_VSCROLL, 160, 26, 130, 200);
  for (const wchar_t* item : {L"组合框", L"二", L"三", L"四", L"五", L"六", L"七", L"八", L"九", L"十", L"十一", L"十二"})
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  SendMessageW(combo, CB_SETCURSEL, 0, 0);
  add(new TSkinComBox(nullptr), combo);
  const HWND combo2 = host.Add(L"ComboBox", CBS_DROPDOWN | WS_VSCROLL, 160, 56, 130, 200);
  SendMessageW(combo2, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"可编辑"));
  SendMessageW(combo2, CB_SETCURSEL, 0, 0);
  add(new TSkinComBox(nullptr), combo2);
  const HWND picker = host.Add(DATETIMEPICK_CLASSW, 0, 20, 56, 130, 22);
  add(new TSkinDateTime(nullptr), picker);
  const HWND progress = host.Add(PROGRESS_CLASSW, 0, 20, 90, 200, 16);
  SendMessageW(progress, PBM_SETPOS, 60, 0);
  add(new TSkinProgress(nullptr), progress);
  const HWND spinV = host.Add(UPDOWN_CLASSW, 0, 230, 86, 16, 40);
  add(new TSkinUpDown(nullptr), spinV);
  const HWND spinH = host.Add(UPDOWN_CLASSW, UDS_HORZ, 254, 90, 40, 18);
  add(new TSkinUpDown(nullptr), spinH);
  const HWND track = host.Add(TRACKBAR_CLASSW, TBS_AUTOTICKS, 20, 112, 200, 32);
  SendMessageW(track, TBM_SETPOS, TRUE, 4);
  add(new TSkinTrackBar(nullptr), track);

  const HWND progressV = host.Add(PROGRESS_CLASSW, PBS_VERTICAL, 318, 10, 18, 140);
  SendMessageW(progressV, PBM_SETPOS, 35, 0);
  add(new TSkinProgress(nullptr), progressV);
  const HWND trackV = host.Add(TRACKBAR_CLASSW, TBS_VERT | TBS_AUTOTICKS, 344, 6, 34, 150);
  SendMessageW(trackV, TBM_SETPOS, TRUE, 7);
  add(new TSkinTrackBar(nullptr), trackV);

  const HWND header = host.Add(WC_HEADERW, HDS_BUTTONS, 388, 10, 236, 24);
  const wchar_t* columns[] = {L"名称", L"大小", L"日期"};
  const int formats[] = {HDF_LEFT, HDF_RIGHT, HDF_CENTER};
  for (int i = 0; i < 3; ++i) {
    HDITEMW item{};
    item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
    item.cxy = 78;
    item.pszText = const_cast<wchar_t*>(columns[i]);
    item.fmt = formats[i] | HDF_STRING;
    SendMessageW(header, HDM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
  add(new TSkinHeader(nullptr), header);
  const HWND sizer = host.Add(L"ScrollBar", SBS_SIZEGRIP, 604, 130, 20, 20);
  add(new TSkinSizer(nullptr), sizer);

  auto addTabs = [&](DWORD style, int x, int y, int w, int h, TSkinControl* object) {
    const HWND tabs = host.AddTabs(style, x, y, w, h);
    add(object, tabs);
    return tabs;
  };
  addTabs(0, 8, 160, 200, 110, new TSkinTab(nullptr));
  addTabs(TCS_BOTTOM, 216, 160, 200, 110, new TSkinTab(nullptr));
  addTabs(TCS_VERTICAL | TCS_MULTILINE, 424, 40, 200, 110, new TSkinTab(nullptr));
  addTabs(TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE, 424, 160, 200, 110, new TSkinTab(nullptr));
  addTabs(TCS_BUTTONS, 8, 280, 250, 30, new TSkinTabBtn(nullptr));
  auto* closable = new TSkinTab(nullptr);
  addTabs(0, 266, 280, 200, 100, closable);
  closable->CloseBoxes = 1;
  InvalidateRect(host.Window(), nullptr, TRUE);
  if (argc > 3 && std::string(argv[3]) == "drop") {
    PumpFor(300);
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
  }
  PumpFor(static_cast<DWORD>(seconds) * 1000);
  skinned.clear();
  return 0;
}
