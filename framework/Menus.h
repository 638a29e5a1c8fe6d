// Menus: TMenuItem trees behind a main menu bar (TMainMenu) or a context menu
// (TPopupMenu). Items carry a caption, checked/enabled/visible states and OnClick; the
// menu's HMENU is built from the items on first use and rebuilt after a change.
// Owner-drawn menus raise OnMeasureItem/OnDrawItem of their items (or draw them plainly);
// the item's address is the item data of its owner-drawn menu entry, looked up among the
// live items before use. Items carry a shortcut (shown right-aligned) and an image index
// into the menu's Images.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "framework/Classes.h"
#include "framework/Graphics.h"

class TMenu;
class TImageList;

// A shortcut: virtual key in the low byte, shift states above.
using TShortCut = uint16_t;
inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;
TShortCut ShortCut(WORD key, TShortCut shift);
// "Ctrl+O", "Shift+Del", "Alt+F4", "F5"; empty for 0.
std::wstring ShortCutToText(TShortCut shortCut);
// Whether `caption` has `ch` as accelerator ("&File" has F).
bool IsMenuAccel(wchar_t ch, const std::wstring& caption);

using TMenuMeasureItemEvent = std::function<void(TObject* sender, TCanvas* canvas, int& width, int& height)>;
using TMenuDrawItemEvent = std::function<void(TObject* sender, TCanvas* canvas, TRect rect, bool selected)>;

class TMenuItem : public TComponent {
  FRAMEWORK_CLASS(TMenuItem, TComponent)

 public:
  explicit TMenuItem(TComponent* owner);
  ~TMenuItem() override;

  const std::wstring& Caption() const { return caption_; }
  void SetCaption(const std::wstring& value);
  bool Checked() const { return checked_; }
  void SetChecked(bool value);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  bool Default() const { return default_; }
  void SetDefault(bool value);
  bool IsLine() const { return caption_ == L"-"; }
  TShortCut ShortCut() const { return shortCut_; }
  void SetShortCut(TShortCut value);
  int32_t ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int32_t value);

  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem* Items(int index) const;
  void Add(TMenuItem* item);
  void Insert(int index, TMenuItem* item);
  void Remove(TMenuItem* item);
  TMenuItem* Parent() const { return parent_; }
  int MenuIndex() const;
  UINT Command() const { return command_; }
  // The submenu handle of an item with children (made by the menu).
  HMENU Handle() const { return handle_; }
  TMenu* GetParentMenu() const;
  // The menu handle that holds this item's entry (the parent's sub-menu or the menu's
  // own handle), or null before the menu was built.
  HMENU ParentHandle() const;
  // Whether the entry of this item is owner-drawn in its menu.
  bool OwnerDrawn() const;

  virtual void Click();
  // OnMeasureItem when set, else the plain measuring below.
  void MeasureItem(TCanvas* canvas, int& width, int& height);
  // OnDrawItem when set, else the plain painting below.
  void DrawItem(TCanvas* canvas, TRect rect, bool selected);
  // The framework's own owner-draw look: the menu font's text extent plus room for a
  // check mark and the shortcut; item filled with the menu or highlight colour.
  void DefaultMeasureItem(TCanvas* canvas, int& width, int& height);
  void DefaultDrawItem(TCanvas* canvas, TRect rect, bool selected);

  TNotifyEvent OnClick;
  TMenuMeasureItemEvent OnMeasureItem;
  TMenuDrawItemEvent OnDrawItem;

  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* parent) override;
  bool HasParent() const override { return true; }

 private:
  friend class TMenu;
  friend class TMainMenu;
  void Changed();
  void AppendTo(HMENU menu, bool ownerDraw);
  void FreeHandle();
  TMenuItem* FindCommand(UINT command);

  std::wstring caption_;
  bool checked_ = false;
  bool enabled_ = true;
  bool visible_ = true;
  bool default_ = false;
  TShortCut shortCut_ = 0;
  int32_t imageIndex_ = -1;
  std::vector<TMenuItem*> items_;
  TMenuItem* parent_ = nullptr;
  TMenu* menu_ = nullptr;  // set on the root item
  UINT command_;
  HMENU handle_ = nullptr;
};

class TMenu : public TComponent {
  FRAMEWORK_CLASS(TMenu, TComponent)

 public:
  explicit TMenu(TComponent* owner);
  ~TMenu() override;

  TMenuItem* Items() const { return items_; }
  // The menu handle, built from the items.
  HMENU Handle();
  bool OwnerDraw() const { return ownerDraw_; }
  void SetOwnerDraw(bool value);
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* value);
  // Runs the click of the item with this command id; false when none has it.
  bool DispatchCommand(UINT command);
  TMenuItem* FindItem(UINT command);
  // The item whose command is `id` or whose sub-menu handle is `id`, at any depth.
  TMenuItem* FindItemById(UINT_PTR id);
  // The items changed: the handle is rebuilt on next use.
  virtual void MenuChanged();

 protected:
  friend class TMenuItem;
  virtual HMENU CreateMenuHandle() = 0;
  void Notification(TComponent* component, TOperation operation) override;
  HMENU handle_ = nullptr;

 private:
  TMenuItem* items_;
  bool ownerDraw_ = false;
  TImageList* images_ = nullptr;
};

class TMainMenu : public TMenu {
  FRAMEWORK_CLASS(TMainMenu, TMenu)

 public:
  explicit TMainMenu(TComponent* owner) : TMenu(owner) {}
  void MenuChanged() override;

 protected:
  HMENU CreateMenuHandle() override { return CreateMenu(); }
};

class TPopupMenu : public TMenu {
  FRAMEWORK_CLASS(TPopupMenu, TMenu)

 public:
  explicit TPopupMenu(TComponent* owner) : TMenu(owner) {}
  // Shows the menu at a screen point and runs the chosen item's click.
  virtual void Popup(int x, int y);
  TComponent* PopupComponent() const { return popupComponent_; }
  void SetPopupComponent(TComponent* value) { popupComponent_ = value; }
  bool AutoPopup() const { return autoPopup_; }
  void SetAutoPopup(bool value) { autoPopup_ = value; }
  TNotifyEvent OnPopup;

 protected:
  HMENU CreateMenuHandle() override { return CreatePopupMenu(); }

 private:
  TComponent* popupComponent_ = nullptr;
  bool autoPopup_ = true;
};

// The live item whose address is `itemData`, else null.
TMenuItem* MenuItemOfData(ULONG_PTR itemData);
// WM_MEASUREITEM / WM_DRAWITEM of a framework item's owner-drawn entry: raises the item's
// measuring or painting. False when the entry is not a live framework item.
bool MenuMeasureItem(MEASUREITEMSTRUCT& measure, HWND window);
bool MenuDrawItem(const DRAWITEMSTRUCT& draw);
// WM_MENUCHAR for `menu`: the entry whose caption (of its framework item, or its text) has
// `ch` as accelerator is chosen (MNC_EXECUTE), else 0 (the system beeps). Owner-drawn
// entries carry no text the system could search.
LRESULT MenuCharResult(HMENU menu, wchar_t ch);
// The hidden window that owns popup menus while they are tracked and answers their
// owner-draw messages.
HWND PopupListWindow();
