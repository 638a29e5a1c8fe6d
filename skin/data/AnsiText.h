// Case-insensitive comparison of ANSI (code page) text, as the skin INI reader matches
// section names.
#pragma once

#include <string_view>

// True when `a` and `b` are equal ignoring letter case. On Windows this is the system's
// comparison of the user's ANSI code page (so double-byte text such as code page 936
// compares as Windows compares it); elsewhere only the ASCII letters are folded.
bool AnsiSameTextIgnoreCase(std::string_view a, std::string_view b);
