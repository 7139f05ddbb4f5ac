#include "screen/bmp_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "screen/preview_picture.h"
#include "screen/screen_geometry.h"

namespace tavlo::test {
namespace {

// 5 x 3: its rows need padding to four bytes, and every pixel and colour differs.
IndexedPicture SmallPicture() {
    IndexedPicture picture;
    picture.width = 5;
    picture.height = 3;
    for (int i = 0; i < picture.width * picture.height; ++i) {
        picture.pixels.push_back(static_cast<std::uint8_t>(i * 17));
    }
    for (int i = 0; i < 256; ++i) {
        picture.palette[i] = Rgb{static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i ^ 0x5A),
                                 static_cast<std::uint8_t>(255 - i)};
    }
    return picture;
}

void ExpectSamePicture(const IndexedPicture& actual, const IndexedPicture& expected) {
    EXPECT_EQ(actual.width, expected.width);
    EXPECT_EQ(actual.height, expected.height);
    EXPECT_EQ(actual.pixels, expected.pixels);
    for (std::size_t i = 0; i < expected.palette.size(); ++i) {
        EXPECT_EQ(actual.palette[i].red, expected.palette[i].red) << i;
        EXPECT_EQ(actual.palette[i].green, expected.palette[i].green) << i;
        EXPECT_EQ(actual.palette[i].blue, expected.palette[i].blue) << i;
    }
}

TEST(DecodeBmp, ReadsAFileAndABitmapResourceAndNothingCutShort) {
    const IndexedPicture picture = SmallPicture();
    const std::vector<std::uint8_t> file = EncodeBmp(picture);
    constexpr std::size_t kFileHeader = 14;
    const struct {
        const char* rule;
        std::size_t skip;  // bytes left off the start
        std::size_t cut;   // bytes left off the end
        bool decodes;
    } rows[] = {
        {"a BMP file", 0, 0, true},
        {"a bitmap resource: the file without its 14-byte header", kFileHeader, 0, true},
        {"a file one byte short of its last row", 0, 1, false},
        {"a bitmap resource one byte short of its last row", kFileHeader, 1, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.rule);
        const std::span<const std::uint8_t> bytes(file.data() + row.skip,
                                                  file.size() - row.skip - row.cut);
        const std::optional<IndexedPicture> decoded = DecodeBmp(bytes);
        ASSERT_EQ(decoded.has_value(), row.decodes);
        if (decoded) {
            ExpectSamePicture(*decoded, picture);
        }
    }
}

// The program's screen picture (bitmap 132) is found and read on every platform: as the
// committed file on Linux, as a real bitmap resource (without the file header) on Windows.
TEST(ScreenPicture, TheProgramCarriesOneThatCanBeRead) {
    const IndexedPicture* picture = ScreenPicture();
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->width, kPictureWidth);
    EXPECT_EQ(picture->height, kPictureHeight);
}

}  // namespace
}  // namespace tavlo::test
