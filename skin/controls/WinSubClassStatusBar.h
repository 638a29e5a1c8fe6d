// The skinned status bar of unit WinSubClass: background, panel frames from the skin's
// StatusBarEdges element (plain 3-D edges without it), panel texts and the size grip,
// composed in the shared work bitmap and copied once.
#pragma once

#include "skin/controls/WinSubClass.h"

class TSkinStatusBar : public TSkinControl {
  FRAMEWORK_CLASS(TSkinStatusBar, TSkinControl)

 public:
  using TSkinControl::TSkinControl;
  bool BeforeProc(TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;
};
