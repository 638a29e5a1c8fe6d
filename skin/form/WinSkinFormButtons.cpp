// Caption buttons and frame interaction: the non-client objects' mouse states, button
// visibility and placement, their painting, hit-testing, the non-client mouse messages,
// the window commands and the system menu.
#include <algorithm>

#include "framework/Application.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"
#include "skin/form/WinSkinForm.h"
#include "skin/form/WinSkinMenu.h"

namespace {

int FramesOf(const TDataSkinObject& element) { return element.FrameCount > 0 ? element.FrameCount : 1; }

bool HasImage(const TDataSkinObject& element) {
  return element.Bitmap && element.Bitmap->Width() > 0 && element.Bitmap->Height() > 0;
}

bool IsIconAction(int32_t action) { return action == 3 || action == 11 || action == 12; }

}  // namespace

// ---- TNCObject ----

void TNCObject::MouseDown() {
  if (Owner->HotObject != nullptr && Owner->HotObject != this) Owner->HotObject->MouseLeave();
  if (!Visible) return;
  Owner->HotObject = this;
  State = 2;
  Paint();
}

void TNCObject::MouseUp() {
  if (!Visible) return;
  State = 3;
  Paint();
}

void TNCObject::MouseMove() {
  if (Owner->HotObject == this) return;
  if (Owner->HotObject != nullptr) Owner->HotObject->MouseLeave();
  if (!Visible) return;
  Owner->HotObject = this;
  State = 3;
  Paint();
}

void TNCObject::MouseLeave() {
  if (!Visible) return;
  Owner->HotObject = nullptr;
  State = 1;
  Paint();
}

void TWinSysButton::Paint() {
  if (!HasImage(*Element)) return;
  HDC dc = GetWindowDC(Owner->Window);
  if (dc == nullptr) return;
  try {
    if (IsIconAction(Element->Action)) {
      Owner->DrawIcon(dc, Bounds);
    } else {
      const int frames = FramesOf(*Element);
      int index = State;
      if (!Enabled) index = frames > 3 ? 4 : 1;
      if (Element->Visibility == 100 && State == 3) index = 4;
      DrawFrameStretched(dc, Bounds, Element->Bitmap.get(), true, frames, std::min(index, frames));
    }
  } catch (...) {
  }
  ReleaseDC(Owner->Window, dc);
}

// ---- Visibility and placement ----

bool TWinSkinForm::ButtonVisible(TWinSysButton& button) {
  const TDataSkinSysButton& e = *button.Element;
  const bool maximised = DisplayState == 1;
  const bool maxBox = (ButtonSet & kHasMaximiseBox) != 0;
  const bool minBox = (ButtonSet & kHasMinimiseBox) != 0;
  const bool helpBox = (ButtonSet & kHasHelpBox) != 0;
  const bool sysMenu = (ButtonSet & kHasSystemMenu) != 0;
  auto common = [&](int32_t code, bool& known) {
    known = true;
    switch (code) {
      case 0: return true;
      case 1: return maximised;
      case 2: return !maximised;
      case 3: return Active;
      case 4: return !Active;
      case 7: return !maxBox;
      case 9: return !minBox;
      default: known = false; return false;
    }
  };
  bool known = false;
  bool first = common(e.Visibility, known);
  if (!known) {
    const int32_t code = e.Visibility;
    if (code == 6 || code == 8) first = (minBox || maxBox) && sysMenu;
    else if (code == 10) first = helpBox && !minBox && !maxBox;
    else if (code == 100) first = MdiRole == 1 && Manager.MdiMaximised && MenuBar != nullptr;
    else if (code == 200) first = Kind == kKindDialog && !SystemDialog;
    else if (code >= 201 && code <= 999) first = true;
    else if (code >= 1000 && code <= 2000)
      first = SendMessageW(Window, SKM_BUTTONVISIBLE, static_cast<WPARAM>(code), e.Action) > 0;
    else first = false;  // other codes, negative ones included, hide the button
  }
  bool second = common(e.Visibility1, known);
  if (!known) {
    const int32_t code = e.Visibility1;
    if (code == 6 || code == 8) second = minBox || maxBox;
    else if (code == 10) second = helpBox;
    else if (code == 100) second = first;
    else second = false;
  }
  bool visible = first && second;
  if (e.Action == 0 && !sysMenu) visible = false;
  if (e.Action == 1) button.Enabled = maxBox && sysMenu;
  if (e.Action == 2) button.Enabled = minBox && sysMenu;
  if (IsIconAction(e.Action) && Kind == kKindDialog) visible = false;
  return visible;
}

void TWinSkinForm::PlaceButtons() {
  for (auto& button : Buttons) {
    button->Visible = ButtonVisible(*button) ? 1 : 0;
    const TDataSkinSysButton& e = *button->Element;
    if (!button->Visible || !HasImage(e)) {
      button->Bounds = {0, 0, 0, 0};
      continue;
    }
    const int width = e.Bitmap->Width() / FramesOf(e);
    const int height = e.Bitmap->Height();
    POINT at{0, 0};
    switch (e.Align) {
      case 0: at = {e.XCoord, e.YCoord}; break;
      case 1: at = {FrameWidth - e.XCoord, e.YCoord}; break;
      case 2: case 8: at = {CaptionTextRect.left - width - e.XCoord, e.YCoord}; break;
      case 3: case 9: at = {CaptionTextRect.right + e.XCoord, e.YCoord}; break;
      case 100: {
        int x = FrameWidth - e.XCoord - RightWidth;
        if (SkinData->MenuBar) x -= SkinData->MenuBar->Margins.left;
        at = {x, TopHeight + (MenuHeight - height) / 2};
        break;
      }
      default: break;
    }
    button->Bounds = {at.x, at.y, at.x + width, at.y + height};
  }
}

void TWinSkinForm::PaintButtons(HDC dc) {
  for (auto& button : Buttons) {
    const TDataSkinSysButton& e = *button->Element;
    if (!button->Visible || !HasImage(e) || e.Visibility == 100) continue;
    if (e.Action == 3 || e.Action == 11) {
      DrawIcon(dc, button->Bounds);
      continue;
    }
    const int frames = FramesOf(e);
    int index = button.get() == HotObject ? button->State : 1;
    if (frames >= 4 && (!Active || !button->Enabled)) index = 4;
    DrawFrameStretched(dc, button->Bounds, e.Bitmap.get(), true, frames, std::min(index, frames));
  }
}

HICON TWinSkinForm::WindowIcon() const {
  // The application's icon first (it sits on the framework's hidden application window),
  // then the window's own.
  for (HWND owner : {Application != nullptr ? Application->Handle() : nullptr, Window}) {
    if (owner == nullptr) continue;
    auto icon = reinterpret_cast<HICON>(SendMessageW(owner, WM_GETICON, ICON_SMALL, 0));
    if (icon == nullptr) icon = reinterpret_cast<HICON>(SendMessageW(owner, WM_GETICON, ICON_BIG, 0));
    if (icon == nullptr) icon = reinterpret_cast<HICON>(GetClassLongPtrW(owner, GCLP_HICONSM));
    if (icon == nullptr) icon = reinterpret_cast<HICON>(GetClassLongPtrW(owner, GCLP_HICON));
    if (icon != nullptr) return icon;
  }
  return nullptr;
}

void TWinSkinForm::BuildIconBitmap() {
  const int width = GetSystemMetrics(SM_CXSMICON);
  const int height = GetSystemMetrics(SM_CYSMICON);
  const HICON icon = WindowIcon();
  if (icon == nullptr || width <= 0 || height <= 0) return;
  auto bitmap = std::make_unique<TBitmap>(width, height);
  HDC dc = bitmap->Canvas()->Handle();
  HBRUSH key = CreateSolidBrush(RGB(255, 0, 255));
  const RECT all{0, 0, width, height};
  FillRect(dc, &all, key);
  DeleteObject(key);
  // The large icon scaled down when that is all there is.
  HICON scaled = static_cast<HICON>(CopyImage(icon, IMAGE_ICON, width, height, LR_COPYFROMRESOURCE));
  DrawIconEx(dc, 0, 0, scaled != nullptr ? scaled : icon, width, height, 0, nullptr, DI_NORMAL);
  if (scaled != nullptr) DestroyIcon(scaled);
  IconBitmap = std::move(bitmap);
}

void TWinSkinForm::DrawIcon(HDC dc, const RECT& bounds) {
  const int size = GetSystemMetrics(SM_CXSMICON);
  const HICON icon = WindowIcon();
  if (icon != nullptr) {
    // Scaled once per icon: every caption paint draws it.
    if (icon != ScaledIconSource) {
      if (ScaledIcon != nullptr) DestroyIcon(ScaledIcon);
      ScaledIcon = static_cast<HICON>(CopyImage(icon, IMAGE_ICON, size, size, LR_COPYFROMRESOURCE));
      ScaledIconSource = icon;
    }
    DrawIconEx(dc, bounds.left, bounds.top, ScaledIcon != nullptr ? ScaledIcon : icon, size, size, 0, nullptr,
               DI_NORMAL);
  } else if (IconBitmap) {
    const RECT target{bounds.left, bounds.top, bounds.left + size, bounds.top + size};
    TransparentBlit(dc, target, IconBitmap.get(), 0xFF00FF);
  }
}

TNCObject* TWinSkinForm::ButtonAt(POINT point) {
  for (auto& button : Buttons) {
    if (button->Visible && button->Element->Action >= 0 && PtInRect(&button->Bounds, point))
      return button.get();
  }
  return nullptr;
}

POINT TWinSkinForm::ToFrameCoordinates(POINT screenPoint) const {
  // Window coordinates: the offset of the window's top-left corner on the screen.
  RECT bounds{};
  GetWindowRect(Window, &bounds);
  return {screenPoint.x - bounds.left, screenPoint.y - bounds.top};
}

// ---- Hit-testing and the mouse ----

LRESULT TWinSkinForm::OnNcHitTest(WPARAM wParam, LPARAM lParam) {
  const LRESULT previous = CallPrevious(WM_NCHITTEST, wParam, lParam);
  const POINT screen{static_cast<int16_t>(LOWORD(lParam)), static_cast<int16_t>(HIWORD(lParam))};
  const POINT point = ToFrameCoordinates(screen);
  // The system measures its own borders; ours may be wider or narrower.
  if (Kind == kKindSizeable && DisplayState == 0) {
    const bool left = point.x < std::max(LeftWidth, 4);
    const bool right = point.x >= FrameWidth - std::max(RightWidth, 4);
    const bool top = point.y < 4;
    const bool bottom = point.y >= FrameHeight - std::max(BottomHeight, 4);
    if (top && left) return HTTOPLEFT;
    if (top && right) return HTTOPRIGHT;
    if (bottom && left) return HTBOTTOMLEFT;
    if (bottom && right) return HTBOTTOMRIGHT;
    if (left && point.y >= TopHeight) return HTLEFT;
    if (right && point.y >= TopHeight) return HTRIGHT;
    if (bottom) return HTBOTTOM;
    if (top) return HTTOP;
  }
  if (point.y < TopHeight && point.x >= 0 && point.x < FrameWidth) return HTCAPTION;
  if (MenuHeight > 0 && point.y >= TopHeight && point.y < TopHeight + MenuHeight) return HTMENU;
  if (previous == HTNOWHERE || previous == HTCAPTION) {
    if (point.y > 3) return HTCAPTION;
  }
  return previous;
}

bool TWinSkinForm::OnNcMouse(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  const POINT screen{static_cast<int16_t>(LOWORD(lParam)), static_cast<int16_t>(HIWORD(lParam))};
  const POINT point = ToFrameCoordinates(screen);
  TNCObject* object = ButtonAt(point);
  // Menu-bar buttons come after the caption buttons.
  TMenuBtn* menuButton = object == nullptr ? MenuButtonAt(point) : nullptr;
  if (menuButton != nullptr) object = menuButton;
  auto* sysButton = dynamic_cast<TWinSysButton*>(object);
  result = 0;
  switch (msg) {
    case WM_NCMOUSEMOVE:
      if (!Active) return true;
      if (object != nullptr) {
        object->MouseMove();
        return true;
      }
      if (HotObject != nullptr) {
        HotObject->MouseLeave();
        HotObject = nullptr;
      }
      return false;
    case WM_NCLBUTTONDOWN:
      if (object != nullptr) {
        if (!Active) SetForegroundWindow(Window);
        if (menuButton != nullptr) {
          OpenMenuButton(menuButton);
        } else {
          object->MouseDown();
        }
        return true;
      }
      if (DisplayState == 1 && Active && wParam == HTCAPTION) {
        result = CallPrevious(msg, HTMENU, lParam);
        return true;
      }
      return false;
    case WM_NCLBUTTONUP:
      if (object != nullptr) {
        if (sysButton != nullptr && object == HotObject) {
          object->MouseUp();
          ClickButton(*sysButton);
        }
        return true;
      }
      return false;
    case WM_NCLBUTTONDBLCLK:
      if (object != nullptr) {
        const int32_t action = sysButton != nullptr ? sysButton->Element->Action : -1;
        if (action == 3 || action == 11) {
          StopHoverTimer();
          PostMessageW(Window, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        return true;
      }
      if (DisplayState != 0) {
        Restore();
        return true;
      }
      if ((ButtonSet & kHasMaximiseBox) != 0) {
        ToggleMaximise();
        return true;
      }
      return false;
    case WM_NCRBUTTONDOWN:
      if (wParam == HTCAPTION && MdiRole != 2) {
        ShowSystemMenu(screen);
        return true;
      }
      return false;
    default:
      return false;
  }
}

void TWinSkinForm::ClickButton(TWinSysButton& button) {
  const int32_t action = button.Element->Action;
  switch (action) {
    case 0: {
      // Only when the system menu offers Close.
      const HMENU menu = GetSystemMenu(Window, FALSE);
      if (menu != nullptr && GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND) == static_cast<UINT>(-1)) return;
      StopHoverTimer();
      HotObject = nullptr;
      PostMessageW(Window, WM_SYSCOMMAND, SC_CLOSE, 0);
      return;
    }
    case 1: case 22:
      if (button.Enabled) ToggleMaximise();
      return;
    case 2: case 23:
      if (button.Enabled) ToggleMinimise();
      return;
    case 3: case 11: case 12: {
      POINT cursor{};
      GetCursorPos(&cursor);
      ShowSystemMenu({cursor.x + 1, cursor.y + 1});
      return;
    }
    case 4:
      PostMessageW(Window, WM_SYSCOMMAND, SC_CONTEXTHELP, 0);
      return;
    case 7: case 60: case 8: case 61: case 9: case 62: {
      const HWND client = MdiClientWindow();
      if (client == nullptr) return;
      const auto child = reinterpret_cast<HWND>(SendMessageW(client, WM_MDIGETACTIVE, 0, 0));
      if (child == nullptr) return;
      const WPARAM command = (action == 7 || action == 60) ? SC_MINIMIZE
                             : (action == 8 || action == 61) ? SC_RESTORE : SC_CLOSE;
      PostMessageW(child, WM_SYSCOMMAND, command, 0);
      return;
    }
    default:
      PostMessageW(Window, SKM_BUTTONACTION, static_cast<WPARAM>(action), 0);
      return;
  }
}

// ---- Window commands ----

void TWinSkinForm::ToggleMaximise() {
  if (DisplayState == 1) {
    Restore();
    return;
  }
  if (MdiRole == 2) Manager.SetMdiMaximised(true);
  DisplayState = 1;
  PostMessageW(Window, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  HotObject = nullptr;
}

void TWinSkinForm::ToggleMinimise() {
  if (DisplayState == 2) {
    Restore();
    return;
  }
  DisplayState = 2;
  if ((ButtonSet & kKeepSystemMenuStyle) == 0 && (ButtonSet & kHasSystemMenu) != 0)
    SetWindowLongW(Window, GWL_STYLE, GetWindowLongW(Window, GWL_STYLE) | WS_SYSMENU);
  PostMessageW(Window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void TWinSkinForm::Restore() {
  DisplayState = 0;
  PostMessageW(Window, WM_SYSCOMMAND, SC_RESTORE, 0);
}

bool TWinSkinForm::OnSysCommand(WPARAM wParam, LPARAM lParam) {
  const WPARAM command = wParam & 0xFFF0;
  // The menu key: the skinned bar's accelerators, space the skinned system menu.
  if (MenuKeyCommand(wParam, lParam)) return true;
  if (command == SC_MINIMIZE) DisplayState = 2;
  if (command == SC_MAXIMIZE) DisplayState = 1;
  if (command == SC_RESTORE) {
    DisplayState = 0;
    if (MdiRole == 2) Manager.SetMdiMaximised(false);
  }
  return false;
}

void TWinSkinForm::ShowSystemMenu(POINT screenPoint) {
  if (Manager.ModuleInstance != nullptr) return;
  const DWORD now = GetTickCount();
  if (now - LastMenuTick < DoubleClickTime && HotObject != nullptr) {
    StopHoverTimer();
    PostMessageW(Window, WM_CLOSE, 0, 0);
    return;
  }
  Manager.MenuKind = kMenuKindSystem;
  LastMenuTick = now;
  if (SkinData != nullptr) {
    PopupSystemMenu(screenPoint);
    return;
  }
  // The window's own system menu with its items' states brought up to date.
  const HMENU menu = GetSystemMenu(Window, FALSE);
  if (menu == nullptr) return;
  const bool maximised = DisplayState == 1;
  const bool minimised = DisplayState == 2;
  auto enable = [menu](UINT id, bool on) { EnableMenuItem(menu, id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED)); };
  enable(SC_SIZE, !maximised && Kind == kKindSizeable);
  enable(SC_MOVE, !maximised);
  enable(SC_MINIMIZE, !minimised && (ButtonSet & kHasMinimiseBox) != 0);
  enable(SC_MAXIMIZE, !maximised && (ButtonSet & kHasMaximiseBox) != 0);
  enable(SC_RESTORE, DisplayState != 0);
  const UINT command = static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN,
                                                        screenPoint.x, screenPoint.y, 0, Window, nullptr));
  if (command != 0) PostMessageW(Window, WM_SYSCOMMAND, command, 0);
}
