// The text of the change log: one line per reported change, made of the prefix of its
// kind, the first name, the separator ";   " and the second name (empty except for a
// rename). Portable.
#pragma once

#include <optional>
#include <string>

// The line for a change of kind `fileOperation` (the values of TFileOperation: 0 added,
// 1 removed, 2 modified, 3 renamed, 4 changes lost), or nothing for any other value.
std::optional<std::wstring> ChangeLogLine(int fileOperation, const std::wstring& fileName1,
                                          const std::wstring& fileName2);
