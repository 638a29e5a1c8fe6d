#include "skin/data/WinSkinIni.h"

#include <utility>

#include "framework/SysUtils.h"
#include "skin/data/AnsiText.h"

namespace {

bool IsTrimmed(char c) { return static_cast<unsigned char>(c) <= 32; }

std::string_view Trim(std::string_view text) {
  size_t first = 0;
  size_t last = text.size();
  while (first < last && IsTrimmed(text[first])) ++first;
  while (last > first && IsTrimmed(text[last - 1])) --last;
  return text.substr(first, last - first);
}

std::string AsciiLower(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

bool IsHeader(std::string_view line) {
  return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

}  // namespace

void TQuickIni::LoadFromStream(TStream* Stream) {
  if (Stream == nullptr) return;
  const int64_t remaining = Stream->Remaining();
  std::string text(static_cast<size_t>(remaining), '\0');
  text.resize(Stream->Read(text.data(), text.size()));
  // The text ends at the first NUL byte.
  if (const size_t nul = text.find('\0'); nul != std::string::npos) text.resize(nul);

  std::vector<std::string> lines;
  std::vector<ParsedLine> parsed;
  std::vector<TSectionLine> sections;
  auto addLine = [&](std::string_view raw) {
    const std::string_view line = Trim(raw);
    if (line.empty() || line.front() == ';') return;
    if (IsHeader(line)) {
      sections.push_back({std::string(line), static_cast<int32_t>(lines.size())});
      parsed.push_back({true, {}, {}});
    } else {
      // Without "=" the key is empty, and so is the value (there is no text after it).
      const size_t equals = line.find('=');
      if (equals == std::string_view::npos) {
        parsed.push_back({false, {}, {}});
      } else {
        parsed.push_back({false, AsciiLower(Trim(line.substr(0, equals))),
                          std::string(Trim(line.substr(equals + 1)))});
      }
    }
    lines.emplace_back(line);
  };

  size_t start = 0;
  size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c != '\r' && c != '\n') {
      ++i;
      continue;
    }
    addLine(std::string_view(text).substr(start, i - start));
    // CR LF is one line end; LF CR is two.
    i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
    start = i;
  }
  if (start < text.size()) addLine(std::string_view(text).substr(start));

  lines_ = std::move(lines);
  parsed_ = std::move(parsed);
  sections_ = std::move(sections);
}

int32_t TQuickIni::SectionIndex(std::string_view Section) const {
  std::string wanted;
  wanted.reserve(Section.size() + 2);
  wanted.append("[").append(Section).append("]");
  for (const TSectionLine& section : sections_) {
    if (AnsiSameTextIgnoreCase(section.Text, wanted)) return section.LineIndex;
  }
  return -1;
}

std::string TQuickIni::ReadString(std::string_view Section, std::string_view Key,
                                  const std::string& Default) const {
  if (lines_.empty()) return Default;
  const int32_t header = SectionIndex(Section);
  if (header < 0) return Default;
  const std::string key = AsciiLower(Key);
  for (size_t i = static_cast<size_t>(header) + 1; i < parsed_.size(); ++i) {
    const ParsedLine& line = parsed_[i];
    if (line.isHeader) break;
    if (line.key != key) continue;
    return line.value.empty() ? Default : line.value;
  }
  return Default;
}

int32_t TQuickIni::ReadInteger(std::string_view Section, std::string_view Key,
                               int32_t Default) const {
  std::string text = ReadString(Section, Key, std::string());
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.replace(0, 2, "$");
  }
  return StrToIntDef(text, Default);
}

void TQuickIni::GetSections(std::vector<std::string>* Strings) const {
  if (Strings == nullptr) throw EAssertionFailed("The parameter Strings is unassigned!");
  Strings->clear();
  Strings->reserve(sections_.size());
  for (const TSectionLine& section : sections_) {
    std::string_view name = Trim(section.Text);
    // Drop the brackets (the first and the last character).
    name = name.size() >= 2 ? name.substr(1, name.size() - 2) : std::string_view();
    Strings->emplace_back(Trim(name));
  }
}
