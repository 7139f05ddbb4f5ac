#include "screen/screen_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/font_image.h"

namespace tavlo::test {
namespace {

// Space 3 columns (blank), "i" 1, "A" 5, "M" 40 columns of full bars; "T" lights the top row in
// its first column, the bottom row in its second and only ignored bits in its third; "B" has
// columns past the image's end.
std::string LayoutFontImage() {
    FontImageBuilder builder;
    builder.Bar('i', 1).Bar('A', 5).Bar('M', 40);
    builder.Glyph('T', {0x0400, 0x0001, 0xF800});
    builder.Glyph(0xD3, {0x0155, 0x02AA});
    builder.Entry('B', 0xFFF0, 3);
    return builder.Bytes();
}

// The lines NextLine takes from the text, one after the other.
std::vector<std::string> LaidOutLines(const DeviceFont& font, std::string_view text) {
    LitPixelGrid unused;
    const ScreenLayout layout(&font, unused);
    std::vector<std::string> lines;
    while (!text.empty()) {
        const std::size_t before = text.size();
        lines.emplace_back(layout.NextLine(text));
        if (text.size() >= before) {
            ADD_FAILURE() << "NextLine took nothing";
            break;
        }
    }
    return lines;
}

class LayoutTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(loaded.located); }

    std::vector<std::string> Lines(std::string_view text) const {
        return LaidOutLines(loaded.font, text);
    }

    // The lit columns of one device row.
    static std::vector<int> LitColumns(const LitPixelGrid& grid, int row) {
        std::vector<int> columns;
        for (int column = 0; column < grid.Width(); ++column) {
            if (grid.IsLit(column, row)) {
                columns.push_back(column);
            }
        }
        return columns;
    }

    static std::vector<int> Range(int first, int last) {
        std::vector<int> columns;
        for (int column = first; column <= last; ++column) {
            columns.push_back(column);
        }
        return columns;
    }

    LitPixelGrid Draw(std::string_view text) const { return LayOutText(&loaded.font, text); }

    LoadedFont loaded{LayoutFontImage()};
};

TEST_F(LayoutTest, WordAndItsSpaceStayWhileTheLineMeasuresBelow108) {
    // "M i " is 41 + 4 + 2 + 4 = 51; with a wider M it reaches the limit exactly.
    FontImageBuilder builder;
    builder.Bar('i', 1);
    LoadedFont at107(FontImageBuilder(builder).Bar('M', 96).Bytes());
    LoadedFont at108(FontImageBuilder(builder).Bar('M', 97).Bytes());
    ASSERT_TRUE(at107.located && at108.located);
    ASSERT_EQ(at107.font.TextWidth("M i "), 107);
    ASSERT_EQ(at108.font.TextWidth("M i "), 108);

    // At 107 "i " joins the line (and the final word after it too); at 108 it starts the next.
    EXPECT_EQ(LaidOutLines(at107.font, "M i M"), (std::vector<std::string>{"M i M"}));
    EXPECT_EQ(LaidOutLines(at108.font, "M i M"), (std::vector<std::string>{"M ", "i M"}));
    // The same limit for a word ended by a line break, which measures 1 where a space measures 4.
    LoadedFont breakAt107(FontImageBuilder(builder).Bar('M', 99).Bytes());
    LoadedFont breakAt108(FontImageBuilder(builder).Bar('M', 100).Bytes());
    ASSERT_EQ(breakAt107.font.TextWidth("M i\n"), 107);
    ASSERT_EQ(breakAt108.font.TextWidth("M i\n"), 108);
    EXPECT_EQ(LaidOutLines(breakAt107.font, "M i\ni"), (std::vector<std::string>{"M i\n", "i"}));
    EXPECT_EQ(LaidOutLines(breakAt108.font, "M i\ni"),
              (std::vector<std::string>{"M ", "i\n", "i"}));
}

TEST_F(LayoutTest, LinesKeepTheirTrailingSpacesAndLineBreaks) {
    EXPECT_EQ(Lines("A A\nA  \n\nA"), (std::vector<std::string>{"A A\n", "A  \n", "\n", "A"}));
    EXPECT_EQ(Lines("\n\n"), (std::vector<std::string>{"\n", "\n"}));
    EXPECT_EQ(Lines(" "), (std::vector<std::string>{" "}));
    EXPECT_TRUE(Lines("").empty());
}

TEST_F(LayoutTest, AWordTooWideForAnyLineGetsALineOfItsOwn) {
    // "MMM " measures 127: alone on its line, whether ended by a space or a line break.
    EXPECT_EQ(Lines("i MMM i"), (std::vector<std::string>{"i ", "MMM ", "i"}));
    EXPECT_EQ(Lines("MMM\ni"), (std::vector<std::string>{"MMM\n", "i"}));

    // Drawn from column 0; the third M (columns 82 to 121) would pass column 107.
    const LitPixelGrid grid = Draw("MMM \n");
    std::vector<int> expected = Range(0, 39);
    const std::vector<int> second = Range(41, 80);
    expected.insert(expected.end(), second.begin(), second.end());
    for (int row = 0; row <= 10; ++row) {
        EXPECT_EQ(LitColumns(grid, row), expected) << "row " << row;
    }
    EXPECT_EQ(grid.LitCount(), 80 * 11);
}

TEST_F(LayoutTest, TheFinalWordIsNotMeasured) {
    // "i MMM" measures 129 but its last word has nothing after it: it stays on the line.
    EXPECT_EQ(Lines("i MMM"), (std::vector<std::string>{"i MMM"}));
    const LitPixelGrid grid = Draw("i MMM");
    std::vector<int> expected = {0};
    for (int first : {6, 47}) {
        const std::vector<int> m = Range(first, first + 39);
        expected.insert(expected.end(), m.begin(), m.end());
    }
    EXPECT_EQ(LitColumns(grid, 5), expected);  // the M at column 88 does not fit
}

TEST_F(LayoutTest, LinesAreCentredTruncatingTowardZero) {
    // "i" measures 2: (108 - 2) / 2 = 53. "A" measures 6: 51.
    EXPECT_EQ(LitColumns(Draw("i"), 0), (std::vector<int>{53}));
    EXPECT_EQ(LitColumns(Draw("A"), 0), Range(51, 55));
    // Odd widths: "A\n" measures 7, (108 - 7) / 2 = 50.5 -> 50; "iA\n" 9 -> 49.
    EXPECT_EQ(LitColumns(Draw("A\n"), 0), Range(50, 54));
    EXPECT_EQ(LitColumns(Draw("iA\n"), 3), (std::vector<int>{49, 51, 52, 53, 54, 55}));
}

TEST_F(LayoutTest, TrailingSpacesMoveTheLineLeft) {
    // "i   " measures 2 + 3 x 4 = 14: column 47 instead of 53.
    EXPECT_EQ(LitColumns(Draw("i   "), 0), (std::vector<int>{47}));
    // Its line break adds one more column: 15, so (108 - 15) / 2 = 46.
    EXPECT_EQ(LitColumns(Draw("i   \nA"), 0), (std::vector<int>{46}));
}

TEST_F(LayoutTest, ControlCharactersAdvanceOneColumnAndDrawNothing) {
    // "i\ti" measures 5: column 51; the tab takes column 53.
    EXPECT_EQ(LitColumns(Draw("i\ti"), 4), (std::vector<int>{51, 54}));
}

TEST_F(LayoutTest, GlyphBitsCountUpFromTheBottomRow) {
    // "T" measures 4: column 52. Bit 10 is the top row of the line, bit 0 its bottom row, and
    // bits 11 to 15 are not drawn.
    for (int line = 0; line < 7; ++line) {
        const LitPixelGrid grid = Draw(std::string(static_cast<std::size_t>(line), '\n') + "T");
        EXPECT_EQ(grid.LitCount(), 2) << grid.Picture();
        EXPECT_TRUE(grid.IsLit(52, line * 12)) << "line " << line;
        EXPECT_TRUE(grid.IsLit(53, line * 12 + 10)) << "line " << line;
    }
}

TEST_F(LayoutTest, SevenLinesAreDrawnAndTheEighthOnlyLaidOut) {
    std::string text;
    for (int line = 0; line < 10; ++line) {
        text += line == 3 ? "\n" : "A\n";  // line 3 is blank
    }
    EXPECT_EQ(Lines(text).size(), 10u);
    const LitPixelGrid grid = Draw(text);
    for (int line = 0; line < 7; ++line) {
        const std::vector<int> expected = line == 3 ? std::vector<int>{} : Range(50, 54);
        for (int row = line * 12; row <= line * 12 + 10; ++row) {
            EXPECT_EQ(LitColumns(grid, row), expected) << "row " << row;
        }
        EXPECT_TRUE(LitColumns(grid, line * 12 + 11).empty()) << "gap row of line " << line;
    }
    EXPECT_EQ(grid.LitCount(), 6 * 5 * 11);
    for (int row = 84; row < 91; ++row) {
        EXPECT_TRUE(LitColumns(grid, row).empty()) << "row " << row;
    }
}

TEST_F(LayoutTest, AGlyphIsDrawnOnlyWhenItAndItsSpacingColumnFit) {
    LitPixelGrid grid;
    ScreenLayout layout(&loaded.font, grid);
    layout.DrawChar('A', 0, 102);  // columns 102 to 106, spacing column 107
    layout.DrawChar('A', 1, 103);  // would end at 107 with its spacing column at 108
    EXPECT_EQ(LitColumns(grid, 0), Range(102, 106));
    EXPECT_TRUE(LitColumns(grid, 12).empty());

    // Lines past the seventh are never drawn.
    layout.DrawChar('A', 6, 0);
    layout.DrawChar('A', 7, 0);
    EXPECT_EQ(LitColumns(grid, 72), Range(0, 4));
    EXPECT_EQ(grid.LitCount(), 2 * 5 * 11);
    // Codes below 32 draw nothing.
    layout.DrawChar('\n', 2, 0);
    EXPECT_EQ(grid.LitCount(), 2 * 5 * 11);
}

TEST_F(LayoutTest, HighCodesAreDrawnFromTheirEntries) {
    // 0xD3 (entry 179) measures 3: column 52. Its columns hold the even and the odd bits.
    const LitPixelGrid grid = Draw("\xD3");
    for (int bit = 0; bit <= 10; ++bit) {
        const int row = 10 - bit;
        EXPECT_EQ(grid.IsLit(52, row), bit % 2 == 0 && bit <= 8) << "bit " << bit;
        EXPECT_EQ(grid.IsLit(53, row), bit % 2 == 1) << "bit " << bit;
    }
    EXPECT_EQ(grid.LitCount(), 5 + 5);
}

TEST_F(LayoutTest, AGlyphOutsideTheImageIsBlankButKeepsItsWidth) {
    // "iBi" measures 2 + 4 + 2 = 8: column 50; B takes columns 52 to 54, spacing 55.
    const LitPixelGrid grid = Draw("iBi");
    EXPECT_EQ(LitColumns(grid, 0), (std::vector<int>{50, 56}));
    EXPECT_EQ(grid.LitCount(), 2 * 11);
}

TEST_F(LayoutTest, NothingIsDrawnWithoutAFont) {
    EXPECT_EQ(LayOutText(nullptr, "A\nA\nA").LitCount(), 0);
    EXPECT_EQ(Draw("").LitCount(), 0);
}

TEST_F(LayoutTest, ALongPastedTextIsLaidOutWhole) {
    std::string text;
    while (text.size() < 100'000) {
        text += "AAAA ";
    }
    // "AAAA " measures 28: three fit a line (84), a fourth would make 112.
    const std::vector<std::string> lines = Lines(text);
    ASSERT_EQ(lines.size(), 20'000u / 3 + 1);
    EXPECT_EQ(lines.front(), "AAAA AAAA AAAA ");
    EXPECT_EQ(lines.back(), "AAAA AAAA ");
    const LitPixelGrid grid = Draw(text);
    EXPECT_EQ(grid.LitCount(), 7 * 12 * 5 * 11);
}

// What the screen leaves out: lines below the seventh that hold something to show, and lines
// that lose a character at the right edge (a word too wide for any line, an unmeasured final
// word).
TEST_F(LayoutTest, HiddenCountsLinesBelowTheScreenAndLinesCutAtTheRightEdge) {
    const std::string sevenLines = "A\nA\nA\nA\nA\nA\nA\n";
    struct Row {
        const char* rule;
        std::string text;
        int linesBelow;
        int clippedLines;
    };
    const Row rows[] = {
        {"a text that fits", "A A\nMM", 0, 0},
        {"two lines below the seventh", sevenLines + "A\nA", 2, 0},
        {"blank lines below the seventh show nothing", sevenLines + "   \n\n ", 0, 0},
        {"an unmeasured final word passes the edge", "A MMM", 0, 1},
        {"words too wide for any line, each a line", "MMM MMM\nA", 0, 2},
        {"a cut line below the screen counts once, as below", sevenLines + "MMM", 1, 0},
        {"a trailing space past the edge shows nothing", "MM" + std::string(20, ' '), 0, 0},
    };
    LitPixelGrid unused;
    const ScreenLayout layout(&loaded.font, unused);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.rule);
        const HiddenText hidden = layout.Hidden(row.text);
        EXPECT_EQ(hidden.linesBelow, row.linesBelow);
        EXPECT_EQ(hidden.clippedLines, row.clippedLines);
        // The note names what is hidden, and is empty when nothing is.
        const std::string note = HiddenTextNote(hidden);
        EXPECT_EQ(note.empty(), !hidden.Any());
        for (const int count : {hidden.linesBelow, hidden.clippedLines}) {
            if (count > 0) {
                EXPECT_NE(note.find(std::to_string(count) + " line"), std::string::npos) << note;
            }
        }
    }
    // Without a font the screen shows no text: nothing is said to be hidden.
    const ScreenLayout noFont(nullptr, unused);
    EXPECT_FALSE(noFont.Hidden(sevenLines + "MMM MMM").Any());
}

}  // namespace
}  // namespace tavlo::test
