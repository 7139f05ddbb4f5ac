// How the reader turns the bytes of a settings file into entries.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <random>
#include <string>

#include "settings_test_fixture.h"

namespace tavlo::test {
namespace {

using namespace std::string_literals;

class SettingsFormatTest : public SettingsTest {};

// --- Opening -----------------------------------------------------------------------------------

TEST_F(SettingsFormatTest, MissingFileFailsAndLeavesTheSettingsAlone) {
    settings_.AddConfigEntry("Patch", "L1", "kept", 7);
    EXPECT_FALSE(ReadConfigFile(dir_.File("absent.CFG"), settings_));
    ASSERT_EQ(Entries().size(), 1u);
    EXPECT_EQ(Entries()[0].value, "kept");
}

TEST_F(SettingsFormatTest, DirectoryIsNoSettingsFile) {
    std::filesystem::create_directory(dir_.File("tavlo.CFG"));
    settings_.AddConfigEntry("Patch", "L1", "kept", 7);
    EXPECT_FALSE(ReadConfigFile(dir_.File("tavlo.CFG"), settings_));
    EXPECT_EQ(Entries().size(), 1u);
}

TEST_F(SettingsFormatTest, UnreadableFileFails) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "permission bits do not stop the superuser from reading";
    }
    const std::string path = dir_.File("tavlo.CFG");
    WriteFile(path, "MagX = 5\n");
    ASSERT_EQ(::chmod(path.c_str(), 0), 0);
    EXPECT_FALSE(ReadConfigFile(path, settings_));
    EXPECT_TRUE(Entries().empty());
}

TEST_F(SettingsFormatTest, EmptyAndCommentOnlyFilesAreReadWithoutEntries) {
    EXPECT_TRUE(ReadText(""));
    EXPECT_TRUE(ReadText("; only\r\n;comments\n\n   \t\n; and no last line feed", "c.CFG"));
    EXPECT_TRUE(Entries().empty());
}

// --- Lines, comments and white space -----------------------------------------------------------

TEST_F(SettingsFormatTest, EveryLineReadCountsTowardsTheLineNumber) {
    ASSERT_TRUE(ReadText("; comment\n\n[Image]\nFilename = a.rgn\n  \n[Patch]\nL1 = x"));
    ASSERT_EQ(Entries().size(), 2u);
    EXPECT_EQ(Entries()[0].line, 4);
    EXPECT_EQ(Entries()[1].line, 7);
}

TEST_F(SettingsFormatTest, SemicolonInsideALineIsText) {
    ASSERT_TRUE(ReadText("[Display]\nMagX = 2 ; doubled\n   ; indented comment\n"));
    ASSERT_EQ(Entries().size(), 1u);
    EXPECT_EQ(ValueOf("Display", "MagX"), "2 ; doubled");
}

TEST_F(SettingsFormatTest, OnlyTheSixAsciiWhiteSpaceCharactersAreTrimmed) {
    ASSERT_TRUE(ReadText("\t\v\f key \t=\f value \v\r\n\xA0wide\xA0 = \xA0v\xA0\n"));
    ASSERT_EQ(Entries().size(), 2u);
    EXPECT_EQ(Entries()[0].key, "key");
    EXPECT_EQ(Entries()[0].value, "value");
    // A non-breaking space (0xA0) is a character like any other.
    EXPECT_EQ(Entries()[1].key, "\xA0wide\xA0");
    EXPECT_EQ(Entries()[1].value, "\xA0v\xA0");
}

TEST_F(SettingsFormatTest, CrLfFileReadsLikeLfFile) {
    const std::string lf = "[Image]\nFilename = x.rgn\n[Patch]\nL1 = '  Terry  '\nL2 =\n";
    std::string crlf;
    for (char c : lf) {
        crlf += (c == '\n') ? "\r\n"s : std::string(1, c);
    }
    ASSERT_TRUE(ReadText(crlf));
    EXPECT_EQ(ValueOf("Image", "Filename"), "x.rgn");
    EXPECT_EQ(ValueOf("Patch", "L1"), "  Terry  ");
    EXPECT_EQ(ValueOf("Patch", "L2"), "");
    EXPECT_EQ(settings_.FindConfigEntry("Patch", "L2")->line, 5);
}

TEST_F(SettingsFormatTest, LoneCarriageReturnDoesNotEndALine) {
    ASSERT_TRUE(ReadText("a = b\rc = d\n"));
    ASSERT_EQ(Entries().size(), 1u);
    EXPECT_EQ(Entries()[0].key, "a");
    EXPECT_EQ(Entries()[0].value, "b\rc = d");
}

TEST_F(SettingsFormatTest, LastLineNeedsNoLineFeed) {
    ASSERT_TRUE(ReadText("[Patch]\nL7 = 'when returned!'"));
    EXPECT_EQ(ValueOf("Patch", "L7"), "when returned!");
}

// --- Long lines --------------------------------------------------------------------------------

TEST_F(SettingsFormatTest, LongCommentLineIsReadInPiecesOf255) {
    // 255 characters of comment, then 45 more that hold an "=".
    const std::string tail = "Tail = " + std::string(38, 't');
    const std::string comment = ";" + std::string(254, 'c') + tail;
    ASSERT_EQ(comment.size(), 300u);
    ASSERT_TRUE(ReadText(comment + "\nNext = n\n"));
    ASSERT_EQ(Entries().size(), 2u);
    EXPECT_EQ(Entries()[0].key, "Tail");
    EXPECT_EQ(Entries()[0].value, std::string(38, 't'));
    EXPECT_EQ(Entries()[0].line, 2);
    EXPECT_EQ(Entries()[1].key, "Next");
    EXPECT_EQ(Entries()[1].line, 3);
}

TEST_F(SettingsFormatTest, LineOf254CharactersIsOnePieceAndOf255IsTwo) {
    const std::string fits = "A = " + std::string(250, 'a');       // 254 characters + line feed
    const std::string overflows = "B = " + std::string(251, 'b');  // 255 + line feed
    ASSERT_TRUE(ReadText(fits + "\n" + overflows + "\nC = c\n"));
    ASSERT_EQ(Entries().size(), 3u);
    EXPECT_EQ(Entries()[0].value.size(), 250u);
    EXPECT_EQ(Entries()[1].line, 2);
    EXPECT_EQ(Entries()[1].value.size(), 251u);
    // The line feed of line 2 was read as a piece of its own (an empty line 3).
    EXPECT_EQ(Entries()[2].line, 4);
}

TEST_F(SettingsFormatTest, LongValueIsSplitIntoSeveralEntries) {
    const std::string line = "L1 = " + std::string(600, 'v');
    ASSERT_TRUE(ReadText(line + "\n"));
    ASSERT_EQ(Entries().size(), 3u);
    EXPECT_EQ(Entries()[0].value, std::string(250, 'v'));
    // Pieces without "=" become entries with the empty key.
    EXPECT_EQ(Entries()[1].key, "");
    EXPECT_EQ(Entries()[1].value, std::string(255, 'v'));
    EXPECT_EQ(Entries()[2].value, std::string(95, 'v'));
    EXPECT_EQ(Entries()[2].line, 3);
}

// --- NUL bytes ---------------------------------------------------------------------------------

TEST_F(SettingsFormatTest, NulByteEndsTheTextOfItsLine) {
    ASSERT_TRUE(
        ReadText("[Patch]\nL1 = 'ab'\0junk = 1\nL2 = 'a \0 b'\n\0L3 = hidden\nL4 = four\n"s));
    EXPECT_EQ(ValueOf("Patch", "L1"), "ab");
    EXPECT_EQ(ValueOf("Patch", "L2"), "'a");
    EXPECT_EQ(settings_.FindConfigEntry("Patch", "junk"), nullptr);
    EXPECT_EQ(settings_.FindConfigEntry("Patch", "L3"), nullptr);
    // The lines cut short still count.
    EXPECT_EQ(settings_.FindConfigEntry("Patch", "L4")->line, 5);
    EXPECT_EQ(Entries().size(), 3u);
}

TEST_F(SettingsFormatTest, NulByteEndsOnlyItsOwnPieceOfALongLine) {
    // The long line is read as pieces of 255 characters; each is a line of its own, so the text
    // after the NUL is ignored only up to the end of the NUL's piece.
    const std::string line = "A = a\0"s + std::string(249, 'x') + "B = b";
    ASSERT_EQ(line.size(), 260u);
    ASSERT_TRUE(ReadText(line + "\n"));
    ASSERT_EQ(Entries().size(), 2u);
    EXPECT_EQ(Entries()[0].value, "a");
    EXPECT_EQ(Entries()[1].key, "B");
    EXPECT_EQ(Entries()[1].line, 2);
}

// --- Sections ----------------------------------------------------------------------------------

TEST_F(SettingsFormatTest, LinesBeforeTheFirstHeaderAreInTheEmptySection) {
    ASSERT_TRUE(ReadText("Top = 1\n[]\nAlso = 2\n"));
    EXPECT_EQ(ValueOf("", "Top"), "1");
    EXPECT_EQ(ValueOf("", "Also"), "2");
}

TEST_F(SettingsFormatTest, SectionNamesAreTakenAsWritten) {
    ASSERT_TRUE(ReadText("[ Patch ]\nSearchString = x\n[a=b]\nk = v\n"));
    EXPECT_EQ(settings_.FindConfigEntry("Patch", "SearchString"), nullptr);
    EXPECT_EQ(ValueOf(" Patch ", "SearchString"), "x");
    EXPECT_EQ(ValueOf("a=b", "k"), "v");
}

TEST_F(SettingsFormatTest, HalfHeadersAreEntriesWithTheEmptyKey) {
    ASSERT_TRUE(ReadText("[Patch\nx[Patch]\n[\n"));
    ASSERT_EQ(Entries().size(), 3u);
    for (const SettingsEntry& entry : Entries()) {
        EXPECT_EQ(*entry.section, "");
        EXPECT_EQ(entry.key, "");
    }
    EXPECT_EQ(Entries()[0].value, "[Patch");
    EXPECT_EQ(Entries()[1].value, "x[Patch]");
    EXPECT_EQ(Entries()[2].value, "[");
}

TEST_F(SettingsFormatTest, SectionAndKeyMatchOnlyInTheirOwnCase) {
    ASSERT_TRUE(ReadText("[image]\nFilename = a\n[Display]\nmagx = 3\n"));
    EXPECT_EQ(settings_.FindConfigEntry("Image", "Filename"), nullptr);
    EXPECT_EQ(settings_.FindConfigEntry("Display", "MagX"), nullptr);
    EXPECT_EQ(settings_.GetConfigInt("Display", "MagX", 2), 2);
}

TEST_F(SettingsFormatTest, SectionOpenedTwiceKeepsAllItsEntries) {
    ASSERT_TRUE(ReadText("[Patch]\nL1 = one\n[Image]\nFilename = f\n[Patch]\nL2 = two\nL3 = 3\n"));
    EXPECT_EQ(ValueOf("Patch", "L1"), "one");
    EXPECT_EQ(ValueOf("Patch", "L2"), "two");
    ASSERT_EQ(Entries().size(), 4u);
    // Entries under one header share one copy of its name; another header has its own.
    EXPECT_EQ(Entries()[2].section.get(), Entries()[3].section.get());
    EXPECT_NE(Entries()[0].section.get(), Entries()[2].section.get());
}

TEST_F(SettingsFormatTest, EveryReadStartsInTheEmptySection) {
    ASSERT_TRUE(ReadText("[Patch]\nL1 = a\n", "first.CFG"));
    ASSERT_TRUE(ReadText("L1 = b\n", "second.CFG"));
    EXPECT_EQ(ValueOf("Patch", "L1"), "a");
    EXPECT_EQ(ValueOf("", "L1"), "b");
}

// --- Keys and values ---------------------------------------------------------------------------

TEST_F(SettingsFormatTest, FirstEqualsSignSplitsKeyAndValue) {
    ASSERT_TRUE(ReadText("a = b = c\n  spaced key   =   'x=y'  \n= lonely\nnoequals\n"));
    ASSERT_EQ(Entries().size(), 4u);
    EXPECT_EQ(Entries()[0].key, "a");
    EXPECT_EQ(Entries()[0].value, "b = c");
    EXPECT_EQ(Entries()[1].key, "spaced key");
    EXPECT_EQ(Entries()[1].value, "x=y");
    EXPECT_EQ(Entries()[2].key, "");
    EXPECT_EQ(Entries()[2].value, "lonely");
    EXPECT_EQ(Entries()[3].key, "");
    EXPECT_EQ(Entries()[3].value, "noequals");
}

TEST_F(SettingsFormatTest, OnePairOfSingleQuotesIsRemoved) {
    ASSERT_TRUE(
        ReadText("[Patch]\n"
                 "L1 = '  Terry  '\n"
                 "L2 = Terry\n"
                 "L3 = 'it's'\n"
                 "L4 = '\n"
                 "L5 = ''x''\n"
                 "SearchString = 'WARNING' ; default\n"
                 "L6 = \"double\"\n"
                 "'quoted line'\n"
                 "'key' = v\n"));
    EXPECT_EQ(ValueOf("Patch", "L1"), "  Terry  ");
    EXPECT_EQ(ValueOf("Patch", "L2"), "Terry");
    EXPECT_EQ(ValueOf("Patch", "L3"), "it's");
    EXPECT_EQ(ValueOf("Patch", "L4"), "'");
    EXPECT_EQ(ValueOf("Patch", "L5"), "'x'");
    EXPECT_EQ(ValueOf("Patch", "SearchString"), "'WARNING' ; default");
    EXPECT_EQ(ValueOf("Patch", "L6"), "\"double\"");
    EXPECT_EQ(ValueOf("Patch", ""), "quoted line");
    // Keys are never unquoted.
    EXPECT_EQ(ValueOf("Patch", "'key'"), "v");
}

TEST_F(SettingsFormatTest, EmptyValueIsAValue) {
    ASSERT_TRUE(ReadText("[Patch]\nL2 =\nL5 = ''\n"));
    EXPECT_STREQ(settings_.GetConfigString("Patch", "L2", "default"), "");
    EXPECT_STREQ(settings_.GetConfigString("Patch", "L5", "default"), "");
}

TEST_F(SettingsFormatTest, FirstOccurrenceOfAKeyWins) {
    ASSERT_TRUE(ReadText("[Patch]\nL1 = first\nL1 = second\n"));
    EXPECT_EQ(Entries().size(), 2u);
    EXPECT_EQ(ValueOf("Patch", "L1"), "first");
}

TEST_F(SettingsFormatTest, BytesAboveAsciiAreKeptExactly) {
    ASSERT_TRUE(ReadText("[Patch]\nSearchString = ATENCI\xD3N\n[\xC4nderung]\n\xFC = \xFF\xFE\n"));
    EXPECT_EQ(ValueOf("Patch", "SearchString"), "ATENCI\xD3N");
    EXPECT_EQ(ValueOf("\xC4nderung", "\xFC"), "\xFF\xFE");
}

TEST_F(SettingsFormatTest, NotepadsUtf16ReadsLikeTheSameTextInUtf8) {
    const std::u16string text = u"[Patch]\r\nSearchString = ATENCI\u00D3N\r\n";
    ASSERT_TRUE(ReadText("[Patch]\r\nSearchString = ATENCI\xC3\x93N\r\n"));
    for (const bool bigEndian : {false, true}) {
        SCOPED_TRACE(bigEndian ? "big-endian" : "little-endian");
        std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
        for (const char16_t unit : text) {
            const char high = static_cast<char>(unit >> 8);
            const char low = static_cast<char>(unit & 0xFF);
            bytes += bigEndian ? std::string{high, low} : std::string{low, high};
        }
        const std::string path = dir_.File("unicode.cfg");
        WriteFile(path, bytes);
        Settings read;
        ASSERT_TRUE(ReadConfigFile(path, read));
        ASSERT_EQ(read.Entries().size(), Entries().size());
        EXPECT_STREQ(read.GetConfigString("Patch", "SearchString", nullptr), "ATENCI\xD3N");
    }
}

TEST_F(SettingsFormatTest, BinaryJunkIsReadWithoutHarm) {
    std::mt19937 random(20240611);
    std::string junk(20000, '\0');
    for (char& c : junk) {
        c = static_cast<char>(random() & 0xFF);
    }
    ASSERT_TRUE(ReadText(junk));
    std::int32_t previousLine = 0;
    for (const SettingsEntry& entry : Entries()) {
        EXPECT_GT(entry.line, previousLine);
        previousLine = entry.line;
        EXPECT_EQ(entry.key.find('\0'), std::string::npos);
        EXPECT_EQ(entry.value.find('\0'), std::string::npos);
        EXPECT_LE(entry.value.size(), 255u);
        // Keys come out trimmed, whatever surrounded them.
        if (!entry.key.empty()) {
            EXPECT_NE(entry.key.front(), ' ');
            EXPECT_NE(entry.key.back(), '\r');
        }
    }
    EXPECT_FALSE(Entries().empty());
    // Every piece holds at least one byte, so there can be no more lines than bytes.
    EXPECT_LE(previousLine, 20000);
}

}  // namespace
}  // namespace tavlo::test
