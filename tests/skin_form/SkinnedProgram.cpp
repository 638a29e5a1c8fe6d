// Links the skinned frame into a copy of the program: skin components made by the program
// create the real manager, which attaches TWinSkinForm frames.
#include "skin/form/WinSkinForm.h"

namespace {
const bool installed = (InstallSkinForms(), true);
}  // namespace
