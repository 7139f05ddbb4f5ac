// Building the receiver's glyphs from drawings and laying them out as the receiver's table.
#include <gtest/gtest.h>

#include <string>

#include "tools/receiver_font.h"

namespace tavlo::tools {
namespace {

Drawing Glyph(std::vector<std::string> rows) {
    return Drawing{std::move(rows)};
}

// A drawing of 11 rows, `width` wide, lit only at the given rows (every column).
Drawing Bars(int width, std::initializer_list<int> litRows) {
    std::vector<std::string> rows(kGlyphRows, std::string(width, '.'));
    for (int row : litRows) {
        rows[row] = std::string(width, '#');
    }
    return Glyph(rows);
}

// A set with every mark and every drawn glyph the builder asks for (a one-column bar each).
DrawingSet CompleteSet() {
    DrawingSet set;
    for (const char* name :
         {"mark grave capital", "mark grave small", "mark acute capital", "mark acute small",
          "mark circumflex capital", "mark circumflex small", "mark tilde capital",
          "mark tilde small", "mark diaeresis capital", "mark diaeresis small",
          "mark narrow diaeresis capital", "mark narrow diaeresis small", "mark ring capital",
          "mark ring small", "mark caron capital", "mark caron small", "mark cedilla",
          "dotless i"}) {
        set.named[name] = Bars(1, {0});
    }
    // "glyph 0x41 is missing" or "glyph 0xC0 needs a drawing [A]": draw that glyph.
    for (int round = 0; round < kGlyphCount; ++round) {
        const std::string error = BuildReceiverGlyphs(set).error;
        int code = -1;
        if (error.ends_with(" is missing")) {
            code = std::stoi(error.substr(8, 2), nullptr, 16);
        } else if (const auto at = error.find("needs a drawing ["); at + 19 == error.size()) {
            code = static_cast<unsigned char>(error[at + 17]);
        } else {
            break;
        }
        set.glyphs[code] = Bars(1, {5});
    }
    return set;
}

TEST(ReceiverFont, ColumnWordsLightBitTenForTheTopRowAndBitZeroForTheBottom) {
    const GlyphColumns columns = ColumnsOf(
        Glyph({"#..", "...", "...", "...", "...", "...", "...", "...", "...", ".#.", "#.#"}));
    ASSERT_EQ(columns.size(), 3u);
    EXPECT_EQ(columns[0], 0x0401);  // rows 0 and 10
    EXPECT_EQ(columns[1], 0x0002);  // row 9
    EXPECT_EQ(columns[2], 0x0001);  // row 10
}

TEST(ReceiverFont, EncodesTheSignatureEntriesForWidthsThreeTwoFiveSeven) {
    ReceiverGlyphs glyphs;
    glyphs[0] = GlyphColumns(3, 0);
    glyphs[1] = GlyphColumns{0x07FF, 0x0001};
    glyphs[2] = GlyphColumns(5, 0x0400);
    glyphs[3] = GlyphColumns(7, 0x0102);
    const GlyphTableBytes table = EncodeGlyphTable(glyphs);
    ASSERT_EQ(table.error, "");
    ASSERT_EQ(table.bytes.size(), static_cast<std::size_t>(kTableBytes + 2 * (3 + 2 + 5 + 7)));
    const std::vector<std::uint8_t> signature(table.bytes.begin(), table.bytes.begin() + 16);
    EXPECT_EQ(signature,
              (std::vector<std::uint8_t>{0x00, 0x00, 0x00, 0x03, 0x06, 0x00, 0x00, 0x02, 0x0A, 0x00,
                                         0x00, 0x05, 0x14, 0x00, 0x00, 0x07}));
    // Entry 4 (code 36, empty) points past the last column of '#'.
    EXPECT_EQ(table.bytes[16], 34);
    EXPECT_EQ(table.bytes[19], 0);
    // The column words of '!' follow the three empty columns of the space, little-endian.
    EXPECT_EQ(table.bytes[kTableBytes + 6], 0xFF);
    EXPECT_EQ(table.bytes[kTableBytes + 7], 0x07);
    EXPECT_EQ(table.bytes[kTableBytes + 8], 0x01);
    EXPECT_EQ(table.bytes[kTableBytes + 9], 0x00);
}

TEST(ReceiverFont, RefusesGlyphsTheTableCannotDescribe) {
    ReceiverGlyphs wide;
    wide[10] = GlyphColumns(256, 0);
    EXPECT_EQ(EncodeGlyphTable(wide).error, "glyph 0x2A does not fit the table");
    EXPECT_TRUE(EncodeGlyphTable(wide).bytes.empty());

    ReceiverGlyphs large;  // 255 columns each: the offsets pass 65535 at the 129th glyph
    large.fill(GlyphColumns(255, 0));
    EXPECT_EQ(EncodeGlyphTable(large).error, "glyph 0xA1 does not fit the table");
}

TEST(ReceiverFont, ComposesAccentedLettersCentredOverTheirBase) {
    DrawingSet set = CompleteSet();
    ASSERT_EQ(BuildReceiverGlyphs(set).error, "");
    set.glyphs['A'] = Bars(5, {2, 8});
    set.named["mark grave capital"] =
        Glyph({"##.", ".##", "...", "...", "...", "...", "...", "...", "...", "...", "..."});
    const FontBuild build = BuildReceiverGlyphs(set);
    ASSERT_EQ(build.error, "");
    const GlyphColumns& agrave = build.glyphs[0xC0 - kFirstCode];
    // A is 5 wide, the mark 3: the mark sits one column in.
    EXPECT_EQ(agrave, (GlyphColumns{0x0104, 0x0504, 0x0704, 0x0304, 0x0104}));
    // The undefined codes are empty and two columns wide.
    EXPECT_EQ(build.glyphs[0x81 - kFirstCode], GlyphColumns(2, 0));
}

TEST(ReceiverFont, WidensTheGlyphForAMarkWiderThanItsBase) {
    DrawingSet set = CompleteSet();
    set.named["mark circumflex small"] = Bars(4, {1});
    const FontBuild build = BuildReceiverGlyphs(set);
    ASSERT_EQ(build.error, "");
    // The dotless i is one column; the circumflex four: the i lands in column 1.
    EXPECT_EQ(build.glyphs[0xEE - kFirstCode], (GlyphColumns{0x0200, 0x0600, 0x0200, 0x0200}));
    // A circumflex on its own (code 0x88) is just the mark.
    EXPECT_EQ(build.glyphs[0x88 - kFirstCode], GlyphColumns(4, 0x0200));
}

TEST(ReceiverFont, ReportsMissingAndDoubledGlyphs) {
    DrawingSet missing = CompleteSet();
    missing.glyphs.erase('Q');
    EXPECT_EQ(BuildReceiverGlyphs(missing).error, "glyph 0x51 is missing");

    DrawingSet doubled = CompleteSet();
    doubled.glyphs[0xC9] = Bars(1, {3});  // É is composed as well
    EXPECT_EQ(BuildReceiverGlyphs(doubled).error, "glyph 0xC9 is provided twice or is below 0x20");

    DrawingSet control = CompleteSet();
    control.glyphs[0x1F] = Bars(1, {3});
    EXPECT_EQ(BuildReceiverGlyphs(control).error, "glyph 0x1F is provided twice or is below 0x20");

    DrawingSet noMark = CompleteSet();
    noMark.named.erase("mark cedilla");
    EXPECT_EQ(BuildReceiverGlyphs(noMark).error, "glyph 0xB8 needs a drawing [mark cedilla]");

    DrawingSet noBase = CompleteSet();
    noBase.named.erase("dotless i");
    EXPECT_EQ(BuildReceiverGlyphs(noBase).error, "glyph 0xEC needs a drawing [dotless i]");
}

TEST(ReceiverFont, TheSampleFontBuildsWithTheReceiverSignature) {
    const FontBuild font = BuildSampleFont();
    ASSERT_EQ(font.error, "");
    EXPECT_EQ(font.glyphs[0].size(), 3u);
    EXPECT_EQ(font.glyphs[1].size(), 2u);
    EXPECT_EQ(font.glyphs[2].size(), 5u);
    EXPECT_EQ(font.glyphs[3].size(), 7u);
    EXPECT_EQ(font.glyphs[0], GlyphColumns(3, 0));  // the space is blank
}

}  // namespace
}  // namespace tavlo::tools
