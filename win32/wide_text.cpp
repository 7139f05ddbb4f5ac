#include "win32/wide_text.h"

#include "core/windows1252.h"

namespace tavlo {

std::wstring WideFromWindows1252(std::string_view text) {
    std::wstring wide;
    wide.reserve(text.size());
    for (const char byte : text) {
        // Every Windows-1252 character lies in the basic plane: one UTF-16 unit each.
        wide += static_cast<wchar_t>(Windows1252ToCodePoint(static_cast<unsigned char>(byte)));
    }
    return wide;
}

bool IsWindows1252Unit(wchar_t unit) {
    return CodePointToWindows1252(static_cast<char32_t>(unit)).has_value();
}

std::string Windows1252FromWide(std::wstring_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t unit = text[i];
        const bool pair = unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() &&
                          text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
        if (pair) {
            ++i;  // a character beyond the basic plane: one "?" for both units
            bytes += '?';
            continue;
        }
        const auto byte = CodePointToWindows1252(static_cast<char32_t>(unit));
        bytes += byte ? static_cast<char>(*byte) : '?';
    }
    return bytes;
}

std::wstring WithCrLf(std::wstring_view text) {
    std::wstring result;
    result.reserve(text.size() + text.size() / 16);
    for (const wchar_t c : text) {
        if (c == L'\n') {
            result += L'\r';
        }
        result += c;
    }
    return result;
}

std::wstring WithoutCr(std::wstring_view text) {
    // "\r\n" and a lone "\r" (the box never makes one, but a paste can) are one line break each.
    std::wstring result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r') {
            result += L'\n';
            if (i + 1 < text.size() && text[i + 1] == L'\n') {
                ++i;
            }
            continue;
        }
        result += text[i];
    }
    return result;
}

}  // namespace tavlo
