// skinpack: makes, unpacks and lists skin files, and compresses or expands raw LZHUF
// streams (4-byte little-endian size, then the bit stream).
//
// Archive entry names are the skin's own text (ANSI bytes, matched against its INI):
// on Linux the file names' bytes are used as they are; on Windows file names are
// converted to and from the ANSI code page. Exit status: 0 done, 1 bad input or a file
// that cannot be read or written, 2 bad usage.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include "framework/Streams.h"
#include "framework/SysUtils.h"
#include "skin/data/Lzh.h"
#include "skin/data/LzhCompressor.h"
#include "skin/data/SkinArchive.h"
#include "skin/data/SkinArchiveWriter.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;

namespace {

constexpr char kUsage[] =
    "usage: skinpack pack FOLDER FILE [--version N]\n"
    "         pack the regular files of FOLDER, sorted by name, into the skin file FILE\n"
    "         (archive version N: 20000 (default), 30000, 40000 or 50000)\n"
    "       skinpack unpack FILE FOLDER\n"
    "         write every entry of the skin file FILE into FOLDER\n"
    "       skinpack list FILE\n"
    "         print the archive version, then each entry's size and name\n"
    "       skinpack compress IN OUT\n"
    "       skinpack expand IN OUT\n"
    "         make or expand a raw LZHUF stream (4-byte size, then the bit stream)\n";

// Bad usage (exit 2) and bad input (exit 1), each with the text to print.
struct UsageError {
  std::string message;
};
struct InputError {
  std::string message;
};

// --- Text conversions at the edges -----------------------------------------------------

#ifdef _WIN32
std::string WideToCodePage(const std::wstring& text, UINT codePage, bool* lossy) {
  if (text.empty()) return {};
  BOOL usedDefault = FALSE;
  const bool strict = codePage != CP_UTF8;
  const int length = WideCharToMultiByte(codePage, strict ? WC_NO_BEST_FIT_CHARS : 0,
                                         text.data(), static_cast<int>(text.size()), nullptr,
                                         0, nullptr, strict ? &usedDefault : nullptr);
  std::string out(static_cast<size_t>(std::max(length, 0)), '\0');
  if (length > 0) {
    WideCharToMultiByte(codePage, strict ? WC_NO_BEST_FIT_CHARS : 0, text.data(),
                        static_cast<int>(text.size()), out.data(), length, nullptr,
                        strict ? &usedDefault : nullptr);
  }
  if (lossy) *lossy = length <= 0 || usedDefault;
  return out;
}

std::wstring AnsiToWide(const std::string& text) {
  if (text.empty()) return {};
  const int length =
      MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(std::max(length, 0)), L'\0');
  if (length > 0) {
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(),
                        length);
  }
  return out;
}
#endif

fs::path PathFromUtf8(const std::string& text) {
#ifdef _WIN32
  return fs::path(Utf8ToWide(text));
#else
  return fs::path(text);
#endif
}

std::string PathToUtf8(const fs::path& path) {
#ifdef _WIN32
  return WideToUtf8(path.native());
#else
  return path.native();
#endif
}

// The archive name of a file in the folder being packed; throws InputError when the name
// has no ANSI form.
std::string EntryNameOf(const fs::path& file) {
#ifdef _WIN32
  bool lossy = false;
  std::string name = WideToCodePage(file.filename().native(), CP_ACP, &lossy);
  if (lossy) {
    throw InputError{PathToUtf8(file) + ": the file name has no form in the ANSI code page"};
  }
  return name;
#else
  return file.filename().native();
#endif
}

fs::path FileNameOf(const std::string& entryName) {
#ifdef _WIN32
  return fs::path(AnsiToWide(entryName));
#else
  return fs::path(entryName);
#endif
}

// Messages are UTF-8 inside; a Windows console shows the ANSI code page.
void PrintTo(std::FILE* out, const std::string& text) {
#ifdef _WIN32
  const std::string shown = WideToCodePage(Utf8ToWide(text), CP_ACP, nullptr);
  std::fwrite(shown.data(), 1, shown.size(), out);
#else
  std::fwrite(text.data(), 1, text.size(), out);
#endif
}

// Entry names are ANSI bytes already; shown as they are.
std::string ShownEntryName(const std::string& name) {
#ifdef _WIN32
  return WideToUtf8(AnsiToWide(name));
#else
  return name;
#endif
}

// --- Shared steps ------------------------------------------------------------------------

std::vector<uint8_t> ReadInput(const std::string& fileName) {
  try {
    return ReadFileBytes(fileName);
  } catch (const Exception& e) {
    throw InputError{e.what()};
  }
}

void WriteOutput(const std::string& fileName, std::span<const uint8_t> bytes) {
  try {
    WriteFileBytes(fileName, bytes);
  } catch (const Exception& e) {
    throw InputError{e.what()};
  }
}

// Loads a skin file into `reader` or throws InputError saying why it cannot be read.
void LoadSkin(const std::string& fileName, TSkinReader& reader) {
  TMemoryStream skin(ReadInput(fileName));
  bool loaded = false;
  try {
    loaded = reader.Load(skin);
  } catch (const Exception& e) {
    throw InputError{fileName + ": " + e.what()};
  }
  if (loaded) return;
  std::string message = fileName + ": " + reader.LastError();
  if (reader.LastStatus() == TSkinLoadStatus::slUnknownVersion) {
    std::string older = kOlderSkinFileText;
    std::replace(older.begin(), older.end(), '\r', ' ');
    message += "\n" + older;
  }
  throw InputError{message};
}

// Why an entry name cannot be a file name inside the target folder, or "".
std::string UnsafeNameReason(const std::string& name) {
  if (name.empty()) return "is empty";
  if (name == "." || name == "..") return "would escape the folder";
  for (char c : name) {
    if (c == '/' || c == '\\' || c == ':') return "would escape the folder (it holds '/', '\\' or ':')";
    if (static_cast<unsigned char>(c) < 32) return "holds a control character";
  }
#ifdef _WIN32
  // Windows opens a device, not a file, for these names whatever their extension.
  std::string stem = name.substr(0, name.find('.'));
  for (char& c : stem) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  const bool numbered = stem.size() == 4 && stem[3] >= '1' && stem[3] <= '9' &&
                        (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0);
  if (stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL" || numbered) {
    return "names a Windows device";
  }
#endif
  return "";
}

// --- Commands --------------------------------------------------------------------------

int Pack(const std::string& folder, const std::string& fileName, int32_t version) {
  const fs::path folderPath = PathFromUtf8(folder);
  std::error_code error;
  if (!fs::is_directory(folderPath, error)) throw InputError{folder + ": not a folder"};
  const fs::path outputPath = PathFromUtf8(fileName);

  std::map<std::string, fs::path> files;  // sorted by entry name (bytes)
  std::map<std::string, std::string> lowerNames;
  fs::directory_iterator it(folderPath, error);
  if (error) throw InputError{folder + ": cannot list the folder: " + error.message()};
  for (; it != fs::directory_iterator(); it.increment(error)) {
    if (error) throw InputError{folder + ": cannot list the folder: " + error.message()};
    std::error_code fileError;
    if (!it->is_regular_file(fileError)) continue;
    // Packing into the folder itself must not take in an older copy of the output.
    if (fs::exists(outputPath, fileError) && fs::equivalent(it->path(), outputPath, fileError)) {
      continue;
    }
    const std::string name = EntryNameOf(it->path());
    std::string lower = name;
    for (char& c : lower) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    // Readers match names ignoring case; a second spelling could never be found.
    if (const auto seen = lowerNames.find(lower); seen != lowerNames.end()) {
      throw InputError{folder + ": the files \"" + ShownEntryName(seen->second) + "\" and \"" +
                       ShownEntryName(name) + "\" have the same entry name ignoring case"};
    }
    lowerNames.emplace(lower, name);
    files.emplace(name, it->path());
  }
  if (error) throw InputError{folder + ": cannot list the folder: " + error.message()};

  std::vector<TSkinEntry> entries;
  for (const auto& [name, path] : files) entries.push_back({name, ReadInput(PathToUtf8(path))});
  // The skin component takes the first entry whose lower-case name contains ".ini".
  const bool hasIni = std::any_of(lowerNames.begin(), lowerNames.end(), [](const auto& item) {
    return item.first.find(".ini") != std::string::npos;
  });
  if (!hasIni) PrintTo(stderr, "skinpack: warning: " + folder + " holds no .ini description\n");

  TSkinArchiveOptions options;
  options.Version = version;
  std::vector<uint8_t> skin;
  try {
    skin = BuildSkinFile(entries, options);
  } catch (const Exception& e) {
    throw InputError{folder + ": " + e.what()};
  }
  WriteOutput(fileName, skin);
  PrintTo(stdout, "packed " + std::to_string(entries.size()) + " entries into " + fileName +
                      " (version " + std::to_string(version) + ", " +
                      std::to_string(skin.size()) + " bytes)\n");
  return 0;
}

int Unpack(const std::string& fileName, const std::string& folder) {
  TSkinReader reader;
  LoadSkin(fileName, reader);
  const std::vector<std::string>& names = reader.Names();
  // Check every name before writing anything.
  for (size_t i = 0; i < names.size(); ++i) {
    const std::string reason = UnsafeNameReason(names[i]);
    if (!reason.empty()) {
      throw InputError{fileName + ": the name of entry " + std::to_string(i) + " (\"" +
                       ShownEntryName(names[i]) + "\") " + reason + "; nothing was unpacked"};
    }
  }
  const fs::path folderPath = PathFromUtf8(folder);
  std::error_code error;
  fs::create_directories(folderPath, error);
  if (!fs::is_directory(folderPath, error)) throw InputError{folder + ": cannot make the folder"};

  std::set<std::string> written;
  TMemoryStream entry;
  for (size_t i = 0; i < names.size(); ++i) {
    const std::string shown = ShownEntryName(names[i]);
    if (!written.insert(names[i]).second) {
      PrintTo(stderr, "skinpack: warning: " + fileName + ": entry " + std::to_string(i) +
                          " repeats the name \"" + shown + "\"; readers see only the first, skipped\n");
      continue;
    }
    reader.ExtractByIndex(static_cast<int32_t>(i), entry);
    const int64_t stated = reader.Sizes()[i];
    if (entry.Size() < stated) {
      PrintTo(stderr, "skinpack: warning: " + fileName + ": entry \"" + shown + "\" states " +
                          std::to_string(stated) + " bytes but only " +
                          std::to_string(entry.Size()) + " are present\n");
    }
    WriteOutput(PathToUtf8(folderPath / FileNameOf(names[i])), entry.Bytes());
  }
  PrintTo(stdout, "unpacked " + std::to_string(written.size()) + " entries into " + folder + "\n");
  return 0;
}

int List(const std::string& fileName) {
  TSkinReader reader;
  LoadSkin(fileName, reader);
  std::string out = "version " + std::to_string(reader.ArchiveHeader().Version) + "\n";
  for (int32_t i = 0; i < reader.EntryCount(); ++i) {
    char size[32];
    std::snprintf(size, sizeof size, "%10d  ", reader.Sizes()[static_cast<size_t>(i)]);
    out += size + ShownEntryName(reader.Names()[static_cast<size_t>(i)]) + "\n";
  }
  PrintTo(stdout, out);
  return 0;
}

int Compress(const std::string& input, const std::string& output) {
  const std::vector<uint8_t> bytes = ReadInput(input);
  if (bytes.size() > static_cast<size_t>(INT32_MAX)) {
    throw InputError{input + ": too large for a 32-bit stream size"};
  }
  WriteOutput(output, LzhCompress(bytes));
  return 0;
}

int Expand(const std::string& input, const std::string& output) {
  const std::vector<uint8_t> bytes = ReadInput(input);
  if (bytes.size() < 4) {
    throw InputError{input + ": " + std::to_string(bytes.size()) +
                     " bytes; a stream starts with a 4-byte size"};
  }
  const auto stated = static_cast<int32_t>(static_cast<uint32_t>(bytes[0]) |
                                           (static_cast<uint32_t>(bytes[1]) << 8) |
                                           (static_cast<uint32_t>(bytes[2]) << 16) |
                                           (static_cast<uint32_t>(bytes[3]) << 24));
  if (stated < 0) throw InputError{input + ": the size " + std::to_string(stated) + " at offset 0 is negative"};
  const int64_t limit = LzhMaxExpandedSize(static_cast<int64_t>(bytes.size()));
  if (stated > limit) {
    throw InputError{input + ": the size " + std::to_string(stated) + " at offset 0 is impossible for " +
                     std::to_string(bytes.size()) + " bytes (at most " + std::to_string(limit) + ")"};
  }
  std::vector<uint8_t> expanded;
  try {
    expanded = LzhExpandSkinStream(bytes);
  } catch (const Exception& e) {
    throw InputError{input + ": " + e.what()};
  }
  WriteOutput(output, expanded);
  return 0;
}

int32_t ParseVersion(const std::string& text) {
  const int32_t version = StrToIntDef(text, -1);
  if (SkinArchiveExtraSize(version) < 0) {
    throw UsageError{"unknown archive version \"" + text + "\" (20000, 30000, 40000 or 50000)"};
  }
  return version;
}

int Run(const std::vector<std::string>& args) {
  if (args.empty()) throw UsageError{"no command"};
  const std::string& command = args[0];
  const size_t operands = args.size() - 1;
  if (command == "pack") {
    if (operands == 2) return Pack(args[1], args[2], 20000);
    if (operands == 4 && args[3] == "--version") return Pack(args[1], args[2], ParseVersion(args[4]));
    throw UsageError{"pack takes FOLDER FILE [--version N]"};
  }
  if (command == "unpack" || command == "compress" || command == "expand") {
    if (operands != 2) throw UsageError{command + " takes two file names"};
    if (command == "unpack") return Unpack(args[1], args[2]);
    if (command == "compress") return Compress(args[1], args[2]);
    return Expand(args[1], args[2]);
  }
  if (command == "list") {
    if (operands != 1) throw UsageError{"list takes one file name"};
    return List(args[1]);
  }
  if (command == "--help" || command == "-h" || command == "help") {
    PrintTo(stdout, kUsage);
    return 0;
  }
  throw UsageError{"unknown command \"" + command + "\""};
}

int Main(const std::vector<std::string>& args) {
  try {
    return Run(args);
  } catch (const UsageError& e) {
    PrintTo(stderr, "skinpack: " + e.message + "\n" + kUsage);
    return 2;
  } catch (const InputError& e) {
    PrintTo(stderr, "skinpack: " + e.message + "\n");
    return 1;
  } catch (const std::exception& e) {
    PrintTo(stderr, std::string("skinpack: ") + e.what() + "\n");
    return 1;
  }
}

}  // namespace

#ifdef _WIN32
// Wide arguments, so that any file name reaches the tool intact (UTF-8 inside).
int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(WideToUtf8(argv[i]));
  return Main(args);
}
#else
int main(int argc, char** argv) { return Main(std::vector<std::string>(argv + 1, argv + argc)); }
#endif
