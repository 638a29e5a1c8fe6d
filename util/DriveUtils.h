// What the main window needs of the system: the Windows directory, the drive letters,
// the fixed drives among them, and opening a document, program or web address with the
// shell. Stateless; texts are wide (UTF-16), drive letters upper-case 'A' to 'Z'.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// The Windows directory, e.g. C:\WINDOWS; empty when the system cannot say.
std::wstring WindowsDirectory();

// One letter per logical drive present, ascending ("ACDE").
std::wstring LogicalDriveLetters();

// The letters of LogicalDriveLetters whose drive type is fixed (DRIVE_FIXED), same order.
std::wstring FixedDriveLetters();

// Opens `target` (document, program or web address) with the shell's default action,
// owned by the calling thread's active window; true if the shell accepted the request.
bool OpenDocument(std::wstring_view target, std::wstring_view parameters);

// The steps above that need no system call, for the routines and their tests.
namespace drive_utils {

// Bits 0 to 25 of a GetLogicalDrives mask as letters; bits 26 to 31 are ignored.
std::wstring LettersOfMask(uint32_t mask);

// The letters whose root ("X:\") has drive type 3 (fixed) according to `driveType`.
std::wstring FixedLettersOf(std::wstring_view letters,
                            const std::function<unsigned(const std::wstring& root)>& driveType);

// The working directory OpenDocument passes: the target up to and including its last
// backslash or colon, empty if it has neither ("https:" for a web address).
std::wstring DocumentDirectory(std::wstring_view target);

}  // namespace drive_utils
