#pragma once

#include <QTemporaryDir>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/firmware_image.h"
#include "screen/device_font.h"

namespace tavlo::test {

// Column words of one glyph, left column first; bit 0 lights the glyph's bottom row.
using GlyphColumns = std::function<std::vector<std::uint16_t>(std::uint8_t code)>;

// A receiver glyph table (224 entries for the codes 32 to 255) followed by its column data.
// The columns for the codes 32 to 35 must be 3, 2, 5 and 7 wide: the table's signature.
std::string GlyphTableBytes(const GlyphColumns& columnsFor);

// Full-height bars: space blank and 3 wide, "!", '"', "#" 2, 5 and 7 wide, every other code 5.
std::vector<std::uint16_t> BarGlyph(std::uint8_t code);

// The character drawn with a small screen font into 11 rows, for pictures that look like text.
// Needs a QGuiApplication.
std::vector<std::uint16_t> RasterGlyph(std::uint8_t code);

// A firmware file: some bytes, the zero-terminated message, some more, then (withFont) a glyph
// table built by `glyphs`.
std::string FirmwareBytes(std::string_view message, bool withFont,
                          const GlyphColumns& glyphs = BarGlyph);

// A firmware file written to a temporary folder and loaded, with the receiver font located in it
// (when it carries one).
class LoadedFirmware {
public:
    explicit LoadedFirmware(const std::string& bytes);

    QTemporaryDir dir;
    std::string path;
    FirmwareImage image;
    DeviceFont font;
    bool loaded = false;
    bool fontFound = false;
};

}  // namespace tavlo::test
