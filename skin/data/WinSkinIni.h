// TQuickIni: the in-memory reader of a skin's INI description (unit WinSkinIni).
//
// Text is ANSI bytes. A line ends at CR, LF or CR LF (once); a NUL byte ends the text.
// Each line is trimmed (every byte of code 32 or below goes from both ends); empty lines
// and lines starting with ";" are dropped, the rest are the counted `Lines`. A counted
// line "[...]" is a section header; any other is a key line "key = value" (key trimmed
// and ASCII lower-cased, value trimmed; nothing else is stripped, so a ";" after a value
// stays in it). Key lines before the first header belong to no section.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "framework/Streams.h"

class TQuickIni {
 public:
  // A section header line (with its brackets) and its index in Lines().
  struct TSectionLine {
    std::string Text;
    int32_t LineIndex;
  };

  // Replaces everything with the text from the stream's position to its end. A null
  // stream leaves the reader unchanged.
  void LoadFromStream(TStream* Stream);

  // The value of the first line in the first section named `Section` (case-insensitive)
  // whose key equals `Key` (ASCII case-insensitive); `Default` when the section, the key
  // or the value is missing. An empty value hides later lines with the same key.
  std::string ReadString(std::string_view Section, std::string_view Key,
                         const std::string& Default) const;
  // ReadString, then "0x"/"0X" read as "$" (hexadecimal) and StrToIntDef.
  int32_t ReadInteger(std::string_view Section, std::string_view Key, int32_t Default) const;
  // Replaces the content of *Strings with the section names, brackets removed, in file
  // order (duplicates included). Null `Strings` throws EAssertionFailed.
  void GetSections(std::vector<std::string>* Strings) const;
  // Index in Lines() of the first header "[Section]" (compared as the system compares ANSI
  // text ignoring case; nothing inside the brackets is trimmed), or -1.
  int32_t SectionIndex(std::string_view Section) const;

  const std::vector<std::string>& Lines() const { return lines_; }
  const std::vector<TSectionLine>& Sections() const { return sections_; }

 private:
  // A counted line taken apart once at load, so queries do not re-parse.
  struct ParsedLine {
    bool isHeader;
    std::string key;
    std::string value;
  };

  std::vector<std::string> lines_;
  std::vector<ParsedLine> parsed_;
  std::vector<TSectionLine> sections_;
};
