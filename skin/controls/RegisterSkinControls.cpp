// The registrations of this layer's skinned-control classes.
#include "skin/controls/RegisterSkinControls.h"

#include "skin/controls/RegisterOtherSkinControls.h"
#include "skin/controls/WinSubClass.h"
#include "skin/controls/WinSubClassButtons.h"
#include "skin/controls/WinSubClassCheck.h"
#include "skin/controls/WinSubClassScroll.h"
#include "skin/controls/WinSubClassStatusBar.h"

TSkinControlItem* AttachSkinObject(TSkinControl* object, const TSkinAttachRequest& request) {
  if (object == nullptr) return nullptr;
  object->Mode = request.Preset;
  if (request.Control != nullptr) {
    object->InitSkin(request.Form, request.SkinData, request.SetColour, request.Canvas,
                     dynamic_cast<TWinControl*>(request.Control));
  } else {
    object->InitSkinHandle(request.Window, request.SkinData, request.Form, request.Canvas);
  }
  if (!object->Attached) {
    delete object;
    return nullptr;
  }
  return object;
}

namespace {

TSkinControlItem* MakeBitButton(const TSkinAttachRequest& request) {
  auto* object = new TSkinBitButton(request.Control);
  object->GlyphProperty = request.ImageProperty;
  return AttachSkinObject(object, request);
}

TSkinControlItem* MakeSpeedButton(const TSkinAttachRequest& request) {
  if (request.Control == nullptr) return nullptr;  // a speed button has no window of its own
  auto* object = new TSkinSpeedButton(request.Control);
  object->InitSpeedButton(request.Form, request.SkinData, request.Canvas, request.Control);
  if (!object->Attached) {
    delete object;
    return nullptr;
  }
  return object;
}

}  // namespace

void RegisterSkinControls() {
  RegisterSkinControlClass("TSkinButton", StandardSkinFactory<TSkinButton>());
  RegisterSkinControlClass("TSkinBitButton", MakeBitButton);
  RegisterSkinControlClass("TSkinSpeedButton", MakeSpeedButton);
  RegisterSkinControlClass("TSkinMenuButton", StandardSkinFactory<TSkinMenuButton>());
  RegisterSkinControlClass("TSkinCheckBox", StandardSkinFactory<TSkinCheckBox>());
  RegisterSkinControlClass("TSkinRadioButton", StandardSkinFactory<TSkinRadioButton>());
  RegisterSkinControlClass("TSkinStatusBar", StandardSkinFactory<TSkinStatusBar>());
  RegisterScrollbarControls();
  RegisterOtherSkinControls();
}
