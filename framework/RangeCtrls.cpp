// TScrollBar, TProgressBar, TTrackBar, TUpDown.
#include "framework/RangeCtrls.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/ClassBuilder.h"
#include "framework/CommonControls.h"

namespace {

// Min may be set above Max while a range is being changed: clamp to whichever is lower.
int32_t ClampToRange(int32_t value, int32_t min, int32_t max) {
  return std::clamp(value, std::min(min, max), std::max(min, max));
}

}  // namespace

// ---- TScrollBar ----

const TClassInfo& TScrollBar::StaticClass() {
  static const TClassInfo info = TClassBuilder<TScrollBar>("TScrollBar", &Inherited::StaticClass())
                                     .Property("Kind", &TScrollBar::Kind, &TScrollBar::SetKind)
                                     .Property("Min", &TScrollBar::Min, &TScrollBar::SetMin)
                                     .Property("Max", &TScrollBar::Max, &TScrollBar::SetMax)
                                     .Property("Position", &TScrollBar::Position, &TScrollBar::SetPosition)
                                     .Property("SmallChange", &TScrollBar::SmallChange, &TScrollBar::SetSmallChange)
                                     .Property("LargeChange", &TScrollBar::LargeChange, &TScrollBar::SetLargeChange)
                                     .Property("PageSize", &TScrollBar::PageSize, &TScrollBar::SetPageSize)
                                     .Property("OnChange", &TScrollBar::OnChange)
                                     .Property("OnScroll", &TScrollBar::OnScroll)
                                     .Build();
  return info;
}

TScrollBar::TScrollBar(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 121, GetSystemMetrics(SM_CYHSCROLL));
  SetTabStop(true);
}

TScrollBar::~TScrollBar() { DestroyHandle(); }

void TScrollBar::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  CreateSubClass(p, L"SCROLLBAR");
  p.Style |= kind_ == sbHorizontal ? SBS_HORZ : SBS_VERT;
  p.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TScrollBar::CreateHandleDone() { UpdateScrollInfo(); }

void TScrollBar::SetKind(TScrollBarKind value) {
  if (value == kind_) return;
  kind_ = value;
  if (!Loading()) SetBounds(Left(), Top(), Height(), Width());
  RecreateWnd();
}

void TScrollBar::SetPageSize(int32_t value) {
  value = std::max<int32_t>(value, 0);
  if (value == pageSize_) return;
  pageSize_ = value;
  SetParams(position_, min_, max_);
  UpdateScrollInfo();
}

void TScrollBar::SetParams(int32_t position, int32_t min, int32_t max) {
  // While loading, the three come one by one: keep them as given until the end.
  if (!Loading()) {
    if (max < min) max = min;
    const int32_t top = std::max(min, max - std::max(pageSize_ - 1, 0));
    position = std::clamp(position, min, top);
  }
  const bool moved = position != position_;
  if (position == position_ && min == min_ && max == max_) return;
  position_ = position;
  min_ = min;
  max_ = max;
  UpdateScrollInfo();
  if (moved && !Loading() && OnChange) OnChange(this);
}

void TScrollBar::Loaded() {
  TWinControl::Loaded();
  // The stored values came one by one, unchecked: bring them in range now (no OnChange:
  // nothing moved the bar).
  if (max_ < min_) max_ = min_;
  position_ = std::clamp(position_, min_, std::max(min_, max_ - std::max(pageSize_ - 1, 0)));
  UpdateScrollInfo();
}

void TScrollBar::UpdateScrollInfo() {
  if (!HandleAllocated()) return;
  SCROLLINFO info{sizeof info, SIF_ALL, min_, max_, static_cast<UINT>(pageSize_), position_, 0};
  SetScrollInfo(handle_, SB_CTL, &info, TRUE);
}

void TScrollBar::Scroll(int code) {
  int32_t position = position_;
  TScrollCode scrollCode = scEndScroll;
  switch (code) {
    case SB_LINEUP: scrollCode = scLineUp; position -= smallChange_; break;
    case SB_LINEDOWN: scrollCode = scLineDown; position += smallChange_; break;
    case SB_PAGEUP: scrollCode = scPageUp; position -= largeChange_; break;
    case SB_PAGEDOWN: scrollCode = scPageDown; position += largeChange_; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
      SCROLLINFO info{sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
      GetScrollInfo(handle_, SB_CTL, &info);
      position = info.nTrackPos;
      scrollCode = code == SB_THUMBTRACK ? scTrack : scPosition;
      break;
    }
    case SB_TOP: scrollCode = scTop; position = min_; break;
    case SB_BOTTOM: scrollCode = scBottom; position = max_; break;
    default: break;
  }
  if (OnScroll) OnScroll(this, scrollCode, position);
  SetPosition(position);
}

void TScrollBar::WndProc(TMessage& m) {
  if (m.Msg == CN_HSCROLL || m.Msg == CN_VSCROLL) {
    Scroll(LOWORD(m.WParam));
    m.Result = 0;
    return;
  }
  TWinControl::WndProc(m);
}

// ---- TProgressBar ----

const TClassInfo& TProgressBar::StaticClass() {
  static const TClassInfo info = TClassBuilder<TProgressBar>("TProgressBar", &Inherited::StaticClass())
                                     .Property("Min", &TProgressBar::Min, &TProgressBar::SetMin)
                                     .Property("Max", &TProgressBar::Max, &TProgressBar::SetMax)
                                     .Property("Position", &TProgressBar::Position, &TProgressBar::SetPosition)
                                     .Property("Step", &TProgressBar::Step, &TProgressBar::SetStep)
                                     .Property("Orientation", &TProgressBar::Orientation, &TProgressBar::SetOrientation)
                                     .Property("Smooth", &TProgressBar::Smooth, &TProgressBar::SetSmooth)
                                     .Build();
  return info;
}

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 150, 16); }

TProgressBar::~TProgressBar() { DestroyHandle(); }

void TProgressBar::CreateParams(TCreateParams& p) {
  NeedCommonControls(ICC_PROGRESS_CLASS);
  TWinControl::CreateParams(p);
  CreateSubClass(p, PROGRESS_CLASSW);
  if (orientation_ == pbVertical) p.Style |= PBS_VERTICAL;
  if (smooth_) p.Style |= PBS_SMOOTH;
}

void TProgressBar::CreateHandleDone() {
  SendMessageW(handle_, PBM_SETRANGE32, static_cast<WPARAM>(min_), max_);
  SendMessageW(handle_, PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

void TProgressBar::SetMin(int32_t value) {
  if (value == min_) return;
  min_ = value;
  if (HandleAllocated()) SendMessageW(handle_, PBM_SETRANGE32, static_cast<WPARAM>(min_), max_);
}

void TProgressBar::SetMax(int32_t value) {
  if (value == max_) return;
  max_ = value;
  if (HandleAllocated()) SendMessageW(handle_, PBM_SETRANGE32, static_cast<WPARAM>(min_), max_);
}

void TProgressBar::SetPosition(int32_t value) {
  if (!Loading()) value = ClampToRange(value, min_, max_);
  if (value == position_) return;
  position_ = value;
  if (HandleAllocated()) SendMessageW(handle_, PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

void TProgressBar::StepBy(int32_t delta) {
  int64_t next = static_cast<int64_t>(position_) + delta;
  if (next > max_) next = min_ + (next - max_) % std::max<int64_t>(1, static_cast<int64_t>(max_) - min_);
  if (next < min_) next = min_;
  SetPosition(static_cast<int32_t>(next));
}

void TProgressBar::SetOrientation(TProgressBarOrientation value) {
  if (value == orientation_) return;
  orientation_ = value;
  if (!Loading()) SetBounds(Left(), Top(), Height(), Width());
  RecreateWnd();
}

void TProgressBar::SetSmooth(bool value) {
  if (value == smooth_) return;
  smooth_ = value;
  RecreateWnd();
}

// ---- TTrackBar ----

const TClassInfo& TTrackBar::StaticClass() {
  static const TClassInfo info = TClassBuilder<TTrackBar>("TTrackBar", &Inherited::StaticClass())
                                     .Property("Min", &TTrackBar::Min, &TTrackBar::SetMin)
                                     .Property("Max", &TTrackBar::Max, &TTrackBar::SetMax)
                                     .Property("Position", &TTrackBar::Position, &TTrackBar::SetPosition)
                                     .Property("Orientation", &TTrackBar::Orientation, &TTrackBar::SetOrientation)
                                     .Property("Frequency", &TTrackBar::Frequency, &TTrackBar::SetFrequency)
                                     .Property("TickStyle", &TTrackBar::TickStyle, &TTrackBar::SetTickStyle)
                                     .Property("TickMarks", &TTrackBar::TickMarks, &TTrackBar::SetTickMarks)
                                     .Property("PageSize", &TTrackBar::PageSize, &TTrackBar::SetPageSize)
                                     .Property("LineSize", &TTrackBar::LineSize, &TTrackBar::SetLineSize)
                                     .Property("SliderVisible", &TTrackBar::SliderVisible, &TTrackBar::SetSliderVisible)
                                     .Property("OnChange", &TTrackBar::OnChange)
                                     .Build();
  return info;
}

TTrackBar::TTrackBar(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 150, 45);
  SetTabStop(true);
}

TTrackBar::~TTrackBar() { DestroyHandle(); }

void TTrackBar::CreateParams(TCreateParams& p) {
  NeedCommonControls(ICC_BAR_CLASSES);
  TWinControl::CreateParams(p);
  CreateSubClass(p, TRACKBAR_CLASSW);
  p.Style |= orientation_ == trVertical ? TBS_VERT : TBS_HORZ;
  if (tickStyle_ == tsNone) {
    p.Style |= TBS_NOTICKS;
  } else if (tickStyle_ == tsAuto) {
    p.Style |= TBS_AUTOTICKS;
  }
  if (tickMarks_ == tmTopLeft) p.Style |= TBS_TOP;
  if (tickMarks_ == tmBoth) p.Style |= TBS_BOTH;
  if (!sliderVisible_) p.Style |= TBS_NOTHUMB;
  p.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TTrackBar::CreateHandleDone() {
  SendMessageW(handle_, TBM_SETRANGEMIN, FALSE, min_);
  SendMessageW(handle_, TBM_SETRANGEMAX, FALSE, max_);
  SendMessageW(handle_, TBM_SETPAGESIZE, 0, pageSize_);
  SendMessageW(handle_, TBM_SETLINESIZE, 0, lineSize_);
  if (tickStyle_ == tsAuto) SendMessageW(handle_, TBM_SETTICFREQ, static_cast<WPARAM>(frequency_), 0);
  SendMessageW(handle_, TBM_SETPOS, TRUE, position_);
}

void TTrackBar::RecreateIfMade() {
  if (HandleAllocated()) {
    position_ = Position();
    RecreateWnd();
  }
}

void TTrackBar::SetMin(int32_t value) {
  if (value == min_) return;
  min_ = value;
  if (HandleAllocated()) SendMessageW(handle_, TBM_SETRANGEMIN, TRUE, min_);
}

void TTrackBar::SetMax(int32_t value) {
  if (value == max_) return;
  max_ = value;
  if (HandleAllocated()) SendMessageW(handle_, TBM_SETRANGEMAX, TRUE, max_);
}

int32_t TTrackBar::Position() {
  if (HandleAllocated()) position_ = static_cast<int32_t>(SendMessageW(handle_, TBM_GETPOS, 0, 0));
  return position_;
}

void TTrackBar::SetPosition(int32_t value) {
  if (!Loading()) value = ClampToRange(value, min_, max_);
  if (value == Position()) return;
  position_ = value;
  if (HandleAllocated()) SendMessageW(handle_, TBM_SETPOS, TRUE, position_);
  if (!Loading() && OnChange) OnChange(this);
}

void TTrackBar::SetOrientation(TTrackBarOrientation value) {
  if (value == orientation_) return;
  orientation_ = value;
  if (!Loading()) SetBounds(Left(), Top(), Height(), Width());
  RecreateIfMade();
}

void TTrackBar::SetFrequency(int32_t value) {
  if (value == frequency_) return;
  frequency_ = value;
  if (HandleAllocated() && tickStyle_ == tsAuto) SendMessageW(handle_, TBM_SETTICFREQ, static_cast<WPARAM>(value), 0);
}

void TTrackBar::SetTickStyle(TTickStyle value) {
  if (value == tickStyle_) return;
  tickStyle_ = value;
  RecreateIfMade();
}

void TTrackBar::SetTickMarks(TTickMark value) {
  if (value == tickMarks_) return;
  tickMarks_ = value;
  RecreateIfMade();
}

void TTrackBar::SetPageSize(int32_t value) {
  if (value == pageSize_) return;
  pageSize_ = value;
  if (HandleAllocated()) SendMessageW(handle_, TBM_SETPAGESIZE, 0, value);
}

void TTrackBar::SetLineSize(int32_t value) {
  if (value == lineSize_) return;
  lineSize_ = value;
  if (HandleAllocated()) SendMessageW(handle_, TBM_SETLINESIZE, 0, value);
}

void TTrackBar::SetSliderVisible(bool value) {
  if (value == sliderVisible_) return;
  sliderVisible_ = value;
  RecreateIfMade();
}

void TTrackBar::WndProc(TMessage& m) {
  if (m.Msg == CN_HSCROLL || m.Msg == CN_VSCROLL) {
    const int32_t old = position_;
    if (Position() != old && OnChange) OnChange(this);
    m.Result = 0;
    return;
  }
  TWinControl::WndProc(m);
}

// ---- TUpDown ----

const TClassInfo& TUpDown::StaticClass() {
  static const TClassInfo info = TClassBuilder<TUpDown>("TUpDown", &Inherited::StaticClass())
                                     .Property("Min", &TUpDown::Min, &TUpDown::SetMin)
                                     .Property("Max", &TUpDown::Max, &TUpDown::SetMax)
                                     .Property("Position", &TUpDown::Position, &TUpDown::SetPosition)
                                     .Property("Increment", &TUpDown::Increment, &TUpDown::SetIncrement)
                                     .Property("Orientation", &TUpDown::Orientation, &TUpDown::SetOrientation)
                                     .Property("AlignButton", &TUpDown::AlignButton, &TUpDown::SetAlignButton)
                                     .Property("Associate", &TUpDown::Associate, &TUpDown::SetAssociate)
                                     .Property("Wrap", &TUpDown::Wrap, &TUpDown::SetWrap)
                                     .Property("ArrowKeys", &TUpDown::ArrowKeys, &TUpDown::SetArrowKeys)
                                     .Property("Thousands", &TUpDown::Thousands, &TUpDown::SetThousands)
                                     .Build();
  return info;
}

TUpDown::TUpDown(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 17, 25); }

TUpDown::~TUpDown() {
  if (associate_) associate_->RemoveFreeNotification(this);
  DestroyHandle();
}

void TUpDown::CreateParams(TCreateParams& p) {
  NeedCommonControls(ICC_UPDOWN_CLASS);
  TWinControl::CreateParams(p);
  CreateSubClass(p, UPDOWN_CLASSW);
  p.Style |= UDS_SETBUDDYINT;
  if (orientation_ == udHorizontal) p.Style |= UDS_HORZ;
  if (associate_) p.Style |= alignButton_ == udLeft ? UDS_ALIGNLEFT : UDS_ALIGNRIGHT;
  if (wrap_) p.Style |= UDS_WRAP;
  if (arrowKeys_) p.Style |= UDS_ARROWKEYS;
  if (!thousands_) p.Style |= UDS_NOTHOUSANDS;
  p.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TUpDown::CreateHandleDone() {
  SendMessageW(handle_, UDM_SETRANGE32, static_cast<WPARAM>(min_), max_);
  UDACCEL accel{0, static_cast<UINT>(std::max<int32_t>(increment_, 1))};
  SendMessageW(handle_, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
  if (associate_) SendMessageW(handle_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(associate_->Handle()), 0);
  SendMessageW(handle_, UDM_SETPOS32, 0, position_);
}

void TUpDown::Loaded() {
  TWinControl::Loaded();
  // The associate may have been read after the position.
  if (HandleAllocated() && associate_) {
    SendMessageW(handle_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(associate_->Handle()), 0);
    SendMessageW(handle_, UDM_SETPOS32, 0, position_);
  }
}

void TUpDown::RecreateIfMade() {
  if (HandleAllocated()) {
    position_ = Position();
    RecreateWnd();
  }
}

void TUpDown::SetMin(int32_t value) {
  if (value == min_) return;
  min_ = value;
  if (HandleAllocated()) SendMessageW(handle_, UDM_SETRANGE32, static_cast<WPARAM>(min_), max_);
}

void TUpDown::SetMax(int32_t value) {
  if (value == max_) return;
  max_ = value;
  if (HandleAllocated()) SendMessageW(handle_, UDM_SETRANGE32, static_cast<WPARAM>(min_), max_);
}

int32_t TUpDown::Position() {
  if (HandleAllocated()) {
    BOOL failed = FALSE;
    const auto pos = static_cast<int32_t>(SendMessageW(handle_, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed)));
    if (!failed) position_ = pos;
  }
  return position_;
}

void TUpDown::SetPosition(int32_t value) {
  if (!Loading()) value = ClampToRange(value, min_, max_);
  position_ = value;
  if (HandleAllocated()) SendMessageW(handle_, UDM_SETPOS32, 0, position_);
}

void TUpDown::SetIncrement(int32_t value) {
  if (value == increment_) return;
  increment_ = value;
  if (HandleAllocated()) {
    UDACCEL accel{0, static_cast<UINT>(std::max<int32_t>(increment_, 1))};
    SendMessageW(handle_, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
  }
}

void TUpDown::SetOrientation(TUDOrientation value) {
  if (value == orientation_) return;
  orientation_ = value;
  if (!Loading()) SetBounds(Left(), Top(), Height(), Width());
  RecreateIfMade();
}

void TUpDown::SetAlignButton(TUDAlignButton value) {
  if (value == alignButton_) return;
  alignButton_ = value;
  RecreateIfMade();
}

void TUpDown::SetAssociate(TWinControl* value) {
  if (value == associate_) return;
  if (value == this) return;
  if (associate_) associate_->RemoveFreeNotification(this);
  associate_ = value;
  if (associate_) associate_->FreeNotification(this);
  RecreateIfMade();
}

void TUpDown::SetWrap(bool value) {
  if (value == wrap_) return;
  wrap_ = value;
  RecreateIfMade();
}

void TUpDown::SetArrowKeys(bool value) {
  if (value == arrowKeys_) return;
  arrowKeys_ = value;
  RecreateIfMade();
}

void TUpDown::SetThousands(bool value) {
  if (value == thousands_) return;
  thousands_ = value;
  RecreateIfMade();
}

void TUpDown::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == TOperation::opRemove && component == associate_) {
    associate_ = nullptr;
    if (HandleAllocated() && !DestroyingState()) SendMessageW(handle_, UDM_SETBUDDY, 0, 0);
  }
}

void TUpDown::WndProc(TMessage& m) {
  if (m.Msg == CN_HSCROLL || m.Msg == CN_VSCROLL) {
    // The control moved its position (and its buddy's text): a click of an arrow.
    Position();
    Click();
    m.Result = 0;
    return;
  }
  TWinControl::WndProc(m);
}

void RegisterRangeClasses() {
  RegisterClasses({&TScrollBar::StaticClass(), &TProgressBar::StaticClass(), &TTrackBar::StaticClass(),
                   &TUpDown::StaticClass()});
}
