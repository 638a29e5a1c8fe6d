// Loads arbitrary bytes as a skin INI text and asks it the questions the element model
// asks: every section listed, keys taken from the text itself, integers and strings.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/Streams.h"
#include "skin/data/WinSkinIni.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TMemoryStream stream(std::vector<uint8_t>(data, data + size));
  TQuickIni ini;
  ini.LoadFromStream(&stream);

  std::vector<std::string> sections;
  ini.GetSections(&sections);
  std::vector<std::string> keys = {"", "skinname", "LeftWidth", "0x"};
  for (const std::string& line : ini.Lines()) {
    const size_t equals = line.find('=');
    if (equals != std::string::npos) keys.push_back(line.substr(0, equals));
    if (keys.size() > 64) break;
  }
  for (const std::string& section : sections) {
    (void)ini.SectionIndex(section);
    for (const std::string& key : keys) {
      (void)ini.ReadString(section, key, "default");
      (void)ini.ReadInteger(section, key, -1);
    }
  }
  (void)ini.ReadString("Missing", "key", "");
  // A second load replaces the first.
  TMemoryStream again(std::vector<uint8_t>(data, data + size / 2));
  ini.LoadFromStream(&again);
  return 0;
}
