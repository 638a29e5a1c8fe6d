// The frame's side of the skinned menus: creating and freeing the menu bar, the owner-draw
// messages of menu items, the bar's accelerators and clicks, menu changes of the framework
// form, and the rebuilt system menu with the skin's four glyphs.
#include <algorithm>

#include "framework/Application.h"
#include "framework/Forms.h"
#include "framework/ImageList.h"
#include "framework/Menus.h"
#include "skin/data/WinSkinData.h"
#include "skin/form/WinSkinMenu.h"
#include "skin/form/WinSkinMenuMdi.h"

namespace {

constexpr int32_t kSystemMenuTag = 33333;
constexpr int kCaptionChars = 80;
// NONCLIENTMETRICSW as the older systems know it (without the padded border width).

RECT ClientRectOf(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  return r;
}

// Grows (or shrinks) the window by what its client height lost (or gained) since `before`.
void KeepClientHeight(HWND window, const RECT& before) {
  const RECT after = ClientRectOf(window);
  const int change = before.bottom - after.bottom;
  if (change == 0) return;
  RECT bounds{};
  GetWindowRect(window, &bounds);
  SetWindowPos(window, nullptr, 0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top + change,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// "Alt+F4", "Ctrl+Shift+S", "F10" as a shortcut; 0 when not understood.
TShortCut ParseShortCut(std::wstring text) {
  TShortCut shift = 0;
  for (;;) {
    if (text.rfind(L"Ctrl+", 0) == 0) {
      shift |= scCtrl;
      text.erase(0, 5);
    } else if (text.rfind(L"Shift+", 0) == 0) {
      shift |= scShift;
      text.erase(0, 6);
    } else if (text.rfind(L"Alt+", 0) == 0) {
      shift |= scAlt;
      text.erase(0, 4);
    } else {
      break;
    }
  }
  if (text.size() == 1 && iswalnum(text[0])) return ShortCut(static_cast<WORD>(towupper(text[0])), shift);
  if (text.size() >= 2 && (text[0] == L'F' || text[0] == L'f')) {
    const int number = _wtoi(text.c_str() + 1);
    if (number >= 1 && number <= 24) return ShortCut(static_cast<WORD>(VK_F1 + number - 1), shift);
  }
  return 0;
}

bool IsMenuButton(TWinSkinMenu& bar, const TNCObject* object) {
  return std::any_of(bar.Buttons.begin(), bar.Buttons.end(),
                     [object](const auto& button) { return button.get() == object; });
}

}  // namespace

void TWinSkinForm::CreateMenuBar() {
  if (MenuBar || SkinData == nullptr) return;
  // The form's popup menus are drawn by the skin whether or not it has a menu bar.
  if (FrameworkForm != nullptr && !popupsOwnerDrawn_ && SkinData->SkinControls().Contains(xcPopupMenu) &&
      WindowClass != "TwwRichEditForm") {
    SetOwnerDrawPopups(Window, FrameworkForm, true);
    popupsOwnerDrawn_ = true;
  }
  if (MdiRole == 1 && OwnMdiClient != nullptr) AttachMdiClient(this, OwnMdiClient);
  if (MdiRole == 2 || IsChild || GetMenu(Window) == nullptr) return;
  if (FrameworkForm != nullptr && SkinData->SkinControls().Contains(xcMenuItem))
    SetOwnerDrawMainMenus(Window, FrameworkForm, true);
  MenuHeight = GetSystemMetrics(SM_CYMENU);
  MenuBar = std::make_unique<TWinSkinMenu>(this);
  MenuBar->Menu = FrameworkForm != nullptr ? FrameworkForm->Menu() : nullptr;
  const RECT before = ClientRectOf(Window);
  MenuBar->Rebuild();
  // The system's menu bar went away: the window shrinks by it, so that the client area
  // keeps its size until the skinned strip takes the bar's place.
  KeepClientHeight(Window, before);
}

void TWinSkinForm::FreeMenuBar(bool restore) {
  if (popupsOwnerDrawn_ && FrameworkForm != nullptr && restore) SetOwnerDrawPopups(Window, FrameworkForm, false);
  popupsOwnerDrawn_ = false;
  DetachMdiClient(this);
  if (!MenuBar) return;
  if (restore && IsWindow(Window)) {
    const RECT before = ClientRectOf(Window);
    MenuBar->RestoreWindowMenu();
    if (FrameworkForm != nullptr) SetOwnerDrawMainMenus(Window, FrameworkForm, false);
    KeepClientHeight(Window, before);
  }
  if (HotObject != nullptr && IsMenuButton(*MenuBar, HotObject)) HotObject = nullptr;
  MenuBar.reset();
  MenuHeight = 0;
}

TMenuBtn* TWinSkinForm::MenuButtonAt(POINT framePoint) const {
  return MenuBar ? MenuBar->ButtonAtPoint(framePoint) : nullptr;
}

void TWinSkinForm::OpenMenuButton(TMenuBtn* button) {
  if (!MenuBar || button == nullptr || !IsMenuButton(*MenuBar, button)) return;
  if (HotObject != nullptr && HotObject != button) HotObject->MouseLeave();
  HotObject = button;
  button->State = 2;
  button->Paint();
  const bool opened = MenuBar->OpenButton(button);
  // Skinning may have stopped while the menu was open: this frame may be gone.
  if (opened && LastMenuLoopLostItsBar()) return;
  // The bar may have been rebuilt while the menu was open.
  if (MenuBar && IsMenuButton(*MenuBar, button)) {
    button->State = 1;
    button->Paint();
    if (HotObject == button) HotObject = nullptr;
  }
}

bool TWinSkinForm::MenuMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (msg) {
    case WM_MEASUREITEM: {
      auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (measure == nullptr || measure->CtlType != ODT_MENU || !MenuBar) return false;
      result = TRUE;
      if (FrameworkForm != nullptr) {
        if (MenuItemOfData(measure->itemData) != nullptr && MenuMeasureItem(*measure, Window)) return true;
        TMenuItem* item = MenuBar->Menu != nullptr ? MenuBar->Menu->FindItemById(measure->itemID) : nullptr;
        if (item != nullptr) {
          HDC dc = GetDC(Window);
          {
            TCanvas canvas;
            canvas.SetHandle(dc);
            NONCLIENTMETRICSW metrics{};
            if (SystemNonClientMetrics(metrics)) {
              canvas.Font()->SetName(metrics.lfMenuFont.lfFaceName);
              canvas.Font()->SetHeight(metrics.lfMenuFont.lfHeight);
              canvas.Font()->SetCharset(metrics.lfMenuFont.lfCharSet);
            }
            int width = 0;
            int height = 0;
            item->DefaultMeasureItem(&canvas, width, height);
            GrowMainMenuItemWidth(SkinData, MenuBar->Menu->Images() != nullptr, width);
            measure->itemWidth = static_cast<UINT>(width);
            measure->itemHeight = static_cast<UINT>(height);
            canvas.SetHandle(nullptr);
          }
          ReleaseDC(Window, dc);
          return true;
        }
        if (measure->itemID >= 1 && measure->itemID <= 4095) return false;
      }
      TMenuItemLook look;
      if (!LookOfMenuEntry(OpenSubMenu, measure->itemID, false, look)) look.Caption = L"-";
      std::wstring text = look.Caption;
      if (!look.ShortCut.empty()) text += L"\t" + look.ShortCut;
      HDC dc = GetDC(Window);
      int width = 0;
      int height = 0;
      MeasureEntryFromText(SkinData, dc, text, width, height);
      ReleaseDC(Window, dc);
      measure->itemWidth = static_cast<UINT>(width);
      measure->itemHeight = static_cast<UINT>(height);
      return true;
    }
    case WM_DRAWITEM: {
      const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (draw == nullptr || draw->CtlType != ODT_MENU || !MenuBar) return false;
      const auto menu = reinterpret_cast<HMENU>(draw->hwndItem);
      Manager.AssignPopupMenu(menu);
      result = TRUE;
      const bool selected = (draw->itemState & ODS_SELECTED) != 0;
      if (MenuItemOfData(draw->itemData) != nullptr && MenuDrawItem(*draw)) return true;
      TMenuItem* item = MenuBar->Menu != nullptr ? MenuBar->Menu->FindItemById(draw->itemID) : nullptr;
      if (item != nullptr) {
        PaintSkinMenuItem(SkinData, draw->hDC, draw->rcItem, menu, LookOfItem(item), selected);
        return true;
      }
      if (FrameworkForm != nullptr && draw->itemID >= 1 && draw->itemID <= 4095) return false;
      TMenuItemLook look;
      if (!LookOfMenuEntry(menu, draw->itemID, false, look)) {
        // An entry with a sub-menu: find its position by its sub-menu handle.
        const int count = GetMenuItemCount(menu);
        for (int i = 0; i < count; ++i) {
          if (reinterpret_cast<UINT_PTR>(GetSubMenu(menu, i)) == draw->itemID) {
            LookOfMenuEntry(menu, static_cast<UINT>(i), true, look);
            break;
          }
        }
      }
      if (look.Caption.empty()) look.Caption = L"-";
      PaintSkinMenuItem(SkinData, draw->hDC, draw->rcItem, menu, look, selected);
      return true;
    }
    case WM_MENUCHAR: {
      // Entries switched to owner-drawn: letters still choose them.
      if (!MenuBar) return false;
      result = MenuCharResult(reinterpret_cast<HMENU>(lParam), LOWORD(wParam));
      return result != 0;
    }
    case SKM_MENUBARCLICK: {
      const POINT screen{static_cast<int16_t>(LOWORD(lParam)), static_cast<int16_t>(HIWORD(lParam))};
      const POINT point = ToFrameCoordinates(screen);
      result = 0;
      if (ButtonAt(point) != nullptr) return true;
      OpenMenuButton(MenuButtonAt(point));
      return true;
    }
    default:
      return false;
  }
}

void TWinSkinForm::PostMenuButtonClick(TMenuBtn* button) {
  RECT bounds{};
  GetWindowRect(Window, &bounds);
  PostMessageW(Window, WM_NCLBUTTONDOWN, HTMENU,
               MAKELPARAM(bounds.left + button->Bounds.left + 1, bounds.top + button->Bounds.top + 1));
}

bool TWinSkinForm::MenuFormMessage(TMessage& message) {
  if (message.Msg == CM_DIALOGCHAR) {
    savedWindowProc_(message);
    if (message.Result != 0) return true;
    const bool altAlone = GetKeyState(VK_MENU) < 0 && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_SHIFT) >= 0;
    if (altAlone && MenuBar) {
      if (TMenuBtn* button = MenuBar->AcceleratorButton(static_cast<wchar_t>(message.WParam))) {
        PostMenuButtonClick(button);
        message.Result = 1;
        return true;
      }
    }
    // An MDI child hands the key to its own MDI form (the parent of its MDI client).
    TWinControl* mdiForm = MdiRole == 2 ? FindControl(GetParent(GetParent(Window))) : nullptr;
    if (mdiForm != nullptr) {
      if (mdiForm->Perform(CM_DIALOGCHAR, message.WParam, message.LParam) != 0) {
        message.Result = 1;
        return true;
      }
    } else if (Application != nullptr && Application->MainForm() != nullptr &&
               Application->MainForm() != FrameworkForm && Application->MainForm()->HandleAllocated() &&
               IsWindowEnabled(Application->MainForm()->Handle())) {
      Application->MainForm()->Perform(CM_DIALOGCHAR, message.WParam, message.LParam);
    }
    message.Result = 0;
    return true;
  }
  if (message.Msg == CM_MENUCHANGED) {
    const bool allowed = SkinData != nullptr && SkinData->FramePaintAllowed;
    if (SkinData != nullptr) SkinData->FramePaintAllowed = false;
    savedWindowProc_(message);
    if (SkinData != nullptr) SkinData->FramePaintAllowed = allowed;
    if (GetMenu(Window) != nullptr) {
      if (MenuBar && SkinData != nullptr && SkinData->MenuUpdate()) {
        MenuBar->Menu = FrameworkForm != nullptr ? FrameworkForm->Menu() : nullptr;
        MenuBar->MenuHandle = GetMenu(Window);
        MenuBar->Rebuild();
        PaintFrame(nullptr);
      }
      ::SetMenu(Window, nullptr);
    }
    return true;
  }
  return false;
}

bool TWinSkinForm::MenuKeyCommand(WPARAM wParam, LPARAM lParam) {
  if ((wParam & 0xFFF0) != SC_KEYMENU || MenuLoop || GetCapture() != nullptr) return false;
  const auto key = static_cast<wchar_t>(LOWORD(lParam));
  if (key == L' ') {
    POINT corner{0, 0};
    ClientToScreen(Window, &corner);
    ShowSystemMenu(corner);
    return true;
  }
  if (key == L'-') return false;
  if (key == 0) {
    if (MenuBar && !MenuBar->Buttons.empty()) OpenMenuButton(MenuBar->Buttons.front().get());
    return true;
  }
  if (!MenuBar) return false;
  TMenuBtn* button = MenuBar->AcceleratorButton(key);
  if (button == nullptr) return false;
  OpenMenuButton(button);
  return true;
}

void TWinSkinForm::PopupSystemMenu(POINT screenPoint) {
  const HMENU system = GetSystemMenu(Window, FALSE);
  if (system == nullptr || SkinData == nullptr) return;
  auto popup = std::make_unique<TPopupMenu>(nullptr);
  popup->SetTag(kSystemMenuTag);
  popup->SetImages(SkinData->MenuGlyphs.get());
  const bool maximised = DisplayState == 1;
  const bool minimised = DisplayState == 2;
  const HWND window = Window;
  const int count = GetMenuItemCount(system);
  for (int i = 0; i < count; ++i) {
    wchar_t text[kCaptionChars + 1] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE | MIIM_ID | MIIM_FTYPE | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = kCaptionChars;
    if (!GetMenuItemInfoW(system, static_cast<UINT>(i), TRUE, &info)) continue;
    auto* item = new TMenuItem(popup.get());
    std::wstring caption = (info.fType & MFT_SEPARATOR) != 0 || text[0] == L'\0' ? L"-" : text;
    if (const size_t tab = caption.find(L'\t'); tab != std::wstring::npos) {
      item->SetShortCut(ParseShortCut(caption.substr(tab + 1)));
      caption.resize(tab);
    }
    item->SetCaption(caption);
    const UINT id = info.wID;
    item->SetTag(static_cast<int32_t>(id));
    bool enabled = true;
    switch (id & 0xFFF0) {
      case SC_SIZE:
      case SC_MOVE:
        enabled = !maximised;
        break;
      case SC_MINIMIZE:
        item->SetImageIndex(2);
        enabled = !minimised && (ButtonSet & kHasMinimiseBox) != 0;
        break;
      case SC_MAXIMIZE:
        item->SetImageIndex(1);
        enabled = !maximised && (ButtonSet & kHasMaximiseBox) != 0;
        break;
      case SC_CLOSE:
        item->SetImageIndex(3);
        break;
      case SC_RESTORE:
        item->SetImageIndex(0);
        enabled = DisplayState != 0;
        break;
      default:
        break;
    }
    if ((info.fState & (MFS_GRAYED | MFS_DISABLED)) == (MFS_GRAYED | MFS_DISABLED)) enabled = false;
    item->SetEnabled(enabled);
    item->SetChecked((info.fState & MFS_CHECKED) != 0);
    item->OnClick = [window, id](TObject*) { PostMessageW(window, WM_SYSCOMMAND, id, 0); };
    popup->Items()->Add(item);
  }
  SetOwnerDrawPopupItems(Window, popup->Items(), true);
  popup->SetOwnerDraw(true);
  SystemMenuPopup = std::move(popup);
  SystemMenuPopup->Popup(screenPoint.x, screenPoint.y);
}
