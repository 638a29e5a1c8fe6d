// The watcher's value types: the kind of a reported change, the set of change kinds a
// watcher asks for, and that set's translation into the system's FILE_NOTIFY_CHANGE_*
// mask. Portable (no Windows header): the decoder and its native tests use them too.
#pragma once

#include <cstdint>
#include <initializer_list>

// What happened to a file or folder. Stored in one byte; a handler that knows only the
// first four values ignores the rest.
enum TFileOperation : uint8_t {
  foAdded = 0,     // FileName1: its full name
  foRemoved = 1,   // FileName1: its full name
  foModified = 2,  // FileName1: its full name
  foRenamed = 3,   // FileName1: old full name, FileName2: new full name
  foOverflow = 4,  // changes were lost; FileName1: the watched directory
};

// The change kinds a watcher can select, by ordinal.
enum TNotifyFilter : uint8_t {
  nfFileNameChange = 0,
  nfDirNameChange = 1,
  nfAttributeChange = 2,
  nfSizeChange = 3,
  nfWriteChange = 4,
  nfAccessChange = 5,
  nfCreationDateChange = 6,
  nfSecurityChange = 7,
};

// A set of TNotifyFilter in one byte: bit n stands for ordinal n.
class TNotifyFilters {
 public:
  constexpr TNotifyFilters() = default;
  constexpr TNotifyFilters(std::initializer_list<TNotifyFilter> members) {
    for (TNotifyFilter m : members) bits_ = static_cast<uint8_t>(bits_ | Bit(m));
  }
  static constexpr TNotifyFilters FromBits(uint8_t bits) {
    TNotifyFilters s;
    s.bits_ = bits;
    return s;
  }

  constexpr uint8_t Bits() const { return bits_; }
  constexpr bool Contains(TNotifyFilter m) const { return (bits_ & Bit(m)) != 0; }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr void Include(TNotifyFilter m) { bits_ = static_cast<uint8_t>(bits_ | Bit(m)); }
  constexpr void Exclude(TNotifyFilter m) { bits_ = static_cast<uint8_t>(bits_ & ~Bit(m)); }
  friend constexpr bool operator==(TNotifyFilters, TNotifyFilters) = default;

 private:
  static constexpr uint8_t Bit(TNotifyFilter m) { return static_cast<uint8_t>(1u << m); }
  uint8_t bits_ = 0;
};

// The system's mask for a set of change kinds. The first seven members keep their bit
// value; nfSecurityChange is FILE_NOTIFY_CHANGE_SECURITY (0x100), since the system has
// no change kind at 0x80.
constexpr uint32_t FilterMask(TNotifyFilters filters) {
  uint32_t mask = filters.Bits() & 0x7Fu;
  if (filters.Contains(nfSecurityChange)) mask |= 0x100u;
  return mask;
}
