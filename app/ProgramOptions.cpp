#include "app/ProgramOptions.h"

#include <string_view>

ProgramOptions ParseProgramOptions(const std::vector<std::wstring>& arguments) {
  constexpr std::wstring_view kSkin = L"--skin";
  ProgramOptions options;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::wstring_view argument = arguments[i];
    if (argument == kSkin) {
      if (i + 1 < arguments.size() && !arguments[i + 1].empty()) options.skinFile = arguments[++i];
    } else if (argument.size() > kSkin.size() && argument.substr(0, kSkin.size()) == kSkin &&
               argument[kSkin.size()] == L'=') {
      const std::wstring_view file = argument.substr(kSkin.size() + 1);
      if (!file.empty()) options.skinFile = std::wstring(file);
    }
  }
  return options;
}
