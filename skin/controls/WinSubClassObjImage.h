// The skinned glyph items of unit WinSubClass: check and radio groups whose item
// controls draw their marks from a picture of their own ("CustomGlyphs"), and glyph
// controls with a "Properties" object holding a "Glyph". The skin's check or radio image
// is copied into that picture; nothing of the control's messages is taken over.
#pragma once

#include "skin/controls/WinSubClass.h"

class TSkinObjImage : public TSkinControl {
  FRAMEWORK_CLASS(TSkinObjImage, TSkinControl)

 public:
  using TSkinControl::TSkinControl;
  // Registers and applies the glyphs; the control's message handler stays as it is.
  void InitSkin(TSkinControlList* form, TSkinData* skinData, bool setColour, TCanvas* canvas,
                TWinControl* control = nullptr) override;
  void Unskin() override;
  void UpdateSkin() override;

  // 1 check group, 2 radio group, 3 glyph in "Properties" (from Mode when not set).
  int32_t GlyphMode = 0;

 private:
  void ApplyGlyphs();
};
