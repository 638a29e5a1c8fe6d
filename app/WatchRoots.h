// Which directory roots the two start commands watch. Portable.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The watcher table of the main window has room for this many watchers.
inline constexpr int kWatcherSlots = 11;

// The root of the drive that holds the Windows directory: its first three characters
// ("C:\WINDOWS" gives "C:\"); a shorter text is taken whole.
std::wstring SystemDriveRoot(std::wstring_view windowsDirectory);

// "X:\" for each letter, in the given order, for the first kWatcherSlots letters only:
// later drives stay unwatched, so nothing is ever written past the table.
std::vector<std::wstring> FixedDriveRoots(std::wstring_view letters);
