#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "support/font_image.h"

namespace tavlo::test {
namespace {

TEST(DeviceFontLocate, FindsTheTableBehindOtherBytes) {
    LoadedFont loaded(FontImageBuilder().Filler(1000).Bar('A', 4).Bytes());
    ASSERT_TRUE(loaded.located);
    EXPECT_EQ(loaded.font.Table(), loaded.image.Data() + 1000);
    EXPECT_EQ(loaded.font.GlyphWidth('A'), 4);
}

TEST(DeviceFontLocate, FirstOfTwoTablesWins) {
    const std::string first = FontImageBuilder().Bar('A', 4).Bytes();
    const std::string second = FontImageBuilder().Bar('A', 9).Bytes();
    LoadedFont loaded(std::string(10, '\xEE') + first + second);
    ASSERT_TRUE(loaded.located);
    EXPECT_EQ(loaded.font.Table(), loaded.image.Data() + 10);
    EXPECT_EQ(loaded.font.GlyphWidth('A'), 4);
}

TEST(DeviceFontLocate, WithoutTheSignatureTheFontStaysAsItWas) {
    LoadedFont none(std::string(4000, '\xEE'));
    EXPECT_FALSE(none.located);
    EXPECT_FALSE(none.font.IsLocated());
    EXPECT_EQ(none.font.GlyphWidth('A'), 0);
    EXPECT_EQ(none.font.GlyphColumn('!', 0), 0);

    // A located font keeps its table when a later search fails.
    LoadedFont loaded(FontImageBuilder().Bar('A', 4).Bytes());
    ASSERT_TRUE(loaded.located);
    const std::uint8_t* table = loaded.font.Table();
    EXPECT_FALSE(loaded.font.Locate(none.image));
    EXPECT_EQ(loaded.font.Table(), table);
    EXPECT_EQ(loaded.font.GlyphWidth('A'), 4);
}

TEST(DeviceFontLocate, SignatureWithSomeBytesChangedIsNotTheTable) {
    std::string bytes = FontImageBuilder().Bytes();
    bytes[15] = 0x08;  // width of "#" 8 instead of 7
    LoadedFont loaded(bytes);
    EXPECT_FALSE(loaded.located);
}

TEST(DeviceFontLocate, RejectsATableThatRunsOffTheEndOfTheImage) {
    const std::string table = FontImageBuilder().Table();
    // The signature is there, but the table's 896 bytes do not fit before the image's end.
    LoadedFont cut(std::string(7, '\xEE') + table.substr(0, 895));
    EXPECT_FALSE(cut.located);
    EXPECT_FALSE(cut.font.IsLocated());

    // Exactly 896 bytes fit: the table is found, the widths count, the columns read as empty.
    LoadedFont exact(std::string(7, '\xEE') + table);
    ASSERT_TRUE(exact.located);
    EXPECT_EQ(exact.font.GlyphWidth('#'), 7);
    EXPECT_EQ(exact.font.TextWidth("#!"), 7 + 1 + 2 + 1);
    for (int g = 0; g < 7; ++g) {
        EXPECT_EQ(exact.font.GlyphColumn('#', g), 0) << "column " << g;
    }
}

TEST(DeviceFontGlyphs, WidthsAndColumnsComeFromTheirEntries) {
    LoadedFont loaded(FontImageBuilder().Glyph('A', {0x0001, 0x0400, 0xFFFF}).Bytes());
    ASSERT_TRUE(loaded.located);
    EXPECT_EQ(loaded.font.GlyphWidth(' '), 3);
    EXPECT_EQ(loaded.font.GlyphWidth('!'), 2);
    EXPECT_EQ(loaded.font.GlyphWidth('"'), 5);
    EXPECT_EQ(loaded.font.GlyphWidth('#'), 7);
    EXPECT_EQ(loaded.font.GlyphWidth('A'), 3);
    EXPECT_EQ(loaded.font.GlyphColumn('A', 0), 0x0001);
    EXPECT_EQ(loaded.font.GlyphColumn('A', 1), 0x0400);
    EXPECT_EQ(loaded.font.GlyphColumn('A', 2), 0xFFFF);
    EXPECT_EQ(loaded.font.GlyphColumn(' ', 1), 0);
    EXPECT_EQ(loaded.font.GlyphColumn('!', 1), 0x07FF);
}

TEST(DeviceFontGlyphs, CodesBelow32HaveNoGlyph) {
    // Codes 0 to 31 have no entry; the bytes in front of the table must not be read as one.
    LoadedFont loaded(FontImageBuilder().Filler(200).Bytes());
    ASSERT_TRUE(loaded.located);
    for (int code = 0; code < 32; ++code) {
        EXPECT_EQ(loaded.font.GlyphWidth(static_cast<std::uint8_t>(code)), 0) << code;
        EXPECT_EQ(loaded.font.GlyphColumn(static_cast<std::uint8_t>(code), 0), 0) << code;
    }
}

TEST(DeviceFontGlyphs, HighCodesUseEntries96To223) {
    FontImageBuilder builder;
    builder.Glyph(0x80, {0x0101}).Glyph(0xD3, {0x0202, 0x0303}).Glyph(0xFF, {1, 2, 3, 4});
    const std::string table = builder.Table();
    // Entry 96 is at byte 384, entry 223 the table's last four bytes.
    EXPECT_EQ(static_cast<std::uint8_t>(table[96 * 4 + 3]), 1);
    EXPECT_EQ(static_cast<std::uint8_t>(table[223 * 4 + 3]), 4);
    LoadedFont loaded(builder.Bytes());
    ASSERT_TRUE(loaded.located);
    EXPECT_EQ(loaded.font.GlyphWidth(0x80), 1);
    EXPECT_EQ(loaded.font.GlyphWidth(0xD3), 2);
    EXPECT_EQ(loaded.font.GlyphWidth(0xFF), 4);
    EXPECT_EQ(loaded.font.GlyphColumn(0xD3, 1), 0x0303);
    EXPECT_EQ(loaded.font.GlyphColumn(0xFF, 3), 4);
    // "ATENCIÓN" holds the single byte 0xD3, measured like any other character.
    EXPECT_EQ(loaded.font.TextWidth("\xD3\xFF"), 2 + 1 + 4 + 1);
}

TEST(DeviceFontGlyphs, ColumnsOutsideTheImageReadAsEmpty) {
    FontImageBuilder builder;
    builder.Glyph('A', {0x0111, 0x0222});  // columns at offsets 34 and 36, the last four bytes
    builder.Entry('B', 0xFFFF, 3);         // far past the end
    builder.Entry('C', 36, 2);             // first column is the image's last word, then past it
    builder.Entry('D', 37, 1);             // a word whose second byte would be past the end
    LoadedFont loaded(builder.Bytes());
    ASSERT_TRUE(loaded.located);
    ASSERT_EQ(loaded.image.Length(), 896u + 38u);
    EXPECT_EQ(loaded.font.GlyphColumn('A', 1), 0x0222);
    EXPECT_EQ(loaded.font.GlyphColumn('B', 0), 0);
    EXPECT_EQ(loaded.font.GlyphColumn('B', 2), 0);
    EXPECT_EQ(loaded.font.GlyphColumn('C', 0), 0x0222);
    EXPECT_EQ(loaded.font.GlyphColumn('C', 1), 0);
    EXPECT_EQ(loaded.font.GlyphColumn('D', 0), 0);
    EXPECT_EQ(loaded.font.GlyphColumn('A', 1000000), 0);
    // Widths still count for layout.
    EXPECT_EQ(loaded.font.GlyphWidth('B'), 3);
    EXPECT_EQ(loaded.font.TextWidth("BB"), 8);
}

TEST(DeviceFontMeasure, OneSpacingColumnAfterEveryCharacter) {
    LoadedFont loaded(FontImageBuilder().Bar('A', 5).Bytes());
    ASSERT_TRUE(loaded.located);
    EXPECT_EQ(loaded.font.TextWidth(""), 0);
    EXPECT_EQ(loaded.font.TextWidth("A"), 6);
    // The line break has no glyph but still takes its spacing column.
    EXPECT_EQ(loaded.font.TextWidth("A\n"), 5 + 2);
    EXPECT_EQ(loaded.font.TextWidth("A A "), 6 + 4 + 6 + 4);
    EXPECT_EQ(loaded.font.TextWidth(std::string("\0\t", 2)), 2);
}

TEST(DeviceFontMeasure, AVeryLongTextStopsAtTheLargestWidth) {
    FontImageBuilder builder;
    builder.Bar(0xFF, 255);
    LoadedFont loaded(builder.Bytes());
    ASSERT_TRUE(loaded.located);
    // 9 million characters of 256 columns each pass the largest int.
    const std::string text(9'000'000, '\xFF');
    EXPECT_EQ(loaded.font.TextWidth(text), std::numeric_limits<int>::max());
    EXPECT_EQ(loaded.font.TextWidth(std::string(1000, '\xFF')), 256000);
}

}  // namespace
}  // namespace tavlo::test
