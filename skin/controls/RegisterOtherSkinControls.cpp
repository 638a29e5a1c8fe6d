// The registrations of the other skinned-control classes.
#include "skin/controls/RegisterOtherSkinControls.h"

#include "skin/controls/WinSubClassBox.h"
#include "skin/controls/WinSubClassComBox.h"
#include "skin/controls/WinSubClassDateTime.h"
#include "skin/controls/WinSubClassEdit.h"
#include "skin/controls/WinSubClassGroupBox.h"
#include "skin/controls/WinSubClassHeader.h"
#include "skin/controls/WinSubClassObjImage.h"
#include "skin/controls/WinSubClassProgress.h"
#include "skin/controls/WinSubClassSizer.h"
#include "skin/controls/WinSubClassTab.h"
#include "skin/controls/WinSubClassTab31.h"
#include "skin/controls/WinSubClassTabAdvPage.h"
#include "skin/controls/WinSubClassTabBtn.h"
#include "skin/controls/WinSubClassTabSheet.h"
#include "skin/controls/WinSubClassTrackBar.h"
#include "skin/controls/WinSubClassUpDown.h"
#include "skin/form/SkinControlRegistry.h"

namespace {

// Makes a T (owned by the request's control; none for a raw window), presets its Mode
// and attaches it: InitSkin to a framework control, InitSkinHandle to a raw window.
// `frameworkOnly`: the class works through a framework object, so a raw window gets none.
template <class T>
TSkinControlFactory Factory(bool frameworkOnly = false) {
  return [frameworkOnly](const TSkinAttachRequest& request) -> TSkinControlItem* {
    if (frameworkOnly && request.Control == nullptr) return nullptr;
    auto* object = new T(request.Control);
    object->Mode = request.Preset;
    if (request.Control != nullptr)
      object->InitSkin(request.Form, request.SkinData, request.SetColour, request.Canvas,
                       dynamic_cast<TWinControl*>(request.Control));
    else
      object->InitSkinHandle(request.Window, request.SkinData, request.Form, request.Canvas);
    // A raw attach starts from Mode 0; the preset is what discovery asked for.
    if (request.Preset != 0) object->Mode = request.Preset;
    if (!object->Attached) {
      delete object;
      return nullptr;
    }
    return object;
  };
}

}  // namespace

void RegisterOtherSkinControls() {
  RegisterSkinControlClass("TSkinGroupBox", Factory<TSkinGroupBox>());
  RegisterSkinControlClass("TSkinBox", Factory<TSkinBox>(true));
  RegisterSkinControlClass("TSkinBoxH", Factory<TSkinBoxH>());
  RegisterSkinControlClass("TSkinSizer", Factory<TSkinSizer>());
  RegisterSkinControlClass("TSkinTab", Factory<TSkinTab>());
  RegisterSkinControlClass("TSkinTab31", Factory<TSkinTab31>(true));
  RegisterSkinControlClass("TSkinTabBtn", Factory<TSkinTabBtn>());
  RegisterSkinControlClass("TSkinTabSheet", Factory<TSkinTabSheet>());
  RegisterSkinControlClass("TSkinAdvPage", Factory<TSkinAdvPage>(true));
  RegisterSkinControlClass("TSkinTrackBar", Factory<TSkinTrackBar>());
  RegisterSkinControlClass("TSkinProgress", Factory<TSkinProgress>());
  RegisterSkinControlClass("TSkinUpDown", Factory<TSkinUpDown>());
  RegisterSkinControlClass("TSkinEdit", Factory<TSkinEdit>());
  RegisterSkinControlClass("TSkinComBox", Factory<TSkinComBox>());
  RegisterSkinControlClass("TSkinDateTime", Factory<TSkinDateTime>());
  RegisterSkinControlClass("TSkinHeader", Factory<TSkinHeader>());
  RegisterSkinControlClass("TSkinObjImage", Factory<TSkinObjImage>(true));
  // TSkinMP is not registered: the framework has no media player control.
}
