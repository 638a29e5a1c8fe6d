// Makes the skinned-control classes of this layer known to control discovery (the form
// layer's registry, SkinControlRegistry.h). A program that skins its controls calls it
// once before skinning starts (beside InstallSkinForms()); the explicit call also keeps
// the linker from dropping the classes out of the static library.
#pragma once

#include <string>

#include "skin/form/SkinControlRegistry.h"

class TSkinControl;
class TWinControl;

// Every class of the layer (also those of RegisterOtherSkinControls()).
void RegisterSkinControls();

// The usual attach of a factory: InitSkin to the request's control, or InitSkinHandle to
// its window. Frees the object and returns null when it did not attach.
TSkinControlItem* AttachSkinObject(TSkinControl* object, const TSkinAttachRequest& request);

// A factory that makes a T (owned by the request's control, none for a raw window) and
// attaches it the usual way.
template <class T>
TSkinControlFactory StandardSkinFactory() {
  return [](const TSkinAttachRequest& request) -> TSkinControlItem* {
    return AttachSkinObject(new T(request.Control), request);
  };
}
