#include "cli/terminal_text.h"

#include <cstdio>

#include "core/file_names.h"
#include "core/windows1252.h"

namespace tavlo::cli {

namespace {

// C0 controls, DEL and the C1 controls (which five bytes Windows-1252 leaves undefined stand
// for): a terminal acts on them (moves the cursor, starts a control string) instead of showing
// them.
bool IsControlCharacter(char32_t codePoint) {
    return codePoint < 0x20 || (codePoint >= 0x7F && codePoint < 0xA0);
}

// One byte of a control character or of no character, as its escape.
void AppendEscaped(std::string& out, unsigned char byte) {
    switch (byte) {
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default: {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            out += escaped;
        }
    }
}

}  // namespace

std::string EscapeForTerminal(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        const char32_t codePoint = Windows1252ToCodePoint(byte);
        if (byte == '\\') {
            out += "\\\\";
        } else if (IsControlCharacter(codePoint)) {
            AppendEscaped(out, byte);
        } else if (byte >= 128) {
            out += CodePointToUtf8(codePoint);
        } else {
            out += c;
        }
    }
    return out;
}

std::string EscapeUtf8ForTerminal(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t start = i;
        char32_t codePoint = 0;
        if (!DecodeUtf8(utf8, i, codePoint)) {
            AppendEscaped(out, static_cast<unsigned char>(utf8[i++]));
        } else if (IsControlCharacter(codePoint)) {
            for (std::size_t k = start; k < i; ++k) {
                AppendEscaped(out, static_cast<unsigned char>(utf8[k]));
            }
        } else {
            out.append(utf8, start, i - start);
        }
    }
    return out;
}

}  // namespace tavlo::cli
