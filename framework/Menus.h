// Menus: TMenuItem trees behind a main menu bar (TMainMenu) or a context menu
// (TPopupMenu). Items carry a caption, checked/enabled/visible states and OnClick; the
// menu's HMENU is built from the items on first use and rebuilt after a change.
// Owner-drawn menus raise OnMeasureItem/OnDrawItem of their items.
#pragma once

#include <windows.h>

#include <vector>

#include "framework/Classes.h"
#include "framework/Graphics.h"

class TMenu;

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

  virtual void Click();

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
  // Runs the click of the item with this command id; false when none has it.
  bool DispatchCommand(UINT command);
  TMenuItem* FindItem(UINT command);
  // The items changed: the handle is rebuilt on next use.
  virtual void MenuChanged();

 protected:
  virtual HMENU CreateMenuHandle() = 0;
  void Notification(TComponent* component, TOperation operation) override;
  HMENU handle_ = nullptr;

 private:
  TMenuItem* items_;
  bool ownerDraw_ = false;
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
