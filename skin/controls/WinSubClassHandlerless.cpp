// Attaching a skinned class that keeps the control's own message handler.
#include "skin/controls/WinSubClassHandlerless.h"

void AttachWithoutHandler(TSkinControl& item, TSkinControlList* form, TSkinData* skinData, bool setColour,
                          TCanvas* canvas, TWinControl* control, const std::function<void()>& apply) {
  if (item.Attached) return;
  item.Control = control != nullptr ? control : dynamic_cast<TControl*>(item.Owner());
  if (item.Control == nullptr) return;
  item.SetColour = setColour ? 1 : 0;
  item.SkinData = skinData;
  item.Form = form;
  item.Canvas = canvas;
  // The control may go first; its news clears the item's reference.
  if (control != nullptr && control != item.Owner()) control->FreeNotification(&item);
  if (auto* win = dynamic_cast<TWinControl*>(item.Control)) item.Handle = win->Handle();
  if (item.Form != nullptr) item.Form->AddSkinControl(&item);
  if (apply) apply();
  item.Attached = 1;
  item.SkinState = kSkinAttached;
}
