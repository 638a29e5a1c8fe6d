#include "app/WatchRoots.h"

#include <algorithm>

std::wstring SystemDriveRoot(std::wstring_view windowsDirectory) {
  return std::wstring(windowsDirectory.substr(0, std::min<size_t>(3, windowsDirectory.size())));
}

std::vector<std::wstring> FixedDriveRoots(std::wstring_view letters) {
  std::vector<std::wstring> roots;
  for (wchar_t letter : letters) {
    if (static_cast<int>(roots.size()) == kWatcherSlots) break;
    roots.push_back(std::wstring{letter, L':', L'\\'});
  }
  return roots;
}
