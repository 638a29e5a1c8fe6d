#include "skin/data/AnsiText.h"

#ifdef _WIN32
#include <windows.h>

#include <climits>
#else
#include <cstddef>
#endif

bool AnsiSameTextIgnoreCase(std::string_view a, std::string_view b) {
#ifdef _WIN32
  // CompareStringA takes explicit lengths, so embedded NULs and texts without a
  // terminator are compared whole.
  if (a.size() > INT_MAX || b.size() > INT_MAX) return false;
  return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(),
                        static_cast<int>(a.size()), b.data(),
                        static_cast<int>(b.size())) == CSTR_EQUAL;
#else
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i];
    char y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
#endif
}
