// Expands a skin file (the outer layer: expanded size, then the LZH stream) and tells a
// complete file from a cut-off one. The expander itself reads missing input as zero bits,
// so a cut-off file would expand to an archive with garbage at its end. A file whose
// decoder asks for more than one byte beyond its end (the one byte of read-ahead a
// complete stream causes) is refused as cut off. Portable.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// True and the archive bytes in *archive, or false and what is wrong in *reason: shorter
// than the 4-byte size, a negative size, a size the compressed bytes cannot hold, or a
// stream that ends before the archive is complete. Errors of the expander's table
// allocation pass on as ElzhException.
bool ExpandSkinFile(std::span<const uint8_t> file, std::vector<uint8_t>* archive,
                    std::string* reason);
