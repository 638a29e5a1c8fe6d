// skininfo: prints the element model built from a skin file as JSON (README.md, "Skin
// files").
//
//   skininfo FILE.skn
//
// Exit status 0 with the JSON on standard output; 1 with the reason on standard error when
// the file cannot be read or is no usable skin; 2 for wrong arguments.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cstdio>
#include <exception>
#include <string>

#include "framework/Streams.h"
#include "framework/SysUtils.h"
#include "skin/data/WinSkinData.h"
#include "tools/skininfo/SkinInfoJson.h"

namespace {

void PrintError(const std::wstring& text) {
  std::string line = WideToUtf8(text);
  for (char& c : line)
    if (c == '\r') c = '\n';
  std::fprintf(stderr, "skininfo: %s\n", line.c_str());
}

int Run(const std::wstring& path) {
  TSkinData data(nullptr);
  SetSkinMessageSink(PrintError);
  try {
    data.SkinStream->Buffer() = ReadFileBytes(WideToUtf8(path));
  } catch (const std::exception& e) {
    PrintError(Utf8ToWide(e.what()));
    return 1;
  }
  if (!data.LoadSkin()) return 1;
  const std::string json = SkinModelToJson(data, data.SkinWarnings());
  std::fwrite(json.data(), 1, json.size(), stdout);
  return 0;
}

}  // namespace

int main() {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv == nullptr || argc != 2) {
    std::fputs("usage: skininfo FILE.skn\n", stderr);
    if (argv != nullptr) LocalFree(argv);
    return 2;
  }
  const std::wstring path = argv[1];
  LocalFree(argv);
  // JSON with plain line feeds.
  _setmode(_fileno(stdout), _O_BINARY);
  try {
    return Run(path);
  } catch (const std::exception& e) {
    PrintError(Utf8ToWide(e.what()));
    return 1;
  }
}
