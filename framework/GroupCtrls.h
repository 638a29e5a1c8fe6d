// Containers: TGroupBox (a captioned frame around controls), TRadioGroup (a group box
// that makes one radio button per line of Items, in Columns) and TScrollBox (a bordered
// area that scrolls its children when they do not fit).
#pragma once

#include <memory>
#include <vector>

#include "framework/ButtonCtrls.h"
#include "framework/Controls.h"
#include "framework/Strings.h"

class TCustomGroupBox : public TCustomControl {
  FRAMEWORK_CLASS(TCustomGroupBox, TCustomControl)

 public:
  explicit TCustomGroupBox(TComponent* owner);

 protected:
  void Paint() override;
  void AlignControls(TRect& rect) override;
  void WndProc(TMessage& message) override;
};

class TGroupBox : public TCustomGroupBox {
  FRAMEWORK_CLASS(TGroupBox, TCustomGroupBox)

 public:
  using TCustomGroupBox::TCustomGroupBox;
};

class TCustomRadioGroup;

// One button of a radio group; owned and placed by the group.
class TGroupButton : public TRadioButton {
  FRAMEWORK_CLASS(TGroupButton, TRadioButton)

 public:
  TGroupButton(TCustomRadioGroup* group, int index);
  int Index() const { return index_; }
  void Click() override;

 private:
  TCustomRadioGroup* group_;
  int index_;
};

class TCustomRadioGroup : public TCustomGroupBox {
  FRAMEWORK_CLASS(TCustomRadioGroup, TCustomGroupBox)

 public:
  explicit TCustomRadioGroup(TComponent* owner);
  ~TCustomRadioGroup() override;

  TStrings* Items() const { return items_.get(); }
  void SetItems(TStrings* value) { items_->Assign(value); }
  // The checked button, -1 for none.
  int32_t ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int32_t value);
  int32_t Columns() const { return columns_; }
  void SetColumns(int32_t value);
  int ButtonCount() const { return static_cast<int>(buttons_.size()); }
  TGroupButton* Buttons(int index) const;
  void Loaded() override;

 protected:
  void Resize() override;
  void WndProc(TMessage& message) override;

 private:
  friend class TGroupButton;
  void ButtonClicked(int index);
  void UpdateButtons();
  void ArrangeButtons();
  std::unique_ptr<TStringList> items_;
  std::vector<TGroupButton*> buttons_;
  int32_t itemIndex_ = -1;
  int32_t columns_ = 1;
  bool updating_ = false;
};

class TRadioGroup : public TCustomRadioGroup {
  FRAMEWORK_CLASS(TRadioGroup, TCustomRadioGroup)

 public:
  using TCustomRadioGroup::TCustomRadioGroup;
};

// Scrolls its children (WS_HSCROLL / WS_VSCROLL as needed) when AutoScroll is on.
class TScrollBox : public TWinControl {
  FRAMEWORK_CLASS(TScrollBox, TWinControl)

 public:
  explicit TScrollBox(TComponent* owner);
  ~TScrollBox() override;

  bool AutoScroll() const { return autoScroll_; }
  void SetAutoScroll(bool value);
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle value);
  // How far the contents are scrolled.
  TPoint ScrollPos() const { return scrollPos_; }
  // Recomputes the scroll ranges from the children's extent.
  void UpdateScrollBars();

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateHandleDone() override;
  void WndProc(TMessage& message) override;

 private:
  void ScrollBy(int bar, int code);
  bool autoScroll_ = true;
  TBorderStyle borderStyle_ = bsSingle;
  TPoint scrollPos_{0, 0};
  bool updatingBars_ = false;
};

// Makes the containers known to stored layouts.
void RegisterGroupClasses();
