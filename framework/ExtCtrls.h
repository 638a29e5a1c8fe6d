// TTimer: a non-visual component that raises OnTimer every Interval milliseconds on the
// GUI thread while Enabled. TPanel: a container with bevels and a caption.
#pragma once

#include <windows.h>

#include "framework/Classes.h"
#include "framework/Controls.h"

FRAMEWORK_ENUM(TPanelBevel, bvNone, bvLowered, bvRaised, bvSpace)

class TCustomPanel : public TCustomControl {
  FRAMEWORK_CLASS(TCustomPanel, TCustomControl)

 public:
  explicit TCustomPanel(TComponent* owner);
  TPanelBevel BevelInner() const { return bevelInner_; }
  void SetBevelInner(TPanelBevel value);
  TPanelBevel BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TPanelBevel value);
  int32_t BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int32_t value);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);

 protected:
  void Paint() override;
  void AlignControls(TRect& rect) override;

 private:
  TPanelBevel bevelInner_ = bvNone;
  TPanelBevel bevelOuter_ = bvRaised;
  int32_t bevelWidth_ = 1;
  TAlignment alignment_ = taCenter;
};

class TPanel : public TCustomPanel {
  FRAMEWORK_CLASS(TPanel, TCustomPanel)

 public:
  using TCustomPanel::TCustomPanel;
};

class TTimer : public TComponent {
  FRAMEWORK_CLASS(TTimer, TComponent)

 public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  int32_t Interval() const { return interval_; }
  void SetInterval(int32_t value);
  // Whether a system timer is running for it now.
  bool Running() const { return id_ != 0; }

  TNotifyEvent OnTimer;
  void Loaded() override;

 protected:
  virtual void Timer();

 private:
  void UpdateTimer();
  static void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD);

  bool enabled_ = true;
  int32_t interval_ = 1000;
  UINT_PTR id_ = 0;
};
