// List controls: TListBox (LISTBOX), TComboBox (COMBOBOX), TListView (report, list and
// icon views of the common list view) and TTreeView (the common tree view).
//
// Their items live in string lists owned by the control and are sent to the window whenever
// the list changes or the window is made again, so they survive window re-creation.
// Notifications arrive reflected (CN_COMMAND, CN_NOTIFY) through WindowProc, where the skin
// engine also sees them.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/Collections.h"
#include "framework/Controls.h"
#include "framework/Strings.h"

FRAMEWORK_ENUM(TListBoxStyle, lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable)
FRAMEWORK_ENUM(TComboBoxStyle, csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable)
FRAMEWORK_ENUM(TViewStyle, vsIcon, vsSmallIcon, vsList, vsReport)

class TCustomListBox : public TWinControl {
  FRAMEWORK_CLASS(TCustomListBox, TWinControl)

 public:
  explicit TCustomListBox(TComponent* owner);
  ~TCustomListBox() override;

  TStrings* Items() const { return items_.get(); }
  void SetItems(TStrings* value) { items_->Assign(value); }
  // -1: nothing selected.
  int32_t ItemIndex();
  void SetItemIndex(int32_t value);
  bool Sorted() const { return sorted_; }
  void SetSorted(bool value);
  bool MultiSelect() const { return multiSelect_; }
  void SetMultiSelect(bool value);
  int32_t Columns() const { return columns_; }
  void SetColumns(int32_t value);
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle value);
  bool IntegralHeight() const { return integralHeight_; }
  void SetIntegralHeight(bool value);
  TListBoxStyle Style() const { return style_; }
  void SetStyle(TListBoxStyle value);
  int32_t ItemHeight() const { return itemHeight_; }
  void SetItemHeight(int32_t value);
  // The first visible item.
  int32_t TopIndex();
  void SetTopIndex(int32_t value);
  bool Selected(int index);
  void SetSelected(int index, bool value);
  void Clear() { items_->Clear(); }

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateHandleDone() override;
  void DestroyWnd() override;
  void WndProc(TMessage& message) override;

 private:
  void ItemsChanged();
  std::unique_ptr<TStringList> items_;
  int32_t itemIndex_ = -1;
  bool sorted_ = false;
  bool multiSelect_ = false;
  int32_t columns_ = 0;
  TBorderStyle borderStyle_ = bsSingle;
  bool integralHeight_ = false;
  TListBoxStyle style_ = lbStandard;
  int32_t itemHeight_ = 16;
};

class TListBox : public TCustomListBox {
  FRAMEWORK_CLASS(TListBox, TCustomListBox)

 public:
  using TCustomListBox::TCustomListBox;
};

class TCustomComboBox : public TWinControl {
  FRAMEWORK_CLASS(TCustomComboBox, TWinControl)

 public:
  explicit TCustomComboBox(TComponent* owner);
  ~TCustomComboBox() override;

  TStrings* Items() const { return items_.get(); }
  void SetItems(TStrings* value) { items_->Assign(value); }
  int32_t ItemIndex();
  void SetItemIndex(int32_t value);
  TComboBoxStyle Style() const { return style_; }
  void SetStyle(TComboBoxStyle value);
  // Items shown at once in the drop-down list.
  int32_t DropDownCount() const { return dropDownCount_; }
  void SetDropDownCount(int32_t value);
  bool Sorted() const { return sorted_; }
  void SetSorted(bool value);
  bool DroppedDown();
  void SetDroppedDown(bool value);
  void SetBounds(int left, int top, int width, int height) override;

  TNotifyEvent OnChange;
  TNotifyEvent OnSelect;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateHandleDone() override;
  void DestroyWnd() override;
  void WndProc(TMessage& message) override;

 private:
  void ItemsChanged();
  // The height the window gets beyond the closed box: room for the drop-down list.
  int DropDownHeight() const;
  std::unique_ptr<TStringList> items_;
  int32_t itemIndex_ = -1;
  TComboBoxStyle style_ = csDropDown;
  int32_t dropDownCount_ = 8;
  bool sorted_ = false;
};

class TComboBox : public TCustomComboBox {
  FRAMEWORK_CLASS(TComboBox, TCustomComboBox)

 public:
  using TCustomComboBox::TCustomComboBox;
};

class TCustomListView;

class TListColumn : public TCollectionItem {
  FRAMEWORK_CLASS(TListColumn, TCollectionItem)

 public:
  explicit TListColumn(TCollection* collection) : TCollectionItem(collection) {}
  const std::wstring& Caption() const { return caption_; }
  void SetCaption(const std::wstring& value);
  int32_t Width() const { return width_; }
  void SetWidth(int32_t value);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  void Assign(const TPersistent* source) override;

 private:
  std::wstring caption_;
  int32_t width_ = 50;
  TAlignment alignment_ = taLeftJustify;
};

class TListColumns : public TOwnedCollection<TListColumn> {
 public:
  explicit TListColumns(TCustomListView* view);

 protected:
  void Update(TCollectionItem* item) override;

 private:
  TCustomListView* view_;
};

// A list view. Its rows are the lines of Items: the caption, then the sub-item texts of the
// report view's further columns, separated by tab characters.
class TCustomListView : public TWinControl {
  FRAMEWORK_CLASS(TCustomListView, TWinControl)

 public:
  explicit TCustomListView(TComponent* owner);
  ~TCustomListView() override;

  TListColumns* Columns() const { return columns_; }
  TStrings* Items() const { return items_.get(); }
  void SetItems(TStrings* value) { items_->Assign(value); }
  TViewStyle ViewStyle() const { return viewStyle_; }
  void SetViewStyle(TViewStyle value);
  bool RowSelect() const { return rowSelect_; }
  void SetRowSelect(bool value);
  bool GridLines() const { return gridLines_; }
  void SetGridLines(bool value);
  bool ShowColumnHeaders() const { return showColumnHeaders_; }
  void SetShowColumnHeaders(bool value);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value);
  bool MultiSelect() const { return multiSelect_; }
  void SetMultiSelect(bool value);
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle value);
  bool HideSelection() const { return hideSelection_; }
  void SetHideSelection(bool value);
  // The selected row, -1 for none.
  int32_t ItemIndex();
  void SetItemIndex(int32_t value);
  // Rows the window holds now (LVM_GETITEMCOUNT).
  int ItemCountShown();
  // The text the window shows in row `row`, column `column`.
  std::wstring CellText(int row, int column);

  void UpdateColumns();
  void UpdateItems();

  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateHandleDone() override;
  void WndProc(TMessage& message) override;

 private:
  void RecreateIfMade();
  TListColumns* columns_;
  std::unique_ptr<TStringList> items_;
  TViewStyle viewStyle_ = vsIcon;
  bool rowSelect_ = false;
  bool gridLines_ = false;
  bool showColumnHeaders_ = true;
  bool readOnly_ = false;
  bool multiSelect_ = false;
  TBorderStyle borderStyle_ = bsSingle;
  bool hideSelection_ = true;
  int32_t itemIndex_ = -1;
};

class TListView : public TCustomListView {
  FRAMEWORK_CLASS(TListView, TCustomListView)

 public:
  using TCustomListView::TCustomListView;
};

// A tree view. Its nodes are the lines of Items; each leading tab or space puts a line one
// level deeper than the line before it can go.
class TCustomTreeView : public TWinControl {
  FRAMEWORK_CLASS(TCustomTreeView, TWinControl)

 public:
  explicit TCustomTreeView(TComponent* owner);
  ~TCustomTreeView() override;

  TStrings* Items() const { return items_.get(); }
  void SetItems(TStrings* value) { items_->Assign(value); }
  bool ShowLines() const { return showLines_; }
  void SetShowLines(bool value);
  bool ShowRoot() const { return showRoot_; }
  void SetShowRoot(bool value);
  bool ShowButtons() const { return showButtons_; }
  void SetShowButtons(bool value);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value);
  bool HideSelection() const { return hideSelection_; }
  void SetHideSelection(bool value);
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle value);
  // Nodes the window holds now (TVM_GETCOUNT).
  int NodeCountShown();
  void FullExpand();

  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateHandleDone() override;
  void WndProc(TMessage& message) override;

 private:
  void UpdateNodes();
  void RecreateIfMade();
  std::unique_ptr<TStringList> items_;
  bool showLines_ = true;
  bool showRoot_ = true;
  bool showButtons_ = true;
  bool readOnly_ = false;
  bool hideSelection_ = true;
  TBorderStyle borderStyle_ = bsSingle;
};

class TTreeView : public TCustomTreeView {
  FRAMEWORK_CLASS(TTreeView, TCustomTreeView)

 public:
  using TCustomTreeView::TCustomTreeView;
};

// Depth of each line of an indented outline (leading tabs and spaces), limited so that a
// line is at most one level deeper than the line before it. Portable; tested on its own.
std::vector<int> OutlineDepths(const std::vector<std::wstring>& lines);

// Makes the list controls known to stored layouts.
void RegisterListClasses();
