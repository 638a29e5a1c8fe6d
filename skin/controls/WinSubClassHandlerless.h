// Attaching the skinned classes that leave the control's message handler alone (they
// only set the control's colour or pictures) to a framework control.
#pragma once

#include <functional>

#include "skin/controls/WinSubClass.h"

// Unless `item` is attached already: remembers its control (`control`, or the item's owner
// when null; nothing happens without one) and the skin, watches a control it does not own,
// registers with `form`, runs `apply` (which sets the look) and marks the item attached.
void AttachWithoutHandler(TSkinControl& item, TSkinControlList* form, TSkinData* skinData, bool setColour,
                          TCanvas* canvas, TWinControl* control, const std::function<void()>& apply);
