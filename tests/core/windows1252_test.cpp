#include "core/windows1252.h"

#include <gtest/gtest.h>

#include <string>

namespace tavlo::test {
namespace {

using namespace std::string_literals;

TEST(Windows1252, EveryByteSurvivesTheRoundTripThroughUtf8) {
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    const Utf8Conversion back = Utf8ToWindows1252(Windows1252ToUtf8(all));
    ASSERT_TRUE(back.ok);
    EXPECT_EQ(back.text, all);
}

TEST(Windows1252, TheCodePagesOwnCharacters) {
    EXPECT_EQ(Windows1252ToUtf8("ATENCI\xD3N"), "ATENCI\xC3\x93N");
    EXPECT_EQ(Windows1252ToUtf8("\x80\x9F\xFF"), "\xE2\x82\xAC\xC5\xB8\xC3\xBF");  // euro, Y", y"
    EXPECT_EQ(Utf8ToWindows1252("\xE2\x80\x9Cq\xE2\x80\x9D").text, "\x93q\x94");
}

TEST(Windows1252, ACharacterTheCodePageCannotHoldIsNamedNotReplaced) {
    const Utf8Conversion omega = Utf8ToWindows1252("ab\xCE\xA9");
    EXPECT_FALSE(omega.ok);
    EXPECT_FALSE(omega.invalidUtf8);
    EXPECT_EQ(omega.unrepresentable, U'\u03A9');
    EXPECT_EQ(omega.text, "");
    EXPECT_EQ(CodePointName(omega.unrepresentable), "U+03A9");
    EXPECT_EQ(CodePointToUtf8(omega.unrepresentable), "\xCE\xA9");
    EXPECT_EQ(Utf8ToWindows1252("\xF0\x9F\x98\x80").unrepresentable, U'\U0001F600');
}

TEST(Windows1252, MalformedUtf8IsRefused) {
    for (const std::string& bad :
         {"\xC3"s, "\x80"s, "\xC0\xAF"s, "\xED\xA0\x80"s, "\xE2\x82"s, "\xF4\x90\x80\x80"s}) {
        const Utf8Conversion result = Utf8ToWindows1252(bad);
        EXPECT_FALSE(result.ok);
        EXPECT_TRUE(result.invalidUtf8);
    }
}

TEST(Windows1252, PathsInMessagesKeepWhatTheCodePageHolds) {
    EXPECT_EQ(PathForMessage("/home/\xC3\xA9ric/unit.rgn"), "/home/\xE9ric/unit.rgn");
    EXPECT_EQ(PathForMessage("/gps/\xCE\xA9/\xFF.rgn"), "/gps/?/?.rgn");
    // Control characters (C0, DEL, C1) would break the message's lines or steer a terminal.
    EXPECT_EQ(PathForMessage("/gps/a\nb\x1B[2J\x7F\xC2\x85.rgn"), "/gps/a?b?[2J??.rgn");
}

TEST(Windows1252, TextFilesAreReadAsUtf8OnlyWhenTheyAreUtf8) {
    const std::string bom = "\xEF\xBB\xBF", text = "Zo\xEB \x80";
    struct Row {
        const char* rule;
        std::string bytes;
        std::string expected;
        bool fromUtf8;
        std::size_t replaced;
    };
    for (const Row& row : {
             Row{"UTF-8", Windows1252ToUtf8(text), text, true, 0},
             Row{"UTF-8 after a byte-order mark", bom + Windows1252ToUtf8(text), text, true, 0},
             Row{"Windows-1252", text, text, false, 0},
             Row{"Windows-1252 after a byte-order mark", bom + text, text, false, 0},
             Row{"ASCII", "a=b", "a=b", false, 0},
             Row{"UTF-8 cut short", "\xC3\xAB\xC3", "\xC3\xAB\xC3", false, 0},
             Row{"beyond the code page", "a\xE2\x98\x83\xF0\x9F\x98\x80", "a??", true, 2},
         }) {
        SCOPED_TRACE(row.rule);
        const DecodedText decoded = DecodeTextFile(row.bytes);
        EXPECT_EQ(decoded.text, row.expected);
        EXPECT_EQ(decoded.fromUtf8, row.fromUtf8);
        EXPECT_EQ(decoded.replaced, row.replaced);
    }
}

}  // namespace
}  // namespace tavlo::test
