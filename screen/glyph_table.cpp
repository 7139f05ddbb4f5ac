#include "screen/glyph_table.h"

#include <cstdio>

namespace tavlo {

EncodedGlyphTable EncodeGlyphTable(const GlyphSet& glyphs) {
    EncodedGlyphTable result;
    std::vector<std::uint8_t> table;
    std::vector<std::uint8_t> columns;
    for (int k = 0; k < kGlyphCount; ++k) {
        const GlyphColumns& glyph = glyphs[k];
        if (glyph.size() > 255 || columns.size() > 0xFFFF) {
            char code[8];
            std::snprintf(code, sizeof code, "0x%02X", kFirstGlyphCode + k);
            result.error = std::string("glyph ") + code + " does not fit the table";
            return result;
        }
        const auto offset = static_cast<std::uint16_t>(columns.size());
        table.insert(table.end(), {static_cast<std::uint8_t>(offset & 0xFF),
                                   static_cast<std::uint8_t>(offset >> 8), 0,
                                   static_cast<std::uint8_t>(glyph.size())});
        for (std::uint16_t word : glyph) {
            columns.push_back(static_cast<std::uint8_t>(word & 0xFF));
            columns.push_back(static_cast<std::uint8_t>(word >> 8));
        }
    }
    result.bytes = std::move(table);
    result.bytes.insert(result.bytes.end(), columns.begin(), columns.end());
    return result;
}

}  // namespace tavlo
