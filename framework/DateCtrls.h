// TDateTimePicker: the common date and time picker, as a drop-down calendar (dmComboBox)
// or with up-down arrows (dmUpDown, always so for times).
#pragma once

#include "framework/Controls.h"

FRAMEWORK_ENUM(TDateTimeKind, dtkDate, dtkTime)
FRAMEWORK_ENUM(TDTDateMode, dmComboBox, dmUpDown)
FRAMEWORK_ENUM(TDTDateFormat, dfShort, dfLong)

class TDateTimePicker : public TWinControl {
  FRAMEWORK_CLASS(TDateTimePicker, TWinControl)

 public:
  explicit TDateTimePicker(TComponent* owner);
  ~TDateTimePicker() override;

  TDateTimeKind Kind() const { return kind_; }
  void SetKind(TDateTimeKind value);
  TDTDateMode DateMode() const { return dateMode_; }
  void SetDateMode(TDTDateMode value);
  TDTDateFormat DateFormat() const { return dateFormat_; }
  void SetDateFormat(TDTDateFormat value);
  // A check box in the field that says whether a value is set.
  bool ShowCheckbox() const { return showCheckbox_; }
  void SetShowCheckbox(bool value);
  bool Checked();
  void SetChecked(bool value);
  // The date and time shown (kept while the window is re-made).
  SYSTEMTIME DateTime();
  void SetDateTime(const SYSTEMTIME& value);

  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateHandleDone() override;
  void DestroyWnd() override;
  void WndProc(TMessage& message) override;

 private:
  void RecreateIfMade();
  TDateTimeKind kind_ = dtkDate;
  TDTDateMode dateMode_ = dmComboBox;
  TDTDateFormat dateFormat_ = dfShort;
  bool showCheckbox_ = false;
  bool checked_ = true;
  SYSTEMTIME value_{};
};

void RegisterDateClasses();
