#include "skin/form/FormLabelColours.h"

#include "framework/Controls.h"

namespace {

bool IsDefaultTextColour(TColor colour) { return colour == clWindowText || colour == clBtnText; }

}  // namespace

void TFormLabelColours::Apply(TWinControl* form, TColor colour) {
  if (form == nullptr || form->DestroyingState()) return;
  for (int i = 0; i < form->ControlCount(); ++i) {
    TControl* control = form->Controls(i);
    if (dynamic_cast<TGraphicControl*>(control) == nullptr || control->Font() == nullptr) continue;
    TFont* font = control->Font();
    const auto known = saved_.find(control);
    if (known == saved_.end()) {
      if (!IsDefaultTextColour(font->Color())) continue;
      saved_[control] = {font->Color(), control->ParentFont()};
    } else if (font->Color() != applied_) {
      // The application chose another colour since: it is the label's own now.
      saved_.erase(known);
      continue;
    }
    font->SetColor(colour);
  }
  applied_ = colour;
}

void TFormLabelColours::Restore(TWinControl* form) {
  if (form != nullptr && !form->DestroyingState()) {
    // Only labels still listed on the form are touched: one freed meanwhile is gone from it.
    for (int i = 0; i < form->ControlCount(); ++i) {
      TControl* control = form->Controls(i);
      const auto known = saved_.find(control);
      if (known == saved_.end() || control->Font() == nullptr) continue;
      if (control->Font()->Color() != applied_) continue;
      control->Font()->SetColor(known->second.colour);
      if (known->second.parentFont) control->SetParentFont(true);
    }
  }
  saved_.clear();
  applied_ = clNone;
}
