// The skinned tab control in button style of unit WinSubClass: every tab is a push-button
// face of the skin's Buttons element, the focused tab pressed.
#pragma once

#include "skin/controls/WinSubClass.h"

class TSkinTabBtn : public TSkinControl {
  FRAMEWORK_CLASS(TSkinTabBtn, TSkinControl)

 public:
  using TSkinControl::TSkinControl;
  bool BeforeProc(TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;
};
