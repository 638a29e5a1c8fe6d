// TCheckBox and TRadioButton.
#include "framework/ButtonCtrls.h"

#include "framework/ClassBuilder.h"

// ---- TCheckBox ----

const TClassInfo& TCheckBox::StaticClass() {
  static const TClassInfo info = TClassBuilder<TCheckBox>("TCheckBox", &Inherited::StaticClass())
                                     .Property("State", &TCheckBox::State, &TCheckBox::SetState)
                                     .Property("Checked", &TCheckBox::Checked, &TCheckBox::SetChecked)
                                     .Property("AllowGrayed", &TCheckBox::AllowGrayed, &TCheckBox::SetAllowGrayed)
                                     .Property("RightButton", &TCheckBox::RightButton, &TCheckBox::SetRightButton)
                                     .Build();
  return info;
}

TCheckBox::TCheckBox(TComponent* owner) : TButtonControl(owner) {
  controlStyle_ = TControlStyle{csSetCaption, csDoubleClicks};
  SetBounds(0, 0, 97, 17);
  SetTabStop(true);
}

void TCheckBox::CreateParams(TCreateParams& p) {
  TButtonControl::CreateParams(p);
  CreateSubClass(p, L"BUTTON");
  p.Style |= BS_3STATE | (rightButton_ ? BS_RIGHTBUTTON : 0);
}

void TCheckBox::CreateHandleDone() { SendMessageW(handle_, BM_SETCHECK, static_cast<WPARAM>(state_), 0); }

void TCheckBox::SetState(TCheckBoxState value) {
  if (state_ == value) return;
  state_ = value;
  if (HandleAllocated()) SendMessageW(handle_, BM_SETCHECK, static_cast<WPARAM>(state_), 0);
  Click();
}

void TCheckBox::SetRightButton(bool value) {
  if (rightButton_ == value) return;
  rightButton_ = value;
  if (HandleAllocated()) RecreateWnd();
}

void TCheckBox::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND) {
    // A 3-state button leaves the toggling to its owner.
    if (HIWORD(m.WParam) == BN_CLICKED) {
      if (state_ == cbUnchecked) SetState(cbChecked);
      else if (state_ == cbChecked) SetState(allowGrayed_ ? cbGrayed : cbUnchecked);
      else SetState(cbUnchecked);
    }
    m.Result = 0;
    return;
  }
  TButtonControl::WndProc(m);
}

// ---- TRadioButton ----

const TClassInfo& TRadioButton::StaticClass() {
  static const TClassInfo info = TClassBuilder<TRadioButton>("TRadioButton", &Inherited::StaticClass())
                                     .Property("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked)
                                     .Build();
  return info;
}

TRadioButton::TRadioButton(TComponent* owner) : TButtonControl(owner) {
  controlStyle_ = TControlStyle{csSetCaption, csDoubleClicks};
  SetBounds(0, 0, 113, 17);
}

void TRadioButton::CreateParams(TCreateParams& p) {
  TButtonControl::CreateParams(p);
  CreateSubClass(p, L"BUTTON");
  p.Style |= BS_RADIOBUTTON;
}

void TRadioButton::CreateHandleDone() { SendMessageW(handle_, BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0); }

void TRadioButton::SetChecked(bool value) {
  if (checked_ == value) return;
  checked_ = value;
  SetTabStop(value);
  if (HandleAllocated()) SendMessageW(handle_, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
  if (!value) return;
  if (TWinControl* parent = Parent()) {
    for (int i = 0; i < parent->ControlCount(); ++i)
      if (auto* other = dynamic_cast<TRadioButton*>(parent->Controls(i)); other && other != this) other->SetChecked(false);
  }
  Click();
}

void TRadioButton::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND) {
    if (HIWORD(m.WParam) == BN_CLICKED) SetChecked(true);
    m.Result = 0;
    return;
  }
  TButtonControl::WndProc(m);
}

void RegisterButtonControlClasses() { RegisterClasses({&TCheckBox::StaticClass(), &TRadioButton::StaticClass()}); }
