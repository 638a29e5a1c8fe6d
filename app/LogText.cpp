#include "app/LogText.h"

#include <array>

namespace {

// Chinese text, an ASCII colon and a fixed number of ASCII spaces (4, 2, 1, 2, 2).
constexpr std::array<const wchar_t*, 5> kPrefixes = {
    L"增加文件:    ",    // added
    L"删除文件:  ",      // removed
    L"修改文件: ",       // modified
    L"重命名文件:  ",    // renamed: old name, separator, new name
    L"变化丢失:  ",      // the system lost changes below this directory
};
constexpr wchar_t kSeparator[] = L";   ";

}  // namespace

std::optional<std::wstring> ChangeLogLine(int fileOperation, const std::wstring& fileName1,
                                          const std::wstring& fileName2) {
  if (fileOperation < 0 || fileOperation >= static_cast<int>(kPrefixes.size())) return std::nullopt;
  std::wstring line = kPrefixes[static_cast<size_t>(fileOperation)];
  line += fileName1;
  line += kSeparator;
  line += fileName2;
  return line;
}
