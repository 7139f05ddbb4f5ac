#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The receiver's glyph table, as it lies inside a firmware image: 224 entries of 4 bytes, one for
// each code from 32 to 255 (bytes 0-1 the offset of the glyph's first column word from the start
// of the column data, little-endian; byte 2 zero; byte 3 the glyph's width), then the column
// words of all glyphs, little-endian. Bit i of a column word lights the pixel i rows above the
// glyph's bottom row (bits 0 to 10).
namespace tavlo {

inline constexpr int kFirstGlyphCode = 32;
inline constexpr int kGlyphCount = 224;
inline constexpr int kGlyphRows = 11;
inline constexpr int kGlyphTableBytes = kGlyphCount * 4;

// One glyph: one word per column, left column first.
using GlyphColumns = std::vector<std::uint16_t>;
using GlyphSet = std::array<GlyphColumns, kGlyphCount>;  // index: code - kFirstGlyphCode

struct EncodedGlyphTable {
    std::vector<std::uint8_t> bytes;
    std::string error;  // empty on success
};

// The table and its column data for a set of glyphs. Fails (no bytes and an error) when a glyph
// is wider than 255 columns or the column data outgrows 16-bit offsets.
EncodedGlyphTable EncodeGlyphTable(const GlyphSet& glyphs);

}  // namespace tavlo
