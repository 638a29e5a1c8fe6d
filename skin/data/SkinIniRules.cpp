#include "skin/data/SkinIniRules.h"

int32_t MakeSkinColour(int32_t red, int32_t green, int32_t blue) {
  const auto low = [](int32_t v) { return static_cast<uint32_t>(v) & 0xFFu; };
  return static_cast<int32_t>(low(red) | low(green) << 8 | low(blue) << 16);
}

namespace {

// Removes every byte of code 32 or below from both ends.
std::string_view TrimText(std::string_view text) {
  size_t first = 0;
  size_t last = text.size();
  while (first < last && static_cast<unsigned char>(text[first]) <= 32) ++first;
  while (last > first && static_cast<unsigned char>(text[last - 1]) <= 32) --last;
  return text.substr(first, last - first);
}

}  // namespace

int32_t ParseColour(std::string_view text) {
  // Trimming matters: a number followed by a space ends its run there, so "10 20 " would
  // store 20 as green while "10 20" does not.
  text = TrimText(text);
  int32_t components[3] = {0, 0, 0};
  int stored = 0;
  // Only the low byte of each number matters, so the run is accumulated modulo 256 and
  // no run of digits, however long, can overflow.
  int32_t run = 0;
  bool inRun = false;
  for (const char c : text) {
    if (c >= '0' && c <= '9') {
      run = (run * 10 + (c - '0')) & 0xFF;
      inRun = true;
      continue;
    }
    if (inRun && stored < 3) components[stored++] = run;
    run = 0;
    inRun = false;
  }
  // A number that ends the text is taken only as the third component.
  if (inRun && stored == 2) components[stored++] = run;
  return MakeSkinColour(components[0], components[1], components[2]);
}

int32_t ReadColour(std::string_view text, int32_t fallback) {
  if (TrimText(text).empty()) return fallback;
  return ParseColour(text);
}

bool ReadRGB(const TQuickIni& ini, std::string_view section, std::string_view prefix,
             int32_t& colour) {
  const std::string base(prefix);
  const int32_t red = ini.ReadInteger(section, base + "R", -1);
  const int32_t green = ini.ReadInteger(section, base + "G", -1);
  const int32_t blue = ini.ReadInteger(section, base + "B", -1);
  if (red < 0 || green < 0 || blue < 0) return false;
  colour = MakeSkinColour(red, green, blue);
  return true;
}

std::string SkinBitmapEntryName(std::string_view imageValue) {
  const size_t separator = imageValue.find_last_of("\\:");
  const std::string_view name =
      separator == std::string_view::npos ? imageValue : imageValue.substr(separator + 1);
  const size_t dot = name.rfind('.');
  if (name.empty() || dot == std::string_view::npos || name.substr(dot) != ".bmp") return {};
  return std::string(name);
}

std::string SkinUpperCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

std::vector<std::string> ColourSectionNames(const std::vector<std::string>& sections) {
  std::vector<std::string> names;
  for (const std::string& section : sections) {
    const std::string upper = SkinUpperCase(section);
    if (upper != "COLOURS" && upper.starts_with("COLOUR")) names.push_back(section);
  }
  return names;
}

std::vector<std::string> CaptionButtonSectionNames(const TQuickIni& ini,
                                                   const std::vector<std::string>& sections) {
  std::vector<std::string> names;
  for (const std::string& section : sections) {
    const std::string upper = SkinUpperCase(section);
    if (!upper.starts_with("BUTTON") || upper == "BUTTON" || upper == "BUTTONS" ||
        upper == "BUTTON.RADIO" || upper == "BUTTON.CHECKBOX")
      continue;
    // A button without an action that is not always visible has nothing to show.
    if (ini.ReadInteger(section, "Action", 0) == -1 &&
        ini.ReadInteger(section, "Visibility", -1) != 0)
      continue;
    names.push_back(section);
  }
  return names;
}
