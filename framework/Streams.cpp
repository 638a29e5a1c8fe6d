#include "framework/Streams.h"

#include <algorithm>
#include <cstring>

#include "framework/SysUtils.h"

int64_t TStream::Remaining() {
  const int64_t position = Position();
  return std::max<int64_t>(0, Size() - position);
}

void TStream::ReadBuffer(void* buffer, size_t count) {
  if (Read(buffer, count) != count) throw Exception("stream read error");
}

void TStream::WriteBuffer(const void* buffer, size_t count) {
  if (Write(buffer, count) != count) throw Exception("stream write error");
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
  if (count <= 0) count = source.Remaining();
  uint8_t chunk[16384];
  int64_t copied = 0;
  while (copied < count) {
    const auto want = static_cast<size_t>(std::min<int64_t>(count - copied, sizeof chunk));
    const size_t got = source.Read(chunk, want);
    if (got == 0) break;
    WriteBuffer(chunk, got);
    copied += static_cast<int64_t>(got);
  }
  return copied;
}

size_t TMemoryStream::Read(void* buffer, size_t count) {
  if (position_ >= bytes_.size()) return 0;
  const size_t n = std::min(count, bytes_.size() - position_);
  std::memcpy(buffer, bytes_.data() + position_, n);
  position_ += n;
  return n;
}

size_t TMemoryStream::Write(const void* buffer, size_t count) {
  if (count == 0) return 0;
  if (position_ + count > bytes_.size()) bytes_.resize(position_ + count);
  std::memcpy(bytes_.data() + position_, buffer, count);
  position_ += count;
  return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  int64_t base = 0;
  if (origin == TSeekOrigin::soCurrent) base = static_cast<int64_t>(position_);
  if (origin == TSeekOrigin::soEnd) base = static_cast<int64_t>(bytes_.size());
  position_ = static_cast<size_t>(std::max<int64_t>(0, base + offset));
  return static_cast<int64_t>(position_);
}

void TMemoryStream::Clear() {
  bytes_.clear();
  position_ = 0;
}

void TMemoryStream::SetSize(int64_t size) {
  bytes_.resize(static_cast<size_t>(std::max<int64_t>(0, size)));
  position_ = std::min(position_, bytes_.size());
}

void TMemoryStream::LoadFromStream(TStream& source) {
  Clear();
  source.SetPosition(0);
  CopyFrom(source, 0);
  position_ = 0;
}

namespace {

std::FILE* OpenFile(const std::string& fileName, const char* mode) {
#ifdef _WIN32
  const std::wstring wideMode(mode, mode + std::strlen(mode));
  return _wfopen(Utf8ToWide(fileName).c_str(), wideMode.c_str());
#else
  return std::fopen(fileName.c_str(), mode);
#endif
}

}  // namespace

TFileStream::TFileStream(const std::string& fileName, TFileMode mode) {
  file_ = OpenFile(fileName, mode == TFileMode::fmCreate ? "wb+" : "rb");
  if (!file_) {
    throw Exception((mode == TFileMode::fmCreate ? "cannot create file " : "cannot open file ") +
                    fileName);
  }
}

TFileStream::~TFileStream() {
  if (file_) std::fclose(file_);
}

size_t TFileStream::Read(void* buffer, size_t count) { return std::fread(buffer, 1, count, file_); }

size_t TFileStream::Write(const void* buffer, size_t count) {
  return std::fwrite(buffer, 1, count, file_);
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
  const int whence = origin == TSeekOrigin::soBeginning ? SEEK_SET
                     : origin == TSeekOrigin::soCurrent ? SEEK_CUR
                                                        : SEEK_END;
#ifdef _WIN32
  if (_fseeki64(file_, offset, whence) != 0) _fseeki64(file_, 0, SEEK_SET);
  return _ftelli64(file_);
#else
  if (fseeko(file_, offset, whence) != 0) fseeko(file_, 0, SEEK_SET);
  return ftello(file_);
#endif
}

int64_t TFileStream::Size() {
  const int64_t position = Position();
  const int64_t size = Seek(0, TSeekOrigin::soEnd);
  Seek(position, TSeekOrigin::soBeginning);
  return size;
}

std::vector<uint8_t> ReadFileBytes(const std::string& fileName) {
  TFileStream file(fileName, TFileMode::fmOpenRead);
  std::vector<uint8_t> bytes(static_cast<size_t>(file.Size()));
  if (!bytes.empty() && file.Read(bytes.data(), bytes.size()) != bytes.size()) {
    throw Exception("cannot read file " + fileName);
  }
  return bytes;
}

void WriteFileBytes(const std::string& fileName, std::span<const uint8_t> bytes) {
  TFileStream file(fileName, TFileMode::fmCreate);
  if (!bytes.empty() && file.Write(bytes.data(), bytes.size()) != bytes.size()) {
    throw Exception("cannot write file " + fileName);
  }
}
