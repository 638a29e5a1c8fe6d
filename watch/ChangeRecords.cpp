#include "watch/ChangeRecords.h"

#include <algorithm>

namespace {

uint32_t ReadU32(std::span<const uint8_t> bytes, size_t offset) {
  return static_cast<uint32_t>(bytes[offset]) | static_cast<uint32_t>(bytes[offset + 1]) << 8 |
         static_cast<uint32_t>(bytes[offset + 2]) << 16 |
         static_cast<uint32_t>(bytes[offset + 3]) << 24;
}

// A NUL cannot be part of a file name; it is only padding. Blanks and other control
// characters can be (" a.txt" is a legal name), so they stay: the log shows names exactly.
bool IsPadding(char16_t c) { return c == 0; }

// The full name of a record's name bytes (little-endian UTF-16, even count, in bounds).
std::u16string FullName(std::span<const uint8_t> nameBytes, std::u16string_view directory) {
  const size_t units = nameBytes.size() / 2;
  size_t first = 0;
  size_t last = units;
  auto unitAt = [&](size_t i) {
    return static_cast<char16_t>(nameBytes[2 * i] | nameBytes[2 * i + 1] << 8);
  };
  while (first < last && IsPadding(unitAt(first))) ++first;
  while (last > first && IsPadding(unitAt(last - 1))) --last;
  if (first == last) return {};
  std::u16string full;
  full.reserve(directory.size() + (last - first));
  full.append(directory);
  for (size_t i = first; i < last; ++i) full.push_back(unitAt(i));
  return full;
}

}  // namespace

std::u16string WithTrailingBackslash(std::u16string_view directory) {
  std::u16string result(directory);
  if (result.empty() || result.back() != u'\\') result.push_back(u'\\');
  return result;
}

DecodedBatch DecodeChangeRecords(std::span<const uint8_t> buffer,
                                 std::u16string_view directory) {
  DecodedBatch batch;
  if (buffer.empty()) return batch;

  // Pairing state of this batch: the old name of a rename waits for its new name.
  TFileOperation pending = foAdded;
  bool pendingSet = false;
  std::u16string fileName1;

  size_t offset = 0;
  for (;;) {
    const size_t remaining = buffer.size() - offset;
    if (remaining < kRecordHeaderSize) {
      batch.status = RecordStatus::kMalformed;
      break;
    }
    const uint32_t next = ReadU32(buffer, offset);
    const uint32_t action = ReadU32(buffer, offset + 4);
    const uint32_t nameLength = ReadU32(buffer, offset + 8);
    if (nameLength > remaining - kRecordHeaderSize || nameLength % 2 != 0) {
      batch.status = RecordStatus::kMalformed;
      break;
    }
    ++batch.recordCount;
    std::u16string fullName =
        FullName(buffer.subspan(offset + kRecordHeaderSize, nameLength), directory);

    switch (action) {
      case kActionAdded:
      case kActionRemoved:
      case kActionModified: {
        pending = static_cast<TFileOperation>(action - 1);
        pendingSet = true;
        fileName1 = std::move(fullName);
        batch.changes.push_back({pending, fileName1, {}});
        break;
      }
      case kActionRenamedOldName:
        pending = foRenamed;
        pendingSet = true;
        fileName1 = std::move(fullName);
        break;
      case kActionRenamedNewName:
        if (pendingSet && pending == foRenamed)
          batch.changes.push_back({foRenamed, fileName1, std::move(fullName)});
        break;
      default:
        break;
    }

    if (next == 0) break;
    // Records never overlap and never run past the buffer; anything else ends the
    // batch, which also rules out loops (every step moves forward by a whole record).
    if (next < kRecordHeaderSize + nameLength || next > remaining) {
      batch.status = RecordStatus::kMalformed;
      break;
    }
    offset += next;
  }
  return batch;
}
