// Fuzz target: any bytes as one batch of change records. The decoder must stay inside the
// buffer, terminate, and only report names made of the directory and a name without NUL
// padding.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "watch/ChangeRecords.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::u16string directory = u"D:\\fuzz\\";
  const DecodedBatch batch = DecodeChangeRecords(std::span<const uint8_t>(data, size), directory);
  if (batch.recordCount > size / kRecordHeaderSize + 1) std::abort();
  for (const FileChange& c : batch.changes) {
    if (c.operation > foRenamed) std::abort();
    for (const std::u16string* name : {&c.fileName1, &c.fileName2}) {
      if (name->empty()) continue;
      if (name->size() <= directory.size() || name->compare(0, directory.size(), directory) != 0)
        std::abort();
      if (name->back() == 0 || (*name)[directory.size()] == 0) std::abort();
    }
    if (c.operation != foRenamed && !c.fileName2.empty()) std::abort();
  }
  return 0;
}
