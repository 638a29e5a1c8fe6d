#include "framework/Menus.h"

#include <algorithm>

#include "framework/Application.h"
#include "framework/ClassBuilder.h"
#include "framework/Forms.h"

namespace {
UINT gNextCommand = 1;
}

const TClassInfo& TMenuItem::StaticClass() {
  static const TClassInfo info = TClassBuilder<TMenuItem>("TMenuItem", &Inherited::StaticClass())
                                     .Property("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption)
                                     .Property("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked)
                                     .Property("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled)
                                     .Property("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible)
                                     .Property("Default", &TMenuItem::Default, &TMenuItem::SetDefault)
                                     .Property("OnClick", &TMenuItem::OnClick)
                                     .Property("OnMeasureItem", &TMenuItem::OnMeasureItem)
                                     .Property("OnDrawItem", &TMenuItem::OnDrawItem)
                                     .Build();
  return info;
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), command_(gNextCommand++) {
  if (gNextCommand >= 0xF000) gNextCommand = 1;
}

TMenuItem::~TMenuItem() {
  while (!items_.empty()) {
    TMenuItem* child = items_.back();
    Remove(child);
    delete child;
  }
  if (parent_) parent_->Remove(this);
}

void TMenuItem::Changed() {
  if (TMenu* menu = GetParentMenu()) menu->MenuChanged();
}

void TMenuItem::SetCaption(const std::wstring& value) {
  if (value == caption_) return;
  caption_ = value;
  Changed();
}

void TMenuItem::SetChecked(bool value) {
  if (value == checked_) return;
  checked_ = value;
  Changed();
}

void TMenuItem::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  Changed();
}

void TMenuItem::SetVisible(bool value) {
  if (value == visible_) return;
  visible_ = value;
  Changed();
}

void TMenuItem::SetDefault(bool value) {
  if (value == default_) return;
  default_ = value;
  Changed();
}

TMenuItem* TMenuItem::Items(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return items_[static_cast<size_t>(index)];
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
  if (!item || item == this) return;
  if (item->parent_) item->parent_->Remove(item);
  index = std::clamp(index, 0, Count());
  items_.insert(items_.begin() + index, item);
  item->parent_ = this;
  Changed();
}

void TMenuItem::Remove(TMenuItem* item) {
  auto it = std::find(items_.begin(), items_.end(), item);
  if (it == items_.end()) return;
  items_.erase(it);
  item->parent_ = nullptr;
  Changed();
}

int TMenuItem::MenuIndex() const {
  if (!parent_) return -1;
  const auto& list = parent_->items_;
  return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* item = this;
  while (item->parent_) item = item->parent_;
  return item->menu_;
}

TComponent* TMenuItem::GetParentComponent() const {
  if (parent_ && parent_->menu_) return parent_->menu_;
  return parent_;
}

void TMenuItem::SetParentComponent(TComponent* parent) {
  if (auto* menu = dynamic_cast<TMenu*>(parent)) {
    menu->Items()->Add(this);
  } else if (auto* item = dynamic_cast<TMenuItem*>(parent)) {
    item->Add(this);
  }
}

void TMenuItem::Click() {
  if (OnClick) OnClick(this);
}

void TMenuItem::FreeHandle() {
  handle_ = nullptr;  // destroyed with the menu that holds it
  for (TMenuItem* child : items_) child->FreeHandle();
}

void TMenuItem::AppendTo(HMENU menu, bool ownerDraw) {
  if (!visible_) return;
  UINT flags = 0;
  if (IsLine()) {
    AppendMenuW(menu, MF_SEPARATOR | (ownerDraw ? MF_OWNERDRAW : 0), command_, nullptr);
    return;
  }
  if (checked_) flags |= MF_CHECKED;
  if (!enabled_) flags |= MF_GRAYED;
  if (ownerDraw) flags |= MF_OWNERDRAW;
  const wchar_t* text = ownerDraw ? reinterpret_cast<const wchar_t*>(this) : caption_.c_str();
  if (!items_.empty()) {
    handle_ = CreatePopupMenu();
    for (TMenuItem* child : items_) child->AppendTo(handle_, ownerDraw);
    AppendMenuW(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(handle_), text);
  } else {
    AppendMenuW(menu, flags | MF_STRING, command_, text);
  }
  if (default_) SetMenuDefaultItem(menu, command_, FALSE);
}

TMenuItem* TMenuItem::FindCommand(UINT command) {
  if (command_ == command && items_.empty()) return this;
  for (TMenuItem* child : items_)
    if (TMenuItem* found = child->FindCommand(command)) return found;
  return nullptr;
}

// ---- TMenu ----

const TClassInfo& TMenu::StaticClass() {
  static const TClassInfo info = TClassBuilder<TMenu>("TMenu", &Inherited::StaticClass())
                                     .Property("OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw)
                                     .Build();
  return info;
}

const TClassInfo& TMainMenu::StaticClass() {
  static const TClassInfo info = TClassBuilder<TMainMenu>("TMainMenu", &Inherited::StaticClass()).Build();
  return info;
}

const TClassInfo& TPopupMenu::StaticClass() {
  static const TClassInfo info = TClassBuilder<TPopupMenu>("TPopupMenu", &Inherited::StaticClass())
                                     .Property("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup)
                                     .Property("OnPopup", &TPopupMenu::OnPopup)
                                     .Build();
  return info;
}

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(new TMenuItem(nullptr)) { items_->menu_ = this; }

TMenu::~TMenu() {
  Destroying();
  DestroyComponents();  // items owned by this menu
  items_->menu_ = nullptr;
  delete items_;
  if (handle_) DestroyMenu(handle_);
}

HMENU TMenu::Handle() {
  if (!handle_) {
    handle_ = CreateMenuHandle();
    for (TMenuItem* item : items_->items_) item->AppendTo(handle_, ownerDraw_);
  }
  return handle_;
}

void TMenu::SetOwnerDraw(bool value) {
  if (value == ownerDraw_) return;
  ownerDraw_ = value;
  MenuChanged();
}

void TMenu::MenuChanged() {
  if (!handle_) return;
  items_->FreeHandle();
  DestroyMenu(handle_);
  handle_ = nullptr;
}

void TMenu::Notification(TComponent* component, TOperation operation) { TComponent::Notification(component, operation); }

TMenuItem* TMenu::FindItem(UINT command) { return items_->FindCommand(command); }

bool TMenu::DispatchCommand(UINT command) {
  TMenuItem* item = FindItem(command);
  if (!item) return false;
  item->Click();
  return true;
}

void TMainMenu::MenuChanged() {
  if (!handle_ || DestroyingState()) {
    TMenu::MenuChanged();
    return;
  }
  // The form shows the old handle: give it the new one before the old one goes.
  HMENU old = handle_;
  Items()->FreeHandle();
  handle_ = nullptr;
  auto* form = dynamic_cast<TCustomForm*>(Owner());
  if (form && form->Menu() == this && form->HandleAllocated()) {
    ::SetMenu(form->Handle(), Handle());
    DrawMenuBar(form->Handle());
    form->Perform(CM_MENUCHANGED);
  }
  DestroyMenu(old);
}

void TPopupMenu::Popup(int x, int y) {
  if (OnPopup) OnPopup(this);
  HWND owner = Application ? Application->Handle() : nullptr;
  SetForegroundWindow(owner);
  const UINT command = static_cast<UINT>(
      TrackPopupMenu(Handle(), TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, x, y, 0, owner, nullptr));
  PostMessageW(owner, WM_NULL, 0, 0);
  if (command) DispatchCommand(command);
}
