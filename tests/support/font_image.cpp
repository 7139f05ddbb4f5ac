#include "support/font_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>

namespace tavlo::test {

namespace {

constexpr std::uint16_t kFullBar = 0x07FF;  // bits 0 to 10: every row of a glyph column

}  // namespace

FontImageBuilder::FontImageBuilder() : entries_(DeviceFont::kTableBytes, 0) {
    // Space at offset 0 with 3 blank columns, then "!" at 6, '"' at 10 and "#" at 20: the widths
    // and offsets the signature spells out.
    Glyph(' ', {0, 0, 0});
    Bar('!', 2);
    Bar('"', 5);
    Bar('#', 7);
}

FontImageBuilder& FontImageBuilder::Glyph(std::uint8_t code,
                                          const std::vector<std::uint16_t>& columns) {
    Entry(code, static_cast<std::uint16_t>(columns_.size()),
          static_cast<std::uint8_t>(columns.size()));
    for (std::uint16_t word : columns) {
        columns_.push_back(static_cast<std::uint8_t>(word & 0xFF));
        columns_.push_back(static_cast<std::uint8_t>(word >> 8));
    }
    return *this;
}

FontImageBuilder& FontImageBuilder::Bar(std::uint8_t code, int width) {
    return Glyph(code, std::vector<std::uint16_t>(static_cast<std::size_t>(width), kFullBar));
}

FontImageBuilder& FontImageBuilder::Entry(std::uint8_t code, std::uint16_t offset,
                                          std::uint8_t width) {
    const std::size_t at = static_cast<std::size_t>(code - 32) * 4;
    entries_[at] = static_cast<std::uint8_t>(offset & 0xFF);
    entries_[at + 1] = static_cast<std::uint8_t>(offset >> 8);
    entries_[at + 2] = 0;
    entries_[at + 3] = width;
    return *this;
}

FontImageBuilder& FontImageBuilder::Filler(std::size_t bytes) {
    filler_ = bytes;
    return *this;
}

FontImageBuilder& FontImageBuilder::CutColumns(std::size_t bytes) {
    cut_ = bytes;
    return *this;
}

std::string FontImageBuilder::Table() const {
    return std::string(entries_.begin(), entries_.end());
}

std::string FontImageBuilder::Columns() const {
    const std::size_t kept = std::min(cut_, columns_.size());
    return std::string(columns_.begin(), columns_.begin() + static_cast<std::ptrdiff_t>(kept));
}

std::string FontImageBuilder::Bytes() const {
    // 0xEE never occurs in the signature's first byte, so the table is the first match.
    return std::string(filler_, '\xEE') + Table() + Columns();
}

LoadedFont::LoadedFont(const std::string& bytes) {
    const std::string path = dir.File("firmware.rgn");
    WriteFile(path, bytes);
    if (image.Load(path)) {
        located = font.Locate(image);
    } else {
        ADD_FAILURE() << "cannot load " << path;
    }
}

}  // namespace tavlo::test
