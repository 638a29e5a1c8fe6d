// The INI description of each skin, embedded from skins/NAME/skin.ini at build time.
#pragma once

#include <string_view>

// The INI text of the skin `name`, empty when there is no such skin.
std::string_view SkinIniText(std::string_view name);

// The entry name the INI gets in a skin folder; the engine takes the first entry whose
// name contains ".ini".
constexpr const char* kSkinIniFileName = "skin.ini";
