#include "core/windows1252.h"

#include <algorithm>
#include <cstdio>

namespace tavlo {

namespace {

// Code points of the bytes 0x80 to 0x9F; the undefined ones keep their own value.
constexpr char32_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace

bool DecodeUtf8(std::string_view text, std::size_t& i, char32_t& cp) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    int extra = 0;
    char32_t min = 0;
    if (lead < 0x80) {
        cp = lead;
        ++i;
        return true;
    } else if ((lead & 0xE0) == 0xC0) {
        extra = 1, cp = lead & 0x1F, min = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, cp = lead & 0x0F, min = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, cp = lead & 0x07, min = 0x10000;
    } else {
        return false;
    }
    if (i + static_cast<std::size_t>(extra) >= text.size()) {
        return false;  // the sequence is cut off
    }
    for (int k = 1; k <= extra; ++k) {
        const unsigned char next = byte(i + k);
        if ((next & 0xC0) != 0x80) {
            return false;
        }
        cp = (cp << 6) | (next & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return false;
    }
    i += extra + 1;
    return true;
}

char32_t Windows1252ToCodePoint(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0) {
        return kHighControls[byte - 0x80];
    }
    return byte;
}

std::optional<unsigned char> CodePointToWindows1252(char32_t codePoint) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
        return static_cast<unsigned char>(codePoint);
    }
    for (int i = 0; i < 32; ++i) {
        if (kHighControls[i] == codePoint) {
            return static_cast<unsigned char>(0x80 + i);
        }
    }
    return std::nullopt;
}

std::string Windows1252ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        AppendUtf8(out, Windows1252ToCodePoint(static_cast<unsigned char>(c)));
    }
    return out;
}

Utf8Conversion Utf8ToWindows1252(std::string_view utf8) {
    Utf8Conversion result;
    result.text.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        char32_t cp = 0;
        if (!DecodeUtf8(utf8, i, cp)) {
            result.ok = false;
            result.invalidUtf8 = true;
            result.text.clear();
            return result;
        }
        const auto byte = CodePointToWindows1252(cp);
        if (!byte) {
            result.ok = false;
            result.unrepresentable = cp;
            result.text.clear();
            return result;
        }
        result.text += static_cast<char>(*byte);
    }
    return result;
}

namespace {

// Takes one character into a decoded text, as "?" when the code page cannot hold it.
void AppendDecoded(DecodedText& decoded, char32_t codePoint) {
    const auto byte = CodePointToWindows1252(codePoint);
    if (!byte && decoded.replaced++ == 0) {
        decoded.firstReplaced = codePoint;
    }
    decoded.text += byte ? static_cast<char>(*byte) : '?';
    AppendUtf8(decoded.utf8, codePoint);
}

DecodedText DecodeUtf16(std::string_view bytes, bool bigEndian) {
    constexpr char32_t kNoCharacter = 0xFFFD;
    DecodedText decoded{{}, {}, TextEncoding::Utf16};
    decoded.text.reserve(bytes.size() / 2);
    const auto unitAt = [&](std::size_t i) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<char32_t>(bigEndian ? first << 8 | second : second << 8 | first);
    };
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        const char32_t unit = unitAt(i);
        if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < bytes.size()) {
            const char32_t low = unitAt(i + 2);
            if (low >= 0xDC00 && low < 0xE000) {
                AppendDecoded(decoded, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        AppendDecoded(decoded, unit >= 0xD800 && unit < 0xE000 ? kNoCharacter : unit);
    }
    if (i < bytes.size()) {
        AppendDecoded(decoded, kNoCharacter);  // half a unit at the end
    }
    return decoded;
}

}  // namespace

DecodedText DecodeTextFile(std::string_view bytes) {
    for (const bool bigEndian : {false, true}) {
        const std::string_view mark = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
        if (bytes.starts_with(mark)) {
            return DecodeUtf16(bytes.substr(mark.size()), bigEndian);
        }
    }
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (bytes.starts_with(kByteOrderMark)) {
        bytes.remove_prefix(kByteOrderMark.size());
    }
    if (std::ranges::none_of(bytes, [](char c) { return (c & 0x80) != 0; })) {
        return {std::string(bytes), std::string(bytes)};  // plain ASCII reads the same either way
    }
    DecodedText asUtf8{{}, {}, TextEncoding::Utf8};
    asUtf8.text.reserve(bytes.size());
    asUtf8.utf8.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        char32_t cp = 0;
        if (!DecodeUtf8(bytes, i, cp)) {
            return {std::string(bytes), Windows1252ToUtf8(bytes)};
        }
        AppendDecoded(asUtf8, cp);
    }
    return asUtf8;
}

std::string PathForMessage(std::string_view path) {
    std::string text;
    std::size_t i = 0;
    while (i < path.size()) {
        char32_t cp = 0;
        if (!DecodeUtf8(path, i, cp)) {
            text += '?';
            ++i;
            continue;
        }
        // A control character (a line break, an escape sequence) would act rather than show.
        const bool control = cp < 0x20 || (cp >= 0x7F && cp < 0xA0);
        const auto byte = CodePointToWindows1252(cp);
        text += byte && !control ? static_cast<char>(*byte) : '?';
    }
    return text;
}

std::string CodePointToUtf8(char32_t codePoint) {
    std::string out;
    AppendUtf8(out, codePoint);
    return out;
}

std::string CodePointName(char32_t codePoint) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(codePoint));
    return buffer;
}

}  // namespace tavlo
