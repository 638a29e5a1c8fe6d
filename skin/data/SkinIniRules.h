// The text rules of a skin description that need no bitmap: colour texts, image names,
// and which sections name colours and caption buttons. Portable.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "skin/data/WinSkinIni.h"

// A direct colour R + 256·G + 65536·B (each component taken modulo 256).
int32_t MakeSkinColour(int32_t red, int32_t green, int32_t blue);

// Three decimal numbers red, green, blue. Runs of digits are the numbers, anything else
// separates them; at most three are taken. A run that ends the text counts only as the
// third number (so "10 20" is red 10 alone and a single number is black). Missing
// components are 0. Never fails: whatever digits the text holds are used.
int32_t ParseColour(std::string_view text);

// `fallback` for an empty text, else ParseColour.
int32_t ReadColour(std::string_view text, int32_t fallback);

// Reads Prefix+"R", Prefix+"G", Prefix+"B" of `section`; only when all three are 0 or
// more is `colour` set (to their low bytes). Returns whether it was set.
bool ReadRGB(const TQuickIni& ini, std::string_view section, std::string_view prefix,
             int32_t& colour);

// The archive entry an image key names: the text after the last "\" or ":", when its
// extension is exactly ".bmp" (lower case); otherwise empty (no image).
std::string SkinBitmapEntryName(std::string_view imageValue);

// ASCII upper case, as section names are compared.
std::string SkinUpperCase(std::string_view text);

// The [COLOURn] sections in text order: names beginning "COLOUR" except "COLOURS".
std::vector<std::string> ColourSectionNames(const std::vector<std::string>& sections);

// The caption-button sections in text order: names beginning "BUTTON" except BUTTON,
// BUTTONS, BUTTON.RADIO and BUTTON.CHECKBOX, and except a section whose Action is -1
// while its Visibility is not 0.
std::vector<std::string> CaptionButtonSectionNames(const TQuickIni& ini,
                                                   const std::vector<std::string>& sections);
