#pragma once

#include <optional>
#include <string>
#include <string_view>

// Texts inside the program are single-byte Windows-1252 strings; these convert them at the
// boundaries (widgets, command line) to and from UTF-8.
namespace tavlo {

// The Unicode code point of a Windows-1252 byte. The five bytes the code page leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control of the same value, so every byte survives
// a round trip.
char32_t Windows1252ToCodePoint(unsigned char byte);

// The Windows-1252 byte of a code point, or nullopt when the code page cannot hold it.
std::optional<unsigned char> CodePointToWindows1252(char32_t codePoint);

std::string Windows1252ToUtf8(std::string_view text);

struct Utf8Conversion {
    std::string text;  // Windows-1252 bytes, when ok
    bool ok = true;
    char32_t unrepresentable = 0;  // the first character the code page cannot hold
    bool invalidUtf8 = false;      // the input was not valid UTF-8
};

// Converts UTF-8 to Windows-1252. Fails on the first character the code page cannot hold, or on
// malformed UTF-8; nothing is ever replaced silently.
Utf8Conversion Utf8ToWindows1252(std::string_view utf8);

// A text file as the user's editor saved it, in Windows-1252. Every Linux editor writes UTF-8,
// older files and Windows editors Windows-1252, Notepad's "Unicode" UTF-16 with a byte-order
// mark; the bytes tell which. After a UTF-16 byte-order mark (little- or big-endian) the text
// is UTF-16; a UTF-8 byte-order mark is skipped. The rest is read as UTF-8 when it is valid
// UTF-8 and holds a byte above 127 (a Windows-1252 text with such bytes is almost never valid
// UTF-8); anything else is taken as it is. A character the code page cannot hold becomes "?",
// and so does what is not UTF-16 after its mark (a lone surrogate, an odd last byte: U+FFFD).
enum class TextEncoding { Windows1252, Utf8, Utf16 };
struct DecodedText {
    std::string text;  // Windows-1252
    // The same characters in UTF-8, one for each byte of `text`, none replaced: what a file name
    // in the text needs (a "?" in a name would be a wildcard, and the wrong name).
    std::string utf8;
    TextEncoding encoding = TextEncoding::Windows1252;  // what the bytes were read as
    std::size_t replaced = 0;                           // characters that became "?"
    char32_t firstReplaced = 0;                         // the first of them
};
DecodedText DecodeTextFile(std::string_view bytes);

// A file system path (UTF-8 on this platform) as Windows-1252 text for a message: every
// character the code page cannot hold, every control character and every byte that is not
// UTF-8 shows as "?", so no name can break a message's lines or steer a terminal.
std::string PathForMessage(std::string_view path);

// Decodes the UTF-8 sequence at text[i] (i < text.size()) into `codePoint` and moves i past it;
// false, with i unchanged, when the bytes there are not UTF-8.
bool DecodeUtf8(std::string_view text, std::size_t& i, char32_t& codePoint);

// The UTF-8 bytes of one code point.
std::string CodePointToUtf8(char32_t codePoint);

// "U+20AC" style name of a code point, for messages.
std::string CodePointName(char32_t codePoint);

}  // namespace tavlo
