// TListBox, TComboBox, TListView, TTreeView.
#include "framework/ListCtrls.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/ClassBuilder.h"
#include "framework/CommonControls.h"

namespace {

std::unique_ptr<TStringList> MakeItems(std::function<void()> changed) {
  auto items = std::make_unique<TStringList>();
  items->OnChange = [changed = std::move(changed)](TObject*) { changed(); };
  return items;
}

std::vector<std::wstring> SplitTabs(const std::wstring& line) {
  std::vector<std::wstring> cells;
  size_t start = 0;
  for (;;) {
    const size_t tab = line.find(L'\t', start);
    cells.push_back(line.substr(start, tab == std::wstring::npos ? std::wstring::npos : tab - start));
    if (tab == std::wstring::npos) break;
    start = tab + 1;
  }
  return cells;
}

DWORD BorderExStyle(TBorderStyle style) { return style == bsSingle ? WS_EX_CLIENTEDGE : 0; }

}  // namespace

std::vector<int> OutlineDepths(const std::vector<std::wstring>& lines) {
  std::vector<int> depths;
  depths.reserve(lines.size());
  int previous = -1;
  for (const std::wstring& line : lines) {
    int depth = 0;
    while (depth < static_cast<int>(line.size()) && (line[static_cast<size_t>(depth)] == L'\t' ||
                                                     line[static_cast<size_t>(depth)] == L' '))
      ++depth;
    depth = std::min(depth, previous + 1);
    depths.push_back(depth);
    previous = depth;
  }
  return depths;
}

// ---- TCustomListBox ----

const TClassInfo& TCustomListBox::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TCustomListBox>("TCustomListBox", &Inherited::StaticClass())
          .Property("Items", &TCustomListBox::Items, &TCustomListBox::SetItems)
          .Property("ItemIndex", &TCustomListBox::ItemIndex, &TCustomListBox::SetItemIndex)
          .Property("Sorted", &TCustomListBox::Sorted, &TCustomListBox::SetSorted)
          .Property("MultiSelect", &TCustomListBox::MultiSelect, &TCustomListBox::SetMultiSelect)
          .Property("Columns", &TCustomListBox::Columns, &TCustomListBox::SetColumns)
          .Property("BorderStyle", &TCustomListBox::BorderStyle, &TCustomListBox::SetBorderStyle)
          .Property("IntegralHeight", &TCustomListBox::IntegralHeight, &TCustomListBox::SetIntegralHeight)
          .Property("Style", &TCustomListBox::Style, &TCustomListBox::SetStyle)
          .Property("ItemHeight", &TCustomListBox::ItemHeight, &TCustomListBox::SetItemHeight)
          .Build();
  return info;
}

const TClassInfo& TListBox::StaticClass() {
  static const TClassInfo info = TClassBuilder<TListBox>("TListBox", &Inherited::StaticClass()).Build();
  return info;
}

TCustomListBox::TCustomListBox(TComponent* owner)
    : TWinControl(owner), items_(MakeItems([this] { ItemsChanged(); })) {
  SetBounds(0, 0, 121, 97);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
}

TCustomListBox::~TCustomListBox() { DestroyHandle(); }

void TCustomListBox::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  CreateSubClass(p, L"LISTBOX");
  p.Style |= WS_VSCROLL | WS_HSCROLL | LBS_HASSTRINGS | LBS_NOTIFY;
  if (sorted_) p.Style |= LBS_SORT;
  if (multiSelect_) p.Style |= LBS_EXTENDEDSEL;
  if (columns_ > 0) p.Style |= LBS_MULTICOLUMN;
  if (!integralHeight_) p.Style |= LBS_NOINTEGRALHEIGHT;
  if (style_ == lbOwnerDrawFixed) p.Style |= LBS_OWNERDRAWFIXED;
  if (style_ == lbOwnerDrawVariable) p.Style |= LBS_OWNERDRAWVARIABLE;
  p.ExStyle |= BorderExStyle(borderStyle_);
  p.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TCustomListBox::CreateHandleDone() {
  ItemsChanged();
  if (columns_ > 0) SendMessageW(handle_, LB_SETCOLUMNWIDTH, static_cast<WPARAM>(Width() / columns_), 0);
}

void TCustomListBox::DestroyWnd() {
  itemIndex_ = ItemIndex();
  TWinControl::DestroyWnd();
}

void TCustomListBox::ItemsChanged() {
  if (!HandleAllocated()) return;
  SendMessageW(handle_, WM_SETREDRAW, FALSE, 0);
  SendMessageW(handle_, LB_RESETCONTENT, 0, 0);
  for (int i = 0; i < items_->Count(); ++i)
    SendMessageW(handle_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items_->Get(i).c_str()));
  if (itemIndex_ >= items_->Count()) itemIndex_ = -1;
  if (!multiSelect_) SendMessageW(handle_, LB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
  SendMessageW(handle_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(handle_, nullptr, TRUE);
}

int32_t TCustomListBox::ItemIndex() {
  if (!HandleAllocated()) return itemIndex_;
  const LRESULT index = SendMessageW(handle_, multiSelect_ ? LB_GETCARETINDEX : LB_GETCURSEL, 0, 0);
  return index == LB_ERR ? -1 : static_cast<int32_t>(index);
}

void TCustomListBox::SetItemIndex(int32_t value) {
  if (value < -1 || (!Loading() && value >= items_->Count())) value = -1;
  itemIndex_ = value;
  if (!HandleAllocated()) return;
  if (multiSelect_) {
    SendMessageW(handle_, LB_SETCARETINDEX, static_cast<WPARAM>(value), FALSE);
  } else {
    SendMessageW(handle_, LB_SETCURSEL, static_cast<WPARAM>(value), 0);
  }
}

void TCustomListBox::SetSorted(bool value) {
  if (value == sorted_) return;
  sorted_ = value;
  items_->SetSorted(value);
  RecreateWnd();
}

void TCustomListBox::SetMultiSelect(bool value) {
  if (value == multiSelect_) return;
  multiSelect_ = value;
  RecreateWnd();
}

void TCustomListBox::SetColumns(int32_t value) {
  value = std::max<int32_t>(value, 0);
  if (value == columns_) return;
  columns_ = value;
  RecreateWnd();
}

void TCustomListBox::SetBorderStyle(TBorderStyle value) {
  if (value == borderStyle_) return;
  borderStyle_ = value;
  RecreateWnd();
}

void TCustomListBox::SetIntegralHeight(bool value) {
  if (value == integralHeight_) return;
  integralHeight_ = value;
  RecreateWnd();
}

void TCustomListBox::SetStyle(TListBoxStyle value) {
  if (value == style_) return;
  style_ = value;
  RecreateWnd();
}

void TCustomListBox::SetItemHeight(int32_t value) {
  if (value <= 0 || value == itemHeight_) return;
  itemHeight_ = value;
  if (HandleAllocated() && style_ != lbStandard) SendMessageW(handle_, LB_SETITEMHEIGHT, 0, value);
}

int32_t TCustomListBox::TopIndex() {
  return HandleAllocated() ? static_cast<int32_t>(SendMessageW(handle_, LB_GETTOPINDEX, 0, 0)) : 0;
}

void TCustomListBox::SetTopIndex(int32_t value) {
  if (HandleAllocated()) SendMessageW(handle_, LB_SETTOPINDEX, static_cast<WPARAM>(std::max(value, 0)), 0);
}

bool TCustomListBox::Selected(int index) {
  if (!HandleAllocated()) return !multiSelect_ && index == itemIndex_;
  const LRESULT r = SendMessageW(handle_, LB_GETSEL, static_cast<WPARAM>(index), 0);
  return r != LB_ERR && r != 0;
}

void TCustomListBox::SetSelected(int index, bool value) {
  if (index < 0 || index >= items_->Count()) return;
  if (!multiSelect_) {
    SetItemIndex(value ? index : -1);
    return;
  }
  if (HandleAllocated()) SendMessageW(handle_, LB_SETSEL, value, index);
}

void TCustomListBox::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND) {
    switch (HIWORD(m.WParam)) {
      case LBN_SELCHANGE:
        itemIndex_ = ItemIndex();
        Click();
        break;
      case LBN_DBLCLK:
        DblClick();
        break;
      default:
        break;
    }
    m.Result = 0;
    return;
  }
  if (m.Msg == WM_LBUTTONDBLCLK) {
    // The double click comes as LBN_DBLCLK; keep the base class from raising it twice.
    DefaultHandler(m);
    return;
  }
  TWinControl::WndProc(m);
}

// ---- TCustomComboBox ----

const TClassInfo& TCustomComboBox::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TCustomComboBox>("TCustomComboBox", &Inherited::StaticClass())
          .Property("Items", &TCustomComboBox::Items, &TCustomComboBox::SetItems)
          .Property("ItemIndex", &TCustomComboBox::ItemIndex, &TCustomComboBox::SetItemIndex)
          .Property("Style", &TCustomComboBox::Style, &TCustomComboBox::SetStyle)
          .Property("DropDownCount", &TCustomComboBox::DropDownCount, &TCustomComboBox::SetDropDownCount)
          .Property("Sorted", &TCustomComboBox::Sorted, &TCustomComboBox::SetSorted)
          .Property("OnChange", &TCustomComboBox::OnChange)
          .Property("OnSelect", &TCustomComboBox::OnSelect)
          .Property("OnDropDown", &TCustomComboBox::OnDropDown)
          .Property("OnCloseUp", &TCustomComboBox::OnCloseUp)
          .Build();
  return info;
}

const TClassInfo& TComboBox::StaticClass() {
  static const TClassInfo info = TClassBuilder<TComboBox>("TComboBox", &Inherited::StaticClass()).Build();
  return info;
}

TCustomComboBox::TCustomComboBox(TComponent* owner)
    : TWinControl(owner), items_(MakeItems([this] { ItemsChanged(); })) {
  SetBounds(0, 0, 145, 21);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
}

TCustomComboBox::~TCustomComboBox() { DestroyHandle(); }

int TCustomComboBox::DropDownHeight() const {
  if (style_ == csSimple) return 0;
  return dropDownCount_ * 16 + 4;
}

void TCustomComboBox::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  CreateSubClass(p, L"COMBOBOX");
  p.Style |= WS_VSCROLL | CBS_HASSTRINGS | CBS_AUTOHSCROLL;
  switch (style_) {
    case csDropDown: p.Style |= CBS_DROPDOWN; break;
    case csSimple: p.Style |= CBS_SIMPLE; break;
    case csDropDownList: p.Style |= CBS_DROPDOWNLIST; break;
    case csOwnerDrawFixed: p.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED; break;
    case csOwnerDrawVariable: p.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE; break;
  }
  if (sorted_) p.Style |= CBS_SORT;
  // A drop-down combo's window height is the open height; the box itself stays one line.
  p.Height = Height() + DropDownHeight();
  p.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TCustomComboBox::CreateHandleDone() { ItemsChanged(); }

void TCustomComboBox::DestroyWnd() {
  itemIndex_ = ItemIndex();
  TWinControl::DestroyWnd();
}

void TCustomComboBox::SetBounds(int left, int top, int width, int height) {
  TWinControl::SetBounds(left, top, width, height);
  if (HandleAllocated() && style_ != csSimple) {
    RECT r{};
    GetWindowRect(handle_, &r);
    SetWindowPos(handle_, nullptr, 0, 0, width, (r.bottom - r.top) + DropDownHeight(),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void TCustomComboBox::ItemsChanged() {
  if (!HandleAllocated()) return;
  std::wstring text;
  if (style_ == csDropDown || style_ == csSimple) {
    // A new window has not taken the stored text yet.
    text = Text();
    if (text.empty()) text = text_;
  }
  SendMessageW(handle_, CB_RESETCONTENT, 0, 0);
  for (int i = 0; i < items_->Count(); ++i)
    SendMessageW(handle_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items_->Get(i).c_str()));
  if (itemIndex_ >= items_->Count()) itemIndex_ = -1;
  SendMessageW(handle_, CB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
  if (itemIndex_ < 0 && !text.empty()) SetWindowTextW(handle_, text.c_str());
}

int32_t TCustomComboBox::ItemIndex() {
  if (!HandleAllocated()) return itemIndex_;
  const LRESULT index = SendMessageW(handle_, CB_GETCURSEL, 0, 0);
  return index == CB_ERR ? -1 : static_cast<int32_t>(index);
}

void TCustomComboBox::SetItemIndex(int32_t value) {
  if (value < -1 || (!Loading() && value >= items_->Count())) value = -1;
  itemIndex_ = value;
  if (HandleAllocated()) SendMessageW(handle_, CB_SETCURSEL, static_cast<WPARAM>(value), 0);
}

void TCustomComboBox::SetStyle(TComboBoxStyle value) {
  if (value == style_) return;
  style_ = value;
  RecreateWnd();
}

void TCustomComboBox::SetDropDownCount(int32_t value) {
  value = std::clamp<int32_t>(value, 1, 100);
  if (value == dropDownCount_) return;
  dropDownCount_ = value;
  if (HandleAllocated()) SetBounds(Left(), Top(), Width(), Height());
}

void TCustomComboBox::SetSorted(bool value) {
  if (value == sorted_) return;
  sorted_ = value;
  items_->SetSorted(value);
  RecreateWnd();
}

bool TCustomComboBox::DroppedDown() {
  return HandleAllocated() && SendMessageW(handle_, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TCustomComboBox::SetDroppedDown(bool value) {
  if (HandleAllocated()) SendMessageW(handle_, CB_SHOWDROPDOWN, value, 0);
}

void TCustomComboBox::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND) {
    switch (HIWORD(m.WParam)) {
      case CBN_SELCHANGE:
        itemIndex_ = ItemIndex();
        if (OnSelect) OnSelect(this);
        if (OnChange) OnChange(this);
        Click();
        break;
      case CBN_EDITCHANGE:
        if (OnChange) OnChange(this);
        break;
      case CBN_DROPDOWN:
        if (OnDropDown) OnDropDown(this);
        break;
      case CBN_CLOSEUP:
        if (OnCloseUp) OnCloseUp(this);
        break;
      default:
        break;
    }
    m.Result = 0;
    return;
  }
  TWinControl::WndProc(m);
}

// ---- TListColumn / TListColumns ----

const TClassInfo& TListColumn::StaticClass() {
  static const TClassInfo info = TClassBuilder<TListColumn>("TListColumn", &Inherited::StaticClass())
                                     .Property("Caption", &TListColumn::Caption, &TListColumn::SetCaption)
                                     .Property("Width", &TListColumn::Width, &TListColumn::SetWidth)
                                     .Property("Alignment", &TListColumn::Alignment, &TListColumn::SetAlignment)
                                     .Build();
  return info;
}

void TListColumn::SetCaption(const std::wstring& value) {
  if (value == caption_) return;
  caption_ = value;
  Changed(false);
}

void TListColumn::SetWidth(int32_t value) {
  if (value == width_) return;
  width_ = value;
  Changed(false);
}

void TListColumn::SetAlignment(TAlignment value) {
  if (value == alignment_) return;
  alignment_ = value;
  Changed(false);
}

void TListColumn::Assign(const TPersistent* source) {
  const auto* other = dynamic_cast<const TListColumn*>(source);
  if (!other) {
    TCollectionItem::Assign(source);
    return;
  }
  caption_ = other->caption_;
  width_ = other->width_;
  alignment_ = other->alignment_;
  Changed(false);
}

TListColumns::TListColumns(TCustomListView* view) : TOwnedCollection<TListColumn>(view), view_(view) {}

void TListColumns::Update(TCollectionItem*) { view_->UpdateColumns(); }

// ---- TCustomListView ----

const TClassInfo& TCustomListView::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TCustomListView>("TCustomListView", &Inherited::StaticClass())
          .Property("Columns", &TCustomListView::Columns)
          .Property("Items", &TCustomListView::Items, &TCustomListView::SetItems)
          .Property("ViewStyle", &TCustomListView::ViewStyle, &TCustomListView::SetViewStyle)
          .Property("RowSelect", &TCustomListView::RowSelect, &TCustomListView::SetRowSelect)
          .Property("GridLines", &TCustomListView::GridLines, &TCustomListView::SetGridLines)
          .Property("ShowColumnHeaders", &TCustomListView::ShowColumnHeaders, &TCustomListView::SetShowColumnHeaders)
          .Property("ReadOnly", &TCustomListView::ReadOnly, &TCustomListView::SetReadOnly)
          .Property("MultiSelect", &TCustomListView::MultiSelect, &TCustomListView::SetMultiSelect)
          .Property("BorderStyle", &TCustomListView::BorderStyle, &TCustomListView::SetBorderStyle)
          .Property("HideSelection", &TCustomListView::HideSelection, &TCustomListView::SetHideSelection)
          .Property("ItemIndex", &TCustomListView::ItemIndex, &TCustomListView::SetItemIndex)
          .Property("OnChange", &TCustomListView::OnChange)
          .Build();
  return info;
}

const TClassInfo& TListView::StaticClass() {
  static const TClassInfo info = TClassBuilder<TListView>("TListView", &Inherited::StaticClass()).Build();
  return info;
}

TCustomListView::TCustomListView(TComponent* owner)
    : TWinControl(owner), columns_(new TListColumns(this)), items_(MakeItems([this] { UpdateItems(); })) {
  SetBounds(0, 0, 250, 150);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
}

TCustomListView::~TCustomListView() {
  DestroyHandle();
  delete columns_;
  columns_ = nullptr;
}

void TCustomListView::CreateParams(TCreateParams& p) {
  NeedCommonControls(ICC_LISTVIEW_CLASSES);
  TWinControl::CreateParams(p);
  CreateSubClass(p, WC_LISTVIEWW);
  static const DWORD views[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
  p.Style |= views[viewStyle_] | LVS_SHAREIMAGELISTS;
  if (!multiSelect_) p.Style |= LVS_SINGLESEL;
  if (!showColumnHeaders_) p.Style |= LVS_NOCOLUMNHEADER;
  if (!readOnly_) p.Style |= LVS_EDITLABELS;
  if (!hideSelection_) p.Style |= LVS_SHOWSELALWAYS;
  p.ExStyle |= BorderExStyle(borderStyle_);
  p.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TCustomListView::CreateHandleDone() {
  DWORD ex = 0;
  if (rowSelect_) ex |= LVS_EX_FULLROWSELECT;
  if (gridLines_) ex |= LVS_EX_GRIDLINES;
  SendMessageW(handle_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES, ex);
  UpdateColumns();
}

void TCustomListView::RecreateIfMade() {
  if (HandleAllocated()) {
    itemIndex_ = ItemIndex();
    RecreateWnd();
  }
}

void TCustomListView::UpdateColumns() {
  if (!HandleAllocated() || !columns_) return;
  while (SendMessageW(handle_, LVM_DELETECOLUMN, 0, 0)) {
  }
  for (int i = 0; i < columns_->Count(); ++i) {
    TListColumn* column = columns_->Items(i);
    std::wstring caption = column->Caption();
    LVCOLUMNW c{};
    c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    // The first column of a list view is always left-aligned.
    c.fmt = i == 0 || column->Alignment() == taLeftJustify ? LVCFMT_LEFT
            : column->Alignment() == taRightJustify        ? LVCFMT_RIGHT
                                                           : LVCFMT_CENTER;
    c.cx = column->Width();
    c.pszText = caption.data();
    c.iSubItem = i;
    SendMessageW(handle_, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&c));
  }
  UpdateItems();
}

void TCustomListView::UpdateItems() {
  if (!HandleAllocated()) return;
  SendMessageW(handle_, WM_SETREDRAW, FALSE, 0);
  SendMessageW(handle_, LVM_DELETEALLITEMS, 0, 0);
  for (int row = 0; row < items_->Count(); ++row) {
    std::vector<std::wstring> cells = SplitTabs(items_->Get(row));
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = cells[0].data();
    const auto index = static_cast<int>(SendMessageW(handle_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (index < 0) continue;
    for (size_t cell = 1; cell < cells.size(); ++cell) {
      LVITEMW sub{};
      sub.iSubItem = static_cast<int>(cell);
      sub.pszText = cells[cell].data();
      SendMessageW(handle_, LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&sub));
    }
  }
  if (itemIndex_ >= items_->Count()) itemIndex_ = -1;
  SetItemIndex(itemIndex_);
  SendMessageW(handle_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(handle_, nullptr, TRUE);
}

void TCustomListView::SetViewStyle(TViewStyle value) {
  if (value == viewStyle_) return;
  viewStyle_ = value;
  if (HandleAllocated()) {
    const LONG style = GetWindowLongW(handle_, GWL_STYLE);
    static const DWORD views[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
    SetWindowLongW(handle_, GWL_STYLE, static_cast<LONG>((static_cast<DWORD>(style) & ~LVS_TYPEMASK) | views[value]));
  }
}

void TCustomListView::SetRowSelect(bool value) {
  if (value == rowSelect_) return;
  rowSelect_ = value;
  if (HandleAllocated())
    SendMessageW(handle_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, value ? LVS_EX_FULLROWSELECT : 0);
}

void TCustomListView::SetGridLines(bool value) {
  if (value == gridLines_) return;
  gridLines_ = value;
  if (HandleAllocated())
    SendMessageW(handle_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRIDLINES, value ? LVS_EX_GRIDLINES : 0);
}

void TCustomListView::SetShowColumnHeaders(bool value) {
  if (value == showColumnHeaders_) return;
  showColumnHeaders_ = value;
  RecreateIfMade();
}

void TCustomListView::SetReadOnly(bool value) {
  if (value == readOnly_) return;
  readOnly_ = value;
  RecreateIfMade();
}

void TCustomListView::SetMultiSelect(bool value) {
  if (value == multiSelect_) return;
  multiSelect_ = value;
  RecreateIfMade();
}

void TCustomListView::SetBorderStyle(TBorderStyle value) {
  if (value == borderStyle_) return;
  borderStyle_ = value;
  RecreateIfMade();
}

void TCustomListView::SetHideSelection(bool value) {
  if (value == hideSelection_) return;
  hideSelection_ = value;
  RecreateIfMade();
}

int32_t TCustomListView::ItemIndex() {
  if (!HandleAllocated()) return itemIndex_;
  return static_cast<int32_t>(SendMessageW(handle_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void TCustomListView::SetItemIndex(int32_t value) {
  if (value < -1) value = -1;
  itemIndex_ = value;
  if (!HandleAllocated()) return;
  LVITEMW clear{};
  clear.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(handle_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&clear));
  if (value < 0) return;
  LVITEMW set{};
  set.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  set.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(handle_, LVM_SETITEMSTATE, static_cast<WPARAM>(value), reinterpret_cast<LPARAM>(&set));
}

int TCustomListView::ItemCountShown() {
  return HandleAllocated() ? static_cast<int>(SendMessageW(handle_, LVM_GETITEMCOUNT, 0, 0)) : 0;
}

std::wstring TCustomListView::CellText(int row, int column) {
  if (!HandleAllocated()) return {};
  wchar_t buffer[260] = {};
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = buffer;
  item.cchTextMax = 260;
  SendMessageW(handle_, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return buffer;
}

void TCustomListView::WndProc(TMessage& m) {
  if (m.Msg == CN_NOTIFY && m.LParam) {
    const auto* header = reinterpret_cast<const NMHDR*>(m.LParam);
    if (header->code == LVN_ITEMCHANGED) {
      const auto* change = reinterpret_cast<const NMLISTVIEW*>(m.LParam);
      if ((change->uChanged & LVIF_STATE) && ((change->uNewState ^ change->uOldState) & LVIS_SELECTED)) {
        itemIndex_ = ItemIndex();
        if (OnChange) OnChange(this);
      }
    }
    m.Result = 0;
    return;
  }
  TWinControl::WndProc(m);
}

// ---- TCustomTreeView ----

const TClassInfo& TCustomTreeView::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TCustomTreeView>("TCustomTreeView", &Inherited::StaticClass())
          .Property("Items", &TCustomTreeView::Items, &TCustomTreeView::SetItems)
          .Property("ShowLines", &TCustomTreeView::ShowLines, &TCustomTreeView::SetShowLines)
          .Property("ShowRoot", &TCustomTreeView::ShowRoot, &TCustomTreeView::SetShowRoot)
          .Property("ShowButtons", &TCustomTreeView::ShowButtons, &TCustomTreeView::SetShowButtons)
          .Property("ReadOnly", &TCustomTreeView::ReadOnly, &TCustomTreeView::SetReadOnly)
          .Property("HideSelection", &TCustomTreeView::HideSelection, &TCustomTreeView::SetHideSelection)
          .Property("BorderStyle", &TCustomTreeView::BorderStyle, &TCustomTreeView::SetBorderStyle)
          .Property("OnChange", &TCustomTreeView::OnChange)
          .Build();
  return info;
}

const TClassInfo& TTreeView::StaticClass() {
  static const TClassInfo info = TClassBuilder<TTreeView>("TTreeView", &Inherited::StaticClass()).Build();
  return info;
}

TCustomTreeView::TCustomTreeView(TComponent* owner)
    : TWinControl(owner), items_(MakeItems([this] { UpdateNodes(); })) {
  SetBounds(0, 0, 121, 97);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
}

TCustomTreeView::~TCustomTreeView() { DestroyHandle(); }

void TCustomTreeView::CreateParams(TCreateParams& p) {
  NeedCommonControls(ICC_TREEVIEW_CLASSES);
  TWinControl::CreateParams(p);
  CreateSubClass(p, WC_TREEVIEWW);
  if (showLines_) p.Style |= TVS_HASLINES;
  if (showRoot_) p.Style |= TVS_LINESATROOT;
  if (showButtons_) p.Style |= TVS_HASBUTTONS;
  if (!readOnly_) p.Style |= TVS_EDITLABELS;
  if (!hideSelection_) p.Style |= TVS_SHOWSELALWAYS;
  p.ExStyle |= BorderExStyle(borderStyle_);
  p.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TCustomTreeView::CreateHandleDone() { UpdateNodes(); }

void TCustomTreeView::RecreateIfMade() {
  if (HandleAllocated()) RecreateWnd();
}

void TCustomTreeView::UpdateNodes() {
  if (!HandleAllocated()) return;
  SendMessageW(handle_, WM_SETREDRAW, FALSE, 0);
  SendMessageW(handle_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
  std::vector<std::wstring> lines;
  for (int i = 0; i < items_->Count(); ++i) lines.push_back(items_->Get(i));
  const std::vector<int> depths = OutlineDepths(lines);
  std::vector<HTREEITEM> parents;  // the last node made at each depth
  for (size_t i = 0; i < lines.size(); ++i) {
    const auto depth = static_cast<size_t>(depths[i]);
    std::wstring text = lines[i].substr(depth);
    TVINSERTSTRUCTW insert{};
    insert.hParent = depth == 0 ? TVI_ROOT : parents[depth - 1];
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = text.data();
    auto node = reinterpret_cast<HTREEITEM>(SendMessageW(handle_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    parents.resize(depth + 1);
    parents[depth] = node;
  }
  SendMessageW(handle_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(handle_, nullptr, TRUE);
}

void TCustomTreeView::SetShowLines(bool value) {
  if (value == showLines_) return;
  showLines_ = value;
  RecreateIfMade();
}

void TCustomTreeView::SetShowRoot(bool value) {
  if (value == showRoot_) return;
  showRoot_ = value;
  RecreateIfMade();
}

void TCustomTreeView::SetShowButtons(bool value) {
  if (value == showButtons_) return;
  showButtons_ = value;
  RecreateIfMade();
}

void TCustomTreeView::SetReadOnly(bool value) {
  if (value == readOnly_) return;
  readOnly_ = value;
  RecreateIfMade();
}

void TCustomTreeView::SetHideSelection(bool value) {
  if (value == hideSelection_) return;
  hideSelection_ = value;
  RecreateIfMade();
}

void TCustomTreeView::SetBorderStyle(TBorderStyle value) {
  if (value == borderStyle_) return;
  borderStyle_ = value;
  RecreateIfMade();
}

int TCustomTreeView::NodeCountShown() {
  return HandleAllocated() ? static_cast<int>(SendMessageW(handle_, TVM_GETCOUNT, 0, 0)) : 0;
}

void TCustomTreeView::FullExpand() {
  if (!HandleAllocated()) return;
  // Depth-first over every node.
  std::vector<HTREEITEM> stack;
  auto first = reinterpret_cast<HTREEITEM>(SendMessageW(handle_, TVM_GETNEXTITEM, TVGN_ROOT, 0));
  for (HTREEITEM n = first; n; n = reinterpret_cast<HTREEITEM>(SendMessageW(handle_, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(n))))
    stack.push_back(n);
  while (!stack.empty()) {
    HTREEITEM node = stack.back();
    stack.pop_back();
    SendMessageW(handle_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(node));
    for (auto child = reinterpret_cast<HTREEITEM>(SendMessageW(handle_, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(node)));
         child; child = reinterpret_cast<HTREEITEM>(SendMessageW(handle_, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(child))))
      stack.push_back(child);
  }
}

void TCustomTreeView::WndProc(TMessage& m) {
  if (m.Msg == CN_NOTIFY && m.LParam) {
    const auto* header = reinterpret_cast<const NMHDR*>(m.LParam);
    if (header->code == TVN_SELCHANGEDW && OnChange) OnChange(this);
    m.Result = 0;
    return;
  }
  TWinControl::WndProc(m);
}

void RegisterListClasses() {
  RegisterClasses({&TListBox::StaticClass(), &TComboBox::StaticClass(), &TListView::StaticClass(),
                   &TTreeView::StaticClass()});
}
