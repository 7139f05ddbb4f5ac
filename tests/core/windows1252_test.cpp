#include "core/windows1252.h"

#include <gtest/gtest.h>

#include <string>

namespace tavlo::test {
namespace {

using namespace std::string_literals;
using namespace std::string_view_literals;

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

// The bytes of UTF-16 code units after the byte-order mark, as Notepad saves "Unicode" (little-
// endian) and "Unicode big endian".
std::string Utf16File(std::u16string_view units, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t unit : units) {
        const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

TEST(Windows1252, TextFilesAreReadInTheEncodingTheirBytesShow) {
    const std::string bom = "\xEF\xBB\xBF", text = "Zo\xEB \x80";
    const std::u16string_view unicode = u"Zo\u00EB \u20AC";
    struct Row {
        const char* rule;
        std::string bytes;
        std::string expected;
        TextEncoding encoding;
        std::size_t replaced;
    };
    using enum TextEncoding;
    for (const Row& row : {
             Row{"UTF-8", Windows1252ToUtf8(text), text, Utf8, 0},
             Row{"UTF-8 after a byte-order mark", bom + Windows1252ToUtf8(text), text, Utf8, 0},
             Row{"Windows-1252", text, text, Windows1252, 0},
             Row{"Windows-1252 after a byte-order mark", bom + text, text, Windows1252, 0},
             Row{"ASCII", "a=b", "a=b", Windows1252, 0},
             Row{"UTF-8 cut short", "\xC3\xAB\xC3", "\xC3\xAB\xC3", Windows1252, 0},
             Row{"beyond the code page", "a\xE2\x98\x83\xF0\x9F\x98\x80", "a??", Utf8, 2},
             Row{"UTF-16 little-endian", Utf16File(unicode, false), text, Utf16, 0},
             Row{"UTF-16 big-endian", Utf16File(unicode, true), text, Utf16, 0},
             Row{"UTF-16 with zero and control characters", Utf16File(u"a\0\r\n"sv, false),
                 "a\0\r\n"s, Utf16, 0},
             Row{"UTF-16 beyond the code page, a surrogate pair",
                 Utf16File(u"a\u2603\U0001F600", true), "a??", Utf16, 2},
             Row{"UTF-16 with a lone surrogate and half a unit at the end",
                 Utf16File(u"a\xD800"
                           u"b",
                           false) +
                     "c",
                 "a?b?", Utf16, 2},
         }) {
        SCOPED_TRACE(row.rule);
        const DecodedText decoded = DecodeTextFile(row.bytes);
        EXPECT_EQ(decoded.text, row.expected);
        EXPECT_EQ(decoded.encoding, row.encoding);
        EXPECT_EQ(decoded.replaced, row.replaced);
    }
}

}  // namespace
}  // namespace tavlo::test
