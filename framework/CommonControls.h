// Registering the common-control window classes a control is about to create.
#pragma once

#include <windows.h>

// Registers the given ICC_* classes with the common controls library once per process;
// classes already registered are not asked for again.
void NeedCommonControls(DWORD classes);
