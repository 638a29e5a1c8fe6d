// Fuzz target: the stored layout parser and the text formatter on any bytes.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "framework/LayoutParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    const TLayoutObject tree = ParseLayout(std::string_view(reinterpret_cast<const char*>(data), size));
    // What parses must format and parse again.
    ParseLayout(FormatLayout(tree));
  } catch (const ELayoutError&) {
  }
  return 0;
}
