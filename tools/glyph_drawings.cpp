#include "tools/glyph_drawings.h"

#include <charconv>

namespace tavlo::tools {
namespace {

bool IsRow(std::string_view line) {
    return !line.empty() && line.find_first_not_of("#.") == std::string_view::npos;
}

// The key of a block header "[key] label" (the line starts with '['), or an error.
bool ReadHeader(std::string_view line, std::string& key, std::string& error) {
    const auto close = line.find(']');
    if (close == std::string_view::npos || close == 1) {
        error = "expected a block header such as [0x41] or [mark acute capital]";
        return false;
    }
    key = std::string(line.substr(1, close - 1));
    return true;
}

// A glyph key "0x41" as its code; -1 for a named block, -2 for a malformed code.
int CodeOfKey(const std::string& key) {
    if (key.size() < 3 || key[0] != '0' || (key[1] != 'x' && key[1] != 'X')) {
        return -1;
    }
    int code = 0;
    const char* end = key.data() + key.size();
    const auto [ptr, ec] = std::from_chars(key.data() + 2, end, code, 16);
    if (ec != std::errc() || ptr != end || code < 0 || code > 255) {
        return -2;
    }
    return code;
}

}  // namespace

DrawingParse ParseDrawings(std::string_view text, int height) {
    DrawingParse result;
    std::string key;
    int code = -1;
    Drawing drawing;
    bool inBlock = false;
    int lineNumber = 0;

    auto fail = [&](const std::string& what) {
        result.error = "line " + std::to_string(lineNumber) + ": " + what;
        result.set = {};
        return result;
    };
    auto shortBlock = [&] {
        return fail("[" + key + "] has " + std::to_string(drawing.rows.size()) +
                    " rows instead of " + std::to_string(height));
    };
    auto finishBlock = [&]() -> bool {
        if (static_cast<int>(drawing.rows.size()) != height) {
            return false;
        }
        if (code >= 0) {
            result.set.glyphs.emplace(code, std::move(drawing));
        } else {
            result.set.named.emplace(key, std::move(drawing));
        }
        drawing = {};
        inBlock = false;
        return true;
    };

    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (!line.empty() && line.front() == ';') {
            continue;
        }
        const bool blank = line.find_first_not_of(" \t") == std::string_view::npos;
        if (IsRow(line)) {
            if (!inBlock) {
                return fail("a row outside a block");
            }
            if (static_cast<int>(drawing.rows.size()) == height) {
                return fail("more than " + std::to_string(height) + " rows in [" + key + "]");
            }
            if (!drawing.rows.empty() && line.size() != drawing.rows.front().size()) {
                return fail("a row of another width in [" + key + "]");
            }
            drawing.rows.emplace_back(line);
            continue;
        }
        if (!blank && line.front() != '[') {
            return fail(inBlock ? "a row may hold only '#' and '.'"
                                : "expected a block header such as [0x41] or [mark acute capital]");
        }
        if (inBlock && !finishBlock()) {
            return shortBlock();
        }
        if (blank) {
            continue;
        }
        std::string error;
        if (!ReadHeader(line, key, error)) {
            return fail(error);
        }
        code = CodeOfKey(key);
        if (code == -2) {
            return fail("[" + key + "] is not a code from 0x00 to 0xFF");
        }
        if (code >= 0 ? result.set.glyphs.count(code) != 0 : result.set.named.count(key) != 0) {
            return fail("[" + key + "] is drawn twice");
        }
        inBlock = true;
    }
    if (inBlock && !finishBlock()) {
        return shortBlock();
    }
    return result;
}

}  // namespace tavlo::tools
