// The skinned menu bar (TWinSkinMenu, one TMenuBtn per top-level item): the window's own
// menu bar is taken off the window and drawn in the frame's menu strip; clicking a button
// (or its accelerator) tracks the button's drop-down with a message-filter hook that lets
// Left/Right and the mouse move across the bar. Also the painting of menu items from the
// skin's MenuItem element (owner-drawn items of framework and foreign menus).
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "skin/form/WinSkinForm.h"

class TBitmap;
class TComponent;
class TImageList;
class TMainMenu;
class TMenuItem;
class TSkinData;

// One top-level item of the bar.
class TMenuBtn : public TNCObject {
 public:
  TMenuBtn(TWinSkinForm* owner, TSkinData* skinData) : TNCObject(owner), SkinData(skinData) {}
  void Paint() override;

  TMenuItem* Item = nullptr;
  TSkinData* SkinData;
  int32_t Index = 0;
  std::wstring Caption;
  HMENU SubMenu = nullptr;
  UINT Command = 0;
};

class TWinSkinMenu {
 public:
  explicit TWinSkinMenu(TWinSkinForm* form);
  ~TWinSkinMenu();
  TWinSkinMenu(const TWinSkinMenu&) = delete;
  TWinSkinMenu& operator=(const TWinSkinMenu&) = delete;

  // Buttons from the window's menu (captions from the framework items where they match);
  // the menu is then taken off the window.
  void Rebuild();
  // The same with the captions and commands of the framework items, then Layout.
  void RebuildFromItems();
  // Draws the strip (frame coordinates `strip`) on `dc`.
  void Paint(HDC dc, const RECT& strip);
  // The button rectangles without painting.
  void Layout();
  // Tracks the button's drop-down; false without a button or drop-down.
  bool OpenButton(TMenuBtn* button);
  // The first enabled, visible button whose caption has `key` as accelerator.
  TMenuBtn* AcceleratorButton(wchar_t key) const;
  // The first button with a caption whose Bounds hold `framePoint`.
  TMenuBtn* ButtonAtPoint(POINT framePoint) const;
  TMenuBtn* ButtonByIndex(int32_t index) const;
  // Puts the menu back on the window and undoes the owner-draw switch of its items.
  void RestoreWindowMenu();

  std::vector<std::unique_ptr<TMenuBtn>> Buttons;
  TMainMenu* Menu = nullptr;
  RECT Bounds{0, 0, 0, 0};
  TSkinData* SkinData;
  TWinSkinForm* Form;
  std::unique_ptr<TBitmap> Buffer;
  int32_t ButtonCount = 0;
  uint8_t Painting = 0;
  HMENU MenuHandle = nullptr;

 private:
  // Lays out the buttons in `strip` (frame coordinates); draws the captions on `dc` when
  // it is given (`origin`: the strip's position on `dc`).
  void PlaceButtons(HDC dc, const RECT& strip, POINT origin);
  // Buttons from the window's menu (`fromItems`: captions and commands of the framework
  // items); false when there is no menu to read, the buttons then stay.
  bool ReadButtons(bool fromItems);
  int FirstButtonX(const RECT& strip) const;
  // An MDI main form with a maximised active child: that child's caption buttons.
  void PaintMdiChildButtons(HDC dc, const RECT& strip);
  void FreeButtons();
  void SwitchToOwnerDraw(HMENU menu);

  // The entries switched to owner-drawn (menu, position), switched back at restore.
  std::vector<std::pair<HMENU, int>> ownerDrawn_;
};

// What an item painter needs of an item, from a framework item or a window menu entry.
struct TMenuItemLook {
  std::wstring Caption;
  std::wstring ShortCut;
  bool Enabled = true;
  bool Checked = false;
  bool Default = false;
  int ImageIndex = -1;
  TImageList* Images = nullptr;
};

TMenuItemLook LookOfItem(TMenuItem* item);
// The entry `id` of `menu` (by command, sub-menus searched), or false when none has it.
bool LookOfMenuEntry(HMENU menu, UINT id, bool byPosition, TMenuItemLook& look);
// Paints one item from the skin (`parentMenu`: the menu that holds it, for the popup
// background behind it).
void PaintSkinMenuItem(TSkinData* skinData, HDC dc, const RECT& rect, HMENU parentMenu,
                       const TMenuItemLook& look, bool selected);
// The measurers: the framework's own measure grown for the skin's item margins.
void GrowMainMenuItemWidth(TSkinData* skinData, bool hasImages, int& width);
void GrowPopupItemWidth(TSkinData* skinData, bool hasImages, int& width);
// Measures an entry from its text (items not known to the framework).
void MeasureEntryFromText(TSkinData* skinData, HDC dc, const std::wstring& text, int& width, int& height);

// Owner-drawing of framework menus by the frame of `window` (the handlers find the frame
// through the skin manager, so they stay harmless after the frame is gone).
void SetOwnerDrawItems(HWND window, TMenuItem* item, bool on);
void SetOwnerDrawPopups(HWND window, TComponent* owner, bool on);
void SetOwnerDrawMainMenus(HWND window, TComponent* owner, bool on);

// The menu-loop state while a bar drop-down is tracked (for tests): the index of the open
// button, -1 when none.
int32_t MenuLoopOpenIndex();
// A bar is freed: a menu loop it runs ends without touching it again.
void MenuBarGone(const TWinSkinMenu* bar);
// Whether the last bar drop-down ended because its bar was freed (its frame may be gone
// too: the caller must not touch them).
bool LastMenuLoopLostItsBar();
// The items of a popup menu (the root's children and below) get the painter and the popup
// measurer (On) or lose them (Off).
void SetOwnerDrawPopupItems(HWND window, TMenuItem* root, bool on);
