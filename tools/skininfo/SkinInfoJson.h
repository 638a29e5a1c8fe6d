// The element model of a skin as JSON, for skin authors and tests (tools/skininfo; the
// format is described in README.md, "Skin files").
#pragma once

#include <string>
#include <vector>

#include "skin/data/SkinModel.h"

// The whole model: colours, colour table, custom colours, name, title colour and every
// element member (null when absent), then the loader's warnings.
std::string SkinModelToJson(const TSkinModel& model, const std::vector<std::string>& warnings);

// A colour as text: "0x" and eight upper-case hex digits of its 32 bits (0x00BBGGRR for a
// direct colour, 0x80 and the index for a system colour).
std::string ColourText(int32_t colour);
