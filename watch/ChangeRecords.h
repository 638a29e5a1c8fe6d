// Decoding of one batch of directory-change records (the FILE_NOTIFY_INFORMATION records
// that one completed ReadDirectoryChangesW read leaves in its buffer) into the changes a
// watcher reports. Portable: names are UTF-16 code units kept exactly as the system gave
// them (std::u16string; the Windows side copies them into wchar_t text unchanged).
//
// Record layout (all fields little-endian, every record starts on the offset that the
// previous record's NextEntryOffset names; the first at offset 0):
//   offset 0  uint32  NextEntryOffset  bytes from this record to the next; 0 = last
//   offset 4  uint32  Action           1 added, 2 removed, 3 modified,
//                                      4 renamed (old name), 5 renamed (new name)
//   offset 8  uint32  FileNameLength   length of FileName in bytes
//   offset 12 UTF-16  FileName         path relative to the watched directory, no zero
//
// Bad input never makes the decoder read outside the buffer: a record whose header or
// name does not fit, whose name has an odd byte count, or whose NextEntryOffset points
// past the end or back into its own bytes ends the batch there. The records before it are
// kept and the result says the batch was malformed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "watch/WatchTypes.h"

// One reported change; FileName2 is empty unless the operation is foRenamed.
struct FileChange {
  TFileOperation operation = foAdded;
  std::u16string fileName1;
  std::u16string fileName2;
  friend bool operator==(const FileChange&, const FileChange&) = default;
};

// FILE_ACTION_* values of the Action field.
inline constexpr uint32_t kActionAdded = 1;
inline constexpr uint32_t kActionRemoved = 2;
inline constexpr uint32_t kActionModified = 3;
inline constexpr uint32_t kActionRenamedOldName = 4;
inline constexpr uint32_t kActionRenamedNewName = 5;

inline constexpr size_t kRecordHeaderSize = 12;

enum class RecordStatus {
  kOk,         // every record was read (an empty buffer is ok and yields nothing)
  kMalformed,  // decoding stopped at a record that breaks the layout
};

struct DecodedBatch {
  std::vector<FileChange> changes;
  RecordStatus status = RecordStatus::kOk;
  size_t recordCount = 0;  // records read, including those that raised nothing
};

// The directory as the watcher joins names to it: with a trailing backslash added unless
// its last character already is one ("D:\" stays "D:\", "C:\data" becomes "C:\data\").
std::u16string WithTrailingBackslash(std::u16string_view directory);

// Decodes one batch. `directory` must already end in a backslash (WithTrailingBackslash).
// A record's full name is `directory` followed by its name with leading and trailing NUL
// code units removed (everything else stays, blanks included), or empty when nothing
// remains. Actions 1 to 3 raise
// one change each. A new-name record (5) raises foRenamed with the old name of the most
// recent old-name record (4) of this batch, but only when no added, removed or modified
// record came between them; otherwise it is dropped. Other actions raise nothing. An
// all-zero buffer is one record with action 0 and yields nothing.
DecodedBatch DecodeChangeRecords(std::span<const uint8_t> buffer,
                                 std::u16string_view directory);
