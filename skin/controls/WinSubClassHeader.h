// The skinned header control of unit WinSubClass (also list-view headers attached by
// handle): the bar and every item are frames of the skin's Headerbar element, the item
// under the mouse in its hot frame, texts and images laid out by the engine.
#pragma once

#include <vector>

#include "skin/controls/WinSubClass.h"

class TSkinHeader : public TSkinControl {
  FRAMEWORK_CLASS(TSkinHeader, TSkinControl)

 public:
  using TSkinControl::TSkinControl;
  bool BeforeProc(TMessage& message) override;
  void AfterProc(TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

  // The item whose last painted rectangle holds the client point, or -1.
  int ItemAt(int x, int y) const;

  int HotItem = -1;
  std::vector<RECT> ItemRects;
};
