// The sample firmware file that the build writes, read back as a patcher sees it: the container,
// the power-on message and its other-language siblings, and the receiver's glyph table.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/firmware_image.h"
#include "run_tool.h"
#include "screen/device_font.h"
#include "support/test_files.h"

namespace tavlo::test {
namespace {

constexpr std::string_view kSignature{
    "\x00\x00\x00\x03\x06\x00\x00\x02\x0A\x00\x00\x05\x14\x00\x00\x07", 16};
constexpr std::size_t kTableBytes = 896;

std::size_t CountOf(std::string_view haystack, std::string_view needle) {
    std::size_t count = 0;
    for (auto at = haystack.find(needle); at != std::string_view::npos;
         at = haystack.find(needle, at + 1)) {
        ++count;
    }
    return count;
}

unsigned Byte(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint8_t>(bytes[at]);
}

class SampleFirmwareTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(file_.empty()) << "no sample firmware at " << TAVLO_SAMPLE_FIRMWARE_PATH;
        table_ = file_.find(kSignature);
        ASSERT_NE(table_, std::string::npos);
        ASSERT_LE(table_ + kTableBytes, file_.size());
    }

    int Width(int code) const { return Byte(file_, table_ + (code - 32) * 4 + 3); }
    std::size_t Offset(int code) const {
        const std::size_t entry = table_ + (code - 32) * 4;
        return Byte(file_, entry) | Byte(file_, entry + 1) << 8;
    }
    // Column word g of a glyph; the caller has checked that it lies inside the file.
    unsigned Column(int code, int g) const {
        const std::size_t at = table_ + kTableBytes + Offset(code) + 2 * g;
        return Byte(file_, at) | Byte(file_, at + 1) << 8;
    }
    // All lit rows of a glyph, as a mask over rows counted from the top (bit r: row r).
    unsigned RowsUsed(int code) const {
        unsigned columns = 0;
        for (int g = 0; g < Width(code); ++g) {
            columns |= Column(code, g);
        }
        unsigned rows = 0;
        for (int bit = 0; bit < 11; ++bit) {
            if (columns & (1u << bit)) {
                rows |= 1u << (10 - bit);
            }
        }
        return rows;
    }

    std::string file_ = ReadFile(TAVLO_SAMPLE_FIRMWARE_PATH);
    std::size_t table_ = std::string::npos;
};

TEST_F(SampleFirmwareTest, IsAContainerWhoseRecordsRunExactlyToTheEnd) {
    ASSERT_GE(file_.size(), 6u);
    EXPECT_EQ(file_.substr(0, 4), "KpGr");
    EXPECT_EQ(Byte(file_, 4) | Byte(file_, 5) << 8, 100u);
    std::string types;
    std::size_t at = 6;
    while (at < file_.size()) {
        ASSERT_LE(at + 5, file_.size()) << "a record header is cut off at " << at;
        const std::size_t size = Byte(file_, at) | Byte(file_, at + 1) << 8 |
                                 Byte(file_, at + 2) << 16 | Byte(file_, at + 3) << 24;
        types += file_[at + 4];
        at += 5 + size;
    }
    EXPECT_EQ(at, file_.size());
    EXPECT_EQ(types, "DRA");
    EXPECT_GE(file_.size(), 4000u);
    EXPECT_LE(file_.size(), 16000u);
}

TEST_F(SampleFirmwareTest, HoldsTheGlyphTableOnceWithRoomAroundIt) {
    EXPECT_EQ(CountOf(file_, kSignature), 1u);
    ASSERT_GT(table_, 0u);
    EXPECT_EQ(file_[table_ - 1], '\0');
    std::size_t columnBytes = 0;
    for (int code = 32; code <= 255; ++code) {
        EXPECT_EQ(Byte(file_, table_ + (code - 32) * 4 + 2), 0u) << "code " << code;
        EXPECT_EQ(Offset(code), columnBytes) << "glyphs follow each other in code order";
        columnBytes += 2 * Width(code);
    }
    // Every glyph's columns inside the file, and at least one byte after the last one.
    EXPECT_LT(table_ + kTableBytes + columnBytes, file_.size());
}

TEST_F(SampleFirmwareTest, GlyphsAreDrawnWhereTheReceiverExpectsThem) {
    for (int code = 33; code <= 126; ++code) {
        EXPECT_GE(Width(code), 1) << "code " << code;
        EXPECT_NE(RowsUsed(code), 0u) << "code " << code << " is blank";
    }
    for (int code = 32; code <= 255; ++code) {
        for (int g = 0; g < Width(code); ++g) {
            EXPECT_EQ(Column(code, g) >> 11, 0u) << "code " << code << " uses bits above 10";
        }
    }
    const unsigned top = 0b11;              // rows 0-1, kept for accents over capitals
    const unsigned baseline = 1u << 8;      // the bottom row of letters without descenders
    const unsigned descender = 0b11u << 9;  // rows 9-10
    for (int code = 'A'; code <= 'Z'; ++code) {
        const unsigned rows = RowsUsed(code);
        EXPECT_EQ(rows & top, 0u) << static_cast<char>(code);
        EXPECT_NE(rows & baseline, 0u) << static_cast<char>(code);
        EXPECT_EQ(rows & descender, 0u) << static_cast<char>(code);
    }
    for (char c : std::string_view("acemnorsuvwxz")) {
        EXPECT_EQ(RowsUsed(c) & (top | 0b1100 | descender), 0u) << c;  // rows 4-8 only
        EXPECT_NE(RowsUsed(c) & baseline, 0u) << c;
    }
    for (char c : std::string_view("gpqy")) {
        EXPECT_NE(RowsUsed(c) & descender, 0u) << c << " has no descender";
    }
    for (int code : {0x7F, 0x81, 0x8D, 0x8F, 0x90, 0x9D}) {
        EXPECT_EQ(Width(code), 2) << "undefined code " << code;
        EXPECT_EQ(RowsUsed(code), 0u) << "undefined code " << code;
    }
}

TEST_F(SampleFirmwareTest, AccentedLettersKeepTheirBaseLetterAndAddAMark) {
    const std::pair<int, char> letters[] = {
        {0xC0, 'A'}, {0xC5, 'A'}, {0xC7, 'C'}, {0xC9, 'E'}, {0xD1, 'N'}, {0xD3, 'O'}, {0xD6, 'O'},
        {0xDC, 'U'}, {0xDD, 'Y'}, {0x8A, 'S'}, {0x8E, 'Z'}, {0x9F, 'Y'}, {0xE0, 'a'}, {0xE5, 'a'},
        {0xE7, 'c'}, {0xE9, 'e'}, {0xF1, 'n'}, {0xF6, 'o'}, {0xFC, 'u'}, {0xFF, 'y'}, {0x9A, 's'},
    };
    for (const auto& [accented, base] : letters) {
        ASSERT_EQ(Width(accented), Width(base)) << "code " << accented;
        bool addsPixels = false;
        for (int g = 0; g < Width(base); ++g) {
            const unsigned withMark = Column(accented, g);
            const unsigned plain = Column(base, g);
            EXPECT_EQ(withMark & plain, plain) << "code " << accented << " column " << g;
            addsPixels = addsPixels || withMark != plain;
        }
        EXPECT_TRUE(addsPixels) << "code " << accented << " has no mark";
    }
}

TEST_F(SampleFirmwareTest, HoldsThePowerOnMessageFirstAndTheOtherLanguagesOnTheirOwn) {
    const std::size_t message = file_.find("WARNING");
    ASSERT_NE(message, std::string::npos);
    ASSERT_GT(message, 0u);
    EXPECT_EQ(file_[message - 1], '\0') << "the message starts a string of its own";
    const std::size_t end = file_.find('\0', message);
    ASSERT_NE(end, std::string::npos);
    const std::string text = file_.substr(message, end - message);
    EXPECT_GE(text.size(), 100u);
    EXPECT_LE(text.size(), 200u);
    EXPECT_NE(text.find('\n'), std::string::npos);
    EXPECT_EQ(text.find('\r'), std::string::npos);

    for (std::string_view word : {"WARNUNG", "ATTENTION", "ATTENZIONE", "ATENCI\xD3N"}) {
        const std::size_t at = file_.find(word);
        ASSERT_NE(at, std::string::npos) << word;
        ASSERT_GT(at, 0u);
        EXPECT_EQ(file_[at - 1], '\0') << word << " starts a message of its own";
        EXPECT_NE(at, message) << word;
        const std::size_t stop = file_.find('\0', at);
        EXPECT_NE(file_.substr(at, stop - at).find('\n'), std::string::npos) << word;
    }
}

TEST_F(SampleFirmwareTest, TheProgramFindsTheMessageAndTheFont) {
    FirmwareImage image;
    ASSERT_TRUE(image.Load(TAVLO_SAMPLE_FIRMWARE_PATH));
    ASSERT_TRUE(image.LocateMessage("WARNING"));
    EXPECT_EQ(static_cast<std::size_t>(image.MatchOffset()), file_.find("WARNING"));
    DeviceFont font;
    ASSERT_TRUE(font.Locate(image));
    EXPECT_EQ(font.Table(), image.Data() + table_);
    EXPECT_EQ(font.GlyphWidth('#'), 7);
    EXPECT_EQ(font.GlyphColumn('A', 0), Column('A', 0));
}

TEST(SampleFirmwareGenerator, WritesTheSameBytesEveryRun) {
    TempDir dir;
    ASSERT_EQ(RunTool(TAVLO_MAKE_SAMPLE_FIRMWARE, {dir.File("first.rgn")}), 0);
    ASSERT_EQ(RunTool(TAVLO_MAKE_SAMPLE_FIRMWARE, {dir.File("second.rgn")}), 0);
    const std::string first = ReadFile(dir.File("first.rgn"));
    EXPECT_FALSE(first.empty());
    EXPECT_TRUE(first == ReadFile(dir.File("second.rgn")));
    EXPECT_TRUE(first == ReadFile(TAVLO_SAMPLE_FIRMWARE_PATH));
}

TEST(SampleFirmwareGenerator, ReportsMisuseAndUnwritableFiles) {
    TempDir dir;
    EXPECT_EQ(RunTool(TAVLO_MAKE_SAMPLE_FIRMWARE, {}), 2);
    const std::string out = dir.File("missing/sample.rgn");
    EXPECT_EQ(RunTool(TAVLO_MAKE_SAMPLE_FIRMWARE, {out}), 1);
    EXPECT_FALSE(FileExists(out));
}

}  // namespace
}  // namespace tavlo::test
