#pragma once

#include <cstdint>
#include <string_view>

#include "screen/glyph_table.h"

namespace tavlo {

class FirmwareImage;

// The receiver's own font, read in place inside a loaded firmware image.
//
// The glyph table holds 224 entries of 4 bytes, one for each code from 32 to 255: bytes 0-1 the
// offset of the glyph's first column word from the start of the column data (little-endian),
// byte 3 the glyph's width. The column data follows the table directly; a column word lights
// the pixel i rows above the glyph's bottom row with its bit i (bits 0 to 10). The table is
// recognised by its first 16 bytes, the entries of codes 32 to 35.
//
// The font never reads outside the image: a table that does not fit is not accepted, and a glyph
// column outside the image reads as empty.
class DeviceFont {
public:
    static constexpr int kTableBytes = kGlyphTableBytes;
    static constexpr std::uint8_t kSignature[16] = {0x00, 0x00, 0x00, 0x03, 0x06, 0x00, 0x00, 0x02,
                                                    0x0A, 0x00, 0x00, 0x05, 0x14, 0x00, 0x00, 0x07};

    DeviceFont() = default;
    ~DeviceFont();

    // Finds the glyph table in the image by its signature. False leaves the font as it was.
    // The image's bytes must outlive the font and must not be reloaded while it is used.
    bool Locate(const FirmwareImage& image);

    bool IsLocated() const { return table != nullptr; }
    const std::uint8_t* Table() const { return table; }

    // Width in device columns; 0 below code 32.
    int GlyphWidth(std::uint8_t code) const;
    // Sum of GlyphWidth + 1 over every character (one spacing column after each), at most the
    // largest int.
    int TextWidth(std::string_view text) const;
    // Column word g of a glyph (code 32 or more); 0 where it would lie outside the image.
    std::uint16_t GlyphColumn(std::uint8_t code, int g) const;

    int glyphHeight = 11;  // rows of a glyph column: bits 0 to 10
    int linePitch = 12;    // device rows per text line
    int gap = 1;           // blank rows below a glyph's bottom row within its line

private:
    const std::uint8_t* table = nullptr;
    const std::uint8_t* columns = nullptr;
    const std::uint8_t* imageEnd = nullptr;  // one past the image's last byte
};

}  // namespace tavlo
