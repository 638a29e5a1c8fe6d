// The watcher's value types: the kind of a reported change, the set of change kinds a
// watcher asks for and that set's translation into the system's FILE_NOTIFY_CHANGE_*
// mask, and the change event. Portable (no Windows header): the decoder and its native
// tests use them too.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>

#include "framework/TypInfo.h"

// What happened to a file or folder. Stored in one byte; a handler that knows only the
// first four values ignores the rest.
enum TFileOperation : uint8_t {
  foAdded = 0,     // FileName1: its full name
  foRemoved = 1,   // FileName1: its full name
  foModified = 2,  // FileName1: its full name
  foRenamed = 3,   // FileName1: old full name, FileName2: new full name
  foOverflow = 4,  // changes were lost; FileName1: the watched directory
};

// The change kinds a watcher can select, by ordinal (0 to 7), and a set of them (bit n
// for ordinal n); published under these identifiers.
FRAMEWORK_ENUM(TNotifyFilter, nfFileNameChange, nfDirNameChange, nfAttributeChange,
               nfSizeChange, nfWriteChange, nfAccessChange, nfCreationDateChange,
               nfSecurityChange)
using TNotifyFilters = TSetOf<TNotifyFilter>;

// The system's mask for a set of change kinds. The first seven members keep their bit
// value; nfSecurityChange is FILE_NOTIFY_CHANGE_SECURITY (0x100), since the system has
// no change kind at 0x80.
constexpr uint32_t FilterMask(TNotifyFilters filters) {
  uint32_t mask = static_cast<uint32_t>(filters.Bits() & 0x7Fu);
  if (filters.Contains(nfSecurityChange)) mask |= 0x100u;
  return mask;
}

// The change event: called on the GUI thread once per change. FileName2 is empty except
// for foRenamed; for foOverflow FileName1 is the watched directory.
using TFileDealMethod = std::function<void(TFileOperation FileOperation,
                                           const std::wstring& FileName1,
                                           const std::wstring& FileName2)>;
