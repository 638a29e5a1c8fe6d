// Fuzz target: the .bmp header checks on any bytes; an accepted file's rows lie in it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "framework/BmpFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TBmpInfo info;
  std::string error;
  if (ParseBmp(std::span<const uint8_t>(data, size), info, error)) {
    const size_t end = info.pixelOffset + info.stride * static_cast<size_t>(info.height);
    if (end > size) std::abort();
    volatile uint8_t sink = 0;
    for (size_t i = info.pixelOffset; i < end; i += 97) sink = static_cast<uint8_t>(sink ^ data[i]);
  }
  return 0;
}
