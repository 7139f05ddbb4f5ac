#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/glyph_drawings.h"

namespace tavlo::tools {

// The receiver's glyph table covers the codes 32 to 255, 11 rows high.
inline constexpr int kFirstCode = 32;
inline constexpr int kGlyphCount = 224;
inline constexpr int kGlyphRows = 11;
inline constexpr int kTableBytes = kGlyphCount * 4;

// One glyph as the receiver stores it: one word per column, left column first; bit i lights the
// pixel i rows above the bottom row (bit 10 is the top row).
using GlyphColumns = std::vector<std::uint16_t>;
using ReceiverGlyphs = std::array<GlyphColumns, kGlyphCount>;  // index: code - 32

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

// The glyph table as the receiver holds it: 224 entries of 4 bytes (offset of the first column
// word from the start of the column data, little-endian 16 bits; a zero byte; the width), then
// the column words of all glyphs in code order, little-endian. Fails (empty result and an error)
// when a glyph is wider than 255 columns or the column data outgrows 16-bit offsets.
struct GlyphTableBytes {
    std::vector<std::uint8_t> bytes;
    std::string error;
};
GlyphTableBytes EncodeGlyphTable(const ReceiverGlyphs& glyphs);

}  // namespace tavlo::tools
