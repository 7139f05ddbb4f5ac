#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "screen/glyph_table.h"
#include "tools/glyph_drawings.h"

namespace tavlo::tools {

// The glyph table's shape and encoder are the program's own (screen/glyph_table.h).
inline constexpr int kFirstCode = kFirstGlyphCode;
inline constexpr int kTableBytes = kGlyphTableBytes;
using ReceiverGlyphs = GlyphSet;
using GlyphTableBytes = EncodedGlyphTable;

struct FontBuild {
    ReceiverGlyphs glyphs;
    std::string error;  // empty on success
};

// The columns of a drawing of kGlyphRows rows.
GlyphColumns ColumnsOf(const Drawing& drawing);

// All 224 glyphs from a set of drawings: drawn glyphs as they are, accented letters composed
// from their base letter and mark, an empty two-column glyph for the delete control and the codes
// Windows-1252 leaves undefined. Fails when a code is missing or provided twice, or a drawing is
// missing.
FontBuild BuildReceiverGlyphs(const DrawingSet& drawings);

// The hand-drawn font of the sample firmware, built from tools/receiver_font.inc.
FontBuild BuildSampleFont();

}  // namespace tavlo::tools
