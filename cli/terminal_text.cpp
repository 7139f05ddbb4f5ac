#include "cli/terminal_text.h"

#include <cstdio>

#include "core/file_names.h"
#include "core/windows1252.h"

namespace tavlo::cli {

namespace {

// C0 controls, DEL and the C1 controls that the five bytes Windows-1252 leaves undefined stand
// for: a terminal acts on them (moves the cursor, starts a control string) instead of showing
// them.
bool IsControlCharacter(char32_t codePoint) {
    return codePoint < 0x20 || (codePoint >= 0x7F && codePoint < 0xA0);
}

}  // namespace

std::string EscapeForTerminal(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
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
            case '\\':
                out += "\\\\";
                break;
            default: {
                const char32_t codePoint = Windows1252ToCodePoint(byte);
                if (IsControlCharacter(codePoint)) {
                    char escaped[5];
                    std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
                    out += escaped;
                } else if (byte >= 128) {
                    out += CodePointToUtf8(codePoint);
                } else {
                    out += c;
                }
            }
        }
    }
    return out;
}

std::string EscapePathForTerminal(std::string_view path) {
    if (std::string_view(kPathSeparators).find('\\') == std::string_view::npos) {
        return EscapeForTerminal(path);
    }
    std::string shown;
    for (std::size_t start = 0;;) {
        const std::size_t separator = path.find('\\', start);
        shown += EscapeForTerminal(path.substr(start, separator - start));
        if (separator == std::string_view::npos) {
            return shown;
        }
        shown += '\\';
        start = separator + 1;
    }
}

}  // namespace tavlo::cli
