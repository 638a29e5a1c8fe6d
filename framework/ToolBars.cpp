// TToolBar and TToolButton.
#include "framework/ToolBars.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/ClassBuilder.h"
#include "framework/CommonControls.h"
#include "framework/ImageList.h"
#include "framework/Menus.h"

namespace {
int gNextToolCommand = 0x7000;
}  // namespace

// ---- TToolButton ----

const TClassInfo& TToolButton::StaticClass() {
  static const TClassInfo info = TClassBuilder<TToolButton>("TToolButton", &Inherited::StaticClass())
                                     .Property("Style", &TToolButton::Style, &TToolButton::SetStyle)
                                     .Property("ImageIndex", &TToolButton::ImageIndex, &TToolButton::SetImageIndex)
                                     .Property("Down", &TToolButton::Down, &TToolButton::SetDown)
                                     .Property("Grouped", &TToolButton::Grouped, &TToolButton::SetGrouped)
                                     .Property("MenuItem", &TToolButton::MenuItem, &TToolButton::SetMenuItem)
                                     .Property("DropdownMenu", &TToolButton::DropdownMenu, &TToolButton::SetDropdownMenu)
                                     .Build();
  return info;
}

TToolButton::TToolButton(TComponent* owner) : TGraphicControl(owner), commandId_(gNextToolCommand++) {
  if (gNextToolCommand > 0x7FFF) gNextToolCommand = 0x7000;
  SetBounds(0, 0, 23, 22);
}

TToolButton::~TToolButton() {
  if (menuItem_) menuItem_->RemoveFreeNotification(this);
  if (TToolBar* bar = Bar()) {
    TControl::SetParent(nullptr);
    bar->UpdateButtons();
  }
}

TToolBar* TToolButton::Bar() const { return dynamic_cast<TToolBar*>(Parent()); }

void TToolButton::SetParent(TWinControl* parent) {
  TToolBar* old = Bar();
  TControl::SetParent(parent);
  if (old && old != Bar()) old->UpdateButtons();
  if (TToolBar* bar = Bar()) bar->UpdateButtons();
}

void TToolButton::SetStyle(TToolButtonStyle value) {
  if (value == style_) return;
  style_ = value;
  if (TToolBar* bar = Bar()) bar->UpdateButtons();
}

void TToolButton::SetImageIndex(int32_t value) {
  if (value == imageIndex_) return;
  imageIndex_ = value;
  if (TToolBar* bar = Bar()) bar->UpdateButtons();
}

void TToolButton::SetDown(bool value) {
  if (value == down_) return;
  down_ = value;
  TToolBar* bar = Bar();
  if (bar && bar->HandleAllocated()) SendMessageW(bar->Handle(), TB_CHECKBUTTON, static_cast<WPARAM>(commandId_), value);
}

void TToolButton::SetGrouped(bool value) {
  if (value == grouped_) return;
  grouped_ = value;
  if (TToolBar* bar = Bar()) bar->UpdateButtons();
}

void TToolButton::SetMenuItem(TMenuItem* value) {
  if (value == menuItem_) return;
  if (menuItem_) menuItem_->RemoveFreeNotification(this);
  menuItem_ = value;
  if (menuItem_) {
    menuItem_->FreeNotification(this);
    if (Caption().empty()) SetCaption(menuItem_->Caption());
  }
}

void TToolButton::SetDropdownMenu(TPopupMenu* value) {
  if (value == dropdownMenu_) return;
  if (dropdownMenu_) dropdownMenu_->RemoveFreeNotification(this);
  dropdownMenu_ = value;
  if (dropdownMenu_) dropdownMenu_->FreeNotification(this);
}

void TToolButton::Notification(TComponent* component, TOperation operation) {
  TGraphicControl::Notification(component, operation);
  if (operation != TOperation::opRemove) return;
  if (component == menuItem_) menuItem_ = nullptr;
  if (component == dropdownMenu_) dropdownMenu_ = nullptr;
}

void TToolButton::Click() {
  if (menuItem_ && menuItem_->Count() > 0) {
    if (TToolBar* bar = Bar()) bar->DropDown(this);
  } else if (menuItem_) {
    menuItem_->Click();
  }
  TGraphicControl::Click();
}

void TToolButton::WndProc(TMessage& m) {
  TGraphicControl::WndProc(m);
  switch (m.Msg) {
    case CM_TEXTCHANGED:
    case CM_ENABLEDCHANGED:
    case CM_VISIBLECHANGED:
      if (TToolBar* bar = Bar()) bar->UpdateButtons();
      break;
    default:
      break;
  }
}

// ---- TToolBar ----

const TClassInfo& TToolBar::StaticClass() {
  static const TClassInfo info = TClassBuilder<TToolBar>("TToolBar", &Inherited::StaticClass())
                                     .Property("Flat", &TToolBar::Flat, &TToolBar::SetFlat)
                                     .Property("ShowCaptions", &TToolBar::ShowCaptions, &TToolBar::SetShowCaptions)
                                     .Property("List", &TToolBar::List, &TToolBar::SetList)
                                     .Property("ButtonWidth", &TToolBar::ButtonWidth, &TToolBar::SetButtonWidth)
                                     .Property("ButtonHeight", &TToolBar::ButtonHeight, &TToolBar::SetButtonHeight)
                                     .Property("Images", &TToolBar::Images, &TToolBar::SetImages)
                                     .Property("Menu", &TToolBar::Menu, &TToolBar::SetMenu)
                                     .Property("OnCustomDraw", &TToolBar::OnCustomDraw)
                                     .Property("OnCustomDrawButton", &TToolBar::OnCustomDrawButton)
                                     .Build();
  return info;
}

TToolBar::TToolBar(TComponent* owner) : TWinControl(owner), canvas_(new TCanvas) {
  controlStyle_.Include(csAcceptsControls);
  SetBounds(0, 0, 150, 29);
  SetAlign(alTop);
}

TToolBar::~TToolBar() {
  // The buttons go first and must not rebuild a bar that is going.
  updating_ = true;
  for (int i = ControlCount() - 1; i >= 0; --i)
    if (auto* button = dynamic_cast<TToolButton*>(Controls(i))) delete button;
  if (images_) images_->RemoveFreeNotification(this);
  if (menu_) menu_->RemoveFreeNotification(this);
  DestroyHandle();
  delete canvas_;
}

void TToolBar::CreateParams(TCreateParams& p) {
  NeedCommonControls(ICC_BAR_CLASSES);
  TWinControl::CreateParams(p);
  CreateSubClass(p, TOOLBARCLASSNAMEW);
  p.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER | CCS_TOP;
  if (flat_) p.Style |= TBSTYLE_FLAT;
  if (list_) p.Style |= TBSTYLE_LIST;
  p.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TToolBar::CreateHandleDone() {
  SendMessageW(handle_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  if (images_) SendMessageW(handle_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_->Handle()));
  UpdateButtons();
}

void TToolBar::Loaded() {
  TWinControl::Loaded();
  MakeMenuButtons();
  UpdateButtons();
}

int TToolBar::ButtonCount() const {
  int count = 0;
  for (int i = 0; i < ControlCount(); ++i)
    if (dynamic_cast<TToolButton*>(Controls(i))) ++count;
  return count;
}

TToolButton* TToolBar::Buttons(int index) const {
  std::vector<TToolButton*> buttons;
  for (int i = 0; i < ControlCount(); ++i)
    if (auto* b = dynamic_cast<TToolButton*>(Controls(i))) buttons.push_back(b);
  // In the order they sit on the bar.
  std::stable_sort(buttons.begin(), buttons.end(), [](TToolButton* a, TToolButton* b) {
    return a->Top() != b->Top() ? a->Top() < b->Top() : a->Left() < b->Left();
  });
  if (index < 0 || index >= static_cast<int>(buttons.size())) return nullptr;
  return buttons[static_cast<size_t>(index)];
}

TToolButton* TToolBar::ButtonOfCommand(int command) const {
  for (int i = 0; i < ControlCount(); ++i)
    if (auto* b = dynamic_cast<TToolButton*>(Controls(i)); b && b->commandId_ == command) return b;
  return nullptr;
}

void TToolBar::UpdateButtons() {
  if (!HandleAllocated() || updating_ || Loading()) return;
  updating_ = true;
  while (SendMessageW(handle_, TB_BUTTONCOUNT, 0, 0) > 0) SendMessageW(handle_, TB_DELETEBUTTON, 0, 0);
  const int count = ButtonCount();
  std::vector<TToolButton*> buttons;
  for (int i = 0; i < count; ++i) buttons.push_back(Buttons(i));
  std::vector<std::wstring> captions(buttons.size());
  std::vector<TBBUTTON> items(buttons.size());
  for (size_t i = 0; i < buttons.size(); ++i) {
    TToolButton* b = buttons[i];
    TBBUTTON& item = items[i];
    item = TBBUTTON{};
    item.idCommand = b->commandId_;
    item.iBitmap = b->imageIndex_ >= 0 ? b->imageIndex_ : I_IMAGENONE;
    item.fsState = static_cast<BYTE>((b->Enabled() ? TBSTATE_ENABLED : 0) | (b->down_ ? TBSTATE_CHECKED : 0) |
                                     (b->Visible() ? 0 : TBSTATE_HIDDEN));
    switch (b->style_) {
      case tbsButton: item.fsStyle = BTNS_BUTTON; break;
      case tbsCheck: item.fsStyle = static_cast<BYTE>(BTNS_CHECK | (b->grouped_ ? BTNS_GROUP : 0)); break;
      case tbsDropDown: item.fsStyle = BTNS_DROPDOWN; break;
      case tbsSeparator:
      case tbsDivider:
        item.fsStyle = BTNS_SEP;
        item.iBitmap = 8;
        break;
    }
    if (showCaptions_ && b->style_ != tbsSeparator && b->style_ != tbsDivider) {
      captions[i] = b->Caption();
      item.iString = reinterpret_cast<INT_PTR>(captions[i].c_str());
      item.fsStyle = static_cast<BYTE>(item.fsStyle | BTNS_AUTOSIZE);
    }
  }
  if (!items.empty()) SendMessageW(handle_, TB_ADDBUTTONSW, items.size(), reinterpret_cast<LPARAM>(items.data()));
  if (!showCaptions_) SendMessageW(handle_, TB_SETBUTTONSIZE, 0, MAKELPARAM(buttonWidth_, buttonHeight_));
  // The buttons' bounds follow what the bar made of them.
  for (TToolButton* b : buttons) {
    const auto index = static_cast<WPARAM>(SendMessageW(handle_, TB_COMMANDTOINDEX, static_cast<WPARAM>(b->commandId_), 0));
    RECT r{};
    if (SendMessageW(handle_, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r)))
      b->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
  }
  updating_ = false;
  InvalidateRect(handle_, nullptr, TRUE);
}

void TToolBar::SetFlat(bool value) {
  if (value == flat_) return;
  flat_ = value;
  if (HandleAllocated()) {
    const LONG style = GetWindowLongW(handle_, GWL_STYLE);
    SetWindowLongW(handle_, GWL_STYLE, value ? (style | TBSTYLE_FLAT) : (style & ~static_cast<LONG>(TBSTYLE_FLAT)));
    InvalidateRect(handle_, nullptr, TRUE);
  }
}

void TToolBar::SetShowCaptions(bool value) {
  if (value == showCaptions_) return;
  showCaptions_ = value;
  RecreateWnd();
}

void TToolBar::SetList(bool value) {
  if (value == list_) return;
  list_ = value;
  RecreateWnd();
}

void TToolBar::SetButtonWidth(int32_t value) {
  if (value == buttonWidth_ || value <= 0) return;
  buttonWidth_ = value;
  UpdateButtons();
}

void TToolBar::SetButtonHeight(int32_t value) {
  if (value == buttonHeight_ || value <= 0) return;
  buttonHeight_ = value;
  UpdateButtons();
}

void TToolBar::SetImages(TImageList* value) {
  if (value == images_) return;
  if (images_) images_->RemoveFreeNotification(this);
  images_ = value;
  if (images_) images_->FreeNotification(this);
  if (HandleAllocated()) {
    SendMessageW(handle_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_ ? images_->Handle() : nullptr));
    UpdateButtons();
  }
}

void TToolBar::SetMenu(TMainMenu* value) {
  if (value == menu_) return;
  if (menu_) menu_->RemoveFreeNotification(this);
  menu_ = value;
  if (menu_) menu_->FreeNotification(this);
  if (!Loading()) {
    MakeMenuButtons();
    UpdateButtons();
  }
}

void TToolBar::MakeMenuButtons() {
  // Buttons made for an earlier menu go.
  updating_ = true;
  for (int i = ControlCount() - 1; i >= 0; --i)
    if (auto* b = dynamic_cast<TToolButton*>(Controls(i)); b && b->Owner() == this && b->MenuItem()) delete b;
  updating_ = false;
  if (!menu_) return;
  showCaptions_ = true;
  int left = 0;
  for (int i = 0; i < menu_->Items()->Count(); ++i) {
    TMenuItem* item = menu_->Items()->Items(i);
    auto* button = new TToolButton(this);
    button->SetBounds(left++, 0, 23, 22);
    button->SetMenuItem(item);
    button->SetCaption(item->Caption());
    updating_ = true;
    button->SetParent(this);
    updating_ = false;
  }
}

void TToolBar::DropDown(TToolButton* button) {
  if (!button || !HandleAllocated()) return;
  const auto index = static_cast<WPARAM>(SendMessageW(handle_, TB_COMMANDTOINDEX, static_cast<WPARAM>(button->commandId_), 0));
  RECT r{};
  SendMessageW(handle_, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
  POINT at{r.left, r.bottom};
  ::ClientToScreen(handle_, &at);
  if (button->dropdownMenu_) {
    button->dropdownMenu_->Popup(at.x, at.y);
    return;
  }
  TMenuItem* item = button->menuItem_;
  if (!item || item->Count() == 0) return;
  TMenu* menu = item->GetParentMenu();
  if (menu) menu->Handle();  // builds the sub-menu handles
  if (!item->Handle()) return;
  SendMessageW(handle_, TB_PRESSBUTTON, static_cast<WPARAM>(button->commandId_), TRUE);
  const UINT command = static_cast<UINT>(
      TrackPopupMenu(item->Handle(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD, at.x, at.y, 0, handle_, nullptr));
  SendMessageW(handle_, TB_PRESSBUTTON, static_cast<WPARAM>(button->commandId_), FALSE);
  if (command && menu) menu->DispatchCommand(command);
}

void TToolBar::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation != TOperation::opRemove) return;
  if (component == images_) {
    images_ = nullptr;
    if (HandleAllocated() && !DestroyingState()) SendMessageW(handle_, TB_SETIMAGELIST, 0, 0);
  }
  if (component == menu_) menu_ = nullptr;
}

void TToolBar::CustomDraw(TMessage& m) {
  auto* draw = reinterpret_cast<NMTBCUSTOMDRAW*>(m.LParam);
  m.Result = CDRF_DODEFAULT;
  const DWORD stage = draw->nmcd.dwDrawStage;
  if (stage == CDDS_PREPAINT) {
    bool defaultDraw = true;
    if (OnCustomDraw)
      PaintOnCanvas(canvas_, draw->nmcd.hdc, Font(), [&] { OnCustomDraw(this, draw->nmcd.rc, defaultDraw); });
    if (!defaultDraw) m.Result = CDRF_SKIPDEFAULT;
    if (OnCustomDrawButton) m.Result |= CDRF_NOTIFYITEMDRAW;
  } else if (stage == CDDS_ITEMPREPAINT && OnCustomDrawButton) {
    TToolButton* button = ButtonOfCommand(static_cast<int>(draw->nmcd.dwItemSpec));
    if (!button) return;
    const UINT s = draw->nmcd.uItemState;
    TCustomDrawState state;
    if (s & CDIS_SELECTED) state.Include(cdsSelected);
    if (s & CDIS_GRAYED) state.Include(cdsGrayed);
    if (s & CDIS_DISABLED) state.Include(cdsDisabled);
    if (s & CDIS_CHECKED) state.Include(cdsChecked);
    if (s & CDIS_FOCUS) state.Include(cdsFocused);
    if (s & CDIS_DEFAULT) state.Include(cdsDefault);
    if (s & CDIS_HOT) state.Include(cdsHot);
    if (s & CDIS_MARKED) state.Include(cdsMarked);
    if (s & CDIS_INDETERMINATE) state.Include(cdsIndeterminate);
    bool defaultDraw = true;
    PaintOnCanvas(canvas_, draw->nmcd.hdc, Font(), [&] { OnCustomDrawButton(this, button, state, defaultDraw); });
    if (!defaultDraw) m.Result = CDRF_SKIPDEFAULT;
  }
}

void TToolBar::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
      // The bar's window presses and clicks its buttons itself.
      DefaultHandler(m);
      return;
    case CN_COMMAND:
      if (TToolButton* button = ButtonOfCommand(LOWORD(m.WParam))) {
        if (button->style_ == tbsCheck)
          button->down_ = SendMessageW(handle_, TB_ISBUTTONCHECKED, static_cast<WPARAM>(button->commandId_), 0) != 0;
        button->Click();
      }
      m.Result = 0;
      return;
    case CN_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(m.LParam);
      m.Result = 0;
      if (!header) return;
      if (header->code == NM_CUSTOMDRAW) {
        CustomDraw(m);
      } else if (header->code == TBN_DROPDOWN) {
        DropDown(ButtonOfCommand(reinterpret_cast<const NMTOOLBARW*>(m.LParam)->iItem));
        m.Result = TBDDRET_DEFAULT;
      }
      return;
    }
    default:
      break;
  }
  TWinControl::WndProc(m);
}

void RegisterToolBarClasses() { RegisterClasses({&TToolBar::StaticClass(), &TToolButton::StaticClass()}); }
