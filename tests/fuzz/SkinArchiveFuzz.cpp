// Feeds arbitrary bytes to the skin reader twice: as an expanded archive (the parsing
// step alone) and as a whole skin file (expansion, then parsing). Every entry of an
// accepted archive is extracted.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "framework/Streams.h"
#include "skin/data/Lzh.h"
#include "skin/data/SkinArchive.h"

namespace {

void ExtractAll(const TSkinReader& reader) {
  TMemoryStream dest;
  for (const std::string& name : reader.Names()) reader.ExtractByName(name, dest);
  std::string fullName;
  reader.ExtractByPart(".ini", dest, fullName);
  for (int32_t i = 0; i < reader.EntryCount(); ++i) reader.ExtractByIndex(i, dest);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  TSkinReader reader;
  if (reader.LoadArchive(bytes)) ExtractAll(reader);

  // Large stated sizes spend the run in the expander (decoding zero bits past the end of
  // the input); they add nothing to the archive checks, so they are left out.
  constexpr int32_t kLargestExpandedSize = 16 * 1024;
  if (size >= 4 && static_cast<int32_t>(static_cast<uint32_t>(data[0]) |
                                        (static_cast<uint32_t>(data[1]) << 8) |
                                        (static_cast<uint32_t>(data[2]) << 16) |
                                        (static_cast<uint32_t>(data[3]) << 24)) >
                       kLargestExpandedSize) {
    return 0;
  }
  TMemoryStream skin(std::vector<uint8_t>(bytes.begin(), bytes.end()));
  try {
    if (reader.Load(skin)) ExtractAll(reader);
  } catch (const ElzhException&) {
    // Expander errors reach the caller by design.
  }
  return 0;
}
