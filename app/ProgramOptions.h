// The program's command line. Portable.
//
//   ptest.exe [--skin FILE | --skin=FILE]
//
// --skin starts the window with the skin file FILE instead of the skin stored in its
// layout. Anything else on the command line is ignored, as is a --skin without a file.
// When --skin is given more than once the last one counts.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct ProgramOptions {
  std::optional<std::wstring> skinFile;
};

// `arguments` without the program's own name.
ProgramOptions ParseProgramOptions(const std::vector<std::wstring>& arguments);
