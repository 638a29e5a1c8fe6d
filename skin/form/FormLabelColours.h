// Windowless controls (labels) that sit directly on a skinned form: the frame paints the
// form in the skin's face colour, so a label drawn in the system's default text colour
// would be black on a dark face. While the form is skinned, such labels take the skin's
// button text colour; a colour of the label's own choosing (a link's) stays.
#pragma once

#include <map>

#include "framework/Graphics.h"

class TControl;
class TWinControl;

class TFormLabelColours {
 public:
  // Gives every windowless child of `form` with a default font colour `colour`,
  // remembering what it had. Called again (a new skin), it recolours the same labels.
  void Apply(TWinControl* form, TColor colour);
  // Gives each label that is still on the form and still shows our colour its own back.
  void Restore(TWinControl* form);

 private:
  struct Saved {
    TColor colour;
    bool parentFont;
  };
  std::map<TControl*, Saved> saved_;
  TColor applied_ = clNone;
};
