// The watcher keeps names as the UTF-16 code units the system reported (std::u16string in
// the portable decoder); Windows calls and handlers take the same units as wchar_t text.
#pragma once

#include <string>
#include <string_view>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "wchar_t is UTF-16 on Windows");

inline std::wstring ToWide(std::u16string_view text) {
  std::wstring wide(text.size(), L'\0');
  for (size_t i = 0; i < text.size(); ++i) wide[i] = static_cast<wchar_t>(text[i]);
  return wide;
}

inline std::u16string ToU16(std::wstring_view text) {
  std::u16string units(text.size(), u'\0');
  for (size_t i = 0; i < text.size(); ++i) units[i] = static_cast<char16_t>(text[i]);
  return units;
}
