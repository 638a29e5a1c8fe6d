// The colour-only skinned containers of unit WinSubClass: TSkinBox (panels, frames, forms
// inside forms, tool bars: the control's colour becomes the skin's face colour, nothing
// else is touched) and TSkinBoxH (raw dialog pages and raw tool bar windows: the
// background and the static texts on it are painted in the face colour, and a skinned
// track bar on the page gets its custom-draw notification handed back).
#pragma once

#include "skin/controls/WinSubClass.h"

class TSkinBox : public TSkinControl {
  FRAMEWORK_CLASS(TSkinBox, TSkinControl)

 public:
  using TSkinControl::TSkinControl;
  // Registers and sets the colour only; the control's message handler stays as it is.
  void InitSkin(TSkinControlList* form, TSkinData* skinData, bool setColour, TCanvas* canvas,
                TWinControl* control = nullptr) override;
  void Unskin() override;
  void AfterProc(TMessage&) override {}
};

class TSkinBoxH : public TSkinControl {
  FRAMEWORK_CLASS(TSkinBoxH, TSkinControl)

 public:
  using TSkinControl::TSkinControl;
  bool BeforeProc(TMessage& message) override;
};
