#include "util/DriveUtils.h"

#include <windows.h>
#include <shellapi.h>

namespace drive_utils {

std::wstring LettersOfMask(uint32_t mask) {
  std::wstring letters;
  for (int i = 0; i < 26; ++i)
    if (mask & (1u << i)) letters.push_back(static_cast<wchar_t>(L'A' + i));
  return letters;
}

std::wstring FixedLettersOf(std::wstring_view letters,
                            const std::function<unsigned(const std::wstring& root)>& driveType) {
  std::wstring fixed;
  for (wchar_t letter : letters) {
    const std::wstring root{letter, L':', L'\\'};
    if (driveType(root) == DRIVE_FIXED) fixed.push_back(letter);
  }
  return fixed;
}

std::wstring DocumentDirectory(std::wstring_view target) {
  const size_t last = target.find_last_of(L"\\:");
  if (last == std::wstring_view::npos) return {};
  return std::wstring(target.substr(0, last + 1));
}

}  // namespace drive_utils

std::wstring WindowsDirectory() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (int attempt = 0; attempt < 2; ++attempt) {
    const UINT length = GetWindowsDirectoryW(buffer.data(), static_cast<UINT>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) {
      buffer.resize(length);
      return buffer;
    }
    // Too small: `length` is the size needed, terminating zero included.
    buffer.assign(length, L'\0');
  }
  return {};
}

std::wstring LogicalDriveLetters() { return drive_utils::LettersOfMask(GetLogicalDrives()); }

std::wstring FixedDriveLetters() {
  return drive_utils::FixedLettersOf(LogicalDriveLetters(), [](const std::wstring& root) {
    return static_cast<unsigned>(GetDriveTypeW(root.c_str()));
  });
}

bool OpenDocument(std::wstring_view target, std::wstring_view parameters) {
  const std::wstring file(target);
  const std::wstring params(parameters);
  const std::wstring directory = drive_utils::DocumentDirectory(target);
  const HINSTANCE result = ShellExecuteW(GetActiveWindow(), nullptr, file.c_str(),
                                         params.c_str(), directory.c_str(), SW_SHOWNORMAL);
  // The result is an error code below 33 when the shell refused.
  return reinterpret_cast<uintptr_t>(result) > 32;
}
