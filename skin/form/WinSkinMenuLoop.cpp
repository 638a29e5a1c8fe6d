// Opening a menu-bar button's drop-down and the message-filter hook of its menu loop: the
// first item selected, Left and Right moving across the bar (with wrap-around), the mouse
// moving onto another bar button switching menus, Alt ending the loop.
#include <algorithm>

#include "framework/Menus.h"
#include "skin/data/WinSkinData.h"
#include "skin/form/WinSkinMenu.h"

namespace {

// One per program: only one bar drop-down is tracked at a time.
struct TMenuLoopState {
  HHOOK Hook = nullptr;
  TWinSkinForm* Frame = nullptr;
  TWinSkinMenu* Bar = nullptr;
  // The bar (and perhaps its frame) went away while its menu was tracked.
  bool BarGone = false;
  int32_t OpenIndex = -1;
  POINT LastMouse{0, 0};
  bool FirstMessage = false;
  bool Switching = false;
  // The button to open when the current loop has ended.
  int32_t PendingIndex = -1;
};

TMenuLoopState gLoop;
bool gLastLoopLostItsBar = false;

// The highlighted entry of `menu` (position), or -1.
int HighlightedPosition(HMENU menu, HMENU* subMenu) {
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE | MIIM_SUBMENU;
    if (GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info) && (info.fState & MFS_HILITE) != 0) {
      if (subMenu != nullptr) *subMenu = info.hSubMenu;
      return i;
    }
  }
  return -1;
}

// Where the selection is: depth 0 none, 1 in the drop-down's top level, 2 deeper; and
// whether the deepest selected entry has sub-items.
void Selection(HMENU top, int& depth, bool& hasSubItems) {
  depth = 0;
  hasSubItems = false;
  HMENU menu = top;
  for (int level = 1; menu != nullptr && level < 32; ++level) {
    HMENU sub = nullptr;
    if (HighlightedPosition(menu, &sub) < 0) return;
    depth = level;
    hasSubItems = sub != nullptr;
    menu = sub;
  }
}

// The visible button before or after the open one, wrapping around.
TMenuBtn* Neighbour(TWinSkinMenu& bar, int32_t openIndex, int step) {
  const int count = static_cast<int>(bar.Buttons.size());
  if (count == 0) return nullptr;
  int at = 0;
  for (int i = 0; i < count; ++i)
    if (bar.Buttons[static_cast<size_t>(i)]->Index == openIndex) at = i;
  for (int tried = 0; tried < count; ++tried) {
    at = (at + step + count) % count;
    TMenuBtn* button = bar.Buttons[static_cast<size_t>(at)].get();
    if (button->Visible && !button->Caption.empty()) return button;
  }
  return nullptr;
}

// Ends the current loop; `button` is opened once it has.
void SwitchTo(TMenuBtn* button) {
  if (button == nullptr || button->Index == gLoop.OpenIndex) return;
  gLoop.Switching = true;
  gLoop.PendingIndex = button->Index;
  EndMenu();
}

// True when the message is used up here.
bool OnLoopMessage(const MSG& msg) {
  TWinSkinForm* frame = gLoop.Frame;
  TWinSkinMenu* bar = frame->MenuBar.get();
  if (bar == nullptr) return false;
  if (gLoop.FirstMessage) {
    gLoop.FirstMessage = false;
    PostMessageW(msg.hwnd != nullptr ? msg.hwnd : frame->Window, WM_KEYDOWN, VK_DOWN, 0);
  }
  switch (msg.message) {
    case WM_KEYDOWN: {
      if (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE) gLoop.Switching = false;
      int depth = 0;
      bool hasSubItems = false;
      Selection(frame->OpenSubMenu, depth, hasSubItems);
      if (msg.wParam == VK_LEFT && depth <= 1) {
        SwitchTo(Neighbour(*bar, gLoop.OpenIndex, -1));
        return true;
      }
      if (msg.wParam == VK_RIGHT && (depth == 0 || !hasSubItems)) {
        SwitchTo(Neighbour(*bar, gLoop.OpenIndex, 1));
        return true;
      }
      return false;
    }
    case WM_SYSKEYDOWN:
      if (msg.wParam == VK_MENU) frame->MenuLoop = false;
      return false;
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE: {
      // Where the cursor is now: the system also makes mouse moves of its own when a menu
      // window comes or goes, carrying an older position, which must not switch menus.
      POINT at{};
      if (!GetCursorPos(&at)) return false;
      if (at.x == gLoop.LastMouse.x && at.y == gLoop.LastMouse.y) return false;
      gLoop.LastMouse = at;
      TMenuBtn* button = bar->ButtonAtPoint(frame->ToFrameCoordinates(at));
      if (button != nullptr && button->Index != gLoop.OpenIndex) SwitchTo(button);
      return false;
    }
    case WM_LBUTTONDOWN:
    case WM_NCLBUTTONDOWN: {
      // A click on the open button closes its menu (and is not seen again by the bar).
      TMenuBtn* button = bar->ButtonAtPoint(frame->ToFrameCoordinates(msg.pt));
      if (button != nullptr && button->Index == gLoop.OpenIndex) {
        gLoop.Switching = false;
        EndMenu();
        return true;
      }
      return false;
    }
    default:
      return false;
  }
}

LRESULT CALLBACK MenuLoopHook(int code, WPARAM wParam, LPARAM lParam) {
  try {
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if (code >= 0 && msg != nullptr && gLoop.Frame != nullptr && gLoop.Frame->RightToLeft &&
        msg->message == WM_KEYDOWN && (msg->wParam == VK_LEFT || msg->wParam == VK_RIGHT)) {
      msg->wParam = msg->wParam == VK_LEFT ? VK_RIGHT : VK_LEFT;
    }
    const LRESULT next = CallNextHookEx(gLoop.Hook, code, wParam, lParam);
    if (next != 0 || code != MSGF_MENU || msg == nullptr || gLoop.Frame == nullptr) return next;
    return OnLoopMessage(*msg) ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

}  // namespace

int32_t MenuLoopOpenIndex() { return gLoop.OpenIndex; }

bool LastMenuLoopLostItsBar() { return gLastLoopLostItsBar; }

void MenuBarGone(const TWinSkinMenu* bar) {
  if (gLoop.Hook == nullptr || gLoop.Bar != bar) return;
  // The window went while its menu was open: the loop ends without its frame.
  gLoop.BarGone = true;
  gLoop.Frame = nullptr;
  gLoop.Bar = nullptr;
  EndMenu();
}

bool TWinSkinMenu::OpenButton(TMenuBtn* button) {
  if (button == nullptr) return false;
  if (button->SubMenu != nullptr && gLoop.Hook != nullptr) return false;  // a loop is running already
  // The button's own click: the framework runs the item's OnClick, also for an item whose
  // drop-down opens now (applications fill or update the drop-down there). A window menu
  // entry with a drop-down but no framework item has only the drop-down's handle for an
  // identifier, which must not pass for a command.
  const UINT command = button->Item != nullptr ? button->Item->Command()
                       : button->SubMenu == nullptr ? button->Command
                                                    : 0;
  if (button->Enabled && command != 0) PostMessageW(Form->Window, WM_COMMAND, command, 0);
  if (button->SubMenu == nullptr) return false;
  gLastLoopLostItsBar = false;
  gLoop.Frame = Form;
  gLoop.Bar = this;
  gLoop.BarGone = false;
  gLoop.OpenIndex = button->Index;
  gLoop.PendingIndex = -1;
  gLoop.Switching = false;
  SwitchToOwnerDraw(button->SubMenu);
  Form->MenuLoop = true;
  POINT at{Form->RightToLeft ? button->Bounds.right : button->Bounds.left, button->Bounds.bottom};
  RECT window{};
  GetWindowRect(Form->Window, &window);
  at.x += window.left;
  at.y += window.top;
  Form->Manager.MenuKind = kMenuKindMenuBar;
  Form->OpenSubMenu = button->SubMenu;
  GetCursorPos(&gLoop.LastMouse);
  gLoop.FirstMessage = true;
  gLoop.Hook = SetWindowsHookExW(WH_MSGFILTER, &MenuLoopHook, nullptr, GetCurrentThreadId());
  UINT chosen = 0;
  if (button->Enabled) {
    UINT flags = TPM_NONOTIFY | TPM_RIGHTBUTTON | TPM_RETURNCMD;
    if (Form->RightToLeft) flags |= TPM_RIGHTALIGN;
    chosen = static_cast<UINT>(TrackPopupMenu(button->SubMenu, flags, at.x, at.y, 0, Form->Window, nullptr));
  }
  if (gLoop.Hook != nullptr) UnhookWindowsHookEx(gLoop.Hook);
  gLoop.Hook = nullptr;
  gLoop.OpenIndex = -1;
  gLoop.Frame = nullptr;
  gLoop.Bar = nullptr;
  if (gLoop.BarGone) {
    // This object is gone: touch nothing of it.
    gLoop.BarGone = false;
    gLastLoopLostItsBar = true;
    gLoop.PendingIndex = -1;
    gLoop.Switching = false;
    return true;
  }
  Form->MenuLoop = false;
  // The chosen item's command reaches the window as a click on it would.
  if (chosen != 0) PostMessageW(Form->Window, WM_COMMAND, chosen, 0);
  const int32_t pending = gLoop.Switching ? gLoop.PendingIndex : -1;
  gLoop.PendingIndex = -1;
  gLoop.Switching = false;
  if (TMenuBtn* next = ButtonByIndex(pending)) {
    POINT corner{next->Bounds.left + 1 + window.left, next->Bounds.top + 1 + window.top};
    PostMessageW(Form->Window, WM_NCLBUTTONDOWN, HTMENU, MAKELPARAM(corner.x, corner.y));
  }
  return true;
}
