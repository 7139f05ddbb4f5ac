#include "cli/terminal_text.h"

#include <cstdio>

#include "core/windows1252.h"

namespace tavlo::cli {

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
            default:
                if (byte < 32) {
                    char escaped[5];
                    std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
                    out += escaped;
                } else if (byte >= 128) {
                    out += CodePointToUtf8(Windows1252ToCodePoint(byte));
                } else {
                    out += c;
                }
        }
    }
    return out;
}

}  // namespace tavlo::cli
