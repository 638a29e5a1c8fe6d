// The skinned up-down (spin) control of unit WinSubClass: two halves (up/down, or
// left/right for a horizontal control), each a state frame of the skin's UpDownVert or
// UpDownHorz element with its arrow glyph from the element's second picture; plain
// outlined halves with small arrows when the skin has no such element. Also used for the
// up-downs inside tab controls, edit boxes and tab sets.
#pragma once

#include "skin/controls/WinSubClass.h"

class TSkinUpDown : public TSkinControl {
  FRAMEWORK_CLASS(TSkinUpDown, TSkinControl)

 public:
  using TSkinControl::TSkinControl;
  bool BeforeProc(TMessage& message) override;
  void AfterProc(TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

  bool Horizontal() const;
  // The half (0 first: up or left, 1 second: down or right) under a client point, or -1.
  int HalfAt(int x, int y) const;
  // The state frame of a half: 3 disabled, 2 pressed, 4 hot, else 1.
  int HalfState(int half) const;

  // 1: lay the halves side by side whatever the style says (tab-set scrollers).
  int32_t HorzMode = 0;
  // The half the button went down on and the half under the mouse (-1: none).
  int PressedHalf = -1;
  int HotHalf = -1;
};
