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
}

}  // namespace
}  // namespace tavlo::test
