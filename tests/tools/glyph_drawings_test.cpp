// The text format in which the receiver font and the caption letters are drawn.
#include <gtest/gtest.h>

#include <string>

#include "tools/glyph_drawings.h"

namespace tavlo::tools {
namespace {

TEST(GlyphDrawings, ReadsGlyphsAndNamedDrawingsBetweenCommentsAndBlankLines) {
    const DrawingParse parse = ParseDrawings(
        "; three rows high\r\n"
        "[0x41] A\r\n"
        ".#.\r\n"
        "#.#\r\n"
        "###\r\n"
        "\r\n"
        "[mark acute capital]\n"
        ".#\n"
        "; comments may sit inside a block\n"
        "#.\n"
        "..\n"
        "[0xff] y with diaeresis, straight after the previous block\n"
        "#\n"
        ".\n"
        "#",
        3);
    ASSERT_EQ(parse.error, "");
    ASSERT_EQ(parse.set.glyphs.size(), 2u);
    const Drawing& a = parse.set.glyphs.at(0x41);
    EXPECT_EQ(a.Width(), 3);
    EXPECT_EQ(a.rows, (std::vector<std::string>{".#.", "#.#", "###"}));
    EXPECT_TRUE(a.Lit(0, 1));
    EXPECT_FALSE(a.Lit(0, 0));
    EXPECT_EQ(parse.set.glyphs.at(0xFF).Width(), 1);
    ASSERT_EQ(parse.set.named.count("mark acute capital"), 1u);
    EXPECT_EQ(parse.set.named.at("mark acute capital").rows,
              (std::vector<std::string>{".#", "#.", ".."}));
}

struct BadDrawing {
    const char* name;
    const char* text;
    const char* error;
};

void PrintTo(const BadDrawing& bad, std::ostream* out) {
    *out << bad.name;
}

class GlyphDrawingsRejects : public ::testing::TestWithParam<BadDrawing> {};

TEST_P(GlyphDrawingsRejects, NamesTheLineAndTheFault) {
    const DrawingParse parse = ParseDrawings(GetParam().text, 2);
    EXPECT_EQ(parse.error, GetParam().error);
    EXPECT_TRUE(parse.set.glyphs.empty());
    EXPECT_TRUE(parse.set.named.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Faults, GlyphDrawingsRejects,
    ::testing::Values(
        BadDrawing{"RowOutsideABlock", "##\n", "line 1: a row outside a block"},
        BadDrawing{"ShortLastBlock", "[0x41]\n##\n##\n\n[0x42]\n#\n",
                   "line 6: [0x42] has 1 rows instead of 2"},
        BadDrawing{"ShortBlockBeforeBlankLine", "[0x41]\n#\n\n[0x42]\n#\n#\n",
                   "line 3: [0x41] has 1 rows instead of 2"},
        BadDrawing{"ShortBlockBeforeHeader", "[0x41]\n#\n[0x42]\n#\n#\n",
                   "line 3: [0x41] has 1 rows instead of 2"},
        BadDrawing{"TooManyRows", "[0x41]\n#\n#\n#\n", "line 4: more than 2 rows in [0x41]"},
        BadDrawing{"RowsOfTwoWidths", "[0x41]\n##\n#\n",
                   "line 3: a row of another width in [0x41]"},
        BadDrawing{"OtherCharacterInARow", "[0x41]\n#x\n#.\n",
                   "line 2: a row may hold only '#' and '.'"},
        BadDrawing{"TextWithoutHeader", "\nA\n",
                   "line 2: expected a block header such as [0x41] or [mark acute capital]"},
        BadDrawing{"EmptyKey", "[]\n#\n#\n",
                   "line 1: expected a block header such as [0x41] or [mark acute capital]"},
        BadDrawing{"UnclosedKey", "[0x41\n#\n#\n",
                   "line 1: expected a block header such as [0x41] or [mark acute capital]"},
        BadDrawing{"CodeDrawnTwice", "[0x41]\n#\n#\n[0x41]\n#\n#\n",
                   "line 4: [0x41] is drawn twice"},
        BadDrawing{"NameDrawnTwice", "[dot]\n#\n#\n[dot]\n#\n#\n", "line 4: [dot] is drawn twice"},
        BadDrawing{"CodeAbove255", "[0x100]\n#\n#\n",
                   "line 1: [0x100] is not a code from 0x00 to 0xFF"},
        BadDrawing{"CodeNotHex", "[0xG1]\n#\n#\n",
                   "line 1: [0xG1] is not a code from 0x00 to 0xFF"}),
    [](const ::testing::TestParamInfo<BadDrawing>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tavlo::tools
