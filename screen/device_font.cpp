#include "screen/device_font.h"

#include <algorithm>
#include <cstddef>
#include <limits>

#include "core/firmware_image.h"

namespace tavlo {

namespace {

constexpr int kFirstCode = kFirstGlyphCode;

std::uint16_t ReadLittleEndian16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

}  // namespace

DeviceFont::~DeviceFont() {
    table = nullptr;
    columns = nullptr;
    imageEnd = nullptr;
}

bool DeviceFont::Locate(const FirmwareImage& image) {
    const std::uint8_t* found = image.FindBytes(kSignature, sizeof kSignature);
    if (found == nullptr) {
        return false;
    }
    const std::uint8_t* end = image.Data() + image.Length();
    // The whole table must lie inside the image; the column data after it is checked per read.
    if (end - found < kTableBytes) {
        return false;
    }
    table = found;
    columns = found + kTableBytes;
    imageEnd = end;
    return true;
}

int DeviceFont::GlyphWidth(std::uint8_t code) const {
    if (code < kFirstCode || table == nullptr) {
        return 0;
    }
    return table[(code - kFirstCode) * 4 + 3];
}

int DeviceFont::TextWidth(std::string_view text) const {
    // A pasted text can be long enough to overflow an int; its width then stays at the largest
    // int, which is past every line limit anyway.
    std::int64_t width = 0;
    for (char c : text) {
        width += GlyphWidth(static_cast<std::uint8_t>(c)) + 1;
    }
    return static_cast<int>(std::min<std::int64_t>(width, std::numeric_limits<int>::max()));
}

std::uint16_t DeviceFont::GlyphColumn(std::uint8_t code, int g) const {
    if (code < kFirstCode || table == nullptr || g < 0) {
        return 0;
    }
    const std::uint8_t* entry = table + (code - kFirstCode) * 4;
    const std::ptrdiff_t offset = ReadLittleEndian16(entry) + 2 * static_cast<std::ptrdiff_t>(g);
    // A column word that would lie (even partly) outside the image reads as empty.
    if (offset + 2 > imageEnd - columns) {
        return 0;
    }
    return ReadLittleEndian16(columns + offset);
}

}  // namespace tavlo
