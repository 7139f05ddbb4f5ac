// The committed screen picture (bitmap 132) read back as a Windows bitmap loader would, and
// checked pixel by pixel against the regions the preview relies on.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "core/embedded_resources.h"
#include "run_tool.h"
#include "support/test_files.h"

namespace tavlo::test {
namespace {

const std::string kCommittedPicture = std::string(TAVLO_SOURCE_DIR) + "/resources/screen.bmp";

struct Colour {
    int red, green, blue;
    bool operator==(const Colour&) const = default;
    auto operator<=>(const Colour&) const = default;
};
constexpr Colour kDark{94, 100, 92};
constexpr Colour kLight{183, 185, 162};
constexpr Colour kBlack{0, 0, 0};
constexpr Colour kBody{138, 144, 129};

std::uint32_t U32(const std::string& b, std::size_t at) {
    return static_cast<std::uint8_t>(b[at]) | static_cast<std::uint8_t>(b[at + 1]) << 8 |
           static_cast<std::uint8_t>(b[at + 2]) << 16 |
           static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at + 3])) << 24;
}
std::uint16_t U16(const std::string& b, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(b[at]) |
                                      static_cast<std::uint8_t>(b[at + 1]) << 8);
}

// The picture as colours, top row first.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<Colour> pixels;
    Colour At(int row, int column) const { return pixels[row * width + column]; }
};

// Reads an uncompressed 8-bit bottom-up BMP; fails the test on anything else.
Picture ReadBmp8(const std::string& bytes) {
    Picture picture;
    if (bytes.size() < 54 + 1024) {
        ADD_FAILURE() << "too short for an 8-bit bitmap: " << bytes.size() << " bytes";
        return picture;
    }
    const std::uint32_t pixelOffset = U32(bytes, 10);
    const std::uint32_t infoSize = U32(bytes, 14);
    picture.width = static_cast<int>(U32(bytes, 18));
    picture.height = static_cast<int>(U32(bytes, 22));
    const std::size_t stride = (picture.width + 3) / 4 * 4;
    if (U16(bytes, 28) != 8 || U32(bytes, 30) != 0 || picture.width <= 0 || picture.height <= 0 ||
        pixelOffset + stride * picture.height > bytes.size()) {
        ADD_FAILURE() << "not an uncompressed bottom-up 8-bit bitmap";
        return {};
    }
    const std::size_t palette = 14 + infoSize;
    for (int row = 0; row < picture.height; ++row) {
        const std::size_t line = pixelOffset + (picture.height - 1 - row) * stride;
        for (int column = 0; column < picture.width; ++column) {
            const std::size_t entry = palette + 4 * static_cast<std::uint8_t>(bytes[line + column]);
            picture.pixels.push_back({static_cast<std::uint8_t>(bytes[entry + 2]),
                                      static_cast<std::uint8_t>(bytes[entry + 1]),
                                      static_cast<std::uint8_t>(bytes[entry])});
        }
    }
    return picture;
}

bool InCaptionArea(int row, int column) {
    return row >= 100 && row <= 127 && column >= 2 && column <= 118;
}

// The colour every pixel outside the caption must have.
Colour ExpectedColour(int row, int column) {
    if (row == 0 || column == 0) {
        return kDark;
    }
    if ((column == 119 && row >= 1) || (row == 132 && column >= 1)) {
        return kBlack;
    }
    if ((row == 1 && column <= 118) || (column == 1 && row <= 131)) {
        return kLight;
    }
    const bool inOutline = row >= 4 && row <= 96 && column >= 4 && column <= 116;
    const bool inScreen = row >= 5 && row <= 95 && column >= 5 && column <= 115;
    if (inScreen) {
        return kLight;
    }
    if (inOutline) {
        return kDark;
    }
    return kBody;
}

class ScreenPictureTest : public ::testing::Test {
protected:
    std::string bytes_ = ReadFile(kCommittedPicture);
    Picture picture_ = ReadBmp8(bytes_);
};

TEST_F(ScreenPictureTest, IsA120By133EightBitBitmapWithAFullPalette) {
    ASSERT_GE(bytes_.size(), 54u);
    EXPECT_EQ(bytes_.substr(0, 2), "BM");
    EXPECT_EQ(U32(bytes_, 2), bytes_.size());
    EXPECT_EQ(U32(bytes_, 10), 14u + 40u + 1024u);  // pixels right after 256 palette entries
    EXPECT_EQ(U32(bytes_, 14), 40u);                // BITMAPINFOHEADER
    EXPECT_EQ(U32(bytes_, 18), 120u);
    EXPECT_EQ(U32(bytes_, 22), 133u);  // positive height: bottom-up rows
    EXPECT_EQ(U16(bytes_, 26), 1u);
    EXPECT_EQ(U16(bytes_, 28), 8u);
    EXPECT_EQ(U32(bytes_, 30), 0u);  // uncompressed
    EXPECT_EQ(U32(bytes_, 34), 120u * 133u);
    EXPECT_EQ(U32(bytes_, 46), 256u);
    EXPECT_EQ(bytes_.size(), 14u + 40u + 1024u + 120u * 133u);
}

TEST_F(ScreenPictureTest, UsesExactlyTheFourColours) {
    ASSERT_EQ(picture_.pixels.size(), 120u * 133u);
    const std::set<Colour> used(picture_.pixels.begin(), picture_.pixels.end());
    EXPECT_EQ(used, (std::set<Colour>{kDark, kLight, kBlack, kBody}));
}

TEST_F(ScreenPictureTest, EveryRegionHasItsColourAtItsExactRowsAndColumns) {
    ASSERT_EQ(picture_.pixels.size(), 120u * 133u);
    int wrong = 0;
    for (int row = 0; row < 133; ++row) {
        for (int column = 0; column < 120; ++column) {
            const Colour actual = picture_.At(row, column);
            const bool ok = InCaptionArea(row, column) ? actual == kBody || actual == kBlack
                                                       : actual == ExpectedColour(row, column);
            if (!ok && ++wrong <= 10) {
                ADD_FAILURE() << "pixel at row " << row << ", column " << column << " is "
                              << actual.red << "," << actual.green << "," << actual.blue;
            }
        }
    }
    EXPECT_EQ(wrong, 0);
}

TEST_F(ScreenPictureTest, CaptionIsThreeCentredBlackLinesWithinRows100To127) {
    ASSERT_EQ(picture_.pixels.size(), 120u * 133u);
    // Group the caption rows that hold black into lines.
    struct Line {
        int top, bottom, left, right;
    };
    std::vector<Line> lines;
    bool previousInked = false;
    for (int row = 98; row <= 130; ++row) {
        int left = 120;
        int right = -1;
        for (int column = 2; column <= 118; ++column) {
            if (picture_.At(row, column) == kBlack) {
                left = std::min(left, column);
                right = std::max(right, column);
            }
        }
        const bool inked = right >= 0;
        if (inked && !previousInked) {
            lines.push_back({row, row, left, right});
        } else if (inked) {
            Line& line = lines.back();
            line = {line.top, row, std::min(line.left, left), std::max(line.right, right)};
        }
        previousInked = inked;
    }
    ASSERT_EQ(lines.size(), 3u);
    for (const Line& line : lines) {
        EXPECT_GE(line.top, 100);
        EXPECT_LE(line.bottom, 127);
        const int leftMargin = line.left;
        const int rightMargin = 119 - line.right;
        EXPECT_LE(std::abs(leftMargin - rightMargin), 1)
            << "line at row " << line.top << " spans columns " << line.left << "-" << line.right;
        EXPECT_GT(line.right - line.left, 60) << "line at row " << line.top << " is too short";
    }
}

TEST_F(ScreenPictureTest, GeneratorReproducesTheCommittedFileByteForByte) {
    TempDir dir;
    const std::string out = dir.File("screen.bmp");
    ASSERT_EQ(RunTool(TAVLO_MAKE_SCREEN_PICTURE, {out}), 0);
    EXPECT_TRUE(ReadFile(out) == bytes_) << "run tavlo-make-screen-picture resources/screen.bmp";
}

TEST_F(ScreenPictureTest, ProgramCarriesTheCommittedFileAsBitmap132) {
    const auto resource = FindResource("#132", "BITMAP");
    ASSERT_TRUE(resource.has_value());
    const std::string embedded(resource->begin(), resource->end());
    EXPECT_TRUE(embedded == bytes_);
}

TEST(ScreenPictureGenerator, ReportsMisuseAndUnwritableFiles) {
    TempDir dir;
    EXPECT_EQ(RunTool(TAVLO_MAKE_SCREEN_PICTURE, {}), 2);
    EXPECT_EQ(RunTool(TAVLO_MAKE_SCREEN_PICTURE, {"a.bmp", "b.bmp"}), 2);
    const std::string out = dir.File("no-such-folder/screen.bmp");
    EXPECT_EQ(RunTool(TAVLO_MAKE_SCREEN_PICTURE, {out}), 1);
    EXPECT_FALSE(FileExists(out));
}

}  // namespace
}  // namespace tavlo::test
