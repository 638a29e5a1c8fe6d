// Applies a stored layout to components. Portable.
//
// The top object describes `root` itself (its class must be root's class or an
// ancestor of it): root takes its name and properties. Every nested object is created by
// its registered class name (RegisterClass), owned by root, given the enclosing object
// as parent component (a control's Parent), named, bound to root's published field of
// that name, and then given its properties. `inherited` objects name components root
// already has. Events name root's published methods; object properties given an
// identifier name components of root (resolved after the last line). Properties a class
// defines through DefineProperties (a list's "Strings", a binary "SkinStream") are read
// through its filer callbacks. After the last line every component read, root first,
// leaves the loading state and gets Loaded().
//
// Every error is an ELayoutError naming the line: syntax, unknown class, unknown
// property, a value of the wrong kind, an unknown handler or component name.
#pragma once

#include <string_view>

#include "framework/Classes.h"
#include "framework/LayoutParser.h"

void ReadComponentLayout(TComponent* root, std::string_view text);
void ReadComponentLayout(TComponent* root, const TLayoutObject& tree);

// Creates the top object's registered class with `owner` and reads the layout into it.
TComponent* CreateComponentFromLayout(std::string_view text, TComponent* owner);

// The stored properties of `instance` that a filer defines (DefineProperties), by name.
bool HasDefinedProperty(TPersistent* instance, std::string_view name);
