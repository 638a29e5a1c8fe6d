// The skinned size grip of unit WinSubClass: a raw scroll bar window used as a size grip
// (no tab stop) is painted over in the skin's face colour.
#pragma once

#include "skin/controls/WinSubClass.h"

class TSkinSizer : public TSkinControl {
  FRAMEWORK_CLASS(TSkinSizer, TSkinControl)

 public:
  using TSkinControl::TSkinControl;
  void DrawSkin(HDC dc, const RECT& rect) override;
};
