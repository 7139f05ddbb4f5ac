#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tavlo {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
};

// A picture of palette indices, top row first.
struct IndexedPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;  // width * height indices, row by row from the top
    std::array<Rgb, 256> palette{};

    std::uint8_t& At(int row, int column) { return pixels[row * width + column]; }
};

// An uncompressed 8-bit BMP with a BITMAPINFOHEADER and all 256 palette entries, rows stored
// bottom-up and padded to four bytes, as the Windows bitmap loader expects.
std::vector<std::uint8_t> EncodeBmp(const IndexedPicture& picture);

// Reads an uncompressed 8-bit BMP (BITMAPINFOHEADER or larger, rows bottom-up or top-down, a
// palette of up to 256 entries), as a file or as a bitmap resource stores it: without the file's
// 14-byte header, the pixels right after the palette. Nothing for anything else, or for bytes
// that do not hold the whole picture; every read stays inside `bytes`.
std::optional<IndexedPicture> DecodeBmp(std::span<const std::uint8_t> bytes);

}  // namespace tavlo
