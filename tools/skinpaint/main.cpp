// skinpaint: draws the pictures of one of our skins into a folder, with its INI
// description, ready for `skinpack pack`; or composes a mock-up window from them.
//
//   skinpaint NAME OUTDIR           NAME: default or dark
//   skinpaint preview NAME FILE.bmp
//   skinpaint builtin OUTDIR        the program's built-in bitmaps (track grooves, menu
//                                   glyphs)
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "framework/Streams.h"
#include "framework/SysUtils.h"
#include "tools/skinpaint/BuiltinBitmaps.h"
#include "tools/skinpaint/SkinIni.h"
#include "tools/skinpaint/SkinPainter.h"
#include "tools/skinpaint/SkinPreview.h"

namespace {

int Usage() {
  std::fputs("usage: skinpaint NAME OUTDIR\n"
             "       skinpaint preview NAME FILE.bmp\n"
             "       skinpaint builtin OUTDIR\n"
             "NAME: default or dark\n",
             stderr);
  return 2;
}

const SkinStyle* StyleOrComplain(const std::string& name) {
  const SkinStyle* style = FindSkinStyle(name);
  if (style == nullptr) std::fprintf(stderr, "skinpaint: no skin called \"%s\"\n", name.c_str());
  return style;
}

std::string Join(const std::string& folder, const std::string& name) {
  if (!folder.empty() && (folder.back() == '/' || folder.back() == '\\')) return folder + name;
  return folder + "/" + name;
}

bool MakeFolder(const std::string& folder) {
  std::error_code error;
  std::filesystem::create_directories(std::u8string(folder.begin(), folder.end()), error);
  if (error) {
    std::fprintf(stderr, "skinpaint: cannot make %s: %s\n", folder.c_str(), error.message().c_str());
    return false;
  }
  return true;
}

int Paint(const std::string& name, const std::string& folder) {
  const SkinStyle* style = StyleOrComplain(name);
  if (style == nullptr) return 1;
  if (!MakeFolder(folder)) return 1;
  for (const SkinImage& image : PaintSkinImages(*style))
    WriteFileBytes(Join(folder, image.fileName), EncodeBmp(image.bitmap));
  const std::string_view ini = SkinIniText(name);
  WriteFileBytes(Join(folder, kSkinIniFileName),
                 std::span(reinterpret_cast<const uint8_t*>(ini.data()), ini.size()));
  return 0;
}

int PaintBuiltin(const std::string& folder) {
  if (!MakeFolder(folder)) return 1;
  for (const BuiltinBitmap& b : PaintBuiltinBitmaps())
    WriteFileBytes(Join(folder, b.fileName), EncodeIndexedBmp(b.bitmap));
  return 0;
}

int Preview(const std::string& name, const std::string& file) {
  const SkinStyle* style = StyleOrComplain(name);
  if (style == nullptr) return 1;
  WriteFileBytes(file, EncodeBmp(ComposePreview(SkinIniText(name), PaintSkinImages(*style))));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  try {
    if (args.size() == 2 && args[0] == "builtin") return PaintBuiltin(args[1]);
    if (args.size() == 2) return Paint(args[0], args[1]);
    if (args.size() == 3 && args[0] == "preview") return Preview(args[1], args[2]);
    return Usage();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skinpaint: %s\n", e.what());
    return 1;
  }
}
