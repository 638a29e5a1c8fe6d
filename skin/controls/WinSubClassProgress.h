// The skinned progress bar of unit WinSubClass: the trough and the filled part from the
// skin's Progress element (Style 0: frame 1 under frame 2; Style 1: the trough with the
// ProgressChunk image over the filled length). A vertical bar is composed lying on its
// side and turned upright, so it fills from the bottom. Without the Progress image the
// control paints itself.
#pragma once

#include "skin/controls/WinSubClass.h"

class TSkinProgress : public TSkinControl {
  FRAMEWORK_CLASS(TSkinProgress, TSkinControl)

 public:
  using TSkinControl::TSkinControl;
  bool BeforeProc(TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

  // The filled length of a bar `length` pixels long, from the control's range and position.
  int FilledLength(int length) const;
};
