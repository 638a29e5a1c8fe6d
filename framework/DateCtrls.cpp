// TDateTimePicker.
#include "framework/DateCtrls.h"

#include <commctrl.h>

#include "framework/ClassBuilder.h"
#include "framework/CommonControls.h"

const TClassInfo& TDateTimePicker::StaticClass() {
  static const TClassInfo info = TClassBuilder<TDateTimePicker>("TDateTimePicker", &Inherited::StaticClass())
                                     .Property("Kind", &TDateTimePicker::Kind, &TDateTimePicker::SetKind)
                                     .Property("DateMode", &TDateTimePicker::DateMode, &TDateTimePicker::SetDateMode)
                                     .Property("DateFormat", &TDateTimePicker::DateFormat, &TDateTimePicker::SetDateFormat)
                                     .Property("ShowCheckbox", &TDateTimePicker::ShowCheckbox, &TDateTimePicker::SetShowCheckbox)
                                     .Property("Checked", &TDateTimePicker::Checked, &TDateTimePicker::SetChecked)
                                     .Property("OnChange", &TDateTimePicker::OnChange)
                                     .Build();
  return info;
}

TDateTimePicker::TDateTimePicker(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 186, 21);
  SetTabStop(true);
  GetLocalTime(&value_);
}

TDateTimePicker::~TDateTimePicker() { DestroyHandle(); }

void TDateTimePicker::CreateParams(TCreateParams& p) {
  NeedCommonControls(ICC_DATE_CLASSES);
  TWinControl::CreateParams(p);
  CreateSubClass(p, DATETIMEPICK_CLASSW);
  if (kind_ == dtkTime) {
    p.Style |= DTS_TIMEFORMAT;
  } else {
    if (dateMode_ == dmUpDown) p.Style |= DTS_UPDOWN;
    if (dateFormat_ == dfLong) p.Style |= DTS_LONGDATEFORMAT;
  }
  if (showCheckbox_) p.Style |= DTS_SHOWNONE;
  p.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TDateTimePicker::CreateHandleDone() {
  SendMessageW(handle_, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&value_));
  if (showCheckbox_ && !checked_) SendMessageW(handle_, DTM_SETSYSTEMTIME, GDT_NONE, 0);
}

void TDateTimePicker::DestroyWnd() {
  if (HandleAllocated()) {
    SYSTEMTIME shown{};
    const LRESULT r = SendMessageW(handle_, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown));
    if (r == GDT_VALID) value_ = shown;
    if (showCheckbox_) checked_ = r == GDT_VALID;
  }
  TWinControl::DestroyWnd();
}

void TDateTimePicker::RecreateIfMade() {
  if (HandleAllocated()) RecreateWnd();
}

void TDateTimePicker::SetKind(TDateTimeKind value) {
  if (value == kind_) return;
  kind_ = value;
  RecreateIfMade();
}

void TDateTimePicker::SetDateMode(TDTDateMode value) {
  if (value == dateMode_) return;
  dateMode_ = value;
  RecreateIfMade();
}

void TDateTimePicker::SetDateFormat(TDTDateFormat value) {
  if (value == dateFormat_) return;
  dateFormat_ = value;
  RecreateIfMade();
}

void TDateTimePicker::SetShowCheckbox(bool value) {
  if (value == showCheckbox_) return;
  showCheckbox_ = value;
  RecreateIfMade();
}

bool TDateTimePicker::Checked() {
  if (HandleAllocated() && showCheckbox_) {
    SYSTEMTIME shown{};
    checked_ = SendMessageW(handle_, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown)) == GDT_VALID;
  }
  return checked_;
}

void TDateTimePicker::SetChecked(bool value) {
  checked_ = value;
  if (!HandleAllocated() || !showCheckbox_) return;
  if (value) {
    SendMessageW(handle_, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&value_));
  } else {
    SendMessageW(handle_, DTM_SETSYSTEMTIME, GDT_NONE, 0);
  }
}

SYSTEMTIME TDateTimePicker::DateTime() {
  if (HandleAllocated()) {
    SYSTEMTIME shown{};
    if (SendMessageW(handle_, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown)) == GDT_VALID) value_ = shown;
  }
  return value_;
}

void TDateTimePicker::SetDateTime(const SYSTEMTIME& value) {
  value_ = value;
  if (HandleAllocated()) SendMessageW(handle_, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&value_));
}

void TDateTimePicker::WndProc(TMessage& m) {
  if (m.Msg == CN_NOTIFY && m.LParam) {
    const auto* header = reinterpret_cast<const NMHDR*>(m.LParam);
    if (header->code == DTN_DATETIMECHANGE) {
      DateTime();
      if (OnChange) OnChange(this);
    }
    m.Result = 0;
    return;
  }
  TWinControl::WndProc(m);
}

void RegisterDateClasses() { RegisterClasses({&TDateTimePicker::StaticClass()}); }
