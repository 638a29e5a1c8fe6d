// Check boxes and radio buttons (system BUTTON windows in check and radio styles).
#pragma once

#include "framework/StdCtrls.h"

FRAMEWORK_ENUM(TCheckBoxState, cbUnchecked, cbChecked, cbGrayed)

class TCheckBox : public TButtonControl {
  FRAMEWORK_CLASS(TCheckBox, TButtonControl)

 public:
  explicit TCheckBox(TComponent* owner);

  TCheckBoxState State() const { return state_; }
  void SetState(TCheckBoxState value);
  bool Checked() const { return state_ == cbChecked; }
  void SetChecked(bool value) { SetState(value ? cbChecked : cbUnchecked); }
  bool AllowGrayed() const { return allowGrayed_; }
  void SetAllowGrayed(bool value) { allowGrayed_ = value; }
  // The box on the right of the caption (BS_RIGHTBUTTON).
  bool RightButton() const { return rightButton_; }
  void SetRightButton(bool value);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateHandleDone() override;
  void WndProc(TMessage& message) override;

 private:
  TCheckBoxState state_ = cbUnchecked;
  bool allowGrayed_ = false;
  bool rightButton_ = false;
};

class TRadioButton : public TButtonControl {
  FRAMEWORK_CLASS(TRadioButton, TButtonControl)

 public:
  explicit TRadioButton(TComponent* owner);

  bool Checked() const { return checked_; }
  // Checking one clears the other radio buttons of the same parent.
  void SetChecked(bool value);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateHandleDone() override;
  void WndProc(TMessage& message) override;

 private:
  bool checked_ = false;
};

// Makes TCheckBox and TRadioButton known to stored layouts.
void RegisterButtonControlClasses();
