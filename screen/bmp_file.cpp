#include "screen/bmp_file.h"

#include <algorithm>

namespace tavlo {
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

std::uint32_t Get32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
           static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

std::uint16_t Get16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
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

std::optional<IndexedPicture> DecodeBmp(std::span<const std::uint8_t> bytes) {
    // A file starts with "BM" and its 14-byte header, which says where the pixels begin. A
    // bitmap resource is the rest alone: the pixels follow the palette.
    const bool isFile = bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M';
    const std::uint32_t info = isFile ? kFileHeaderSize : 0;
    if (bytes.size() < info + kInfoHeaderSize) {
        return std::nullopt;
    }
    const std::uint32_t infoSize = Get32(bytes, info);
    const auto width = static_cast<std::int32_t>(Get32(bytes, info + 4));
    const auto signedHeight = static_cast<std::int32_t>(Get32(bytes, info + 8));
    const std::uint32_t paletteCount = Get32(bytes, info + 32) == 0 ? 256 : Get32(bytes, info + 32);
    // A picture of at most 4096 x 4096: the screen picture is 120 x 133.
    constexpr std::int32_t kLargest = 4096;
    if (infoSize < kInfoHeaderSize || Get16(bytes, info + 14) != 8 ||
        Get32(bytes, info + 16) != 0 || width <= 0 || width > kLargest || signedHeight == 0 ||
        signedHeight < -kLargest || signedHeight > kLargest || paletteCount > 256) {
        return std::nullopt;
    }
    const bool bottomUp = signedHeight > 0;
    const int height = bottomUp ? signedHeight : -signedHeight;
    const std::uint64_t paletteStart = std::uint64_t{info} + infoSize;
    const std::uint64_t pixelOffset =
        isFile ? Get32(bytes, 10) : paletteStart + std::uint64_t{paletteCount} * 4;
    const std::uint64_t stride = (static_cast<std::uint64_t>(width) + 3) / 4 * 4;
    if (paletteStart + paletteCount * 4 > bytes.size() ||
        pixelOffset + stride * static_cast<std::uint64_t>(height) > bytes.size()) {
        return std::nullopt;
    }

    IndexedPicture picture;
    picture.width = width;
    picture.height = height;
    for (std::uint32_t i = 0; i < paletteCount; ++i) {
        const std::size_t at = paletteStart + i * 4;
        picture.palette[i] = Rgb{bytes[at + 2], bytes[at + 1], bytes[at]};
    }
    picture.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int row = 0; row < height; ++row) {
        const int stored = bottomUp ? height - 1 - row : row;
        const auto first =
            bytes.begin() + static_cast<std::ptrdiff_t>(pixelOffset + stride * stored);
        std::copy(first, first + width,
                  picture.pixels.begin() + static_cast<std::ptrdiff_t>(row) * width);
    }
    return picture;
}

}  // namespace tavlo
