// The skinned menu bar: buttons from the window's menu, the strip painting, layout,
// accelerators and hit-testing.
#include "skin/form/WinSkinMenu.h"

#include <algorithm>

#include "framework/Bitmap.h"
#include "framework/Forms.h"
#include "framework/Menus.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"
#include "skin/form/WinSkinMenuText.h"

namespace {

constexpr int kCaptionChars = 80;

bool HasImage(const TDataSkinObject* element) {
  return element != nullptr && element->Bitmap && element->Bitmap->Width() > 0 && element->Bitmap->Height() > 0;
}

}  // namespace

// ---- TMenuBtn ----

void TMenuBtn::Paint() {
  TWinSkinMenu* bar = Owner->MenuBar.get();
  if (bar == nullptr || !Visible || bar->Buffer == nullptr) return;
  const int width = Bounds.right - Bounds.left;
  const int height = Bounds.bottom - Bounds.top;
  if (width <= 0 || height <= 0) return;
  HDC dc = GetWindowDC(Owner->Window);
  if (dc == nullptr) return;
  try {
    // What the strip shows behind the button, then the frame of its state and the caption.
    BitBlt(dc, Bounds.left, Bounds.top, width, height, bar->Buffer->Canvas()->Handle(),
           Bounds.left - bar->Bounds.left, Bounds.top - bar->Bounds.top, SRCCOPY);
    if (State == 2 || State == 3) {
      gdi::Brush frame(CreateSolidBrush(ColorToRGB(SkinData->ButtonHilightColour)));
      FrameRect(dc, &Bounds, frame.Get());
    }
    DrawMenuBarCaption(dc, Bounds, Caption, Enabled != 0, *SkinData);
  } catch (...) {
  }
  ReleaseDC(Owner->Window, dc);
}

// ---- TWinSkinMenu ----

TWinSkinMenu::TWinSkinMenu(TWinSkinForm* form)
    : SkinData(form->SkinData), Form(form), Buffer(std::make_unique<TBitmap>()) {}

TWinSkinMenu::~TWinSkinMenu() {
  MenuBarGone(this);
  FreeButtons();
}

void TWinSkinMenu::FreeButtons() {
  for (auto& button : Buttons)
    if (Form->HotObject == button.get()) Form->HotObject = nullptr;
  Buttons.clear();
  ButtonCount = 0;
}

void TWinSkinMenu::Rebuild() {
  if (ReadButtons(false)) ::SetMenu(Form->Window, nullptr);
}

void TWinSkinMenu::RebuildFromItems() {
  if (!ReadButtons(true)) return;
  ::SetMenu(Form->Window, nullptr);
  Layout();
}

bool TWinSkinMenu::ReadButtons(bool fromItems) {
  const HMENU current = GetMenu(Form->Window);
  if (current != nullptr) MenuHandle = current;
  if (MenuHandle == nullptr || !IsMenu(MenuHandle)) return false;
  if (Form->FrameworkForm != nullptr && Menu == nullptr) return false;
  FreeButtons();
  const int count = GetMenuItemCount(MenuHandle);
  for (int i = 0; i < count; ++i) {
    wchar_t text[kCaptionChars + 1] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = kCaptionChars;
    if (!GetMenuItemInfoW(MenuHandle, static_cast<UINT>(i), TRUE, &info)) continue;
    auto button = std::make_unique<TMenuBtn>(Form, SkinData);
    button->Index = i;
    button->SubMenu = info.hSubMenu;
    button->Enabled = (info.fState & (MFS_GRAYED | MFS_DISABLED)) == 0 ? 1 : 0;
    button->Visible = 1;
    button->Command = info.wID;
    button->Caption = text;
    // From the items, an entry without text keeps the window menu's values.
    const bool lookUp = Menu != nullptr && (!fromItems || text[0] != L'\0');
    TMenuItem* item = nullptr;
    if (lookUp) {
      item = info.hSubMenu != nullptr ? Menu->FindItemById(reinterpret_cast<UINT_PTR>(info.hSubMenu))
                                      : Menu->FindItemById(info.wID);
    }
    if (item != nullptr) {
      button->Caption = item->Caption();
      button->Enabled = item->Enabled() ? 1 : 0;
      button->Item = item;
      if (fromItems) {
        button->Command = item->Command();
      } else {
        button->SubMenu = item->Count() > 0 ? item->Handle() : nullptr;
      }
    }
    Buttons.push_back(std::move(button));
  }
  ButtonCount = static_cast<int32_t>(Buttons.size());
  ownerDrawn_.clear();
  return true;
}

void TWinSkinMenu::RestoreWindowMenu() {
  // Entries switched to owner-drawn for the skin go back to plain text.
  for (const auto& [menu, position] : ownerDrawn_) {
    if (!IsMenu(menu)) continue;
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info)) continue;
    info.fType &= ~static_cast<UINT>(MFT_OWNERDRAW);
    SetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info);
  }
  ownerDrawn_.clear();
  if (MenuHandle != nullptr && IsMenu(MenuHandle) && GetMenu(Form->Window) == nullptr)
    ::SetMenu(Form->Window, MenuHandle);
}

void TWinSkinMenu::SwitchToOwnerDraw(HMENU menu) {
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_SUBMENU;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
    if ((info.fType & MFT_OWNERDRAW) == 0) {
      info.fMask = MIIM_FTYPE;
      info.fType |= MFT_OWNERDRAW;
      if (SetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) ownerDrawn_.emplace_back(menu, i);
    }
    if (info.hSubMenu != nullptr) SwitchToOwnerDraw(info.hSubMenu);
  }
}

int TWinSkinMenu::FirstButtonX(const RECT& strip) const {
  const int width = strip.right - strip.left;
  if (HasImage(SkinData->MenuBar.get())) {
    const RECT& margins = SkinData->MenuBar->Margins;
    const int x = Form->RightToLeft ? margins.right + 8 : margins.left + 4;
    return width < x ? 12 : x;
  }
  return 6;
}

void TWinSkinMenu::PlaceButtons(HDC dc, const RECT& strip, POINT origin) {
  const int height = strip.bottom - strip.top;
  HDC measure = dc != nullptr ? dc : GetDC(nullptr);
  const HGDIOBJ oldFont = SelectObject(measure, SkinMenuFont(false));
  int x = FirstButtonX(strip);
  int right = strip.right - strip.left - FirstButtonX(strip);
  for (auto& button : Buttons) {
    if (!button->Visible) {
      button->Bounds = {0, 0, 0, 0};
      continue;
    }
    RECT calc{0, 0, 0, 0};
    if (!button->Caption.empty()) DrawSkinText(measure, button->Caption, calc, DT_CALCRECT | DT_SINGLELINE);
    int width = calc.right - calc.left;
    if (width > 0) width += 10;
    RECT local{};
    if (Form->RightToLeft) {
      local = {right - width, 0, right, height - 1};
      right -= width;
    } else {
      local = {x, 0, x + width, height - 1};
      x += width;
    }
    if (dc != nullptr && width > 0) {
      RECT onDc = local;
      OffsetRect(&onDc, origin.x, origin.y);
      DrawMenuBarCaption(dc, onDc, button->Caption, button->Enabled != 0, *SkinData);
    }
    button->Bounds = local;
    OffsetRect(&button->Bounds, strip.left, strip.top);
  }
  SelectObject(measure, oldFont);
  if (dc == nullptr) ReleaseDC(nullptr, measure);
}

void TWinSkinMenu::Paint(HDC dc, const RECT& strip) {
  const int width = strip.right - strip.left;
  const int height = strip.bottom - strip.top;
  if (width <= 0 || height <= 0 || SkinData == nullptr) return;
  Painting = 1;
  TBitmap* work = PrepareSkinWorkBitmap(width, height);
  HDC workDc = work->Canvas()->Handle();
  const RECT local{0, 0, width, height};
  TDataSkinObject* element = SkinData->MenuBar.get();
  if (HasImage(element)) {
    const int index = Form->Active ? 1 : 2;
    if (element->Tile == 1) {
      DrawNineSlice(workDc, local, element->Bitmap.get(), true, false, false, 2, index, element->Margins);
    } else {
      DrawThreeSlice(work->Canvas(), local, element->Bitmap.get(), true, false, 2, index, element->Margins);
    }
  } else {
    gdi::Brush fill(CreateSolidBrush(ColorToRGB(SkinData->MenubarColour)));
    FillRect(workDc, &local, fill.Get());
  }
  Bounds = strip;
  Buffer->SetSize(width, height);
  BitBlt(Buffer->Canvas()->Handle(), 0, 0, width, height, workDc, 0, 0, SRCCOPY);
  PlaceButtons(workDc, strip, {0, 0});
  PaintMdiChildButtons(workDc, strip);
  BitBlt(dc, strip.left, strip.top, width, height, workDc, 0, 0, SRCCOPY);
  // A button the mouse is on keeps its look over the fresh strip.
  if (TMenuBtn* hot = dynamic_cast<TMenuBtn*>(Form->HotObject); hot != nullptr && hot->State != 1) {
    const int w = hot->Bounds.right - hot->Bounds.left;
    if (w > 0) {
      gdi::Brush frame(CreateSolidBrush(ColorToRGB(SkinData->ButtonHilightColour)));
      FrameRect(dc, &hot->Bounds, frame.Get());
    }
  }
  Painting = 0;
}

void TWinSkinMenu::PaintMdiChildButtons(HDC dc, const RECT& strip) {
  if (Form->MdiRole != 1 || Form->OwnMdiClient == nullptr) return;
  BOOL maximised = FALSE;
  const auto active = reinterpret_cast<HWND>(
      SendMessageW(Form->OwnMdiClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximised)));
  if (active == nullptr || !maximised) return;
  // The active child's caption buttons live in the strip while it is maximised.
  if (!Form->Manager.MdiMaximised) Form->Manager.SetMdiMaximised(true);
  for (auto& button : Form->Buttons) {
    const TDataSkinSysButton& element = *button->Element;
    if (element.Visibility != 100 || !HasImage(&element)) continue;
    if (!Form->ButtonVisible(*button)) continue;
    RECT target = button->Bounds;
    OffsetRect(&target, -strip.left, -strip.top);
    const int frames = element.FrameCount > 0 ? element.FrameCount : 1;
    DrawFrameStretched(dc, target, element.Bitmap.get(), true, frames, 1);
  }
}

void TWinSkinMenu::Layout() {
  RECT bounds{};
  GetWindowRect(Form->Window, &bounds);
  const int frameWidth = bounds.right - bounds.left;
  const RECT strip{Form->LeftWidth, Form->TopHeight, frameWidth - Form->RightWidth,
                   Form->TopHeight + Form->MenuHeight};
  PlaceButtons(nullptr, strip, {0, 0});
}

TMenuBtn* TWinSkinMenu::AcceleratorButton(wchar_t key) const {
  for (const auto& button : Buttons) {
    if (button->Enabled && button->Visible && IsMenuAccel(key, button->Caption)) return button.get();
  }
  return nullptr;
}

TMenuBtn* TWinSkinMenu::ButtonAtPoint(POINT framePoint) const {
  for (const auto& button : Buttons) {
    if (!button->Caption.empty() && PtInRect(&button->Bounds, framePoint)) return button.get();
  }
  return nullptr;
}

TMenuBtn* TWinSkinMenu::ButtonByIndex(int32_t index) const {
  for (const auto& button : Buttons)
    if (button->Index == index) return button.get();
  return nullptr;
}
