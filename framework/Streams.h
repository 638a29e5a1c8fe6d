// Byte streams of the framework: the abstract TStream, the growable TMemoryStream and the
// file-backed TFileStream. Portable (no Windows header). Positions and sizes are 64-bit;
// reads past the end deliver fewer bytes, never fail.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream {
 public:
  virtual ~TStream() = default;
  TStream() = default;
  TStream(const TStream&) = delete;
  TStream& operator=(const TStream&) = delete;

  // Moves up to `count` bytes; returns how many were moved.
  virtual size_t Read(void* buffer, size_t count) = 0;
  virtual size_t Write(const void* buffer, size_t count) = 0;
  // Returns the new position; a target before 0 is clamped to 0.
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;
  virtual int64_t Size() = 0;

  int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
  void SetPosition(int64_t position) { Seek(position, TSeekOrigin::soBeginning); }
  // Bytes from the position to the end.
  int64_t Remaining();
  // Reads exactly `count` bytes or throws Exception ("stream read error").
  void ReadBuffer(void* buffer, size_t count);
  // Writes exactly `count` bytes or throws Exception ("stream write error").
  void WriteBuffer(const void* buffer, size_t count);
  // Copies `count` bytes (all remaining bytes when 0) from `source`; returns the count.
  int64_t CopyFrom(TStream& source, int64_t count);
};

class TMemoryStream : public TStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}

  size_t Read(void* buffer, size_t count) override;
  size_t Write(const void* buffer, size_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return static_cast<int64_t>(bytes_.size()); }

  void Clear();
  void SetSize(int64_t size);
  const uint8_t* Memory() const { return bytes_.data(); }
  std::span<const uint8_t> Bytes() const { return bytes_; }
  std::vector<uint8_t>& Buffer() { return bytes_; }
  void LoadFromStream(TStream& source);

 private:
  std::vector<uint8_t> bytes_;
  size_t position_ = 0;
};

enum class TFileMode { fmOpenRead, fmCreate };

// A file opened for reading or created (truncated) for writing. The name is UTF-8 on
// Linux and converted to UTF-16 on Windows, so any file name works.
class TFileStream : public TStream {
 public:
  // Throws Exception naming the file when it cannot be opened.
  TFileStream(const std::string& fileName, TFileMode mode);
  ~TFileStream() override;

  size_t Read(void* buffer, size_t count) override;
  size_t Write(const void* buffer, size_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override;

 private:
  std::FILE* file_ = nullptr;
};

// Reads a whole file; throws Exception naming the file when it cannot be read.
std::vector<uint8_t> ReadFileBytes(const std::string& fileName);
// Writes a whole file; throws Exception naming the file when it cannot be written.
void WriteFileBytes(const std::string& fileName, std::span<const uint8_t> bytes);
