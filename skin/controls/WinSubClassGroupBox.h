// The skinned group box of unit WinSubClass: a rounded frame of the skin's shadow colour
// with the caption on the skin's face colour. A framework group box (Mode 1) is painted
// instead of the control; a raw one is painted over after the control painted itself.
#pragma once

#include "skin/controls/WinSubClass.h"

class TSkinGroupBox : public TSkinControl {
  FRAMEWORK_CLASS(TSkinGroupBox, TSkinControl)

 public:
  using TSkinControl::TSkinControl;
  void InitSkin(TSkinControlList* form, TSkinData* skinData, bool setColour, TCanvas* canvas,
                TWinControl* control = nullptr) override;
  bool BeforeProc(TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

  // The window text, or the "Caption" of the framework object when the text is empty.
  std::wstring GroupCaption() const;
};
