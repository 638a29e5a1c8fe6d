// TTabControl, TPageControl, TTabSheet.
#include "framework/TabCtrls.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/ClassBuilder.h"
#include "framework/CommonControls.h"

// ---- TCustomTabControl ----

const TClassInfo& TCustomTabControl::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TCustomTabControl>("TCustomTabControl", &Inherited::StaticClass())
          .Property("TabPosition", &TCustomTabControl::TabPosition, &TCustomTabControl::SetTabPosition)
          .Property("Style", &TCustomTabControl::Style, &TCustomTabControl::SetStyle)
          .Property("MultiLine", &TCustomTabControl::MultiLine, &TCustomTabControl::SetMultiLine)
          .Property("HotTrack", &TCustomTabControl::HotTrack, &TCustomTabControl::SetHotTrack)
          .Property("OnChange", &TCustomTabControl::OnChange)
          .Property("OnChanging", &TCustomTabControl::OnChanging)
          .Build();
  return info;
}

TCustomTabControl::TCustomTabControl(TComponent* owner) : TWinControl(owner) {
  controlStyle_.Include(csAcceptsControls);
  SetBounds(0, 0, 289, 193);
  SetTabStop(true);
}

TCustomTabControl::~TCustomTabControl() = default;

void TCustomTabControl::CreateParams(TCreateParams& p) {
  NeedCommonControls(ICC_TAB_CLASSES);
  TWinControl::CreateParams(p);
  CreateSubClass(p, WC_TABCONTROLW);
  p.Style |= WS_CLIPCHILDREN;
  switch (style_) {
    case tsTabs: p.Style |= TCS_TABS; break;
    case tsButtons: p.Style |= TCS_BUTTONS; break;
    case tsFlatButtons: p.Style |= TCS_BUTTONS | TCS_FLATBUTTONS; break;
  }
  switch (tabPosition_) {
    case tpTop: break;
    case tpBottom: p.Style |= TCS_BOTTOM; break;
    case tpLeft: p.Style |= TCS_VERTICAL | TCS_MULTILINE; break;
    case tpRight: p.Style |= TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE; break;
  }
  if (multiLine_) p.Style |= TCS_MULTILINE;
  if (hotTrack_) p.Style |= TCS_HOTTRACK;
  p.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TCustomTabControl::CreateHandleDone() { UpdateTabs(); }

void TCustomTabControl::SetTabPosition(TTabPosition value) {
  if (value == tabPosition_) return;
  tabPosition_ = value;
  RecreateWnd();
}

void TCustomTabControl::SetStyle(TTabStyle value) {
  if (value == style_) return;
  style_ = value;
  RecreateWnd();
}

void TCustomTabControl::SetMultiLine(bool value) {
  if (value == multiLine_) return;
  multiLine_ = value;
  RecreateWnd();
}

void TCustomTabControl::SetHotTrack(bool value) {
  if (value == hotTrack_) return;
  hotTrack_ = value;
  RecreateWnd();
}

void TCustomTabControl::UpdateTabs() {
  if (!HandleAllocated()) return;
  SendMessageW(handle_, TCM_DELETEALLITEMS, 0, 0);
  const std::vector<std::wstring> texts = TabTexts();
  for (size_t i = 0; i < texts.size(); ++i) {
    std::wstring text = texts[i];
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text.data();
    SendMessageW(handle_, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  }
  SelectTabShown(CurrentTab());
  Realign();
  InvalidateRect(handle_, nullptr, TRUE);
}

void TCustomTabControl::SelectTabShown(int index) {
  if (HandleAllocated()) SendMessageW(handle_, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int TCustomTabControl::TabCountShown() {
  return HandleAllocated() ? static_cast<int>(SendMessageW(handle_, TCM_GETITEMCOUNT, 0, 0)) : 0;
}

std::wstring TCustomTabControl::TabTextShown(int index) {
  if (!HandleAllocated()) return {};
  wchar_t buffer[128] = {};
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = buffer;
  item.cchTextMax = 128;
  if (!SendMessageW(handle_, TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item))) return {};
  return buffer;
}

TRect TCustomTabControl::DisplayRect() {
  TRect r = ClientRect();
  if (HandleAllocated()) SendMessageW(handle_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
  return r;
}

void TCustomTabControl::AlignControls(TRect& rect) {
  rect = DisplayRect();
  // Pages fill the area inside the tabs.
  for (int i = 0; i < ControlCount(); ++i)
    if (auto* page = dynamic_cast<TTabSheet*>(Controls(i)))
      page->SetBounds(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
  TWinControl::AlignControls(rect);
}

void TCustomTabControl::WndProc(TMessage& m) {
  if (m.Msg == CN_NOTIFY && m.LParam) {
    const auto* header = reinterpret_cast<const NMHDR*>(m.LParam);
    m.Result = 0;
    if (header->code == TCN_SELCHANGING) {
      bool allow = true;
      if (OnChanging) OnChanging(this, allow);
      m.Result = allow ? FALSE : TRUE;
    } else if (header->code == TCN_SELCHANGE) {
      TabPicked(static_cast<int>(SendMessageW(handle_, TCM_GETCURSEL, 0, 0)));
      if (OnChange) OnChange(this);
    }
    return;
  }
  TWinControl::WndProc(m);
}

// ---- TTabControl ----

const TClassInfo& TTabControl::StaticClass() {
  static const TClassInfo info = TClassBuilder<TTabControl>("TTabControl", &Inherited::StaticClass())
                                     .Property("Tabs", &TTabControl::Tabs, &TTabControl::SetTabs)
                                     .Property("TabIndex", &TTabControl::TabIndex, &TTabControl::SetTabIndex)
                                     .Build();
  return info;
}

TTabControl::TTabControl(TComponent* owner) : TCustomTabControl(owner), tabs_(std::make_unique<TStringList>()) {
  tabs_->OnChange = [this](TObject*) {
    if (tabIndex_ >= tabs_->Count()) tabIndex_ = tabs_->Count() - 1;
    if (tabIndex_ < 0 && tabs_->Count() > 0) tabIndex_ = 0;
    UpdateTabs();
  };
}

TTabControl::~TTabControl() { DestroyHandle(); }

std::vector<std::wstring> TTabControl::TabTexts() const {
  std::vector<std::wstring> texts;
  for (int i = 0; i < tabs_->Count(); ++i) texts.push_back(tabs_->Get(i));
  return texts;
}

void TTabControl::SetTabIndex(int32_t value) {
  if (value < -1 || (!Loading() && value >= tabs_->Count())) value = -1;
  if (value == tabIndex_) return;
  tabIndex_ = value;
  SelectTabShown(value);
}

void TTabControl::TabPicked(int index) { tabIndex_ = index; }

// ---- TTabSheet ----

const TClassInfo& TTabSheet::StaticClass() {
  static const TClassInfo info = TClassBuilder<TTabSheet>("TTabSheet", &Inherited::StaticClass())
                                     .Property("PageControl", &TTabSheet::PageControl, &TTabSheet::SetPageControl)
                                     .Property("TabVisible", &TTabSheet::TabVisible, &TTabSheet::SetTabVisible)
                                     .Property("ImageIndex", &TTabSheet::ImageIndex, &TTabSheet::SetImageIndex)
                                     .Build();
  return info;
}

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {
  controlStyle_.Include(csAcceptsControls);
  SetVisible(false);
}

TTabSheet::~TTabSheet() {
  if (pageControl_) pageControl_->RemovePage(this);
  DestroyHandle();
}

void TTabSheet::SetParent(TWinControl* parent) {
  TWinControl::SetParent(parent);
  auto* pages = dynamic_cast<TPageControl*>(parent);
  if (pages == pageControl_) return;
  if (pageControl_) pageControl_->RemovePage(this);
  if (pages) pages->InsertPage(this);
}

void TTabSheet::SetPageControl(TPageControl* value) { SetParent(value); }

int32_t TTabSheet::PageIndex() const {
  if (!pageControl_) return -1;
  const auto& pages = pageControl_->pages_;
  return static_cast<int32_t>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetPageIndex(int32_t value) {
  if (pageControl_) pageControl_->MovePage(this, value);
}

void TTabSheet::SetTabVisible(bool value) {
  if (value == tabVisible_) return;
  tabVisible_ = value;
  if (pageControl_) pageControl_->PagesChanged();
}

void TTabSheet::WndProc(TMessage& m) {
  TWinControl::WndProc(m);
  if (m.Msg == CM_TEXTCHANGED && pageControl_) pageControl_->PagesChanged();
}

// ---- TPageControl ----

const TClassInfo& TPageControl::StaticClass() {
  static const TClassInfo info = TClassBuilder<TPageControl>("TPageControl", &Inherited::StaticClass())
                                     .Property("ActivePage", &TPageControl::ActivePage, &TPageControl::SetActivePage)
                                     .Build();
  return info;
}

TPageControl::TPageControl(TComponent* owner) : TCustomTabControl(owner) {}

TPageControl::~TPageControl() {
  // The pages go with the control (as its children) but must not call back into it.
  for (TTabSheet* page : pages_) page->pageControl_ = nullptr;
  pages_.clear();
  activePage_ = nullptr;
  DestroyHandle();
}

TTabSheet* TPageControl::Pages(int index) const {
  if (index < 0 || index >= PageCount()) return nullptr;
  return pages_[static_cast<size_t>(index)];
}

void TPageControl::InsertPage(TTabSheet* page) {
  pages_.push_back(page);
  page->pageControl_ = this;
  if (!activePage_) activePage_ = page;
  PagesChanged();
}

void TPageControl::RemovePage(TTabSheet* page) {
  const auto it = std::find(pages_.begin(), pages_.end(), page);
  if (it == pages_.end()) return;
  const auto index = static_cast<int>(it - pages_.begin());
  pages_.erase(it);
  page->pageControl_ = nullptr;
  if (activePage_ == page) {
    // The page after it (or the last) becomes active.
    activePage_ = pages_.empty() ? nullptr : pages_[static_cast<size_t>(std::min(index, PageCount() - 1))];
  }
  PagesChanged();
}

void TPageControl::MovePage(TTabSheet* page, int index) {
  const auto it = std::find(pages_.begin(), pages_.end(), page);
  if (it == pages_.end()) return;
  pages_.erase(it);
  index = std::clamp(index, 0, PageCount());
  pages_.insert(pages_.begin() + index, page);
  PagesChanged();
}

void TPageControl::PagesChanged() {
  if (DestroyingState()) return;
  UpdateTabs();
  ShowActivePage();
}

void TPageControl::ShowActivePage() {
  if (Loading()) return;
  // The new page shows before the old one hides, so the area never flashes empty.
  if (activePage_) {
    const TRect r = DisplayRect();
    activePage_->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
    activePage_->SetVisible(true);
    activePage_->BringToFront();
  }
  for (TTabSheet* page : pages_)
    if (page != activePage_) page->SetVisible(false);
}

void TPageControl::Loaded() {
  TCustomTabControl::Loaded();
  PagesChanged();
}

TTabSheet* TPageControl::PageOfTab(int tab) const {
  int visibleIndex = 0;
  for (TTabSheet* page : pages_) {
    if (!page->tabVisible_) continue;
    if (visibleIndex++ == tab) return page;
  }
  return nullptr;
}

int TPageControl::TabOfPage(const TTabSheet* page) const {
  int visibleIndex = 0;
  for (const TTabSheet* p : pages_) {
    if (!p->tabVisible_) continue;
    if (p == page) return visibleIndex;
    ++visibleIndex;
  }
  return -1;
}

std::vector<std::wstring> TPageControl::TabTexts() const {
  std::vector<std::wstring> texts;
  for (TTabSheet* page : pages_)
    if (page->tabVisible_) texts.push_back(page->Caption());
  return texts;
}

int TPageControl::CurrentTab() const { return TabOfPage(activePage_); }

void TPageControl::TabPicked(int index) {
  if (TTabSheet* page = PageOfTab(index)) SetActivePage(page);
}

void TPageControl::SetActivePage(TTabSheet* page) {
  if (page && page->pageControl_ != this) return;
  if (page == activePage_) return;
  activePage_ = page;
  SelectTabShown(TabOfPage(page));
  ShowActivePage();
}

int32_t TPageControl::ActivePageIndex() const {
  if (!activePage_) return -1;
  return static_cast<int32_t>(std::find(pages_.begin(), pages_.end(), activePage_) - pages_.begin());
}

void TPageControl::SetActivePageIndex(int32_t value) { SetActivePage(Pages(value)); }

void TPageControl::SelectNextPage(bool forward) {
  const int count = PageCount();
  if (count == 0) return;
  int index = ActivePageIndex();
  for (int step = 0; step < count; ++step) {
    index = forward ? (index + 1) % count : (index - 1 + count) % count;
    if (pages_[static_cast<size_t>(index)]->tabVisible_) {
      SetActivePage(pages_[static_cast<size_t>(index)]);
      return;
    }
  }
}

void TPageControl::Notification(TComponent* component, TOperation operation) {
  TCustomTabControl::Notification(component, operation);
}

void RegisterTabClasses() {
  RegisterClasses({&TTabControl::StaticClass(), &TPageControl::StaticClass(), &TTabSheet::StaticClass()});
}
