// Builds buffers of directory-change records in the system's layout (see
// watch/ChangeRecords.h) for the decoding tests, the fuzz seeds and the benchmark.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

class RecordBuilder {
 public:
  // Appends one record and links the previous one to it (records start DWORD-aligned,
  // as the system lays them out).
  RecordBuilder& Add(uint32_t action, std::u16string_view name) {
    const size_t start = bytes_.size();
    if (haveLast_) Put32(last_, static_cast<uint32_t>(start - last_));
    last_ = start;
    haveLast_ = true;
    Append32(0);
    Append32(action);
    Append32(static_cast<uint32_t>(name.size() * 2));
    for (char16_t c : name) {
      bytes_.push_back(static_cast<uint8_t>(c & 0xFF));
      bytes_.push_back(static_cast<uint8_t>(c >> 8));
    }
    while (bytes_.size() % 4 != 0) bytes_.push_back(0);
    return *this;
  }

  // Overwrites a 32-bit field of the record that starts at `recordOffset`.
  RecordBuilder& Patch(size_t recordOffset, size_t field, uint32_t value) {
    Put32(recordOffset + field, value);
    return *this;
  }

  const std::vector<uint8_t>& Bytes() const { return bytes_; }

 private:
  void Append32(uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<uint8_t>(v >> (8 * i)));
  }
  void Put32(size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes_[at + i] = static_cast<uint8_t>(v >> (8 * i));
  }

  std::vector<uint8_t> bytes_;
  size_t last_ = 0;
  bool haveLast_ = false;
};
