// The skinned track bar of unit WinSubClass. The control keeps painting itself; through
// its custom-draw notification (reflected to it by its parent, as framework parents do)
// the channel is drawn from the skin's Track/TrackVert element and the thumb from
// TrackbarThumbHorz/TrackbarThumbVert, the tick marks staying the control's own.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "skin/controls/WinSubClass.h"

class TSkinTrackBar : public TSkinControl {
  FRAMEWORK_CLASS(TSkinTrackBar, TSkinControl)

 public:
  using TSkinControl::TSkinControl;
  bool BeforeProc(TMessage& message) override;
  void UpdateSkin() override;

  // The answer to one custom-draw notification; false: not ours, pass it on.
  bool CustomDraw(NMCUSTOMDRAW& draw, LRESULT& result);
  void DrawThumb(HDC dc);
  void DrawChannel(HDC dc);
};
