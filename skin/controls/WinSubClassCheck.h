// The skinned check box and radio button of unit WinSubClass: the box or dot is a cell of
// the skin's CheckBitmap or RadioBitmap, the caption is drawn by the engine; both draw
// straight into the paint DC.
#pragma once

#include "skin/controls/WinSubClass.h"

class TSkinCheckBox : public TSkinControl {
  FRAMEWORK_CLASS(TSkinCheckBox, TSkinControl)

 public:
  using TSkinControl::TSkinControl;
  void InitSkin(TSkinControlList* form, TSkinData* skinData, bool setColour, TCanvas* canvas,
                TWinControl* control = nullptr) override;
  bool BeforeProc(TMessage& message) override;
  void AfterProc(TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

  // The frame index of the mark as the control's state gives it now.
  int CheckFrame();

  int32_t LastCheck = 0;
  uint8_t Transparent = 0;
};

class TSkinRadioButton : public TSkinControl {
  FRAMEWORK_CLASS(TSkinRadioButton, TSkinControl)

 public:
  using TSkinControl::TSkinControl;
  void InitSkin(TSkinControlList* form, TSkinData* skinData, bool setColour, TCanvas* canvas,
                TWinControl* control = nullptr) override;
  bool BeforeProc(TMessage& message) override;
  void AfterProc(TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

  int RadioFrame();

  uint8_t Transparent = 0;
};
