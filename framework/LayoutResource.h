// Stored layouts inside the program: each form's layout text is an RCDATA resource named
// like the form class ("TFORM1"). The build embeds a .layout file with the CMake helper
// ptest_layout_resources(target FORM_CLASS file.layout ...), defined in
// framework/CMakeLists.txt, which writes a resource script
//
//   TFORM1 RCDATA "path/to/Test.layout"
//
// and adds it to the target (windres compiles it). Resource scripts must be in the
// executable itself: the linker drops unreferenced resource objects of libraries.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// The bytes of RCDATA resource `name` of `module` (nullptr: the program), or a view with
// data() == nullptr when there is none. The bytes live as long as the module.
std::string_view FindLayoutResource(const std::wstring& name, HMODULE module = nullptr);
