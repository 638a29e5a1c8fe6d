// The skinned page of a page control (unit WinSubClass): with Mode 0 the page is painted
// in the skin's face colour, its graphic children on top.
#pragma once

#include "skin/controls/WinSubClass.h"

class TSkinTabSheet : public TSkinControl {
  FRAMEWORK_CLASS(TSkinTabSheet, TSkinControl)

 public:
  using TSkinControl::TSkinControl;
  bool BeforeProc(TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;
};
