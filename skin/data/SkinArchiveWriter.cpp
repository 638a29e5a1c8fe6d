#include "skin/data/SkinArchiveWriter.h"

#include <limits>

#include "framework/SysUtils.h"
#include "skin/data/LzhCompressor.h"
#include "skin/data/SkinArchive.h"

namespace {

void AppendInt32Le(std::vector<uint8_t>& out, int32_t value) {
  const auto v = static_cast<uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

}  // namespace

std::vector<uint8_t> BuildSkinArchive(std::span<const TSkinEntry> entries,
                                      const TSkinArchiveOptions& options) {
  const int32_t extra = SkinArchiveExtraSize(options.Version);
  if (extra < 0) {
    throw Exception("skin archive: unknown version " + std::to_string(options.Version) +
                    " (known: 20000, 30000, 40000, 50000)");
  }
  if (entries.size() > static_cast<size_t>(kSkinMaxEntries)) {
    throw Exception("skin archive: " + std::to_string(entries.size()) +
                    " entries; at most " + std::to_string(kSkinMaxEntries) + " fit");
  }
  constexpr auto kMaxSize = static_cast<uint64_t>(std::numeric_limits<int32_t>::max());
  std::string namesText;
  uint64_t dataSize = 0;
  for (size_t i = 0; i < entries.size(); ++i) {
    const TSkinEntry& entry = entries[i];
    // An empty name cannot be the last line (a trailing break starts no name) and a line
    // break or NUL would split or cut the names text.
    if (entry.Name.empty()) {
      throw Exception("skin archive: entry " + std::to_string(i) + " has an empty name");
    }
    if (entry.Name.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) {
      throw Exception("skin archive: the name of entry " + std::to_string(i) +
                      " holds a line break or NUL");
    }
    if (i > 0) namesText += "\r\n";
    namesText += entry.Name;
    dataSize += entry.Bytes.size();
    if (entry.Bytes.size() > kMaxSize || dataSize > kMaxSize) {
      throw Exception("skin archive: entry \"" + entry.Name + "\" makes the archive too large");
    }
  }
  const uint64_t total = kSkinArchiveHeaderSize + static_cast<uint64_t>(extra) +
                         namesText.size() + 4 * entries.size() + dataSize;
  if (namesText.size() > kMaxSize || total > kMaxSize) {
    throw Exception("skin archive: " + std::to_string(total) +
                    " bytes is more than a skin file can state");
  }

  std::vector<uint8_t> out;
  out.reserve(static_cast<size_t>(total));
  AppendInt32Le(out, options.Version);
  AppendInt32Le(out, static_cast<int32_t>(namesText.size()));
  AppendInt32Le(out, options.Reserved1);
  AppendInt32Le(out, options.Reserved2);
  out.insert(out.end(), static_cast<size_t>(extra), uint8_t{0});
  out.insert(out.end(), namesText.begin(), namesText.end());
  for (const TSkinEntry& entry : entries) {
    AppendInt32Le(out, static_cast<int32_t>(entry.Bytes.size()));
  }
  for (const TSkinEntry& entry : entries) {
    out.insert(out.end(), entry.Bytes.begin(), entry.Bytes.end());
  }
  return out;
}

std::vector<uint8_t> BuildSkinFile(std::span<const TSkinEntry> entries,
                                   const TSkinArchiveOptions& options) {
  return LzhCompress(BuildSkinArchive(entries, options));
}
