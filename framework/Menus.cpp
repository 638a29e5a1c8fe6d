#include "framework/Menus.h"

#include <algorithm>
#include <cwctype>
#include <unordered_set>

#include "framework/Application.h"
#include "framework/ClassBuilder.h"
#include "framework/Forms.h"
#include "framework/ImageList.h"

namespace {
UINT gNextCommand = 1;

// Every live item: owner-draw item data is checked against it before it is used.
std::unordered_set<const TMenuItem*>& LiveItems() {
  static std::unordered_set<const TMenuItem*> items;
  return items;
}

// The system's menu font on `font`.
void AssignSystemMenuFont(TFont& font) {
  NONCLIENTMETRICSW metrics;
  if (!SystemNonClientMetrics(metrics)) return;
  const LOGFONTW& log = metrics.lfMenuFont;
  font.SetName(log.lfFaceName);
  font.SetHeight(log.lfHeight);
  font.SetCharset(log.lfCharSet);
}

std::wstring KeyName(WORD key) {
  if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return std::wstring(1, static_cast<wchar_t>(key));
  if (key >= VK_F1 && key <= VK_F24) return L"F" + std::to_wstring(key - VK_F1 + 1);
  switch (key) {
    case VK_BACK: return L"BkSp";
    case VK_TAB: return L"Tab";
    case VK_RETURN: return L"Enter";
    case VK_ESCAPE: return L"Esc";
    case VK_SPACE: return L"Space";
    case VK_PRIOR: return L"PgUp";
    case VK_NEXT: return L"PgDn";
    case VK_END: return L"End";
    case VK_HOME: return L"Home";
    case VK_LEFT: return L"Left";
    case VK_UP: return L"Up";
    case VK_RIGHT: return L"Right";
    case VK_DOWN: return L"Down";
    case VK_INSERT: return L"Ins";
    case VK_DELETE: return L"Del";
    default: return {};
  }
}

// The caption without accelerator marks ("&&" stays one "&").
std::wstring StripAccel(const std::wstring& caption) {
  std::wstring out;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == L'&' && i + 1 < caption.size()) ++i;
    out += caption[i];
  }
  return out;
}

}  // namespace

TShortCut ShortCut(WORD key, TShortCut shift) {
  return static_cast<TShortCut>((key & 0xFF) | (shift & (scShift | scCtrl | scAlt)));
}

std::wstring ShortCutToText(TShortCut shortCut) {
  const std::wstring name = KeyName(static_cast<WORD>(shortCut & 0xFF));
  if (name.empty()) return {};
  std::wstring text;
  if (shortCut & scShift) text += L"Shift+";
  if (shortCut & scCtrl) text += L"Ctrl+";
  if (shortCut & scAlt) text += L"Alt+";
  return text + name;
}

bool IsMenuAccel(wchar_t ch, const std::wstring& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != L'&') continue;
    if (caption[i + 1] == L'&') {
      ++i;
      continue;
    }
    return std::towupper(caption[i + 1]) == std::towupper(ch);
  }
  return false;
}

const TClassInfo& TMenuItem::StaticClass() {
  static const TClassInfo info = TClassBuilder<TMenuItem>("TMenuItem", &Inherited::StaticClass())
                                     .Property("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption)
                                     .Property("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked)
                                     .Property("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled)
                                     .Property("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible)
                                     .Property("Default", &TMenuItem::Default, &TMenuItem::SetDefault)
                                     .Property("ShortCut", &TMenuItem::ShortCut, &TMenuItem::SetShortCut)
                                     .Property("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex)
                                     .Property("OnClick", &TMenuItem::OnClick)
                                     .Property("OnMeasureItem", &TMenuItem::OnMeasureItem)
                                     .Property("OnDrawItem", &TMenuItem::OnDrawItem)
                                     .Build();
  return info;
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), command_(gNextCommand++) {
  if (gNextCommand >= 0xF000) gNextCommand = 1;
  LiveItems().insert(this);
}

TMenuItem::~TMenuItem() {
  LiveItems().erase(this);
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

void TMenuItem::SetShortCut(TShortCut value) {
  if (value == shortCut_) return;
  shortCut_ = value;
  Changed();
}

void TMenuItem::SetImageIndex(int32_t value) {
  if (value == imageIndex_) return;
  imageIndex_ = value;
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

HMENU TMenuItem::ParentHandle() const {
  if (!parent_) return nullptr;
  if (parent_->menu_) return parent_->menu_->handle_;
  return parent_->handle_;
}

bool TMenuItem::OwnerDrawn() const {
  const TMenu* menu = GetParentMenu();
  return menu && menu->OwnerDraw();
}

void TMenuItem::MeasureItem(TCanvas* canvas, int& width, int& height) {
  if (OnMeasureItem) {
    OnMeasureItem(this, canvas, width, height);
  } else {
    DefaultMeasureItem(canvas, width, height);
  }
}

void TMenuItem::DrawItem(TCanvas* canvas, TRect rect, bool selected) {
  if (OnDrawItem) {
    OnDrawItem(this, canvas, rect, selected);
  } else {
    DefaultDrawItem(canvas, rect, selected);
  }
}

void TMenuItem::DefaultMeasureItem(TCanvas* canvas, int& width, int& height) {
  if (IsLine()) {
    width = 10;
    height = 8;
    return;
  }
  const std::wstring text = StripAccel(caption_.empty() ? L" " : caption_);
  const SIZE extent = canvas->TextExtent(text);
  width = extent.cx + 4;
  const bool topLevel = parent_ && parent_->menu_ && dynamic_cast<TMainMenu*>(parent_->menu_);
  if (!topLevel) {
    width += GetSystemMetrics(SM_CXMENUCHECK) + 8;
    if (shortCut_) width += canvas->TextWidth(ShortCutToText(shortCut_)) + 16;
  }
  height = std::max<int>(extent.cy + 4, GetSystemMetrics(SM_CYMENUCHECK) + 2);
}

void TMenuItem::DefaultDrawItem(TCanvas* canvas, TRect rect, bool selected) {
  HDC dc = canvas->Handle();
  FillRect(dc, &rect, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
  if (IsLine()) {
    RECT line{rect.left, rect.top + 4, rect.right, rect.bottom};
    DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    return;
  }
  const int box = GetSystemMetrics(SM_CXMENUCHECK);
  if (checked_) {
    RECT mark{rect.left + 2, rect.top + (rect.bottom - rect.top - box) / 2, rect.left + 2 + box, 0};
    mark.bottom = mark.top + box;
    DrawFrameControl(dc, &mark, DFC_MENU, DFCS_MENUCHECK);
  }
  SetBkMode(dc, TRANSPARENT);
  COLORREF colour = GetSysColor(enabled_ ? (selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT) : COLOR_GRAYTEXT);
  canvas->Font()->SetColor(static_cast<TColor>(colour));
  RECT text{rect.left + box + 6, rect.top, rect.right - 4, rect.bottom};
  canvas->DrawText(caption_, text, DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS);
  if (shortCut_) {
    RECT right{rect.left, rect.top, rect.right - 10, rect.bottom};
    canvas->DrawText(ShortCutToText(shortCut_), right, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
  }
}

void TMenuItem::FreeHandle() {
  handle_ = nullptr;  // destroyed with the menu that holds it
  for (TMenuItem* child : items_) child->FreeHandle();
}

void TMenuItem::AppendTo(HMENU menu, bool ownerDraw) {
  if (!visible_) return;
  UINT flags = 0;
  if (IsLine()) {
    // Owner-drawn, the separator carries the item as its data like every other entry.
    AppendMenuW(menu, MF_SEPARATOR | (ownerDraw ? MF_OWNERDRAW : 0), command_,
                ownerDraw ? reinterpret_cast<const wchar_t*>(this) : nullptr);
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
  // An item with sub-items has a command of its own too: a skinned menu bar sends it when
  // the item's drop-down opens, so that its OnClick runs. The root item is no entry.
  for (TMenuItem* child : items_) {
    if (child->command_ == command) return child;
    if (TMenuItem* found = child->FindCommand(command)) return found;
  }
  return nullptr;
}

// ---- TMenu ----

const TClassInfo& TMenu::StaticClass() {
  static const TClassInfo info = TClassBuilder<TMenu>("TMenu", &Inherited::StaticClass())
                                     .Property("OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw)
                                     .Property("Images", &TMenu::Images, &TMenu::SetImages)
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

void TMenu::SetImages(TImageList* value) {
  if (value == images_) return;
  if (images_) images_->RemoveFreeNotification(this);
  images_ = value;
  if (images_) images_->FreeNotification(this);
  MenuChanged();
}

void TMenu::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove && component == images_) images_ = nullptr;
}

TMenuItem* TMenu::FindItem(UINT command) { return items_->FindCommand(command); }

namespace {
TMenuItem* FindById(TMenuItem* item, UINT_PTR id) {
  for (int i = 0; i < item->Count(); ++i) {
    TMenuItem* child = item->Items(i);
    if (child->Count() > 0) {
      if (child->Handle() && reinterpret_cast<UINT_PTR>(child->Handle()) == id) return child;
      if (TMenuItem* found = FindById(child, id)) return found;
    } else if (child->Command() == id) {
      return child;
    }
  }
  return nullptr;
}
}  // namespace

TMenuItem* TMenu::FindItemById(UINT_PTR id) { return FindById(items_, id); }

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
  HWND owner = PopupListWindow();
  // A menu closes on a click elsewhere only while a window of this thread is in front.
  const HWND front = GetForegroundWindow();
  if (front == nullptr || GetWindowThreadProcessId(front, nullptr) != GetCurrentThreadId())
    SetForegroundWindow(owner);
  const UINT command = static_cast<UINT>(
      TrackPopupMenu(Handle(), TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, x, y, 0, owner, nullptr));
  PostMessageW(owner, WM_NULL, 0, 0);
  if (command) DispatchCommand(command);
}

// ---- Owner-draw dispatch ----

TMenuItem* MenuItemOfData(ULONG_PTR itemData) {
  auto* item = reinterpret_cast<TMenuItem*>(itemData);
  return item && LiveItems().count(item) ? item : nullptr;
}

bool MenuMeasureItem(MEASUREITEMSTRUCT& measure, HWND window) {
  if (measure.CtlType != ODT_MENU) return false;
  TMenuItem* item = MenuItemOfData(measure.itemData);
  if (!item) return false;
  HDC dc = GetDC(window);
  if (!dc) return false;
  bool done = false;
  {
    TCanvas canvas;
    canvas.SetHandle(dc);
    AssignSystemMenuFont(*canvas.Font());
    int width = static_cast<int>(measure.itemWidth);
    int height = static_cast<int>(measure.itemHeight);
    try {
      item->MeasureItem(&canvas, width, height);
      done = true;
    } catch (...) {
      // A failing handler leaves the system's measures.
    }
    measure.itemWidth = static_cast<UINT>(std::max(width, 0));
    measure.itemHeight = static_cast<UINT>(std::max(height, 0));
    canvas.SetHandle(nullptr);
  }
  ReleaseDC(window, dc);
  return done;
}

bool MenuDrawItem(const DRAWITEMSTRUCT& draw) {
  if (draw.CtlType != ODT_MENU) return false;
  TMenuItem* item = MenuItemOfData(draw.itemData);
  if (!item) return false;
  const int saved = SaveDC(draw.hDC);
  {
    TCanvas canvas;
    canvas.SetHandle(draw.hDC);
    AssignSystemMenuFont(*canvas.Font());
    if (item->Default()) canvas.Font()->SetStyle(TFontStyles{fsBold});
    try {
      item->DrawItem(&canvas, draw.rcItem, (draw.itemState & ODS_SELECTED) != 0);
    } catch (...) {
      // Painting errors leave the item as it was.
    }
    canvas.SetHandle(nullptr);
  }
  RestoreDC(draw.hDC, saved);
  return true;
}

LRESULT MenuCharResult(HMENU menu, wchar_t ch) {
  if (!menu) return 0;
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA | MIIM_STATE | MIIM_FTYPE;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
    if (info.fType & MFT_SEPARATOR) continue;
    std::wstring caption;
    if (TMenuItem* item = MenuItemOfData(info.dwItemData)) {
      if (!item->Enabled() || !item->Visible()) continue;
      caption = item->Caption();
    } else {
      wchar_t text[256] = {};
      GetMenuStringW(menu, static_cast<UINT>(i), text, 255, MF_BYPOSITION);
      caption = text;
    }
    if (IsMenuAccel(ch, caption)) return MAKELRESULT(i, MNC_EXECUTE);
  }
  return 0;
}

namespace {
LRESULT CALLBACK PopupListProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  try {
    switch (msg) {
      case WM_MEASUREITEM:
        if (MenuMeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam), window)) return TRUE;
        break;
      case WM_DRAWITEM:
        if (MenuDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
        break;
      case WM_MENUCHAR:
        if (const LRESULT chosen = MenuCharResult(reinterpret_cast<HMENU>(lParam), LOWORD(wParam))) return chosen;
        break;
      default:
        break;
    }
  } catch (...) {
    return 0;
  }
  return DefWindowProcW(window, msg, wParam, lParam);
}
}  // namespace

HWND PopupListWindow() {
  static HWND window = nullptr;
  if (window && IsWindow(window)) return window;
  constexpr wchar_t kClass[] = L"TPUtilWindow";
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW wc{};
  if (!GetClassInfoW(instance, kClass, &wc)) {
    wc = WNDCLASSW{};
    wc.lpfnWndProc = &PopupListProc;
    wc.hInstance = instance;
    wc.lpszClassName = kClass;
    RegisterClassW(&wc);
  }
  window = CreateWindowExW(WS_EX_TOOLWINDOW, kClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
  return window;
}
