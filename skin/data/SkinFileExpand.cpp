#include "skin/data/SkinFileExpand.h"

#include <utility>

#include "skin/data/Lzh.h"

namespace {

// The decoder keeps up to 16 bits buffered, so a complete stream is read one byte past its
// end; a stream that is cut off is read further.
constexpr int64_t kReadAheadBytes = 1;

bool Fail(std::string* reason, std::string text) {
  if (reason != nullptr) *reason = std::move(text);
  return false;
}

}  // namespace

bool ExpandSkinFile(std::span<const uint8_t> file, std::vector<uint8_t>* archive,
                    std::string* reason) {
  if (file.size() < 4)
    return Fail(reason, "the file is " + std::to_string(file.size()) +
                            " bytes long, too short for a skin file");
  const auto size = static_cast<int32_t>(static_cast<uint32_t>(file[0]) |
                                         static_cast<uint32_t>(file[1]) << 8 |
                                         static_cast<uint32_t>(file[2]) << 16 |
                                         static_cast<uint32_t>(file[3]) << 24);
  if (size < 0) return Fail(reason, "its expanded size " + std::to_string(size) + " is negative");
  const int64_t limit = LzhMaxExpandedSize(static_cast<int64_t>(file.size()));
  if (size > limit)
    return Fail(reason, "its expanded size " + std::to_string(size) + " is impossible for " +
                            std::to_string(file.size()) + " bytes");

  int64_t asked = 0;
  std::vector<uint8_t> out = LzhExpandSkinStream(file, &asked);
  const auto streamBytes = static_cast<int64_t>(file.size()) - 4;
  if (asked > streamBytes + kReadAheadBytes)
    return Fail(reason, "it is cut off: its compressed data ends " +
                            std::to_string(asked - streamBytes - kReadAheadBytes) +
                            " byte(s) early");
  if (archive != nullptr) *archive = std::move(out);
  return true;
}
