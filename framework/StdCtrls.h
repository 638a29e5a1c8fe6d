// Standard controls of the main window: edit boxes (TEdit, TMemo with Lines), push
// buttons (TButton with Default and Cancel) and labels (TLabel, a graphic control).
#pragma once

#include <memory>

#include "framework/Controls.h"
#include "framework/Strings.h"

FRAMEWORK_ENUM(TScrollStyle, ssNone, ssHorizontal, ssVertical, ssBoth)
FRAMEWORK_ENUM(TEditCharCase, ecNormal, ecUpperCase, ecLowerCase)
FRAMEWORK_ENUM(TTextLayout, tlTop, tlCenter, tlBottom)

class TCustomEdit : public TWinControl {
  FRAMEWORK_CLASS(TCustomEdit, TWinControl)

 public:
  explicit TCustomEdit(TComponent* owner);

  // 0: no limit beyond the system's (the edit then holds as much as memory allows).
  int32_t MaxLength() const { return maxLength_; }
  void SetMaxLength(int32_t value);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value);
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle value);
  TEditCharCase CharCase() const { return charCase_; }
  void SetCharCase(TEditCharCase value);
  bool AutoSelect() const { return autoSelect_; }
  void SetAutoSelect(bool value) { autoSelect_ = value; }
  bool HideSelection() const { return hideSelection_; }
  void SetHideSelection(bool value);

  int SelStart();
  void SetSelStart(int value);
  int SelLength();
  void SetSelLength(int value);
  std::wstring SelText();
  // Replaces the selection (EM_REPLACESEL: undoable, scrolls to the caret).
  void SetSelText(const std::wstring& value);
  void SelectAll();
  void Clear() { SetText(L""); }
  bool Modified();
  void SetModified(bool value);

  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateHandleDone() override;
  void WndProc(TMessage& message) override;
  virtual void Change();

 private:
  int32_t maxLength_ = 0;
  bool readOnly_ = false;
  TBorderStyle borderStyle_ = bsSingle;
  TEditCharCase charCase_ = ecNormal;
  bool autoSelect_ = true;
  bool hideSelection_ = true;
  bool modified_ = false;
};

class TEdit : public TCustomEdit {
  FRAMEWORK_CLASS(TEdit, TCustomEdit)

 public:
  using TCustomEdit::TCustomEdit;
};

class TCustomMemo;

// The lines of a memo: logical lines of its text (word wrap does not split them). Add
// appends at the end with one EM_REPLACESEL and never resets the text; between
// BeginUpdate and EndUpdate appended lines are collected and added in one edit (under
// Wine each EM_REPLACESEL of a visible edit costs about 20 ms).
class TMemoStrings : public TStrings {
  FRAMEWORK_CLASS(TMemoStrings, TStrings)

 public:
  explicit TMemoStrings(TCustomMemo* memo) : memo_(memo) {}

  int Count() const override;
  std::wstring Get(int index) const override;
  void Put(int index, const std::wstring& text) override;
  void Insert(int index, const std::wstring& text) override;
  void Delete(int index) override;
  void Clear() override;
  int Add(const std::wstring& text) override;
  void AddStrings(const TStrings& other) override;
  std::wstring Text() const override;
  void SetText(const std::wstring& text) override;
  using TStrings::AddStrings;
  // Appends the lines in one edit (what AddStrings does).
  void Append(const std::vector<std::wstring>& lines);
  // Appended lines waiting for EndUpdate.
  int PendingCount() const { return static_cast<int>(pending_.size()); }

 protected:
  void SetUpdateState(bool updating) override;

 private:
  void Flush() const;
  std::vector<std::wstring> Lines() const;
  TCustomMemo* memo_;
  mutable std::vector<std::wstring> pending_;
};

class TCustomMemo : public TCustomEdit {
  FRAMEWORK_CLASS(TCustomMemo, TCustomEdit)

 public:
  explicit TCustomMemo(TComponent* owner);
  ~TCustomMemo() override;

  TStrings* Lines() const { return lines_.get(); }
  void SetLines(TStrings* value) { lines_->Assign(value); }
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle value);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  bool WantReturns() const { return wantReturns_; }
  void SetWantReturns(bool value) { wantReturns_ = value; }
  bool WantTabs() const { return wantTabs_; }
  void SetWantTabs(bool value) { wantTabs_ = value; }
  // Appends text at the end without touching the rest (one EM_REPLACESEL).
  void AppendText(const std::wstring& text);

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& message) override;

 private:
  std::unique_ptr<TMemoStrings> lines_;
  TScrollStyle scrollBars_ = ssNone;
  bool wordWrap_ = true;
  TAlignment alignment_ = taLeftJustify;
  bool wantReturns_ = true;
  bool wantTabs_ = false;
};

class TMemo : public TCustomMemo {
  FRAMEWORK_CLASS(TMemo, TCustomMemo)

 public:
  using TCustomMemo::TCustomMemo;
};

class TButtonControl : public TWinControl {
  FRAMEWORK_CLASS(TButtonControl, TWinControl)

 public:
  explicit TButtonControl(TComponent* owner);
};

class TButton : public TButtonControl {
  FRAMEWORK_CLASS(TButton, TButtonControl)

 public:
  explicit TButton(TComponent* owner);

  bool Default() const { return default_; }
  void SetDefault(bool value);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool value) { cancel_ = value; }
  int32_t ModalResult() const { return modalResult_; }
  void SetModalResult(int32_t value) { modalResult_ = value; }
  // Whether the button is the one Enter presses now (the default, or the focused button).
  bool Active() const { return active_; }
  void Click() override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& message) override;
  // Shows whether Enter presses the button now (BS_DEFPUSHBUTTON); owner-drawn kinds
  // repaint instead.
  virtual void SetButtonStyle(bool isDefault);

 private:
  bool default_ = false;
  bool cancel_ = false;
  bool active_ = false;
  int32_t modalResult_ = 0;
};

class TCustomLabel : public TGraphicControl {
  FRAMEWORK_CLASS(TCustomLabel, TGraphicControl)

 public:
  explicit TCustomLabel(TComponent* owner);

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  TTextLayout Layout() const { return layout_; }
  void SetLayout(TTextLayout value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);
  bool ShowAccelChar() const { return showAccelChar_; }
  void SetShowAccelChar(bool value);
  TWinControl* FocusControl() const { return focusControl_; }
  void SetFocusControl(TWinControl* value);

 protected:
  void Paint() override;
  bool CanAutoSize(int& width, int& height) override;
  void WndProc(TMessage& message) override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  UINT DrawFlags() const;
  TAlignment alignment_ = taLeftJustify;
  TTextLayout layout_ = tlTop;
  bool transparent_ = false;
  bool wordWrap_ = false;
  bool showAccelChar_ = true;
  TWinControl* focusControl_ = nullptr;
};

class TLabel : public TCustomLabel {
  FRAMEWORK_CLASS(TLabel, TCustomLabel)

 public:
  using TCustomLabel::TCustomLabel;
};

// Does `text` have '&' before `ch` (the accelerator of a caption)?
bool IsAccel(wchar_t ch, const std::wstring& text);
