// Controls with a position in a range: TScrollBar (a SCROLLBAR window), TProgressBar,
// TTrackBar and TUpDown (common controls). Each keeps Min, Max and Position itself, so they
// hold before the window exists and survive its re-creation. Scroll and track messages
// arrive reflected (CN_HSCROLL, CN_VSCROLL, CN_NOTIFY) through WindowProc.
#pragma once

#include "framework/Controls.h"

FRAMEWORK_ENUM(TScrollBarKind, sbHorizontal, sbVertical)
FRAMEWORK_ENUM(TScrollCode, scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom,
               scEndScroll)
FRAMEWORK_ENUM(TProgressBarOrientation, pbHorizontal, pbVertical)
FRAMEWORK_ENUM(TTrackBarOrientation, trHorizontal, trVertical)
FRAMEWORK_ENUM(TTickStyle, tsNone, tsAuto, tsManual)
FRAMEWORK_ENUM(TTickMark, tmBottomRight, tmTopLeft, tmBoth)
FRAMEWORK_ENUM(TUDOrientation, udHorizontal, udVertical)
FRAMEWORK_ENUM(TUDAlignButton, udLeft, udRight)

using TScrollEvent = std::function<void(TObject* sender, TScrollCode code, int32_t& position)>;

class TScrollBar : public TWinControl {
  FRAMEWORK_CLASS(TScrollBar, TWinControl)

 public:
  explicit TScrollBar(TComponent* owner);
  ~TScrollBar() override;

  TScrollBarKind Kind() const { return kind_; }
  // Turning the bar swaps its width and height (outside loading).
  void SetKind(TScrollBarKind value);
  int32_t Min() const { return min_; }
  void SetMin(int32_t value) { SetParams(position_, value, max_); }
  int32_t Max() const { return max_; }
  void SetMax(int32_t value) { SetParams(position_, min_, value); }
  int32_t Position() const { return position_; }
  void SetPosition(int32_t value) { SetParams(value, min_, max_); }
  int32_t SmallChange() const { return smallChange_; }
  void SetSmallChange(int32_t value) { smallChange_ = value; }
  int32_t LargeChange() const { return largeChange_; }
  void SetLargeChange(int32_t value) { largeChange_ = value; }
  int32_t PageSize() const { return pageSize_; }
  void SetPageSize(int32_t value);
  // Sets all three at once; Position is kept inside [Min, Max - PageSize + 1].
  void SetParams(int32_t position, int32_t min, int32_t max);
  void Loaded() override;

  TNotifyEvent OnChange;
  TScrollEvent OnScroll;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateHandleDone() override;
  void WndProc(TMessage& message) override;

 private:
  void UpdateScrollInfo();
  void Scroll(int code);
  TScrollBarKind kind_ = sbHorizontal;
  int32_t min_ = 0, max_ = 100, position_ = 0;
  int32_t smallChange_ = 1, largeChange_ = 1, pageSize_ = 0;
};

class TProgressBar : public TWinControl {
  FRAMEWORK_CLASS(TProgressBar, TWinControl)

 public:
  explicit TProgressBar(TComponent* owner);
  ~TProgressBar() override;

  int32_t Min() const { return min_; }
  void SetMin(int32_t value);
  int32_t Max() const { return max_; }
  void SetMax(int32_t value);
  int32_t Position() const { return position_; }
  void SetPosition(int32_t value);
  int32_t Step() const { return step_; }
  void SetStep(int32_t value) { step_ = value; }
  TProgressBarOrientation Orientation() const { return orientation_; }
  void SetOrientation(TProgressBarOrientation value);
  bool Smooth() const { return smooth_; }
  void SetSmooth(bool value);
  void StepIt() { StepBy(step_); }
  // Moves by `delta`, wrapping to Min past Max as the control does.
  void StepBy(int32_t delta);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateHandleDone() override;

 private:
  int32_t min_ = 0, max_ = 100, position_ = 0, step_ = 10;
  TProgressBarOrientation orientation_ = pbHorizontal;
  bool smooth_ = false;
};

class TTrackBar : public TWinControl {
  FRAMEWORK_CLASS(TTrackBar, TWinControl)

 public:
  explicit TTrackBar(TComponent* owner);
  ~TTrackBar() override;

  int32_t Min() const { return min_; }
  void SetMin(int32_t value);
  int32_t Max() const { return max_; }
  void SetMax(int32_t value);
  int32_t Position();
  void SetPosition(int32_t value);
  TTrackBarOrientation Orientation() const { return orientation_; }
  void SetOrientation(TTrackBarOrientation value);
  int32_t Frequency() const { return frequency_; }
  void SetFrequency(int32_t value);
  TTickStyle TickStyle() const { return tickStyle_; }
  void SetTickStyle(TTickStyle value);
  TTickMark TickMarks() const { return tickMarks_; }
  void SetTickMarks(TTickMark value);
  int32_t PageSize() const { return pageSize_; }
  void SetPageSize(int32_t value);
  int32_t LineSize() const { return lineSize_; }
  void SetLineSize(int32_t value);
  bool SliderVisible() const { return sliderVisible_; }
  void SetSliderVisible(bool value);

  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateHandleDone() override;
  void WndProc(TMessage& message) override;

 private:
  void RecreateIfMade();
  int32_t min_ = 0, max_ = 10, position_ = 0, frequency_ = 1, pageSize_ = 2, lineSize_ = 1;
  TTrackBarOrientation orientation_ = trHorizontal;
  TTickStyle tickStyle_ = tsAuto;
  TTickMark tickMarks_ = tmBottomRight;
  bool sliderVisible_ = true;
};

class TUpDown : public TWinControl {
  FRAMEWORK_CLASS(TUpDown, TWinControl)

 public:
  explicit TUpDown(TComponent* owner);
  ~TUpDown() override;

  int32_t Min() const { return min_; }
  void SetMin(int32_t value);
  int32_t Max() const { return max_; }
  void SetMax(int32_t value);
  int32_t Position();
  void SetPosition(int32_t value);
  int32_t Increment() const { return increment_; }
  void SetIncrement(int32_t value);
  TUDOrientation Orientation() const { return orientation_; }
  void SetOrientation(TUDOrientation value);
  TUDAlignButton AlignButton() const { return alignButton_; }
  void SetAlignButton(TUDAlignButton value);
  // The control (an edit) whose text shows the position; the up-down sits beside it.
  TWinControl* Associate() const { return associate_; }
  void SetAssociate(TWinControl* value);
  bool Wrap() const { return wrap_; }
  void SetWrap(bool value);
  bool ArrowKeys() const { return arrowKeys_; }
  void SetArrowKeys(bool value);
  bool Thousands() const { return thousands_; }
  void SetThousands(bool value);

  void Loaded() override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateHandleDone() override;
  void WndProc(TMessage& message) override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  void RecreateIfMade();
  int32_t min_ = 0, max_ = 100, position_ = 0, increment_ = 1;
  TUDOrientation orientation_ = udVertical;
  TUDAlignButton alignButton_ = udRight;
  TWinControl* associate_ = nullptr;
  bool wrap_ = false;
  bool arrowKeys_ = true;
  bool thousands_ = true;
};

// Makes the range controls known to stored layouts.
void RegisterRangeClasses();
