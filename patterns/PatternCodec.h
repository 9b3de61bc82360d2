// Field-by-field little-endian encoding of Pattern and Layer records, so the
// file bytes never depend on the compiler's layout or the host's byte order.
#pragma once

#include "Archive.h"
#include "Pattern.h"

namespace lumivane {

// Writes the full 380-byte record. Bytes after the name's NUL and the layer
// padding byte are written as zeros.
void writePattern(Archive& archive, const Pattern& pattern);

// Reads recordBytes (380, or 376 for the older formats, which lack the final
// backgroundMode word) into pattern; fields not present keep their values.
void readPattern(Archive& archive, Pattern& pattern, std::size_t recordBytes);

} // namespace lumivane
