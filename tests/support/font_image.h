#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/firmware_image.h"
#include "screen/device_font.h"
#include "support/test_files.h"

namespace tavlo::test {

// Builds a firmware image that carries a receiver glyph table whose every width and column the
// test chooses. The signature glyphs (space, "!", '"', "#") have the widths and offsets the
// table's first 16 bytes demand; space is blank, every column of the other three is a full bar.
// Every other code starts with width 0.
class FontImageBuilder {
public:
    FontImageBuilder();

    // Gives `code` these column words (left column first), stored after the columns so far.
    FontImageBuilder& Glyph(std::uint8_t code, const std::vector<std::uint16_t>& columns);
    // A glyph of `width` columns, each a full-height bar (bits 0 to 10).
    FontImageBuilder& Bar(std::uint8_t code, int width);
    // An entry as it lies in the table, whatever its columns are.
    FontImageBuilder& Entry(std::uint8_t code, std::uint16_t offset, std::uint8_t width);
    // Bytes before the table (none of them can start the signature).
    FontImageBuilder& Filler(std::size_t bytes);
    // Keeps only the first `bytes` of the column data (a table that runs off the image's end).
    FontImageBuilder& CutColumns(std::size_t bytes);

    std::string Table() const;    // the 896 bytes of the table
    std::string Columns() const;  // the column data after it
    std::string Bytes() const;    // filler + table + columns: the whole image

private:
    std::vector<std::uint8_t> entries_;
    std::vector<std::uint8_t> columns_;
    std::size_t filler_ = 0;
    std::size_t cut_ = SIZE_MAX;
};

// A firmware image loaded from a temporary file, and a font located in it.
struct LoadedFont {
    explicit LoadedFont(const std::string& bytes);

    TempDir dir;
    FirmwareImage image;
    DeviceFont font;
    bool located = false;
};

}  // namespace tavlo::test
