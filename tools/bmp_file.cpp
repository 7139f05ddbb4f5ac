#include "tools/bmp_file.h"

namespace tavlo::tools {
namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kPaletteSize = 256 * 4;
constexpr std::uint32_t kPixelsPerMetre = 2835;  // 72 dots per inch

void Put16(std::vector<std::uint8_t>& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

}  // namespace

std::vector<std::uint8_t> EncodeBmp(const IndexedPicture& picture) {
    const auto width = static_cast<std::uint32_t>(picture.width);
    const auto height = static_cast<std::uint32_t>(picture.height);
    const std::uint32_t stride = (width + 3) / 4 * 4;
    const std::uint32_t pixelOffset = kFileHeaderSize + kInfoHeaderSize + kPaletteSize;
    const std::uint32_t imageSize = stride * height;

    std::vector<std::uint8_t> out;
    out.reserve(pixelOffset + imageSize);
    out.push_back('B');
    out.push_back('M');
    Put32(out, pixelOffset + imageSize);
    Put32(out, 0);  // reserved
    Put32(out, pixelOffset);

    Put32(out, kInfoHeaderSize);
    Put32(out, width);
    Put32(out, height);  // positive: rows bottom-up
    Put16(out, 1);       // planes
    Put16(out, 8);       // bits per pixel
    Put32(out, 0);       // BI_RGB, uncompressed
    Put32(out, imageSize);
    Put32(out, kPixelsPerMetre);
    Put32(out, kPixelsPerMetre);
    Put32(out, 256);  // colours in the palette
    Put32(out, 0);    // all of them important

    for (const Rgb& colour : picture.palette) {
        out.insert(out.end(), {colour.blue, colour.green, colour.red, 0});
    }
    for (int row = picture.height - 1; row >= 0; --row) {
        const auto first =
            picture.pixels.begin() + static_cast<std::ptrdiff_t>(row) * picture.width;
        out.insert(out.end(), first, first + picture.width);
        out.insert(out.end(), stride - width, 0);
    }
    return out;
}

}  // namespace tavlo::tools
