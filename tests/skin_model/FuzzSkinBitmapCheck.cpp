// Bitmap-file checks on arbitrary bytes: never a read outside the input; an accepted file
// promises pixel rows inside it.
#include <cstddef>
#include <cstdint>
#include <span>

#include "skin/data/SkinBitmapCheck.h"
#include "skin/data/SkinIniRules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  TSkinBitmapFacts facts;
  if (CheckSkinBitmapFile(bytes, &facts, nullptr)) {
    if (facts.Width <= 0 || facts.Height <= 0) __builtin_trap();
    if (int64_t{facts.Width} * facts.Height > kSkinBitmapMaxPixels) __builtin_trap();
  }
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (ParseColour(text) & ~0x00FFFFFF) __builtin_trap();
  (void)SkinBitmapEntryName(text);
  return 0;
}
