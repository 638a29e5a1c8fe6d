// The gallery's MDI demo: an MDI main form with a Window menu and a few child windows, so
// that skinned MDI frames, their caption buttons and the MDI menu handling can be seen.
#pragma once

#include "framework/Forms.h"

// Makes the demo (owned by `owner`) with `children` child windows and shows it.
TForm* ShowMdiDemo(TComponent* owner, int children);
// Adds one more child window to the demo.
TForm* AddMdiChild(TForm* mdiForm);
